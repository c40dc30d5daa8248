#include "GlobalVars.h"

#include <QStringList>
#include <variant>
#include <vector>

#include "IniFile.h"

namespace {

const QString kSection = QStringLiteral("SYSTEM");

// One key of the record: its name and where it lives.
struct Field {
    const char* key;
    std::variant<QString TGlobalVars::*, bool TGlobalVars::*, int TGlobalVars::*,
                 unsigned char TGlobalVars::*, int>
        member;   // int alternative: index into EqualizerBuf
};

const std::vector<Field>& Fields() {
    using G = TGlobalVars;
    static const std::vector<Field> fields = [] {
        std::vector<Field> f = {
            {"LastOpenDir", &G::LastOpenDir},
            {"ShowStartDialog", &G::ShowStartDialog},
            {"CommandBarWidth", &G::CommandBarWidth},
            {"EffectPanelOnFront", &G::EffectPanelOnFront},
            {"AccuEnabled", &G::AccuEnabled},
            {"AccuAttackTime", &G::AccuAttackTime},
            {"AccuReleaseTime", &G::AccuReleaseTime},
            {"AccuAttackLevel", &G::AccuAttackLevel},
            {"AccuReleaseLevel", &G::AccuReleaseLevel},
            {"OP_PromptNewFile", &G::OP_PromptNewFile},
            {"OP_DefSample", &G::OP_DefSample},
            {"OP_DefChannel", &G::OP_DefChannel},
            {"OP_UseDefFolder", &G::OP_UseDefFolder},
            {"OP_WorkingFolder", &G::OP_WorkingFolder},
            {"OP_PlayAfterOpened", &G::OP_PlayAfterOpened},
            {"OP_PlayAfterEdit", &G::OP_PlayAfterEdit},
            {"OP_PlayAfterBookmark", &G::OP_PlayAfterBookmark},
            {"OP_PlayAfterRegion", &G::OP_PlayAfterRegion},
            {"RegionFormLeft", &G::RegionFormLeft},
            {"RegionFormTop", &G::RegionFormTop},
            {"RegionFormWidth", &G::RegionFormWidth},
            {"RegionFormHeight", &G::RegionFormHeight},
            {"BookmarkFormLeft", &G::BookmarkFormLeft},
            {"BookmarkFormTop", &G::BookmarkFormTop},
            {"BookmarkFormWidth", &G::BookmarkFormWidth},
            {"BookmarkFormHeight", &G::BookmarkFormHeight},
            {"ExportFolder", &G::ExportFolder},
            {"ExportFormat", &G::ExportFormat},
            {"FreAnalysisFormLeft", &G::FreAnalysisFormLeft},
            {"FreAnalysisFormTop", &G::FreAnalysisFormTop},
            {"FreAnalysisFormWidth", &G::FreAnalysisFormWidth},
            {"FreAnalysisFormHeight", &G::FreAnalysisFormHeight},
            {"BatchFileFormatUseTheSame", &G::BatchFileFormatUseTheSame},
            {"BatchFileFormatIndex", &G::BatchFileFormatIndex},
            {"BatchFileSaveFolderUseTheSame", &G::BatchFileSaveFolderUseTheSame},
            {"BatchFileSaveFolderpath", &G::BatchFileSaveFolderpath},
            {"PreviewOperationTypes", &G::PreviewOperationTypes},
            {"DefNewFileSampleRate", &G::DefNewFileSampleRate},
            {"DefNewFileChannels", &G::DefNewFileChannels},
            {"SelectePartPercent", &G::SelectePartPercent},
            {"AudioInBufferPercent", &G::AudioInBufferPercent},
            {"IncreaseSelection", &G::IncreaseSelection},
            {"InsertSilenceTime", &G::InsertSilenceTime},
            {"DefAmplify", &G::DefAmplify},
            {"DefNormalize", &G::DefNormalize},
            {"DefCompressorThreshold", &G::DefCompressorThreshold},
            {"DefCompressorRate", &G::DefCompressorRate},
            {"DefHighPass", &G::DefHighPass},
        };
        static const char* const eq[12] = {
            "EqualizerBuf1", "EqualizerBuf2", "EqualizerBuf3", "EqualizerBuf4",
            "EqualizerBuf5", "EqualizerBuf6", "EqualizerBuf7", "EqualizerBuf8",
            "EqualizerBuf9", "EqualizerBuf10", "EqualizerBuf11", "EqualizerBuf12"};
        for (int i = 0; i < 12; ++i) f.push_back({eq[i], i});
        const std::vector<Field> rest = {
            {"DefEchoDelayTime", &G::DefEchoDelayTime},
            {"DefEchoMixDepth", &G::DefEchoMixDepth},
            {"DefEchoFeedbackGain", &G::DefEchoFeedbackGain},
            {"DefReverbDelayTime", &G::DefReverbDelayTime},
            {"DefReverbMixDepth", &G::DefReverbMixDepth},
            {"DefReverbFeedbackGain", &G::DefReverbFeedbackGain},
            {"DefReverbGain", &G::DefReverbGain},
            {"DefReverbFrequency", &G::DefReverbFrequency},
            {"DefReverbTaps", &G::DefReverbTaps},
            {"DefFadeInt", &G::DefFadeInt},
            {"DefFadeFin", &G::DefFadeFin},
            {"DefMixChanLL", &G::DefMixChanLL},
            {"DefMixChanLR", &G::DefMixChanLR},
            {"DefMixChanRL", &G::DefMixChanRL},
            {"DefMixChanRR", &G::DefMixChanRR},
            {"DefNoiseReductionThreshold", &G::DefNoiseReductionThreshold},
            {"DefNoiseReductionRate", &G::DefNoiseReductionRate},
            {"DefNoiseReductionRMSTime", &G::DefNoiseReductionRMSTime},
            {"DefSpeedChange", &G::DefSpeedChange},
            {"DefPitchChange", &G::DefPitchChange},
            {"DefPhaserDelayTime", &G::DefPhaserDelayTime},
            {"DefPhaserMixDepth", &G::DefPhaserMixDepth},
            {"DefPhaserFeedbackGain", &G::DefPhaserFeedbackGain},
            {"DefFlangerDelayRate", &G::DefFlangerDelayRate},
            {"DefFlangerMixDepth", &G::DefFlangerMixDepth},
            {"DefFlangerFeedbackGain", &G::DefFlangerFeedbackGain},
            {"DefFlangerSweepDepth", &G::DefFlangerSweepDepth},
            {"DefFlangerSweepRate", &G::DefFlangerSweepRate},
            {"DefFlangerSweepPhase", &G::DefFlangerSweepPhase},
            {"DefChorusDelayRate", &G::DefChorusDelayRate},
            {"DefChorusMixDepth", &G::DefChorusMixDepth},
            {"DefChorusFeedbackGain", &G::DefChorusFeedbackGain},
            {"DefChorusSweepDepth", &G::DefChorusSweepDepth},
            {"DefChorusSweepRate", &G::DefChorusSweepRate},
            {"DefChorusSweepPhase", &G::DefChorusSweepPhase},
            {"OutputWAVType", &G::OutputWAVType},
            {"OutputWAVPersets", &G::OutputWAVPersets},
            {"OutputWAVSampleType", &G::OutputWAVSampleType},
            {"OutputWAVBitesPerSample", &G::OutputWAVBitesPerSample},
            {"OutputWAVMode", &G::OutputWAVMode},
            {"OutputMP3Type", &G::OutputMP3Type},
            {"OutputMP3Presets", &G::OutputMP3Presets},
            {"OutputMP3Mode", &G::OutputMP3Mode},
            {"OutputMP3CBR", &G::OutputMP3CBR},
            {"OutputMP3CBRBitRate", &G::OutputMP3CBRBitRate},
            {"OutputMP3VBRBitRateMin", &G::OutputMP3VBRBitRateMin},
            {"OutputMP3VBRBitRateMax", &G::OutputMP3VBRBitRateMax},
            {"OutputMP3QualityLevel", &G::OutputMP3QualityLevel},
            {"OutputMP3QualityLevelValue", &G::OutputMP3QualityLevelValue},
            {"OutputMP3ABRBitRate", &G::OutputMP3ABRBitRate},
            {"OutputMP3WriteXING", &G::OutputMP3WriteXING},
            {"OutputMP3Checksum", &G::OutputMP3Checksum},
            {"OutputOGGType", &G::OutputOGGType},
            {"OutputOGGPresets", &G::OutputOGGPresets},
            {"OutputOGGMode", &G::OutputOGGMode},
            {"OutputOGGABR", &G::OutputOGGABR},
            {"OutputOGGABRBitRate", &G::OutputOGGABRBitRate},
            {"OutputOGGQualityValue", &G::OutputOGGQualityValue},
            {"OutputWMAPresets", &G::OutputWMAPresets},
        };
        f.insert(f.end(), rest.begin(), rest.end());
        return f;
    }();
    return fields;
}

template <class... Ts> struct Overload : Ts... { using Ts::operator()...; };
template <class... Ts> Overload(Ts...) -> Overload<Ts...>;

void ReadField(TGlobalVars& v, const Field& f, const sw::IniFile& ini) {
    const QString key = QString::fromLatin1(f.key);
    std::visit(Overload{
                   [&](QString TGlobalVars::*m) { v.*m = ini.ReadString(kSection, key, v.*m); },
                   [&](bool TGlobalVars::*m) { v.*m = ini.ReadBool(kSection, key, v.*m); },
                   [&](int TGlobalVars::*m) { v.*m = ini.ReadInteger(kSection, key, v.*m); },
                   [&](unsigned char TGlobalVars::*m) {
                       v.*m = static_cast<unsigned char>(ini.ReadInteger(kSection, key, v.*m) & 0xff);
                   },
                   [&](int eq) { v.EqualizerBuf[eq] = ini.ReadInteger(kSection, key, v.EqualizerBuf[eq]); },
               },
               f.member);
}

void WriteField(const TGlobalVars& v, const Field& f, sw::IniFile& ini) {
    const QString key = QString::fromLatin1(f.key);
    std::visit(Overload{
                   [&](QString TGlobalVars::*m) { ini.WriteString(kSection, key, v.*m); },
                   [&](bool TGlobalVars::*m) { ini.WriteBool(kSection, key, v.*m); },
                   [&](int TGlobalVars::*m) { ini.WriteInteger(kSection, key, v.*m); },
                   [&](unsigned char TGlobalVars::*m) { ini.WriteInteger(kSection, key, v.*m); },
                   [&](int eq) { ini.WriteInteger(kSection, key, v.EqualizerBuf[eq]); },
               },
               f.member);
}

}  // namespace

void TGlobalVars::Reset(const QString& musicFolder, const QString& appDataFolder) {
    *this = TGlobalVars();
    LastOpenDir = musicFolder;
    ExportFolder = musicFolder;
    BatchFileSaveFolderpath = musicFolder;
    OP_WorkingFolder = appDataFolder;
}

QStringList TGlobalVars::Keys() {
    QStringList keys;
    for (const Field& f : Fields()) keys << QString::fromLatin1(f.key);
    return keys;
}

bool LoadSettings(TGlobalVars& vars, sw::IniFile& ini) {
    if (!ini.exists()) {
        SaveSettings(vars, ini);
        return false;
    }
    for (const Field& f : Fields()) ReadField(vars, f, ini);
    return true;
}

bool SaveSettings(const TGlobalVars& vars, sw::IniFile& ini) {
    sw::IniUpdate update(ini);
    for (const Field& f : Fields()) WriteField(vars, f, ini);
    return update.finish();
}
