// Non-default format settings applied to the real editor (and to the file
// writer), saved, and checked with ffprobe; tags set before the save must
// come back from the file.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <functional>

#include "GlobalVars.h"
#include "OutputFormats.h"
#include "TestSupport.h"
#include "codec/TAudioFile2.h"
#include "codec/Tags.h"
#include "editor/TAudioEditor2.h"
#include "storage/AudioClip.h"
#include "storage/BlockStore.h"

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 1.5;

// Two channels of tones (440 Hz left, 660 Hz right) at 44.1 kHz.
sw::PlanarBuffer StereoTone() {
    sw::PlanarBuffer buf;
    buf.sampleRate = kRate;
    const auto frames = static_cast<std::size_t>(kRate * kSeconds);
    buf.channels.assign(2, std::vector<float>(frames));
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        buf.channels[0][i] = float(0.5 * std::sin(2 * M_PI * 440 * t));
        buf.channels[1][i] = float(0.5 * std::sin(2 * M_PI * 660 * t));
    }
    return buf;
}

struct SaveCase {
    const char* name;
    int formatCode;
    const char* extension;
    std::function<void(TGlobalVars&)> settings;
    const char* codec;
    int rate;
    int channels;
    long long kbpsLow, kbpsHigh;   // bit-rate window in kbps; 0, 0: not checked
};

const SaveCase kCases[] = {
    {"wav 22050 mono 8 bits", 1, ".wav",
     [](TGlobalVars& v) {
         v.OutputWAVType = 1;
         v.OutputWAVSampleType = 4;
         v.OutputWAVMode = 1;
         v.OutputWAVBitesPerSample = 0;
     },
     "pcm_u8", 22050, 1, 176, 177},
    {"wav preset fm", 1, ".wav", [](TGlobalVars& v) { v.OutputWAVPersets = 0; }, "pcm_s16le", 22050, 2, 705, 706},
    {"mp3 cbr 128 mono", 2, ".mp3",
     [](TGlobalVars& v) {
         v.OutputMP3Type = 1;
         v.OutputMP3CBRBitRate = 8;
         v.OutputMP3Mode = 3;
     },
     "mp3", 44100, 1, 128, 128},
    {"mp3 average 96 joint stereo", 2, ".mp3",
     [](TGlobalVars& v) {
         v.OutputMP3Type = 1;
         v.OutputMP3CBR = false;
         v.OutputMP3QualityLevel = false;
         v.OutputMP3ABRBitRate = 6;
         v.OutputMP3Mode = 1;
         v.OutputMP3VBRBitRateMin = 0;
     },
     "mp3", 44100, 2, 60, 140},
    {"ogg average 128 mono", 6, ".ogg",
     [](TGlobalVars& v) {
         v.OutputOGGType = 1;
         v.OutputOGGABR = true;
         v.OutputOGGABRBitRate = 2;
         v.OutputOGGMode = 1;
     },
     "vorbis", 44100, 1, 115, 141},
    {"ogg preset voice", 6, ".ogg", [](TGlobalVars& v) { v.OutputOGGPresets = 0; }, "vorbis", 44100, 1, 57, 71},
    {"wma preset fm", 11, ".wma", [](TGlobalVars& v) { v.OutputWMAPresets = 1; }, "wmav2", 22050, 2, 28, 36},
};

class FormatSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (!swtest::HaveTool("ffprobe")) GTEST_SKIP() << "ffprobe is not installed";
    }

    void CheckFile(const SaveCase& c, const QString& path) {
        const swtest::ProbeInfo info = swtest::Probe(path);
        ASSERT_TRUE(info.ok) << path.toStdString();
        EXPECT_EQ(info.codec, c.codec);
        EXPECT_EQ(info.sampleRate, c.rate);
        EXPECT_EQ(info.channels, c.channels);
        if (c.kbpsHigh > 0) {
            EXPECT_GE(info.bitRate, c.kbpsLow * 1000) << info.bitRate;
            EXPECT_LE(info.bitRate, c.kbpsHigh * 1000) << info.bitRate;
        }
        EXPECT_NEAR(info.duration, kSeconds, 0.1);
        const sw::AudioTags tags = sw::ReadTags(path.toStdString());
        EXPECT_EQ(tags.Title, "Format check");
        EXPECT_EQ(tags.Artist, "Output Tester");
        EXPECT_TRUE(info.tags.contains("title=Format check", Qt::CaseInsensitive)) << info.tags.toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(FormatSaveTest, EditorSavesWithTheSettings) {
    sw::TAudioEditor2 editor;
    editor.SetTempDirectory(dir.path().toStdString());
    editor.CreateNew(kRate, 2);
    editor.PasteArray(sw::AudioClip::FromPlanar(StereoTone(), sw::BlockStore::Instance()));
    editor.FileInfo().SetTitle("Format check");
    editor.FileInfo().SetArtist("Output Tester");
    // One parameter object for all saves, as beside the main window.
    sw::LameEncParams lame;
    int n = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TGlobalVars vars;
        c.settings(vars);
        ApplyOutputFormat(c.formatCode, vars, editor.FileFormat(), lame);
        const QString path = dir.filePath(QString("save%1%2").arg(n++).arg(c.extension));
        editor.SaveFile(path.toStdString(), false, c.formatCode);
        CheckFile(c, path);
    }
}

TEST_F(FormatSaveTest, FileWriterWritesWithTheSettings) {
    const sw::PlanarBuffer tone = StereoTone();
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < tone.channels[0].size(); ++i)
        for (const auto& ch : tone.channels) interleaved.push_back(ch[i]);
    sw::AudioTags tags;
    tags.Title = "Format check";
    tags.Artist = "Output Tester";
    sw::TAudioFile2LameEnc lame;
    int n = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TGlobalVars vars;
        c.settings(vars);
        sw::TAudioFile2 file;
        ApplyOutputFormat(c.formatCode, vars, file, lame);
        const QString path = dir.filePath(QString("write%1%2").arg(n++).arg(c.extension));
        file.SetInputFormat(kRate, 2);
        file.SetTags(tags);
        file.OpenWrite(path.toStdString());
        file.WriteArray(interleaved);
        file.Close();
        CheckFile(c, path);
    }
}

}  // namespace
