// The main window through its real widgets, with scripted boxes and dialogs.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "IniFile.h"
#include "RcFixture.h"
#include "RunSettings.h"
#include "formats/Step2Panel.h"
#include "input/Step1Panel.h"
#include "run/FormLog.h"

using namespace rc;
using rctest::Find;
using A = sw::MessageAnswer;

namespace {
// Counts the emissions of a signal.
struct Spy {
    int n = 0;
    template <typename Signal>
    Spy(TFormMain* f, Signal sig) { QObject::connect(f, sig, [this] { ++n; }); }
    int count() const { return n; }
};
const rctest::ProfileKeys kFullProfile = {{"AVI", "1"}, {"MP4", "1"}, {"IPOD", "1"}, {"MP3", "1"},
                                          {"WAV", "1"}, {"Version", "3.1"}};

class FormMainTest : public rctest::MainWindowTest {
protected:
    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(form_.get(), name); }
    QString TitleText() { return Find<QLabel>(form_.get(), "LabelTitle")->text(); }
};
}  // namespace

TEST_F(FormMainTest, FirstRunWritesEveryKeyAtItsDefault) {
    Open(kFullProfile);
    ASSERT_TRUE(QFile::exists(SettingsPath()));
    EXPECT_TRUE(form_->SettingsWereNew());
    sw::IniFile ini(SettingsPath());
    const QStringList keys = ini.ReadSection("System");
    EXPECT_EQ(keys, TRunSettings::Keys());
    EXPECT_EQ(ini.ReadString("System", "PreferYouTube18", ""), "7");
    EXPECT_EQ(ini.ReadString("System", "OutputWMVPreset", ""), "16");
    EXPECT_EQ(ini.ReadString("System", "PreferYouTubeQuality", ""), "1");
    EXPECT_EQ(ini.ReadString("System", "OutputFileDir", ""), env_.documentsLocation + "/");
    // A new settings file centres the window.
    EXPECT_EQ(form_->pos(), QPoint((1280 - 772) / 2, (1024 - 547) / 2));
}

TEST_F(FormMainTest, StoredPositionIsClampedToTheScreen) {
    QDir().mkpath(env_.xdgConfigHome + "/Test Caster");
    sw::IniFile ini(SettingsPath());
    ASSERT_TRUE(ini.WriteInteger("Form", "x", 5000));
    ASSERT_TRUE(ini.WriteInteger("Form", "y", -40));
    ASSERT_TRUE(ini.WriteInteger("Form", "width", 772));
    ASSERT_TRUE(ini.WriteInteger("Form", "height", 547));
    Open(kFullProfile, QRect(0, 0, 1280, 1024));
    EXPECT_FALSE(form_->SettingsWereNew());
    EXPECT_EQ(form_->x(), 508);
    EXPECT_EQ(form_->y(), 0);
    EXPECT_EQ(form_->size(), QSize(772, 547));
}

TEST_F(FormMainTest, SettingsFileOverridesProfileDefaults) {
    QDir().mkpath(env_.xdgConfigHome + "/Test Caster");
    sw::IniFile ini(SettingsPath());
    ASSERT_TRUE(ini.WriteInteger("System", "OutputFormatClass", 2));
    ASSERT_TRUE(ini.WriteInteger("System", "OutputAudioFormat", 1));
    Open(kFullProfile);
    EXPECT_EQ(RunSettings().OutputFormatClass, 2);
    EXPECT_EQ(form_->Step2()->CurrentClass(), 2);
    EXPECT_EQ(form_->Step2()->CurrentFormat(2), 1);
    EXPECT_EQ(RunSettings().OutputVideoFormat, 0);
}

TEST_F(FormMainTest, OneOfferedClassHidesTheClassButtons) {
    Open({{"MP3", "1"}, {"WAV", "1"}, {"DefaultClass", "2"}});
    TStep2Panel* s2 = form_->Step2();
    for (int c = 0; c < 3; ++c) EXPECT_FALSE(s2->ClassButton(c)->isVisibleTo(s2)) << c;
    EXPECT_EQ(s2->FormatPages()->y(), 120);
    // Offered buttons take the cells in reading order.
    EXPECT_EQ(s2->FormatButton(ClassAudio, 0)->pos(), QPoint(10, 5));
    EXPECT_EQ(s2->FormatButton(ClassAudio, 1)->pos(), QPoint(74, 5));
    EXPECT_FALSE(s2->FormatButton(ClassAudio, 2)->isVisibleTo(s2));
}

TEST_F(FormMainTest, TwoClassesShowTheirButtonsOnTheGrid) {
    Open({{"AVI", "1"}, {"FLAC", "1"}});
    TStep2Panel* s2 = form_->Step2();
    EXPECT_TRUE(s2->ClassButton(ClassVideo)->isVisibleTo(s2));
    EXPECT_FALSE(s2->ClassButton(ClassDevice)->isVisibleTo(s2));
    EXPECT_TRUE(s2->ClassButton(ClassAudio)->isVisibleTo(s2));
    EXPECT_EQ(s2->ClassButton(ClassVideo)->pos(), QPoint(18, 135));
    EXPECT_EQ(s2->ClassButton(ClassAudio)->pos(), QPoint(18 + 171, 135));
    EXPECT_EQ(s2->FormatPages()->y(), 172);
    EXPECT_EQ(s2->FormatButton(ClassAudio, 6)->pos(), QPoint(10, 5));
}

TEST_F(FormMainTest, DownloadOffStartsOnStep1) {
    Open({{"Download", "0"}, {"MP3", "1"}});
    EXPECT_EQ(form_->CurrentPage(), PageStep1);
    EXPECT_FALSE(Button("ButtonBack")->isEnabled());
    EXPECT_EQ(Button("ButtonExit")->text(), "Exit");
    EXPECT_TRUE(form_->isVisible());  // WM_USER+1 showed it
    messages_.Then(A::No);
    Button("ButtonExit")->click();
    ASSERT_EQ(messages_.messages().size(), 1);
    const sw::Message& m = messages_.messages()[0].message;
    EXPECT_EQ(m.text, "Are you sure to quit now?");
    EXPECT_EQ(m.kind, sw::MessageKind::Question);
    EXPECT_EQ(m.buttons, sw::MessageButtons::YesNo);
    EXPECT_TRUE(form_->isVisible());
    messages_.Then(A::Yes);
    Button("ButtonExit")->click();
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(FormMainTest, PageCaptionTable) {
    struct Case {
        int page;
        bool download, merge;
        TPageCaptions expected;
    };
    const Case cases[] = {
        {PageMode, true, false, {"Welcome to T! What do you want to do?", "Next", true, false, "Exit"}},
        {PageStep1, true, false, {"Select the videos you want to convert. Use \"Move Up\" and \"Move Down\" to change the order.", "Next", true, true, "Cancel"}},
        {PageStep1, false, false, {"Select the videos you want to convert. Use \"Move Up\" and \"Move Down\" to change the order.", "Next", true, false, "Exit"}},
        {PageStep2, true, true, {"Select an output mode and specify a path for the output files.", "Join Now", true, true, "Cancel"}},
        {PageStep2, true, false, {"Select an output mode and specify a path for the output files.", "Convert", true, true, "Cancel"}},
        {PageStep3, true, false, {"Conversion information.", "Next", false, false, "Cancel"}},
        {PageStep4, true, false, {"The conversion is finished.", "Finish", true, false, "Exit"}},
        {PageStep5, true, false, {"Copy a YouTube link from your browser address bar and Paste here", "Download", true, true, "Cancel"}},
        {PageStep6, true, false, {"Downloading information.", "Next", false, false, "Cancel"}},
        {PageStep7, true, false, {"The downloading is finished.", "Finish", true, false, "Exit"}},
    };
    for (const Case& c : cases) EXPECT_EQ(PageCaptionsFor(c.page, "T", c.download, c.merge), c.expected) << c.page;
}

TEST_F(FormMainTest, JoinModeAndFinishTexts) {
    Open({{"Merge", "1"}, {"MP3", "1"}, {"Name", "Caster X"}});
    form_->GoToPage(PageStep2);
    EXPECT_EQ(Button("ButtonNext")->text(), "Join Now");
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelFinishTitle1")->text(), "Caster X has finished the conversion.");
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelFinishedDownloading2")->text(),
              "To convert other files, click \"Finish\". Click \"Exit\" to quit Caster X.");
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelVersion")->text(), "Version: ");
    EXPECT_EQ(form_->windowTitle(), "Caster X");
}

TEST_F(FormMainTest, ModeRoadsAndEmptyStep1) {
    Open(kFullProfile);
    EXPECT_EQ(form_->CurrentPage(), PageMode);
    EXPECT_EQ(TitleText(), "Welcome to Test Caster! What do you want to do?");
    EXPECT_FALSE(Button("ButtonBack")->isEnabled());
    Spy load(form_.get(), &TFormMain::LoadDownloadPageRequested);
    Button("ButtonNext")->click();  // download road is selected at start
    EXPECT_EQ(form_->CurrentPage(), PageStep5);
    EXPECT_EQ(load.count(), 1);

    // Empty address list: the information box, the page stays.
    messages_.Then(A::Ok);
    Button("ButtonNext")->click();
    EXPECT_EQ(messages_.texts().last(), "Please Copy & Paste the YouTube video links you want to download.");
    EXPECT_EQ(form_->CurrentPage(), PageStep5);
    messages_.Then(A::Yes);
    Button("ButtonBack")->click();
    EXPECT_EQ(messages_.texts().last(), "Are you sure to cancel and go back?");
    EXPECT_EQ(form_->CurrentPage(), PageMode);

    Find<QRadioButton>(form_.get(), "RadioButtonConvertVideo")->setChecked(true);
    Button("ButtonNext")->click();
    EXPECT_EQ(form_->CurrentPage(), PageStep1);
    messages_.Then(A::Ok);
    Button("ButtonNext")->click();
    EXPECT_EQ(messages_.texts().last(), "Please add the video files you want to convert");
    EXPECT_EQ(messages_.messages().last().message.kind, sw::MessageKind::Information);
    EXPECT_EQ(form_->CurrentPage(), PageStep1);
    // Exit on Step1 with the download road cancels back to the start page.
    messages_.Then(A::No);
    Button("ButtonExit")->click();
    EXPECT_EQ(messages_.texts().last(), "Are you sure to cancel?");
    EXPECT_EQ(form_->CurrentPage(), PageStep1);
    messages_.Then(A::Yes);
    Button("ButtonExit")->click();
    EXPECT_EQ(form_->CurrentPage(), PageMode);
}

TEST_F(FormMainTest, Step2FolderRuleAndDeferredStart) {
    Open(kFullProfile);
    form_->GoToPage(PageStep2);
    auto* edit = Find<QLineEdit>(form_.get(), "EditOutputDir");
    // A folder below a file cannot be created.
    QFile blocker(config_.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    edit->setText(config_.path() + "/file/out");
    messages_.Then(A::Ok);
    Button("ButtonNext")->click();
    EXPECT_EQ(messages_.texts().last(), "Fail to create directory! Please check if output folder have the right format!");
    EXPECT_EQ(form_->CurrentPage(), PageStep2);

    RunSettings().ShutDownWhenFinished = true;
    edit->setText(config_.path() + "/new/deep/out");
    Spy start(form_.get(), &TFormMain::StartRunRequested);
    // With an empty list the run ends at once; each end offers the shutdown
    // countdown, which the user cancels.
    dialogs_.ThenReject().ThenReject();
    Button("ButtonNext")->click();
    EXPECT_EQ(form_->CurrentPage(), PageStep3);
    EXPECT_EQ(RunSettings().OutputFileDir, config_.path() + "/new/deep/out/");
    EXPECT_TRUE(QDir(config_.path() + "/new/deep/out").exists());
    EXPECT_TRUE(Find<QCheckBox>(form_.get(), "CheckBoxShutdown")->isChecked());
    EXPECT_EQ(start.count(), 0);  // posted, not called
    QCoreApplication::processEvents();
    EXPECT_EQ(start.count(), 1);
    EXPECT_FALSE(Button("ButtonNext")->isEnabled());

    Spy stop(form_.get(), &TFormMain::StopRunRequested);
    messages_.Then(A::Yes);
    Button("ButtonExit")->click();
    EXPECT_EQ(messages_.texts().last(), "Do you really want to cancel the conversion?");
    EXPECT_EQ(stop.count(), 1);

    // The end of the run opens the summary; Finish returns to the start page.
    form_->PostUserMessage(3);
    QCoreApplication::processEvents();
    EXPECT_EQ(form_->CurrentPage(), PageStep4);
    Button("ButtonNext")->click();
    EXPECT_EQ(form_->CurrentPage(), PageMode);
}

TEST_F(FormMainTest, CompanionBuildHidesLinksHelpAndLog) {
    Open({{"Name", "ClipSoundPull"}, {"Download", "0"}, {"MP3", "1"}});
    for (const char* name : {"LabelVersion", "LabelMoreTools", "ButtonHelp", "ButtonLog"})
        EXPECT_FALSE(Find<QWidget>(form_.get(), name)->isVisible()) << name;
    EXPECT_TRUE(Button("ButtonNext")->isVisible());
}

TEST_F(FormMainTest, HelpMenuPlaceAndAddresses) {
    Open({{"Skin", "2"}, {"MP3", "1"}});
    form_->move(100, 50);
    Button("ButtonHelp")->click();
    EXPECT_EQ(form_->HelpMenuPoint(), QPoint(40 + 100 + 5, 513 + 50 + Button("ButtonHelp")->height()));
    form_->HelpMenu()->hide();
    QStringList texts;
    for (QAction* a : form_->HelpMenu()->actions()) texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, (QStringList{"Help Content", "How Tos && Tutorial Videos...", "-", "Home Page...",
                                  "More Free Tools...", "-", "Check for Updates...",
                                  "Contact Technical Support...", "-", "About"}));
    form_->findChild<QAction*>("ActionContactTechnicalSupport")->trigger();
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_[0], form_->Identity().Support);
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelMoreTools")->text(), "more free tools...");
}

TEST_F(FormMainTest, LayoutVariantThree) {
    Open({{"Skin", "3"}, {"MP3", "1"}});
    EXPECT_FALSE(Button("ButtonMin")->isVisible());
    EXPECT_FALSE(Button("ButtonClose")->isVisible());
    EXPECT_EQ(Button("ButtonHelp")->pos(), QPoint(10, 515));
    EXPECT_EQ(Button("ButtonExit")->pos(), QPoint(665, 515));
    EXPECT_EQ(Find<QWidget>(form_.get(), "PageControlMain")->pos(), QPoint(203, 74));
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelTitle")->pos(), QPoint(215, 55));
    EXPECT_FALSE(Find<QLabel>(form_.get(), "LabelTitle")->font().bold());
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelVersion")->y(), 165);
    EXPECT_EQ(Find<QLabel>(form_.get(), "LabelMoreTools")->y(), 180);
}

TEST_F(FormMainTest, ShapeComesFromTheFace) {
    QDir().mkpath(program_.path() + "/sounds/res1");
    QImage face(772, 547, QImage::Format_RGB32);
    face.fill(QColor(20, 40, 60));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) face.setPixel(x, y, 0xFFFF00FF);
    ASSERT_TRUE(face.save(program_.path() + "/sounds/res1/main.bmp"));
    Open({{"Res", "1"}, {"MP3", "1"}});
    const QRegion shape = form_->mask();
    EXPECT_FALSE(shape.contains(QPoint(2, 2)));
    EXPECT_TRUE(shape.contains(QPoint(400, 300)));
    EXPECT_EQ(form_->size(), QSize(772, 547));
}

TEST_F(FormMainTest, CloseWritesSettingsAndBothPositions) {
    Open(kFullProfile);
    form_->move(120, 80);
    RunSettings().OutputMP3Preset = 6;
    form_->Log()->show();
    form_->Log()->move(300, 200);
    form_->close();
    sw::IniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadInteger("System", "OutputMP3Preset", -1), 6);
    EXPECT_EQ(ini.ReadInteger("Form", "x", -1), 120);
    EXPECT_EQ(ini.ReadInteger("Form", "y", -1), 80);
    EXPECT_EQ(ini.ReadInteger("Form", "maximized", -1), 0);
    EXPECT_EQ(ini.ReadInteger("FormLog", "x", -1), 300);

    // The next start puts both windows back.
    form_.reset();
    Open(kFullProfile);
    EXPECT_EQ(form_->pos(), QPoint(120, 80));
    form_->Log()->show();
    EXPECT_EQ(form_->Log()->pos(), QPoint(300, 200));
}

TEST_F(FormMainTest, StartupLogsTheLibraries) {
    Open(kFullProfile);
    const QStringList lines = form_->Log()->Lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith("FFmpeg libraries: libavformat ")) << lines.first().toStdString();
}
