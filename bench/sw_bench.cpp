// Engine benchmarks against command-line peers doing the same work.
//
//   sw_bench open    FILE...            decode vs ffmpeg -i F -f f32le -y /dev/null
//   sw_bench save    WAV                MP3 128 kbps vs lame -b 128; OGG q6 vs oggenc -q 6
//   sw_bench edits                      cut+paste+undo in a 4-hour vs a 1-minute document
//   sw_bench memory  WAV                peak resident memory opening WAV and making ten 1 s cuts
//
// Each case prints one line "BENCH <case> ratio=<ours/peer> target=<t>" plus
// the peer's command line, so anyone can rerun the peer alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor/TAudioEditor2.h"
#include "storage/BlockStore.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

int g_runs = 3;

double Seconds(const std::function<void()>& fn) {
    const auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs a command line through /bin/sh, output discarded; returns seconds.
double RunPeer(const std::string& cmd) {
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", (cmd + " >/dev/null 2>&1").c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "peer failed: %s\n", cmd.c_str());
    return s;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

void Report(const std::string& name, double ours, double peer, double target, const std::string& peerCmd) {
    std::printf("BENCH %s ratio=%.3f target=%.2f ours=%.3fs peer=%.3fs\n", name.c_str(),
                peer > 0 ? ours / peer : 0.0, target, ours, peer);
    std::printf("      peer: %s\n", peerCmd.c_str());
    std::fflush(stdout);
}

void BenchOpen(const std::vector<std::string>& files) {
    for (const auto& f : files) {
        const std::string peerCmd = "ffmpeg -v error -i " + Quote(f) + " -f f32le -y /dev/null";
        std::vector<double> ours, peer;
        for (int i = 0; i < g_runs; ++i) {
            peer.push_back(RunPeer(peerCmd));
            sw::TAudioEditor2 ed;
            ours.push_back(Seconds([&] { ed.OpenFile(f); }));
        }
        Report("open_" + fs::path(f).extension().string().substr(1), Median(ours), Median(peer), 1.15, peerCmd);
    }
}

void BenchSave(const std::string& wav, const std::string& outDir) {
    sw::TAudioEditor2 ed;
    ed.OpenFile(wav);
    {
        const std::string out = outDir + "/ours.mp3";
        const std::string peerCmd = "lame --quiet -b 128 " + Quote(wav) + " " + Quote(outDir + "/peer.mp3");
        std::vector<double> ours, peer;
        for (int i = 0; i < g_runs; ++i) {
            peer.push_back(RunPeer(peerCmd));
            ed.FileFormat().SetMp3Cbr(44100, 128, 2);
            ours.push_back(Seconds([&] { ed.SaveFile(out, false, sw::FormatMp3); }));
        }
        Report("save_mp3_cbr128", Median(ours), Median(peer), 1.10, peerCmd);
    }
    {
        const std::string out = outDir + "/ours.ogg";
        const std::string peerCmd = "oggenc --quiet -q 6 -o " + Quote(outDir + "/peer.ogg") + " " + Quote(wav);
        std::vector<double> ours, peer;
        for (int i = 0; i < g_runs; ++i) {
            peer.push_back(RunPeer(peerCmd));
            ed.FileFormat().SetOggFormat(44100, 2, 0, 0, 0, 600);
            ours.push_back(Seconds([&] { ed.SaveFile(out, false, sw::FormatOgg); }));
        }
        Report("save_ogg_q6", Median(ours), Median(peer), 1.10, peerCmd);
    }
}

// A document of `minutes` minutes of noise, built from a one-minute clip so
// that its blocks are real file-backed blocks.
void MakeDocument(sw::TAudioEditor2& ed, int minutes) {
    const int rate = 44100;
    ed.CreateNew(rate, 2);
    sw::PlanarBuffer buf;
    buf.sampleRate = rate;
    buf.resize(2, sw::SampleCount(rate) * 60);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> d(-0.5f, 0.5f);
    for (auto& ch : buf.channels)
        for (auto& v : ch) v = d(rng);
    const sw::AudioClip clip = sw::AudioClip::FromPlanar(buf, sw::BlockStore::Instance());
    for (int m = 0; m < minutes; ++m) {
        ed.Position().SetHasSelection(false);
        ed.Position().SetCurrentPosition(ed.Position().Length());
        ed.PasteArray(clip);
    }
}

double EditCost(int minutes) {
    sw::TAudioEditor2 ed;
    MakeDocument(ed, minutes);
    auto& pos = ed.Position();
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        const sw::SampleCount mid = pos.Length() / 2 + i * 1000;
        times.push_back(Seconds([&] {
            pos.SetHasSelection(true);
            pos.SetSelStart(mid);
            pos.SetSelEnd(mid + 44100);
            ed.Cut();
            pos.SetHasSelection(false);
            pos.SetCurrentPosition(mid);
            ed.Paste();
            ed.Undo();
        }));
    }
    return Median(times);
}

void BenchEdits() {
    const double small = EditCost(1);
    const double large = EditCost(240);
    std::printf("BENCH edit_cost ratio=%.3f target=2.00 four_hours=%.6fs one_minute=%.6fs\n",
                small > 0 ? large / small : 0.0, large, small);
    std::printf("      peer: the same cut, paste and undo on a 1-minute document\n");
}

void BenchMemory(const std::string& wav) {
    // A child process, so that its peak resident memory belongs to this case alone.
    const pid_t pid = fork();
    if (pid == 0) {
        sw::TAudioEditor2 ed;
        ed.OpenFile(wav);
        auto& pos = ed.Position();
        for (int i = 0; i < 10; ++i) {
            const sw::SampleCount at = pos.Length() / 11 * (i + 1);
            pos.SetHasSelection(true);
            pos.SetSelStart(at);
            pos.SetSelEnd(at + ed.FileInfo().SampleRate());
            ed.Cut();
        }
        const double decoded = double(pos.Length() + 10.0 * ed.FileInfo().SampleRate()) *
                               ed.FileInfo().Channels() * sizeof(float);
        rusage ru{};
        getrusage(RUSAGE_SELF, &ru);
        const double peak = double(ru.ru_maxrss) * 1024.0;
        std::printf("BENCH memory ratio=%.3f target=0.25 peak_rss=%.1fMiB decoded_float=%.1fMiB\n",
                    peak / decoded, peak / 1048576.0, decoded / 1048576.0);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (const char* r = std::getenv("SW_BENCH_RUNS")) g_runs = std::max(1, std::atoi(r));
    if (argc < 2) {
        std::fprintf(stderr, "usage: sw_bench open FILE... | save WAV | edits | memory WAV\n");
        return 2;
    }
    const std::string mode = argv[1];
    std::vector<std::string> files(argv + 2, argv + argc);
    const std::string work = fs::temp_directory_path() / ("sw-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    sw::BlockStore::Instance().SetDirectory(work);
    try {
        if (mode == "open") BenchOpen(files);
        else if (mode == "save" && files.size() == 1) BenchSave(files[0], work);
        else if (mode == "edits") BenchEdits();
        else if (mode == "memory" && files.size() == 1) BenchMemory(files[0]);
        else { std::fprintf(stderr, "unknown case\n"); return 2; }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sw_bench: %s\n", e.what());
        fs::remove_all(work);
        return 1;
    }
    sw::BlockStore::Instance().Shutdown();
    fs::remove_all(work);
    return 0;
}
