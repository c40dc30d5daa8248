#include "TAudioFile2.h"

#include "EncoderSettings.h"

namespace sw {

TAudioFile2::TAudioFile2() = default;
TAudioFile2::~TAudioFile2() = default;

void TAudioFile2::OpenRead(const std::string& fileName, int, int) {
    reader_.reset();
    reader_ = AudioDecoder::Open(fileName);
}

int TAudioFile2::StoredSampleRate() const { return reader_ ? reader_->SampleRate() : 0; }
int TAudioFile2::StoredChannels() const { return reader_ ? reader_->Channels() : 0; }
std::int64_t TAudioFile2::StoredBitRate() const { return reader_ ? reader_->StoredBitRate() : 0; }
SampleCount TAudioFile2::Length() const { return reader_ ? reader_->LengthEstimate() : 0; }

std::vector<float> TAudioFile2::ReadArray(int count) {
    std::vector<float> out;
    if (!reader_ || count <= 0) return out;
    const int ch = reader_->Channels();
    const int frames = count / ch;
    if (frames <= 0) return out;
    planar_.resize(size_t(ch));
    std::vector<float*> ptrs(static_cast<size_t>(ch));
    for (int c = 0; c < ch; ++c) {
        planar_[size_t(c)].resize(size_t(frames));
        ptrs[size_t(c)] = planar_[size_t(c)].data();
    }
    const int got = reader_->Read(ptrs.data(), frames);
    out.resize(size_t(got) * size_t(ch));
    for (int c = 0; c < ch; ++c) {
        const float* src = planar_[size_t(c)].data();
        float* dst = out.data() + c;
        for (int i = 0; i < got; ++i, dst += ch) *dst = src[i];
    }
    return out;
}

void TAudioFile2::OpenWrite(const std::string& fileName, int) {
    if (writer_) writer_->Abort();
    writer_.reset();
    int code = FormatCodeForPath(fileName);
    if (code == 0) code = format_.LastCode() ? format_.LastCode() : FormatWav;
    writer_ = AudioEncoder::Create(code, format_, fileName, inRate_, inChannels_, tags_);
}

void TAudioFile2::SetInputFormat(int rate, int channels) {
    if (rate <= 0 || channels <= 0) throw EngineError("Invalid input format: " + std::to_string(rate) + " Hz, " +
                                                      std::to_string(channels) + " channels.");
    if (writer_ && (rate != inRate_ || channels != inChannels_)) {
        // The writer converts from the format it was opened with; a change
        // after opening would corrupt the file.
        if (inRate_ == 0 && inChannels_ == 0 && rate == writer_->OutputRate() &&
            channels == writer_->OutputChannels()) {
            inRate_ = rate;
            inChannels_ = channels;
            return;
        }
        throw EngineError("The input format cannot change while a file is being written.");
    }
    inRate_ = rate;
    inChannels_ = channels;
}

void TAudioFile2::WriteArray(const std::vector<float>& interleaved) {
    if (!writer_) throw EngineError("No file is open for writing.");
    const int ch = inChannels_ > 0 ? inChannels_ : writer_->OutputChannels();
    if (interleaved.size() % size_t(ch) != 0)
        throw EngineError("The sample block does not hold whole frames of " + std::to_string(ch) + " channels.");
    const int frames = int(interleaved.size() / size_t(ch));
    if (frames == 0) return;
    planar_.resize(size_t(ch));
    std::vector<const float*> ptrs(static_cast<size_t>(ch));
    for (int c = 0; c < ch; ++c) {
        auto& p = planar_[size_t(c)];
        p.resize(size_t(frames));
        const float* src = interleaved.data() + c;
        for (int i = 0; i < frames; ++i, src += ch) p[size_t(i)] = *src;
        ptrs[size_t(c)] = p.data();
    }
    writer_->Write(ptrs.data(), frames);
}

void TAudioFile2::Close() {
    reader_.reset();
    if (writer_) {
        auto w = std::move(writer_);
        w->Finish();
    }
}

int TAudioFile2::SampleRate() const {
    if (writer_) return writer_->OutputRate();
    return reader_ ? reader_->SampleRate() : 0;
}

int TAudioFile2::Channels() const {
    if (writer_) return writer_->OutputChannels();
    return reader_ ? reader_->Channels() : 0;
}

void TAudioFile2::SetWaveFormatFromFile(const std::string& fileName) {
    auto d = AudioDecoder::Open(fileName);
    int bits = d->StoredBitsPerSample();
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) bits = 16;
    SetWaveFormat(d->SampleRate(), d->Channels() == 1 ? 1 : 2, bits);
}

bool TAudioFile2::Mp3CbrSupported(int rate, int kbps, int channels) { return LameAcceptsCbr(rate, kbps, channels); }

bool TAudioFile2::OggSupported(int rate, int channels, int kbps, int, int) {
    return VorbisAcceptsBitRate(rate, channels, kbps);
}

}  // namespace sw
