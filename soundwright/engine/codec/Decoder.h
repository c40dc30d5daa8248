#pragma once
// Reading audio files of every supported kind into planar float frames.
#include <memory>
#include <string>

#include "../EngineTypes.h"

namespace sw {

class AudioDecoder {
public:
    virtual ~AudioDecoder() = default;

    // Opens a file for reading. Throws EngineError with a clear text on a
    // missing file, an unknown or damaged format, or ".cda".
    static std::unique_ptr<AudioDecoder> Open(const std::string& path);

    virtual int SampleRate() const = 0;      // of the delivered frames (= stored rate)
    virtual int Channels() const = 0;        // of the delivered frames (= stored channels)
    virtual SampleCount LengthEstimate() const = 0;  // frames, -1 when unknown
    virtual std::int64_t StoredBitRate() const = 0;  // bits per second, 0 when unknown
    virtual std::string Description() const = 0;     // e.g. "MPEG Layer 3, 44100 Hz, 128 kbps, Stereo"
    virtual int StoredBitsPerSample() const { return 0; }  // PCM/ADPCM bits per sample, 0 for others

    // Reads up to maxFrames frames into planar[0..Channels()-1]; returns the
    // number read, 0 at the end. Throws EngineError on a decode failure that
    // cannot be skipped.
    virtual int Read(float* const* planar, int maxFrames) = 0;
};

}  // namespace sw
