#include "TAudioPlayer2.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace sw {

TAudioPlayer2::TAudioPlayer2() {
    engine_.OnEnd = [this] {
        if (auto onEnd = OnEndPlay) onEnd();
    };
}

TAudioPlayer2::~TAudioPlayer2() {
    engine_.OnEnd = nullptr;
    engine_.Stop();
}

void TAudioPlayer2::SetPlayFormat(int sampleRate, int channels) {
    rate_ = sampleRate;
    channels_ = channels;
}

void TAudioPlayer2::OpenDevice() {
    if (rate_ <= 0 || channels_ <= 0) {
        error_ = DeviceBadFormat;
        return;
    }
    if (!PlaybackEngine::DeviceAvailable()) {
        error_ = DeviceMissing;
        return;
    }
    error_ = PlaybackEngine::FormatPlayable(rate_, channels_) ? DeviceOk : DeviceFormatRefused;
}

bool TAudioPlayer2::PlayArray(const PlanarBuffer& samples) {
    ClosePlayer();
    OpenDevice();
    if (error_ != DeviceOk) return false;

    const int channels = channels_;
    const int srcChannels = samples.channelCount();
    const SampleCount frames = samples.frames();
    auto data = std::make_shared<std::vector<float>>(std::size_t(frames * channels), 0.0f);
    for (int c = 0; c < channels && srcChannels > 0; ++c) {
        // Mono spreads to every channel; a missing channel stays silent.
        const int from = srcChannels == 1 ? 0 : c;
        if (from >= srcChannels) continue;
        const std::vector<float>& in = samples.channels[std::size_t(from)];
        const SampleCount n = std::min<SampleCount>(frames, SampleCount(in.size()));
        for (SampleCount i = 0; i < n; ++i) (*data)[std::size_t(i * channels + c)] = in[std::size_t(i)];
    }
    auto source = [data, channels, frames](SampleCount pos, SampleCount count, float* out) -> SampleCount {
        if (pos < 0 || pos >= frames) return 0;
        const SampleCount n = std::min(count, frames - pos);
        std::memcpy(out, data->data() + pos * channels, sizeof(float) * std::size_t(n * channels));
        return n;
    };
    if (!engine_.Start(rate_, channels, source, 0, frames, false)) {
        error_ = PlaybackEngine::DeviceAvailable() ? DeviceStartFailed : DeviceMissing;
        return false;
    }
    return true;
}

void TAudioPlayer2::ClosePlayer() {
    engine_.Stop();
}

bool TAudioPlayer2::Playing() const {
    return engine_.Playing() || engine_.Paused();
}

}  // namespace sw
