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

    // Opens the output device. Returns false (and no callbacks follow) when
    // no device is there or it refuses the format.
    bool Start(int sampleRate, int channels, Source source, SampleCount start, SampleCount end,
               bool loop);
    void Pause();
    void Resume();
    void Stop();                 // no OnEnd after an explicit Stop
    bool Playing() const;
    bool Paused() const;
    SampleCount Position() const;   // the frame heard now

    std::function<void(SampleCount position)> OnPosition;  // about every 40 ms while playing
    std::function<void(int left, int right)> OnMeter;      // percent of full scale
    std::function<void()> OnEnd;                           // reached the end by itself

    // True when an output device is available.
    static bool DeviceAvailable();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace sw
