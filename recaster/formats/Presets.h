#pragma once
// The catalogue of output formats: for every class and format its preset
// list (labels in list order) and the output settings each preset gives,
// the output extension, and the build of the output settings of a choice.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "encoder/EncoderTypes.h"

namespace rc {

enum TTuning { TuningNone = 0, TuningDevice, TuningPSP };

// One preset row. Empty texts and -1 numbers are unset.
struct TPresetRow {
    QString Label;
    QString VideoCodec, VideoTag, VideoPreset, FrameSize, FrameRate;
    int VideoBitrate = -1;
    QString AudioCodec;
    int AudioChannels = -1, AudioSampleRate = -1, AudioBitrate = -1;
    QString FormatName, AspectRatio;
    int VideoMaxRate = -1, VideoMinRate = -1, VideoBufferSize = -1;
    int TargetType = TargetNone, TargetNorm = NormAuto;
    TTuning Tuning = TuningNone;
    QString ExtraOptions;
    bool InputAudioBitrate = false;  // the audio bit rate is the input's

    // Chained setters for the "Other" column.
    TPresetRow& Aspect(const QString& a) { AspectRatio = a; return *this; }
    TPresetRow& Container(const QString& c) { FormatName = c; return *this; }
    TPresetRow& Limits(int maxRate, int minRate, int buffer) {
        VideoMaxRate = maxRate; VideoMinRate = minRate; VideoBufferSize = buffer; return *this;
    }
    TPresetRow& Target(int type, int norm) { TargetType = type; TargetNorm = norm; return *this; }
    TPresetRow& Tune(TTuning t) { Tuning = t; return *this; }
    TPresetRow& Extra(const QString& e) { ExtraOptions = e; return *this; }
};

// The two tuning texts.
extern const QString kDeviceTuningText;
extern const QString kPSPTuningText;
// The options the video preset "libx264-default" stands for, in order.
const QStringList& Libx264DefaultOptions();

// The rows of a format; empty for an unknown class or format.
const std::vector<TPresetRow>& PresetRows(int formatClass, int format);
QStringList PresetLabels(int formatClass, int format);
// The preset list's object name ("ImageComboBoxAVIPresets"), empty when unknown.
QString PresetListName(int formatClass, int format);
// ".avi" ...; empty for an unknown class or format.
QString OutputExtension(int formatClass, int format);

// What the build needs to know of the probed input (absent in join mode).
struct TProbedInput {
    int64_t AudioBitrate = 0;  // bits per second, 0 when unknown
};

// The output settings of a choice without FileName and FileExt; nullopt for
// an unknown class or format. A preset index without a row leaves the base
// settings only.
std::optional<TOutputOptions> BuildOutputOptions(int formatClass, int format, int preset,
                                                 const std::optional<TProbedInput>& input = std::nullopt);

}  // namespace rc
