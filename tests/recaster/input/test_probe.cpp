// The probing layer against ffprobe on media made with the ffmpeg tool.
#include <QImage>
#include <gtest/gtest.h>

#include "MediaFiles.h"
#include "input/InputRow.h"
#include "input/MediaProbe.h"

using namespace rc;
using rctest::FfprobeFile;
using rctest::Micros;
using rctest::SharedMedia;

namespace {
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SharedMedia().ok) << "ffmpeg could not make the test media"; }
    TMediaDecoder dec;
};

struct FileCase {
    const char* label;
    QString path;
    bool video, audio;
};
}  // namespace

TEST_F(ProbeTest, FactsMatchFfprobe) {
    const auto& m = SharedMedia();
    const FileCase cases[] = {{"mp4", m.mp4, true, true}, {"avi", m.avi, true, true},
                              {"mp3", m.mp3, false, true}, {"wav", m.wav, false, true},
                              {"raw", m.raw, true, false}};
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.label);
        const rctest::Probed want = FfprobeFile(c.path);
        ASSERT_TRUE(want.ok);
        ASSERT_TRUE(dec.OpenMediaFile(c.path)) << dec.LastErrorText().toStdString();
        EXPECT_EQ(dec.VideoStreamNo() >= 0, c.video);
        EXPECT_EQ(dec.AudioStreamNo() >= 0, c.audio);
        EXPECT_EQ(dec.FileSize(), QFileInfo(c.path).size());
        TMediaFileInfo info;
        ASSERT_TRUE(dec.QueryFileInfo(info));
        EXPECT_EQ(info.duration, Micros(want.format.value("duration")));
        if (c.video) {
            EXPECT_EQ(dec.VideoStreamNo(), want.video.value("index").toInt());
            TVideoStreamInfo v;
            ASSERT_TRUE(dec.QueryVideoStream(dec.VideoStreamNo(), v));
            EXPECT_EQ(v.codecName, want.video.value("codec_name").toString());
            EXPECT_EQ(v.width, want.video.value("width").toInt());
            EXPECT_EQ(v.height, want.video.value("height").toInt());
            EXPECT_EQ(v.bitRate, want.video.value("bit_rate").toString().toLongLong());
            const QStringList rate = want.video.value("avg_frame_rate").toString().split('/');
            const QStringList rRate = want.video.value("r_frame_rate").toString().split('/');
            const QStringList use = rate.value(0).toInt() > 0 ? rate : rRate;
            EXPECT_EQ(v.frameRateNum * use.value(1).toLongLong(), use.value(0).toLongLong() * v.frameRateDen);
            EXPECT_NEAR(v.displayAspectRatio, double(v.width) / v.height, 1e-9);  // square pixels
        }
        if (c.audio) {
            EXPECT_EQ(dec.AudioStreamNo(), want.audio.value("index").toInt());
            TAudioStreamInfo a;
            ASSERT_TRUE(dec.QueryAudioStream(dec.AudioStreamNo(), a));
            EXPECT_EQ(a.codecName, want.audio.value("codec_name").toString());
            EXPECT_EQ(a.sampleRate, want.audio.value("sample_rate").toString().toInt());
            EXPECT_EQ(a.channels, want.audio.value("channels").toInt());
            EXPECT_EQ(a.bitRate, want.audio.value("bit_rate").toString().toLongLong());
        }
        dec.CloseMediaFile();
        EXPECT_FALSE(dec.IsOpen());
        EXPECT_LT(dec.VideoStreamNo(), 0);
    }
}

TEST_F(ProbeTest, UnreadableFilesFailWithReasons) {
    const auto& m = SharedMedia();
    QFile junk(m.Path("junk.avi"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    for (const QString& path : {m.truncated, m.Path("junk.avi"), m.Path("missing.mp4"), m.dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(FfprobeFile(path).ok);  // the oracle refuses them too
        EXPECT_FALSE(dec.OpenMediaFile(path));
        EXPECT_FALSE(dec.IsOpen());
        EXPECT_FALSE(dec.LastErrorReason().isEmpty());
        EXPECT_TRUE(dec.LastErrorText().startsWith(path + ": ")) << dec.LastErrorText().toStdString();
    }
}

TEST_F(ProbeTest, ThumbnailFromTheMiddleAndAtSize) {
    ASSERT_TRUE(dec.OpenMediaFile(SharedMedia().mp4));
    TMediaFileInfo info;
    dec.QueryFileInfo(info);
    ASSERT_TRUE(dec.SeekPosition(info.duration / 2));
    ASSERT_TRUE(dec.DecodeVideoFrame(dec.VideoStreamNo()));
    QImage img;
    ASSERT_TRUE(dec.FrameToBitmap(img, kThumbnailWidth, kThumbnailHeight));
    EXPECT_EQ(img.size(), QSize(117, 88));  // 320x240 fitted into 128x88
    EXPECT_FALSE(dec.DecodeVideoFrame(dec.AudioStreamNo()));
    EXPECT_FALSE(dec.LastErrorReason().isEmpty());
}

// Without a known duration there is no middle: the picture comes from the start.
TEST_F(ProbeTest, UnknownDurationDecodesFromTheStart) {
    EXPECT_EQ(ThumbnailSeekTarget(kNoValue), std::nullopt);
    EXPECT_EQ(ThumbnailSeekTarget(0), std::nullopt);
    EXPECT_EQ(ThumbnailSeekTarget(4000000), std::optional<int64_t>(2000000));
    TInputRow row;
    const QFontMetrics fm(QFont("Sans", 9));
    ASSERT_TRUE(ProbeInputFile(dec, SharedMedia().raw, fm, row)) << dec.LastErrorText().toStdString();
    EXPECT_EQ(row.cells[ColDuration].toString(), "Duration: Duration is not preseted");
    EXPECT_EQ(row.cells[ColRealDuration].toString(), "0");
    EXPECT_EQ(row.cells[ColBitrate].toString(), "Bit rate: Bit rate is not preseted");
    EXPECT_FALSE(row.cells[ColMainImage].value<QImage>().isNull());
    EXPECT_FALSE(dec.IsOpen());
}

TEST(InputTexts, DurationAndBitRate) {
    struct Case {
        int64_t value;
        const char* duration;
    } cases[] = {{3723456000LL, "01:02:03.456"}, {0, "00:00:00.000"}, {999, "00:00:00.000"},
                 {360000000000LL, "100:00:00.000"}, {kNoValue, "Duration is not preseted"}};
    for (const Case& c : cases) EXPECT_EQ(DurationText(c.value), c.duration) << c.value;
    EXPECT_EQ(BitRateText(0), "Bit rate is not preseted");
    EXPECT_EQ(BitRateText(999), "0 Kbps");
    EXPECT_EQ(BitRateText(128000), "128 Kbps");
    EXPECT_EQ(FileSizeText(5 * 1024 * 1024 + 7), "File size: 5 M");
}

TEST(InputTexts, DropFilterAndDialogFilter) {
    QTemporaryDir dir;
    for (const char* n : {"a.MP4", "b.mpeg", "c.ts", "d", "e.txt"}) {
        QFile f(dir.path() + "/" + n);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir().mkpath(dir.path() + "/folder.avi");
    const QStringList in = {dir.path() + "/a.MP4", dir.path() + "/b.mpeg", dir.path() + "/c.ts",
                            dir.path() + "/d", dir.path() + "/e.txt", dir.path() + "/folder.avi"};
    EXPECT_EQ(FilterDroppedFiles(in), (QStringList{dir.path() + "/a.MP4", dir.path() + "/c.ts"}));
    EXPECT_FALSE(AcceptedDropExtensions().contains(".mpeg"));
    const QString qt = OpenDialogQtFilter();
    EXPECT_TRUE(qt.startsWith("All Supported Formats (*.AVI *.avi *.AVM *.avm")) << qt.toStdString();
    EXPECT_TRUE(qt.contains("*.MPEG *.mpeg"));
    EXPECT_TRUE(qt.endsWith(";;All Files (*)"));
    EXPECT_EQ(qt.count(";;"), 3);
}
