// The value tables, descriptions and apply routines of the output format
// settings, checked against a target that records every call.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GlobalVars.h"
#include "OutputFormats.h"
#include "codec/EncoderSettings.h"
#include "codec/TAudioFile2.h"

namespace {

// ---- Index tables ----------------------------------------------------------

struct IndexCase {
    int index;
    int value;
    const char* text;
};

TEST(OutputFormatTables, SampleRates) {
    const IndexCase cases[] = {{0, 8000, "8,000 Hz"},   {1, 11025, "11,025 Hz"}, {2, 12000, "12,000 Hz"},
                               {3, 16000, "16,000 Hz"}, {4, 22050, "22,050 Hz"}, {5, 24000, "24,000 Hz"},
                               {6, 32000, "32,000 Hz"}, {7, 44100, "44,100 Hz"}, {8, 48000, "48,000 Hz"},
                               {9, 96000, "96,000 Hz"}, {10, 44100, "Unknow Hz"}, {12, 44100, "Unknow Hz"},
                               {255, 44100, "Unknow Hz"}, {-1, 44100, "Unknow Hz"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(WaveSampleRate(c.index), c.value);
        EXPECT_EQ(WaveSampleRateText(c.index), c.text);
    }
}

TEST(OutputFormatTables, BitDepths) {
    const IndexCase cases[] = {{0, 8, "8 bits"},   {1, 16, "16 bits"},      {2, 24, "24 bits"},
                               {3, 32, "32 bits"}, {4, 16, "Unknow bits"}, {7, 16, "Unknow bits"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(WaveBitDepth(c.index), c.value);
        EXPECT_EQ(WaveBitDepthText(c.index), c.text);
    }
}

TEST(OutputFormatTables, Mp3BitRateLists) {
    const int full[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    for (int i = 0; i < 14; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Mp3FullBitRate(i), full[i]);
        EXPECT_EQ(Mp3FullBitRateText(i), QString::number(full[i]) + "kbps");
        if (i < 13) {
            EXPECT_EQ(Mp3MinBitRate(i), full[i]);
            EXPECT_EQ(Mp3MaxBitRate(i), full[i + 1]);
            EXPECT_EQ(Mp3MinBitRateText(i), QString::number(full[i]) + "kbps");
            EXPECT_EQ(Mp3MaxBitRateText(i), QString::number(full[i + 1]) + "kbps");
        }
    }
    // Outside the lists: 192 kbps when encoding, "kbps" without a number.
    const struct { std::function<int(int)> value; std::function<QString(int)> text; int firstOutside; } lists[] = {
        {Mp3FullBitRate, Mp3FullBitRateText, 14},
        {Mp3MinBitRate, Mp3MinBitRateText, 13},
        {Mp3MaxBitRate, Mp3MaxBitRateText, 13},
    };
    for (const auto& l : lists)
        for (int i : {l.firstOutside, 200, -1}) {
            SCOPED_TRACE(i);
            EXPECT_EQ(l.value(i), 192);
            EXPECT_EQ(l.text(i), "kbps");
        }
}

TEST(OutputFormatTables, OggBitRates) {
    const IndexCase cases[] = {{0, 64, "64"},   {1, 96, "96"},   {2, 128, "128"},     {3, 160, "160"},
                               {4, 192, "192"}, {5, 256, "256"}, {6, 350, "350"},     {7, 192, "Unknow"},
                               {99, 192, "Unknow"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(OggBitRate(c.index), c.value);
        EXPECT_EQ(OggBitRateText(c.index), c.text);
    }
}

TEST(OutputFormatTables, ModeTextsAndChannels) {
    const struct { int mode; int channels; const char* wav; const char* ogg; const char* mp3; } cases[] = {
        {0, 2, "Stereo", "Stereo", "Stereo"},
        {1, 1, "Mono", "Mono", "Joint Stereo"},
        {2, 2, "Unknow", "Mono", "Dual Channels"},
        {3, 2, "Unknow", "Mono", "Mono"},
        {4, 2, "Unknow", "Mono", "Unknow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(ModeChannels(c.mode), c.channels);
        EXPECT_EQ(WaveModeText(c.mode), c.wav);
        EXPECT_EQ(OggModeText(c.mode), c.ogg);
        EXPECT_EQ(Mp3ModeText(c.mode), c.mp3);
    }
}

TEST(OutputFormatTables, ComboItems) {
    const struct { QStringList items; int count; const char* first; const char* last; } cases[] = {
        {WaveSampleRateItems(), 10, "8000 Hz", "96000 Hz"},
        {WaveBitDepthItems(), 4, "8 bits", "32 bits"},
        {Mp3ModeItems(), 4, "Stereo", "Mono"},
        {Mp3FullBitRateItems(), 14, "32 kbps", "320 kbps"},
        {Mp3MinBitRateItems(), 13, "32 kbps", "256 kbps"},
        {Mp3MaxBitRateItems(), 13, "40 kbps", "320 kbps"},
        {OggBitRateItems(), 7, "64 kbps", "350 kbps"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_EQ(c.items.size(), c.count);
        EXPECT_EQ(c.items.first(), c.first);
        EXPECT_EQ(c.items.last(), c.last);
    }
    EXPECT_EQ(WaveSampleRateItems().at(7), "44100 Hz");
    EXPECT_EQ(Mp3ModeItems().at(2), "Dual Channels");
    // An item index is the table index.
    for (int i = 0; i < 13; ++i) EXPECT_EQ(Mp3MaxBitRateItems().at(i), QString::number(Mp3MaxBitRate(i)) + " kbps");
    for (int i = 0; i < 7; ++i) EXPECT_EQ(OggBitRateItems().at(i), QString::number(OggBitRate(i)) + " kbps");
}

// ---- Preset tables ---------------------------------------------------------

TEST(OutputFormatPresets, RowsAndOutside) {
    ASSERT_NE(WavPresetAt(0), nullptr);
    EXPECT_STREQ(WavPresetAt(0)->Label1, "FM Quality");
    EXPECT_STREQ(WavPresetAt(2)->Label2, "96,000 Hz, 16 bits, Stereo");
    EXPECT_EQ(WavPresetAt(2)->Rate, 96000);
    EXPECT_STREQ(Mp3PresetAt(10)->Label1, "Super Quality!");
    EXPECT_STREQ(Mp3PresetAt(3)->Label2, "[MPEG 2, Layer 3, 96kbps, Joint Stereo]");
    EXPECT_STREQ(OggPresetAt(0)->Label2, "64 kbps, Mono");
    EXPECT_STREQ(OggPresetAt(6)->Label1, "Best Quality");
    EXPECT_STREQ(WmaPresetAt(2)->Label1, "High Quality Mono");
    EXPECT_STREQ(WmaPresetAt(0)->Label2, "[WMA, 8 kbps, 8,000 Hz, Mono]");
    for (int p = 0; p <= kMp3PresetMax; ++p) EXPECT_EQ(Mp3PresetAt(p)->EncoderPreset, p + 1);

    const struct { const void* row; const char* what; } outside[] = {
        {WavPresetAt(kWavPresetMax + 1), "wav"}, {Mp3PresetAt(kMp3PresetMax + 1), "mp3"},
        {OggPresetAt(kOggPresetMax + 1), "ogg"}, {WmaPresetAt(kWmaPresetMax + 1), "wma"},
        {WavPresetAt(-1), "wav -1"},
    };
    for (const auto& o : outside) EXPECT_EQ(o.row, nullptr) << o.what;
}

// ---- Descriptions ----------------------------------------------------------

struct DescribeCase {
    const char* name;
    std::function<void(TGlobalVars&)> change;
    const char* expected;
};

TEST(OutputFormatDescriptions, Wave) {
    const DescribeCase cases[] = {
        {"defaults", [](TGlobalVars&) {}, "WAV, 44,100 Hz, 16 bits, Stereo"},
        {"fm mono 8", [](TGlobalVars& v) { v.OutputWAVSampleType = 4; v.OutputWAVBitesPerSample = 0; v.OutputWAVMode = 1; },
         "WAV, 22,050 Hz, 8 bits, Mono"},
        {"rate 12", [](TGlobalVars& v) { v.OutputWAVSampleType = 12; }, "WAV, Unknow Hz, 16 bits, Stereo"},
        {"depth 7", [](TGlobalVars& v) { v.OutputWAVBitesPerSample = 7; }, "WAV, 44,100 Hz, Unknow bits, Stereo"},
        {"mode 2", [](TGlobalVars& v) { v.OutputWAVMode = 2; }, "WAV, 44,100 Hz, 16 bits, Unknow"},
    };
    for (const auto& c : cases) {
        TGlobalVars v;
        c.change(v);
        EXPECT_EQ(DescribeWaveSettings(v), c.expected) << c.name;
    }
}

TEST(OutputFormatDescriptions, Mp3) {
    const DescribeCase cases[] = {
        {"defaults", [](TGlobalVars&) {}, "MPEG 1, Layer 3, 192kbps, Stereo"},
        {"vbr defaults", [](TGlobalVars& v) { v.OutputMP3CBR = false; },
         "MPEG 1, Layer 3, Variable 128kbps - 320kbps, Quality 2, Stereo, XING compatible variable bit rate header"},
        {"vbr average mono checksum",
         [](TGlobalVars& v) {
             v.OutputMP3CBR = false;
             v.OutputMP3QualityLevel = false;
             v.OutputMP3ABRBitRate = 8;
             v.OutputMP3VBRBitRateMin = 0;
             v.OutputMP3VBRBitRateMax = 0;
             v.OutputMP3Mode = 3;
             v.OutputMP3WriteXING = false;
             v.OutputMP3Checksum = true;
         },
         "MPEG 1, Layer 3, Variable 32kbps - 40kbps, Average 128kbps, Mono, Checksum on"},
        {"vbr quality 0", [](TGlobalVars& v) { v.OutputMP3CBR = false; v.OutputMP3QualityLevelValue = 0; v.OutputMP3WriteXING = false; },
         "MPEG 1, Layer 3, Variable 128kbps - 320kbps, Quality 0, Stereo"},
        {"cbr checksum joint", [](TGlobalVars& v) { v.OutputMP3Checksum = true; v.OutputMP3Mode = 1; },
         "MPEG 1, Layer 3, 192kbps, Joint Stereo, Checksum on"},
        {"cbr outside", [](TGlobalVars& v) { v.OutputMP3CBRBitRate = 20; v.OutputMP3Mode = 7; },
         "MPEG 1, Layer 3, kbps, Unknow"},
        {"vbr outside",
         [](TGlobalVars& v) {
             v.OutputMP3CBR = false;
             v.OutputMP3VBRBitRateMin = 13;
             v.OutputMP3VBRBitRateMax = 13;
             v.OutputMP3QualityLevel = false;
             v.OutputMP3ABRBitRate = 14;
         },
         "MPEG 1, Layer 3, Variable kbps - kbps, Average kbps, Stereo, XING compatible variable bit rate header"},
    };
    for (const auto& c : cases) {
        TGlobalVars v;
        c.change(v);
        EXPECT_EQ(DescribeMp3Settings(v), c.expected) << c.name;
    }
}

TEST(OutputFormatDescriptions, Ogg) {
    const DescribeCase cases[] = {
        {"defaults", [](TGlobalVars&) {}, "Variable bit rate 60%, Stereo"},
        {"quality mono", [](TGlobalVars& v) { v.OutputOGGQualityValue = 100; v.OutputOGGMode = 1; },
         "Variable bit rate 100%, Mono"},
        {"abr", [](TGlobalVars& v) { v.OutputOGGABR = true; v.OutputOGGABRBitRate = 2; }, "Average Bit Rate: 128 kbps, Stereo"},
        {"abr outside, mode 3", [](TGlobalVars& v) { v.OutputOGGABR = true; v.OutputOGGABRBitRate = 9; v.OutputOGGMode = 3; },
         "Average Bit Rate: Unknow kbps, Mono"},
    };
    for (const auto& c : cases) {
        TGlobalVars v;
        c.change(v);
        EXPECT_EQ(DescribeOggSettings(v), c.expected) << c.name;
    }
}

// ---- Apply -----------------------------------------------------------------

// One call on the target: its name and integer arguments (SetMp3Lame: the
// parameter object as it was handed over).
struct Call {
    std::string op;
    std::vector<int> args;
    sw::LameEncParams lame;
};

class RecordingTarget : public OutputFormatTarget {
public:
    void SetWaveFormat(int rate, int channels, int bits) override { calls.push_back({"wave", {rate, channels, bits}, {}}); }
    void SetMp3Cbr(int rate, int kbps, int channels) override { calls.push_back({"cbr", {rate, kbps, channels}, {}}); }
    void SetMp3Lame(const sw::LameEncParams& p) override { calls.push_back({"lame", {}, p}); }
    void SetOggFormat(int rate, int channels, int kbps, int r1, int r2, int quality) override {
        calls.push_back({"ogg", {rate, channels, kbps, r1, r2, quality}, {}});
    }
    void SetWmaProfile(int code) override { calls.push_back({"wma", {code}, {}}); }
    std::vector<Call> calls;
};

struct ApplyCase {
    const char* name;
    int formatCode;
    std::function<void(TGlobalVars&)> change;
    const char* op;              // nullptr: no call expected
    std::vector<int> args;
};

void RunApplyCases(const std::vector<ApplyCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGlobalVars v;
        c.change(v);
        RecordingTarget t;
        sw::LameEncParams lame;
        ApplyOutputFormat(c.formatCode, v, t, lame);
        if (!c.op) {
            EXPECT_TRUE(t.calls.empty());
            continue;
        }
        ASSERT_EQ(t.calls.size(), 1u);
        EXPECT_EQ(t.calls[0].op, c.op);
        EXPECT_EQ(t.calls[0].args, c.args);
    }
}

TEST(ApplyOutputFormat, Wave) {
    auto specified = [](int rate, int bits, int mode) {
        return [=](TGlobalVars& v) {
            v.OutputWAVType = 1;
            v.OutputWAVSampleType = static_cast<unsigned char>(rate);
            v.OutputWAVBitesPerSample = static_cast<unsigned char>(bits);
            v.OutputWAVMode = static_cast<unsigned char>(mode);
        };
    };
    auto preset = [](int p) { return [=](TGlobalVars& v) { v.OutputWAVPersets = static_cast<unsigned char>(p); }; };
    RunApplyCases({
        {"defaults", 1, [](TGlobalVars&) {}, "wave", {44100, 2, 16}},
        {"preset 0", 1, preset(0), "wave", {22050, 2, 16}},
        {"preset 2", 1, preset(2), "wave", {96000, 2, 16}},
        {"preset 9", 1, preset(9), "wave", {44100, 2, 16}},
        {"22050 mono 8", 1, specified(4, 0, 1), "wave", {22050, 1, 8}},
        {"96000 stereo 32", 1, specified(9, 3, 0), "wave", {96000, 2, 32}},
        {"outside", 1, specified(12, 7, 5), "wave", {44100, 2, 16}},
        {"specified fields ignored with preset", 1,
         [](TGlobalVars& v) { v.OutputWAVSampleType = 0; v.OutputWAVPersets = 0; }, "wave", {22050, 2, 16}},
    });
}

TEST(ApplyOutputFormat, OggAndWma) {
    auto ogg = [](bool abr, int rateIndex, int quality, int mode) {
        return [=](TGlobalVars& v) {
            v.OutputOGGType = 1;
            v.OutputOGGABR = abr;
            v.OutputOGGABRBitRate = static_cast<unsigned char>(rateIndex);
            v.OutputOGGQualityValue = quality;
            v.OutputOGGMode = static_cast<unsigned char>(mode);
        };
    };
    auto oggPreset = [](int p) { return [=](TGlobalVars& v) { v.OutputOGGPresets = static_cast<unsigned char>(p); }; };
    auto wma = [](int p) { return [=](TGlobalVars& v) { v.OutputWMAPresets = static_cast<unsigned char>(p); }; };
    RunApplyCases({
        {"ogg defaults", 6, [](TGlobalVars&) {}, "ogg", {44100, 2, 192, 0, 0, -1}},
        {"ogg preset 0", 6, oggPreset(0), "ogg", {44100, 1, 64, 0, 0, -1}},
        {"ogg preset 6", 6, oggPreset(6), "ogg", {44100, 2, 320, 0, 0, -1}},
        {"ogg preset 7", 6, oggPreset(7), nullptr, {}},
        {"ogg abr 350 mono", 6, ogg(true, 6, 60, 1), "ogg", {44100, 1, 350, 0, 0, -1}},
        {"ogg abr outside", 6, ogg(true, 9, 60, 0), "ogg", {44100, 2, 192, 0, 0, -1}},
        {"ogg quality 60", 6, ogg(false, 2, 60, 0), "ogg", {44100, 2, 0, 0, 0, 600}},
        {"ogg quality 1 mode 4", 6, ogg(false, 2, 1, 4), "ogg", {44100, 2, 0, 0, 0, 10}},
        {"ogg quality 100 mono", 6, ogg(false, 2, 100, 1), "ogg", {44100, 1, 0, 0, 0, 1000}},
        // Out-of-range qualities come to the nearest end of 1..100.
        {"ogg quality 0", 6, ogg(false, 2, 0, 0), "ogg", {44100, 2, 0, 0, 0, 10}},
        {"ogg quality -5", 6, ogg(false, 2, -5, 0), "ogg", {44100, 2, 0, 0, 0, 10}},
        {"ogg quality 250", 6, ogg(false, 2, 250, 0), "ogg", {44100, 2, 0, 0, 0, 1000}},
        {"wma defaults", 11, [](TGlobalVars&) {}, "wma", {10}},
        {"wma 0", 11, wma(0), "wma", {36}},
        {"wma 1", 11, wma(1), "wma", {23}},
        {"wma 2", 11, wma(2), "wma", {16}},
        {"wma 3", 11, wma(3), "wma", {13}},
        {"wma 4", 11, wma(4), "wma", {11}},
        {"wma 6", 11, wma(6), "wma", {8}},
        {"wma 7", 11, wma(7), nullptr, {}},
        {"no format 3", 3, [](TGlobalVars&) {}, nullptr, {}},
        {"no format 0", 0, [](TGlobalVars&) {}, nullptr, {}},
    });
}

TEST(ApplyOutputFormat, Mp3PresetAndConstant) {
    auto preset = [](int p) { return [=](TGlobalVars& v) { v.OutputMP3Presets = static_cast<unsigned char>(p); }; };
    auto cbr = [](int index, int mode) {
        return [=](TGlobalVars& v) {
            v.OutputMP3Type = 1;
            v.OutputMP3CBRBitRate = static_cast<unsigned char>(index);
            v.OutputMP3Mode = static_cast<unsigned char>(mode);
            v.OutputMP3Checksum = true;   // not part of the constant bit rate path
            v.OutputMP3WriteXING = false;
        };
    };
    RunApplyCases({
        {"cbr 128 mono", 2, cbr(8, 3), "cbr", {44100, 128, 1}},
        {"cbr 320 dual", 2, cbr(13, 2), "cbr", {44100, 320, 2}},
        {"cbr 32 joint", 2, cbr(0, 1), "cbr", {44100, 32, 2}},
        {"cbr outside", 2, cbr(14, 0), "cbr", {44100, 192, 2}},
        {"preset 11", 2, preset(11), nullptr, {}},
    });
    for (int p = 0; p <= kMp3PresetMax; ++p) {
        SCOPED_TRACE(p);
        TGlobalVars v;
        v.OutputMP3Presets = static_cast<unsigned char>(p);
        RecordingTarget t;
        sw::LameEncParams lame;
        lame.VbrQuality = 3;
        ApplyMp3Format(v, t, lame);
        ASSERT_EQ(t.calls.size(), 1u);
        EXPECT_EQ(t.calls[0].op, "lame");
        EXPECT_EQ(t.calls[0].lame.Preset, p + 1);
        EXPECT_EQ(lame.Preset, p + 1);
        EXPECT_EQ(lame.VbrQuality, 3);   // the preset path sets only Preset
    }
    // Constant bit rate and an unknown preset leave the parameter object alone.
    for (const std::function<void(TGlobalVars&)>& change :
         std::vector<std::function<void(TGlobalVars&)>>{cbr(8, 3), preset(11)}) {
        TGlobalVars v;
        change(v);
        RecordingTarget t;
        sw::LameEncParams lame;
        lame.Preset = 5;
        lame.Crc = false;
        ApplyMp3Format(v, t, lame);
        EXPECT_EQ(lame.Preset, 5);
        EXPECT_FALSE(lame.Crc);
    }
}

TGlobalVars VbrVars() {
    TGlobalVars v;
    v.OutputMP3Type = 1;
    v.OutputMP3CBR = false;
    return v;
}

TEST(ApplyOutputFormat, Mp3VariableFields) {
    const struct {
        const char* name;
        std::function<void(TGlobalVars&)> change;
        std::function<void(sw::LameEncParams&)> expect;   // from the starting object
    } cases[] = {
        {"defaults", [](TGlobalVars&) {},
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 1; p.MaxBitRate = 320; p.MinBitRate = 128;
             p.VbrMethod = 0; p.VbrQuality = 7; p.WriteVbrHeader = true; p.Crc = false;
         }},
        {"joint", [](TGlobalVars& v) { v.OutputMP3Mode = 1; },
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 2; p.MaxBitRate = 320; p.MinBitRate = 128;
             p.VbrMethod = 0; p.VbrQuality = 7; p.WriteVbrHeader = true;
         }},
        {"dual", [](TGlobalVars& v) { v.OutputMP3Mode = 2; },
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 4; p.MaxBitRate = 320; p.MinBitRate = 128;
             p.VbrMethod = 0; p.VbrQuality = 7; p.WriteVbrHeader = true;
         }},
        // Mono sets only the channel count; the stereo mode stays as it was.
        {"mono", [](TGlobalVars& v) { v.OutputMP3Mode = 3; },
         [](sw::LameEncParams& p) {
             p.Channels = 1; p.MaxBitRate = 320; p.MinBitRate = 128;
             p.VbrMethod = 0; p.VbrQuality = 7; p.WriteVbrHeader = true;
         }},
        {"quality 0 is encoder quality 9", [](TGlobalVars& v) { v.OutputMP3QualityLevelValue = 0; },
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 1; p.MaxBitRate = 320; p.MinBitRate = 128;
             p.VbrMethod = 0; p.VbrQuality = 9; p.WriteVbrHeader = true;
         }},
        // The average path leaves the quality as it was.
        {"average", [](TGlobalVars& v) {
             v.OutputMP3QualityLevel = false; v.OutputMP3ABRBitRate = 5;
             v.OutputMP3VBRBitRateMin = 2; v.OutputMP3VBRBitRateMax = 4;
             v.OutputMP3WriteXING = false; v.OutputMP3Checksum = true;
         },
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 1; p.MaxBitRate = 80; p.MinBitRate = 48;
             p.VbrMethod = 4; p.AbrBitRate = 80; p.WriteVbrHeader = false; p.Crc = true;
         }},
        {"outside lists", [](TGlobalVars& v) {
             v.OutputMP3QualityLevel = false; v.OutputMP3ABRBitRate = 30;
             v.OutputMP3VBRBitRateMin = 13; v.OutputMP3VBRBitRateMax = 13; v.OutputMP3Mode = 9;
         },
         [](sw::LameEncParams& p) {
             p.Channels = 2; p.StereoMode = 1; p.MaxBitRate = 192; p.MinBitRate = 192;
             p.VbrMethod = 4; p.AbrBitRate = 192; p.WriteVbrHeader = true;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGlobalVars v = VbrVars();
        c.change(v);
        // A parameter object that is not in its initial state: what the
        // routine does not set must survive.
        sw::LameEncParams start;
        start.Preset = 0;
        start.StereoMode = 4;
        start.VbrQuality = 5;
        start.AbrBitRate = 99;
        start.Crc = true;
        sw::LameEncParams expected = start;
        expected.Crc = false;   // the default record has no checksum
        c.expect(expected);
        sw::LameEncParams lame = start;
        RecordingTarget t;
        ApplyMp3Format(v, t, lame);
        ASSERT_EQ(t.calls.size(), 1u);
        EXPECT_EQ(t.calls[0].op, "lame");
        const sw::LameEncParams& got = t.calls[0].lame;
        for (const sw::LameEncParams* p : std::vector<const sw::LameEncParams*>{&got, &lame}) {
            EXPECT_EQ(p->Preset, expected.Preset);
            EXPECT_EQ(p->Channels, expected.Channels);
            EXPECT_EQ(p->StereoMode, expected.StereoMode);
            EXPECT_EQ(p->MaxBitRate, expected.MaxBitRate);
            EXPECT_EQ(p->MinBitRate, expected.MinBitRate);
            EXPECT_EQ(p->VbrMethod, expected.VbrMethod);
            EXPECT_EQ(p->VbrQuality, expected.VbrQuality);
            EXPECT_EQ(p->AbrBitRate, expected.AbrBitRate);
            EXPECT_EQ(p->WriteVbrHeader, expected.WriteVbrHeader);
            EXPECT_EQ(p->Crc, expected.Crc);
        }
    }
}

// The parameter object lives beside the editor for the whole run, so a
// preset from one save must not decide a later variable-bit-rate save, and
// a preset chosen after variable-bit-rate settings decides alone.
TEST(ApplyOutputFormat, Mp3PresetAndVariableAlternate) {
    sw::FileFormat format;
    sw::LameEncParams lame;

    TGlobalVars preset;
    preset.OutputMP3Presets = 0;   // Phone Quality, encoder preset 1
    ApplyOutputFormat(sw::FormatMp3, preset, format, lame);
    ASSERT_NE(sw::Mp3Preset(1), nullptr);
    const sw::Mp3Setup phone = *sw::Mp3Preset(1);
    EXPECT_EQ(format.mp3.lame.Preset, 1);
    EXPECT_EQ(sw::ResolveMp3(format).kbps, phone.kbps);
    EXPECT_EQ(sw::ResolveMp3(format).channels, phone.channels);

    TGlobalVars vbr = VbrVars();
    vbr.OutputMP3QualityLevel = false;
    vbr.OutputMP3ABRBitRate = 12;   // 256 kbps
    ApplyOutputFormat(sw::FormatMp3, vbr, format, lame);
    EXPECT_EQ(lame.Preset, 0);
    EXPECT_EQ(format.mp3.lame.Preset, 0);
    const sw::Mp3Setup resolved = sw::ResolveMp3(format);
    EXPECT_TRUE(resolved.vbr);
    EXPECT_TRUE(resolved.abr);
    EXPECT_EQ(resolved.kbps, 256);
    EXPECT_EQ(resolved.channels, 2);

    // Back to a preset: the variable fields stay in the object, the preset wins.
    ApplyOutputFormat(sw::FormatMp3, preset, format, lame);
    EXPECT_EQ(format.mp3.lame.VbrMethod, 4);
    EXPECT_EQ(format.mp3.lame.AbrBitRate, 256);
    EXPECT_EQ(sw::ResolveMp3(format).kbps, phone.kbps);
    EXPECT_EQ(sw::ResolveMp3(format).abr, phone.abr);
}

TEST(ApplyOutputFormat, ConcreteTargets) {
    TGlobalVars v;
    v.OutputWAVType = 1;
    v.OutputWAVSampleType = 4;
    v.OutputWAVMode = 1;
    v.OutputWAVBitesPerSample = 2;
    v.OutputMP3Type = 1;
    v.OutputMP3CBRBitRate = 8;
    v.OutputOGGType = 1;
    v.OutputOGGABR = true;
    v.OutputOGGABRBitRate = 1;
    v.OutputWMAPresets = 1;
    sw::LameEncParams lame;

    sw::FileFormat f;
    ApplyOutputFormat(sw::FormatWav, v, f, lame);
    EXPECT_EQ(f.LastCode(), sw::FormatWav);
    EXPECT_EQ(f.wave.rate, 22050);
    EXPECT_EQ(f.wave.channels, 1);
    EXPECT_EQ(f.wave.bits, 24);
    ApplyOutputFormat(sw::FormatMp3, v, f, lame);
    EXPECT_EQ(f.LastCode(), sw::FormatMp3);
    EXPECT_FALSE(f.mp3.useLame);
    EXPECT_EQ(f.mp3.kbps, 128);

    sw::TAudioFile2 file;
    ApplyOutputFormat(sw::FormatOgg, v, file, lame);
    EXPECT_EQ(file.Format().LastCode(), sw::FormatOgg);
    EXPECT_EQ(file.Format().ogg.nominalKbps, 96);
    EXPECT_EQ(file.Format().ogg.quality, -1);
    ApplyOutputFormat(sw::FormatWma, v, file, lame);
    EXPECT_EQ(file.Format().LastCode(), sw::FormatWma);
    EXPECT_EQ(file.Format().wma.profile, 23);
    ApplyWaveFormat(v, file);
    EXPECT_EQ(file.Format().wave.rate, 22050);
    ApplyMp3Format(v, file, lame);
    EXPECT_EQ(file.Format().mp3.kbps, 128);
    ApplyOggFormat(v, f);
    EXPECT_EQ(f.ogg.nominalKbps, 96);
    ApplyWmaFormat(v, f);
    EXPECT_EQ(f.wma.profile, 23);
}

}  // namespace
