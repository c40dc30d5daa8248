// The encoder layer: real conversions of tiny clips checked with ffprobe,
// the task queue and its events, the option translation table.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

#include "encoder/CodecOptions.h"
#include "encoder/FFEncoder.h"
#include "Profile.h"
#include "formats/Presets.h"

extern "C" {
#include <libavutil/log.h>
}

using namespace rc;

namespace {

bool Ffmpeg(const QStringList& args) {
    QProcess p;
    p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

struct Clips {
    QTemporaryDir dir;
    QString av, av2, av3, audio;
    bool ok = false;
    Clips() {
        av = dir.path() + "/clip.mp4";
        av2 = dir.path() + "/clip2.avi";
        av3 = dir.path() + "/clip3.mkv";
        audio = dir.path() + "/tone.wav";
        ok = Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=44100:duration=1", "-c:v", "libx264", "-pix_fmt", "yuv420p",
                     "-c:a", "aac", "-ac", "2", "-shortest", av}) &&
             Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=15:duration=1", "-f", "lavfi", "-i",
                     "sine=frequency=330:sample_rate=22050:duration=1", "-c:v", "mpeg4", "-c:a", "pcm_s16le",
                     "-ac", "1", av2}) &&
             Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=128x96:rate=30:duration=1", "-f", "lavfi", "-i",
                     "sine=frequency=550:sample_rate=48000:duration=1", "-c:v", "mpeg4", "-c:a", "libvorbis",
                     "-ac", "2", av3}) &&
             Ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1", "-ac", "2", audio});
    }
};
const Clips& Shared() {
    static Clips c;
    return c;
}

struct Facts {
    QString format, vcodec, acodec;
    int width = 0, height = 0, sampleRate = 0, channels = 0;
    double fps = 0, duration = 0;
    long long vbitrate = 0, abitrate = 0;
    QString vtag;
};

Facts ProbeFile(const QString& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", path});
    p.waitForFinished(60000);
    const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    Facts f;
    f.format = root["format"].toObject()["format_name"].toString();
    f.duration = root["format"].toObject()["duration"].toString().toDouble();
    for (const auto& v : root["streams"].toArray()) {
        const QJsonObject s = v.toObject();
        if (s["codec_type"] == "video" && f.vcodec.isEmpty()) {
            f.vcodec = s["codec_name"].toString();
            f.width = s["width"].toInt();
            f.height = s["height"].toInt();
            const QStringList r = s["avg_frame_rate"].toString().split('/');
            if (r.size() == 2 && r[1].toDouble() > 0) f.fps = r[0].toDouble() / r[1].toDouble();
            f.vbitrate = s["bit_rate"].toString().toLongLong();
            f.vtag = s["codec_tag_string"].toString();
        } else if (s["codec_type"] == "audio" && f.acodec.isEmpty()) {
            f.acodec = s["codec_name"].toString();
            f.sampleRate = s["sample_rate"].toString().toInt();
            f.channels = s["channels"].toInt();
            f.abitrate = s["bit_rate"].toString().toLongLong();
        }
    }
    return f;
}

// Runs the tasks to the end of the run; returns the end events.
std::vector<TTerminateInfo> RunAll(TFFEncoder& enc, QStringList* notes = nullptr, int timeoutMs = 240000) {
    std::vector<TTerminateInfo> ends;
    bool done = false;
    QObject ctx;
    QObject::connect(&enc, &TFFEncoder::OnTerminate, &ctx, [&](const TTerminateInfo& i) {
        ends.push_back(i);
        if (i.TaskIndex < 0) done = true;
    });
    if (notes) QObject::connect(&enc, &TFFEncoder::OnNote, &ctx, [notes](const QString& t) { *notes << t; });
    EXPECT_TRUE(enc.StartTask(1));
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(done);
    return ends;
}

struct ConvCase {
    const char* name;
    int cls, format, preset;
    const char* container;  // part of ffprobe's format name
    const char* vcodec;     // "" none
    const char* acodec;
    int width, height;      // 0: not checked
    double fps;             // 0: not checked
    int rate, channels;
    bool checkBitrates;
    const char* cli = "";  // the command line's options for the same row
};

class ConversionTest : public ::testing::TestWithParam<ConvCase> {};

TEST_P(ConversionTest, OutputHasWhatTheRowAsks) {
    const ConvCase& c = GetParam();
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    auto opts = BuildOutputOptions(c.cls, c.format, c.preset);
    ASSERT_TRUE(opts);
    const QString path = out.path() + "/out" + OutputExtension(c.cls, c.format);
    TFFEncoder enc;
    const int task = enc.AddTask(c.cls == ClassAudio ? clips.audio : clips.av, {});
    ASSERT_EQ(task, 0);
    ASSERT_TRUE(enc.SetOutputFile(task, path, *opts)) << enc.LastErrorText().toStdString();
    QStringList notes;
    const auto ends = RunAll(enc, &notes);
    if (qEnvironmentVariableIsSet("RC_SHOW_NOTES")) std::cerr << notes.join("\n").toStdString() << std::endl;
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_TRUE(ends[0].Finished) << ends[0].ExceptionMsg.toStdString() << "\n" << notes.join("\n").toStdString();
    // Every option of the row is taken or knowingly skipped, never refused.
    for (const QString& n : notes) EXPECT_FALSE(n.contains("rejected")) << n.toStdString();
    const Facts f = ProbeFile(path);
    EXPECT_TRUE(f.format.contains(c.container)) << f.format.toStdString();
    EXPECT_EQ(f.vcodec, c.vcodec);
    EXPECT_EQ(f.acodec, c.acodec);
    if (c.width) {
        EXPECT_EQ(f.width, c.width);
        EXPECT_EQ(f.height, c.height);
    }
    if (c.fps > 0) {
        EXPECT_NEAR(f.fps, c.fps, 0.02);
    }
    if (c.rate) {
        EXPECT_EQ(f.sampleRate, c.rate);
    }
    if (c.channels) {
        EXPECT_EQ(f.channels, c.channels);
    }
    if (c.checkBitrates && opts->AudioBitrate > 0 && f.abitrate > 0) {
        EXPECT_NEAR(double(f.abitrate), opts->AudioBitrate, opts->AudioBitrate * 0.25);
    }
    if (c.checkBitrates && opts->VideoBitrate > 0) {
        // A one-second clip cannot fill every rate, so the command line with
        // the same options is the measure: both files come out alike in size.
        const QString cliPath = out.path() + "/cli" + OutputExtension(c.cls, c.format);
        ASSERT_TRUE(Ffmpeg(QStringList{"-i", clips.av} + QString(c.cli).split(' ') + QStringList{cliPath}));
        const double ours = QFileInfo(path).size(), theirs = QFileInfo(cliPath).size();
        EXPECT_NEAR(ours / theirs, 1.0, 0.3) << ours << " vs " << theirs;
    }
}

const ConvCase kConversions[] = {
    {"Wav0", 2, 0, 0, "wav", "", "pcm_s16le", 0, 0, 0, 11025, 1, false},
    {"Wav4", 2, 0, 4, "wav", "", "pcm_s16le", 0, 0, 0, 44000, 2, false},
    {"Mp3Preset3", 2, 1, 3, "mp3", "", "mp3", 0, 0, 0, 48000, 2, true},
    {"Wma0", 2, 2, 0, "asf", "", "wmav2", 0, 0, 0, 48000, 2, true},
    {"Ogg0", 2, 3, 0, "ogg", "", "vorbis", 0, 0, 0, 11025, 2, false},
    {"Aac1SnapsRate", 2, 4, 1, "aac", "", "aac", 0, 0, 0, 22050, 1, false},
    {"M4a1SnapsRate", 2, 5, 1, "mp4", "", "aac", 0, 0, 0, 44100, 2, false},
    {"Flac5", 2, 6, 5, "flac", "", "flac", 0, 0, 0, 44100, 2, false},
    {"Mp2Row0", 2, 7, 0, "mp3", "", "mp2", 0, 0, 0, 22050, 1, true},
    {"Avi3", 0, 0, 3, "avi", "mpeg4", "mp3", 160, 120, 25, 44100, 2, true,
     "-c:v mpeg4 -vtag XVID -b:v 1500k -c:a libmp3lame -ac 2 -ar 44100 -b:a 192k"},
    {"Avi21Mjpeg", 0, 0, 21, "avi", "mjpeg", "pcm_s16le", 640, 480, 0, 44100, 2, false},
    {"Mp4Row14", 0, 1, 14, "mp4", "mpeg4", "aac", 160, 120, 25, 48000, 2, false},
    {"Mp4Row5Psp", 0, 1, 5, "mp4", "h264", "aac", 848, 480, 29.97, 48000, 2, false},
    {"Flv2", 0, 2, 2, "flv", "flv1", "mp3", 352, 288, 15, 22050, 2, false},
    {"Swf4", 0, 3, 4, "swf", "flv1", "mp3", 176, 144, 15, 11025, 1, false},
    {"Mpeg1", 0, 4, 1, "mpeg", "mpeg2video", "mp2", 1280, 720, 29.97, 48000, 2, false},
    {"Mpeg3DvdPal", 0, 4, 3, "mpeg", "mpeg2video", "mp2", 720, 576, 25, 48000, 2, false},
    {"Mpeg10SvcdNtsc", 0, 4, 10, "mpeg", "mpeg2video", "mp2", 480, 480, 29.97, 44100, 2, false},
    {"Mpeg13VcdPal", 0, 4, 13, "mpeg", "mpeg1video", "mp2", 352, 288, 25, 44100, 2, false},
    {"Rm0", 0, 5, 0, "rm", "rv20", "ac3", 160, 120, 0, 0, 0, false},
    {"Wmv3", 0, 6, 3, "asf", "wmv2", "wmav2", 320, 240, 25, 44100, 2, false},
    {"Mov1", 0, 7, 1, "mov", "h264", "aac", 848, 480, 25, 48000, 2, false},
    {"Mov8Svq1", 0, 7, 8, "mov", "svq1", "mp3", 160, 120, 0, 44100, 2, false},
    {"Gp3Row0Amr", 0, 8, 0, "3gp", "h263", "amr_nb", 176, 144, 12, 8000, 1, false},
    {"Gp3Row1", 0, 8, 1, "3gp", "mpeg4", "aac", 176, 144, 15, 32000, 1, false},
    {"IPod9", 1, 0, 9, "mp4", "h264", "aac", 320, 240, 15, 44100, 2, false},
    {"IPhone0", 1, 1, 0, "mp4", "h264", "aac", 640, 480, 30, 48000, 2, false},
    {"AppleTV2", 1, 2, 2, "mp4", "h264", "aac", 480, 360, 24, 44100, 2, false},
    {"Psp1", 1, 3, 1, "mp4", "h264", "aac", 368, 208, 24, 44100, 2, false},
    {"BlackBerry2", 1, 4, 2, "mp4", "h264", "aac", 320, 240, 15, 44100, 2, true,
     "-c:v libx264 -s 320x240 -r 15 -b:v 500k -coder 1 -bf 3 -refs 3 -c:a aac -ac 2 -ar 44100 -b:a 128k"},
    {"MobilePhone3", 1, 5, 3, "mp4", "mpeg4", "aac", 128, 96, 10, 22050, 2, true,
     "-c:v mpeg4 -s 128x96 -r 10 -b:v 119k -c:a aac -ac 2 -ar 22050 -b:a 64k"},
    {"IPad2", 1, 6, 2, "mp4", "h264", "aac", 320, 240, 15, 44100, 2, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, ConversionTest, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST(EncoderQueue, JoinGivesOneOutputOfSummedDuration) {
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    TFFEncoder enc;
    ASSERT_EQ(enc.AddTask(clips.av, {}), 0);
    ASSERT_TRUE(enc.AddInputFile(0, clips.av2, {}));
    ASSERT_TRUE(enc.AddInputFile(0, clips.av3, {}));
    auto opts = BuildOutputOptions(ClassVideo, 0, 3);
    opts->Join = true;
    const QString path = out.path() + "/Output_Merge.avi";
    ASSERT_TRUE(enc.SetOutputFile(0, path, *opts));
    const auto ends = RunAll(enc);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_TRUE(ends[0].Finished) << ends[0].ExceptionMsg.toStdString();
    const Facts f = ProbeFile(path);
    EXPECT_EQ(f.width, 160);
    EXPECT_NEAR(f.duration, 3.0, 0.25);
}

TEST(EncoderQueue, OneEndPerTaskThenTheRunAndFailuresAreReported) {
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    TFFEncoder enc;
    auto opts = *BuildOutputOptions(ClassAudio, 0, 0);
    ASSERT_EQ(enc.AddTask(clips.audio, {}), 0);
    ASSERT_TRUE(enc.SetOutputFile(0, out.path() + "/a.wav", opts));
    ASSERT_EQ(enc.AddTask(out.path() + "/missing.wav", {}), 1);
    ASSERT_TRUE(enc.SetOutputFile(1, out.path() + "/b.wav", opts));
    ASSERT_EQ(enc.AddTask(clips.audio, {}), 2);
    ASSERT_TRUE(enc.SetOutputFile(2, out.path() + "/c.wav", opts));
    const auto ends = RunAll(enc);
    ASSERT_EQ(ends.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ends[i].TaskIndex, i);
    EXPECT_EQ(ends[3].TaskIndex, -1);
    EXPECT_TRUE(ends[0].Finished);
    EXPECT_FALSE(ends[1].Finished);
    EXPECT_TRUE(ends[1].Exception);
    EXPECT_FALSE(ends[1].ExceptionMsg.isEmpty());
    EXPECT_FALSE(QFile::exists(out.path() + "/b.wav"));
    EXPECT_TRUE(ends[2].Finished);
}

TEST(EncoderQueue, OperationsRefusedWhileWorkingAndStopEndsEveryTask) {
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    TFFEncoder enc;
    auto opts = *BuildOutputOptions(ClassVideo, 0, 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(enc.AddTask(clips.av, {}), i);
        ASSERT_TRUE(enc.SetOutputFile(i, out.path() + QStringLiteral("/o%1.avi").arg(i), opts));
    }
    bool done = false;
    std::vector<TTerminateInfo> ends;
    QObject::connect(&enc, &TFFEncoder::OnTerminate, [&](const TTerminateInfo& i) {
        ends.push_back(i);
        if (i.TaskIndex < 0) done = true;
    });
    ASSERT_TRUE(enc.StartTask(1));
    EXPECT_EQ(enc.AddTask(clips.av, {}), -1);
    EXPECT_EQ(enc.LastErrorText(), "Cannot AddTask while working.");
    EXPECT_FALSE(enc.ClearTasks());
    EXPECT_EQ(enc.LastErrorText(), "Cannot ClearTasks while working.");
    enc.StopAll();
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(ends.size(), 4u);
    for (int i = 0; i < 3; ++i)
        if (!ends[i].Finished) {
            EXPECT_FALSE(QFile::exists(out.path() + QStringLiteral("/o%1.avi").arg(i)));
        }
    EXPECT_TRUE(enc.ClearTasks());
    EXPECT_EQ(enc.TaskCount(), 0);
}

TEST(EncoderQueue, InputMaximumAndBadOutput) {
    TFFEncoder enc;
    ASSERT_EQ(enc.AddTask("/x/a.avi", {}), 0);
    for (int i = 1; i < kMaxTaskInputs; ++i) ASSERT_TRUE(enc.AddInputFile(0, "/x/a.avi", {}));
    EXPECT_FALSE(enc.AddInputFile(0, "/x/a.avi", {}));
    EXPECT_EQ(enc.LastErrorText(), QStringLiteral("max input files %1 reached").arg(kMaxTaskInputs));
    TOutputOptions o;
    EXPECT_FALSE(enc.SetOutputFile(0, "/x/out.nosuchext", o));
    o.VideoCodec = "nosuchcodec";
    EXPECT_FALSE(enc.SetOutputFile(0, "/x/out.avi", o));
    EXPECT_TRUE(enc.LastErrorText().contains("nosuchcodec"));
    EXPECT_FALSE(enc.SetOutputFile(3, "/x/out.avi", {}));
    EXPECT_TRUE(enc.RemoveTask(0));
    EXPECT_EQ(enc.TaskCount(), 0);
}

TEST(CodecOptions, EncoderNamesOfOlderReleases) {
    EXPECT_EQ(ResolveEncoderName("libfaac"), "aac");
    EXPECT_EQ(ResolveEncoderName("libmp3lame"), "libmp3lame");
    EXPECT_EQ(ResolveEncoderName("mpeg4"), "mpeg4");
    EXPECT_EQ(ResolveEncoderName("nosuchcodec"), "");
}

TEST(CodecOptions, TranslationTable) {
    struct Case { QStringList in; std::vector<TCodecOption> out; };
    const Case cases[] = {
        {{"aq=4.97"}, {{"flags", "+qscale", ScopeAudio}, {"global_quality", "586", ScopeAudio}}},
        {{"flags2=+mixed_refs+wpred+dct8x8+fastpskip"},
         {{"mixed-refs", "1"}, {"weightb", "1"}, {"8x8dct", "1"}, {"fast-pskip", "1"}}},
        {{"flags2=-fastpskip+fast"}, {{"fast-pskip", "0"}, {"flags2", "+fast"}}},
        {{"directpred=1"}, {{"direct-pred", "1"}}},
        {{"deblockalpha=1", "crf=24", "deblockbeta=-2"}, {{"deblock", "1:-2"}, {"crf", "24"}}},
        {{"partitions=+parti4x4+partp8x8+partb8x8"}, {{"partitions", "i4x4,p8x8,b8x8"}}},
        {{"me_method=umh", "wpredp=2"}, {{"motion-est", "umh"}, {"weightp", "2"}}},
        {{"rc_eq='blurCplx^(1-qComp)'"}, {{"rc_eq", "blurCplx^(1-qComp)"}}},
        {{"compression_level=5", "", "junk"}, {{"compression_level", "5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in.join(";").toStdString());
        EXPECT_EQ(TranslateOptions(ParseOptionList(c.in)), c.out);
    }
    EXPECT_EQ(ParseOptionLines("a=1\r\nb=2\r\n").size(), 2u);
}

TEST(Logger, LineFormAndLevels) {
    EXPECT_EQ(FormatLogLine(12, 3, "bad"), "#12.3: bad");
    EXPECT_EQ(TFFLogger::FromAvLevel(16), llError);
    EXPECT_EQ(TFFLogger::FromAvLevel(8), llFatal);
    TFFLogger logger;
    QStringList lines;
    QObject::connect(&logger, &TFFLogger::OnLog, [&](quint64 t, int l, const QString& m) { lines << FormatLogLine(t, l, m); });
    av_log(nullptr, AV_LOG_WARNING, "a warning\n");
    av_log(nullptr, AV_LOG_ERROR, "an error\n");
    QCoreApplication::processEvents();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(".3: an error"));
}

TEST(EncoderQueue, EncoderRefusalsFailTheTaskAndLeaveNoFile) {
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    TFFEncoder enc;
    // Constant 4 Mbps on a 160x120 picture needs more stuffing than MPEG-2 allows.
    auto cbr = *BuildOutputOptions(ClassVideo, 4, 5);
    TOutputOptions badRate = *BuildOutputOptions(ClassAudio, 7, 0);
    badRate.AudioBitrate = 448000;  // not an MPEG layer-2 rate
    ASSERT_EQ(enc.AddTask(clips.av, {}), 0);
    ASSERT_TRUE(enc.SetOutputFile(0, out.path() + "/cbr.mpg", cbr));
    ASSERT_EQ(enc.AddTask(clips.audio, {}), 1);
    ASSERT_TRUE(enc.SetOutputFile(1, out.path() + "/rate.mp2", badRate));
    const auto ends = RunAll(enc);
    ASSERT_EQ(ends.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(ends[i].Finished);
        EXPECT_FALSE(ends[i].ExceptionMsg.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out.path() + "/cbr.mpg"));
    EXPECT_FALSE(QFile::exists(out.path() + "/rate.mp2"));
}

TEST(EncoderQueue, PreviewDeliversPicturesOnlyWhenOn) {
    const Clips& clips = Shared();
    ASSERT_TRUE(clips.ok);
    QTemporaryDir out;
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        TFFEncoder enc;
        enc.SetPreview(on);
        QList<QImage> pictures;
        QObject::connect(&enc, &TFFEncoder::OnPreview, [&](int, const QImage& img) { pictures << img; });
        ASSERT_EQ(enc.AddTask(clips.av, {}), 0);
        ASSERT_TRUE(enc.SetOutputFile(0, out.path() + "/p.avi", *BuildOutputOptions(ClassVideo, 0, 7)));
        RunAll(enc);
        EXPECT_EQ(pictures.isEmpty(), !on);
        if (!pictures.isEmpty()) {
            EXPECT_EQ(pictures[0].size(), QSize(320, 240));
        }
    }
}
