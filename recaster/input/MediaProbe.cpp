#include "MediaProbe.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace rc {

namespace {
// Bounds on the packets read while looking for one picture, so that a large
// file whose video cannot be decoded fails in reasonable time.
constexpr int kMaxVideoPackets = 600;
constexpr int kMaxPackets = 20000;

QString AvErrorText(int averror) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(averror, buf, sizeof buf) < 0)
        return QStringLiteral("Error %1").arg(averror);
    return QString::fromUtf8(buf);
}

bool IsMainVideo(const AVStream* st) {
    return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           st->codecpar->codec_id != AV_CODEC_ID_NONE &&
           !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
}
}  // namespace

TMediaDecoder::TMediaDecoder() = default;

TMediaDecoder::~TMediaDecoder() {
    CloseMediaFile();
    sws_freeContext(sws_);
}

QString TMediaDecoder::LastErrorText() const {
    if (error_.isEmpty()) return {};
    if (path_.isEmpty()) return error_;
    return path_ + ": " + error_;
}

bool TMediaDecoder::Fail(const QString& reason) {
    error_ = reason;
    return false;
}

bool TMediaDecoder::FailAv(const QString& what, int averror) {
    return Fail(what.isEmpty() ? AvErrorText(averror) : what + ": " + AvErrorText(averror));
}

bool TMediaDecoder::OpenMediaFile(const QString& path, const QString& formatName) {
    CloseMediaFile();
    path_ = path;
    error_.clear();

    const QFileInfo fi(path);
    if (path.isEmpty()) return Fail("No file name given");
    if (!fi.exists()) return Fail("No such file or directory");
    if (fi.isDir()) return Fail("Is a folder, not a media file");
    if (!fi.isReadable()) return Fail("Permission denied");

    const AVInputFormat* ifmt = nullptr;
    if (!formatName.isEmpty()) {
        ifmt = av_find_input_format(formatName.toUtf8().constData());
        if (!ifmt) return Fail("Unknown input format \"" + formatName + "\"");
    }
    AVFormatContext* ctx = nullptr;
    int err = avformat_open_input(&ctx, QFile::encodeName(path).constData(), ifmt, nullptr);
    if (err < 0) return FailAv({}, err);  // ctx is freed by FFmpeg on failure
    fmt_ = ctx;
    err = avformat_find_stream_info(fmt_, nullptr);
    if (err < 0) {
        FailAv("Cannot read the stream information", err);
        CloseMediaFile();
        return false;
    }
    for (unsigned i = 0; i < fmt_->nb_streams; ++i) {
        const AVStream* st = fmt_->streams[i];
        if (videoStream_ < 0 && IsMainVideo(st)) videoStream_ = int(i);
        if (audioStream_ < 0 && st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
            st->codecpar->codec_id != AV_CODEC_ID_NONE)
            audioStream_ = int(i);
    }
    if (videoStream_ < 0 && audioStream_ < 0) {
        Fail("No audio or video stream found");
        CloseMediaFile();
        return false;
    }
    fileSize_ = fmt_->pb ? avio_size(fmt_->pb) : -1;
    if (fileSize_ < 0) fileSize_ = fi.size();
    return true;
}

void TMediaDecoder::CloseMediaFile() {
    if (video_) avcodec_free_context(&video_);
    videoDecoderStream_ = -1;
    videoDrained_ = false;
    if (frame_) av_frame_free(&frame_);
    haveFrame_ = false;
    if (packet_) av_packet_free(&packet_);
    if (fmt_) avformat_close_input(&fmt_);
    videoStream_ = audioStream_ = -1;
    fileSize_ = 0;
}

bool TMediaDecoder::QueryFileInfo(TMediaFileInfo& info) {
    info = TMediaFileInfo{};
    if (!fmt_) return Fail("No media file is open");
    info.startTime = fmt_->start_time == AV_NOPTS_VALUE ? kNoValue : fmt_->start_time;
    info.duration = fmt_->duration == AV_NOPTS_VALUE ? kNoValue : fmt_->duration;
    info.bitRate = fmt_->bit_rate;
    info.formatName = fmt_->iformat ? QString::fromUtf8(fmt_->iformat->name) : QString();
    return true;
}

bool TMediaDecoder::QueryVideoStream(int stream, TVideoStreamInfo& info) {
    info = TVideoStreamInfo{};
    if (!fmt_) return Fail("No media file is open");
    if (stream < 0 || unsigned(stream) >= fmt_->nb_streams ||
        fmt_->streams[stream]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return Fail(QStringLiteral("Stream %1 is not a video stream").arg(stream));
    AVStream* st = fmt_->streams[stream];
    const AVCodecParameters* par = st->codecpar;
    info.codecName = QString::fromUtf8(avcodec_get_name(par->codec_id));
    info.bitRate = std::max<int64_t>(par->bit_rate, 0);
    info.width = std::max(par->width, 0);
    info.height = std::max(par->height, 0);
    AVRational sar = av_guess_sample_aspect_ratio(fmt_, st, nullptr);
    if (sar.num <= 0 || sar.den <= 0) sar = AVRational{1, 1};
    if (info.width > 0 && info.height > 0)
        info.displayAspectRatio = double(info.width) * sar.num / (double(info.height) * sar.den);
    AVRational rate = st->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = st->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
        info.frameRateNum = rate.num;
        info.frameRateDen = rate.den;
    }
    return true;
}

bool TMediaDecoder::QueryAudioStream(int stream, TAudioStreamInfo& info) {
    info = TAudioStreamInfo{};
    if (!fmt_) return Fail("No media file is open");
    if (stream < 0 || unsigned(stream) >= fmt_->nb_streams ||
        fmt_->streams[stream]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
        return Fail(QStringLiteral("Stream %1 is not an audio stream").arg(stream));
    const AVCodecParameters* par = fmt_->streams[stream]->codecpar;
    info.codecName = QString::fromUtf8(avcodec_get_name(par->codec_id));
    info.bitRate = std::max<int64_t>(par->bit_rate, 0);
    info.sampleRate = std::max(par->sample_rate, 0);
    info.channels = std::max(par->ch_layout.nb_channels, 0);
    return true;
}

bool TMediaDecoder::SeekPosition(int64_t position) {
    if (!fmt_) return Fail("No media file is open");
    if (position < 0) position = 0;
    int64_t target = position;
    if (fmt_->start_time != AV_NOPTS_VALUE && fmt_->start_time > 0 &&
        target <= std::numeric_limits<int64_t>::max() - fmt_->start_time)
        target += fmt_->start_time;
    int err = av_seek_frame(fmt_, -1, target, AVSEEK_FLAG_BACKWARD);
    if (err < 0) err = avformat_seek_file(fmt_, -1, std::numeric_limits<int64_t>::min(), target,
                                          std::numeric_limits<int64_t>::max(), 0);
    if (video_) avcodec_flush_buffers(video_);
    videoDrained_ = false;
    haveFrame_ = false;
    if (err < 0) return FailAv("Cannot seek", err);
    return true;
}

bool TMediaDecoder::OpenVideoDecoder(int stream) {
    if (video_ && videoDecoderStream_ == stream) return true;
    if (video_) avcodec_free_context(&video_);
    videoDecoderStream_ = -1;
    videoDrained_ = false;
    const AVCodecParameters* par = fmt_->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return Fail("No decoder for the video codec \"" +
                    QString::fromUtf8(avcodec_get_name(par->codec_id)) + "\"");
    video_ = avcodec_alloc_context3(codec);
    if (!video_) return Fail("Out of memory");
    int err = avcodec_parameters_to_context(video_, par);
    if (err >= 0) {
        video_->thread_count = 1;  // one picture: no latency from frame threads
        video_->pkt_timebase = fmt_->streams[stream]->time_base;
        err = avcodec_open2(video_, codec, nullptr);
    }
    if (err < 0) {
        avcodec_free_context(&video_);
        return FailAv("Cannot open the video decoder", err);
    }
    videoDecoderStream_ = stream;
    if (!frame_) frame_ = av_frame_alloc();
    if (!packet_) packet_ = av_packet_alloc();
    if (!frame_ || !packet_) return Fail("Out of memory");
    return true;
}

bool TMediaDecoder::DecodeVideoFrame(int stream) {
    haveFrame_ = false;
    if (!fmt_) return Fail("No media file is open");
    if (stream < 0 || unsigned(stream) >= fmt_->nb_streams ||
        fmt_->streams[stream]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return Fail(QStringLiteral("Stream %1 is not a video stream").arg(stream));
    if (!OpenVideoDecoder(stream)) return false;

    auto receive = [&]() {
        const int r = avcodec_receive_frame(video_, frame_);
        if (r >= 0 && frame_->width > 0 && frame_->height > 0) {
            haveFrame_ = true;
            return true;
        }
        if (r >= 0) av_frame_unref(frame_);
        return false;
    };
    if (receive()) return true;  // a frame left over from the last packet

    int videoPackets = 0;
    for (int packets = 0; !videoDrained_ && packets < kMaxPackets; ++packets) {
        const int err = av_read_frame(fmt_, packet_);
        if (err < 0) break;  // end of file or a read error: drain below
        if (packet_->stream_index != stream) {
            av_packet_unref(packet_);
            continue;
        }
        // Broken packets are skipped; the next one may decode.
        avcodec_send_packet(video_, packet_);
        av_packet_unref(packet_);
        if (receive()) return true;
        if (++videoPackets >= kMaxVideoPackets)
            return Fail("No picture could be decoded from the video stream");
    }
    if (!videoDrained_) {
        avcodec_send_packet(video_, nullptr);  // end of stream: flush held pictures
        videoDrained_ = true;
    }
    if (receive()) return true;
    return Fail("No picture could be decoded from the video stream");
}

bool TMediaDecoder::FrameToBitmap(QImage& bitmap, int maxWidth, int maxHeight) {
    if (!haveFrame_ || !frame_) return Fail("No decoded picture");
    const int w = frame_->width, h = frame_->height;
    const auto src = AVPixelFormat(frame_->format);
    if (w <= 0 || h <= 0 || src == AV_PIX_FMT_NONE || !sws_isSupportedInput(src))
        return Fail("The decoded picture has an unsupported format");
    // Shown size: stretch the width by the pixel aspect, then fit the box.
    AVRational sar = frame_->sample_aspect_ratio;
    if ((sar.num <= 0 || sar.den <= 0) && videoDecoderStream_ >= 0)
        sar = av_guess_sample_aspect_ratio(fmt_, fmt_->streams[videoDecoderStream_], frame_);
    double shownW = w;
    if (sar.num > 0 && sar.den > 0) shownW = double(w) * sar.num / sar.den;
    double scale = 1.0;
    if (maxWidth > 0) scale = std::min(scale, maxWidth / shownW);
    if (maxHeight > 0) scale = std::min(scale, double(maxHeight) / h);
    const int tw = std::clamp(int(std::lround(shownW * scale)), 1, 16384);
    const int th = std::clamp(int(std::lround(h * scale)), 1, 16384);

    sws_ = sws_getCachedContext(sws_, w, h, src, tw, th, AV_PIX_FMT_RGB32, SWS_BICUBIC,
                                nullptr, nullptr, nullptr);
    if (!sws_) return Fail("Cannot convert the decoded picture");
    QImage image(tw, th, QImage::Format_RGB32);
    if (image.isNull()) return Fail("Out of memory");
    uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    const int rows = sws_scale(sws_, frame_->data, frame_->linesize, 0, h, dst, dstStride);
    if (rows <= 0) return Fail("Cannot convert the decoded picture");
    bitmap = image;
    return true;
}

}  // namespace rc
