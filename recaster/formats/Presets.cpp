#include "Presets.h"

#include <array>

#include "Profile.h"

namespace rc {

namespace {

const QString U;    // an unset text
constexpr int N = -1;  // an unset number

TPresetRow R(const char* label, const QString& vcodec, const QString& tag, const QString& preset,
             const QString& size, const QString& rate, int vbr, const QString& acodec, int ch, int hz, int abr) {
    TPresetRow r;
    r.Label = QString::fromUtf8(label);
    r.VideoCodec = vcodec;
    r.VideoTag = tag;
    r.VideoPreset = preset;
    r.FrameSize = size;
    r.FrameRate = rate;
    r.VideoBitrate = vbr;
    r.AudioCodec = acodec;
    r.AudioChannels = ch;
    r.AudioSampleRate = hz;
    r.AudioBitrate = abr;
    return r;
}
// An audio row.
TPresetRow A(const char* label, const QString& codec, int ch, int hz, int abr) {
    return R(label, U, U, U, U, U, N, codec, ch, hz, abr);
}
// A device or video row without tag or preset.
TPresetRow D(const char* label, const QString& vcodec, const QString& size, const QString& rate, int vbr,
             const QString& acodec, int ch, int hz, int abr) {
    return R(label, vcodec, U, U, size, rate, vbr, acodec, ch, hz, abr);
}
// Rows with a four-character tag and with the x264 preset.
TPresetRow T(const char* label, const QString& vcodec, const QString& tag, const QString& size,
             const QString& rate, int vbr, const QString& acodec, int ch, int hz, int abr) {
    return R(label, vcodec, tag, U, size, rate, vbr, acodec, ch, hz, abr);
}
TPresetRow X(const char* label, const QString& size, const QString& rate, int vbr, const QString& acodec, int ch,
             int hz, int abr) {
    return R(label, "libx264", U, "libx264-default", size, rate, vbr, acodec, ch, hz, abr);
}

const QString x264 = "libx264", faac = "libfaac", lame = "libmp3lame", m4 = "mpeg4", wmv = "wmv2", wma = "wmav2",
              m1 = "mpeg1video", m2 = "mpeg2video", mp2 = "mp2", xvid = "XVID", ntsc = "30000/1001";

std::vector<TPresetRow> Wav() {
    return {A("For Mobiles - PCM: 11025 Hz, Mono, 16 bits", "pcm_s16le", 1, 11025, N),
            A("AM Radio Quality - PCM: 22050 Hz, Mono, 16 bits", "pcm_s16le", 1, 22050, N),
            A("FM Radio Quality - PCM: 22050 Hz, Sterro, 24 bits", "pcm_s24le", 2, 22050, N),
            A("HiFi Quality - PCM: 48000Hz, Stereo, 32 bits", "pcm_s32le", 2, 48000, N),
            A("Uncompressed (CD Audio Quality)", "pcm_s16le", 2, 44000, N)};
}
std::vector<TPresetRow> Mp3() {
    return {A("For Mobile - MP3: 44100 Hz, Stereo, 112 kbps", lame, 2, 44100, 112000),
            A("For Media Player - MP3: 48000 Hz, Stereo, 128 kbps", lame, 2, 48000, 128000),
            A("Normal Quality - MP3: 48000 Hz, Stereo, 256 kbps", lame, 2, 48000, 256000),
            A("Best Quality - MP3: 48000 Hz, Stereo, 320 kbps", lame, 2, 48000, 320000)};
}
std::vector<TPresetRow> Wma() {
    std::vector<TPresetRow> v{A("For Media Player Best Quality", wma, 2, 48000, 192000),
                              A("For Media Player Economy Quality", wma, 2, 44100, 96000),
                              A("For Pocket PCs/PDAs Normal Quality", wma, 2, 44100, 128000),
                              A("For PC Normal Quality", wma, 2, 44100, 128000),
                              A("WMA Losslesss Audio", wma, 2, 48000, N)};
    v[4].InputAudioBitrate = true;
    return v;
}
std::vector<TPresetRow> Ogg() {
    const QString v = "libvorbis";
    return {A("Telephone Quality - Ogg Vorbis: Quality - 4.97; 11025 Hz, Mono", v, N, 11025, N).Extra("aq=4.97"),
            A("AM Radio Quality - Ogg Vorbis: Quality - 4.97; 22050 Hz, Mono", v, N, 22050, N).Extra("aq=4.97"),
            A("FM Radio Quality - Ogg Vorbis: Quality - 4.97; 22050 Hz, Stereo", v, N, 22050, N).Extra("aq=4.97"),
            A("CD Quality - Ogg Vorbis: Quality - 4.97; 44100 Hz, Stereo", v, N, 44100, N).Extra("aq=4.97"),
            A("HiFi Quality - Ogg Vorbis: Quality - 8.05; 48000 Hz, Stereo", v, N, 48000, N).Extra("aq=8.05")};
}
std::vector<TPresetRow> Aac() {
    return {A("For Mobiles - MPEG2/4 LC: 16000 Hz, Mono, 96 kbps", faac, 1, 16000, 96000),
            A("AM Quality - MPEG2/4 LC: 22500 Hz, Mono, 112 kbps", faac, 1, 22500, 112000),
            A("FM Quality - MPEG2/4 LC: 22500 Hz, Stereo, 224 kbps", faac, 2, 22500, 224000),
            A("CD Quality - MPEG2/4 LC: 44100 Hz, Stereo, 256 kbps", faac, 2, 44100, 256000),
            A("HiFi Quality - MPEG2/4 LC: 48000 Hz, Stereo, 256 kbps", faac, 2, 48000, 256000)};
}
std::vector<TPresetRow> M4a() {
    return {A("Normal Quality - MPEG2/4 LC: 44100 Hz, Stereo, 96 kbps", U, 2, 44100, 96000),
            A("Best Quality - MPEG2/4 LC: 48000 Hz, Stereo, 256 kbps", U, 2, 44800, 256000)};
}
std::vector<TPresetRow> Flac() {
    std::vector<TPresetRow> v;
    for (int i = 0; i <= 8; ++i) {
        const QByteArray label = i == 5 ? QByteArray("Compression Level 5 (Default)")
                                        : QByteArray("Compression Level ") + QByteArray::number(i);
        v.push_back(A(label.constData(), "flac", N, N, N).Extra(QStringLiteral("compression_level=%1").arg(i)));
    }
    return v;
}
std::vector<TPresetRow> Mp2() {
    return {A("For Mobiles - MPEG layer-2: 22050 Hz, Mono, 96 kbps", U, 1, 22050, 96000),
            A("AM Quality - MPEG layer-2: 22050 Hz, Mono, 112 kbps", U, 1, 22050, 112000),
            A("FM Quality - MPEG layer-2: 22050 Hz, Stereo, 128 kbps", U, 2, 22050, 128000)};
}

// Devices.
TPresetRow Dv(const char* label, const QString& size, const QString& rate, int vbr, int hz, int abr,
              TTuning tune = TuningDevice) {
    return D(label, x264, size, rate, vbr, faac, 2, hz, abr).Tune(tune);
}
std::vector<TPresetRow> IPod() {
    return {Dv("iPod Highest Quality (H264, 30 fps, 640x480, 2500 kbps; AAC - 160 kbps)", "640x480", "30", 2500000, 48000, 160000),
            Dv("iPod Touch High Quality (H264, 30 fps, 480x320, 2500 kbps; AAC - 160 kbps) ", "480x320", "30", 2500000, 48000, 160000),
            Dv("iPod Touch Standard Quality (H264, 24 fps, 480x320, 1300 kbps; AAC - 128 kbps)", "480x320", "24", 1300000, 44100, 128000),
            Dv("iPod Touch Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps) ", "320x240", "15", 500000, 44100, 128000),
            Dv("iPod Classic High Quality (H264, 30 fps, 320x240, 2500 kbps; AAC - 160 kbps)", "320x240", "30", 2500000, 48000, 160000),
            Dv("iPod Classic Standard Quality (H264, 24 fps, 320x240, 1000 kbps; AAC - 128 kbps)", "320x240", "24", 1000000, 44100, 128000),
            Dv("iPod Classic Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps)", "320x240", "15", 500000, 44100, 128000),
            Dv("iPod Nano High Quality (H264, 30 fps, 320x240, 2500 kbps; AAC - 160 kbps)", "320x240", "30", 2500000, 48000, 160000),
            Dv("iPod Nano Standard Quality (H264, 24 fps, 320x240, 1000 kbps; AAC - 128 kbps)", "320x240", "24", 1000000, 44100, 128000),
            Dv("iPod Nano Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps)", "320x240", "15", 500000, 44100, 128000)};
}
std::vector<TPresetRow> IPhone() {
    return {Dv("iPhone High Quality (H264, 30 fps, 640x480, 2500 kbps; AAC - 160 kbps)", "640x480", "30", 2500000, 48000, 160000),
            Dv("iPhone Standard Quality (H264, 24 fps, 480x320, 1300 kbps; AAC - 128 kbps)", "480x320", "30", 1300000, 44100, 128000),
            Dv("iPhone Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps)", "320x240", "15", 500000, 44100, 128000)};
}
std::vector<TPresetRow> AppleTV() {
    return {Dv("AppleTV High Quality (H264, 24 fps, 1280x720, 5000 kbps; AAC - 160 kbps)", "640x480", "24", 5000000, 48000, 160000),
            Dv("AppleTV Standard Quality (H264, 24 fps, 720x540, 2000 kbps; AAC - 128 kbps)", "720x540", "24", 2000000, 44100, 128000),
            Dv("AppleTV Economy Quality (H264, 24 fps, 480x360, 1000 kbps; AAC - 128 kbps)", "480x360", "24", 1000000, 44100, 128000)};
}
std::vector<TPresetRow> Psp() {
    return {Dv("PSP Highest Quality (H264, 30 fps, 480x272, 1500 kbps; AAC - 160 kbps)", "480x272", "30", 1500000, 48000, 160000, TuningPSP).Container("psp"),
            Dv("PSP Optimal Quality (H264, 24 fps, 368x208, 1000 kbps; AAC - 128 kbps)", "368x208", "24", 1000000, 44100, 128000, TuningPSP).Container("psp"),
            Dv("PSP Economy Quality (H264, 15 fps, 368x208, 500 kbps; AAC - 128 kbps)", "368x208", "15", 500000, 44100, 128000, TuningPSP).Container("psp")};
}
std::vector<TPresetRow> BlackBerry() {
    return {X("BlackBerry High Quality (H264, 30 fps, 640x480, 2500 kbps; AAC - 160 kbps)", "640x480", "30", 2500000, faac, 2, 48000, 160000),
            X("BlackBerry Standard Quality (H264, 24 fps, 480x320, 1300 kbps; AAC - 128 kbps)", "480x320", "30", 1300000, faac, 2, 44100, 128000),
            X("BlackBerry Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps)", "320x240", "15", 500000, faac, 2, 44100, 128000)};
}
std::vector<TPresetRow> MobilePhone() {
    return {D("Mobile MP4 High Quality (MPEG4, 15 fps, 320x240, 600 kbps; AAC - 192 kbps)", m4, "320x240", "15", 600000, faac, 2, 48000, 192000),
            D("Mobile MP4 Standard Quality (MPEG4, 15 fps, 176x144, 256 kbps; AAC - 128 kbps)", m4, "176x144", "15", 256000, faac, 2, 44100, 128000),
            D("Mobile MP4 Balanced Quality (MPEG4, 12 fps, 176x144, 146 kbps; AAC - 96 kbps)", m4, "176x144", "12", 146000, faac, 2, 32000, 96000),
            D("Mobile MP4 Economy Quality (MPEG4, 10 fps, 128x96, 119 kbps; AAC - 64 kbps)", m4, "128x96", "10", 119000, faac, 2, 22050, 64000)};
}
std::vector<TPresetRow> IPad() {
    return {Dv("iPad High Quality (H264, 30 fps, 640x480, 2500 kbps; AAC - 160 kbps)", "640x480", "30", 2500000, 48000, 160000),
            Dv("iPad Standard Quality (H264, 24 fps, 480x320, 1300 kbps; AAC - 128 kbps)", "480x320", "30", 1300000, 44100, 128000),
            Dv("iPad Economy Quality (H264, 15 fps, 320x240, 500 kbps; AAC - 128 kbps)", "320x240", "15", 500000, 44100, 128000)};
}

// Video formats.
std::vector<TPresetRow> Avi() {
    return {T("HD Video 720p: MPEG4 (DivX, XviD), 4500 kbps; Audio: MP3, 192 kbps", m4, xvid, "1280x720", U, 4500000, lame, 2, 44100, 192000).Aspect("16:9"),
            X("HD Video 1080p: H.264/AVC, 4200 kbps; Audio: MP3, 256 kbps", "1920x1080", U, 4200000, lame, 2, 44100, 256000).Aspect("16:9"),
            T("Video: MPEG4 (DivX, XviD), 2500 kbps, Original; Audio: MP3, 256 kbps", m4, xvid, U, U, 2500000, lame, 2, 44100, 256000),
            T("Video: MPEG4 (DivX, XviD), 1500 kbps, Original; Audio: MP3, 192 kbps", m4, xvid, U, U, 1500000, lame, 2, 44100, 192000),
            T("Video: MPEG4 (DivX, XviD), 768 kbps, Original; Audio: MP3, 96 kbps", m4, xvid, U, U, 768000, lame, 2, 44100, 96000),
            T("Video: MPEG4 (DivX, XviD), 2500 kbps, 720x540; Audio: MP3, 256 kbps", m4, xvid, "720x540", U, 2500000, lame, 2, 44100, 256000),
            T("Video: MPEG4 (DivX, XviD), 1500 kbps, 512x384; Audio: MP3, 192 kbps", m4, xvid, "512x384", U, 1500000, lame, 2, 44100, 192000),
            T("Video: MPEG4 (DivX, XviD), 768 kbps, 320x240; Audio: MP3, 96 kbps", m4, xvid, "320x240", U, 768000, lame, 2, 44100, 96000),
            X("Video: H.264/AVC, 1200 kbps; Audio: MP3, 192 kbps", U, U, 1200000, lame, 2, 44100, 192000),
            X("Video: H.264/AVC, 768 kbps; Audio: MP3, 96 kbps", U, U, 768000, lame, 2, 44100, 96000),
            T("BlackBerry 81xx - (MPEG4, 560 kbps, 320x240)", m4, "FMP4", "320x240", U, 460000, lame, 2, 44100, 96000),
            T("BlackBerry 8xxx - (MPEG4, 420 kbps, 240x180)", m4, "FMP4", "240x180", U, 324000, lame, 2, 44100, 96000),
            T("Archos AV500/700; 4-series (704,604,504,404) - (MPEG4, 1800 kbps, Original)", m4, xvid, U, U, 1600000, lame, 2, 44100, 192000),
            T("Archos AV500/700; 4-series (704,604,504,404) - (MPEG4, 900 kbps, 480x272)", m4, xvid, "480x272", U, 760000, lame, 2, 44100, 128000),
            T("Creative Zen Vision W - (MPEG4, 1800 kbps, 720x480)", m4, xvid, "720x480", U, 1400000, lame, 2, 44100, 192000),
            T("Creative Zen Vision - (MPEG4, 1200 kbps, 640x480)", m4, xvid, "640x480", U, 1000000, lame, 2, 44100, 192000),
            T("Creative Zen Vision M - (MPEG4, 720 kbps, 320x240)", m4, xvid, "320x240", U, 600000, lame, 2, 44100, 128000),
            T("Epson P3000/P4500/P5000 - (MPEG4, 2 mbps, 720x480, 30 fps)", m4, xvid, "720x480", "30", 1200000, lame, 2, 44100, 705000),
            T("iRiver U20(Clix) - (MPEG4, 320 kbps, 320x240, 15 fps)", m4, xvid, "320x240", "15", 224000, lame, 2, 44100, 96000),
            T("iRiver U10 Clix - (MPEG4, 560 kbps, 320x240, 15 fps)", m4, xvid, "320x240", "15", 460000, lame, 2, 44100, 96000),
            T("iAudio X5 - Optimized for hardware - (MPEG4, 600 kbps, 160x120, 15 fps)", m4, xvid, "160x120", "15", 480000, lame, 2, 44100, 128000),
            D("Nindendo Wii Clip", "mjpeg", "640x480", U, 4096000, "pcm_s16le", 2, 44100, 1411000),
            T("SanDisk Sansa View - Hight Quality - (MPEG4, 640x480; MP3, 128kbps)", m4, xvid, "640x480", "25", 1500000, lame, 2, 44100, 128000),
            T("SanDisk Sansa View - Normal Quality - (MPEG4, 320x240; MP3, 96kbps)", m4, xvid, "320x240", "30", 768000, lame, 2, 44100, 96000),
            T("Video for Google Video", m4, xvid, "640x480", "30", 2000000, lame, 2, 44100, 128000),
            T("Video for YouTube", m4, xvid, "320x240", U, 2700000, lame, 2, 44100, 128000),
            T("Video for Myspace", m4, xvid, "320x240", "25", 1000000, lame, 2, 44100, 128000),
            T("Video: DivX; Audio: MP3, 192 kbps", m4, "DIVX", U, U, 1200000, lame, 2, 44100, 192000),
            D("Video: Uncompressed, Original; Audio: PCM", "rawvideo", U, U, N, "pcm_s16le", 2, 44100, 1411000)};
}
std::vector<TPresetRow> Mp4() {
    return {D("Apple iPod - (H.264, 320x240)", x264, "320x240", "30", 640000, faac, 2, 44100, 128000).Tune(TuningDevice),
            D("Apple iPod - (H.264, 640x480)", x264, "640x480", "30", 640000, faac, 2, 44100, 128000).Tune(TuningDevice),
            D("Apple iPod - (MPEG4, 320x240)", m4, "320x240", "30", 600000, faac, 2, 44100, 128000),
            D("Apple iPhone/iTouch - (H.264,640x420)", x264, "640x420", "30", 640000, faac, 2, 44100, 128000).Tune(TuningDevice),
            X("Microsoft XBox360 - Normal HD Quality 480p - (H.264, 29.97 fps, 848x480)", "848x480", ntsc, 2600000, faac, 2, 48000, 256000).Aspect("16:9"),
            D("Sony PS3 - Normal HD Quality 480p - (H.264, 29.97 fps, 848x480)", x264, "848x480", ntsc, 2600000, faac, 2, 48000, 256000).Container("psp").Aspect("16:9").Tune(TuningPSP),
            D("Sony PS3 - Normal HD Quality 480p, Surround - (H.264, 29.97 fps, 848x480)", x264, "848x480", ntsc, 2600000, faac, 2, 48000, 768000).Container("psp").Aspect("16:9").Tune(TuningPSP),
            D("Sony PSP - Normal - (H.264, 29.97 fps, 368x208)", x264, "368x208", ntsc, 520000, faac, 2, 48000, 128000).Container("psp").Aspect("16:9").Tune(TuningPSP),
            D("Sony PSP - High Resolution - (H264, 29.97 fps, 480x272)", x264, "480x272", ntsc, 720000, faac, 2, 48000, 128000).Container("psp").Aspect("16:9").Tune(TuningPSP),
            D("Epson P2000/P4000 - High Quality - (MPEG4, 640x480)", m4, "640x480", U, 1200000, faac, 2, 24000, 96000),
            D("Epson P2000/P4000 - Economy Quality - (MPEG4, 320x240)", m4, "320x240", U, 640000, faac, 2, 22050, 64000),
            D("Epson P3000/P4500/P5000 - Best Quality - (MPEG4, 720x480)", m4, "720x480", U, 1200000, faac, 2, 48000, 96000),
            D("Mobile - Standard Quality - (MPEG4, 176x144, 15 fps)", m4, "176x144", "15", 120000, faac, 2, 44100, 96000),
            D("Mobile - Economy Quality - (MPEG4, 128x96, 12 fps)", m4, "128x96", "12", 56000, faac, 2, 22050, 56000),
            D("PC - High Quality - (MPEG4, 2500 kbps, Original Size, 25 fps)", m4, U, "25", 2500000, faac, 2, 48000, 256000),
            D("PC - Standard Quality - (MPEG4, 1200 kbps, Original Size, 25 fps)", m4, U, "25", 1200000, faac, 2, 48000, 192000),
            D("PC - Economy Quality - (MPEG4, 700 kbps, Original Size, 25 fps)", m4, U, "25", 700000, faac, 2, 48000, 128000),
            D("SanDisk Sansa View - Hight Quality - (MPEG4, 640x480; MPEG2/4 Audio, 128kbps)", m4, "640x480", "24", 1500000, faac, 2, 48000, 128000),
            D("SanDisk Sansa View - Normal Quality - (MPEG4, 320x240; MPEG2/4 Audio, 96kbps)", m4, "320x240", "30", 768000, faac, 2, 48000, 96000)};
}
std::vector<TPresetRow> Flv() {
    return {X("FLV - Best Quality - (H.264, 1200 kbps, Original; MP3, 160 kbps)", U, U, 1200000, U, 2, 44100, 160000),
            X("FLV - Normal Quality - (H.264, 920 kbps, Original size, 20 fps; MP3, 112 kbps)", U, "20", 930000, U, 2, 44100, 160000),
            D("FLV - Optimal Quality - (H.263, 780 kbps, 352x288, 15 fps; MP3, 64 kbps)", U, "352x288", "15", 780000, U, 2, 22050, 64000),
            D("FLV - Low Quality - (H.263, 640 kbps, 320x240, 15 fps; MP3, 48 kbps)", U, "320x240", "15", 640000, U, 2, 11025, 48000),
            D("FLV - Least Quality - (H.263, 480 kbps, 176x144, 15 fps; MP3, 24 kbps)", U, "276x144", "15", 480000, U, 1, 11025, 24000)};
}
std::vector<TPresetRow> Swf() {
    return {D("SWF - Best Quality - (H.263, Original; MP3, 160 kbps)", U, U, "25", 1200000, U, 2, 44100, 160000),
            D("SWF - Normal Quality - (H.263, 920 kbps, Original size, 20 fps; MP3, 112 kbps)", U, U, "25", 920000, U, 2, 44100, 112000),
            D("SWF - Optimal Quality - (H.263, 780 kbps, 352x288, 15 fps; MP3, 64 kbps)", U, "352x288", "15", 780000, U, 2, 22050, 64000),
            D("SWF - Low Quality - (H.263, 640 kbps, 320x240, 15 fps; MP3, 48 kbps)", U, "320x240", "25", 640000, U, 2, 11025, 48000),
            D("SWF - Least Quality - (H.263, 480 kbps, 176x144, 15 fps; MP3, 24 kbps)", U, "176x144", "15", 480000, U, 1, 11025, 24000)};
}
std::vector<TPresetRow> Mpeg() {
    return {D("HD Video 1080p - (MPEG2, 15000 kbps, 1920x1080, 29.97 fps)", m2, "1920x1080", ntsc, 15000000, mp2, 2, 48000, 224000).Aspect("4:3").Limits(15000000, 15000000, 6881000),
            D("HD Video 720p - (MPEG2, 9000 kbps, 1280x720, 29.97 fps)", m2, "1280x720", ntsc, 9000000, mp2, 2, 48000, 224000).Aspect("4:3"),
            D("DVD NTSC compatible - (MPEG2, 4000 kbps, 720x480, 29.97 fps)", U, U, ntsc, 4000000, mp2, 2, 48000, 224000).Aspect("4:3").Target(TargetDVD, NormNTSC),
            D("DVD PAL compatible - (MPEG2, 4000 kbps, 720x576, 25 fps)", U, U, "25", 4000000, mp2, 2, 48000, 224000).Aspect("4:3").Target(TargetDVD, NormPAL),
            D("Video: MPEG1, 4000 kbps, Original size, 29.97 fps; Audio: 224 kbps", m1, U, ntsc, 4000000, mp2, 2, 44100, 224000).Limits(4000000, 4000000, 1835000),
            D("Video: MPEG2, 4000 kbps, Original size, 29.97 fps; Audio: 224 kbps", m2, U, ntsc, 4000000, mp2, 2, 44100, 224000).Limits(4000000, 4000000, 1835000),
            D("Creative ZEN Vision W - Best Quality - (MPEG1, 1150 kbps, 720x480, 29.97 fps)", m1, "720x480", ntsc, 1150000, mp2, 2, 44100, 128000).Limits(1150000, 1150000, 527000),
            D("Creative ZEN Vision - Standard Quality - (MPEG1, 860 kbps, 480x360, 29.97 fps)", m1, "720x480", ntsc, 860000, mp2, 2, 44100, 128000).Limits(860000, 860000, 394000),
            D("Creative ZEN Vision M - Normal Quality - (MPEG1, 780 kbps, 320x240, 29.97 fps)", m1, "320x240", ntsc, 780000, mp2, 2, 44100, 112000).Limits(780000, 780000, 357000),
            D("Epson P3000/P4500/P5000 - (MPEG2, 2000 kbps, 720x480, 30 fps)", m1, "720x480", "30", 2000000, mp2, 2, 44100, 192000).Limits(2000000, 2000000, 917000),
            D("SVCD NTSC compatible - (MPEG2, 2376 kbps, 480x480, 29.97 fps)", U, U, ntsc, 2376000, mp2, 2, 44100, 224000).Aspect("4:3").Target(TargetSVCD, NormNTSC),
            D("SVCD PAL compatible - (MPEG2, 2376 kbps, 480x576, 25 fps)", U, U, "25", 2376000, mp2, 2, 44100, 224000).Aspect("4:3").Target(TargetSVCD, NormPAL),
            D("VCD NTSC compatible - (MPEG1, 1150 kbps, 352x240, 29.97 fps)", U, U, ntsc, 1150000, mp2, 2, 44100, 224000).Aspect("4:3").Target(TargetVCD, NormNTSC),
            D("VCD PAL compatible - (MPEG1, 1150 kbps, 352x288, 25 fps)", U, U, "25", 1150000, mp2, 2, 44100, 224000).Aspect("4:3").Target(TargetVCD, NormPAL)};
}
std::vector<TPresetRow> Rm() {
    return {D("RM - Best Quality - (1024 kbps, Original)", "rv20", U, U, 1024000, U, N, N, N),
            D("RM - Normal Quality - (750 kbps, Original)", "rv20", U, U, 750000, U, N, N, N),
            D("RM - Optimal Quality - (512 kbps, Original)", "rv20", U, U, 512000, U, N, N, N),
            D("RM - Low Quality  - (256 kbps, Original)", "rv20", U, U, 256000, U, N, N, N),
            D("RM - Least Quality  - (128 kbps, Original)", "rv20", U, U, 128000, U, N, N, N)};
}
std::vector<TPresetRow> Wmv() {
    return {D("HD Video 1080p: WMV 9, 9000 kbps; Audio: WMA Pro, 384kbps", wmv, "1920x1080", ntsc, 9000000, wma, 2, 48000, 384000),
            D("HD Video 720p: WMV 9, 7000 kbps; Audio: WMA Pro, 384kbps", wmv, "1280x720", ntsc, 7000000, wma, 2, 48000, 384000),
            D("Microsoft Zune - Best Quality - (1112 kbps, 320x240, 25 fps)", wmv, "320x240", "25", 1112000, wma, 2, 44100, 192000),
            D("Microsoft Zune - Normal Quality - (568 kbps, 320x240, 25 fps)", wmv, "320x240", "25", 568000, wma, 2, 44100, 128000),
            D("Video for Pocket PCs/PDAs", wmv, "192x144", "20", 176000, wma, 2, 32000, 48000),
            D("Archos AV500/700; 4-series (704,604,504,404) - Highest Available Quality", wmv, "352x288", "25", 920000, wma, 2, 44100, 128000),
            D("Archos AV500/700; 4-series (704,604,504,404) - Good Quality", wmv, "320x240", "25", 600000, wma, 2, 44100, 128000),
            D("Archos AV500/700; 4-series (704,604,504,404) - Low Quality", wmv, "352x288", "25", 400000, wma, 2, 44100, 96000),
            D("Creative ZEN Vision W - Highest Available Quality", wmv, "480x272", "25", 700000, wma, 2, 44100, 192000),
            D("Creative ZEN Vision - Good Quality", wmv, "320x240", "25", 720000, wma, 2, 44100, 128000),
            D("Creative ZEN Vision M - Normal Quality", wmv, "320x240", "25", 480000, wma, 2, 44100, 128000),
            D("Epson Multimedia Storage Viewer P3000/P5000", wmv, "352x288", "24", 768000, wma, 2, 44100, 128000),
            D("SanDisk Sansa View", wmv, "320x240", "30", 768000, wma, 2, 48000, 128000),
            D("Palm Treo series", wmv, "320x240", "25", 380000, wma, 2, 44100, 128000),
            D("HP iPaq series", wmv, "320x240", "25", 220000, wma, 2, 44100, 96000),
            D("Windows Media Video 9 High Quality", wmv, "320x240", "25", 2500000, wma, 2, 48000, 196000),
            D("Windows Media Video 9 Standard Quality", wmv, "320x240", "25", 720000, wma, 2, 44100, 128000),
            D("Windows Media Video 9 Low Quality", wmv, "320x240", "25", 480000, wma, 2, 44100, 96000)};
}
std::vector<TPresetRow> Mov() {
    return {X("Apple TV - Best Quality - (H.264, Original; MP2/4 (AAC), 320 kbps)", U, U, 1200000, faac, 2, 48000, 320000),
            X("Quick Time - HD Quality 480p - (H.264, 848x480; MP2/4 (AAC), 320 kbps)", "848x480", U, 1200000, faac, 2, 48000, 320000),
            X("Quick Time - DVD Quality - (H.264, 720x576; MP2/4 (AAC), 320 kbps)", "720x576", U, 1200000, faac, 2, 48000, 320000),
            D("Quick Time - Photo Quality - (Photo Jpeg, Original; MP3, 256 kbps)", "mjpeg", U, U, 16384000, lame, 2, 44100, 256000),
            D("Quick Time - Optimal Quality - (H.263, 352x288; MP3, 128 kbps)", "h263", "352x288", U, 6144000, lame, 2, 44100, 128000),
            D("Quick Time - Highest Available Quality - (MPEG4, Original; MP3, 192 kbps)", m4, U, U, 921600, lame, 2, 44100, 192000),
            D("Quick Time - Standard Quality - (H.263, 176x144; MP3, 128 kbps)", "h263", "176x144", U, 4014080, lame, 2, 44100, 128000),
            D("Quick Time - Balanced Quality - (MPEG4, Original; MP3, 96 kbps)", m4, U, U, 614400, lame, 2, 44100, 96000),
            D("Quick Time - Economy Quality - (Sorenson Video; MP3, 96 kbps)", "svq1", U, U, 921600, lame, 2, 44100, 96000),
            D("Quick Time - Economy Quality - (Sorenson Video; IMA ADPCM)", "svq1", U, U, 921600, "adpcm_ima_qt", 2, 44100, 352000)};
}
std::vector<TPresetRow> Gp3() {
    return {D("3GPP - Extended Mobile Support - (H.263, 240 kbps, 176x144, 12 fps; AMR)", "h263", "176x144", "12", 240000, U, 1, 8000, 12200),
            D("3GPP - Mobile Highest Available Quality - (MPEG4, 104 kbps, 176x144, 15 fps; AAC)", m4, "176x144", "15", 104000, faac, 1, 32000, 64000),
            D("3GPP - Mobile Standard Quality - (MPEG4, 64 kbps, 176x144, 12 fps; AMR)", m4, "176x144", "12", 64000, U, 1, 8000, 12200),
            D("3GPP - Mobile Balanced Quality - (H.263, 140 kbps, 128x96, 10 fps; AMR)", "h263", "128x96", "10", 140000, U, 1, 8000, 10200),
            D("3GPP - Mobile Smallest Size with Audio - (MPEG4, 44 kbps, 128x96, 10 fps; AMR)", m4, "128x96", "10", 44000, U, 1, 8000, 6700)};
}

struct TFormatEntry {
    const char* Extension;
    std::vector<TPresetRow> Rows;
};

const std::array<std::vector<TFormatEntry>, 3>& Catalogue() {
    static const std::array<std::vector<TFormatEntry>, 3> c{
        std::vector<TFormatEntry>{{".avi", Avi()}, {".mp4", Mp4()}, {".flv", Flv()}, {".swf", Swf()},
                                  {".mpg", Mpeg()}, {".rm", Rm()}, {".wmv", Wmv()}, {".mov", Mov()},
                                  {".3gp", Gp3()}},
        std::vector<TFormatEntry>{{".mp4", IPod()}, {".mp4", IPhone()}, {".mp4", AppleTV()}, {".mp4", Psp()},
                                  {".mp4", BlackBerry()}, {".mp4", MobilePhone()}, {".mp4", IPad()}},
        std::vector<TFormatEntry>{{".wav", Wav()}, {".mp3", Mp3()}, {".wma", Wma()}, {".ogg", Ogg()},
                                  {".aac", Aac()}, {".m4a", M4a()}, {".flac", Flac()}, {".mp2", Mp2()}}};
    return c;
}

const TFormatEntry* Entry(int formatClass, int format) {
    if (formatClass < 0 || formatClass > 2) return nullptr;
    const auto& list = Catalogue()[formatClass];
    if (format < 0 || format >= int(list.size())) return nullptr;
    return &list[format];
}

QString JoinLines(const QStringList& lines, bool lastEnded) {
    QString t = lines.join("\r\n");
    if (lastEnded) t += "\r\n";
    return t;
}

}  // namespace

const QString kDeviceTuningText = JoinLines(
    {"flags=+loop", "cmp=+chroma", "deblockalpha=0", "deblockbeta=0", "crf=24", "refs=1", "coder=0",
     "me_range=16", "subq=5", "partitions=+parti4x4+parti8x8+partp8x8", "g=250", "keyint_min=25", "level=30",
     "qmin=10", "qmax=51", "trellis=2", "sc_threshold=40", "i_qfactor=0.71"},
    true);

const QString kPSPTuningText = JoinLines(
    {"flags=+loop", "cmp=+chroma", "partitions=+parti4x4+partp8x8+partb8x8", "me_method=umh", "subq=5",
     "trellis=1", "refs=2", "bf=1", "coder=1", "me_range=16", "g=300", "keyint_min=25", "sc_threshold=40",
     "i_qfactor=0.71", "bt=64k", "maxrate=4M", "bufsize=4M", "rc_eq='blurCplx^(1-qComp)'", "qcomp=0.6",
     "qmin=10", "qmax=51", "qdiff=4", "level=21"},
    false);

const QStringList& Libx264DefaultOptions() {
    static const QStringList o{"coder=1", "flags=+loop", "cmp=+chroma",
                               "partitions=+parti8x8+parti4x4+partp8x8+partb8x8", "me_method=hex", "subq=7",
                               "me_range=16", "g=250", "keyint_min=25", "sc_threshold=40", "i_qfactor=0.71",
                               "b_strategy=1", "qcomp=0.6", "qmin=10", "qmax=51", "qdiff=4", "bf=3", "refs=3",
                               "directpred=1", "trellis=1", "flags2=+mixed_refs+wpred+dct8x8+fastpskip",
                               "wpredp=2"};
    return o;
}

const std::vector<TPresetRow>& PresetRows(int formatClass, int format) {
    static const std::vector<TPresetRow> none;
    const TFormatEntry* e = Entry(formatClass, format);
    return e ? e->Rows : none;
}

QStringList PresetLabels(int formatClass, int format) {
    QStringList l;
    for (const TPresetRow& r : PresetRows(formatClass, format)) l << r.Label;
    return l;
}

QString PresetListName(int formatClass, int format) {
    const QString name = FormatName(formatClass, format);
    return name.isEmpty() || !Entry(formatClass, format) ? QString() : "ImageComboBox" + name + "Presets";
}

QString OutputExtension(int formatClass, int format) {
    const TFormatEntry* e = Entry(formatClass, format);
    return e ? QString::fromLatin1(e->Extension) : QString();
}

std::optional<TOutputOptions> BuildOutputOptions(int formatClass, int format, int preset,
                                                 const std::optional<TProbedInput>& input) {
    const TFormatEntry* e = Entry(formatClass, format);
    if (!e) return std::nullopt;
    TOutputOptions o;
    if (formatClass == ClassAudio) o.DisableVideo = true;
    if (formatClass == ClassVideo) o.DisableVideo = false;
    if (formatClass == ClassDevice) {
        // iPod 0, iPhone 1, AppleTV 2, PSP 3, BlackBerry 4, MobilePhone 5, iPad 6.
        if (format <= 3 || format == 6) {
            o.VideoCodec = "libx264";
            o.AudioCodec = "libfaac";
            o.ExtraOptions = format == 3 ? kPSPTuningText : kDeviceTuningText;
            if (format == 3) o.FormatName = "psp";
        }
    }
    if (preset < 0 || preset >= int(e->Rows.size())) return o;
    const TPresetRow& r = e->Rows[preset];
    auto text = [](QString& field, const QString& v) { if (!v.isEmpty()) field = v; };
    auto number = [](int& field, int v) { if (v != -1) field = v; };
    text(o.VideoCodec, r.VideoCodec);
    text(o.VideoTag, r.VideoTag);
    text(o.VideoPreset, r.VideoPreset);
    text(o.FrameSize, r.FrameSize);
    text(o.FrameRate, r.FrameRate);
    number(o.VideoBitrate, r.VideoBitrate);
    text(o.AudioCodec, r.AudioCodec);
    number(o.AudioChannels, r.AudioChannels);
    number(o.AudioSampleRate, r.AudioSampleRate);
    number(o.AudioBitrate, r.AudioBitrate);
    text(o.FormatName, r.FormatName);
    text(o.AspectRatio, r.AspectRatio);
    number(o.VideoMaxRate, r.VideoMaxRate);
    number(o.VideoMinRate, r.VideoMinRate);
    number(o.VideoBufferSize, r.VideoBufferSize);
    if (r.TargetType != TargetNone) {
        o.TargetType = r.TargetType;
        o.TargetNorm = r.TargetNorm;
    }
    if (r.Tuning == TuningDevice) o.ExtraOptions = kDeviceTuningText;
    if (r.Tuning == TuningPSP) o.ExtraOptions = kPSPTuningText;
    text(o.ExtraOptions, r.ExtraOptions);
    if (r.InputAudioBitrate && input && input->AudioBitrate > 0)
        o.AudioBitrate = int(std::min<int64_t>(input->AudioBitrate, INT32_MAX));
    return o;
}

}  // namespace rc
