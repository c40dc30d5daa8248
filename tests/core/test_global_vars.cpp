// The settings record against system.dat: first run, reading back, damaged values.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "GlobalVars.h"
#include "IniFile.h"

namespace {

QStringList KeysInFile(const QString& path) {
    sw::IniFile ini(path);
    return ini.ReadSection("SYSTEM");
}

TEST(GlobalVars, FirstRunWritesEveryKeyInOrderWithStartValues) {
    QTemporaryDir dir;
    const QString path = dir.filePath("system.dat");
    TGlobalVars vars;
    vars.Reset("/home/u/Music/", "/home/u/.config/Soundwright/");
    sw::IniFile ini(path);
    EXPECT_FALSE(LoadSettings(vars, ini));
    ASSERT_TRUE(QFile::exists(path));

    const QStringList keys = KeysInFile(path);
    EXPECT_EQ(keys, TGlobalVars::Keys());
    ASSERT_EQ(keys.size(), 43 + 5 + 12 + 35 + 24);
    EXPECT_EQ(keys.first(), "LastOpenDir");
    EXPECT_EQ(keys.at(43), "DefAmplify");
    EXPECT_EQ(keys.last(), "OutputWMAPresets");

    sw::IniFile check(path);
    struct { const char* key; const char* value; } cases[] = {
        {"LastOpenDir", "/home/u/Music/"},  {"ShowStartDialog", "1"},
        {"OP_WorkingFolder", "/home/u/.config/Soundwright/"},
        {"AccuAttackLevel", "-45"},         {"BookmarkFormTop", "200"},
        {"PreviewOperationTypes", "-1"},    {"EqualizerBuf12", "0"},
        {"DefReverbFrequency", "11025"},    {"DefChorusSweepPhase", "90"},
        {"OutputWAVPersets", "1"},          {"OutputMP3CBR", "1"},
        {"OutputMP3Checksum", "0"},         {"OutputOGGQualityValue", "60"},
        {"OutputWMAPresets", "5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check.ReadString("SYSTEM", c.key, "?"), c.value) << c.key;
}

TEST(GlobalVars, ReadsStoredValuesAndKeepsStartValuesForMissingOrDamagedKeys) {
    QTemporaryDir dir;
    const QString path = dir.filePath("system.dat");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[System]\r\nlastopendir=/data/in/\r\nDefAmplify=abc\r\nOutputMP3Presets=263\r\n"
            "OutputMP3CBR=0\r\nEqualizerBuf3=-7\r\nDefHighPass=  \r\n");
    f.close();
    TGlobalVars vars;
    vars.Reset("/m/", "/a/");
    sw::IniFile ini(path);
    EXPECT_TRUE(LoadSettings(vars, ini));
    EXPECT_EQ(vars.LastOpenDir, "/data/in/");
    EXPECT_EQ(vars.DefAmplify, 25);             // malformed integer
    EXPECT_EQ(vars.OutputMP3Presets, 263 & 0xff);  // byte keeps the low 8 bits
    EXPECT_FALSE(vars.OutputMP3CBR);
    EXPECT_EQ(vars.EqualizerBuf[2], -7);
    EXPECT_EQ(vars.DefHighPass, 200);
    EXPECT_EQ(vars.ExportFolder, "/m/");        // missing key
}

TEST(GlobalVars, SaveThenLoadGivesTheSameRecord) {
    QTemporaryDir dir;
    const QString path = dir.filePath("system.dat");
    TGlobalVars a;
    a.Reset("/m/", "/a/");
    a.LastOpenDir = "/x y/z/";
    a.OP_DefSample = 22050;
    a.EqualizerBuf[11] = 12;
    a.OutputOGGABRBitRate = 6;
    a.OutputMP3WriteXING = false;
    sw::IniFile ini(path);
    ASSERT_TRUE(SaveSettings(a, ini));
    TGlobalVars b;
    b.Reset("/other/", "/other/");
    sw::IniFile again(path);
    ASSERT_TRUE(LoadSettings(b, again));
    EXPECT_EQ(b.LastOpenDir, a.LastOpenDir);
    EXPECT_EQ(b.OP_DefSample, 22050);
    EXPECT_EQ(b.EqualizerBuf[11], 12);
    EXPECT_EQ(b.OutputOGGABRBitRate, 6);
    EXPECT_FALSE(b.OutputMP3WriteXING);
    EXPECT_EQ(b.ExportFolder, "/m/");
}

}  // namespace
