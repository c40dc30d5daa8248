// The help layer: help file and topic texts, the bundle read once, the error
// for a missing bundle, and the bundled pages themselves.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "Help.h"
#include "HelpWindow.h"
#include "ScriptedMessageService.h"
#include "TestSupport.h"

namespace {

// Every topic the program opens.
const QStringList kTopics = {"WelcometoAPP", "RecordQuicktour", "ImportingAudioTracksfromCD",
                             "BasicAudioEditing", "ConnectingYourStereoEquipment", "BookmarksandRegions",
                             "CreateOpenandSaveaudiofiles", "APPOptions", "Editing", "Effects",
                             "WAVSettings", "MP3Settings", "OGGSettings", "WMASettings", "RecordControl",
                             "AdvancedRecordingOptions", "BatchConverter"};

QString Bundle() { return swtest::SourceDir() + "/data/soundwright/soundwright.chm"; }

const char* const kMissing = "HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!";

TEST(Help, FileAndTopicTexts) {
    struct Case { const char* exe; const char* help; };
    const Case files[] = {{"/opt/sw/soundwright", "/opt/sw/soundwright.chm"},
                          {"/opt/sw/tool.bin", "/opt/sw/tool.chm"},
                          {"/opt/s.w/tool", "/opt/s.w/tool.chm"},
                          {"/opt/sw/.hidden", "/opt/sw/.hidden.chm"},
                          {"/opt/sw/a.b.c", "/opt/sw/a.b.chm"}};
    for (const Case& c : files) EXPECT_EQ(sw::HelpFileFor(c.exe), c.help) << c.exe;

    EXPECT_EQ(sw::HelpTopicText("/x/soundwright.chm", "WAVSettings"), "/x/soundwright.chm::/wavsettings.htm");
    EXPECT_EQ(sw::HelpTopicText("/x/soundwright.chm", "APPOptions"), "/x/soundwright.chm::/appoptions.htm");
}

TEST(Help, SplitTopicText) {
    struct Case { const char* text; bool ok; const char* file; const char* page; };
    const Case cases[] = {{"/x/a.chm::/editing.htm", true, "/x/a.chm", "editing.htm"},
                          {"/x/a.chm::/Effects.HTM", true, "/x/a.chm", "effects.htm"},
                          {"/x/a::/b.chm::/c.htm", true, "/x/a::/b.chm", "c.htm"},
                          {"/x/a.chm::/", false, "", ""},
                          {"/x/a.chm", false, "", ""}};
    for (const Case& c : cases) {
        QString file, page;
        EXPECT_EQ(sw::SplitTopicText(c.text, &file, &page), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(file, c.file) << c.text;
            EXPECT_EQ(page, c.page) << c.text;
        }
    }
}

TEST(Help, DefaultLayerUsesTheProgramsOwnHelpFile) {
    EXPECT_EQ(sw::Help().helpFile(), QCoreApplication::applicationFilePath() + ".chm");
}

TEST(Help, MissingBundleRaisesTheErrorText) {
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain.chm"));   // a file where the folder should be
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& file : {dir.filePath("nothing.chm"), plain.fileName(), QString()}) {
        sw::HelpLayer layer(file);
        sw::ScopedHelpLayer scoped(layer);
        try {
            sw::ShowHelpTopic(nullptr, "WelcometoAPP");
            ADD_FAILURE() << "no error for " << file.toStdString();
        } catch (const sw::HelpError& e) {
            EXPECT_STREQ(e.what(), kMissing);
        }
        EXPECT_EQ(layer.loadCount(), 0);
        EXPECT_EQ(layer.window(), nullptr);
    }
}

TEST(Help, GuardedRequestShowsTheErrorAsAMessage) {
    QTemporaryDir dir;
    sw::HelpLayer layer(dir.filePath("nothing.chm"));
    sw::ScopedHelpLayer scoped(layer);
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    messages.Then(sw::MessageAnswer::Ok);
    sw::ShowHelpTopicGuarded(nullptr, "WelcometoAPP");
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.text, kMissing);
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_FALSE(messages.scriptFailed());
}

TEST(Help, BundleIsReadOnceAndAgainAfterAFailedRead) {
    QTemporaryDir dir;
    const QString file = dir.filePath("late.chm");
    sw::HelpLayer layer(file);
    sw::ScopedHelpLayer scoped(layer);
    EXPECT_THROW(sw::ShowHelpTopic(nullptr, "Editing"), sw::HelpError);
    // The bundle appears afterwards: the next request finds it.
    ASSERT_TRUE(QDir().mkpath(file));
    QFile page(file + "/editing.htm");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>Editing help</p></body></html>");
    page.close();
    sw::ShowHelpTopic(nullptr, "Editing");
    sw::ShowHelpTopic(nullptr, "EDITING");
    EXPECT_EQ(sw::HelpLoadCount(), 1);
    // Pages added after the read are not picked up in this run.
    QFile later(file + "/effects.htm");
    ASSERT_TRUE(later.open(QIODevice::WriteOnly));
    later.write("<p>x</p>");
    later.close();
    sw::ShowHelpTopic(nullptr, "Effects");
    EXPECT_TRUE(layer.window()->showingNotice());
    EXPECT_EQ(layer.loadCount(), 1);
    layer.window()->close();
}

TEST(Help, EveryTopicHasAPageAndTheBundleLoadsOnce) {
    sw::HelpLayer layer(Bundle());
    sw::ScopedHelpLayer scoped(layer);
    for (const QString& t : kTopics) {
        sw::ShowHelpTopic(nullptr, t);
        ASSERT_NE(layer.window(), nullptr);
        EXPECT_FALSE(layer.window()->showingNotice()) << t.toStdString();
        EXPECT_EQ(layer.window()->currentPage(), t.toLower() + ".htm");
        // A page says something beyond its heading.
        EXPECT_GT(layer.window()->browser()->toPlainText().simplified().size(), 120) << t.toStdString();
    }
    EXPECT_EQ(layer.loadCount(), 1);
    EXPECT_TRUE(layer.window()->isVisible());
    layer.window()->close();
}

TEST(Help, PagesOutsideTheBundleShowTheNotice) {
    sw::HelpLayer layer(Bundle());
    sw::ScopedHelpLayer scoped(layer);
    for (const char* topic : {"NoSuchTopic", "../../etc/passwd", "../soundwright.chm/editing"}) {
        sw::ShowHelpTopic(nullptr, topic);
        EXPECT_TRUE(layer.window()->showingNotice()) << topic;
        EXPECT_EQ(layer.window()->currentPage(), "") << topic;
    }
    // Back returns from the notice to the page shown before it.
    sw::ShowHelpTopic(nullptr, "Editing");
    sw::ShowHelpTopic(nullptr, "NoSuchTopic");
    layer.window()->findChild<QPushButton*>("ButtonBack")->click();
    EXPECT_FALSE(layer.window()->showingNotice());
    EXPECT_EQ(layer.window()->currentPage(), "editing.htm");
    layer.window()->close();
}

TEST(Help, ContentsLinksEveryTopicAndEveryLinkResolves) {
    sw::HelpLayer layer(Bundle());
    const QStringList pages = layer.Pages();
    const QRegularExpression href(R"(href="([^"#]*)(#[^"]*)?")", QRegularExpression::CaseInsensitiveOption);
    QStringList fromContents;
    for (const QString& page : pages) {
        QFile f(layer.PagePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page.toStdString();
        const QString html = QString::fromUtf8(f.readAll());
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.startsWith("http:") || target.startsWith("https:") || target.isEmpty()) continue;
            EXPECT_FALSE(layer.PagePath(target).isEmpty()) << page.toStdString() << " -> " << target.toStdString();
            if (page == sw::HelpWindow::ContentsPage()) fromContents << target.toLower();
        }
    }
    for (const QString& t : kTopics) {
        if (t == "WelcometoAPP") continue;
        EXPECT_TRUE(fromContents.contains(t.toLower() + ".htm")) << t.toStdString();
    }
}

TEST(Help, LinksInTheWindowStayInTheBundle) {
    sw::HelpLayer layer(Bundle());
    sw::ScopedHelpLayer scoped(layer);
    sw::ShowHelpTopic(nullptr, "WelcometoAPP");
    sw::HelpWindow* w = layer.window();
    ASSERT_NE(w, nullptr);
    emit w->browser()->anchorClicked(QUrl("effects.htm"));
    EXPECT_EQ(w->currentPage(), "effects.htm");
    emit w->browser()->anchorClicked(QUrl::fromLocalFile("/etc/passwd"));
    EXPECT_TRUE(w->showingNotice());
    w->findChild<QPushButton*>("ButtonContents")->click();
    EXPECT_EQ(w->currentPage(), "welcometoapp.htm");
    w->close();
}

}  // namespace
