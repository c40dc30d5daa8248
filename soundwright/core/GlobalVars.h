#pragma once
// The settings record of soundwright: every key of section "SYSTEM" of
// system.dat, held in memory for the whole run.
#include <QString>

namespace sw { class IniFile; }

struct TGlobalVars {
    // General keys.
    QString LastOpenDir;
    bool ShowStartDialog = true;
    int CommandBarWidth = 210;
    bool EffectPanelOnFront = true;
    bool AccuEnabled = false;
    int AccuAttackTime = 100;
    int AccuReleaseTime = 300;
    int AccuAttackLevel = -45;
    int AccuReleaseLevel = -45;
    bool OP_PromptNewFile = true;
    int OP_DefSample = 44100;
    int OP_DefChannel = 2;
    bool OP_UseDefFolder = true;
    QString OP_WorkingFolder;
    bool OP_PlayAfterOpened = false;
    bool OP_PlayAfterEdit = false;
    bool OP_PlayAfterBookmark = false;
    bool OP_PlayAfterRegion = false;
    int RegionFormLeft = 0, RegionFormTop = 0, RegionFormWidth = 550, RegionFormHeight = 200;
    int BookmarkFormLeft = 0, BookmarkFormTop = 200, BookmarkFormWidth = 550, BookmarkFormHeight = 200;
    QString ExportFolder;
    int ExportFormat = 0;
    int FreAnalysisFormLeft = 0, FreAnalysisFormTop = 0, FreAnalysisFormWidth = 550, FreAnalysisFormHeight = 300;
    bool BatchFileFormatUseTheSame = true;
    int BatchFileFormatIndex = 1;
    bool BatchFileSaveFolderUseTheSame = true;
    QString BatchFileSaveFolderpath;
    int PreviewOperationTypes = -1;
    int DefNewFileSampleRate = 3;
    int DefNewFileChannels = 0;
    int SelectePartPercent = 100;
    int AudioInBufferPercent = 100;
    bool IncreaseSelection = true;
    int InsertSilenceTime = 100;

    // Stored effect values.
    int DefAmplify = 25, DefNormalize = 100, DefCompressorThreshold = -10, DefCompressorRate = 50,
        DefHighPass = 200;
    int EqualizerBuf[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    int DefEchoDelayTime = 200, DefEchoMixDepth = 70, DefEchoFeedbackGain = 40;
    int DefReverbDelayTime = 30, DefReverbMixDepth = 60, DefReverbFeedbackGain = 60,
        DefReverbGain = 30, DefReverbFrequency = 11025, DefReverbTaps = 8;
    int DefFadeInt = 50, DefFadeFin = 50;
    int DefMixChanLL = 50, DefMixChanLR = 50, DefMixChanRL = 50, DefMixChanRR = 50;
    int DefNoiseReductionThreshold = -13, DefNoiseReductionRate = 99, DefNoiseReductionRMSTime = 55;
    int DefSpeedChange = 100, DefPitchChange = 100;
    int DefPhaserDelayTime = 300, DefPhaserMixDepth = 30, DefPhaserFeedbackGain = 45;
    int DefFlangerDelayRate = 14, DefFlangerMixDepth = 50, DefFlangerFeedbackGain = 30,
        DefFlangerSweepDepth = 99, DefFlangerSweepRate = 18, DefFlangerSweepPhase = 40;
    int DefChorusDelayRate = 10, DefChorusMixDepth = 20, DefChorusFeedbackGain = 60,
        DefChorusSweepDepth = 0, DefChorusSweepRate = 0, DefChorusSweepPhase = 90;

    // Output format settings ("byte" fields keep the low 8 bits when read).
    unsigned char OutputWAVType = 0, OutputWAVPersets = 1, OutputWAVSampleType = 7,
                  OutputWAVBitesPerSample = 1, OutputWAVMode = 0;
    unsigned char OutputMP3Type = 0, OutputMP3Presets = 8, OutputMP3Mode = 0;
    bool OutputMP3CBR = true;
    unsigned char OutputMP3CBRBitRate = 10, OutputMP3VBRBitRateMin = 8, OutputMP3VBRBitRateMax = 12;
    bool OutputMP3QualityLevel = true;
    int OutputMP3QualityLevelValue = 2;
    unsigned char OutputMP3ABRBitRate = 10;
    bool OutputMP3WriteXING = true;
    bool OutputMP3Checksum = false;
    unsigned char OutputOGGType = 0, OutputOGGPresets = 4, OutputOGGMode = 0;
    bool OutputOGGABR = false;
    unsigned char OutputOGGABRBitRate = 4;
    int OutputOGGQualityValue = 60;
    unsigned char OutputWMAPresets = 5;

    // Sets every key to its start value; the folder keys take the given folders.
    void Reset(const QString& musicFolder, const QString& appDataFolder);

    // Keys of the record in file order.
    static QStringList Keys();
};

// Reads every key (each with its in-memory value as default) when the file
// exists and gives true; otherwise writes the whole record and gives false.
bool LoadSettings(TGlobalVars& vars, sw::IniFile& ini);
// Writes the whole record in one atomic write; false (see ini.errorString())
// when it could not be written.
bool SaveSettings(const TGlobalVars& vars, sw::IniFile& ini);
