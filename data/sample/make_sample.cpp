// Makes the bundled demo recording: a few seconds of a plucked-string tune
// (Karplus-Strong synthesis) over a soft bass, as 16-bit stereo WAV.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kRate = 44100;

void Pluck(std::vector<float>& out, std::size_t start, double freq, double seconds, float gain,
           std::mt19937& rng) {
    const std::size_t period = std::size_t(kRate / freq);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> ring(period);
    for (auto& v : ring) v = noise(rng);
    const std::size_t n = std::size_t(seconds * kRate);
    for (std::size_t i = 0; i < n && start + i < out.size(); ++i) {
        const std::size_t k = i % period;
        const float cur = ring[k];
        const float next = ring[(k + 1) % period];
        ring[k] = 0.996f * 0.5f * (cur + next);
        out[start + i] += gain * cur;
    }
}

void Put16(std::FILE* f, std::uint16_t v) { std::fputc(v & 0xff, f); std::fputc(v >> 8, f); }
void Put32(std::FILE* f, std::uint32_t v) { Put16(f, v & 0xffff); Put16(f, v >> 16); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUT.wav\n");
        return 2;
    }
    const double seconds = 6.0;
    const std::size_t frames = std::size_t(seconds * kRate);
    std::vector<float> left(frames), right(frames);
    std::mt19937 rng(20261211);
    // A small tune in A minor: note (semitones from A3), start beat, length in beats.
    struct Note { int semi; double beat, len; };
    const Note tune[] = {{0, 0, 1}, {3, 1, 1}, {7, 2, 1}, {12, 3, 2}, {10, 5, 1}, {7, 6, 1},
                         {8, 7, 1}, {7, 8, 1}, {3, 9, 1}, {5, 10, 2}, {2, 12, 1}, {0, 13, 3}};
    const double beat = 0.38;
    for (const Note& n : tune) {
        const double f = 220.0 * std::pow(2.0, n.semi / 12.0);
        const std::size_t at = std::size_t(n.beat * beat * kRate);
        Pluck(left, at, f, n.len * beat + 0.8, 0.45f, rng);
        Pluck(right, at + 220, f * 1.002, n.len * beat + 0.8, 0.35f, rng);
    }
    // Bass: soft sine notes every four beats.
    const int bass[] = {0, -4, -2, -5};
    for (int b = 0; b < 4; ++b) {
        const double f = 110.0 * std::pow(2.0, bass[b] / 12.0);
        const std::size_t at = std::size_t(b * 4 * beat * kRate);
        const std::size_t n = std::size_t(4 * beat * kRate);
        for (std::size_t i = 0; i < n && at + i < frames; ++i) {
            const double t = double(i) / kRate;
            const float v = float(0.18 * std::sin(2 * M_PI * f * t) * std::exp(-1.2 * t));
            left[at + i] += v;
            right[at + i] += v;
        }
    }
    // Fade out over the last half second.
    for (std::size_t i = frames - kRate / 2; i < frames; ++i) {
        const float g = float(frames - i) / float(kRate / 2);
        left[i] *= g;
        right[i] *= g;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const std::uint32_t dataBytes = std::uint32_t(frames * 4);
    std::fwrite("RIFF", 1, 4, f); Put32(f, 36 + dataBytes); std::fwrite("WAVE", 1, 4, f);
    std::fwrite("fmt ", 1, 4, f); Put32(f, 16); Put16(f, 1); Put16(f, 2); Put32(f, kRate);
    Put32(f, kRate * 4); Put16(f, 4); Put16(f, 16);
    std::fwrite("data", 1, 4, f); Put32(f, dataBytes);
    for (std::size_t i = 0; i < frames; ++i) {
        for (float v : {left[i], right[i]}) {
            const float c = std::fmax(-1.0f, std::fmin(1.0f, v));
            Put16(f, std::uint16_t(std::int16_t(std::lrint(c * 32767.0f))));
        }
    }
    if (std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
