#pragma once
// Output format settings: the value tables behind the "Output..." keys of the
// settings record, the one-line descriptions the format dialogs show, and the
// routines that put the settings onto an output target (the editor's
// FileFormat or the file writer TAudioFile2).
#include <QString>
#include <QStringList>

#include "codec/OutputFormat.h"

struct TGlobalVars;
class QWidget;
namespace sw { class TAudioFile2; }

// ---- Index tables ----------------------------------------------------------
// Each Value function gives the encoding value of an index and its fallback
// outside the table; each Text function the description text and its fallback.

constexpr int kWaveSampleRateCount = 10;   // 8000 .. 96000 Hz
constexpr int kWaveBitDepthCount = 4;      // 8, 16, 24, 32 bits
constexpr int kMp3FullBitRateCount = 14;   // 32 .. 320 kbps
constexpr int kMp3MinBitRateCount = 13;    // 32 .. 256 kbps
constexpr int kMp3MaxBitRateCount = 13;    // 40 .. 320 kbps
constexpr int kOggBitRateCount = 7;        // 64 .. 350 kbps

int WaveSampleRate(int index);              // Hz; 44100 outside
QString WaveSampleRateText(int index);      // "44,100 Hz"; "Unknow Hz" outside
int WaveBitDepth(int index);                // bits; 16 outside
QString WaveBitDepthText(int index);        // "16 bits"; "Unknow bits" outside
int ModeChannels(int mode);                 // WAV and OGG: 0 -> 2, 1 -> 1, other -> 2
QString WaveModeText(int mode);             // "Stereo", "Mono", "Unknow"
QString OggModeText(int mode);              // "Stereo" for 0, "Mono" otherwise
QString Mp3ModeText(int mode);              // "Stereo", "Joint Stereo", "Dual Channels", "Mono"; "Unknow" outside

int Mp3FullBitRate(int index);              // kbps; 192 outside
int Mp3MinBitRate(int index);
int Mp3MaxBitRate(int index);
QString Mp3FullBitRateText(int index);      // "192kbps"; "kbps" outside
QString Mp3MinBitRateText(int index);
QString Mp3MaxBitRateText(int index);
int OggBitRate(int index);                  // kbps; 192 outside
QString OggBitRateText(int index);          // "192"; "Unknow" outside

// Items of the combo boxes of the sub-dialogs ("44100 Hz", "16 bits",
// "192 kbps", ...), item index = table index.
QStringList WaveSampleRateItems();
QStringList WaveBitDepthItems();
QStringList Mp3ModeItems();
QStringList Mp3FullBitRateItems();
QStringList Mp3MinBitRateItems();
QStringList Mp3MaxBitRateItems();
QStringList OggBitRateItems();

// ---- Preset tables ---------------------------------------------------------
// Each gives nullptr for a slider position outside the table.

struct WavPresetRow { const char* Label1; const char* Label2; int Rate, Channels, Bits; };
struct Mp3PresetRow { const char* Label1; const char* Label2; int EncoderPreset; };
struct OggPresetRow { const char* Label1; const char* Label2; int Channels, Kbps; };
struct WmaPresetRow { const char* Label1; const char* Label2; int Profile; };

constexpr int kWavPresetMax = 2;
constexpr int kMp3PresetMax = 10;
constexpr int kOggPresetMax = 6;
constexpr int kWmaPresetMax = 6;

const WavPresetRow* WavPresetAt(int position);
const Mp3PresetRow* Mp3PresetAt(int position);
const OggPresetRow* OggPresetAt(int position);
const WmaPresetRow* WmaPresetAt(int position);

// ---- Descriptions ----------------------------------------------------------

// The MP3 fields of the settings record that the description and the
// specified-settings apply read.
struct Mp3SpecifiedSettings {
    int Mode = 0;
    bool CBR = true;
    int CBRBitRate = 10;
    int VBRBitRateMin = 8;
    int VBRBitRateMax = 12;
    bool QualityLevel = true;
    int QualityLevelValue = 2;
    int ABRBitRate = 10;
    bool WriteXING = true;
    bool Checksum = false;

    static Mp3SpecifiedSettings FromVars(const TGlobalVars& vars);
};

// "WAV, 44,100 Hz, 16 bits, Stereo".
QString DescribeWaveSettings(int rateIndex, int bitDepthIndex, int mode);
// "MPEG 1, Layer 3, 192kbps, Stereo", or the variable-bit-rate form.
QString DescribeMp3Settings(const Mp3SpecifiedSettings& s);
// "Variable bit rate 60%, Stereo" or "Average Bit Rate: 192 kbps, Stereo".
QString DescribeOggSettings(int mode, bool abr, int quality, int bitRateIndex);

// The same from the settings record.
QString DescribeWaveSettings(const TGlobalVars& vars);
QString DescribeMp3Settings(const TGlobalVars& vars);
QString DescribeOggSettings(const TGlobalVars& vars);

// ---- Applying the settings to an output target -----------------------------

// The five operations both kinds of output target offer.
class OutputFormatTarget {
public:
    virtual ~OutputFormatTarget() = default;
    virtual void SetWaveFormat(int rate, int channels, int bits) = 0;
    virtual void SetMp3Cbr(int rate, int kbps, int channels) = 0;
    virtual void SetMp3Lame(const sw::LameEncParams& params) = 0;
    virtual void SetOggFormat(int rate, int channels, int nominalKbps, int r1, int r2, int quality) = 0;
    virtual void SetWmaProfile(int profileCode) = 0;
};

// Adapts anything with those five members (sw::FileFormat, sw::TAudioFile2).
template <class T>
class OutputFormatTargetOf : public OutputFormatTarget {
public:
    explicit OutputFormatTargetOf(T& target) : t_(target) {}
    void SetWaveFormat(int rate, int channels, int bits) override { t_.SetWaveFormat(rate, channels, bits); }
    void SetMp3Cbr(int rate, int kbps, int channels) override { t_.SetMp3Cbr(rate, kbps, channels); }
    void SetMp3Lame(const sw::LameEncParams& params) override { t_.SetMp3Lame(params); }
    void SetOggFormat(int rate, int channels, int nominalKbps, int r1, int r2, int quality) override {
        t_.SetOggFormat(rate, channels, nominalKbps, r1, r2, quality);
    }
    void SetWmaProfile(int profileCode) override { t_.SetWmaProfile(profileCode); }
private:
    T& t_;
};

// Preset or specified WAV settings -> SetWaveFormat.
void ApplyWaveFormat(const TGlobalVars& vars, OutputFormatTarget& target);
void ApplyWaveFormat(const TGlobalVars& vars, sw::FileFormat& target);
void ApplyWaveFormat(const TGlobalVars& vars, sw::TAudioFile2& target);

// Preset -> lame.Preset and SetMp3Lame; specified constant bit rate ->
// SetMp3Cbr; specified variable bit rate -> the VBR fields of lame (its
// Preset cleared) and SetMp3Lame. `lame` keeps what it had otherwise.
void ApplyMp3Format(const TGlobalVars& vars, OutputFormatTarget& target, sw::LameEncParams& lame);
void ApplyMp3Format(const TGlobalVars& vars, sw::FileFormat& target, sw::LameEncParams& lame);
void ApplyMp3Format(const TGlobalVars& vars, sw::TAudioFile2& target, sw::LameEncParams& lame);

// Preset, average bit rate or quality -> SetOggFormat, always 44100 Hz.
void ApplyOggFormat(const TGlobalVars& vars, OutputFormatTarget& target);
void ApplyOggFormat(const TGlobalVars& vars, sw::FileFormat& target);
void ApplyOggFormat(const TGlobalVars& vars, sw::TAudioFile2& target);

// Preset -> SetWmaProfile.
void ApplyWmaFormat(const TGlobalVars& vars, OutputFormatTarget& target);
void ApplyWmaFormat(const TGlobalVars& vars, sw::FileFormat& target);
void ApplyWmaFormat(const TGlobalVars& vars, sw::TAudioFile2& target);

// The apply routine of a save format code (1 WAV, 2 MP3, 6 OGG, 11 WMA);
// other codes configure nothing.
void ApplyOutputFormat(int formatCode, const TGlobalVars& vars, OutputFormatTarget& target,
                       sw::LameEncParams& lame);
void ApplyOutputFormat(int formatCode, const TGlobalVars& vars, sw::FileFormat& target, sw::LameEncParams& lame);
void ApplyOutputFormat(int formatCode, const TGlobalVars& vars, sw::TAudioFile2& target, sw::LameEncParams& lame);

// ---- The format dialogs ----------------------------------------------------

// Runs the settings dialog of a save format code over `owner`: created,
// loaded from the record, run through sw::ExecDialog, stored back on OK.
// Returns whether it was confirmed; false for a code without a dialog.
bool RunOutputFormatDialog(int formatCode, TGlobalVars& vars, QWidget* owner);
