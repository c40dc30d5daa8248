#pragma once
// The file reader/writer used by the recording console and the batch
// converter: reads any open format as interleaved float blocks, or writes
// interleaved float blocks in the format chosen by the target's extension
// (falling back to the format of the last Set* call).
#include <memory>
#include <string>
#include <vector>

#include "../EngineTypes.h"
#include "Decoder.h"
#include "Encoder.h"
#include "OutputFormat.h"
#include "Tags.h"

namespace sw {

using TAudioFile2LameEnc = LameEncParams;

class TAudioFile2 {
public:
    TAudioFile2();
    ~TAudioFile2();
    TAudioFile2(const TAudioFile2&) = delete;
    TAudioFile2& operator=(const TAudioFile2&) = delete;

    // Reading. The two integer arguments are accepted for the callers'
    // sake and have no effect. Throws EngineError like AudioDecoder::Open.
    void OpenRead(const std::string& fileName, int a = 0, int b = 1);
    int StoredSampleRate() const;
    int StoredChannels() const;
    std::int64_t StoredBitRate() const;      // bits per second, 0 when unknown
    SampleCount Length() const;              // frames of the opened input, -1 when unknown
    // Up to `count` samples (frames x Channels()), interleaved; empty at the end.
    std::vector<float> ReadArray(int count);

    // Writing. `mode` is accepted for the callers' sake and has no effect.
    // Without SetInputFormat the input is taken to be in the output format
    // (as the recording console delivers it). Tags set by SetTags go into
    // the file.
    void OpenWrite(const std::string& fileName, int mode = 0);
    void SetInputFormat(int rate, int channels);
    void SetTags(const AudioTags& tags) { tags_ = tags; }
    // Interleaved samples in the input format; a partial frame is an error.
    void WriteArray(const std::vector<float>& interleaved);
    // Finishes a write (throws EngineError on failure; the target is then
    // untouched) and closes a read.
    void Close();

    // Of the delivered data (reading) or of the file being written.
    int SampleRate() const;
    int Channels() const;

    // Output format settings.
    void SetWaveFormat(int rate, int channels, int bits) { format_.SetWaveFormat(rate, channels, bits); }
    void SetMp3Cbr(int rate, int kbps, int channels) { format_.SetMp3Cbr(rate, kbps, channels); }
    void SetMp3Lame(const TAudioFile2LameEnc& params) { format_.SetMp3Lame(params); }
    void SetOggFormat(int rate, int channels, int nominalKbps, int r1, int r2, int quality) {
        format_.SetOggFormat(rate, channels, nominalKbps, r1, r2, quality);
    }
    void SetWmaProfile(int profileCode) { format_.SetWmaProfile(profileCode); }
    // Copies rate, channels and bits of a WAV (or any PCM) file into the
    // wave settings; throws EngineError when the file cannot be read.
    void SetWaveFormatFromFile(const std::string& fileName);
    const FileFormat& Format() const { return format_; }

    // Whether the encoders take these figures exactly.
    static bool Mp3CbrSupported(int rate, int kbps, int channels);
    static bool OggSupported(int rate, int channels, int kbps, int r1 = 0, int r2 = 0);

private:
    FileFormat format_;
    AudioTags tags_;
    std::unique_ptr<AudioDecoder> reader_;
    std::unique_ptr<AudioEncoder> writer_;
    int inRate_ = 0;
    int inChannels_ = 0;
    std::vector<std::vector<float>> planar_;
};

}  // namespace sw
