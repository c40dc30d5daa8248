#include "TAudioInformation2.h"

#include <vector>

#include "../codec/Decoder.h"
#include "ClipWriter.h"
#include "TAudioEditor2.h"

namespace sw {

TAudioInformation2::TAudioInformation2(TAudioEditor2* editor) : editor_(editor) {}
TAudioInformation2::~TAudioInformation2() = default;

void TAudioInformation2::InfoOpen(const std::string& path) {
    auto decoder = AudioDecoder::Open(path);
    if (decoder->SampleRate() <= 0 || decoder->Channels() <= 0)
        throw EngineError("The file holds no audio: " + path);
    AudioTags tags;
    try {
        tags = ReadTags(path);
    } catch (const EngineError&) {
        // No readable tags: empty ones.
    }
    path_ = path;
    rate_ = decoder->SampleRate();
    channels_ = decoder->Channels();
    description_ = decoder->Description();
    tags_ = std::move(tags);
    frames_ = -1;
}

SampleCount TAudioInformation2::InfoLength() {
    if (path_.empty()) throw EngineError("No file is open for information.");
    if (frames_ < 0) {
        // Estimates of compressed formats are not exact; count by decoding.
        auto decoder = AudioDecoder::Open(path_);
        const int nch = decoder->Channels();
        constexpr int kChunk = 65536;
        std::vector<std::vector<float>> buf(static_cast<std::size_t>(nch), std::vector<float>(kChunk));
        std::vector<float*> ptrs(static_cast<std::size_t>(nch));
        for (int c = 0; c < nch; ++c) ptrs[static_cast<std::size_t>(c)] = buf[static_cast<std::size_t>(c)].data();
        SampleCount total = 0;
        for (int n; (n = decoder->Read(ptrs.data(), kChunk)) > 0;) total += n;
        frames_ = total;
    }
    int rate = referenceRate_ > 0 ? referenceRate_ : rate_;
    if (editor_ && editor_->IsOpen()) rate = editor_->FileInfo().SampleRate();
    return ConvertedLength(frames_, rate_, rate);
}

void TAudioInformation2::InfoWriteTo(const std::string& path) {
    if (path_.empty()) throw EngineError("No file is open for information.");
    WriteTags(path, tags_);
}

}  // namespace sw
