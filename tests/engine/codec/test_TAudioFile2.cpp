// The file reader/writer: facts of the opened input, interleaved blocks,
// format choice by extension, input-format conversion and the honest
// "supported" answers.
#include "CodecTestUtil.h"
#include "codec/TAudioFile2.h"

using namespace codectest;

namespace {

// A stereo file whose left channel is a loud sine and whose right is silent,
// so interleaving mistakes show.
QString LeftOnly(const QTemporaryDir& dir, double seconds) {
    const QString path = dir.path() + "/left.wav";
    swtest::Run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                           QString("aevalsrc=0.5*sin(2*PI*440*t)|0:s=44100:d=%1").arg(seconds), "-c:a", "pcm_s16le",
                           path});
    return path;
}

TEST(TAudioFile2Read, ReportsFactsAndDeliversInterleavedBlocks) {
    QTemporaryDir dir;
    const QString path = LeftOnly(dir, 1.0);
    sw::TAudioFile2 f;
    f.OpenRead(S(path), 0, 1);
    EXPECT_EQ(f.StoredSampleRate(), 44100);
    EXPECT_EQ(f.StoredChannels(), 2);
    EXPECT_EQ(f.StoredBitRate(), 1411200);
    EXPECT_EQ(f.SampleRate(), 44100);
    EXPECT_EQ(f.Channels(), 2);
    EXPECT_EQ(f.Length(), 44100);

    sw::SampleCount frames = 0;
    double left = 0, right = 0;
    for (;;) {
        const std::vector<float> block = f.ReadArray(2 * 44100 / 3 + 1);   // odd count: whole frames only
        if (block.empty()) break;
        ASSERT_EQ(block.size() % 2, 0u);
        EXPECT_LE(block.size(), size_t(2 * 44100 / 3));
        for (size_t i = 0; i < block.size(); i += 2) {
            left = std::max(left, double(std::fabs(block[i])));
            right = std::max(right, double(std::fabs(block[i + 1])));
        }
        frames += sw::SampleCount(block.size() / 2);
    }
    EXPECT_EQ(frames, 44100);
    EXPECT_NEAR(left, 0.5, 0.01);
    EXPECT_EQ(right, 0.0);
    EXPECT_TRUE(f.ReadArray(1000).empty());
    f.Close();
}

TEST(TAudioFile2Read, BadInputThrows) {
    QTemporaryDir dir;
    sw::TAudioFile2 f;
    EXPECT_THROW(f.OpenRead(S(dir.path() + "/nothing.mp3"), 0, 1), sw::EngineError);
    WriteBytes(dir.path() + "/empty.wav", {});
    EXPECT_THROW(f.OpenRead(S(dir.path() + "/empty.wav"), 0, 1), sw::EngineError);
}

// The batch converter's road: read a file, write it in another format with
// the input format given, read the result back.
TEST(TAudioFile2Write, ConvertsThroughTheWriter) {
    QTemporaryDir dir;
    const QString in = LeftOnly(dir, 1.0);
    const QString out = dir.path() + "/out.ogg";
    sw::TAudioFile2 reader, writer;
    reader.OpenRead(S(in), 0, 1);
    writer.SetOggFormat(44100, 2, 0, 0, 0, 500);
    writer.SetInputFormat(reader.SampleRate(), reader.Channels());
    writer.OpenWrite(S(out), 0);
    writer.SetInputFormat(reader.SampleRate(), reader.Channels());
    EXPECT_EQ(writer.SampleRate(), 44100);
    EXPECT_EQ(writer.Channels(), 2);
    for (std::vector<float> b; !(b = reader.ReadArray(44100 * 2)).empty();) writer.WriteArray(b);
    writer.Close();
    reader.Close();

    const auto probe = swtest::Probe(out);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, "vorbis");
    const sw::PlanarBuffer back = DecodeAll(S(out));
    EXPECT_NEAR(Rms(back.channels[0]), 0.5 / std::sqrt(2.0), 0.02);
    EXPECT_LT(Rms(back.channels[1]), 0.01);
}

// The extension picks the format; a name without a save extension takes the
// format of the last Set* call; the recording road gives no input format and
// writes in the output format.
TEST(TAudioFile2Write, PicksTheFormatByExtensionThenByLastSetting) {
    QTemporaryDir dir;
    const struct { const char* name; const char* codec; } cases[] = {
        {"a.wav", "pcm_s24le"}, {"b.MP3", "mp3"}, {"c.ogg", "vorbis"}, {"d.wma", "wmav2"}, {"e.dat", "mp3"}};
    sw::TAudioFile2 w;
    w.SetWaveFormat(32000, 1, 24);
    w.SetOggFormat(44100, 2, 128, 0, 0, -1);
    w.SetWmaProfile(13);
    w.SetMp3Cbr(44100, 128, 2);   // the last call
    for (const auto& c : cases) {
        const QString path = dir.path() + "/" + c.name;
        w.OpenWrite(S(path), 0);
        const int rate = w.SampleRate(), channels = w.Channels();
        w.WriteArray(std::vector<float>(size_t(rate * channels / 2), 0.1f));
        w.Close();
        const auto probe = swtest::Probe(path);
        ASSERT_TRUE(probe.ok) << c.name;
        EXPECT_EQ(probe.codec, c.codec) << c.name;
        EXPECT_EQ(probe.sampleRate, rate) << c.name;
        EXPECT_EQ(probe.channels, channels) << c.name;
    }
}

TEST(TAudioFile2Write, ConvertsTheInputFormat) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/rec.wav";
    sw::TAudioFile2 w;
    w.SetWaveFormat(44100, 2, 16);
    w.SetInputFormat(22050, 1);
    w.OpenWrite(S(path), 1);
    const sw::PlanarBuffer s = Sine(22050, 1, 1.0, {0.5f});
    w.WriteArray(s.channels[0]);
    EXPECT_THROW(w.SetInputFormat(48000, 2), sw::EngineError);
    w.Close();
    const sw::PlanarBuffer back = DecodeAll(S(path));
    EXPECT_EQ(back.sampleRate, 44100);
    ASSERT_EQ(back.channelCount(), 2);
    EXPECT_NEAR(double(back.frames()), 44100.0, 5.0);
    EXPECT_NEAR(Rms(back.channels[1]), 0.5 / std::sqrt(2.0), 0.01);
}

TEST(TAudioFile2Write, PartialFramesAndMissingFilesAreErrors) {
    QTemporaryDir dir;
    sw::TAudioFile2 w;
    EXPECT_THROW(w.WriteArray({0.0f, 0.0f}), sw::EngineError);
    w.SetWaveFormat(44100, 2, 16);
    w.OpenWrite(S(dir.path() + "/x.wav"), 0);
    EXPECT_THROW(w.WriteArray({0.0f, 0.0f, 0.0f}), sw::EngineError);
    w.Close();
    EXPECT_THROW(w.OpenWrite(S(dir.path() + "/no/such/folder/x.wav"), 0), sw::EngineError);
}

TEST(TAudioFile2Formats, SetWaveFormatFromFileCopiesRateChannelsAndBits) {
    QTemporaryDir dir;
    const struct { const char* codec; int rate, channels, bits; } cases[] = {
        {"pcm_s24le", 22050, 1, 24}, {"pcm_u8", 8000, 2, 8}, {"pcm_s16le", 48000, 2, 16}, {"pcm_s32le", 96000, 1, 32}};
    for (const auto& c : cases) {
        const QString path = dir.path() + "/" + c.codec + ".wav";
        ASSERT_TRUE(swtest::MakeTone(path, 0.2, c.rate, c.channels, {"-c:a", c.codec}));
        sw::TAudioFile2 f;
        f.SetWaveFormatFromFile(S(path));
        EXPECT_EQ(f.Format().LastCode(), sw::FormatWav);
        EXPECT_EQ(f.Format().wave.rate, c.rate) << c.codec;
        EXPECT_EQ(f.Format().wave.channels, c.channels) << c.codec;
        EXPECT_EQ(f.Format().wave.bits, c.bits) << c.codec;
    }
    sw::TAudioFile2 f;
    EXPECT_THROW(f.SetWaveFormatFromFile(S(dir.path() + "/missing.wav")), sw::EngineError);
}

// The answers match what the encoders then really do.
TEST(TAudioFile2Formats, SupportedAnswersAreTruthful) {
    const struct { int rate, kbps, channels; bool ok; } mp3[] = {
        {44100, 128, 2, true},  {44100, 320, 1, true}, {48000, 32, 2, true},   {22050, 160, 2, true},
        {22050, 192, 2, false}, {8000, 16, 1, true},   {44100, 8, 2, false},   {44100, 130, 2, false},
        {96000, 128, 2, false}, {44100, 128, 3, false}, {12345, 128, 2, false}};
    for (const auto& c : mp3)
        EXPECT_EQ(sw::TAudioFile2::Mp3CbrSupported(c.rate, c.kbps, c.channels), c.ok)
            << c.rate << " " << c.kbps << " " << c.channels;

    const struct { int rate, channels, kbps; bool ok; } ogg[] = {
        {44100, 2, 128, true}, {44100, 2, 192, true}, {44100, 1, 64, true}, {44100, 1, 320, false},
        {44100, 2, 2000, false}, {8000, 1, 350, false}, {44100, 0, 128, false}};
    for (const auto& c : ogg)
        EXPECT_EQ(sw::TAudioFile2::OggSupported(c.rate, c.channels, c.kbps, 0, 0), c.ok)
            << c.rate << " " << c.channels << " " << c.kbps;

    // A supported CBR MP3 written with those figures comes out with them.
    QTemporaryDir dir;
    const QString path = dir.path() + "/x.mp3";
    sw::TAudioFile2 w;
    w.SetMp3Cbr(22050, 160, 2);
    w.OpenWrite(S(path), 0);
    w.WriteArray(std::vector<float>(22050 * 2, 0.0f));
    w.Close();
    const auto probe = swtest::Probe(path);
    EXPECT_EQ(probe.sampleRate, 22050);
    EXPECT_EQ(probe.bitRate, 160000);
}

}  // namespace
