// The settings object, the format code of a file name, genre names and
// reading tags of files that have none.
#include "CodecTestUtil.h"
#include "codec/OutputFormat.h"
#include "codec/Tags.h"

using namespace codectest;

namespace {

TEST(OutputFormat, FormatCodeForPath) {
    const struct { const char* path; int code; } cases[] = {
        {"/a/b.wav", sw::FormatWav}, {"B.WAV", sw::FormatWav},  {"x.Mp3", sw::FormatMp3},
        {"x.ogg", sw::FormatOgg},    {"/x.y/z.wma", sw::FormatWma}, {"song.aiff", 0},
        {"noext", 0},                {"/dir.mp3/file", 0},       {"x.mp3.txt", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(sw::FormatCodeForPath(c.path), c.code) << c.path;
}

TEST(OutputFormat, SettersStoreTheirFiguresAndTheLastFormat) {
    sw::FileFormat f;
    EXPECT_EQ(f.LastCode(), 0);
    f.SetWaveFormat(96000, 1, 24);
    EXPECT_EQ(f.LastCode(), sw::FormatWav);
    EXPECT_EQ(f.wave.rate, 96000);
    EXPECT_EQ(f.wave.channels, 1);
    EXPECT_EQ(f.wave.bits, 24);

    sw::LameEncParams p;
    p.Preset = 4;
    f.SetMp3Lame(p);
    EXPECT_TRUE(f.mp3.useLame);
    EXPECT_EQ(f.mp3.lame.Preset, 4);
    f.SetMp3Cbr(22050, 64, 1);
    EXPECT_FALSE(f.mp3.useLame);
    EXPECT_EQ(f.mp3.rate, 22050);
    EXPECT_EQ(f.mp3.kbps, 64);
    EXPECT_EQ(f.mp3.channels, 1);
    EXPECT_EQ(f.LastCode(), sw::FormatMp3);

    f.SetOggFormat(44100, 1, 0, 0, 0, 600);
    EXPECT_EQ(f.ogg.quality, 600);
    EXPECT_EQ(f.ogg.nominalKbps, 0);
    EXPECT_EQ(f.LastCode(), sw::FormatOgg);
    f.SetWmaProfile(36);
    EXPECT_EQ(f.wma.profile, 36);
    EXPECT_EQ(f.LastCode(), sw::FormatWma);
    EXPECT_EQ(f.wave.rate, 96000);   // other formats keep their settings
}

TEST(Tags, GenreNames) {
    EXPECT_EQ(sw::GenreName(0), "Blues");
    EXPECT_EQ(sw::GenreName(17), "Rock");
    EXPECT_EQ(sw::GenreName(147), "Synthpop");
    EXPECT_EQ(sw::GenreName(-1), "");
    EXPECT_EQ(sw::GenreName(148), "");
}

TEST(Tags, FilesWithoutTagsGiveEmptyTags) {
    QTemporaryDir dir;
    WriteBytes(dir.path() + "/text.mp3", QByteArray(3000, 'z'));
    ASSERT_TRUE(swtest::MakeTone(dir.path() + "/plain.wav", 0.2, 8000, 1));
    ASSERT_TRUE(swtest::MakeTone(dir.path() + "/plain.raw", 0.2, 8000, 1, {"-f", "s16le"}));
    for (const char* name : {"missing.ogg", "text.mp3", "plain.wav", "plain.raw"})
        EXPECT_EQ(sw::ReadTags(S(dir.path() + "/" + name)), sw::AudioTags{}) << name;
}

// Tags made by other tools are read too.
TEST(Tags, ReadsTagsOfOtherTools) {
    QTemporaryDir dir;
    const QStringList meta = {"-metadata", "title=Outside", "-metadata", "artist=Somebody", "-metadata",
                              "genre=Jazz", "-metadata", "date=2001"};
    for (const QString& ext : {QString("mp3"), QString("ogg"), QString("wma")}) {
        const QString path = dir.path() + "/t." + ext;
        ASSERT_TRUE(swtest::MakeTone(path, 0.3, 44100, 2, meta));
        const sw::AudioTags t = sw::ReadTags(S(path));
        EXPECT_EQ(t.Title, "Outside") << S(ext);
        EXPECT_EQ(t.Artist, "Somebody") << S(ext);
        EXPECT_EQ(t.Genre, 8) << S(ext);
        if (ext != "wma") {   // ffmpeg's ASF writer leaves the year out
            EXPECT_EQ(t.Year, 2001) << S(ext);
        }
    }
}

}  // namespace
