// The start picture, the progress window, the welcome window and the small
// dialogs of the document commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPointer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "ConvertSampleRateForm.h"
#include "DialogConventions.h"
#include "Document.h"
#include "EditID3Form.h"
#include "FormProgress.h"
#include "GlobalVars.h"
#include "Help.h"
#include "HelpWindow.h"
#include "NewFileForm.h"
#include "RecentFiles.h"
#include "ScriptedDialogService.h"
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
    const QString exeDir = swtest::SourceDir() + "/data/soundwright";
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
    EXPECT_DOUBLE_EQ(splash->currentAlpha(), 1.0);
    // A key closes it and it frees itself.
    QPointer<TSplashForm> alive(splash);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(splash, &key);
    EXPECT_FALSE(splash->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST(Splash, KeyInAnotherWindowClosesIt) {
    ASSERT_TRUE(ShowSplash(swtest::SourceDir() + "/data/soundwright"));
    QPointer<TSplashForm> splash;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<TSplashForm*>(w); s && s->isVisible()) splash = s;
    ASSERT_FALSE(splash.isNull());
    QWidget other;
    other.show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&other, &key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
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

// Every widget of a shown window whose font was "Tahoma" carries the hint
// font instead (when that font is installed and not Tahoma itself).
void ExpectHintFont(QWidget& w) {
    const QString hint = QToolTip::font().family();
    const bool substitutes = QFontDatabase::families().contains(hint, Qt::CaseInsensitive) &&
                             hint.compare("Tahoma", Qt::CaseInsensitive) != 0;
    if (!substitutes) return;
    for (QWidget* child : w.findChildren<QWidget*>())
        EXPECT_NE(child->font().family(), "Tahoma") << child->objectName().toStdString();
}

class WelcomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        vars.Reset(dir.path() + "/", dir.path() + "/");
        mru = dir.filePath("MRUList.dat");
    }
    std::unique_ptr<TWelcomeStartForm> Make() {
        return std::make_unique<TWelcomeStartForm>(vars, recent, "Soundwright",
                                                   swtest::SourceDir() + "/data/soundwright", mru);
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


TEST_F(WelcomeTest, TutorialsOpenHelpAndCloseButtonChoosesNothing) {
    sw::HelpLayer layer(swtest::SourceDir() + "/data/soundwright/soundwright.chm");
    sw::ScopedHelpLayer scoped(layer);
    auto form = Make();
    form->show();
    struct Case { QLabel* label; const char* page; };
    const Case cases[] = {{form->LabelHowTo1, "recordquicktour.htm"},
                          {form->LabelHowTo2, "importingaudiotracksfromcd.htm"},
                          {form->LabelHowTo3, "basicaudioediting.htm"},
                          {form->LabelHowTo4, "connectingyourstereoequipment.htm"}};
    for (const Case& c : cases) {
        form->LabelClick(c.label);
        ASSERT_NE(layer.window(), nullptr);
        EXPECT_EQ(layer.window()->currentPage(), c.page);
        EXPECT_TRUE(form->isVisible()) << c.page;
        EXPECT_EQ(form->choice(), WelcomeChoice::None);
    }
    layer.window()->close();
    form->ButtonClose->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->choice(), WelcomeChoice::None);
    EXPECT_EQ(form->result(), int(QDialog::Rejected));
    ExpectHintFont(*form);
}

// ---- Progress window ----------------------------------------------------------

TEST(Progress, HiddenWindowIsEmptyAndBorderlessAndShowsAgainOverTheMovedMain) {
    QMainWindow main;
    main.setGeometry(50, 40, 700, 400);
    main.show();
    TFormProgress form;
    TProgressDisplay display(&main, &form);
    EXPECT_EQ(form.findChild<QLabel*>("LabelProcess")->text(), "Process audio data.");
    EXPECT_EQ(form.findChild<QLabel*>("LabelWait")->text(), "Please wait...");
    EXPECT_FALSE(form.ImageIcon->pixmap().isNull());
    display.ShowProgress(10);
    display.HideProgress();
    EXPECT_EQ(form.size(), QSize(0, 0));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);

    main.setGeometry(300, 200, 640, 480);
    struct Case { int percent; int bar; };
    const Case cases[] = {{0, 0}, {55, 55}, {100, 100}, {130, 100}, {-4, 0}};
    for (const Case& c : cases) {
        display.ShowProgress(c.percent);
        EXPECT_EQ(form.ProgressBar->value(), c.bar) << c.percent;
    }
    EXPECT_EQ(form.size(), QSize(300, 128));
    EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);
    const QRect m = main.frameGeometry();
    EXPECT_EQ(form.pos(), QPoint(m.left() + (m.width() - 300) / 2, m.top() + (m.height() - 128) / 2));
    // Only the first block of an operation places the window.
    form.move(0, 0);
    display.ShowProgress(60);
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    display.HideProgress();
}

// ---- Small dialogs ------------------------------------------------------------

void ExpectButtons(QDialog& d, bool withHelp) {
    auto* ok = d.findChild<QPushButton*>("ButtonOK");
    auto* cancel = d.findChild<QPushButton*>("ButtonCancel");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "&Cancel");
    auto* help = d.findChild<QPushButton*>("ButtonHelp");
    EXPECT_EQ(help != nullptr, withHelp);
    if (help) {
        EXPECT_EQ(help->text(), "&Help");
    }
    cancel->click();
    EXPECT_EQ(d.result(), int(QDialog::Rejected));
}

TEST(SmallDialogs, CaptionsListsAndStartValues) {
    struct Case {
        std::function<QDialog*()> make;
        const char* objectName;
        const char* caption;
        const char* list;
        QStringList items;
        bool withHelp;
    };
    const QList<Case> cases = {
        {[] { return new TNewFileForm; }, "NewFileForm", "New Sample", "cbSampleRate",
         {"96,000", "88,200", "48,000", "44,100", "32,000", "24,000", "22,050", "16,000", "12,000", "11,025",
          "8,000", "6,000"},
         true},
        {[] { return new TConvertSampleRateForm; }, "ConvertSampleRateForm", "Convert Sample Rate", "ComboBoxRate",
         {"96000 Hz", "88200 Hz", "48000 Hz", "44100 Hz", "32000 Hz", "22050 Hz", "16000 Hz", "11025 Hz",
          "8000 Hz", "6000 Hz"},
         false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QDialog> d(c.make());
        SCOPED_TRACE(c.caption);
        d->show();
        EXPECT_EQ(d->objectName(), c.objectName);
        EXPECT_EQ(d->windowTitle(), c.caption);
        auto* list = d->findChild<QComboBox*>(c.list);
        ASSERT_NE(list, nullptr);
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(list->currentIndex(), 3);
        EXPECT_FALSE(list->isEditable());
        ExpectHintFont(*d);
        ExpectButtons(*d, c.withHelp);
    }

    TNewFileForm nf;
    EXPECT_TRUE(nf.rbStereo->isChecked());
    EXPECT_EQ(nf.rbStereo->text(), "Ste&reo (Dual)");
    EXPECT_EQ(nf.rbMono->text(), "&Mono (Single)");
    TConvertSampleRateForm cr;
    EXPECT_TRUE(cr.RadioButtonStereo->isChecked());
    EXPECT_EQ(cr.GroupBoxSChannels->title(), "Channels");
    EXPECT_EQ(cr.RadioButtonMono->text(), "Mono");
    EXPECT_EQ(cr.RadioButtonStereo->text(), "Stereo");

    TEditID3Form tags;
    tags.show();
    EXPECT_EQ(tags.objectName(), "EditID3Form");
    EXPECT_EQ(tags.windowTitle(), "Edit Audio Tags");
    EXPECT_EQ(tags.EditYear->maxLength(), 6);
    EXPECT_FALSE(tags.ComboBoxGenre->isEditable());
    for (const char* name : {"EditTitle", "EditArtist", "EditAlbum", "EditYear"})
        EXPECT_NE(tags.findChild<QLineEdit*>(name), nullptr) << name;
    EXPECT_NE(tags.findChild<QPlainTextEdit*>("MemoComment"), nullptr);
    ExpectHintFont(tags);
    ExpectButtons(tags, false);
}

TEST(SmallDialogs, NewFileHelpOpensItsTopicAndKeepsTheDialog) {
    sw::HelpLayer layer(swtest::SourceDir() + "/data/soundwright/soundwright.chm");
    sw::ScopedHelpLayer scoped(layer);
    TNewFileForm form;
    form.show();
    form.ButtonHelp->click();
    ASSERT_NE(layer.window(), nullptr);
    EXPECT_EQ(layer.window()->currentPage(), "createopenandsaveaudiofiles.htm");
    EXPECT_TRUE(form.isVisible());
    layer.window()->close();
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

TEST(EditID3Form, BadYearIsReportedAndTheDialogStaysOpen) {
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scoped(messages);
    TEditID3Form form;
    form.show();
    for (const char* bad : {"19x9", "", "20 24"}) {
        messages.Then(sw::MessageAnswer::Ok);
        form.EditYear->setText(bad);
        form.ButtonOK->click();
        EXPECT_TRUE(form.isVisible()) << bad;
        EXPECT_EQ(form.result(), int(QDialog::Rejected)) << bad;
        ASSERT_FALSE(messages.messages().isEmpty());
        const sw::Message& m = messages.messages().last().message;
        EXPECT_EQ(m.text, QString("'%1' is not a valid integer value").arg(bad));
        EXPECT_EQ(m.kind, sw::MessageKind::Error);
    }
    EXPECT_EQ(messages.messages().size(), 3);
    form.EditYear->setText("1987");
    form.ButtonOK->click();
    EXPECT_EQ(form.result(), int(QDialog::Accepted));
    EXPECT_EQ(form.Year(), 1987);
    EXPECT_EQ(messages.messages().size(), 3);
    EXPECT_FALSE(messages.scriptFailed());
}

// The document commands' dialogs: filled from the caller's values, placed over
// the owner, read back only after OK.
class DocumentDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setGeometry(120, 90, 900, 600);
        owner.show();
    }
    // Checks that the running dialog was placed centred over the owner (by
    // its size before it was shown, when it had no frame yet).
    void ExpectPlaced(QDialog& d) {
        EXPECT_EQ(d.frameGeometry().topLeft(), sw::CentredTopLeft(owner.frameGeometry(), d.size()))
            << d.objectName().toStdString();
    }
    QWidget owner;
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
};

TEST_F(DocumentDialogsTest, NewFile) {
    struct Case { int rateIn, channelIn; int shownRate; bool shownMono; };
    const Case cases[] = {{0, 0, 0, false}, {11, 1, 11, true}, {12, 0, 3, false}, {-1, 1, 3, true}};
    for (const Case& c : cases) {
        dialogs.ThenDialog([&](QDialog& d) {
            ExpectPlaced(d);
            auto& f = static_cast<TNewFileForm&>(d);
            EXPECT_EQ(f.cbSampleRate->currentIndex(), c.shownRate) << c.rateIn;
            EXPECT_EQ(f.rbMono->isChecked(), c.shownMono) << c.rateIn;
            f.cbSampleRate->setCurrentIndex(9);
            (c.shownMono ? f.rbStereo : f.rbMono)->setChecked(true);
            f.ButtonOK->click();
            return -1;
        });
        int rate = c.rateIn, channel = c.channelIn;
        EXPECT_TRUE(document_dialogs::AskNewFile(&owner, rate, channel));
        EXPECT_EQ(rate, 9);
        EXPECT_EQ(channel, c.shownMono ? 0 : 1);
    }
    dialogs.ThenDialog([](QDialog& d) {
        static_cast<TNewFileForm&>(d).cbSampleRate->setCurrentIndex(0);
        return int(QDialog::Rejected);
    });
    int rate = 5, channel = 1;
    EXPECT_FALSE(document_dialogs::AskNewFile(&owner, rate, channel));
    EXPECT_EQ(rate, 5);
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(dialogs.titles().last(), "New Sample");
    EXPECT_FALSE(dialogs.scriptFailed());
}

TEST_F(DocumentDialogsTest, SampleRate) {
    struct Case { int rowIn; bool monoIn; int shownRow; };
    const Case cases[] = {{0, true, 0}, {9, false, 9}, {10, false, 3}, {-3, true, 3}};
    for (const Case& c : cases) {
        dialogs.ThenDialog([&](QDialog& d) {
            ExpectPlaced(d);
            auto& f = static_cast<TConvertSampleRateForm&>(d);
            EXPECT_EQ(f.ComboBoxRate->currentIndex(), c.shownRow) << c.rowIn;
            EXPECT_EQ(f.RadioButtonMono->isChecked(), c.monoIn) << c.rowIn;
            EXPECT_EQ(f.RadioButtonStereo->isChecked(), !c.monoIn) << c.rowIn;
            f.ComboBoxRate->setCurrentIndex(7);
            (c.monoIn ? f.RadioButtonStereo : f.RadioButtonMono)->setChecked(true);
            f.ButtonOK->click();
            return -1;
        });
        int row = c.rowIn;
        bool mono = c.monoIn;
        EXPECT_TRUE(document_dialogs::AskSampleRate(&owner, row, mono));
        EXPECT_EQ(row, 7);
        EXPECT_EQ(mono, !c.monoIn);
    }
    dialogs.ThenReject();
    int row = 2;
    bool mono = true;
    EXPECT_FALSE(document_dialogs::AskSampleRate(&owner, row, mono));
    EXPECT_EQ(row, 2);
    EXPECT_TRUE(mono);
    EXPECT_EQ(dialogs.titles().last(), "Convert Sample Rate");
    EXPECT_FALSE(dialogs.scriptFailed());
}

TEST_F(DocumentDialogsTest, TagsAreShownAndReadBack) {
    const QStringList genres = {"Blues", "Classic Rock", "Country"};
    document_dialogs::TagFields tags{"Title", "Artist", "Album", "Line 1\nLine 2", 2, 1999};
    dialogs.ThenDialog([&](QDialog& d) {
        ExpectPlaced(d);
        auto& f = static_cast<TEditID3Form&>(d);
        EXPECT_EQ(f.EditTitle->text(), "Title");
        EXPECT_EQ(f.EditArtist->text(), "Artist");
        EXPECT_EQ(f.EditAlbum->text(), "Album");
        EXPECT_EQ(f.MemoComment->toPlainText(), "Line 1\nLine 2");
        EXPECT_EQ(f.EditYear->text(), "1999");
        EXPECT_EQ(f.ComboBoxGenre->count(), 3);
        EXPECT_EQ(f.ComboBoxGenre->currentText(), "Country");
        f.EditTitle->setText("T2");
        f.EditArtist->setText("A2");
        f.EditAlbum->setText("B2");
        f.MemoComment->setPlainText("C2");
        f.ComboBoxGenre->setCurrentIndex(0);
        f.EditYear->setText("2001");
        f.ButtonOK->click();
        return -1;
    });
    ASSERT_TRUE(document_dialogs::AskTags(&owner, genres, tags));
    EXPECT_EQ(tags.title, "T2");
    EXPECT_EQ(tags.artist, "A2");
    EXPECT_EQ(tags.album, "B2");
    EXPECT_EQ(tags.comment, "C2");
    EXPECT_EQ(tags.genre, 0);
    EXPECT_EQ(tags.year, 2001);

    // A genre outside the list selects nothing and stays as it was.
    document_dialogs::TagFields none{"", "", "", "", -1, 0};
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(static_cast<TEditID3Form&>(d).ComboBoxGenre->currentIndex(), -1);
        static_cast<TEditID3Form&>(d).ButtonOK->click();
        return -1;
    });
    ASSERT_TRUE(document_dialogs::AskTags(&owner, genres, none));
    EXPECT_EQ(none.genre, -1);
    EXPECT_FALSE(dialogs.scriptFailed());
}

TEST_F(DocumentDialogsTest, TagsWithABadYearChangeNothing) {
    const document_dialogs::TagFields before{"Title", "Artist", "Album", "Comment", 1, 1999};
    document_dialogs::TagFields tags = before;
    messages.Then(sw::MessageAnswer::Ok);
    dialogs.ThenDialog([](QDialog& d) {
        auto& f = static_cast<TEditID3Form&>(d);
        f.EditTitle->setText("Changed");
        f.MemoComment->setPlainText("Changed");
        f.EditYear->setText("MCMX");
        f.ButtonOK->click();
        EXPECT_EQ(d.result(), int(QDialog::Rejected));
        return -1;   // the user then gives up
    });
    EXPECT_FALSE(document_dialogs::AskTags(&owner, {"Blues", "Classic Rock"}, tags));
    EXPECT_EQ(tags.title, before.title);
    EXPECT_EQ(tags.comment, before.comment);
    EXPECT_EQ(tags.year, before.year);
    EXPECT_EQ(messages.texts(), QStringList{"'MCMX' is not a valid integer value"});
    EXPECT_FALSE(dialogs.scriptFailed());
    EXPECT_FALSE(messages.scriptFailed());
}

}  // namespace
