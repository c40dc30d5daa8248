#include "OutputFormat.h"

#include "FFmpegUtil.h"

namespace sw {

void FileFormat::SetWaveFormat(int rate, int channels, int bits) {
    wave.rate = rate;
    wave.channels = channels;
    wave.bits = bits;
    lastCode_ = FormatWav;
}

void FileFormat::SetMp3Cbr(int rate, int kbps, int channels) {
    mp3.useLame = false;
    mp3.rate = rate;
    mp3.kbps = kbps;
    mp3.channels = channels;
    lastCode_ = FormatMp3;
}

void FileFormat::SetMp3Lame(const LameEncParams& params) {
    mp3.useLame = true;
    mp3.lame = params;
    lastCode_ = FormatMp3;
}

void FileFormat::SetOggFormat(int rate, int channels, int nominalKbps, int, int, int quality) {
    ogg.rate = rate;
    ogg.channels = channels;
    ogg.nominalKbps = nominalKbps;
    ogg.quality = quality;
    lastCode_ = FormatOgg;
}

void FileFormat::SetWmaProfile(int profileCode) {
    wma.profile = profileCode;
    lastCode_ = FormatWma;
}

int FormatCodeForPath(const std::string& path) {
    const std::string ext = codec::LowerExtension(path);
    if (ext == ".wav") return FormatWav;
    if (ext == ".mp3") return FormatMp3;
    if (ext == ".ogg") return FormatOgg;
    if (ext == ".wma") return FormatWma;
    return 0;
}

}  // namespace sw
