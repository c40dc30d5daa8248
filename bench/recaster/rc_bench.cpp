// Converter benchmark against command-line peers doing the same work.
//
//   rc_bench add FILE...   the add routine (probe plus one thumbnail per file)
//                          vs a shell loop of ffprobe plus
//                          ffmpeg -ss <half> -i F -frames:v 1 on the same files
//                          (the picture only for files with video)
//
// Prints "BENCH <case> ratio=<ours/peer> target=<t>" plus the peer's command
// line, so anyone can rerun the peer alone.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "input/InputRow.h"
#include "input/MediaProbe.h"
#include "input/Step1Panel.h"
#include "MessageService.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double RunShellScript(const std::string& path) {
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", path.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "peer failed: %s\n", path.c_str());
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string Quote(const QString& s) {
    QString q = s;
    q.replace("'", "'\\''");
    return ("'" + q + "'").toStdString();
}

int BenchAdd(const QStringList& files) {
    QTemporaryDir tmp;
    // The half durations the peer seeks to, from our own probe.
    rc::TMediaDecoder dec;
    std::string script = "set -e\n";
    for (const QString& f : files) {
        double half = 0;
        bool video = false;
        if (dec.OpenMediaFile(f)) {
            video = dec.VideoStreamNo() >= 0;
            rc::TMediaFileInfo info;
            dec.QueryFileInfo(info);
            if (info.duration != rc::kNoValue && info.duration > 0) half = info.duration / 2e6;
            dec.CloseMediaFile();
        }
        script += "ffprobe -v error -show_format -show_streams " + Quote(f) + " >/dev/null\n";
        // Audio files get no picture, in the add routine as here.
        if (video)
            script += "ffmpeg -v error -ss " + std::to_string(half) + " -i " + Quote(f) +
                  " -frames:v 1 -f image2 -y " + Quote(tmp.path() + "/thumb.png") + " </dev/null\n";
    }
    const std::string scriptPath = (tmp.path() + "/peer.sh").toStdString();
    {
        QFile s(QString::fromStdString(scriptPath));
        if (!s.open(QIODevice::WriteOnly)) return 1;
        s.write(script.c_str());
    }
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs(dialogs);
    std::vector<double> ours, peer;
    for (int run = 0; run < 3; ++run) {
        peer.push_back(RunShellScript(scriptPath));
        rc::TStep1Panel panel;
        panel.resize(556, 430);
        const auto t0 = Clock::now();
        panel.AddFiles(files);
        ours.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
        if (panel.RowCount() != files.size())
            std::fprintf(stderr, "only %d of %d files added\n", panel.RowCount(), int(files.size()));
    }
    const double o = Median(ours), p = Median(peer);
    std::printf("BENCH add_%d_files ratio=%.3f target=%.2f ours=%.3fs peer=%.3fs\n", int(files.size()),
                p > 0 ? o / p : 0.0, 0.5, o, p);
    std::printf("      peer: for F: ffprobe -v error -show_format -show_streams F; "
                "ffmpeg -v error -ss <half> -i F -frames:v 1 -f image2 -y thumb.png (script %s)\n",
                scriptPath.c_str());
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == "add") return BenchAdd(args.mid(1));
    std::fprintf(stderr, "usage: rc_bench add FILE...\n");
    return 2;
}
