// Writing WAV, MP3, OGG and WMA with their settings, checked by reading the
// files back with ffprobe and our decoder; tags; failing and overwriting saves.
#include <sys/mount.h>

#include <QFileInfo>

#include "CodecTestUtil.h"
#include "codec/Tags.h"

using namespace codectest;

namespace {

// ---------------------------------------------------------------------------
// WAV

struct WavCase { int bits, rate, channels; const char* codec; };

class WavWrite : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavWrite, WritesPcmThatReadsBackWithinOneStep) {
    const WavCase c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.path() + "/out.wav";
    sw::FileFormat f;
    f.SetWaveFormat(c.rate, c.channels, c.bits);
    // The input is at the output rate, so the samples must come back as they
    // went in, give or take one quantisation step.
    const sw::PlanarBuffer in = Sine(c.rate, c.channels, 0.5, {0.9f, -0.4f});
    Encode(sw::FormatWav, f, S(path), in);

    const auto probe = swtest::Probe(path);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, c.codec);
    EXPECT_EQ(probe.sampleRate, c.rate);
    EXPECT_EQ(probe.channels, c.channels);
    EXPECT_EQ(probe.bitRate, (long long)c.rate * c.channels * c.bits);

    const sw::PlanarBuffer out = DecodeAll(S(path));
    ASSERT_EQ(out.frames(), in.frames());
    const double step = 2.0 / std::pow(2.0, c.bits);
    for (int ch = 0; ch < c.channels; ++ch)
        for (size_t i = 0; i < size_t(in.frames()); ++i)
            ASSERT_NEAR(out.channels[size_t(ch)][i], in.channels[size_t(ch)][i], step) << "frame " << i;
    EXPECT_EQ(sw::AudioDecoder::Open(S(path))->LengthEstimate(), in.frames());
}

INSTANTIATE_TEST_SUITE_P(BitsRatesChannels, WavWrite,
                         ::testing::Values(WavCase{8, 8000, 1, "pcm_u8"}, WavCase{8, 11025, 2, "pcm_u8"},
                                           WavCase{16, 44100, 2, "pcm_s16le"}, WavCase{16, 7350, 1, "pcm_s16le"},
                                           WavCase{24, 22050, 1, "pcm_s24le"}, WavCase{24, 96000, 2, "pcm_s24le"},
                                           WavCase{32, 37800, 2, "pcm_s32le"}, WavCase{32, 48000, 1, "pcm_s32le"}));

// Full-scale and out-of-range samples clip instead of wrapping around.
TEST(WavWriteSamples, ClipsOutOfRangeSamples) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/clip.wav";
    sw::PlanarBuffer in;
    in.sampleRate = 44100;
    in.channels = {{1.0f, -1.0f, 1.7f, -3.0f, 0.0f}};
    for (int bits : {8, 16, 24, 32}) {
        sw::FileFormat f;
        f.SetWaveFormat(44100, 1, bits);
        Encode(sw::FormatWav, f, S(path), in);
        const sw::PlanarBuffer out = DecodeAll(S(path));
        ASSERT_EQ(out.frames(), 5);
        const std::vector<float>& o = out.channels[0];
        EXPECT_GT(o[0], 0.98f) << bits;
        EXPECT_LT(o[1], -0.98f) << bits;
        EXPECT_GT(o[2], 0.98f) << bits;
        EXPECT_LT(o[3], -0.98f) << bits;
        EXPECT_NEAR(o[4], 0.0f, 0.01f) << bits;
    }
}

// Rate and channel conversion on the way out: a mono input becomes two equal
// channels at full level, a stereo input one channel with the mean.
TEST(WavWriteSamples, ConvertsRateAndChannels) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/conv.wav";
    sw::FileFormat f;
    f.SetWaveFormat(48000, 2, 16);
    Encode(sw::FormatWav, f, S(path), Sine(22050, 1, 1.0, {0.5f}));
    sw::PlanarBuffer out = DecodeAll(S(path));
    EXPECT_EQ(out.sampleRate, 48000);
    ASSERT_EQ(out.channelCount(), 2);
    EXPECT_NEAR(double(out.frames()), 48000.0, 5.0);
    EXPECT_NEAR(Rms(out.channels[0]), 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_EQ(out.channels[0], out.channels[1]);

    sw::PlanarBuffer stereo = Sine(44100, 2, 1.0, {0.5f, 0.5f});
    stereo.channels[1] = stereo.channels[0];   // equal channels: the mean keeps the level
    f.SetWaveFormat(44100, 1, 16);
    Encode(sw::FormatWav, f, S(path), stereo);
    out = DecodeAll(S(path));
    ASSERT_EQ(out.channelCount(), 1);
    EXPECT_EQ(out.frames(), 44100);
    EXPECT_NEAR(Rms(out.channels[0]), 0.5 / std::sqrt(2.0), 0.01);
}

// ---------------------------------------------------------------------------
// MP3

// Facts of an MPEG audio layer 3 frame, found by walking the frame chain from
// the start of the audio (after an ID3v2 tag).
struct Mp3Frame { bool ok = false; int version = 0; bool crc = false; int mode = 0; };

Mp3Frame NthFrame(const QByteArray& b, int index) {
    static const int kRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    Mp3Frame f;
    qsizetype pos = 0;
    if (b.startsWith("ID3") && b.size() > 10)
        pos = 10 + ((b[6] & 0x7F) << 21 | (b[7] & 0x7F) << 14 | (b[8] & 0x7F) << 7 | (b[9] & 0x7F));
    for (int n = 0; pos + 4 <= b.size(); ++n) {
        const auto b1 = uchar(b[pos + 1]), b2 = uchar(b[pos + 2]), b3 = uchar(b[pos + 3]);
        if (uchar(b[pos]) != 0xFF || (b1 & 0xE0) != 0xE0) return f;
        const int v = (b1 >> 3) & 3;
        const int rate = kRates[v][(b2 >> 2) & 3];
        const int kbps = (v == 3 ? kV1 : kV2)[b2 >> 4];
        if (!rate || !kbps) return f;
        if (n == index) {
            f.ok = true;
            f.version = v == 3 ? 1 : v == 2 ? 2 : 25;   // 25 = MPEG 2.5
            f.crc = (b1 & 1) == 0;
            f.mode = b3 >> 6;                           // 0 stereo, 1 joint, 2 dual, 3 mono
            return f;
        }
        pos += (v == 3 ? 144 : 72) * kbps * 1000 / rate + ((b2 >> 1) & 1);
    }
    return f;
}

struct Mp3Case {
    const char* name;
    sw::FileFormat format;
    int rate, channels;
    int kbps;           // expected bit rate (ffprobe), 0 = do not check
    int mpegVersion;    // 1, 2 or 25
    int mode;           // header mode, -1 = do not check
    bool crc;
    int vbrHeader;      // 1 "Xing"/"Info" expected, 0 none, -1 do not check
};

sw::FileFormat Cbr(int rate, int kbps, int ch) {
    sw::FileFormat f;
    f.SetMp3Cbr(rate, kbps, ch);
    return f;
}

sw::FileFormat Lame(sw::LameEncParams p) {
    sw::FileFormat f;
    f.SetMp3Lame(p);
    return f;
}

sw::LameEncParams Preset(int n) {
    sw::LameEncParams p;
    p.Preset = n;
    p.Crc = true;             // ignored by presets
    p.VbrMethod = 4;          // ignored by presets
    return p;
}

sw::LameEncParams Vbr(int quality, int stereoMode, int channels, bool xing, bool crc) {
    sw::LameEncParams p;
    p.VbrMethod = 0;
    p.VbrQuality = quality;
    p.StereoMode = stereoMode;
    p.Channels = channels;
    p.WriteVbrHeader = xing;
    p.Crc = crc;
    p.MinBitRate = 32;
    p.MaxBitRate = 320;
    return p;
}

sw::LameEncParams Abr(int kbps) {
    sw::LameEncParams p;
    p.VbrMethod = 4;
    p.AbrBitRate = kbps;
    p.MinBitRate = 32;
    p.MaxBitRate = 320;
    return p;
}

class Mp3Write : public ::testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3Write, WritesTheAskedStream) {
    const Mp3Case& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.path() + "/out.mp3";
    Encode(sw::FormatMp3, c.format, S(path), Noisy(44100, 2, 2.0));
    const auto probe = swtest::Probe(path);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, "mp3");
    EXPECT_EQ(probe.sampleRate, c.rate);
    EXPECT_EQ(probe.channels, c.channels);
    if (c.kbps) {
        EXPECT_NEAR(double(probe.bitRate), c.kbps * 1000.0, c.kbps * 1000.0 * 0.25) << c.name;
    }
    EXPECT_NEAR(probe.duration, 2.0, 0.2);

    const QByteArray bytes = ReadBytes(path);
    const Mp3Frame fr = NthFrame(bytes, 2);
    ASSERT_TRUE(fr.ok);
    EXPECT_EQ(fr.version, c.mpegVersion);
    if (c.mode >= 0) {
        EXPECT_EQ(fr.mode, c.mode);
    }
    EXPECT_EQ(fr.crc, c.crc);
    const QByteArray head = bytes.left(4096);
    if (c.vbrHeader >= 0) {
        EXPECT_EQ(head.contains("Xing") || head.contains("Info"), c.vbrHeader == 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Mp3Write,
    ::testing::Values(
        Mp3Case{"cbr128", Cbr(44100, 128, 2), 44100, 2, 128, 1, 1, false, 1},
        Mp3Case{"cbr320", Cbr(44100, 320, 2), 44100, 2, 320, 1, 1, false, 1},
        Mp3Case{"cbr32mono", Cbr(44100, 32, 1), 44100, 1, 32, 1, 3, false, -1},
        Mp3Case{"cbr22k", Cbr(22050, 64, 2), 22050, 2, 64, 2, -1, false, 1},
        Mp3Case{"vbrBest", Lame(Vbr(9, 1, 2, true, false)), 44100, 2, 0, 1, 0, false, 1},
        Mp3Case{"vbrSmallJoint", Lame(Vbr(0, 2, 2, true, false)), 44100, 2, 0, 1, 1, false, 1},
        Mp3Case{"vbrDual", Lame(Vbr(5, 4, 2, true, false)), 44100, 2, 0, 1, 2, false, 1},
        Mp3Case{"vbrMono", Lame(Vbr(5, 1, 1, true, false)), 44100, 1, 0, 1, 3, false, 1},
        Mp3Case{"vbrCrc", Lame(Vbr(5, 1, 2, true, true)), 44100, 2, 0, 1, 0, true, 1},
        Mp3Case{"vbrNoXing", Lame(Vbr(5, 1, 2, false, false)), 44100, 2, 0, 1, 0, false, 0},
        Mp3Case{"abr128", Lame(Abr(128)), 44100, 2, 128, 1, -1, false, 1},
        Mp3Case{"abr256", Lame(Abr(256)), 44100, 2, 256, 1, -1, false, 1},
        Mp3Case{"preset1", Lame(Preset(1)), 8000, 1, 16, 25, 3, false, -1},
        Mp3Case{"preset2", Lame(Preset(2)), 11025, 1, 24, 25, 3, false, -1},
        Mp3Case{"preset3", Lame(Preset(3)), 16000, 1, 32, 2, 3, false, -1},
        Mp3Case{"preset4", Lame(Preset(4)), 22050, 2, 96, 2, 1, false, -1},
        Mp3Case{"preset5", Lame(Preset(5)), 44100, 1, 64, 1, 3, false, -1},
        Mp3Case{"preset6", Lame(Preset(6)), 44100, 2, 112, 1, 1, false, -1},
        Mp3Case{"preset7", Lame(Preset(7)), 44100, 2, 128, 1, 1, false, -1},
        Mp3Case{"preset8", Lame(Preset(8)), 44100, 2, 160, 1, 1, false, -1},
        Mp3Case{"preset9", Lame(Preset(9)), 44100, 2, 192, 1, 0, false, -1},
        Mp3Case{"preset10", Lame(Preset(10)), 44100, 2, 256, 1, 0, false, -1},
        Mp3Case{"preset11", Lame(Preset(11)), 44100, 2, 320, 1, 0, false, -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The quality level steers the size: 9 (best) gives a larger file than 0.
TEST(Mp3WriteVbr, QualityLevelOrdersTheSize) {
    QTemporaryDir dir;
    const sw::PlanarBuffer in = Noisy(44100, 2, 2.0);
    qint64 sizes[2];
    int i = 0;
    for (int q : {0, 9}) {
        const QString path = dir.path() + QString("/q%1.mp3").arg(q);
        Encode(sw::FormatMp3, Lame(Vbr(q, 2, 2, true, false)), S(path), in);
        sizes[i++] = QFileInfo(path).size();
    }
    EXPECT_GT(sizes[1], sizes[0] * 3 / 2);
}

// ---------------------------------------------------------------------------
// OGG

struct OggCase {
    const char* name;
    int rate, channels, nominal, quality;
    int minKbps, maxKbps;   // accepted range of the nominal bit rate ffprobe reports
};

class OggWrite : public ::testing::TestWithParam<OggCase> {};

TEST_P(OggWrite, WritesVorbis) {
    const OggCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.path() + "/out.ogg";
    sw::FileFormat f;
    f.SetOggFormat(c.rate, c.channels, c.nominal, 0, 0, c.quality);
    Encode(sw::FormatOgg, f, S(path), Sine(44100, 2, 1.0));
    const auto probe = swtest::Probe(path);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, "vorbis");
    EXPECT_EQ(probe.sampleRate, c.rate);
    EXPECT_EQ(probe.channels, c.channels);
    EXPECT_GE(probe.bitRate, c.minKbps * 1000LL) << c.name;
    EXPECT_LE(probe.bitRate, c.maxKbps * 1000LL) << c.name;
    EXPECT_NEAR(probe.duration, 1.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, OggWrite,
    ::testing::Values(OggCase{"q60", 44100, 2, 0, 600, 150, 240}, OggCase{"q10", 44100, 2, 0, 100, 60, 100},
                      OggCase{"q100", 44100, 2, 0, 1000, 400, 560}, OggCase{"qMono", 44100, 1, 0, 600, 60, 140},
                      OggCase{"abr64mono", 44100, 1, 64, -1, 64, 64}, OggCase{"abr128", 44100, 2, 128, -1, 128, 128},
                      OggCase{"abr192", 44100, 2, 192, -1, 192, 192}, OggCase{"abr350", 44100, 2, 350, -1, 300, 350},
                      OggCase{"abr320mono", 44100, 1, 320, -1, 100, 319},
                      OggCase{"abr96at22k", 22050, 2, 96, -1, 96, 96}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// WMA

struct WmaCase { int profile, rate, channels, kbps; };

class WmaWrite : public ::testing::TestWithParam<WmaCase> {};

TEST_P(WmaWrite, WritesTheProfile) {
    const WmaCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.path() + "/out.wma";
    sw::FileFormat f;
    f.SetWmaProfile(c.profile);
    Encode(sw::FormatWma, f, S(path), Sine(44100, 2, 1.0));
    const auto probe = swtest::Probe(path);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, "wmav2");
    EXPECT_EQ(probe.format, "asf");
    EXPECT_EQ(probe.sampleRate, c.rate);
    EXPECT_EQ(probe.channels, c.channels);
    EXPECT_NEAR(double(probe.bitRate), c.kbps * 1000.0, c.kbps * 1000.0 * 0.1);
    EXPECT_NEAR(probe.duration, 1.0, 0.3);
    const sw::PlanarBuffer back = DecodeAll(S(path));
    EXPECT_GT(Rms(back.channels[0]), 0.1);
}

// Profile 36 is promised as 8 kbps, which wmav2 refuses at 8 kHz mono; it is
// written with the lowest bit rate wmav2 accepts there.
INSTANTIATE_TEST_SUITE_P(Profiles, WmaWrite,
                         ::testing::Values(WmaCase{36, 8000, 1, 24}, WmaCase{23, 22050, 2, 32},
                                           WmaCase{16, 44100, 1, 48}, WmaCase{13, 44100, 2, 64},
                                           WmaCase{11, 44100, 2, 96}, WmaCase{10, 44100, 2, 128},
                                           WmaCase{8, 44100, 2, 192}));

// ---------------------------------------------------------------------------
// Tags

TEST(EncoderTags, SurviveASaveInEveryFormat) {
    QTemporaryDir dir;
    sw::AudioTags tags;
    tags.Title = "Night Tr\xc3\xa4in";
    tags.Artist = "The Testers";
    tags.Album = "Round Trip";
    tags.Comment = "written by the codec test";
    tags.Genre = 17;   // Rock
    tags.Year = 1999;
    sw::FileFormat f;
    f.SetWaveFormat(44100, 2, 16);
    f.SetOggFormat(44100, 2, 0, 0, 0, 400);
    for (const auto& [code, ext] : std::vector<std::pair<int, QString>>{
             {sw::FormatWav, "wav"}, {sw::FormatMp3, "mp3"}, {sw::FormatOgg, "ogg"}, {sw::FormatWma, "wma"}}) {
        const QString path = dir.path() + "/tagged." + ext;
        Encode(code, f, S(path), Sine(44100, 2, 0.5), tags);
        EXPECT_EQ(sw::ReadTags(S(path)), tags) << S(ext);
        const auto probe = swtest::Probe(path);
        ASSERT_TRUE(probe.ok) << S(ext);
        EXPECT_TRUE(probe.tags.contains("title=Night Tr\u00e4in")) << S(ext) << "\n" << S(probe.tags);
        EXPECT_TRUE(probe.tags.contains("artist=The Testers")) << S(ext) << "\n" << S(probe.tags);
        EXPECT_TRUE(probe.tags.contains("album=Round Trip")) << S(ext) << "\n" << S(probe.tags);
        EXPECT_NEAR(probe.duration, 0.5, 0.3) << S(ext);
        // The tags do not get in the way of the audio.
        EXPECT_GT(Rms(DecodeAll(S(path)).channels[0]), 0.2) << S(ext);
    }
}

TEST(EncoderTags, WriteTagsRetagsAnExistingFile) {
    QTemporaryDir dir;
    for (const QString& ext : {QString("wav"), QString("mp3"), QString("ogg"), QString("wma")}) {
        const QString path = dir.path() + "/plain." + ext;
        sw::FileFormat f;
        Encode(sw::FormatCodeForPath(S(path)), f, S(path), Sine(44100, 2, 0.3));
        EXPECT_EQ(sw::ReadTags(S(path)), sw::AudioTags{}) << S(ext);
        sw::AudioTags t;
        t.Title = "Later";
        t.Genre = 0;
        t.Year = 2024;
        sw::WriteTags(S(path), t);
        EXPECT_EQ(sw::ReadTags(S(path)), t) << S(ext);
        EXPECT_EQ(DecodeAll(S(path)).channelCount(), 2) << S(ext);
    }
    EXPECT_THROW(sw::WriteTags(S(dir.path() + "/missing.mp3"), sw::AudioTags{}), sw::EngineError);
}

// ---------------------------------------------------------------------------
// Failing saves and saves over open files

TEST(EncoderFailures, UnwritableTargetThrowsAndLeavesNothing) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/plain-file";
    WriteBytes(file, "x");
    sw::FileFormat f;
    for (const QString& target : {dir.path() + "/missing-folder/out.mp3", file + "/out.wav"}) {
        try {
            sw::AudioEncoder::Create(sw::FormatCodeForPath(S(target)), f, S(target), 44100, 2, {});
            ADD_FAILURE() << "created " << S(target);
        } catch (const sw::EngineError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot write \"" + S(target) + "\": ", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(Entries(dir.path()), QStringList{"plain-file"});
    EXPECT_THROW(sw::AudioEncoder::Create(5, f, S(dir.path() + "/x.aiff"), 44100, 2, {}), sw::EngineError);
}

// A full disk: the save fails with the system's reason and the old file
// stays as it was, with no temporary file left behind.
TEST(EncoderFailures, FullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString mnt = dir.path() + "/small";
    ASSERT_TRUE(QDir().mkpath(mnt));
    if (::mount("tmpfs", S(mnt).c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    struct Unmount {
        std::string p;
        ~Unmount() { ::umount(p.c_str()); }
    } unmount{S(mnt)};

    sw::FileFormat f;
    f.SetWaveFormat(44100, 2, 16);
    f.SetOggFormat(44100, 2, 0, 0, 0, 600);
    const sw::PlanarBuffer big = Noisy(44100, 2, 30.0);
    for (const QString& ext : {QString("wav"), QString("mp3"), QString("ogg"), QString("wma")}) {
        const QString target = mnt + "/song." + ext;
        WriteBytes(target, QByteArray(10000, 'o'));
        const int code = sw::FormatCodeForPath(S(target));
        try {
            Encode(code, f, S(target), big);
            ADD_FAILURE() << S(ext) << ": a 30 s file fitted into 256 KiB";
        } catch (const sw::EngineError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write \"" + S(target) + "\": No space left on device");
        }
        EXPECT_EQ(ReadBytes(target), QByteArray(10000, 'o')) << S(ext);
        EXPECT_EQ(Entries(mnt), QStringList{"song." + ext}) << S(ext);
        QFile::remove(target);
    }
}

// Abort, or dropping an unfinished encoder, leaves the target untouched.
TEST(EncoderFailures, AbortKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString target = dir.path() + "/keep.wav";
    WriteBytes(target, "old content");
    sw::FileFormat f;
    const sw::PlanarBuffer b = Sine(44100, 2, 0.2);
    const float* p[2] = {b.channels[0].data(), b.channels[1].data()};
    {
        auto e = sw::AudioEncoder::Create(sw::FormatWav, f, S(target), 44100, 2, {});
        e->Write(p, int(b.frames()));
        e->Abort();
    }
    {
        auto e = sw::AudioEncoder::Create(sw::FormatMp3, f, S(target), 44100, 2, {});
        e->Write(p, int(b.frames()));
    }
    EXPECT_EQ(ReadBytes(target), QByteArray("old content"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"keep.wav"});
}

// Saving over the file a decoder still reads: the decoder goes on with the
// old content, the file afterwards holds the new one.
TEST(EncoderOverwrite, SavingOverAnOpenFileWorks) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/song.wav";
    ASSERT_TRUE(swtest::MakeTone(path, 1.0, 44100, 2, {"-c:a", "pcm_s16le"}));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    const auto permissions = QFileInfo(path).permissions();
    auto d = sw::AudioDecoder::Open(S(path));
    std::vector<float> l(1000), r(1000);
    float* pr[2] = {l.data(), r.data()};
    sw::SampleCount total = d->Read(pr, 1000);

    sw::FileFormat f;
    f.SetWaveFormat(22050, 1, 16);
    Encode(sw::FormatWav, f, S(path), Sine(22050, 1, 0.5));

    for (int n; (n = d->Read(pr, 1000)) > 0;) total += n;
    EXPECT_EQ(total, 44100);
    const sw::PlanarBuffer now = DecodeAll(S(path));
    EXPECT_EQ(now.sampleRate, 22050);
    EXPECT_EQ(now.frames(), 11025);
    EXPECT_EQ(QFileInfo(path).permissions(), permissions);
    EXPECT_EQ(Entries(dir.path()), QStringList{"song.wav"});
}

}  // namespace
