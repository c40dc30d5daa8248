// The start picture, the progress window, the welcome window and the help
// layer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "EditID3Form.h"
#include "FormProgress.h"
#include "GlobalVars.h"
#include "Help.h"
#include "HelpWindow.h"
#include "RecentFiles.h"
#include "ScriptedMessageService.h"
#include "Splash.h"
#include "TestSupport.h"
#include "WelcomeStartForm.h"

namespace {

TEST(Splash, FadeStepsRiseToExactly255) {
    const QList<int> steps = SplashFadeSteps();
    ASSERT_EQ(steps.size(), 85);
    EXPECT_EQ(steps.mid(0, 6), (QList<int>{8, 16, 24, 32, 39, 46}));
    EXPECT_EQ(steps.mid(82), (QList<int>{253, 254, 255}));
    for (int i = 1; i < steps.size(); ++i) EXPECT_GT(steps[i], steps[i - 1]);
}

TEST(Splash, PremultipliesWithIntegerDivision) {
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 128, 1, 128));
    img.setPixel(1, 0, qRgba(200, 100, 50, 0));
    const QImage out = PremultiplySplash(img);
    EXPECT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
    const QRgb* p = reinterpret_cast<const QRgb*>(out.constScanLine(0));
    EXPECT_EQ(qRed(p[0]), 128);   // 255 * 128 / 255
    EXPECT_EQ(qGreen(p[0]), 64);  // 128 * 128 / 255 = 64.25
    EXPECT_EQ(qBlue(p[0]), 0);    // 1 * 128 / 255
    EXPECT_EQ(qAlpha(p[0]), 128);
    EXPECT_EQ(p[1], qRgba(0, 0, 0, 0));
}

TEST(Splash, MissingOrOpaquePictureShowsNothing) {
    QTemporaryDir dir;
    EXPECT_FALSE(ShowSplash(dir.path()));
    QImage opaque(10, 10, QImage::Format_RGB888);
    opaque.fill(Qt::red);
    ASSERT_TRUE(opaque.save(dir.filePath("splash.png")));
    EXPECT_FALSE(ShowSplash(dir.path()));
    QFile junk(dir.filePath("splash.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write("not a picture");
    junk.close();
    EXPECT_FALSE(ShowSplash(dir.path()));
}

TEST(Splash, ShippedPictureFadesIn) {
    const QString exeDir = swtest::BinaryDir() + "/bin/soundwright";
    ASSERT_TRUE(ShowSplash(exeDir));
    TSplashForm* splash = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "SplashForm" && w->isVisible()) splash = qobject_cast<TSplashForm*>(w);
    }
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash->size(), QImage(exeDir + "/splash.png").size());
    splash->close();
}

TEST(Progress, PlacementAndEnablingOfTheMainWindow) {
    QMainWindow main;
    main.setGeometry(100, 80, 900, 500);
    main.show();
    TFormProgress form;
    TProgressDisplay display(&main, &form);
    EXPECT_EQ(form.windowTitle(), "Processing...");
    EXPECT_NE(form.findChild<QProgressBar*>("ProgressBar"), nullptr);
    display.ShowProgress(40);
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.size(), QSize(300, 128));
    const QRect m = main.frameGeometry();
    EXPECT_EQ(form.pos(), QPoint(m.left() + (m.width() - 300) / 2, m.top() + (m.height() - 128) / 2));
    EXPECT_EQ(form.ProgressBar->value(), 40);
    display.ShowProgress(75);
    EXPECT_EQ(form.ProgressBar->value(), 75);
    display.HideProgress();
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(form.isVisible());
    // Hiding again (an operation that never showed progress) still enables.
    main.setEnabled(false);
    display.HideProgress();
    EXPECT_TRUE(main.isEnabled());
}

class WelcomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        vars.Reset(dir.path() + "/", dir.path() + "/");
        mru = dir.filePath("MRUList.dat");
    }
    std::unique_ptr<TWelcomeStartForm> Make() {
        return std::make_unique<TWelcomeStartForm>(vars, recent, "Soundwright",
                                                   swtest::BinaryDir() + "/bin/soundwright", mru);
    }
    QTemporaryDir dir;
    TGlobalVars vars;
    RecentFiles recent;
    QString mru;
};

TEST_F(WelcomeTest, RecentLabelsShowTheNewestEntries) {
    struct Case { int entries; bool fileExists; QStringList shown; };
    const QList<Case> cases = {
        {0, true, {}},
        {3, false, {}},   // no MRUList.dat: nothing shown
        {1, true, {"f1.wav"}},
        {3, true, {"f3.wav", "f2.wav", "f1.wav"}},
        {5, true, {"f5.wav", "f4.wav", "f3.wav"}},
    };
    for (const Case& c : cases) {
        recent.Clear();
        for (int i = 1; i <= c.entries; ++i) recent.Touch(dir.filePath(QString("f%1.wav").arg(i)));
        QFile::remove(mru);
        if (c.fileExists) {
            ASSERT_TRUE(recent.Save(mru));
        }
        auto form = Make();
        form->show();
        const QList<QLabel*> labels = {form->lab1, form->lab2, form->lab3};
        for (int i = 0; i < 3; ++i) {
            const bool visible = i < c.shown.size();
            EXPECT_EQ(labels[i]->isVisible(), visible) << c.entries << " " << i;
            if (visible) {
                EXPECT_EQ(labels[i]->text(), c.shown[i]);
                EXPECT_EQ(labels[i]->toolTip(), dir.filePath(c.shown[i]));
            }
        }
        EXPECT_EQ(form->labClear->isVisible(), !c.shown.isEmpty()) << c.entries;
    }
}

TEST_F(WelcomeTest, ClearEmptiesTheListAndItsFile) {
    recent.Touch(dir.filePath("a.wav"));
    ASSERT_TRUE(recent.Save(mru));
    auto form = Make();
    form->show();
    form->LabelClick(form->labClear);
    EXPECT_TRUE(recent.list.isEmpty());
    RecentFiles reread;
    reread.Load(mru);
    EXPECT_TRUE(reread.list.isEmpty());
    EXPECT_FALSE(form->lab1->isVisible());
    EXPECT_FALSE(form->labClear->isVisible());
    EXPECT_TRUE(form->isVisible());   // clearing does not close
}

TEST_F(WelcomeTest, ChoicesCloseTheWindow) {
    recent.Touch(dir.filePath("a.wav"));
    ASSERT_TRUE(recent.Save(mru));
    struct Case { QLabel* TWelcomeStartForm::*label; WelcomeChoice choice; };
    const Case cases[] = {{&TWelcomeStartForm::LabelNew, WelcomeChoice::NewFile},
                          {&TWelcomeStartForm::LabelNewRecording, WelcomeChoice::NewRecord},
                          {&TWelcomeStartForm::labMore, WelcomeChoice::Open},
                          {&TWelcomeStartForm::LabelLoadfromCD, WelcomeChoice::LoadCD},
                          {&TWelcomeStartForm::LabelTexttoSpeech, WelcomeChoice::TextToSpeech},
                          {&TWelcomeStartForm::lab1, WelcomeChoice::RecentFile}};
    for (const Case& c : cases) {
        auto form = Make();
        form->show();
        form->LabelClick((*form).*(c.label));
        EXPECT_EQ(form->choice(), c.choice);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), int(QDialog::Accepted));
    }
    auto form = Make();
    form->LabelClick(form->lab1);
    EXPECT_EQ(form->chosenFile(), dir.filePath("a.wav"));
}

TEST_F(WelcomeTest, ShowAtStartIsWrittenAtOnceAndLabelsHighlight) {
    auto form = Make();
    form->show();
    EXPECT_EQ(form->windowTitle(), "Welcome to Soundwright!");
    EXPECT_TRUE(form->CheckBoxShowAtStart->isChecked());
    form->LabelClick(form->LabelShowAtStart);
    EXPECT_FALSE(form->CheckBoxShowAtStart->isChecked());
    EXPECT_FALSE(vars.ShowStartDialog);
    form->CheckBoxShowAtStart->setChecked(true);
    EXPECT_TRUE(vars.ShowStartDialog);
    EXPECT_TRUE(form->isVisible());

    QLabel* l = form->LabelNew;
    EXPECT_FALSE(TWelcomeStartForm::IsHighlighted(l));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(l, &enter);
    EXPECT_TRUE(TWelcomeStartForm::IsHighlighted(l));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(l, &leave);
    EXPECT_FALSE(TWelcomeStartForm::IsHighlighted(l));
    EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_FALSE(form->ImageMain->pixmap().isNull());   // welcome.png beside the program
    EXPECT_EQ(form->LabelHowTo1->text(), "1. Record Quick Tour");
    EXPECT_EQ(form->LabelHowTo4->text(), "4. Connecting Your Stereo Equipment");
}

TEST(EditID3Form, YearParsing) {
    struct Case { const char* text; bool ok; int year; };
    const Case cases[] = {{"1999", true, 1999}, {" 2024 ", true, 2024}, {"-5", true, -5}, {"0", true, 0},
                          {"", false, 0},       {"19x9", false, 0},    {"12.5", false, 0}, {"99999999999", false, 0}};
    for (const Case& c : cases) {
        int y = -1;
        EXPECT_EQ(TEditID3Form::ParseYear(c.text, &y), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(y, c.year) << c.text;
        }
    }
}

// ---- Help ---------------------------------------------------------------------

TEST(Help, FileAndTopicTexts) {
    EXPECT_EQ(sw::HelpFileFor("/opt/sw/soundwright"), "/opt/sw/soundwright.chm");
    EXPECT_EQ(sw::HelpFileFor("/opt/sw/tool.bin"), "/opt/sw/tool.chm");
    EXPECT_EQ(sw::HelpFileFor("/opt/s.w/tool"), "/opt/s.w/tool.chm");
    EXPECT_EQ(sw::HelpTopicText("/x/soundwright.chm", "WAVSettings"), "/x/soundwright.chm::/wavsettings.htm");
}

TEST(Help, MissingBundleRaisesTheErrorText) {
    QTemporaryDir dir;
    sw::HelpLayer layer(dir.filePath("nothing.chm"));
    sw::ScopedHelpLayer scoped(layer);
    try {
        sw::ShowHelpTopic(nullptr, "WelcometoAPP");
        FAIL() << "no error";
    } catch (const sw::HelpError& e) {
        EXPECT_STREQ(e.what(), "HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!");
    }
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    messages.Then(sw::MessageAnswer::Ok);
    sw::ShowHelpTopicGuarded(nullptr, "WelcometoAPP");
    EXPECT_EQ(messages.texts(), QStringList{"HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!"});
}

TEST(Help, EveryTopicHasAPageAndTheBundleLoadsOnce) {
    sw::HelpLayer layer(swtest::BinaryDir() + "/bin/soundwright/soundwright.chm");
    sw::ScopedHelpLayer scoped(layer);
    const QStringList topics = {"WelcometoAPP", "RecordQuicktour", "ImportingAudioTracksfromCD",
                                "BasicAudioEditing", "ConnectingYourStereoEquipment", "BookmarksandRegions",
                                "CreateOpenandSaveaudiofiles", "APPOptions", "Editing", "Effects",
                                "WAVSettings", "MP3Settings", "OGGSettings", "WMASettings", "RecordControl",
                                "AdvancedRecordingOptions", "BatchConverter"};
    for (const QString& t : topics) {
        sw::ShowHelpTopic(nullptr, t);
        ASSERT_NE(layer.window(), nullptr);
        EXPECT_FALSE(layer.window()->showingNotice()) << t.toStdString();
        EXPECT_EQ(layer.window()->currentPage(), t.toLower() + ".htm");
        EXPECT_FALSE(layer.window()->browser()->toPlainText().trimmed().isEmpty()) << t.toStdString();
    }
    EXPECT_EQ(layer.loadCount(), 1);
    // A page the bundle lacks shows a notice instead of failing.
    sw::ShowHelpTopic(nullptr, "NoSuchTopic");
    EXPECT_TRUE(layer.window()->showingNotice());
    // Links between pages stay inside the bundle.
    sw::ShowHelpTopic(nullptr, "../../etc/passwd");
    EXPECT_TRUE(layer.window()->showingNotice());
    layer.window()->close();
}

}  // namespace
