#include "Transcoder.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "encoder/CodecOptions.h"
#include "formats/Presets.h"

namespace rc {

namespace {

QString AvError(int e) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(e, buf, sizeof buf);
    return QString::fromUtf8(buf);
}

struct TTarget {
    const char* Format;
    const char* VideoCodec;
    const char* AudioCodec;
    int Width, Height;  // for the norm
    AVRational Rate;
    int Gop, VideoBitrate, MaxRate, MinRate, BufferSize, AudioBitrate, SampleRate, PacketSize, MuxRate;
};

// The vcd, svcd and dvd presets of the command-line tool.
TTarget TargetFor(int type, int norm) {
    const bool pal = norm != NormNTSC;
    const AVRational rate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
    const int gop = pal ? 15 : 18;
    switch (type) {
    case TargetVCD:
        return {"vcd", "mpeg1video", "mp2", 352, pal ? 288 : 240, rate, gop, 1150000, 1150000, 1150000,
                40 * 1024 * 8, 224000, 44100, 2324, 1411200};
    case TargetSVCD:
        return {"svcd", "mpeg2video", "mp2", 480, pal ? 576 : 480, rate, gop, 2040000, 2516000, 0,
                224 * 1024 * 8, 224000, 44100, 2324, 0};
    default:
        return {"dvd", "mpeg2video", "ac3", 720, pal ? 576 : 480, rate, gop, 6000000, 9000000, 0, 1835008,
                448000, 48000, 2048, 10080000};
    }
}

struct TInput {
    AVFormatContext* Fmt = nullptr;
    int VideoStream = -1, AudioStream = -1;
    AVCodecContext* VideoDec = nullptr;
    AVCodecContext* AudioDec = nullptr;
    int64_t Start = 0;     // microseconds
    int64_t Duration = 0;  // microseconds, 0 when unknown
    ~TInput() {
        avcodec_free_context(&VideoDec);
        avcodec_free_context(&AudioDec);
        avformat_close_input(&Fmt);
    }
};

struct TGraph {
    AVFilterGraph* Graph = nullptr;
    AVFilterContext* Src = nullptr;
    AVFilterContext* Sink = nullptr;
    ~TGraph() { avfilter_graph_free(&Graph); }
};

struct TOutStream {
    AVCodecContext* Enc = nullptr;
    AVStream* St = nullptr;
    int64_t NextPts = 0;   // in the encoder's time base
    int64_t LastPts = AV_NOPTS_VALUE;
    ~TOutStream() { avcodec_free_context(&Enc); }
};

class TJob {
public:
    explicit TJob(const TTranscodeJob& j) : job_(j) {}
    ~TJob() {
        if (oc_) {
            if (oc_->pb && !(oc_->oformat->flags & AVFMT_NOFILE)) avio_closep(&oc_->pb);
            avformat_free_context(oc_);
        }
        av_frame_free(&frame_);
        av_frame_free(&filtered_);
        av_packet_free(&pkt_);
        av_packet_free(&outPkt_);
        sws_freeContext(previewSws_);
    }
    bool Run(QString* error);

private:
    bool Fail(const QString& text) {
        error_ = text;
        return false;
    }
    bool FailAv(const QString& what, int e) { return Fail(what + ": " + AvError(e)); }
    void Note(const QString& t) const {
        if (job_.Note) job_.Note(t);
    }
    bool Stopped() const { return job_.Stop && job_.Stop->load(); }
    bool OpenInputs();
    bool OpenOutput();
    bool SetUpVideo(const AVCodec* codec, const TInput& first);
    bool SetUpAudio(const AVCodec* codec, const TInput& first);
    void ApplyOptions();
    bool BuildVideoGraph(TInput& in, TGraph& g);
    bool BuildAudioGraph(TInput& in, TGraph& g);
    bool Decode(AVCodecContext* dec, const AVPacket* pkt, TGraph& g, bool video, const TInput& in);
    bool Drain(TGraph& g, bool video);
    bool Encode(TOutStream& s, AVFrame* f);
    void ReportProgress(int64_t position);
    void PreviewFrame(const AVFrame* f);
    SwsContext* previewSws_ = nullptr;
    std::chrono::steady_clock::time_point lastPreview_{};

    const TTranscodeJob& job_;
    QString error_;
    std::vector<std::unique_ptr<TInput>> inputs_;
    AVFormatContext* oc_ = nullptr;
    std::unique_ptr<TOutStream> video_, audio_;
    bool target_ = false;
    TTarget tgt_{};
    AVRational rate_{25, 1};
    AVPixelFormat pixFmt_ = AV_PIX_FMT_YUV420P;
    AVSampleFormat sampleFmt_ = AV_SAMPLE_FMT_FLTP;
    int64_t offset_ = 0;  // microseconds: where the current input starts in the output
    int64_t total_ = 0;
    AVFrame* frame_ = av_frame_alloc();
    AVFrame* filtered_ = av_frame_alloc();
    AVPacket* pkt_ = av_packet_alloc();
    AVPacket* outPkt_ = av_packet_alloc();
};

const AVCodec* FindEncoder(const QString& name) {
    const QString resolved = ResolveEncoderName(name);
    return resolved.isEmpty() ? nullptr : avcodec_find_encoder_by_name(resolved.toUtf8().constData());
}

bool TJob::OpenInputs() {
    for (const TInputOptions& io : job_.Inputs) {
        auto in = std::make_unique<TInput>();
        const AVInputFormat* ifmt = nullptr;
        if (!io.FormatName.isEmpty()) ifmt = av_find_input_format(io.FormatName.toUtf8().constData());
        int e = avformat_open_input(&in->Fmt, io.FileName.toUtf8().constData(), ifmt, nullptr);
        if (e < 0) return FailAv(io.FileName, e);
        if ((e = avformat_find_stream_info(in->Fmt, nullptr)) < 0) return FailAv(io.FileName, e);
        for (unsigned i = 0; i < in->Fmt->nb_streams; ++i) {
            const AVStream* st = in->Fmt->streams[i];
            const auto type = st->codecpar->codec_type;
            if (type == AVMEDIA_TYPE_VIDEO && in->VideoStream < 0 && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
                in->VideoStream = int(i);
            if (type == AVMEDIA_TYPE_AUDIO && in->AudioStream < 0) in->AudioStream = int(i);
        }
        auto openDec = [&](int stream, AVCodecContext*& dec) -> bool {
            if (stream < 0) return true;
            const AVCodecParameters* par = in->Fmt->streams[stream]->codecpar;
            const AVCodec* codec = avcodec_find_decoder(par->codec_id);
            if (!codec) return Fail(io.FileName + ": no decoder for " + avcodec_get_name(par->codec_id));
            dec = avcodec_alloc_context3(codec);
            avcodec_parameters_to_context(dec, par);
            dec->pkt_timebase = in->Fmt->streams[stream]->time_base;
            av_opt_set(dec, "threads", "auto", 0);
            const int r = avcodec_open2(dec, codec, nullptr);
            return r < 0 ? FailAv(io.FileName, r) : true;
        };
        if (!openDec(in->VideoStream, in->VideoDec) || !openDec(in->AudioStream, in->AudioDec)) return false;
        if (in->VideoStream < 0 && in->AudioStream < 0) return Fail(io.FileName + ": no audio or video stream");
        in->Start = in->Fmt->start_time == AV_NOPTS_VALUE ? 0 : in->Fmt->start_time;
        in->Duration = in->Fmt->duration > 0 ? in->Fmt->duration : 0;
        total_ += in->Duration;
        inputs_.push_back(std::move(in));
    }
    return !inputs_.empty() || Fail("No input files");
}

bool TJob::SetUpVideo(const AVCodec* codec, const TInput& first) {
    const TOutputOptions& o = job_.Output;
    video_ = std::make_unique<TOutStream>();
    AVCodecContext* c = video_->Enc = avcodec_alloc_context3(codec);
    const AVCodecContext* dec = first.VideoDec;
    int w = dec ? dec->width : 320, h = dec ? dec->height : 240;
    if (target_) w = tgt_.Width, h = tgt_.Height;
    if (!o.FrameSize.isEmpty() && av_parse_video_size(&w, &h, o.FrameSize.toUtf8().constData()) < 0)
        return Fail("Invalid frame size: " + o.FrameSize);
    c->width = w;
    c->height = h;
    // Frame rate: the option, the target's, or the input's.
    AVRational rate{0, 0};
    if (!o.FrameRate.isEmpty()) {
        if (av_parse_video_rate(&rate, o.FrameRate.toUtf8().constData()) < 0)
            return Fail("Invalid frame rate: " + o.FrameRate);
    } else if (target_) {
        rate = tgt_.Rate;
    } else if (dec) {
        const AVStream* st = first.Fmt->streams[first.VideoStream];
        rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    }
    if (rate.num <= 0 || rate.den <= 0) rate = {25, 1};
    if (codec->supported_framerates) {
        const int idx = av_find_nearest_q_idx(rate, codec->supported_framerates);
        rate = codec->supported_framerates[idx];
    }
    if (codec->id == AV_CODEC_ID_MPEG4 && rate.den > 65535) rate = av_d2q(av_q2d(rate), 65535);
    rate_ = rate;
    c->framerate = rate;
    c->time_base = av_inv_q(rate);
    // Pixel format: the best the encoder takes for the input's.
    const AVPixelFormat inFmt = dec ? dec->pix_fmt : AV_PIX_FMT_YUV420P;
    pixFmt_ = inFmt;
    if (codec->pix_fmts) {
        std::vector<AVPixelFormat> list;
        for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p) {
            // Motion JPEG takes full-range YUV only, as the command line requires.
            if (codec->id == AV_CODEC_ID_MJPEG && *p != AV_PIX_FMT_YUVJ420P && *p != AV_PIX_FMT_YUVJ422P &&
                *p != AV_PIX_FMT_YUVJ444P)
                continue;
            list.push_back(*p);
        }
        if (list.empty()) list.push_back(codec->pix_fmts[0]);
        list.push_back(AV_PIX_FMT_NONE);
        pixFmt_ = avcodec_find_best_pix_fmt_of_list(list.data(), inFmt, 0, nullptr);
    }
    if (pixFmt_ == AV_PIX_FMT_NONE) pixFmt_ = AV_PIX_FMT_YUV420P;
    c->pix_fmt = pixFmt_;
    // Display aspect: the option, else the input's kept through scaling.
    AVRational sar{1, 1};
    if (!o.AspectRatio.isEmpty()) {
        AVRational dar{0, 1};
        if (av_parse_ratio(&dar, o.AspectRatio.toUtf8().constData(), 255, 0, nullptr) < 0 || dar.num <= 0)
            return Fail("Invalid aspect ratio: " + o.AspectRatio);
        sar = av_mul_q(dar, AVRational{h, w});
    } else if (dec && dec->width > 0 && dec->height > 0) {
        AVRational in = dec->sample_aspect_ratio.num > 0 ? dec->sample_aspect_ratio : AVRational{1, 1};
        sar = av_mul_q(in, AVRational{h * dec->width, w * dec->height});
    }
    av_reduce(&sar.num, &sar.den, sar.num, sar.den, 255);
    c->sample_aspect_ratio = sar;
    if (target_) {
        c->bit_rate = tgt_.VideoBitrate;
        c->rc_max_rate = tgt_.MaxRate;
        c->rc_min_rate = tgt_.MinRate;
        c->rc_buffer_size = tgt_.BufferSize;
        c->gop_size = tgt_.Gop;
    } else if (o.VideoBitrate > 0) {
        c->bit_rate = o.VideoBitrate;
    }
    if (o.VideoMaxRate > 0) c->rc_max_rate = o.VideoMaxRate;
    if (o.VideoMinRate > 0) c->rc_min_rate = o.VideoMinRate;
    if (o.VideoBufferSize > 0) c->rc_buffer_size = o.VideoBufferSize;
    if (c->rc_max_rate > 0 && c->rc_buffer_size > 0) c->rc_initial_buffer_occupancy = c->rc_buffer_size * 3 / 4;
    if (target_ && tgt_.Format == QLatin1String("svcd")) av_opt_set(c, "scan_offset", "1", AV_OPT_SEARCH_CHILDREN);
    return true;
}

bool TJob::SetUpAudio(const AVCodec* codec, const TInput& first) {
    const TOutputOptions& o = job_.Output;
    audio_ = std::make_unique<TOutStream>();
    AVCodecContext* c = audio_->Enc = avcodec_alloc_context3(codec);
    const AVCodecContext* dec = first.AudioDec;
    int rate = dec ? dec->sample_rate : 44100;
    if (target_) rate = tgt_.SampleRate;
    if (o.AudioSampleRate > 0) rate = o.AudioSampleRate;
    if (codec->supported_samplerates) {
        int best = codec->supported_samplerates[0];
        for (const int* r = codec->supported_samplerates; *r; ++r)
            if (std::abs(*r - rate) < std::abs(best - rate)) best = *r;
        if (best != rate)
            Note(QStringLiteral("Sample rate %1 Hz is not supported by encoder %2; using %3 Hz.")
                     .arg(rate).arg(QString::fromLatin1(codec->name)).arg(best));
        rate = best;
    }
    c->sample_rate = rate;
    int channels = dec ? dec->ch_layout.nb_channels : 2;
    if (target_) channels = 2;
    if (o.AudioChannels > 0) channels = o.AudioChannels;
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    if (codec->ch_layouts) {
        const AVChannelLayout* best = nullptr;
        for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l) {
            if (!av_channel_layout_compare(l, &layout)) { best = l; break; }
            if (!best || std::abs(l->nb_channels - channels) < std::abs(best->nb_channels - channels)) best = l;
        }
        if (best && av_channel_layout_compare(best, &layout)) {
            Note(QStringLiteral("%1 channels are not supported by encoder %2; using %3.")
                     .arg(channels).arg(QString::fromLatin1(codec->name)).arg(best->nb_channels));
            av_channel_layout_uninit(&layout);
            av_channel_layout_copy(&layout, best);
        }
    }
    av_channel_layout_copy(&c->ch_layout, &layout);
    av_channel_layout_uninit(&layout);
    // Sample format: the input's when the encoder takes it, else its first.
    sampleFmt_ = dec ? dec->sample_fmt : AV_SAMPLE_FMT_S16;
    if (codec->sample_fmts) {
        bool found = false;
        for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) found |= *f == sampleFmt_;
        if (!found) sampleFmt_ = codec->sample_fmts[0];
    }
    c->sample_fmt = sampleFmt_;
    c->time_base = {1, rate};
    if (target_ && (QLatin1String(codec->name) == QLatin1String(tgt_.AudioCodec) || o.AudioBitrate <= 0))
        c->bit_rate = tgt_.AudioBitrate;
    else if (o.AudioBitrate > 0)
        c->bit_rate = o.AudioBitrate;  // the target's rate is for another encoder (dvd: ac3 at 448 kbps)
    return true;
}

void TJob::ApplyOptions() {
    const TOutputOptions& o = job_.Output;
    std::vector<TCodecOption> opts;
    if (o.VideoPreset == "libx264-default") {
        auto preset = ParseOptionList(Libx264DefaultOptions(), ScopeVideo);
        opts.insert(opts.end(), preset.begin(), preset.end());
    } else if (!o.VideoPreset.isEmpty()) {
        Note("Video preset skipped: " + o.VideoPreset);
    }
    auto extra = ParseOptionLines(o.ExtraOptions);
    opts.insert(opts.end(), extra.begin(), extra.end());
    for (const TCodecOption& opt : TranslateOptions(opts)) {
        bool known = false;
        const QByteArray name = opt.Name.toUtf8(), value = opt.Value.toUtf8();
        for (TOutStream* s : {video_.get(), audio_.get()}) {
            if (!s) continue;
            if (opt.Scope == ScopeVideo && s != video_.get()) continue;
            if (opt.Scope == ScopeAudio && s != audio_.get()) continue;
            if (!av_opt_find(s->Enc, name.constData(), nullptr, 0, AV_OPT_SEARCH_CHILDREN)) continue;
            known = true;
            const int e = av_opt_set(s->Enc, name.constData(), value.constData(), AV_OPT_SEARCH_CHILDREN);
            if (e < 0)
                Note(QStringLiteral("Option %1=%2 rejected by encoder %3: %4")
                         .arg(opt.Name, opt.Value, QString::fromLatin1(s->Enc->codec->name), AvError(e)));
        }
        if (!known) Note(QStringLiteral("Option %1=%2 skipped: no encoder of the output takes it.").arg(opt.Name, opt.Value));
    }
}

bool TJob::OpenOutput() {
    const TOutputOptions& o = job_.Output;
    target_ = o.TargetType >= TargetVCD && o.TargetType <= TargetDVD;
    if (target_) {
        int norm = o.TargetNorm;
        if (norm == NormAuto) {
            // Guessed from the first video's frame rate, as the command line does.
            norm = NormPAL;
            for (const auto& in : inputs_)
                if (in->VideoStream >= 0) {
                    const double fps = av_q2d(in->Fmt->streams[in->VideoStream]->avg_frame_rate);
                    if (std::abs(fps - 29.97) < 0.1 || std::abs(fps - 23.976) < 0.1 || std::abs(fps - 30) < 0.1)
                        norm = NormNTSC;
                    break;
                }
        }
        tgt_ = TargetFor(o.TargetType, norm);
    }
    const QByteArray path = job_.OutputPath.toUtf8();
    QByteArray format = o.FormatName.toUtf8();
    if (target_ && format.isEmpty()) format = tgt_.Format;
    int e = avformat_alloc_output_context2(&oc_, nullptr, format.isEmpty() ? nullptr : format.constData(), path.constData());
    if (e < 0 || !oc_) return Fail("Cannot find an output format for " + job_.OutputPath);
    const AVOutputFormat* of = oc_->oformat;

    const TInput* firstVideo = nullptr;
    const TInput* firstAudio = nullptr;
    for (const auto& in : inputs_) {
        if (!firstVideo && in->VideoStream >= 0) firstVideo = in.get();
        if (!firstAudio && in->AudioStream >= 0) firstAudio = in.get();
    }
    auto pick = [&](const QString& named, const char* targetCodec, AVMediaType type) -> const AVCodec* {
        if (!named.isEmpty()) return FindEncoder(named);
        if (target_) return FindEncoder(targetCodec);
        const AVCodecID id = av_guess_codec(of, nullptr, path.constData(), nullptr, type);
        return id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_encoder(id);
    };
    if (firstVideo && !o.DisableVideo) {
        const bool wanted = !o.VideoCodec.isEmpty() || target_ || of->video_codec != AV_CODEC_ID_NONE;
        if (wanted) {
            const AVCodec* codec = pick(o.VideoCodec, tgt_.VideoCodec, AVMEDIA_TYPE_VIDEO);
            if (!codec) return Fail("Video encoder not found: " + (o.VideoCodec.isEmpty() ? QString(avcodec_get_name(of->video_codec)) : o.VideoCodec));
            if (!SetUpVideo(codec, *firstVideo)) return false;
        }
    }
    if (firstAudio) {
        const bool wanted = !o.AudioCodec.isEmpty() || target_ || of->audio_codec != AV_CODEC_ID_NONE;
        if (wanted) {
            QString named = o.AudioCodec;
            const AVCodec* codec = pick(named, tgt_.AudioCodec, AVMEDIA_TYPE_AUDIO);
            if (!codec) return Fail("Audio encoder not found: " + (named.isEmpty() ? QString(avcodec_get_name(of->audio_codec)) : named));
            if (!SetUpAudio(codec, *firstAudio)) return false;
        }
    }
    if (!video_ && !audio_) return Fail("The output would have no streams");
    ApplyOptions();
    for (TOutStream* s : {video_.get(), audio_.get()}) {
        if (!s) continue;
        if (of->flags & AVFMT_GLOBALHEADER) s->Enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        const AVCodec* codec = s->Enc->codec;
        if ((e = avcodec_open2(s->Enc, codec, nullptr)) < 0)
            return FailAv(QStringLiteral("Cannot open encoder %1").arg(QLatin1String(codec->name)), e);
        s->St = avformat_new_stream(oc_, nullptr);
        avcodec_parameters_from_context(s->St->codecpar, s->Enc);
        s->St->time_base = s->Enc->time_base;
        if (s == video_.get()) {
            s->St->sample_aspect_ratio = s->Enc->sample_aspect_ratio;
            s->St->avg_frame_rate = rate_;
            s->St->r_frame_rate = rate_;
            if (o.VideoTag.size() == 4) {
                const QByteArray t = o.VideoTag.toLatin1();
                s->St->codecpar->codec_tag = MKTAG(t[0], t[1], t[2], t[3]);
            }
        }
    }
    if (target_) {
        av_opt_set_int(oc_, "packetsize", tgt_.PacketSize, AV_OPT_SEARCH_CHILDREN);
        if (tgt_.MuxRate > 0) av_opt_set_int(oc_, "muxrate", tgt_.MuxRate, AV_OPT_SEARCH_CHILDREN);
    }
    oc_->max_delay = int(0.7 * AV_TIME_BASE);
    if (!(of->flags & AVFMT_NOFILE) && (e = avio_open(&oc_->pb, path.constData(), AVIO_FLAG_WRITE)) < 0)
        return FailAv(job_.OutputPath, e);
    if ((e = avformat_write_header(oc_, nullptr)) < 0) return FailAv("Cannot write the header of " + job_.OutputPath, e);
    return true;
}

bool TJob::BuildVideoGraph(TInput& in, TGraph& g) {
    const AVCodecContext* d = in.VideoDec;
    const AVStream* st = in.Fmt->streams[in.VideoStream];
    g.Graph = avfilter_graph_alloc();
    const AVRational sar = d->sample_aspect_ratio.num > 0 ? d->sample_aspect_ratio : AVRational{1, 1};
    const QString src = QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=%4/%5:pixel_aspect=%6/%7")
                            .arg(d->width).arg(d->height).arg(int(d->pix_fmt)).arg(st->time_base.num)
                            .arg(st->time_base.den).arg(sar.num).arg(sar.den);
    int e = avfilter_graph_create_filter(&g.Src, avfilter_get_by_name("buffer"), "in", src.toUtf8().constData(), nullptr, g.Graph);
    if (e < 0) return FailAv("Video filter", e);
    if ((e = avfilter_graph_create_filter(&g.Sink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, g.Graph)) < 0)
        return FailAv("Video filter", e);
    const QString chain = QStringLiteral("scale=%1:%2:flags=bicubic,fps=fps=%3/%4,format=pix_fmts=%5")
                              .arg(video_->Enc->width).arg(video_->Enc->height).arg(rate_.num).arg(rate_.den)
                              .arg(av_get_pix_fmt_name(pixFmt_));
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = g.Src;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = g.Sink;
    e = avfilter_graph_parse_ptr(g.Graph, chain.toUtf8().constData(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (e < 0 || (e = avfilter_graph_config(g.Graph, nullptr)) < 0) return FailAv("Video filter", e);
    return true;
}

bool TJob::BuildAudioGraph(TInput& in, TGraph& g) {
    const AVCodecContext* d = in.AudioDec;
    const AVCodecContext* c = audio_->Enc;
    g.Graph = avfilter_graph_alloc();
    AVChannelLayout inLayout{};
    if (d->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&inLayout, d->ch_layout.nb_channels);
    else av_channel_layout_copy(&inLayout, &d->ch_layout);
    char inName[128] = {}, outName[128] = {};
    av_channel_layout_describe(&inLayout, inName, sizeof inName);
    av_channel_layout_describe(&c->ch_layout, outName, sizeof outName);
    av_channel_layout_uninit(&inLayout);
    const QString src = QStringLiteral("time_base=1/%1:sample_rate=%1:sample_fmt=%2:channel_layout=%3")
                            .arg(d->sample_rate).arg(av_get_sample_fmt_name(d->sample_fmt)).arg(inName);
    int e = avfilter_graph_create_filter(&g.Src, avfilter_get_by_name("abuffer"), "in", src.toUtf8().constData(), nullptr, g.Graph);
    if (e < 0) return FailAv("Audio filter", e);
    if ((e = avfilter_graph_create_filter(&g.Sink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr, g.Graph)) < 0)
        return FailAv("Audio filter", e);
    const QString chain = QStringLiteral("aresample=%1,aformat=sample_fmts=%2:channel_layouts=%3")
                              .arg(c->sample_rate).arg(av_get_sample_fmt_name(sampleFmt_)).arg(outName);
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = g.Src;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = g.Sink;
    e = avfilter_graph_parse_ptr(g.Graph, chain.toUtf8().constData(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (e < 0 || (e = avfilter_graph_config(g.Graph, nullptr)) < 0) return FailAv("Audio filter", e);
    if (!(c->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && c->frame_size > 0)
        av_buffersink_set_frame_size(g.Sink, unsigned(c->frame_size));
    return true;
}

void TJob::PreviewFrame(const AVFrame* f) {
    if (!job_.Preview || !job_.Preview->load() || !job_.Frame) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPreview_ < std::chrono::milliseconds(500)) return;
    lastPreview_ = now;
    QImage img(f->width, f->height, QImage::Format_RGB32);
    previewSws_ = sws_getCachedContext(previewSws_, f->width, f->height, AVPixelFormat(f->format), f->width, f->height,
                                       AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!previewSws_) return;
    uint8_t* dst[4] = {img.bits(), nullptr, nullptr, nullptr};
    int stride[4] = {int(img.bytesPerLine()), 0, 0, 0};
    sws_scale(previewSws_, f->data, f->linesize, 0, f->height, dst, stride);
    job_.Frame(img);
}

void TJob::ReportProgress(int64_t position) {
    if (job_.Progress) job_.Progress(position, total_);
}

bool TJob::Encode(TOutStream& s, AVFrame* f) {
    int e = avcodec_send_frame(s.Enc, f);
    if (e < 0 && e != AVERROR_EOF) return FailAv("Encoding", e);
    for (;;) {
        e = avcodec_receive_packet(s.Enc, outPkt_);
        if (e == AVERROR(EAGAIN) || e == AVERROR_EOF) return true;
        if (e < 0) return FailAv("Encoding", e);
        outPkt_->stream_index = s.St->index;
        av_packet_rescale_ts(outPkt_, s.Enc->time_base, s.St->time_base);
        if ((e = av_interleaved_write_frame(oc_, outPkt_)) < 0) return FailAv("Writing", e);
    }
}

bool TJob::Drain(TGraph& g, bool video) {
    TOutStream& s = video ? *video_ : *audio_;
    for (;;) {
        int e = av_buffersink_get_frame(g.Sink, filtered_);
        if (e == AVERROR(EAGAIN) || e == AVERROR_EOF) return true;
        if (e < 0) return FailAv("Filtering", e);
        const AVRational sinkTb = av_buffersink_get_time_base(g.Sink);
        int64_t pts;
        if (video) {
            const int64_t base = av_rescale_q(offset_, AV_TIME_BASE_Q, s.Enc->time_base);
            pts = filtered_->pts == AV_NOPTS_VALUE ? s.NextPts : base + av_rescale_q(filtered_->pts, sinkTb, s.Enc->time_base);
            filtered_->sample_aspect_ratio = s.Enc->sample_aspect_ratio;
            PreviewFrame(filtered_);
            filtered_->pict_type = AV_PICTURE_TYPE_NONE;
        } else {
            // Audio runs on without gaps; a new input starts where the output is.
            const int64_t base = av_rescale_q(offset_, AV_TIME_BASE_Q, s.Enc->time_base);
            pts = std::max(s.NextPts, base);
        }
        if (s.LastPts != AV_NOPTS_VALUE && pts <= s.LastPts) pts = s.LastPts + 1;
        filtered_->pts = pts;
        s.LastPts = video ? pts : pts + filtered_->nb_samples - 1;
        s.NextPts = video ? pts + 1 : pts + filtered_->nb_samples;
        ReportProgress(av_rescale_q(s.NextPts, s.Enc->time_base, AV_TIME_BASE_Q));
        const bool ok = Encode(s, filtered_);
        av_frame_unref(filtered_);
        if (!ok) return false;
    }
}

bool TJob::Decode(AVCodecContext* dec, const AVPacket* pkt, TGraph& g, bool video, const TInput& in) {
    int e = avcodec_send_packet(dec, pkt);
    if (e < 0 && e != AVERROR_EOF) {
        Note("Decoding error: " + AvError(e));
        return true;  // a damaged packet is skipped, as the command line does
    }
    for (;;) {
        e = avcodec_receive_frame(dec, frame_);
        if (e == AVERROR(EAGAIN) || e == AVERROR_EOF) break;
        if (e < 0) {
            Note("Decoding error: " + AvError(e));
            break;
        }
        const AVStream* st = in.Fmt->streams[video ? in.VideoStream : in.AudioStream];
        int64_t ts = frame_->best_effort_timestamp;
        if (ts != AV_NOPTS_VALUE) {
            const int64_t start = av_rescale_q(in.Start, AV_TIME_BASE_Q, st->time_base);
            ts -= start;
            frame_->pts = video ? ts : av_rescale_q(ts, st->time_base, AVRational{1, dec->sample_rate});
        }
        if (video && (frame_->width != dec->width || frame_->height != dec->height)) {
            // A size change inside a stream: the scaler input is fixed, skip.
            av_frame_unref(frame_);
            continue;
        }
        e = av_buffersrc_add_frame_flags(g.Src, frame_, AV_BUFFERSRC_FLAG_KEEP_REF);
        av_frame_unref(frame_);
        if (e < 0) return FailAv("Filtering", e);
        if (!Drain(g, video)) return false;
    }
    return true;
}

bool TJob::Run(QString* error) {
    auto finish = [&](bool ok) {
        if (!ok && error) *error = error_.isEmpty() ? QStringLiteral("Conversion failed") : error_;
        return ok;
    };
    if (!OpenInputs() || !OpenOutput()) return finish(false);
    for (auto& inPtr : inputs_) {
        TInput& in = *inPtr;
        TGraph vg, ag;
        const bool useVideo = video_ && in.VideoStream >= 0;
        const bool useAudio = audio_ && in.AudioStream >= 0;
        if (useVideo && !BuildVideoGraph(in, vg)) return finish(false);
        if (useAudio && !BuildAudioGraph(in, ag)) return finish(false);
        for (;;) {
            if (Stopped()) return finish(Fail("Stopped"));
            int e = av_read_frame(in.Fmt, pkt_);
            if (e == AVERROR_EOF) break;
            if (e < 0) {
                Note("Read error: " + AvError(e));
                break;
            }
            bool ok = true;
            if (useVideo && pkt_->stream_index == in.VideoStream) ok = Decode(in.VideoDec, pkt_, vg, true, in);
            else if (useAudio && pkt_->stream_index == in.AudioStream) ok = Decode(in.AudioDec, pkt_, ag, false, in);
            av_packet_unref(pkt_);
            if (!ok) return finish(false);
        }
        if (useVideo && !Decode(in.VideoDec, nullptr, vg, true, in)) return finish(false);
        if (useAudio && !Decode(in.AudioDec, nullptr, ag, false, in)) return finish(false);
        if (useVideo && (av_buffersrc_add_frame(vg.Src, nullptr) < 0 || !Drain(vg, true))) return finish(false);
        if (useAudio && (av_buffersrc_add_frame(ag.Src, nullptr) < 0 || !Drain(ag, false))) return finish(false);
        // The next input starts after the longer of this one's streams.
        int64_t end = offset_ + in.Duration;
        if (video_) end = std::max(end, av_rescale_q(video_->NextPts, video_->Enc->time_base, AV_TIME_BASE_Q));
        if (audio_) end = std::max(end, av_rescale_q(audio_->NextPts, audio_->Enc->time_base, AV_TIME_BASE_Q));
        offset_ = end;
    }
    for (TOutStream* s : {video_.get(), audio_.get()})
        if (s && !Encode(*s, nullptr)) return finish(false);
    if (const int e = av_write_trailer(oc_); e < 0) return finish(FailAv("Cannot finish " + job_.OutputPath, e));
    if (!(oc_->oformat->flags & AVFMT_NOFILE) && avio_closep(&oc_->pb) < 0) return finish(Fail("Cannot close " + job_.OutputPath));
    ReportProgress(total_);
    return finish(true);
}

}  // namespace

bool ValidateOutput(const QString& path, const TOutputOptions& o, QString* error) {
    auto fail = [&](const QString& t) {
        if (error) *error = t;
        return false;
    };
    if (path.isEmpty()) return fail("No output file name");
    QByteArray format = o.FormatName.toUtf8();
    if (format.isEmpty() && o.TargetType >= TargetVCD && o.TargetType <= TargetDVD)
        format = TargetFor(o.TargetType, o.TargetNorm).Format;
    if (!av_guess_format(format.isEmpty() ? nullptr : format.constData(), path.toUtf8().constData(), nullptr))
        return fail("Cannot find an output format for " + path);
    if (!o.DisableVideo && !o.VideoCodec.isEmpty() && ResolveEncoderName(o.VideoCodec).isEmpty())
        return fail("Video encoder not found: " + o.VideoCodec);
    if (!o.AudioCodec.isEmpty() && ResolveEncoderName(o.AudioCodec).isEmpty())
        return fail("Audio encoder not found: " + o.AudioCodec);
    return true;
}

bool Transcode(const TTranscodeJob& job, QString* error) {
    bool ok;
    {
        TJob j(job);
        ok = j.Run(error);
    }  // the output is closed here
    if (!ok) QFile::remove(job.OutputPath);
    return ok;
}

}  // namespace rc
