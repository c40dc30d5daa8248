// Companion programs, the mixer, web pages and the About window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include "Companions.h"
#include "MainForm.h"
#include "PrivateMainForm.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "TestSupport.h"

namespace {

TEST(Companions, PathDropsTheExeEnding) {
    const QList<QPair<QString, QString>> cases = {
        {"WebFetch/WebFetch.exe", "/opt/sw/WebFetch/WebFetch"},
        {"ClipSoundPull/ClipSoundPull.exe", "/opt/sw/ClipSoundPull/ClipSoundPull"},
        {"splicekit.exe", "/opt/sw/splicekit"},
        {"tool", "/opt/sw/tool"},
        {"Sub\\Tool.EXE", "/opt/sw/Sub/Tool"},
    };
    for (const auto& [relative, expected] : cases) EXPECT_EQ(CompanionPath("/opt/sw", relative), expected);
    EXPECT_EQ(CompanionPath("/opt/sw/", "a.exe"), "/opt/sw/a");
}

TEST(Companions, StartsDetachedWithZestAndIgnoresMissingPrograms) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("WebFetch");
    const QString marker = dir.filePath("args.txt");
    const QString program = dir.filePath("WebFetch/WebFetch");
    QFile f(program);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString("#!/bin/sh\necho \"$@\" > '%1'\n").arg(marker).toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(StartCompanion(dir.path(), "WebFetch/WebFetch.exe"));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(marker) && t.elapsed() < 10000) QThread::msleep(20);
    QThread::msleep(50);
    QFile out(marker);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(out.readAll()).trimmed(), "-zest");
    EXPECT_FALSE(StartCompanion(dir.path(), "platterwrite.exe"));
    EXPECT_FALSE(StartCompanion(dir.path(), "WebFetch"));   // a folder is not a program
}

TEST(WebPages, OnlyWebAddressesAreOpened) {
    QList<QUrl> opened;
    const WebPageOpener previous = SetWebPageOpener([&](const QUrl& u) {
        opened << u;
        return true;
    });
    EXPECT_TRUE(OpenWebPage("https://soundwright.example.org/editor"));
    EXPECT_FALSE(OpenWebPage("file:///etc/passwd"));
    EXPECT_FALSE(OpenWebPage("not an address"));
    SetWebPageOpener(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toString(), "https://soundwright.example.org/editor");
}

TEST(WebPages, MainWindowCommandsOpenTheIdentityAddressesAndAbout) {
    QTemporaryDir home;
    TMainFormOptions o = PrivateMainFormOptions(home);
    o.identity.version = "2.5";
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs(dialogs);
    TMainForm form(o);
    QStringList opened;
    const WebPageOpener previous = SetWebPageOpener([&](const QUrl& u) {
        opened << u.toString();
        return true;
    });
    for (const char* n : {"ActionProductPage", "ActionTechnicalSupport", "ActionCompanyHomepage", "ActionFAQ1"})
        form.Action(n)->trigger();
    SetWebPageOpener(previous);
    EXPECT_EQ(opened, (QStringList{o.identity.productPage, o.identity.supportPage, o.identity.homePage,
                                   o.identity.productPage + "/vistaproblem/"}));

    QString title;
    dialogs.ThenDialog([&](QDialog& d) {
        if (auto* l = d.findChild<QLabel*>("LabelTitle")) title = l->text();
        return int(QDialog::Accepted);
    });
    form.Action("ActionVersion")->trigger();
    EXPECT_EQ(dialogs.dialogs(), QStringList{"FormAbout"});
    EXPECT_EQ(title, QString("%1 version: 2.5").arg(DefaultDisplayName()));
    // A companion that is not installed: nothing happens, nothing is said.
    form.Action("ActionBurnCD")->trigger();
    EXPECT_TRUE(messages.messages().isEmpty());
}

}  // namespace
