#pragma once
// How the output-format settings turn into encoder configurations, and the
// questions "would the encoder take this?" asked of the real encoders.
#include <string>

#include "OutputFormat.h"

struct lame_global_struct;
struct vorbis_info;
struct AVCodecContext;

namespace sw {

struct Mp3Setup {
    int rate = 44100;
    int channels = 2;
    int mode = -1;            // LAME MPEG_mode, -1 = LAME's choice (joint stereo for two channels)
    bool vbr = false;
    bool abr = false;
    int kbps = 128;           // CBR bit rate, or the ABR mean
    float vbrQuality = 4;     // LAME -V (0 best .. 9 smallest)
    int minKbps = 0, maxKbps = 0;
    bool writeVbrTag = true;
    bool crc = false;
};

struct OggSetup {
    int rate = 44100;
    int channels = 2;
    int nominalKbps = 0;      // > 0: managed bit rate
    float quality = 0.5f;     // used when nominalKbps is 0
};

struct WmaSetup {
    int rate = 44100;
    int channels = 2;
    int kbps = 128;
};

// The built-in MP3 presets 1..11 (see the table in EncoderSettings.cpp);
// nullptr outside.
const Mp3Setup* Mp3Preset(int preset);

Mp3Setup ResolveMp3(const FileFormat& f);
OggSetup ResolveOgg(const FileFormat& f);
WmaSetup ResolveWma(const FileFormat& f);
// The figures a WMA profile code stands for; false for an unknown code.
bool WmaProfile(int code, WmaSetup* out);

// Opens a configured LAME handle, nullptr with *why on refusal.
lame_global_struct* OpenLame(const Mp3Setup& s, std::string* why);
// Sets up *vi for the settings (nearest accepted nominal bit rate when the
// asked one is refused); false with *why when nothing fits. On success the
// caller owns *vi (vorbis_info_clear).
bool InitVorbisInfo(vorbis_info* vi, OggSetup& s, std::string* why);
// Opens a wmav2 encoder; raises the bit rate to the lowest one accepted when
// the asked one is refused. nullptr with *why when nothing fits.
AVCodecContext* OpenWmaCodec(WmaSetup& s, bool globalHeader, std::string* why);

// Whether LAME encodes exactly this constant bit rate at this output rate.
bool LameAcceptsCbr(int rate, int kbps, int channels);
// Whether libvorbis accepts exactly this nominal (managed) bit rate.
bool VorbisAcceptsBitRate(int rate, int channels, int kbps);

}  // namespace sw
