#pragma once
// Writing planar float frames into WAV, MP3, OGG or WMA files.
#include <memory>
#include <string>

#include "../EngineTypes.h"
#include "OutputFormat.h"
#include "Tags.h"

namespace sw {

class AudioEncoder {
public:
    virtual ~AudioEncoder() = default;

    // Starts writing `path` with the settings of `format` for `code`
    // (FormatWav, FormatMp3, FormatOgg, FormatWma). The input frames have
    // inRate/inChannels; they are resampled and remixed to the output format.
    // The data go to a temporary file beside `path`; the target is replaced
    // only by Finish(). Throws EngineError (unwritable folder, bad settings).
    static std::unique_ptr<AudioEncoder> Create(int code, const FileFormat& format,
                                                const std::string& path, int inRate,
                                                int inChannels, const AudioTags& tags);

    // Encodes frames; throws EngineError on a write failure (disk full ...).
    virtual void Write(const float* const* planar, int frames) = 0;

    // Flushes the encoder, writes the tags, and renames the temporary file
    // onto the target. Throws EngineError; the old target is then intact.
    virtual void Finish() = 0;

    // Drops the temporary file (also done by the destructor when Finish was
    // not reached).
    virtual void Abort() = 0;

    virtual int OutputRate() const = 0;
    virtual int OutputChannels() const = 0;
};

}  // namespace sw
