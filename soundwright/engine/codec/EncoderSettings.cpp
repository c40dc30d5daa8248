#include "EncoderSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

#include "FFmpegUtil.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

namespace sw {

namespace {

// The MP3 presets, all constant bit rate, as their labels describe them.
// MPEG 2.5 covers 8000..12000 Hz, MPEG 2 16000..24000 Hz, MPEG 1 32000..48000 Hz.
//
//   preset  label                                      rate      kbps  mode
//   1       Phone Quality     MPEG 2.5, 16kbps, Mono    8000 Hz   16   mono
//   2       Shortwave Quality MPEG 2.5, 24kbps, Mono   11025 Hz   24   mono
//   3       AM Quality        MPEG 2, 32kbps, Mono     16000 Hz   32   mono
//   4       FM Quality        MPEG 2, 96kbps, Joint    22050 Hz   96   joint stereo
//   5       Voice Quality     MPEG 1, 64kbps, Mono     44100 Hz   64   mono
//   6       Radio Quality     MPEG 1, 112kbps, Joint   44100 Hz  112   joint stereo
//   7       Tape Quality      MPEG 1, 128kbps, Joint   44100 Hz  128   joint stereo
//   8       Hi-Fi Quality     MPEG 1, 160kbps, Joint   44100 Hz  160   joint stereo
//   9       CD Quality        MPEG 1, 192kbps, Stereo  44100 Hz  192   stereo
//   10      Studio Quality    MPEG 1, 256kbps, Stereo  44100 Hz  256   stereo
//   11      Super Quality!    MPEG 1, 320kbps, Stereo  44100 Hz  320   stereo
Mp3Setup PresetRow(int rate, int kbps, int channels, int mode) {
    Mp3Setup s;
    s.rate = rate;
    s.kbps = kbps;
    s.channels = channels;
    s.mode = mode;
    return s;
}

const Mp3Setup kMp3Presets[11] = {
    PresetRow(8000, 16, 1, MONO),          PresetRow(11025, 24, 1, MONO),
    PresetRow(16000, 32, 1, MONO),         PresetRow(22050, 96, 2, JOINT_STEREO),
    PresetRow(44100, 64, 1, MONO),         PresetRow(44100, 112, 2, JOINT_STEREO),
    PresetRow(44100, 128, 2, JOINT_STEREO), PresetRow(44100, 160, 2, JOINT_STEREO),
    PresetRow(44100, 192, 2, STEREO),      PresetRow(44100, 256, 2, STEREO),
    PresetRow(44100, 320, 2, STEREO),
};

// WMA profile codes and what their labels promise. wmav2 needs more bits per
// frame than 8 kbps gives at 8000 Hz mono; it is written with the lowest bit
// rate wmav2 takes there (24 kbps), which OpenWmaCodec finds by itself.
//
//   code  label                                   rate      kbps  channels
//   36    Phone Quality     8 kbps, 8,000 Hz       8000 Hz     8  1 (24 kbps written)
//   23    FM Quality        32 kbps, 22,050 Hz    22050 Hz    32  2
//   16    High Quality Mono 48 kbps, 44,100 Hz    44100 Hz    48  1
//   13    Radio Quality     64 kbps, 44,100 Hz    44100 Hz    64  2
//   11    Tape Quality      96 kbps, 44,100 Hz    44100 Hz    96  2
//   10    CD Quality        128 kbps, 44,100 Hz   44100 Hz   128  2
//   8     Studio Quality    192 kbps, 44,100 Hz   44100 Hz   192  2
struct WmaRow { int code, rate, kbps, channels; };
constexpr WmaRow kWmaProfiles[] = {
    {36, 8000, 8, 1},   {23, 22050, 32, 2}, {16, 44100, 48, 1}, {13, 44100, 64, 2},
    {11, 44100, 96, 2}, {10, 44100, 128, 2}, {8, 44100, 192, 2},
};

int LameMode(int stereoMode) {
    switch (stereoMode) {
    case 1: return STEREO;
    case 2: return JOINT_STEREO;
    case 4: return DUAL_CHANNEL;
    default: return JOINT_STEREO;
    }
}

bool TryVorbis(vorbis_info* vi, int channels, int rate, long bitRate) {
    vorbis_info_init(vi);
    if (vorbis_encode_init(vi, channels, rate, -1, bitRate, -1) == 0) return true;
    vorbis_info_clear(vi);
    return false;
}

}  // namespace

const Mp3Setup* Mp3Preset(int preset) {
    if (preset < 1 || preset > 11) return nullptr;
    return &kMp3Presets[preset - 1];
}

Mp3Setup ResolveMp3(const FileFormat& f) {
    if (!f.mp3.useLame) {
        Mp3Setup s;
        s.rate = f.mp3.rate > 0 ? f.mp3.rate : 44100;
        s.kbps = f.mp3.kbps;
        s.channels = f.mp3.channels == 1 ? 1 : 2;
        s.mode = s.channels == 1 ? MONO : -1;
        return s;
    }
    const LameEncParams& p = f.mp3.lame;
    // A preset number decides everything; an unknown one counts as none.
    if (const Mp3Setup* preset = Mp3Preset(p.Preset)) return *preset;
    Mp3Setup s;
    s.rate = 44100;
    s.channels = p.Channels == 1 ? 1 : 2;
    s.mode = s.channels == 1 ? MONO : LameMode(p.StereoMode);
    s.vbr = true;
    s.abr = p.VbrMethod == 4;
    s.kbps = p.AbrBitRate;
    s.vbrQuality = float(9 - std::clamp(p.VbrQuality, 0, 9));
    s.minKbps = std::min(p.MinBitRate, p.MaxBitRate);
    s.maxKbps = std::max(p.MinBitRate, p.MaxBitRate);
    s.writeVbrTag = p.WriteVbrHeader;
    s.crc = p.Crc;
    return s;
}

OggSetup ResolveOgg(const FileFormat& f) {
    OggSetup s;
    s.rate = f.ogg.rate > 0 ? f.ogg.rate : 44100;
    s.channels = f.ogg.channels == 1 ? 1 : 2;
    if (f.ogg.quality >= 0) {
        s.nominalKbps = 0;
        s.quality = std::clamp(float(f.ogg.quality) / 1000.0f, -0.1f, 1.0f);
    } else {
        // No quality and no bit rate: the middle of the bit-rate list.
        s.nominalKbps = f.ogg.nominalKbps > 0 ? f.ogg.nominalKbps : 192;
    }
    return s;
}

bool WmaProfile(int code, WmaSetup* out) {
    for (const auto& r : kWmaProfiles)
        if (r.code == code) {
            out->rate = r.rate;
            out->kbps = r.kbps;
            out->channels = r.channels;
            return true;
        }
    return false;
}

WmaSetup ResolveWma(const FileFormat& f) {
    WmaSetup s;
    // An unknown profile code is written as "CD Quality" (10).
    if (!WmaProfile(f.wma.profile, &s)) WmaProfile(10, &s);
    return s;
}

lame_global_struct* OpenLame(const Mp3Setup& s, std::string* why) {
    lame_t gf = lame_init();
    if (!gf) {
        *why = "the MP3 encoder cannot start";
        return nullptr;
    }
    lame_set_in_samplerate(gf, s.rate);
    lame_set_out_samplerate(gf, s.rate);
    lame_set_num_channels(gf, s.channels);
    if (s.mode >= 0) lame_set_mode(gf, MPEG_mode(s.mode));
    if (!s.vbr) {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, s.kbps);
    } else if (s.abr) {
        lame_set_VBR(gf, vbr_abr);
        lame_set_VBR_mean_bitrate_kbps(gf, s.kbps);
    } else {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_quality(gf, s.vbrQuality);
    }
    if (s.vbr) {
        if (s.minKbps > 0) lame_set_VBR_min_bitrate_kbps(gf, s.minKbps);
        if (s.maxKbps > 0) lame_set_VBR_max_bitrate_kbps(gf, s.maxKbps);
    }
    lame_set_bWriteVbrTag(gf, s.writeVbrTag ? 1 : 0);
    lame_set_error_protection(gf, s.crc ? 1 : 0);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        *why = "the MP3 encoder does not accept " + std::to_string(s.rate) + " Hz, " +
               (s.vbr && !s.abr ? std::string("variable bit rate") : std::to_string(s.kbps) + " kbps") + ", " +
               (s.channels == 1 ? "mono" : "stereo");
        return nullptr;
    }
    return gf;
}

bool LameAcceptsCbr(int rate, int kbps, int channels) {
    if (rate <= 0 || kbps <= 0 || (channels != 1 && channels != 2)) return false;
    Mp3Setup s;
    s.rate = rate;
    s.kbps = kbps;
    s.channels = channels;
    s.mode = channels == 1 ? MONO : -1;
    std::string why;
    lame_t gf = OpenLame(s, &why);
    if (!gf) return false;
    // LAME quietly moves to the nearest legal rate; only an exact match counts.
    const bool ok = lame_get_out_samplerate(gf) == rate && lame_get_brate(gf) == kbps;
    lame_close(gf);
    return ok;
}

bool InitVorbisInfo(vorbis_info* vi, OggSetup& s, std::string* why) {
    if (s.nominalKbps <= 0) {
        vorbis_info_init(vi);
        if (vorbis_encode_init_vbr(vi, s.channels, s.rate, s.quality) == 0) return true;
        vorbis_info_clear(vi);
        *why = "the OGG encoder does not accept " + std::to_string(s.rate) + " Hz";
        return false;
    }
    // libvorbis takes bit rates only within the range of its modes for the
    // rate and channel count (mono tops out far below 320 kbps, for one);
    // outside it, the nearest bit rate it accepts is used.
    for (int step = 0; step <= 512; ++step) {
        for (int sign : {-1, 1}) {
            if (step == 0 && sign > 0) continue;
            const int kbps = s.nominalKbps + sign * step;
            if (kbps < 8) continue;
            if (TryVorbis(vi, s.channels, s.rate, long(kbps) * 1000)) {
                s.nominalKbps = kbps;
                return true;
            }
        }
    }
    *why = "the OGG encoder does not accept " + std::to_string(s.rate) + " Hz, " +
           (s.channels == 1 ? "mono" : "stereo");
    return false;
}

bool VorbisAcceptsBitRate(int rate, int channels, int kbps) {
    if (rate <= 0 || kbps <= 0 || channels < 1 || channels > 2) return false;
    vorbis_info vi;
    if (!TryVorbis(&vi, channels, rate, long(kbps) * 1000)) return false;
    vorbis_info_clear(&vi);
    return true;
}

AVCodecContext* OpenWmaCodec(WmaSetup& s, bool globalHeader, std::string* why) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec) {
        *why = "no WMA encoder is available";
        return nullptr;
    }
    int lastError = 0;
    // The asked bit rate first; when refused, the lowest higher one taken.
    for (int kbps = s.kbps; kbps <= std::max(s.kbps * 8, 64); kbps += 1) {
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        if (!ctx) break;
        ctx->sample_fmt = AV_SAMPLE_FMT_FLTP;
        ctx->sample_rate = s.rate;
        av_channel_layout_default(&ctx->ch_layout, s.channels);
        ctx->bit_rate = std::int64_t(kbps) * 1000;
        ctx->time_base = AVRational{1, s.rate};
        if (globalHeader) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        lastError = avcodec_open2(ctx, codec, nullptr);
        if (lastError >= 0) {
            s.kbps = kbps;
            return ctx;
        }
        avcodec_free_context(&ctx);
        if (lastError != AVERROR(EINVAL)) break;
    }
    *why = "the WMA encoder does not accept " + std::to_string(s.rate) + " Hz, " + std::to_string(s.kbps) +
           " kbps (" + codec::AvErrorText(lastError) + ")";
    return nullptr;
}

}  // namespace sw
