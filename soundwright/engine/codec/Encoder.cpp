// Writing WAV (our own RIFF writer), MP3 (libmp3lame), OGG (libvorbis) and
// WMA (FFmpeg's wmav2 in ASF).
//
// Every encoder writes into a new file beside the target (".name.XXXXXX.part")
// and renames it onto the target only when everything, tags included, was
// written; a failing save therefore never touches an existing file, and a
// file that is still open for reading can be saved over.
//
// Input frames are converted to the output rate and channel count with
// libswresample when they differ (mono becomes two equal channels, stereo
// becomes mono as the mean of both).
#include "Encoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <lame/lame.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <vorbis/vorbisenc.h>

#include "EncoderSettings.h"
#include "FFmpegUtil.h"
#include "TagLibUtil.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace sw {

namespace {

using codec::AvErrorText;

[[noreturn]] void WriteFailure(const std::string& target, const std::string& why) {
    throw EngineError("Cannot write \"" + target + "\": " + why);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary file a save goes to, created exclusively beside the target.
class TempFile {
public:
    explicit TempFile(const std::string& target) : target_(target) {
        const std::string folder = FolderOf(target);
        std::random_device rd;
        std::mt19937_64 rng((std::uint64_t(rd()) << 32) ^ rd());
        static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string suffix;
            for (int i = 0; i < 8; ++i) suffix += kChars[rng() % (sizeof kChars - 1)];
            std::string candidate = folder + "/." + NameOf(target) + "." + suffix + ".part";
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = fd;
                path_ = std::move(candidate);
                return;
            }
            if (errno != EEXIST) WriteFailure(target, std::strerror(errno));
        }
        WriteFailure(target, "no temporary file name is free in its folder");
    }
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        Remove();
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    // Hands the open descriptor over (to stdio); -1 afterwards.
    int ReleaseFd() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void CloseFd() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    void Commit() {
        // An existing target keeps its permissions.
        struct stat st {};
        if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::chmod(path_.c_str(), st.st_mode & 07777);
        if (::rename(path_.c_str(), target_.c_str()) != 0) WriteFailure(target_, std::strerror(errno));
        path_.clear();
    }
    void Remove() {
        if (!path_.empty()) ::unlink(path_.c_str());
        path_.clear();
    }

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
};

// Buffered output on the temporary file, every failure reported with the
// target's name.
class OutFile {
public:
    OutFile(TempFile& temp, const std::string& target) : target_(target) {
        const int fd = temp.ReleaseFd();
        f_ = ::fdopen(fd, "wb");
        if (!f_) {
            ::close(fd);
            WriteFailure(target_, std::strerror(errno));
        }
        buffer_.resize(1 << 20);
        std::setvbuf(f_, buffer_.data(), _IOFBF, buffer_.size());
    }
    ~OutFile() {
        if (f_) std::fclose(f_);
    }
    void Write(const void* data, size_t n) {
        if (n == 0) return;
        if (std::fwrite(data, 1, n, f_) != n) Fail();
        pos_ += std::int64_t(n);
    }
    void WriteAt(std::int64_t offset, const void* data, size_t n) {
        if (std::fflush(f_) != 0 || std::fseek(f_, long(offset), SEEK_SET) != 0) Fail();
        if (std::fwrite(data, 1, n, f_) != n) Fail();
        if (std::fflush(f_) != 0 || std::fseek(f_, 0, SEEK_END) != 0) Fail();
    }
    std::int64_t Position() const { return pos_; }
    void Close() {
        FILE* f = f_;
        f_ = nullptr;
        if (std::fflush(f) != 0) {
            const int e = errno;
            std::fclose(f);
            WriteFailure(target_, std::strerror(e));
        }
        if (std::fclose(f) != 0) WriteFailure(target_, std::strerror(errno));
    }
    void CloseQuietly() {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }

private:
    [[noreturn]] void Fail() {
        const int e = errno ? errno : EIO;
        WriteFailure(target_, std::strerror(e));
    }
    std::string target_;
    FILE* f_ = nullptr;
    std::vector<char> buffer_;
    std::int64_t pos_ = 0;
};

bool TagsEmpty(const AudioTags& t) { return t == AudioTags{}; }

// ---------------------------------------------------------------------------

class EncoderBase : public AudioEncoder {
public:
    EncoderBase(int code, const std::string& path, int inRate, int inChannels, int outRate, int outChannels,
                const AudioTags& tags)
        : code_(code), path_(path), tags_(tags), temp_(path), inRate_(inRate), inChannels_(inChannels),
          outRate_(outRate), outChannels_(outChannels) {
        if (inRate_ <= 0) inRate_ = outRate_;
        if (inChannels_ <= 0) inChannels_ = outChannels_;
        if (inRate_ != outRate_ || inChannels_ != outChannels_) SetUpResampler();
    }
    ~EncoderBase() override { swr_free(&swr_); }

    void Write(const float* const* planar, int frames) override {
        if (done_) throw EngineError("Cannot write \"" + path_ + "\": the file is already closed.");
        if (frames <= 0) return;
        if (!swr_) {
            Encode(planar, frames);
            return;
        }
        const int room = swr_get_out_samples(swr_, frames);
        Reserve(room);
        const int got = swr_convert(swr_, scratchPtrs_.data(), room,
                                    reinterpret_cast<const std::uint8_t**>(const_cast<const float**>(planar)),
                                    frames);
        if (got < 0) WriteFailure(path_, AvErrorText(got));
        if (got > 0) Encode(ScratchPlanar(), got);
    }

    void Finish() override {
        if (done_) return;
        try {
            if (swr_) {
                for (;;) {
                    const int room = swr_get_out_samples(swr_, 0);
                    if (room <= 0) break;
                    Reserve(room);
                    const int got = swr_convert(swr_, scratchPtrs_.data(), room, nullptr, 0);
                    if (got <= 0) break;
                    Encode(ScratchPlanar(), got);
                }
            }
            FinishStream();
            if (!TagsEmpty(tags_) && !TagsWrittenInline()) WriteTagsForFormat(temp_.Path(), code_, tags_);
            temp_.Commit();
            done_ = true;
        } catch (...) {
            Abort();
            throw;
        }
    }

    void Abort() override {
        if (done_) return;
        done_ = true;
        AbortStream();
        temp_.CloseFd();
        temp_.Remove();
    }

    int OutputRate() const override { return outRate_; }
    int OutputChannels() const override { return outChannels_; }

protected:
    virtual void Encode(const float* const* planar, int frames) = 0;
    virtual void FinishStream() = 0;         // flush, finish headers, close the file
    virtual void AbortStream() = 0;          // close without caring for errors
    virtual bool TagsWrittenInline() const { return false; }

    int code_;
    std::string path_;
    AudioTags tags_;
    TempFile temp_;
    int inRate_, inChannels_, outRate_, outChannels_;
    bool done_ = false;

private:
    void SetUpResampler() {
        AVChannelLayout in{}, out{};
        av_channel_layout_default(&in, inChannels_);
        av_channel_layout_default(&out, outChannels_);
        int r = swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_FLTP, outRate_, &in, AV_SAMPLE_FMT_FLTP, inRate_, 0,
                                    nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (r >= 0 && inChannels_ == 1 && outChannels_ == 2) {
            const double m[2] = {1.0, 1.0};
            r = swr_set_matrix(swr_, m, 1);
        } else if (r >= 0 && inChannels_ == 2 && outChannels_ == 1) {
            const double m[2] = {0.5, 0.5};
            r = swr_set_matrix(swr_, m, 2);
        }
        if (r >= 0) r = swr_init(swr_);
        if (r < 0) WriteFailure(path_, "cannot convert the audio to the output format (" + AvErrorText(r) + ")");
    }
    void Reserve(int frames) {
        scratch_.resize(size_t(outChannels_));
        scratchPtrs_.resize(size_t(outChannels_));
        for (int c = 0; c < outChannels_; ++c) {
            if (scratch_[size_t(c)].size() < size_t(frames)) scratch_[size_t(c)].resize(size_t(frames));
            scratchPtrs_[size_t(c)] = reinterpret_cast<std::uint8_t*>(scratch_[size_t(c)].data());
        }
    }
    const float* const* ScratchPlanar() {
        scratchConst_.resize(size_t(outChannels_));
        for (int c = 0; c < outChannels_; ++c) scratchConst_[size_t(c)] = scratch_[size_t(c)].data();
        return scratchConst_.data();
    }

    SwrContext* swr_ = nullptr;
    std::vector<std::vector<float>> scratch_;
    std::vector<std::uint8_t*> scratchPtrs_;
    std::vector<const float*> scratchConst_;
};

// ---------------------------------------------------------------------------
// WAV: RIFF with a PCM format chunk (WAVE_FORMAT_EXTENSIBLE above 16 bits),
// integer samples of 8 (unsigned), 16, 24 or 32 bits.

void PutLe(std::vector<std::uint8_t>& v, std::uint64_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}

class WavEncoder final : public EncoderBase {
public:
    WavEncoder(const FileFormat& f, const std::string& path, int inRate, int inChannels, const AudioTags& tags)
        : EncoderBase(FormatWav, path, inRate, inChannels, WavRate(f, inRate), WavChannels(f), tags),
          bits_(WavBits(f)), out_(temp_, path) {
        out_.Write(Header(0).data(), Header(0).size());
        headerSize_ = out_.Position();
    }

    static int WavRate(const FileFormat& f, int inRate) {
        if (f.wave.rate > 0) return f.wave.rate;
        return inRate > 0 ? inRate : 44100;
    }
    static int WavChannels(const FileFormat& f) { return f.wave.channels == 1 ? 1 : 2; }
    static int WavBits(const FileFormat& f) {
        const int b = f.wave.bits;
        return b == 8 || b == 16 || b == 24 || b == 32 ? b : 16;
    }

private:
    std::vector<std::uint8_t> Header(std::uint64_t dataBytes) const {
        const bool extensible = bits_ > 16;
        const int blockAlign = outChannels_ * bits_ / 8;
        const std::uint32_t fmtSize = extensible ? 40 : 16;
        const std::uint64_t riff = 4 + (8 + fmtSize) + 8 + dataBytes + (dataBytes & 1);
        std::vector<std::uint8_t> h;
        auto tag = [&](const char* s) { h.insert(h.end(), s, s + 4); };
        tag("RIFF");
        PutLe(h, std::min<std::uint64_t>(riff, 0xFFFFFFFFu), 4);
        tag("WAVE");
        tag("fmt ");
        PutLe(h, fmtSize, 4);
        PutLe(h, extensible ? 0xFFFE : 1, 2);
        PutLe(h, std::uint64_t(outChannels_), 2);
        PutLe(h, std::uint64_t(outRate_), 4);
        PutLe(h, std::uint64_t(outRate_) * std::uint64_t(blockAlign), 4);
        PutLe(h, std::uint64_t(blockAlign), 2);
        PutLe(h, std::uint64_t(bits_), 2);
        if (extensible) {
            PutLe(h, 22, 2);
            PutLe(h, std::uint64_t(bits_), 2);               // valid bits
            PutLe(h, outChannels_ == 1 ? 0x4 : 0x3, 4);       // FC, or FL|FR
            // KSDATAFORMAT_SUBTYPE_PCM
            static const std::uint8_t guid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                  0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
            h.insert(h.end(), guid, guid + 16);
        }
        tag("data");
        PutLe(h, std::min<std::uint64_t>(dataBytes, 0xFFFFFFFFu), 4);
        return h;
    }

    void Encode(const float* const* planar, int frames) override {
        const int bytes = bits_ / 8;
        buf_.resize(size_t(frames) * size_t(outChannels_) * size_t(bytes));
        std::uint8_t* p = buf_.data();
        for (int i = 0; i < frames; ++i) {
            for (int c = 0; c < outChannels_; ++c) {
                float s = planar[c][i];
                s = std::isnan(s) ? 0.0f : std::clamp(s, -1.0f, 1.0f);
                // Full scale is 2^(bits-1), as every reader divides by it;
                // +1.0 clips to the largest positive code.
                switch (bits_) {
                case 8: *p++ = std::uint8_t(std::clamp<long>(std::lrint(s * 128.0f), -128, 127) + 128); break;
                case 16: {
                    const auto v = std::uint16_t(std::clamp<long>(std::lrint(s * 32768.0f), -32768, 32767));
                    *p++ = std::uint8_t(v);
                    *p++ = std::uint8_t(v >> 8);
                    break;
                }
                case 24: {
                    const auto v = std::uint32_t(std::clamp<long>(std::lrint(double(s) * 8388608.0), -8388608, 8388607));
                    *p++ = std::uint8_t(v);
                    *p++ = std::uint8_t(v >> 8);
                    *p++ = std::uint8_t(v >> 16);
                    break;
                }
                default: {
                    const auto v = std::uint32_t(
                        std::clamp<long long>(std::llrint(double(s) * 2147483648.0), -2147483648LL, 2147483647LL));
                    *p++ = std::uint8_t(v);
                    *p++ = std::uint8_t(v >> 8);
                    *p++ = std::uint8_t(v >> 16);
                    *p++ = std::uint8_t(v >> 24);
                }
                }
            }
        }
        out_.Write(buf_.data(), buf_.size());
        dataBytes_ += buf_.size();
    }

    void FinishStream() override {
        if (dataBytes_ & 1) {
            const std::uint8_t pad = 0;
            out_.Write(&pad, 1);
        }
        const auto h = Header(dataBytes_);
        out_.WriteAt(0, h.data(), h.size());
        out_.Close();
    }
    void AbortStream() override { out_.CloseQuietly(); }

    int bits_;
    OutFile out_;
    std::int64_t headerSize_ = 0;
    std::uint64_t dataBytes_ = 0;
    std::vector<std::uint8_t> buf_;
};

// ---------------------------------------------------------------------------
// MP3 through LAME. The ID3v2 tag is rendered first and the ID3v1 tag last,
// so the tagged file is written in one pass.

class Mp3Encoder final : public EncoderBase {
public:
    Mp3Encoder(const Mp3Setup& s, const std::string& path, int inRate, int inChannels, const AudioTags& tags)
        : EncoderBase(FormatMp3, path, inRate, inChannels, s.rate, s.channels, tags), out_(temp_, path) {
        std::string why;
        gf_ = OpenLame(s, &why);
        if (!gf_) WriteFailure(path, why);
        writeVbrTag_ = lame_get_bWriteVbrTag(gf_) != 0;
        if (!TagsEmpty(tags_)) {
            TagLib::ID3v2::Tag tag;
            codec::FillTag(tag, tags_);
            const TagLib::ByteVector v = tag.render(TagLib::ID3v2::v3);
            out_.Write(v.data(), v.size());
        }
        audioStart_ = out_.Position();
    }
    ~Mp3Encoder() override {
        if (gf_) lame_close(gf_);
    }

private:
    void Encode(const float* const* planar, int frames) override {
        constexpr int kChunk = 1 << 15;
        for (int pos = 0; pos < frames; pos += kChunk) {
            const int n = std::min(kChunk, frames - pos);
            mp3buf_.resize(size_t(n) * 5 / 4 + 7200);
            const float* l = planar[0] + pos;
            const float* r = outChannels_ > 1 ? planar[1] + pos : l;
            const int got = lame_encode_buffer_ieee_float(gf_, l, r, n, mp3buf_.data(), int(mp3buf_.size()));
            if (got < 0) WriteFailure(path_, "the MP3 encoder failed (" + std::to_string(got) + ")");
            out_.Write(mp3buf_.data(), size_t(got));
        }
    }
    void FinishStream() override {
        mp3buf_.resize(16384);
        const int got = lame_encode_flush(gf_, mp3buf_.data(), int(mp3buf_.size()));
        if (got < 0) WriteFailure(path_, "the MP3 encoder failed (" + std::to_string(got) + ")");
        out_.Write(mp3buf_.data(), size_t(got));
        if (writeVbrTag_) {
            std::vector<unsigned char> frame(8192);
            const size_t n = lame_get_lametag_frame(gf_, frame.data(), frame.size());
            if (n > 0 && n <= frame.size()) out_.WriteAt(audioStart_, frame.data(), n);
        }
        if (!TagsEmpty(tags_)) {
            TagLib::ID3v1::Tag tag;
            codec::FillTag(tag, tags_);
            const TagLib::ByteVector v = tag.render();
            out_.Write(v.data(), v.size());
        }
        out_.Close();
    }
    void AbortStream() override { out_.CloseQuietly(); }
    bool TagsWrittenInline() const override { return true; }

    lame_t gf_ = nullptr;
    OutFile out_;
    bool writeVbrTag_ = true;
    std::int64_t audioStart_ = 0;
    std::vector<unsigned char> mp3buf_;
};

// ---------------------------------------------------------------------------
// OGG Vorbis through libvorbis, the tags as the stream's comment header.

class OggEncoder final : public EncoderBase {
public:
    OggEncoder(OggSetup s, const std::string& path, int inRate, int inChannels, const AudioTags& tags)
        : EncoderBase(FormatOgg, path, inRate, inChannels, s.rate, s.channels, tags), out_(temp_, path) {
        std::string why;
        if (!InitVorbisInfo(&vi_, s, &why)) WriteFailure(path, why);
        infoReady_ = true;
        vorbis_comment_init(&vc_);
        auto add = [&](const char* key, const std::string& value) {
            if (!value.empty()) vorbis_comment_add_tag(&vc_, key, value.c_str());
        };
        add("TITLE", tags.Title);
        add("ARTIST", tags.Artist);
        add("ALBUM", tags.Album);
        add("COMMENT", tags.Comment);
        add("GENRE", GenreName(tags.Genre));
        if (tags.Year > 0) add("DATE", std::to_string(tags.Year));
        if (vorbis_analysis_init(&vd_, &vi_) != 0) WriteFailure(path, "the OGG encoder cannot start");
        vorbis_block_init(&vd_, &vb_);
        std::random_device rd;
        ogg_stream_init(&os_, int(rd() & 0x7FFFFFFF));
        streamReady_ = true;
        ogg_packet h[3];
        vorbis_analysis_headerout(&vd_, &vc_, &h[0], &h[1], &h[2]);
        for (auto& p : h) ogg_stream_packetin(&os_, &p);
        ogg_page page;
        while (ogg_stream_flush(&os_, &page) != 0) WritePage(page);
    }
    ~OggEncoder() override {
        if (streamReady_) {
            ogg_stream_clear(&os_);
            vorbis_block_clear(&vb_);
            vorbis_dsp_clear(&vd_);
            vorbis_comment_clear(&vc_);
        }
        if (infoReady_) vorbis_info_clear(&vi_);
    }

private:
    void Encode(const float* const* planar, int frames) override {
        constexpr int kChunk = 1024;
        for (int pos = 0; pos < frames; pos += kChunk) {
            const int n = std::min(kChunk, frames - pos);
            float** buf = vorbis_analysis_buffer(&vd_, n);
            for (int c = 0; c < outChannels_; ++c)
                std::memcpy(buf[c], planar[c] + pos, size_t(n) * sizeof(float));
            vorbis_analysis_wrote(&vd_, n);
            Drain();
        }
    }
    void Drain() {
        while (vorbis_analysis_blockout(&vd_, &vb_) == 1) {
            vorbis_analysis(&vb_, nullptr);
            vorbis_bitrate_addblock(&vb_);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd_, &op) == 1) {
                ogg_stream_packetin(&os_, &op);
                ogg_page page;
                while (ogg_stream_pageout(&os_, &page) != 0) WritePage(page);
            }
        }
    }
    void WritePage(const ogg_page& page) {
        out_.Write(page.header, size_t(page.header_len));
        out_.Write(page.body, size_t(page.body_len));
    }
    void FinishStream() override {
        vorbis_analysis_wrote(&vd_, 0);
        Drain();
        ogg_page page;
        while (ogg_stream_flush(&os_, &page) != 0) WritePage(page);
        out_.Close();
    }
    void AbortStream() override { out_.CloseQuietly(); }
    bool TagsWrittenInline() const override { return true; }

    OutFile out_;
    vorbis_info vi_{};
    vorbis_comment vc_{};
    vorbis_dsp_state vd_{};
    vorbis_block vb_{};
    ogg_stream_state os_{};
    bool infoReady_ = false;
    bool streamReady_ = false;
};

// ---------------------------------------------------------------------------
// WMA: FFmpeg's wmav2 encoder in an ASF file. The tags are added by TagLib
// afterwards: the ASF muxer leaves out the comment and the year.

class WmaEncoder final : public EncoderBase {
public:
    WmaEncoder(WmaSetup s, const std::string& path, int inRate, int inChannels, const AudioTags& tags)
        : EncoderBase(FormatWma, path, inRate, inChannels, s.rate, s.channels, tags) {
        temp_.CloseFd();
        int r = avformat_alloc_output_context2(&oc_, nullptr, "asf", temp_.Path().c_str());
        if (r < 0 || !oc_) WriteFailure(path, "the WMA writer cannot start (" + AvErrorText(r) + ")");
        std::string why;
        ctx_ = OpenWmaCodec(s, (oc_->oformat->flags & AVFMT_GLOBALHEADER) != 0, &why);
        if (!ctx_) WriteFailure(path, why);
        AVStream* st = avformat_new_stream(oc_, nullptr);
        if (!st) throw EngineError("Out of memory");
        st->time_base = AVRational{1, outRate_};
        r = avcodec_parameters_from_context(st->codecpar, ctx_);
        if (r < 0) WriteFailure(path, AvErrorText(r));
        r = avio_open(&oc_->pb, temp_.Path().c_str(), AVIO_FLAG_WRITE);
        if (r < 0) WriteFailure(path, AvErrorText(r));
        r = avformat_write_header(oc_, nullptr);
        if (r < 0) WriteFailure(path, AvErrorText(r));
        CheckIo();
        fifo_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, outChannels_, ctx_->frame_size * 4);
        frame_ = av_frame_alloc();
        packet_ = av_packet_alloc();
        if (!fifo_ || !frame_ || !packet_) throw EngineError("Out of memory");
    }
    ~WmaEncoder() override {
        av_packet_free(&packet_);
        av_frame_free(&frame_);
        if (fifo_) av_audio_fifo_free(fifo_);
        avcodec_free_context(&ctx_);
        if (oc_) {
            if (oc_->pb) avio_closep(&oc_->pb);
            avformat_free_context(oc_);
        }
    }

private:
    void Encode(const float* const* planar, int frames) override {
        if (av_audio_fifo_write(fifo_, reinterpret_cast<void**>(const_cast<float**>(planar)), frames) <
            frames)
            throw EngineError("Out of memory");
        while (av_audio_fifo_size(fifo_) >= ctx_->frame_size) SendFrame(ctx_->frame_size);
    }
    // The encoder takes whole frames only: the last one is padded with silence.
    void SendFrame(int n) {
        av_frame_unref(frame_);
        frame_->nb_samples = ctx_->frame_size;
        frame_->format = ctx_->sample_fmt;
        frame_->sample_rate = ctx_->sample_rate;
        av_channel_layout_copy(&frame_->ch_layout, &ctx_->ch_layout);
        if (av_frame_get_buffer(frame_, 0) < 0) throw EngineError("Out of memory");
        av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame_->extended_data), n);
        if (n < ctx_->frame_size)
            for (int c = 0; c < outChannels_; ++c)
                std::fill(reinterpret_cast<float*>(frame_->extended_data[c]) + n,
                          reinterpret_cast<float*>(frame_->extended_data[c]) + ctx_->frame_size, 0.0f);
        frame_->pts = pts_;
        pts_ += ctx_->frame_size;
        const int r = avcodec_send_frame(ctx_, frame_);
        if (r < 0) WriteFailure(path_, "the WMA encoder failed (" + AvErrorText(r) + ")");
        ReceivePackets();
    }
    void ReceivePackets() {
        for (;;) {
            int r = avcodec_receive_packet(ctx_, packet_);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
            if (r < 0) WriteFailure(path_, "the WMA encoder failed (" + AvErrorText(r) + ")");
            packet_->stream_index = 0;
            av_packet_rescale_ts(packet_, ctx_->time_base, oc_->streams[0]->time_base);
            r = av_interleaved_write_frame(oc_, packet_);
            if (r < 0) WriteFailure(path_, AvErrorText(r));
            CheckIo();
        }
    }
    void CheckIo() {
        if (oc_->pb && oc_->pb->error < 0) WriteFailure(path_, AvErrorText(oc_->pb->error));
    }
    void FinishStream() override {
        const int left = av_audio_fifo_size(fifo_);
        if (left > 0) SendFrame(left);
        int r = avcodec_send_frame(ctx_, nullptr);
        if (r < 0 && r != AVERROR_EOF) WriteFailure(path_, AvErrorText(r));
        ReceivePackets();
        r = av_write_trailer(oc_);
        if (r < 0) WriteFailure(path_, AvErrorText(r));
        avio_flush(oc_->pb);
        CheckIo();
        r = avio_closep(&oc_->pb);
        if (r < 0) WriteFailure(path_, AvErrorText(r));
    }
    void AbortStream() override {
        if (oc_ && oc_->pb) avio_closep(&oc_->pb);
    }

    AVFormatContext* oc_ = nullptr;
    AVCodecContext* ctx_ = nullptr;
    AVAudioFifo* fifo_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::int64_t pts_ = 0;
};

}  // namespace

std::unique_ptr<AudioEncoder> AudioEncoder::Create(int code, const FileFormat& format, const std::string& path,
                                                   int inRate, int inChannels, const AudioTags& tags) {
    codec::QuietFfmpegLog();
    switch (code) {
    case FormatWav: return std::make_unique<WavEncoder>(format, path, inRate, inChannels, tags);
    case FormatMp3: return std::make_unique<Mp3Encoder>(ResolveMp3(format), path, inRate, inChannels, tags);
    case FormatOgg: return std::make_unique<OggEncoder>(ResolveOgg(format), path, inRate, inChannels, tags);
    case FormatWma: return std::make_unique<WmaEncoder>(ResolveWma(format), path, inRate, inChannels, tags);
    default: break;
    }
    throw EngineError("Cannot write \"" + path + "\": the format code " + std::to_string(code) +
                      " is not a save format.");
}

}  // namespace sw
