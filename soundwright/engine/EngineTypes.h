#pragma once
// Basic vocabulary of the audio engine: sample counts, errors, progress.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sw {

// Positions and lengths are frame counts (one frame = one sample per channel).
using SampleCount = std::int64_t;

// Every failing engine call throws this; what() is the text shown to the user.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& what) : std::runtime_error(what) {}
};

// Progress of a long operation, 0..100. Called on the calling thread.
using ProgressFn = std::function<void(int percent)>;

// Planar float samples held in memory (one vector per channel, equal lengths).
struct PlanarBuffer {
    int sampleRate = 44100;
    std::vector<std::vector<float>> channels;

    int channelCount() const { return int(channels.size()); }
    SampleCount frames() const { return channels.empty() ? 0 : SampleCount(channels[0].size()); }
    void resize(int channelCount, SampleCount frames) {
        channels.assign(std::size_t(channelCount), std::vector<float>(std::size_t(frames), 0.0f));
    }
};

}  // namespace sw
