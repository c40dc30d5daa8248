#pragma once
// The output-format settings object (the editor's and the file writer's) and
// the MP3 encoder parameter object.
#include <string>

namespace sw {

// MP3 encoder parameter object. Preset 0 means "no preset": the VBR fields
// steer the encoder; Preset 1..11 select the built-in presets.
struct LameEncParams {
    int Preset = 0;
    int Channels = 2;          // 1 or 2
    int StereoMode = 1;        // 1 stereo, 2 joint stereo, 4 dual channels
    int MaxBitRate = 320;      // kbps
    int MinBitRate = 32;       // kbps
    int VbrMethod = 0;         // 0 quality driven, 4 average bit rate
    int VbrQuality = 7;        // 0 smallest .. 9 best
    int AbrBitRate = 128;      // kbps
    bool WriteVbrHeader = true;
    bool Crc = false;
};

// Format codes of SaveFile.
enum FormatCode { FormatWav = 1, FormatMp3 = 2, FormatOgg = 6, FormatWma = 11 };

class FileFormat {
public:
    struct Wave { int rate = 44100, channels = 2, bits = 16; };
    struct Mp3 {
        bool useLame = false;           // false: constant bit rate fields below
        int rate = 44100, kbps = 192, channels = 2;
        LameEncParams lame;
    };
    struct Ogg { int rate = 44100, channels = 2, nominalKbps = 192, quality = -1; };  // quality 600 = 0.6
    struct Wma { int profile = 10; };

    void SetWaveFormat(int rate, int channels, int bits);
    void SetMp3Cbr(int rate, int kbps, int channels);
    void SetMp3Lame(const LameEncParams& params);
    void SetOggFormat(int rate, int channels, int nominalKbps, int reserved1, int reserved2, int quality);
    void SetWmaProfile(int profileCode);

    // The format of the last Set* call, or 0 when none was called.
    int LastCode() const { return lastCode_; }

    Wave wave;
    Mp3 mp3;
    Ogg ogg;
    Wma wma;

private:
    int lastCode_ = 0;
};

// The format code for a file name's extension (".wav" 1, ".mp3" 2, ".ogg" 6,
// ".wma" 11), 0 when the extension is not a save format.
int FormatCodeForPath(const std::string& path);

}  // namespace sw
