#include "OutputFormats.h"

#include <QDialog>
#include <algorithm>
#include <memory>

#include "GlobalVars.h"
#include "codec/TAudioFile2.h"
#include "DialogConventions.h"
#include "DialogService.h"
#include "Mp3FormatForm.h"
#include "OggFormatForm.h"
#include "WaveFormatForm.h"
#include "WmaFormatForm.h"

namespace {

constexpr int kSampleRates[kWaveSampleRateCount] = {8000, 11025, 12000, 16000, 22050,
                                                     24000, 32000, 44100, 48000, 96000};
constexpr const char* kSampleRateTexts[kWaveSampleRateCount] = {
    "8,000 Hz", "11,025 Hz", "12,000 Hz", "16,000 Hz", "22,050 Hz",
    "24,000 Hz", "32,000 Hz", "44,100 Hz", "48,000 Hz", "96,000 Hz"};
constexpr int kBitDepths[kWaveBitDepthCount] = {8, 16, 24, 32};
constexpr const char* kMp3Modes[4] = {"Stereo", "Joint Stereo", "Dual Channels", "Mono"};
constexpr int kMp3Full[kMp3FullBitRateCount] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kOggRates[kOggBitRateCount] = {64, 96, 128, 160, 192, 256, 350};

constexpr int kSampleRateFallback = 44100;
constexpr int kBitDepthFallback = 16;
constexpr int kBitRateFallback = 192;
constexpr int kMp3Rate = 44100;
constexpr int kOggRate = 44100;

constexpr WavPresetRow kWavPresets[] = {
    {"FM Quality", "22,050 Hz, 16 bits, Stereo", 22050, 2, 16},
    {"CD Quality", "44,100 Hz, 16 bits, Stereo", 44100, 2, 16},
    {"Hi-Fi Quality", "96,000 Hz, 16 bits, Stereo", 96000, 2, 16},
};
constexpr WavPresetRow kWavPresetFallback = {"", "", 44100, 2, 16};

constexpr Mp3PresetRow kMp3Presets[] = {
    {"Phone Quality", "[MPEG 2.5, Layer 3, 16kbps, Mono]", 1},
    {"Shortwave Quality", "[MPEG 2.5, Layer 3, 24kbps, Mono]", 2},
    {"AM Quality", "[MPEG 2, Layer 3, 32kbps, Mono]", 3},
    {"FM Quality", "[MPEG 2, Layer 3, 96kbps, Joint Stereo]", 4},
    {"Voice Quality", "[MPEG 1, Layer 3, 64kbps, Mono]", 5},
    {"Radio Quality", "[MPEG 1, Layer 3, 112kbps, Joint Stereo]", 6},
    {"Tape Quality", "[MPEG 1, Layer 3, 128kbps, Joint Stereo]", 7},
    {"Hi-Fi Quality", "[MPEG 1, Layer 3, 160kbps, Joint Stereo]", 8},
    {"CD Quality", "[MPEG 1, Layer 3, 192kbps, Stereo]", 9},
    {"Studio Quality", "[MPEG 1, Layer 3, 256kbps, Stereo]", 10},
    {"Super Quality!", "[MPEG 1, Layer 3, 320kbps, Stereo]", 11},
};

constexpr OggPresetRow kOggPresets[] = {
    {"Voice Quality", "64 kbps, Mono", 1, 64},
    {"FM Quality", "96 kbps, Stereo", 2, 96},
    {"Tape Quality", "128 kbps, Stereo", 2, 128},
    {"Hi-Fi Quality", "160 kbps, Stereo", 2, 160},
    {"CD Quality", "192 kbps, Stereo", 2, 192},
    {"Studio Quality", "256 kbps, Stereo", 2, 256},
    {"Best Quality", "320 kbps, Stereo", 2, 320},
};

constexpr WmaPresetRow kWmaPresets[] = {
    {"Phone Quality", "[WMA, 8 kbps, 8,000 Hz, Mono]", 36},
    {"FM Quality", "[WMA, 32 kbps, 22,050 Hz, Stereo]", 23},
    {"High Quality Mono", "[WMA, 48 kbps, 44,100 Hz, Mono]", 16},
    {"Radio Quality", "[WMA, 64 kbps, 44,100 Hz, Stereo]", 13},
    {"Tape Quality", "[WMA, 96 kbps, 44,100 Hz, Stereo]", 11},
    {"CD Quality", "[WMA, 128 kbps, 44,100 Hz, Stereo]", 10},
    {"Studio Quality", "[WMA, 192 kbps, 44,100 Hz, Stereo]", 8},
};

template <class T, int N>
const T* RowAt(const T (&rows)[N], int i) {
    return i >= 0 && i < N ? &rows[i] : nullptr;
}

bool InRange(int i, int n) { return i >= 0 && i < n; }

// The quality percent (1..100) as the encoder's tenths of a percent. A value
// outside the range, as a hand-edited settings file may hold, is brought to
// the nearest end: below 0 the encoder would read "no quality" and fall back
// to a bit rate nobody chose.
int OggQualityPermille(int percent) { return std::clamp(percent, 1, 100) * 10; }

// The minimum list is the full list without its last entry, the maximum list
// without its first.
int MinListKbps(int i) { return InRange(i, kMp3MinBitRateCount) ? kMp3Full[i] : 0; }
int MaxListKbps(int i) { return InRange(i, kMp3MaxBitRateCount) ? kMp3Full[i + 1] : 0; }
int FullListKbps(int i) { return InRange(i, kMp3FullBitRateCount) ? kMp3Full[i] : 0; }

QString KbpsText(int kbps) { return kbps > 0 ? QString::number(kbps) + "kbps" : QStringLiteral("kbps"); }

QStringList KbpsItems(int first, int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) out << QString::number(kMp3Full[first + i]) + " kbps";
    return out;
}

}  // namespace

int WaveSampleRate(int index) {
    return InRange(index, kWaveSampleRateCount) ? kSampleRates[index] : kSampleRateFallback;
}

QString WaveSampleRateText(int index) {
    return InRange(index, kWaveSampleRateCount) ? QString::fromLatin1(kSampleRateTexts[index])
                                                : QStringLiteral("Unknow Hz");
}

int WaveBitDepth(int index) { return InRange(index, kWaveBitDepthCount) ? kBitDepths[index] : kBitDepthFallback; }

QString WaveBitDepthText(int index) {
    return InRange(index, kWaveBitDepthCount) ? QString::number(kBitDepths[index]) + " bits"
                                              : QStringLiteral("Unknow bits");
}

int ModeChannels(int mode) { return mode == 1 ? 1 : 2; }

QString WaveModeText(int mode) {
    if (mode == 0) return QStringLiteral("Stereo");
    if (mode == 1) return QStringLiteral("Mono");
    return QStringLiteral("Unknow");
}

QString OggModeText(int mode) { return mode == 0 ? QStringLiteral("Stereo") : QStringLiteral("Mono"); }

QString Mp3ModeText(int mode) { return InRange(mode, 4) ? QString::fromLatin1(kMp3Modes[mode]) : QStringLiteral("Unknow"); }

int Mp3FullBitRate(int index) { return FullListKbps(index) ? FullListKbps(index) : kBitRateFallback; }
int Mp3MinBitRate(int index) { return MinListKbps(index) ? MinListKbps(index) : kBitRateFallback; }
int Mp3MaxBitRate(int index) { return MaxListKbps(index) ? MaxListKbps(index) : kBitRateFallback; }
QString Mp3FullBitRateText(int index) { return KbpsText(FullListKbps(index)); }
QString Mp3MinBitRateText(int index) { return KbpsText(MinListKbps(index)); }
QString Mp3MaxBitRateText(int index) { return KbpsText(MaxListKbps(index)); }

int OggBitRate(int index) { return InRange(index, kOggBitRateCount) ? kOggRates[index] : kBitRateFallback; }

QString OggBitRateText(int index) {
    return InRange(index, kOggBitRateCount) ? QString::number(kOggRates[index]) : QStringLiteral("Unknow");
}

QStringList WaveSampleRateItems() {
    QStringList out;
    for (int r : kSampleRates) out << QString::number(r) + " Hz";
    return out;
}

QStringList WaveBitDepthItems() {
    QStringList out;
    for (int b : kBitDepths) out << QString::number(b) + " bits";
    return out;
}

QStringList Mp3ModeItems() {
    QStringList out;
    for (const char* m : kMp3Modes) out << QString::fromLatin1(m);
    return out;
}

QStringList Mp3FullBitRateItems() { return KbpsItems(0, kMp3FullBitRateCount); }
QStringList Mp3MinBitRateItems() { return KbpsItems(0, kMp3MinBitRateCount); }
QStringList Mp3MaxBitRateItems() { return KbpsItems(1, kMp3MaxBitRateCount); }

QStringList OggBitRateItems() {
    QStringList out;
    for (int r : kOggRates) out << QString::number(r) + " kbps";
    return out;
}

const WavPresetRow* WavPresetAt(int position) { return RowAt(kWavPresets, position); }
const Mp3PresetRow* Mp3PresetAt(int position) { return RowAt(kMp3Presets, position); }
const OggPresetRow* OggPresetAt(int position) { return RowAt(kOggPresets, position); }
const WmaPresetRow* WmaPresetAt(int position) { return RowAt(kWmaPresets, position); }

// ---- Descriptions ----------------------------------------------------------

Mp3SpecifiedSettings Mp3SpecifiedSettings::FromVars(const TGlobalVars& v) {
    Mp3SpecifiedSettings s;
    s.Mode = v.OutputMP3Mode;
    s.CBR = v.OutputMP3CBR;
    s.CBRBitRate = v.OutputMP3CBRBitRate;
    s.VBRBitRateMin = v.OutputMP3VBRBitRateMin;
    s.VBRBitRateMax = v.OutputMP3VBRBitRateMax;
    s.QualityLevel = v.OutputMP3QualityLevel;
    s.QualityLevelValue = v.OutputMP3QualityLevelValue;
    s.ABRBitRate = v.OutputMP3ABRBitRate;
    s.WriteXING = v.OutputMP3WriteXING;
    s.Checksum = v.OutputMP3Checksum;
    return s;
}

QString DescribeWaveSettings(int rateIndex, int bitDepthIndex, int mode) {
    return QStringLiteral("WAV, %1, %2, %3")
        .arg(WaveSampleRateText(rateIndex), WaveBitDepthText(bitDepthIndex), WaveModeText(mode));
}

QString DescribeMp3Settings(const Mp3SpecifiedSettings& s) {
    QString text;
    if (s.CBR) {
        text = Mp3FullBitRateText(s.CBRBitRate) + ", " + Mp3ModeText(s.Mode);
    } else {
        const QString steering = s.QualityLevel ? QStringLiteral("Quality %1").arg(s.QualityLevelValue)
                                                : QStringLiteral("Average %1").arg(Mp3FullBitRateText(s.ABRBitRate));
        text = QStringLiteral("Variable %1 - %2, %3, %4")
                   .arg(Mp3MinBitRateText(s.VBRBitRateMin), Mp3MaxBitRateText(s.VBRBitRateMax), steering,
                        Mp3ModeText(s.Mode));
        if (s.WriteXING) text += ", XING compatible variable bit rate header";
    }
    if (s.Checksum) text += ", Checksum on";
    return "MPEG 1, Layer 3, " + text;
}

QString DescribeOggSettings(int mode, bool abr, int quality, int bitRateIndex) {
    if (abr) return QStringLiteral("Average Bit Rate: %1 kbps, %2").arg(OggBitRateText(bitRateIndex), OggModeText(mode));
    return QStringLiteral("Variable bit rate %1%, %2").arg(quality).arg(OggModeText(mode));
}

QString DescribeWaveSettings(const TGlobalVars& v) {
    return DescribeWaveSettings(v.OutputWAVSampleType, v.OutputWAVBitesPerSample, v.OutputWAVMode);
}

QString DescribeMp3Settings(const TGlobalVars& v) { return DescribeMp3Settings(Mp3SpecifiedSettings::FromVars(v)); }

QString DescribeOggSettings(const TGlobalVars& v) {
    return DescribeOggSettings(v.OutputOGGMode, v.OutputOGGABR, v.OutputOGGQualityValue, v.OutputOGGABRBitRate);
}

// ---- Apply -----------------------------------------------------------------

void ApplyWaveFormat(const TGlobalVars& v, OutputFormatTarget& target) {
    if (v.OutputWAVType == 1) {
        target.SetWaveFormat(WaveSampleRate(v.OutputWAVSampleType), ModeChannels(v.OutputWAVMode),
                             WaveBitDepth(v.OutputWAVBitesPerSample));
        return;
    }
    const WavPresetRow* row = WavPresetAt(v.OutputWAVPersets);
    if (!row) row = &kWavPresetFallback;
    target.SetWaveFormat(row->Rate, row->Channels, row->Bits);
}

void ApplyMp3Format(const TGlobalVars& v, OutputFormatTarget& target, sw::LameEncParams& lame) {
    if (v.OutputMP3Type != 1) {
        const Mp3PresetRow* row = Mp3PresetAt(v.OutputMP3Presets);
        if (!row) return;   // an unknown preset configures nothing
        lame.Preset = row->EncoderPreset;
        target.SetMp3Lame(lame);
        return;
    }
    const Mp3SpecifiedSettings s = Mp3SpecifiedSettings::FromVars(v);
    if (s.CBR) {
        target.SetMp3Cbr(kMp3Rate, Mp3FullBitRate(s.CBRBitRate), s.Mode == 3 ? 1 : 2);
        return;
    }
    // The parameter object outlives one save: a preset left from an earlier
    // apply would decide the encoding over the fields set here.
    lame.Preset = 0;
    switch (s.Mode) {
    case 1: lame.Channels = 2; lame.StereoMode = 2; break;
    case 2: lame.Channels = 2; lame.StereoMode = 4; break;
    case 3: lame.Channels = 1; break;
    default: lame.Channels = 2; lame.StereoMode = 1; break;   // Stereo, and any unknown mode
    }
    lame.MaxBitRate = Mp3MaxBitRate(s.VBRBitRateMax);
    lame.MinBitRate = Mp3MinBitRate(s.VBRBitRateMin);
    if (s.QualityLevel) {
        lame.VbrMethod = 0;
        lame.VbrQuality = 9 - s.QualityLevelValue;
    } else {
        lame.VbrMethod = 4;
        lame.AbrBitRate = Mp3FullBitRate(s.ABRBitRate);
    }
    lame.WriteVbrHeader = s.WriteXING;
    lame.Crc = s.Checksum;
    target.SetMp3Lame(lame);
}

void ApplyOggFormat(const TGlobalVars& v, OutputFormatTarget& target) {
    if (v.OutputOGGType != 1) {
        const OggPresetRow* row = OggPresetAt(v.OutputOGGPresets);
        if (!row) return;
        target.SetOggFormat(kOggRate, row->Channels, row->Kbps, 0, 0, -1);
        return;
    }
    const int channels = ModeChannels(v.OutputOGGMode);
    if (v.OutputOGGABR) target.SetOggFormat(kOggRate, channels, OggBitRate(v.OutputOGGABRBitRate), 0, 0, -1);
    else target.SetOggFormat(kOggRate, channels, 0, 0, 0, OggQualityPermille(v.OutputOGGQualityValue));
}

void ApplyWmaFormat(const TGlobalVars& v, OutputFormatTarget& target) {
    if (const WmaPresetRow* row = WmaPresetAt(v.OutputWMAPresets)) target.SetWmaProfile(row->Profile);
}

void ApplyOutputFormat(int formatCode, const TGlobalVars& v, OutputFormatTarget& target, sw::LameEncParams& lame) {
    switch (formatCode) {
    case sw::FormatWav: ApplyWaveFormat(v, target); break;
    case sw::FormatMp3: ApplyMp3Format(v, target, lame); break;
    case sw::FormatOgg: ApplyOggFormat(v, target); break;
    case sw::FormatWma: ApplyWmaFormat(v, target); break;
    default: break;
    }
}

// The overloads for the two concrete targets.
#define SW_TARGET_OVERLOADS(Type)                                                              \
    void ApplyWaveFormat(const TGlobalVars& v, Type& t) {                                      \
        OutputFormatTargetOf<Type> a(t);                                                       \
        ApplyWaveFormat(v, a);                                                                 \
    }                                                                                          \
    void ApplyMp3Format(const TGlobalVars& v, Type& t, sw::LameEncParams& lame) {              \
        OutputFormatTargetOf<Type> a(t);                                                       \
        ApplyMp3Format(v, a, lame);                                                            \
    }                                                                                          \
    void ApplyOggFormat(const TGlobalVars& v, Type& t) {                                       \
        OutputFormatTargetOf<Type> a(t);                                                       \
        ApplyOggFormat(v, a);                                                                  \
    }                                                                                          \
    void ApplyWmaFormat(const TGlobalVars& v, Type& t) {                                       \
        OutputFormatTargetOf<Type> a(t);                                                       \
        ApplyWmaFormat(v, a);                                                                  \
    }                                                                                          \
    void ApplyOutputFormat(int code, const TGlobalVars& v, Type& t, sw::LameEncParams& lame) { \
        OutputFormatTargetOf<Type> a(t);                                                       \
        ApplyOutputFormat(code, v, a, lame);                                                   \
    }

SW_TARGET_OVERLOADS(sw::FileFormat)
SW_TARGET_OVERLOADS(sw::TAudioFile2)
#undef SW_TARGET_OVERLOADS

// ---- Dialogs ---------------------------------------------------------------

bool RunOutputFormatDialog(int formatCode, TGlobalVars& vars, QWidget* owner) {
    std::unique_ptr<TFormatSetupForm> dialog;
    switch (formatCode) {
    case sw::FormatWav: dialog = std::make_unique<TWaveFormatForm>(vars, owner); break;
    case sw::FormatMp3: dialog = std::make_unique<TMp3FormatForm>(vars, owner); break;
    case sw::FormatOgg: dialog = std::make_unique<TOGGFormatForm>(vars, owner); break;
    case sw::FormatWma: dialog = std::make_unique<TWMAFormatForm>(vars, owner); break;
    default: return false;
    }
    sw::PlaceCentredOver(dialog.get(), owner);
    dialog->LoadFromSettings();
    if (sw::ExecDialog(*dialog, owner) != QDialog::Accepted) return false;
    dialog->StoreToSettings();
    return true;
}
