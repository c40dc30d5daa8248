// Reading audio files through FFmpeg (libavformat, libavcodec, libswresample).
//
// Every file is decoded to planar 32-bit float at its stored rate and channel
// count. Decoders that already deliver planar float (MP3, Vorbis, WMA,
// Musepack, ...) are copied straight into the caller's buffers; everything
// else goes through libswresample, directly into the caller's buffers when a
// whole decoded frame fits.
//
// Headerless formats carry no description of their samples, so they are read
// with fixed assumptions:
//
//   extension  samples                                   how it is read
//   ---------  ----------------------------------------  -------------------------------
//   .raw       16-bit signed little-endian, 44100 Hz,     demuxer "s16le"
//              stereo
//   .vox       Dialogic/OKI 4-bit ADPCM, 8000 Hz, mono    file bytes fed as packets to the
//                                                        "adpcm_ima_oki" decoder
//   .g721      G.726 32 kbit/s (4 bits), 8000 Hz, mono    demuxer "g726", code_size 4
//   .g723      G.726 24 kbit/s (3 bits), 8000 Hz, mono    demuxer "g726", code_size 3
//   .g726      G.726 32 kbit/s (4 bits), 8000 Hz, mono    demuxer "g726", code_size 4
//
// G.72x files are expected in the packing FFmpeg's "g726" muxer writes (codes
// left-justified, big-endian bit order). ".cda" files are only shortcuts
// that Windows shows for the tracks of an audio CD; they hold no audio.
#include "Decoder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FFmpegUtil.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace sw {

namespace codec {

std::string LowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (auto& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace codec

namespace {

using codec::AvErrorText;

struct HeaderlessFormat {
    const char* extension;
    const char* demuxer;   // nullptr: raw bytes fed to `codec` as packets
    AVCodecID codec;
    int sampleRate;
    int channels;
    int bitsPerFrame;      // for the exact length from the file size
    int codeSize;          // G.726 bits per code, 0 otherwise
    const char* description;
};

constexpr HeaderlessFormat kHeaderless[] = {
    {".raw", "s16le", AV_CODEC_ID_PCM_S16LE, 44100, 2, 32, 0, "PCM 16 bits"},
    {".vox", nullptr, AV_CODEC_ID_ADPCM_IMA_OKI, 8000, 1, 4, 0, "Dialogic VOX ADPCM"},
    {".g721", "g726", AV_CODEC_ID_ADPCM_G726, 8000, 1, 4, 4, "G.721 ADPCM"},
    {".g723", "g726", AV_CODEC_ID_ADPCM_G726, 8000, 1, 3, 3, "G.723 ADPCM"},
    {".g726", "g726", AV_CODEC_ID_ADPCM_G726, 8000, 1, 4, 4, "G.726 ADPCM"},
};

const HeaderlessFormat* FindHeaderless(const std::string& ext) {
    for (const auto& f : kHeaderless)
        if (ext == f.extension) return &f;
    return nullptr;
}

[[noreturn]] void Fail(const std::string& path, const std::string& why) {
    throw EngineError("Cannot open \"" + path + "\": " + why);
}

std::string CodecTitle(AVCodecID id, const AVCodecDescriptor* d) {
    switch (id) {
    case AV_CODEC_ID_MP3: return "MPEG Layer 3";
    case AV_CODEC_ID_MP2: return "MPEG Layer 2";
    case AV_CODEC_ID_MP1: return "MPEG Layer 1";
    case AV_CODEC_ID_VORBIS: return "OGG Vorbis";
    case AV_CODEC_ID_WMAV1:
    case AV_CODEC_ID_WMAV2: return "Windows Media Audio";
    case AV_CODEC_ID_WMAPRO: return "Windows Media Audio Pro";
    case AV_CODEC_ID_WMALOSSLESS: return "Windows Media Audio Lossless";
    case AV_CODEC_ID_MUSEPACK7:
    case AV_CODEC_ID_MUSEPACK8: return "Musepack";
    case AV_CODEC_ID_ADPCM_IMA_OKI: return "Dialogic VOX ADPCM";
    case AV_CODEC_ID_ADPCM_G726: return "G.726 ADPCM";
    default: break;
    }
    if (d && d->props & AV_CODEC_PROP_LOSSLESS && std::strncmp(d->name, "pcm_", 4) == 0) return "PCM";
    return d ? (d->long_name ? d->long_name : d->name) : "Unknown";
}

std::string ChannelText(int channels) {
    if (channels == 1) return "Mono";
    if (channels == 2) return "Stereo";
    return std::to_string(channels) + " Channels";
}

// Number of samples of a Musepack SV8 file, from its stream header packet
// ("MPCK", then packets of a two-letter key, a variable-length size, ...).
// FFmpeg does not report the length of these files.
SampleCount MusepackSv8Length(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    unsigned char buf[4096];
    const size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    if (n < 4 || std::memcmp(buf, "MPCK", 4) != 0) return -1;
    size_t pos = 4;
    auto readVarint = [&](std::uint64_t& v) {
        v = 0;
        for (int i = 0; i < 9 && pos < n; ++i) {
            const unsigned char b = buf[pos++];
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    };
    while (pos + 3 <= n) {
        const size_t start = pos;
        const bool sh = buf[pos] == 'S' && buf[pos + 1] == 'H';
        pos += 2;
        std::uint64_t size = 0;
        if (!readVarint(size) || size < 2) return -1;
        if (sh) {
            pos += 5;   // CRC (4 bytes) and stream version
            std::uint64_t samples = 0, silence = 0;
            if (pos >= n || !readVarint(samples) || !readVarint(silence)) return -1;
            return samples >= silence ? SampleCount(samples - silence) : -1;
        }
        pos = start + size;
    }
    return -1;
}

class FFmpegDecoder final : public AudioDecoder {
public:
    explicit FFmpegDecoder(const std::string& path) : path_(path) {}

    ~FFmpegDecoder() override {
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        swr_free(&swr_);
        avcodec_free_context(&dec_);
        avformat_close_input(&fmt_);
        if (raw_) std::fclose(raw_);
        av_channel_layout_uninit(&layout_);
        av_channel_layout_uninit(&swrInLayout_);
    }

    void Open() {
        const std::string ext = codec::LowerExtension(path_);
        if (ext == ".cda")
            throw EngineError("CD audio tracks (.cda) can only be loaded from an audio CD drive. \"" +
                              path_ + "\" is only a shortcut to a CD track.");
        struct stat st {};
        if (::stat(path_.c_str(), &st) != 0) {
            if (errno == ENOENT) Fail(path_, "the file does not exist.");
            Fail(path_, std::strerror(errno));
        }
        if (S_ISDIR(st.st_mode)) Fail(path_, "it is a folder, not a file.");
        if (st.st_size == 0) Fail(path_, "the file is empty.");
        fileSize_ = st.st_size;

        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        if (!packet_ || !frame_) throw EngineError("Out of memory");

        headerless_ = FindHeaderless(ext);
        if (headerless_ && !headerless_->demuxer)
            OpenRawPackets();
        else
            OpenDemuxed(ext);

        // Decode the first frame now: a file that yields no audio at all is
        // reported here instead of opening as an empty document.
        if (!NextFrame()) Fail(path_, "the file is damaged or holds no audio that can be decoded.");
        haveFrame_ = true;
        rate_ = frame_->sample_rate > 0 ? frame_->sample_rate : dec_->sample_rate;
        if (frame_->ch_layout.nb_channels > 0)
            av_channel_layout_copy(&layout_, &frame_->ch_layout);
        else
            av_channel_layout_copy(&layout_, &dec_->ch_layout);
        if (layout_.order == AV_CHANNEL_ORDER_UNSPEC) {
            const int n = layout_.nb_channels;
            av_channel_layout_uninit(&layout_);
            av_channel_layout_default(&layout_, n);
        }
        channels_ = layout_.nb_channels;
        if (rate_ <= 0 || channels_ <= 0) Fail(path_, "the audio format is not valid.");
        ComputeFacts();
    }

    int SampleRate() const override { return rate_; }
    int Channels() const override { return channels_; }
    SampleCount LengthEstimate() const override { return length_; }
    std::int64_t StoredBitRate() const override { return bitRate_; }
    std::string Description() const override { return description_; }
    int StoredBitsPerSample() const override { return bits_; }

    int Read(float* const* planar, int maxFrames) override {
        int done = 0;
        while (done < maxFrames) {
            if (convPos_ < convLen_) {
                const int n = std::min(maxFrames - done, convLen_ - convPos_);
                for (int c = 0; c < channels_; ++c)
                    std::memcpy(planar[c] + done, conv_[size_t(c)].data() + convPos_, size_t(n) * sizeof(float));
                convPos_ += n;
                done += n;
                continue;
            }
            if (!haveFrame_) {
                if (decoderEnded_ || !NextFrame()) {
                    if (!FlushResampler()) break;
                    continue;
                }
                haveFrame_ = true;
                framePos_ = 0;
            }
            if (IsDirect()) {
                const int n = std::min(maxFrames - done, frame_->nb_samples - framePos_);
                for (int c = 0; c < channels_; ++c)
                    std::memcpy(planar[c] + done,
                                reinterpret_cast<const float*>(frame_->extended_data[c]) + framePos_,
                                size_t(n) * sizeof(float));
                framePos_ += n;
                done += n;
                if (framePos_ >= frame_->nb_samples) {
                    av_frame_unref(frame_);
                    haveFrame_ = false;
                }
                continue;
            }
            ConfigureResampler();
            const int room = swr_get_out_samples(swr_, frame_->nb_samples);
            if (room < 0) throw EngineError("Cannot decode \"" + path_ + "\": " + AvErrorText(room));
            int got;
            if (room <= maxFrames - done) {
                std::vector<std::uint8_t*> outs(static_cast<size_t>(channels_));
                for (int c = 0; c < channels_; ++c)
                    outs[size_t(c)] = reinterpret_cast<std::uint8_t*>(planar[c] + done);
                got = swr_convert(swr_, outs.data(), room,
                                  const_cast<const std::uint8_t**>(frame_->extended_data), frame_->nb_samples);
                if (got > 0) done += got;
            } else {
                got = ConvertToBuffer(const_cast<const std::uint8_t**>(frame_->extended_data),
                                      frame_->nb_samples, room);
            }
            if (got < 0) throw EngineError("Cannot decode \"" + path_ + "\": " + AvErrorText(got));
            av_frame_unref(frame_);
            haveFrame_ = false;
        }
        return done;
    }

private:
    void OpenRawPackets() {
        raw_ = std::fopen(path_.c_str(), "rb");
        if (!raw_) Fail(path_, std::strerror(errno));
        const AVCodec* c = avcodec_find_decoder(headerless_->codec);
        if (!c) Fail(path_, "no decoder for this format is available.");
        dec_ = avcodec_alloc_context3(c);
        if (!dec_) throw EngineError("Out of memory");
        dec_->sample_rate = headerless_->sampleRate;
        av_channel_layout_default(&dec_->ch_layout, headerless_->channels);
        const int r = avcodec_open2(dec_, c, nullptr);
        if (r < 0) Fail(path_, AvErrorText(r));
        codecId_ = headerless_->codec;
    }

    void OpenDemuxed(const std::string& ext) {
        const AVInputFormat* inFormat = nullptr;
        AVDictionary* opts = nullptr;
        if (headerless_) {
            inFormat = av_find_input_format(headerless_->demuxer);
            if (!inFormat) Fail(path_, "no reader for this format is available.");
            av_dict_set_int(&opts, "sample_rate", headerless_->sampleRate, 0);
            if (headerless_->codeSize)
                av_dict_set_int(&opts, "code_size", headerless_->codeSize, 0);
            else
                av_dict_set(&opts, "ch_layout", headerless_->channels == 1 ? "mono" : "stereo", 0);
        } else if (ext == ".wav") {
            // Larger PCM packets: fewer decoder calls per second of audio.
            av_dict_set_int(&opts, "max_size", 1 << 17, 0);
        }
        int r = avformat_open_input(&fmt_, path_.c_str(), inFormat, &opts);
        av_dict_free(&opts);
        if (r < 0) {
            if (r == AVERROR(ENOENT) || r == AVERROR(EACCES)) Fail(path_, AvErrorText(r));
            Fail(path_, "the file is damaged or its format is not supported.");
        }
        r = avformat_find_stream_info(fmt_, nullptr);
        if (r < 0) Fail(path_, "the file is damaged or its format is not supported.");
        const AVCodec* c = nullptr;
        stream_ = av_find_best_stream(fmt_, AVMEDIA_TYPE_AUDIO, -1, -1, &c, 0);
        if (stream_ < 0) {
            if (stream_ == AVERROR_DECODER_NOT_FOUND) Fail(path_, "no decoder for its audio is available.");
            Fail(path_, "the file contains no audio.");
        }
        for (unsigned i = 0; i < fmt_->nb_streams; ++i)
            if (int(i) != stream_) fmt_->streams[i]->discard = AVDISCARD_ALL;
        const AVCodecParameters* par = fmt_->streams[stream_]->codecpar;
        dec_ = avcodec_alloc_context3(c);
        if (!dec_) throw EngineError("Out of memory");
        r = avcodec_parameters_to_context(dec_, par);
        if (r < 0) Fail(path_, AvErrorText(r));
        dec_->request_sample_fmt = AV_SAMPLE_FMT_FLTP;
        dec_->pkt_timebase = fmt_->streams[stream_]->time_base;
        r = avcodec_open2(dec_, c, nullptr);
        if (r < 0) Fail(path_, "cannot start the decoder (" + AvErrorText(r) + ").");
        codecId_ = par->codec_id;
    }

    // Reads the next packet of the audio stream into packet_; false at the end.
    bool ReadPacket() {
        if (raw_) {
            constexpr int kChunk = 1 << 16;
            if (av_new_packet(packet_, kChunk) < 0) throw EngineError("Out of memory");
            const size_t n = std::fread(packet_->data, 1, kChunk, raw_);
            if (n == 0) {
                const bool err = std::ferror(raw_);
                av_packet_unref(packet_);
                if (err) throw EngineError("Cannot read \"" + path_ + "\": " + std::strerror(errno));
                return false;
            }
            av_shrink_packet(packet_, int(n));
            return true;
        }
        for (;;) {
            const int r = av_read_frame(fmt_, packet_);
            if (r == AVERROR_EOF) return false;
            if (r < 0) {
                // A damaged tail ends the audio; a failing device is an error.
                if (r == AVERROR(EIO)) throw EngineError("Cannot read \"" + path_ + "\": " + AvErrorText(r));
                return false;
            }
            if (packet_->stream_index == stream_) return true;
            av_packet_unref(packet_);
        }
    }

    // Decodes the next frame into frame_; false when the stream has ended.
    // Undecodable packets are skipped, as players do with damaged frames.
    bool NextFrame() {
        int failures = 0;
        for (;;) {
            int r = avcodec_receive_frame(dec_, frame_);
            if (r == 0) {
                if (frame_->nb_samples > 0) return true;
                av_frame_unref(frame_);
                continue;
            }
            if (r == AVERROR_EOF) {
                decoderEnded_ = true;
                return false;
            }
            if (r != AVERROR(EAGAIN)) {
                if (++failures > 10000) throw EngineError("Cannot decode \"" + path_ + "\": " + AvErrorText(r));
                continue;
            }
            if (inputEnded_) {   // flushed decoder that still asks for input
                decoderEnded_ = true;
                return false;
            }
            if (!ReadPacket()) {
                inputEnded_ = true;
                avcodec_send_packet(dec_, nullptr);
                continue;
            }
            r = avcodec_send_packet(dec_, packet_);
            av_packet_unref(packet_);
            if (r < 0 && r != AVERROR(EAGAIN) && r != AVERROR_EOF) {
                if (++failures > 10000) throw EngineError("Cannot decode \"" + path_ + "\": " + AvErrorText(r));
            }
        }
    }

    bool IsDirect() const {
        return frame_->format == AV_SAMPLE_FMT_FLTP && frame_->sample_rate == rate_ &&
               frame_->ch_layout.nb_channels == channels_;
    }

    void ConfigureResampler() {
        AVChannelLayout in{};
        if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame_->ch_layout.nb_channels <= 0)
            av_channel_layout_default(&in, frame_->ch_layout.nb_channels > 0 ? frame_->ch_layout.nb_channels
                                                                               : channels_);
        else
            av_channel_layout_copy(&in, &frame_->ch_layout);
        const int inRate = frame_->sample_rate > 0 ? frame_->sample_rate : rate_;
        if (swr_ && swrInFormat_ == frame_->format && swrInRate_ == inRate &&
            av_channel_layout_compare(&swrInLayout_, &in) == 0) {
            av_channel_layout_uninit(&in);
            return;
        }
        FlushResampler();
        swr_free(&swr_);
        int r = swr_alloc_set_opts2(&swr_, &layout_, AV_SAMPLE_FMT_FLTP, rate_, &in,
                                    AVSampleFormat(frame_->format), inRate, 0, nullptr);
        if (r >= 0) r = swr_init(swr_);
        av_channel_layout_uninit(&swrInLayout_);
        swrInLayout_ = in;
        swrInFormat_ = frame_->format;
        swrInRate_ = inRate;
        if (r < 0) throw EngineError("Cannot decode \"" + path_ + "\": " + AvErrorText(r));
    }

    int ConvertToBuffer(const std::uint8_t** in, int inFrames, int room) {
        if (conv_.size() != size_t(channels_)) conv_.resize(size_t(channels_));
        std::vector<std::uint8_t*> outs(static_cast<size_t>(channels_));
        for (int c = 0; c < channels_; ++c) {
            if (conv_[size_t(c)].size() < size_t(room)) conv_[size_t(c)].resize(size_t(room));
            outs[size_t(c)] = reinterpret_cast<std::uint8_t*>(conv_[size_t(c)].data());
        }
        const int got = swr_convert(swr_, outs.data(), room, in, inFrames);
        convPos_ = 0;
        convLen_ = std::max(got, 0);
        return got;
    }

    // Drains what a rate-converting resampler still holds; false when empty.
    bool FlushResampler() {
        if (!swr_) return false;
        const int room = swr_get_out_samples(swr_, 0);
        if (room <= 0) return false;
        const int got = ConvertToBuffer(nullptr, 0, room);
        return got > 0;
    }

    void ComputeFacts() {
        const AVCodecDescriptor* d = avcodec_descriptor_get(codecId_);
        const int codedBits = av_get_bits_per_sample(codecId_);
        bits_ = dec_->bits_per_raw_sample > 0 ? dec_->bits_per_raw_sample : codedBits;
        if (headerless_) {
            length_ = fileSize_ * 8 / headerless_->bitsPerFrame;
            bitRate_ = std::int64_t(headerless_->bitsPerFrame) * headerless_->sampleRate;
            bits_ = headerless_->codec == AV_CODEC_ID_PCM_S16LE ? 16 : headerless_->bitsPerFrame;
        } else {
            const AVStream* st = fmt_->streams[stream_];
            if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
                length_ = av_rescale_q(st->duration, st->time_base, AVRational{1, rate_});
            else if (fmt_->duration != AV_NOPTS_VALUE && fmt_->duration > 0)
                length_ = av_rescale_q(fmt_->duration, AV_TIME_BASE_Q, AVRational{1, rate_});
            else if (codecId_ == AV_CODEC_ID_MUSEPACK8)
                length_ = MusepackSv8Length(path_);
            else
                length_ = -1;
            bitRate_ = st->codecpar->bit_rate > 0 ? st->codecpar->bit_rate : fmt_->bit_rate;
            if (bitRate_ <= 0 && codedBits > 0) bitRate_ = std::int64_t(codedBits) * rate_ * channels_;
            if (bitRate_ <= 0 && length_ > 0) bitRate_ = fileSize_ * 8 * rate_ / length_;
            if (bitRate_ < 0) bitRate_ = 0;
        }
        std::string title = headerless_ ? headerless_->description : CodecTitle(codecId_, d);
        if (title == "PCM" && bits_ > 0) title += " " + std::to_string(bits_) + " bits";
        description_ = title + ", " + std::to_string(rate_) + " Hz, ";
        if (bitRate_ > 0) description_ += std::to_string((bitRate_ + 500) / 1000) + " kbps, ";
        description_ += ChannelText(channels_);
    }

    std::string path_;
    const HeaderlessFormat* headerless_ = nullptr;
    std::int64_t fileSize_ = 0;
    AVFormatContext* fmt_ = nullptr;
    FILE* raw_ = nullptr;
    AVCodecContext* dec_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    SwrContext* swr_ = nullptr;
    AVChannelLayout swrInLayout_{};
    int swrInFormat_ = -1;
    int swrInRate_ = 0;
    AVCodecID codecId_ = AV_CODEC_ID_NONE;
    int stream_ = -1;

    AVChannelLayout layout_{};
    int rate_ = 0;
    int channels_ = 0;
    int bits_ = 0;
    SampleCount length_ = -1;
    std::int64_t bitRate_ = 0;
    std::string description_;

    bool haveFrame_ = false;
    int framePos_ = 0;
    bool inputEnded_ = false;
    bool decoderEnded_ = false;
    std::vector<std::vector<float>> conv_;
    int convPos_ = 0;
    int convLen_ = 0;
};

}  // namespace

std::unique_ptr<AudioDecoder> AudioDecoder::Open(const std::string& path) {
    codec::QuietFfmpegLog();
    auto d = std::make_unique<FFmpegDecoder>(path);
    d->Open();
    return d;
}

}  // namespace sw
