#pragma once
// Plays frames from a source through the system's sound server (Qt
// Multimedia). Lives on the window thread; all callbacks arrive there.
#include <functional>
#include <memory>

#include "../EngineTypes.h"

namespace sw {

class PlaybackEngine {
public:
    // Reads `frames` frames starting at `pos` interleaved into `out`; returns
    // the number of frames read (fewer only at the end of the source).
    using Source = std::function<SampleCount(SampleCount pos, SampleCount frames, float* interleaved)>;

    PlaybackEngine();
    ~PlaybackEngine();

    // Opens the output device and plays [start, end) of the source; with
    // loop, the range starts again at `start` each time its end is reached,
    // until Stop. A running playback is stopped first (without OnEnd).
    // Returns false (and no callbacks follow) when no device is there, it
    // refuses the format and every fallback, or the arguments make no sense
    // (rate or channels not positive, no source, start < 0, end < start).
    // An empty range (start == end) starts and ends on the first tick.
    // When the device refuses the channel count, mono is spread to two
    // channels (other counts go to the device's own count); when it refuses
    // the rate, the device's preferred rate is used with a linear
    // conversion. Float samples are preferred, 16-bit integers otherwise.
    bool Start(int sampleRate, int channels, Source source, SampleCount start, SampleCount end,
               bool loop);
    void Pause();
    void Resume();
    void Stop();                 // no OnEnd after an explicit Stop
    bool Playing() const;
    bool Paused() const;
    // The source frame heard now (from what the device reports as played,
    // not from how far the source has been read); after Stop or the end,
    // the last position heard.
    SampleCount Position() const;

    std::function<void(SampleCount position)> OnPosition;  // about every 40 ms while playing
    std::function<void(int left, int right)> OnMeter;      // percent of full scale
    // Reached the end by itself, after the device has played out all it
    // was given; also sent when the device fails while playing, so callers
    // always learn that playing is over. Never after Stop.
    std::function<void()> OnEnd;
    // The callbacks may call Start, Stop or destroy the engine.

    // True when an output device is available.
    static bool DeviceAvailable();
    // True when the default output device takes this rate and channel count
    // (directly or through the fallbacks Start uses).
    static bool FormatPlayable(int sampleRate, int channels);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace sw
