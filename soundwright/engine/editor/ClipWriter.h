#pragma once
// Streams planar frames into block-backed sequences, converting the sample
// rate (libswresample) and the channel count on the way. Used wherever audio
// enters the document: opening, inserting, mixing, pasting and resampling.
#include <memory>
#include <string>

#include "../EngineTypes.h"
#include "../storage/AudioClip.h"

namespace sw {

// The number of frames a conversion of `frames` frames from inRate to outRate
// yields. ClipWriter pads or trims its output to exactly this length, so the
// information component can predict the length of inserted audio.
SampleCount ConvertedLength(SampleCount frames, int inRate, int outRate);

class ClipWriter {
public:
    // Throws EngineError on a rate or channel count the converter refuses.
    ClipWriter(int inRate, int inChannels, int outRate, int outChannels);
    ~ClipWriter();
    ClipWriter(const ClipWriter&) = delete;
    ClipWriter& operator=(const ClipWriter&) = delete;

    // planar[0..inChannels-1], `frames` frames each.
    void Write(const float* const* planar, SampleCount frames);
    // Flushes the converter and gives the clip at the output format.
    AudioClip Finish();

    SampleCount InputFrames() const { return inFrames_; }

private:
    void Store(const float* const* planar, SampleCount frames);
    struct Impl;
    std::unique_ptr<Impl> d_;
    SampleCount inFrames_ = 0;
};

// Gives `clip` at rate/channels. Shares the blocks when nothing needs to
// change (and for channel duplication); otherwise streams through a
// ClipWriter. `progress` (may be empty) gets 0..100.
AudioClip ConvertClip(const AudioClip& clip, int rate, int channels,
                      const ProgressFn& progress = {});

// Facts of a decoded file.
struct DecodedInfo {
    int sampleRate = 0;     // of the file
    int channels = 0;       // of the file
    SampleCount frames = 0; // decoded frames at the file's rate
    std::string description;
};

// Decodes a whole file into sequences. A worker thread decodes while the
// calling thread writes blocks; `progress` is called on the calling thread.
// rate/channels 0 keep the file's format. Throws EngineError.
AudioClip DecodeFile(const std::string& path, int rate, int channels,
                     const ProgressFn& progress, DecodedInfo* info = nullptr);

}  // namespace sw
