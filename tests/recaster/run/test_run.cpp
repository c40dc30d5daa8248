// The conversion run through the real window: building tasks, ends,
// summary, finish sound and shutdown, unique names.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "../RcFixture.h"
#include "RunSettings.h"
#include "input/Step1Panel.h"
#include "encoder/FFEncoder.h"
#include "run/ConversionRun.h"
#include "run/FinishServices.h"
#include "run/FormShutdown.h"
#include "run/UniqueName.h"

using namespace rc;

namespace {

bool Ffmpeg(const QStringList& args) {
    QProcess p;
    p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void Touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class RunTest : public rctest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(media_.isValid());
        clipA_ = media_.path() + "/a/clip.avi";
        clipB_ = media_.path() + "/b/clip.mkv";
        QDir().mkpath(media_.path() + "/a");
        QDir().mkpath(media_.path() + "/b");
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                            "sine=sample_rate=44100:duration=1", "-c:v", "mpeg4", "-c:a", "libmp3lame", clipA_}));
        ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=15:duration=1", "-f", "lavfi", "-i",
                            "sine=sample_rate=22050:duration=1", "-c:v", "mpeg4", "-c:a", "libvorbis", clipB_}));
        out_ = media_.path() + "/out/";
        QDir().mkpath(out_);
        oldPlayer_ = SetSoundPlayer([this](const QString& p) { sounds_ << QFileInfo(p).fileName(); });
        oldPower_ = SetPowerOffService([this](QString*) { ++powerOffs_; return true; });
    }
    void TearDown() override {
        SetSoundPlayer(oldPlayer_);
        SetPowerOffService(oldPower_);
        MainWindowTest::TearDown();
    }
    // Runs Step2's Next with the given choice and waits for the summary.
    void Convert(const QStringList& files, int cls, int format, int preset, bool merge = false,
                 const std::function<void()>& beforeStart = {}) {
        TFormMain& f = *form_;
        f.Step1()->AddFiles(files);
        if (beforeStart) beforeStart();
        TRunSettings& s = RunSettings();
        s.OutputFileDir = out_;
        s.OutputFormatClass = cls;
        if (cls == 0) s.OutputVideoFormat = format;
        if (cls == 2) s.OutputAudioFormat = format;
        *s.PresetFor(cls, format) = preset;
        s.Merge = merge;
        f.GoToPage(PageStep3);
        f.PostUserMessage(2);
        QElapsedTimer t;
        t.start();
        while (f.CurrentPage() != PageStep4 && t.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(f.CurrentPage(), PageStep4);
    }
    QString Text(const char* name) { return rctest::Find<QLabel>(form_.get(), name)->text(); }

    QTemporaryDir media_;
    QString clipA_, clipB_, out_;
    QStringList sounds_;
    int powerOffs_ = 0;
    SoundPlayer oldPlayer_;
    PowerOffService oldPower_;
};

}  // namespace

TEST(UniqueName, CountersAndReservations) {
    QTemporaryDir d;
    const QString dir = d.path() + "/";
    EXPECT_EQ(UniqueFileName(dir, "clip.mp4"), "clip.mp4");
    Touch(dir + "clip.mp4");
    Touch(dir + "clip(1).mp4");
    EXPECT_EQ(UniqueFileName(dir, "clip.mp4"), "clip(2).mp4");
    EXPECT_EQ(UniqueFileName(dir, "noext"), "noext");
    Touch(dir + "noext");
    EXPECT_EQ(UniqueFileName(dir, "noext"), "noext(1)");
    QSet<QString> reserved;
    EXPECT_EQ(UniqueFileName(dir, "x.avi", &reserved), "x.avi");
    EXPECT_EQ(UniqueFileName(dir, "x.avi", &reserved), "x(1).avi");
    EXPECT_TRUE(reserved.contains("x(1).avi"));
}

TEST(FormShutdown, CountsDownAndClosesWithOkAfterZero) {
    TFormShutdown dlg("Test Caster");
    EXPECT_EQ(dlg.windowTitle(), "Shutdown");
    auto* label = dlg.findChild<QLabel*>("LabelTimeLeft");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Time left: 30");
    EXPECT_EQ(dlg.Timer()->interval(), 1000);
    EXPECT_TRUE(dlg.findChild<QLabel*>("LabelText")->text().contains("\r\nTest Caster\r\nwill shutdown Windows."));
    for (int i = 0; i < 30; ++i) dlg.TimerTimer();
    EXPECT_EQ(label->text(), "Time left: 0");
    EXPECT_EQ(dlg.result(), 0);
    dlg.TimerTimer();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(ClockText, HoursMinutesSeconds) {
    EXPECT_EQ(ClockText(0), "0:00:00");
    EXPECT_EQ(ClockText(3723456), "1:02:03");
    EXPECT_EQ(ClockText(-5), "0:00:00");
}

TEST_F(RunTest, TwoInputsOfOneNameGetDistinctOutputsAndDoneSound) {
    Open();
    Touch(out_ + "clip.mp4");
    RunSettings().PlayASoundWhenFinished = true;
    Convert({clipA_, clipB_}, 0, 1, 14);
    EXPECT_TRUE(QFile::exists(out_ + "clip(1).mp4"));
    EXPECT_TRUE(QFile::exists(out_ + "clip(2).mp4"));
    QTreeWidget* list = form_->Run()->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(2), "Finish.");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "100%");
    EXPECT_EQ(list->topLevelItem(0)->text(4), media_.path() + "/a/");
    EXPECT_EQ(Text("LabelTotalFiles"), "2");
    EXPECT_EQ(Text("LabelSuccessed"), "2");
    EXPECT_EQ(Text("LabelFailed"), "0");
    EXPECT_EQ(sounds_, QStringList{"done.wav"});
    EXPECT_TRUE(form_->Run()->Errors().isEmpty());
}

TEST_F(RunTest, InputLeftOutCountsAsFailedAndPlaysFailSound) {
    Open();
    RunSettings().PlayASoundWhenFinished = true;
    const QString gone = media_.path() + "/gone.avi";
    QFile::copy(clipA_, gone);
    // The middle file no longer opens when the tasks are built.
    Convert({clipA_, gone, clipB_}, 2, 0, 0, false, [&] { QFile::remove(gone); });
    ASSERT_EQ(form_->Step1()->RowCount(), 3);
    EXPECT_EQ(Text("LabelTotalFiles"), "3");
    EXPECT_EQ(Text("LabelSuccessed"), "2");
    EXPECT_EQ(Text("LabelFailed"), "1");
    EXPECT_EQ(sounds_, QStringList{"fail.wav"});
    auto* memo = rctest::Find<QPlainTextEdit>(form_.get(), "MemoErrorLog");
    EXPECT_TRUE(memo->toPlainText().startsWith("File load error: ")) << memo->toPlainText().toStdString();
    // Items and task ends stay aligned although the middle input is missing.
    QTreeWidget* list = form_->Run()->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), "clip.mkv");
    EXPECT_EQ(list->topLevelItem(1)->text(2), "Finish.");
}

TEST_F(RunTest, JoinGivesOneMergedOutputAndOneTotalFile) {
    Open();
    Convert({clipA_, clipB_, clipA_}, 0, 0, 3, true);
    EXPECT_TRUE(QFile::exists(out_ + "Output_Merge.avi"));
    EXPECT_EQ(form_->Run()->List()->topLevelItemCount(), 3);
    EXPECT_EQ(form_->Run()->List()->headerItem()->text(2), "Width x Height");
    EXPECT_EQ(form_->Run()->List()->topLevelItem(1)->text(2), "176x144");
    EXPECT_EQ(Text("LabelTotalFiles"), "1");
    EXPECT_EQ(Text("LabelSuccessed"), "1");
}

TEST_F(RunTest, ShutdownCancelKeepsTheMachineRunning) {
    Open();
    RunSettings().ShutDownWhenFinished = true;
    dialogs_.ThenReject();
    Convert({clipA_}, 2, 1, 0);
    EXPECT_EQ(powerOffs_, 0);
    EXPECT_EQ(dialogs_.dialogs(), QStringList{"FormShutdown"});
}

TEST_F(RunTest, ShutdownOkPowersOffAndRefusalIsShown) {
    Open();
    RunSettings().ShutDownWhenFinished = true;
    SetPowerOffService([this](QString* e) {
        ++powerOffs_;
        *e = "Access denied";
        return false;
    });
    dialogs_.ThenAccept();
    messages_.Then(sw::MessageAnswer::Ok);
    Convert({clipA_}, 2, 1, 0);
    EXPECT_EQ(powerOffs_, 1);
}

TEST_F(RunTest, CancelStopsTheRunThroughItsEndEvents) {
    Open();
    bool stopped = false;
    Convert({clipA_, clipB_, clipA_}, 0, 0, 3, false, [&] {
        QObject::connect(form_->Run()->Encoder(), &TFFEncoder::OnTerminate, form_.get(), [&](const TTerminateInfo& i) {
            if (i.TaskIndex == 0 && !stopped) {
                stopped = true;
                emit form_->StopRunRequested();
            }
        });
    });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(Text("LabelTotalFiles"), "3");
    const int ok = Text("LabelSuccessed").toInt();
    EXPECT_GE(ok, 1);
    EXPECT_LT(ok, 3);
    // Outputs of stopped tasks are not left behind.
    QTreeWidget* list = form_->Run()->List();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        EXPECT_NE(list->topLevelItem(i)->text(2), "Converting...");
    EXPECT_FALSE(form_->Run()->Running());
}

TEST_F(RunTest, NothingQueuedEndsAtOnceOnTheSummary) {
    Open();
    const QString gone = media_.path() + "/gone2.avi";
    QFile::copy(clipA_, gone);
    Convert({gone}, 2, 1, 0, false, [&] { QFile::remove(gone); });
    EXPECT_EQ(Text("LabelTotalFiles"), "1");
    EXPECT_EQ(Text("LabelFailed"), "1");
    EXPECT_EQ(form_->Run()->List()->topLevelItemCount(), 0);
}

TEST_F(RunTest, UnknownDurationShowsNaAndASecondRunStartsItsEstimateFromZero) {
    Open();
    Convert({clipA_}, 2, 1, 0);
    TConversionRun* run = form_->Run();
    EXPECT_GT(run->FinishedDuration(), 0);
    run->FFEncoderProgress(0, 400000, 0);
    EXPECT_EQ(run->List()->topLevelItem(0)->text(3), "N/A");
    run->FFEncoderProgress(0, 400000, 800000);
    EXPECT_EQ(run->List()->topLevelItem(0)->text(3), "50%");
    EXPECT_EQ(run->List()->topLevelItem(0)->text(2), "Converting...");
    EXPECT_EQ(Text("LabelProgress"), "50%");
    // Finish, then a second run over the same grid.
    form_->GoToPage(PageStep3);
    run->StartRun();
    EXPECT_EQ(run->FinishedDuration(), 0);
    QElapsedTimer t;
    t.start();
    while (run->Running() && t.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(run->SucceededItems(), 1);
}

TEST_F(RunTest, ClosingMidRunLeavesNoThreadAndNoHalfFile) {
    Open();
    form_->Step1()->AddFiles({clipA_, clipB_});
    TRunSettings& s = RunSettings();
    s.OutputFileDir = out_;
    s.OutputFormatClass = 0;
    s.OutputVideoFormat = 0;
    s.OutputAVIPreset = 3;
    form_->GoToPage(PageStep3);
    form_->Run()->StartRun();
    ASSERT_TRUE(form_->Run()->Running());
    form_->close();
    form_.reset();  // joins the worker
    // What is on disk is either complete or absent.
    for (const QString& name : QDir(out_).entryList(QDir::Files)) {
        QProcess p;
        p.start("ffprobe", {"-v", "error", out_ + name});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << name.toStdString();
    }
}
