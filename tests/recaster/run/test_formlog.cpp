// The log window and the about box.
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "../RcFixture.h"
#include "IniFile.h"
#include "Profile.h"
#include "run/FormAbout.h"
#include "run/FormLog.h"

using namespace rc;
using A = sw::MessageAnswer;

namespace {
class FormLogTest : public ::testing::Test {
protected:
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    QTemporaryDir dir;
    TFormLog log;
    void TearDown() override {
        EXPECT_FALSE(messages.scriptFailed());
        EXPECT_FALSE(dialogs.scriptFailed());
    }
};
}  // namespace

TEST_F(FormLogTest, DeleteOnlyOnYesAndSaveStaysOff) {
    log.AppendLine("File load error: a");
    log.AppendLine("File load error: b");
    for (A answer : {A::No, A::Cancel}) {
        messages.Then(answer);
        log.findChild<QPushButton*>("ButtonDelete")->click();
        EXPECT_EQ(log.Lines().size(), 2);
        EXPECT_TRUE(log.SaveEnabled());
    }
    const sw::Message& m = messages.messages().first().message;
    EXPECT_EQ(m.caption, "Delete log?");
    EXPECT_EQ(m.text, "Really delete log file?");
    EXPECT_EQ(m.buttons, sw::MessageButtons::YesNoCancel);
    EXPECT_EQ(m.kind, sw::MessageKind::Question);
    messages.Then(A::Yes);
    log.findChild<QPushButton*>("ButtonDelete")->click();
    EXPECT_TRUE(log.Lines().isEmpty());
    EXPECT_FALSE(log.SaveEnabled());
    log.AppendLine("later line");
    EXPECT_FALSE(log.SaveEnabled());
}

TEST_F(FormLogTest, SaveWritesEveryLine) {
    log.AppendLine("one");
    log.AppendLine("two");
    const QString path = dir.path() + "/out.log";
    dialogs.ThenFile(path);
    log.findChild<QPushButton*>("ButtonSave")->click();
    ASSERT_EQ(dialogs.fileRequests().size(), 1);
    EXPECT_EQ(dialogs.fileRequests()[0].defaultSuffix, "log");
    EXPECT_TRUE(dialogs.fileRequests()[0].filter.startsWith("Log-Files (*.log)"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "one\ntwo\n");
    // An unwritable place shows the system's error and keeps the log.
    dialogs.ThenFile(dir.path() + "/missing/folder/x.log");
    messages.Then(A::Ok);
    log.findChild<QPushButton*>("ButtonSave")->click();
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_EQ(log.Lines(), (QStringList{"one", "two"}));
}

TEST_F(FormLogTest, ButtonGroupIsCentred) {
    const TLogButtonLefts l = LogButtonLefts(600, 90, 100, 110);
    EXPECT_EQ(l.ok, 300 - (90 + 8 + 100 + 8 + 110) / 2);
    EXPECT_EQ(l.del, l.ok + 98);
    EXPECT_EQ(l.save, l.del + 108);
    log.resize(700, 300);
    log.show();
    QCoreApplication::processEvents();
    auto* ok = log.findChild<QPushButton*>("ButtonOK");
    auto* save = log.findChild<QPushButton*>("ButtonSave");
    const int panel = log.findChild<QWidget*>("PanelBottom")->width();
    EXPECT_NEAR(ok->x() + (save->geometry().right() + 1 - ok->x()) / 2.0, panel / 2.0, 1.0);
    log.hide();
}

TEST_F(FormLogTest, PositionKeptInFormLog) {
    const QString ini = dir.path() + "/system.dat";
    log.SetSettingsFile(ini, QRect(0, 0, 1280, 1024));
    log.show();
    log.move(210, 130);
    log.close();
    sw::IniFile f(ini);
    EXPECT_EQ(f.ReadInteger("FormLog", "x", -1), 210);
    EXPECT_EQ(f.ReadInteger("FormLog", "y", -1), 130);
    TFormLog again;
    again.SetSettingsFile(ini, QRect(0, 0, 1280, 1024));
    again.show();
    EXPECT_EQ(again.pos(), QPoint(210, 130));
}

TEST(FormAbout, FilledFromProfileAndIdentity) {
    QStringList opened;
    SetShellOpener([&](const QString& t) { opened << t; });
    TProfile p;
    p.Name = "WebFetch";
    p.Version = "2.0";
    p.Copyright = "The Makers";
    TFormAbout about(p, "/nonexistent");
    EXPECT_EQ(about.windowTitle(), "About ");
    EXPECT_EQ(about.findChild<QLabel*>("LabalTitle")->text(), "WebFetch 2.0");
    EXPECT_EQ(about.findChild<QLabel*>("LabelVersion")->text(), "2.0");
    EXPECT_TRUE(about.findChild<QLabel*>("LabelCopyright")->text().endsWith("The Makers"));
    EXPECT_TRUE(about.findChild<QLabel*>("LabelCopyright")->text().contains(QString::number(QDate::currentDate().year())));
    EXPECT_EQ(about.findChild<QLabel*>("LabelWeb")->text(), IdentityFor("WebFetch").HomePage);
    about.findChild<QPushButton*>("ButtonUpdates")->click();
    EXPECT_EQ(opened, QStringList{IdentityFor("WebFetch").Updates});
    SetShellOpener({});
}

TEST(FormAbout, VariantThreeHidesThePicture) {
    TProfile p;
    p.Skin = "3";
    TFormAbout about(p, "/nonexistent");
    auto* tabs = about.findChild<QWidget*>("PageControl");
    EXPECT_FALSE(about.findChild<QWidget*>("PanelImage")->isVisibleTo(&about));
    EXPECT_EQ(tabs->x(), 10);
    EXPECT_EQ(about.width(), tabs->geometry().right() + 1 + 15);
    auto* ok = about.findChild<QPushButton*>("ButtonOK");
    EXPECT_EQ(ok->geometry().right(), tabs->geometry().right());
}
