// The preset catalogue and the output settings each choice builds.
#include <gtest/gtest.h>

#include "Profile.h"
#include "formats/Presets.h"

using namespace rc;

namespace {

TOutputOptions Build(int c, int f, int p, std::optional<TProbedInput> in = std::nullopt) {
    auto o = BuildOutputOptions(c, f, p, in);
    EXPECT_TRUE(o.has_value());
    return o.value_or(TOutputOptions{});
}

struct RowCase {
    const char* name;
    int cls, format, preset;
    TOutputOptions expected;
};

TOutputOptions Audio(const QString& codec, int ch, int hz, int abr, const QString& extra = {}) {
    TOutputOptions o;
    o.DisableVideo = true;
    o.AudioCodec = codec;
    o.AudioChannels = ch;
    o.AudioSampleRate = hz;
    o.AudioBitrate = abr;
    o.ExtraOptions = extra;
    return o;
}
TOutputOptions Video(const QString& vcodec, const QString& size, const QString& rate, int vbr,
                     const QString& acodec, int ch, int hz, int abr) {
    TOutputOptions o;
    o.VideoCodec = vcodec;
    o.FrameSize = size;
    o.FrameRate = rate;
    o.VideoBitrate = vbr;
    o.AudioCodec = acodec;
    o.AudioChannels = ch;
    o.AudioSampleRate = hz;
    o.AudioBitrate = abr;
    return o;
}
template <typename F>
TOutputOptions With(TOutputOptions o, F f) {
    f(o);
    return o;
}

std::vector<RowCase> Cases() {
    return {
        {"Mp3Preset3", ClassAudio, 1, 3, Audio("libmp3lame", 2, 48000, 320000)},
        {"Wav4Rate44000", ClassAudio, 0, 4, Audio("pcm_s16le", 2, 44000, -1)},
        {"Wav2Pcm24", ClassAudio, 0, 2, Audio("pcm_s24le", 2, 22050, -1)},
        {"Ogg4Quality", ClassAudio, 3, 4, Audio("libvorbis", -1, 48000, -1, "aq=8.05")},
        {"Aac1Rate22500", ClassAudio, 4, 1, Audio("libfaac", 1, 22500, 112000)},
        {"M4a1Rate44800", ClassAudio, 5, 1, Audio("", 2, 44800, 256000)},
        {"Flac5", ClassAudio, 6, 5, Audio("flac", -1, -1, -1, "compression_level=5")},
        {"Mp2Row2", ClassAudio, 7, 2, Audio("", 2, 22050, 128000)},
        {"Wma4NoInput", ClassAudio, 2, 4, Audio("wmav2", 2, 48000, -1)},
        {"IPod8", ClassDevice, 0, 8,
         With(Video("libx264", "320x240", "24", 1000000, "libfaac", 2, 44100, 128000),
              [](auto& o) { o.ExtraOptions = kDeviceTuningText; })},
        {"IPod9", ClassDevice, 0, 9,
         With(Video("libx264", "320x240", "15", 500000, "libfaac", 2, 44100, 128000),
              [](auto& o) { o.ExtraOptions = kDeviceTuningText; })},
        {"IPhone1FrameRate30", ClassDevice, 1, 1,
         With(Video("libx264", "480x320", "30", 1300000, "libfaac", 2, 44100, 128000),
              [](auto& o) { o.ExtraOptions = kDeviceTuningText; })},
        {"AppleTV0Size640", ClassDevice, 2, 0,
         With(Video("libx264", "640x480", "24", 5000000, "libfaac", 2, 48000, 160000),
              [](auto& o) { o.ExtraOptions = kDeviceTuningText; })},
        {"Psp0", ClassDevice, 3, 0,
         With(Video("libx264", "480x272", "30", 1500000, "libfaac", 2, 48000, 160000), [](auto& o) {
             o.ExtraOptions = kPSPTuningText;
             o.FormatName = "psp";
         })},
        {"BlackBerry2", ClassDevice, 4, 2,
         With(Video("libx264", "320x240", "15", 500000, "libfaac", 2, 44100, 128000),
              [](auto& o) { o.VideoPreset = "libx264-default"; })},
        {"MobilePhone3", ClassDevice, 5, 3, Video("mpeg4", "128x96", "10", 119000, "libfaac", 2, 22050, 64000)},
        {"Avi3", ClassVideo, 0, 3,
         With(Video("mpeg4", "", "", 1500000, "libmp3lame", 2, 44100, 192000), [](auto& o) { o.VideoTag = "XVID"; })},
        {"Avi0Aspect", ClassVideo, 0, 0, With(Video("mpeg4", "1280x720", "", 4500000, "libmp3lame", 2, 44100, 192000), [](auto& o) {
             o.VideoTag = "XVID";
             o.AspectRatio = "16:9";
         })},
        {"Avi28Raw", ClassVideo, 0, 28, Video("rawvideo", "", "", -1, "pcm_s16le", 2, 44100, 1411000)},
        {"Mp4Row5Psp", ClassVideo, 1, 5,
         With(Video("libx264", "848x480", "30000/1001", 2600000, "libfaac", 2, 48000, 256000), [](auto& o) {
             o.FormatName = "psp";
             o.AspectRatio = "16:9";
             o.ExtraOptions = kPSPTuningText;
         })},
        {"Flv4Size276", ClassVideo, 2, 4, Video("", "276x144", "15", 480000, "", 1, 11025, 24000)},
        {"Mpeg0Limits", ClassVideo, 4, 0,
         With(Video("mpeg2video", "1920x1080", "30000/1001", 15000000, "mp2", 2, 48000, 224000), [](auto& o) {
             o.AspectRatio = "4:3";
             o.VideoMaxRate = o.VideoMinRate = 15000000;
             o.VideoBufferSize = 6881000;
         })},
        {"Mpeg3DvdPal", ClassVideo, 4, 3,
         With(Video("", "", "25", 4000000, "mp2", 2, 48000, 224000), [](auto& o) {
             o.AspectRatio = "4:3";
             o.TargetType = TargetDVD;
             o.TargetNorm = NormPAL;
         })},
        {"Mpeg9Mpeg1", ClassVideo, 4, 9,
         With(Video("mpeg1video", "720x480", "30", 2000000, "mp2", 2, 44100, 192000), [](auto& o) {
             o.VideoMaxRate = o.VideoMinRate = 2000000;
             o.VideoBufferSize = 917000;
         })},
        {"Mpeg12VcdNtsc", ClassVideo, 4, 12,
         With(Video("", "", "30000/1001", 1150000, "mp2", 2, 44100, 224000), [](auto& o) {
             o.AspectRatio = "4:3";
             o.TargetType = TargetVCD;
             o.TargetNorm = NormNTSC;
         })},
        {"Rm0", ClassVideo, 5, 0, Video("rv20", "", "", 1024000, "", -1, -1, -1)},
        {"Rm4", ClassVideo, 5, 4, Video("rv20", "", "", 128000, "", -1, -1, -1)},
        {"Wmv15", ClassVideo, 6, 15, Video("wmv2", "320x240", "25", 2500000, "wmav2", 2, 48000, 196000)},
        {"Mov9", ClassVideo, 7, 9, Video("svq1", "", "", 921600, "adpcm_ima_qt", 2, 44100, 352000)},
        {"Gp3Row0", ClassVideo, 8, 0, Video("h263", "176x144", "12", 240000, "", 1, 8000, 12200)},
        {"Gp3Row2", ClassVideo, 8, 2, Video("mpeg4", "176x144", "12", 64000, "", 1, 8000, 12200)},
        {"Gp3Row3", ClassVideo, 8, 3, Video("h263", "128x96", "10", 140000, "", 1, 8000, 10200)},
        {"Gp3Row4", ClassVideo, 8, 4, Video("mpeg4", "128x96", "10", 44000, "", 1, 8000, 6700)},
    };
}

class PresetRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(PresetRowTest, BuildsTheRow) {
    const RowCase& c = GetParam();
    const TOutputOptions o = Build(c.cls, c.format, c.preset);
    EXPECT_EQ(o, c.expected);
    EXPECT_TRUE(o.FileName.isEmpty());
    EXPECT_FALSE(o.Join);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, PresetRowTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST(PresetCatalogue, ListSizesAndExtensions) {
    struct F { int c, f, rows; const char* ext; const char* list; };
    const F table[] = {{0, 0, 29, ".avi", "ImageComboBoxAVIPresets"}, {0, 1, 19, ".mp4", "ImageComboBoxMP4Presets"},
                       {0, 2, 5, ".flv", "ImageComboBoxFLVPresets"},  {0, 3, 5, ".swf", "ImageComboBoxSWFPresets"},
                       {0, 4, 14, ".mpg", "ImageComboBoxMPEGPresets"}, {0, 5, 5, ".rm", "ImageComboBoxRMPresets"},
                       {0, 6, 18, ".wmv", "ImageComboBoxWMVPresets"}, {0, 7, 10, ".mov", "ImageComboBoxMOVPresets"},
                       {0, 8, 5, ".3gp", "ImageComboBox3GPPresets"},  {1, 0, 10, ".mp4", "ImageComboBoxiPodPresets"},
                       {1, 1, 3, ".mp4", "ImageComboBoxiPhonePresets"}, {1, 2, 3, ".mp4", "ImageComboBoxAppleTVPresets"},
                       {1, 3, 3, ".mp4", "ImageComboBoxPSPPresets"}, {1, 4, 3, ".mp4", "ImageComboBoxBlackBerryPresets"},
                       {1, 5, 4, ".mp4", "ImageComboBoxMobilePhonePresets"}, {1, 6, 3, ".mp4", "ImageComboBoxiPadPresets"},
                       {2, 0, 5, ".wav", "ImageComboBoxWAVPresets"}, {2, 1, 4, ".mp3", "ImageComboBoxMP3Presets"},
                       {2, 2, 5, ".wma", "ImageComboBoxWMAPresets"}, {2, 3, 5, ".ogg", "ImageComboBoxOGGPresets"},
                       {2, 4, 5, ".aac", "ImageComboBoxAACPresets"}, {2, 5, 2, ".m4a", "ImageComboBoxM4APresets"},
                       {2, 6, 9, ".flac", "ImageComboBoxFLACPresets"}, {2, 7, 3, ".mp2", "ImageComboBoxMP2Presets"}};
    for (const F& f : table) {
        SCOPED_TRACE(f.list);
        EXPECT_EQ(int(PresetRows(f.c, f.f).size()), f.rows);
        EXPECT_EQ(OutputExtension(f.c, f.f), f.ext);
        EXPECT_EQ(PresetListName(f.c, f.f), f.list);
    }
    for (auto [c, f] : {std::pair{-1, 0}, {3, 0}, {0, 9}, {1, 7}, {2, 8}, {2, -1}}) {
        EXPECT_TRUE(OutputExtension(c, f).isEmpty());
        EXPECT_FALSE(BuildOutputOptions(c, f, 0).has_value());
        EXPECT_TRUE(PresetRows(c, f).empty());
    }
}

TEST(PresetCatalogue, LabelsAreWrittenAsListed) {
    EXPECT_EQ(PresetLabels(2, 0).at(2), "FM Radio Quality - PCM: 22050 Hz, Sterro, 24 bits");
    EXPECT_EQ(PresetLabels(2, 2).at(4), "WMA Losslesss Audio");
    EXPECT_EQ(PresetLabels(2, 6).at(5), "Compression Level 5 (Default)");
    EXPECT_EQ(PresetLabels(2, 6).at(8), "Compression Level 8");
    EXPECT_EQ(PresetLabels(1, 0).at(1), "iPod Touch High Quality (H264, 30 fps, 480x320, 2500 kbps; AAC - 160 kbps) ");
    EXPECT_EQ(PresetLabels(0, 0).at(21), "Nindendo Wii Clip");
    EXPECT_EQ(PresetLabels(0, 5).at(3), "RM - Low Quality  - (256 kbps, Original)");
    EXPECT_EQ(PresetLabels(0, 8).at(4),
              "3GPP - Mobile Smallest Size with Audio - (MPEG4, 44 kbps, 128x96, 10 fps; AMR)");
}

TEST(PresetCatalogue, TuningTexts) {
    EXPECT_TRUE(kDeviceTuningText.startsWith("flags=+loop\r\ncmp=+chroma\r\ndeblockalpha=0\r\n"));
    EXPECT_TRUE(kDeviceTuningText.endsWith("sc_threshold=40\r\ni_qfactor=0.71\r\n"));
    EXPECT_EQ(kDeviceTuningText.count("\r\n"), 18);
    EXPECT_TRUE(kPSPTuningText.endsWith("qdiff=4\r\nlevel=21"));
    EXPECT_EQ(kPSPTuningText.count("\r\n"), 22);
    EXPECT_TRUE(kPSPTuningText.contains("\r\nrc_eq='blurCplx^(1-qComp)'\r\n"));
    EXPECT_EQ(Libx264DefaultOptions().size(), 22);
    EXPECT_EQ(Libx264DefaultOptions().last(), "wpredp=2");
}

TEST(PresetCatalogue, PresetWithoutRowKeepsBaseSettings) {
    TOutputOptions psp = Build(ClassDevice, 3, -1);
    EXPECT_EQ(psp.FormatName, "psp");
    EXPECT_EQ(psp.VideoCodec, "libx264");
    EXPECT_EQ(psp.AudioCodec, "libfaac");
    EXPECT_EQ(psp.ExtraOptions, kPSPTuningText);
    EXPECT_EQ(psp.VideoBitrate, -1);
    EXPECT_EQ(Build(ClassDevice, 4, 99), TOutputOptions{});  // BlackBerry has no base
    TOutputOptions audio = Build(ClassAudio, 1, 17);
    EXPECT_TRUE(audio.DisableVideo);
    EXPECT_TRUE(audio.AudioCodec.isEmpty());
}

TEST(PresetCatalogue, WmaLosslessTakesTheInputsBitRate) {
    EXPECT_EQ(Build(ClassAudio, 2, 4, TProbedInput{321000}).AudioBitrate, 321000);
    EXPECT_EQ(Build(ClassAudio, 2, 4, TProbedInput{0}).AudioBitrate, -1);
    EXPECT_EQ(Build(ClassAudio, 2, 3, TProbedInput{321000}).AudioBitrate, 128000);
}
