#pragma once
// Turns frames of a playback source into the bytes an output device takes:
// range and loop handling, channel mapping, a simple linear rate conversion
// (good enough for listening; the document itself is never touched), the
// sample format, silence after the end, and level blocks for the meters.
// No Qt objects here, so it can be driven without a sound server.
#include <deque>
#include <functional>
#include <vector>

#include "../EngineTypes.h"

namespace sw::detail {

enum class DeviceSampleFormat { Float32, Int16 };

struct FeedFormat {
    int sourceRate = 44100;
    int sourceChannels = 2;
    int deviceRate = 44100;
    int deviceChannels = 2;
    DeviceSampleFormat sampleFormat = DeviceSampleFormat::Float32;
};

class PlaybackFeed {
public:
    using Source = std::function<SampleCount(SampleCount pos, SampleCount frames, float* interleaved)>;

    // Plays [start, end) of the source; with loop it starts again at `start`
    // each time the end is reached.
    PlaybackFeed(const FeedFormat& format, Source source, SampleCount start, SampleCount end,
                 bool loop);

    int BytesPerFrame() const;
    const FeedFormat& Format() const { return format_; }

    // Fills whole device frames into `out` (at most maxBytes). Once the
    // source has run out the frames are silence, so the device keeps
    // running until what was written has been heard.
    long long Render(char* out, long long maxBytes);

    // Device frames written so far.
    SampleCount Rendered() const { return rendered_; }
    // True once the last real frame has been written; ContentEnd() is then
    // the number of device frames that carry sound.
    bool Exhausted() const { return exhausted_; }
    SampleCount ContentEnd() const { return contentEnd_; }

    // The source frame that is at device frame `deviceFrames` of this run.
    SampleCount SourcePositionAt(SampleCount deviceFrames) const;

    // Peak levels, percent of full scale, of the device frames in
    // [fromFrame, toFrame); blocks before toFrame are dropped afterwards.
    struct Levels {
        int left = 0;
        int right = 0;
    };
    Levels TakeLevels(SampleCount fromFrame, SampleCount toFrame);

private:
    bool NextSourceFrame(float* frame);   // mapped to the device's channels
    bool FillChunk();
    void MapChannels(const float* in, float* out) const;
    void AddToMeter(const float* frame);

    FeedFormat format_;
    Source source_;
    SampleCount start_;
    SampleCount end_;
    bool loop_;

    // Source frames read ahead, in the source's channel layout.
    std::vector<float> chunk_;
    SampleCount chunkFrames_ = 0;
    SampleCount chunkIndex_ = 0;
    SampleCount readPos_;            // next source frame to ask for
    SampleCount loopLength_;         // shrinks when the source ends early
    SampleCount consumed_ = 0;       // source frames taken in this run
    bool sourceDone_ = false;

    // Linear interpolation between two device-layout frames.
    bool resampling_;
    double step_;
    double phase_ = 0.0;
    std::vector<float> prev_;
    std::vector<float> next_;
    bool primed_ = false;
    bool interpolating_ = false;   // prev_ holds a real frame
    bool nextValid_ = false;

    SampleCount rendered_ = 0;
    bool exhausted_ = false;
    SampleCount contentEnd_ = 0;

    struct MeterBlock {
        SampleCount begin;
        SampleCount end;
        float left;
        float right;
    };
    std::deque<MeterBlock> blocks_;
    SampleCount blockFrames_;
    SampleCount blockBegin_ = 0;
    SampleCount blockCount_ = 0;
    float blockLeft_ = 0.0f;
    float blockRight_ = 0.0f;
};

}  // namespace sw::detail
