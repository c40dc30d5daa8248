// Reading every open format, the facts reported about a file, block-wise
// reading, and the errors for missing, empty, damaged and CD-track files.
#include <QProcess>

#include "CodecTestUtil.h"

using namespace codectest;

namespace {

struct OpenCase {
    const char* name;        // file name, extension included
    const char* tool;        // "ffmpeg", "sox", "mpcenc"
    QStringList args;        // ffmpeg output args / sox output args
    int rate, channels;
    double seconds;          // of the source tone
    int frameTolerance;      // decoded frames vs. seconds*rate
    bool exactLength;        // LengthEstimate must equal the decoded frame count
};

class DecoderOpen : public ::testing::TestWithParam<OpenCase> {};

bool MakeFixture(const OpenCase& c, const QString& path, const QString& dir) {
    if (QString(c.tool) == "sox")
        return swtest::Run("sox", QStringList{"-n", "-r", QString::number(c.rate), "-c", QString::number(c.channels)} +
                                      c.args + QStringList{path, "synth", QString::number(c.seconds), "sine", "440"}) == 0;
    if (QString(c.tool) == "mpcenc") {
        const QString wav = dir + "/src.wav";
        if (!swtest::MakeTone(wav, c.seconds, c.rate, c.channels)) return false;
        return swtest::Run("mpcenc", {"--silent", "--overwrite", wav, path}) == 0;
    }
    return swtest::MakeTone(path, c.seconds, c.rate, c.channels, c.args);
}

TEST_P(DecoderOpen, OpensWithRateChannelsAndLength) {
    const OpenCase& c = GetParam();
    if (!swtest::HaveTool(c.tool)) GTEST_SKIP() << c.tool << " missing";
    QTemporaryDir dir;
    const QString path = dir.path() + "/" + c.name;
    ASSERT_TRUE(MakeFixture(c, path, dir.path())) << "fixture " << c.name;

    auto d = sw::AudioDecoder::Open(S(path));
    EXPECT_EQ(d->SampleRate(), c.rate);
    EXPECT_EQ(d->Channels(), c.channels);
    EXPECT_GT(d->StoredBitRate(), 0);
    EXPECT_FALSE(d->Description().empty());
    const sw::SampleCount estimate = d->LengthEstimate();
    d.reset();

    const sw::PlanarBuffer b = DecodeAll(S(path));
    const auto expected = sw::SampleCount(std::llround(c.seconds * c.rate));
    EXPECT_NEAR(double(b.frames()), double(expected), c.frameTolerance) << c.name;
    if (c.exactLength)
        EXPECT_EQ(estimate, b.frames()) << c.name;
    else
        EXPECT_NEAR(double(estimate), double(b.frames()), c.frameTolerance + 0.05 * c.rate) << c.name;
    for (const auto& ch : b.channels) EXPECT_GT(Rms(ch), 0.03) << c.name << ": decoded silence";
}

const QStringList kMp3 = {"-c:a", "libmp3lame", "-b:a", "128k"};

INSTANTIATE_TEST_SUITE_P(
    AllOpenFormats, DecoderOpen,
    ::testing::Values(
        OpenCase{"s16.wav", "ffmpeg", {"-c:a", "pcm_s16le"}, 44100, 2, 1.0, 0, true},
        OpenCase{"u8.wav", "ffmpeg", {"-c:a", "pcm_u8"}, 8000, 1, 0.7, 0, true},
        OpenCase{"s24.wav", "ffmpeg", {"-c:a", "pcm_s24le"}, 22050, 1, 0.5, 0, true},
        OpenCase{"f32.wav", "ffmpeg", {"-c:a", "pcm_f32le"}, 48000, 2, 0.5, 0, true},
        OpenCase{"a.mp3", "ffmpeg", kMp3, 44100, 2, 1.0, 1152, false},
        OpenCase{"mono.mp3", "ffmpeg", {"-c:a", "libmp3lame", "-b:a", "32k"}, 22050, 1, 1.0, 1152, false},
        OpenCase{"a.mp2", "ffmpeg", {"-c:a", "mp2", "-b:a", "192k", "-f", "mp2"}, 48000, 2, 1.0, 1152 * 2, false},
        OpenCase{"a.mpga", "ffmpeg", kMp3 + QStringList{"-f", "mp3"}, 32000, 1, 1.0, 1152, false},
        OpenCase{"a.wma", "ffmpeg", {"-c:a", "wmav2", "-b:a", "128k"}, 44100, 2, 1.0, 4096, false},
        // FFmpeg's Ogg reader drops the first 128 frames of a Vorbis stream.
        OpenCase{"a.ogg", "ffmpeg", {"-c:a", "libvorbis", "-q:a", "4"}, 44100, 2, 1.0, 256, false},
        OpenCase{"a.vox", "sox", {}, 8000, 1, 1.0, 0, true},
        OpenCase{"a.raw", "ffmpeg", {"-c:a", "pcm_s16le", "-f", "s16le", "-ar", "44100", "-ac", "2"}, 44100, 2, 0.5,
                 0, true},
        OpenCase{"a.g721", "ffmpeg", {"-f", "g726", "-c:a", "g726", "-ar", "8000", "-b:a", "32k"}, 8000, 1, 1.0, 0,
                 true},
        OpenCase{"a.g723", "ffmpeg", {"-f", "g726", "-c:a", "g726", "-ar", "8000", "-b:a", "24k"}, 8000, 1, 1.0, 0,
                 true},
        OpenCase{"a.g726", "ffmpeg", {"-f", "g726", "-c:a", "g726", "-ar", "8000", "-b:a", "32k"}, 8000, 1, 1.0, 0,
                 true},
        OpenCase{"a.aif", "ffmpeg", {"-c:a", "pcm_s16be", "-f", "aiff"}, 44100, 2, 0.5, 0, true},
        OpenCase{"a.aiff", "ffmpeg", {"-c:a", "pcm_s24be", "-f", "aiff"}, 11025, 1, 0.5, 0, true},
        OpenCase{"a.aifc", "ffmpeg", {"-c:a", "pcm_f32be", "-f", "aiff"}, 16000, 2, 0.5, 0, true},
        OpenCase{"a.mpc", "mpcenc", {}, 44100, 2, 1.0, 1152, false}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (auto& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// The decoded samples are the ones FFmpeg's own tool decodes, whatever the
// block size the caller reads in (small blocks go through the internal
// buffers, large ones straight into the caller's memory).
TEST(DecoderSamples, MatchFfmpegForAnyBlockSize) {
    QTemporaryDir dir;
    for (const auto& [name, args] :
         std::vector<std::pair<QString, QStringList>>{{"a.wav", {"-c:a", "pcm_s16le"}}, {"a.mp3", kMp3}}) {
        const QString path = dir.path() + "/" + name;
        ASSERT_TRUE(swtest::MakeTone(path, 1.0, 44100, 2, args));
        QProcess p;
        p.start("ffmpeg", {"-v", "error", "-i", path, "-f", "f32le", "-"});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QByteArray ref = p.readAllStandardOutput();
        const auto* refSamples = reinterpret_cast<const float*>(ref.constData());
        const size_t refFrames = size_t(ref.size()) / (2 * sizeof(float));
        ASSERT_GT(refFrames, 40000u);
        for (int block : {1, 100, 1153, 65536}) {
            const sw::PlanarBuffer b = DecodeAll(S(path), block);
            ASSERT_EQ(size_t(b.frames()), refFrames) << S(name) << " block " << block;
            double maxDiff = 0;
            for (size_t i = 0; i < refFrames; ++i)
                for (int c = 0; c < 2; ++c)
                    maxDiff = std::max(maxDiff, double(std::fabs(b.channels[size_t(c)][i] - refSamples[2 * i + size_t(c)])));
            EXPECT_LT(maxDiff, 1e-5) << S(name) << " block " << block;
        }
    }
}

TEST(DecoderFacts, BitRateAndDescription) {
    QTemporaryDir dir;
    const QString wav = dir.path() + "/a.wav", mp3 = dir.path() + "/a.mp3";
    ASSERT_TRUE(swtest::MakeTone(wav, 0.5, 44100, 2, {"-c:a", "pcm_s16le"}));
    ASSERT_TRUE(swtest::MakeTone(mp3, 0.5, 44100, 2, kMp3));
    auto w = sw::AudioDecoder::Open(S(wav));
    EXPECT_EQ(w->StoredBitRate(), 1411200);
    EXPECT_EQ(w->StoredBitsPerSample(), 16);
    auto m = sw::AudioDecoder::Open(S(mp3));
    EXPECT_EQ(m->StoredBitRate(), 128000);
    EXPECT_EQ(m->Description(), "MPEG Layer 3, 44100 Hz, 128 kbps, Stereo");
}

// Every bad input gives an EngineError that names the file.
TEST(DecoderErrors, ClearErrorsNamingTheFile) {
    QTemporaryDir dir;
    const QString good = dir.path() + "/good.wav";
    ASSERT_TRUE(swtest::MakeTone(good, 0.5, 44100, 2, {"-c:a", "pcm_s16le"}));
    const QByteArray wav = ReadBytes(good);

    QByteArray text;
    for (int i = 0; i < 400; ++i) text += "this is not audio at all, just text. ";
    WriteBytes(dir.path() + "/empty.mp3", {});
    WriteBytes(dir.path() + "/text.mp3", text);
    WriteBytes(dir.path() + "/text.wav", text);
    WriteBytes(dir.path() + "/text.ogg", text);
    WriteBytes(dir.path() + "/header-only.wav", wav.left(44));
    WriteBytes(dir.path() + "/cut-header.wav", wav.left(20));
    WriteBytes(dir.path() + "/track01.cda", QByteArray("RIFF\x24\0\0\0CDDAfmt ", 16));
    QDir(dir.path()).mkdir("folder.wav");

    const struct { const char* name; const char* text; } cases[] = {
        {"missing.wav", "does not exist"},
        {"empty.mp3", "empty"},
        {"text.mp3", ""},
        {"text.wav", ""},
        {"text.ogg", ""},
        {"header-only.wav", ""},
        {"cut-header.wav", ""},
        {"folder.wav", "folder"},
        {"track01.cda", "CD audio tracks (.cda) can only be loaded from an audio CD drive."},
    };
    for (const auto& c : cases) {
        const std::string path = S(dir.path() + "/" + c.name);
        try {
            sw::AudioDecoder::Open(path);
            ADD_FAILURE() << c.name << " opened";
        } catch (const sw::EngineError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(path), std::string::npos) << what;
            EXPECT_NE(what.find(c.text), std::string::npos) << what;
        }
    }
}

// A file cut off in the middle gives the audio up to the cut.
TEST(DecoderErrors, TruncatedFileGivesWhatIsThere) {
    QTemporaryDir dir;
    const QString full = dir.path() + "/full.mp3", cut = dir.path() + "/cut.mp3";
    ASSERT_TRUE(swtest::MakeTone(full, 2.0, 44100, 2, kMp3));
    const QByteArray bytes = ReadBytes(full);
    WriteBytes(cut, bytes.left(bytes.size() / 2 + 77));
    const sw::PlanarBuffer b = DecodeAll(S(cut));
    EXPECT_NEAR(double(b.frames()), 44100.0, 4000.0);
}

}  // namespace
