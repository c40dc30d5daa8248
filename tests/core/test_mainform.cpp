// The main window's start and close steps on a private settings folder: the
// files of the first run, what survives a restart, the command line, the
// welcome window, the layout and the commands' enabled states.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>

#include "Commands.h"
#include "Document.h"
#include "Favorites.h"
#include "GlobalVars.h"
#include "IniFile.h"
#include "MainForm.h"
#include "Ribbon.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "TestSupport.h"
#include "editor/TAudioEditor2.h"

namespace {

using sw::MessageAnswer;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        QDir(home.path()).mkpath("config");
        QDir(home.path()).mkpath("Music");
        QDir(home.path()).mkpath("cache");
    }

    TMainFormOptions Options(const QStringList& args = {}) const {
        TMainFormOptions o;
        o.exeDir = swtest::BinaryDir() + "/bin/soundwright";
        o.arguments = args;
        o.env.home = home.path();
        o.env.xdgConfigHome = home.path() + "/config";
        o.env.xdgCacheHome = home.path() + "/cache";
        o.env.musicLocation = home.path() + "/Music";
        o.env.userName = "tester";
        o.identity = IdentityFor(DefaultDisplayName());
        o.postAfterShow = false;
        return o;
    }

    QString AppData() const { return home.path() + "/config/" + DefaultDisplayName() + "/"; }

    void ExpectScriptsUsed() {
        EXPECT_FALSE(messages.scriptFailed()) << messages.failures().join("\n").toStdString();
        EXPECT_FALSE(dialogs.scriptFailed()) << dialogs.failures().join("\n").toStdString();
        EXPECT_EQ(dialogs.remainingDialogs(), 0);
        EXPECT_EQ(dialogs.remainingFiles(), 0);
    }

    QTemporaryDir home;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
};

TEST_F(MainFormTest, FirstRunWritesTheFilesAndShowsTheWelcomeWindow) {
    TMainForm form(Options());
    EXPECT_FALSE(form.FoundSettings());
    EXPECT_EQ(form.ApplicationDataFolder(), AppData());

    // system.dat: every key of the record in order with its start value.
    const QString settings = AppData() + "system.dat";
    ASSERT_TRUE(QFileInfo::exists(settings));
    TGlobalVars fresh;
    fresh.Reset(home.path() + "/Music/", AppData());
    QTemporaryDir other;
    sw::IniFile expected(other.filePath("system.dat"));
    ASSERT_TRUE(SaveSettings(fresh, expected));
    const sw::IniFile actual(settings);
    EXPECT_EQ(actual.ReadSection("SYSTEM"), TGlobalVars::Keys());
    for (const QString& key : TGlobalVars::Keys())
        EXPECT_EQ(actual.ReadString("SYSTEM", key, "<missing>"), expected.ReadString("SYSTEM", key, "<none>"))
            << key.toStdString();
    EXPECT_EQ(actual.ReadString("SYSTEM", "LastOpenDir", ""), home.path() + "/Music/");
    EXPECT_EQ(actual.ReadString("SYSTEM", "OP_WorkingFolder", ""), AppData());

    // 980 by 560, centred.
    EXPECT_EQ(form.size(), QSize(980, 560));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form.x(), screen.x() + (screen.width() - 980) / 2);
    EXPECT_EQ(form.y(), screen.y() + (screen.height() - 560) / 2);
    // The lists' windows start at the main window's lower right corner.
    EXPECT_EQ(form.Vars().RegionFormLeft, form.x() + 980 - 550);
    EXPECT_EQ(form.Vars().BookmarkFormTop, form.y() + 560 - 200);

    // Favourites: the twelve defaults in order.
    const sw::IniFile favorites(AppData() + "Favorite8pre.dat");
    QStringList names;
    for (const TFavorite& f : DefaultFavorites()) names << f.Name;
    EXPECT_EQ(names.size(), 12);
    EXPECT_EQ(favorites.ReadSections(), names);
    EXPECT_EQ(ReadFavorites(AppData() + "Favorite8pre.dat"), DefaultFavorites());

    // Shortcuts: 130 sections by position.
    const sw::IniFile shortcuts(AppData() + "Shortcut8pre.dat");
    const QStringList sections = shortcuts.ReadSections();
    ASSERT_EQ(sections.size(), 130);
    for (int i = 0; i < 130; ++i) EXPECT_EQ(sections[i], QString("Action%1").arg(i + 1));
    EXPECT_EQ(shortcuts.ReadString("Action42", "Shortcut", "?"), "F9");
    EXPECT_EQ(shortcuts.ReadString("Action2", "Shortcut", "?"), "");
    EXPECT_TRUE(shortcuts.ValueExists("Action2", "Shortcut"));
    EXPECT_EQ(shortcuts.ReadString("Action1", "Shortcut", "?"), "Ctrl+Z");

    // The welcome window opens after the window is shown.
    dialogs.ThenReject();
    form.AfterShow();
    EXPECT_EQ(dialogs.dialogs(), QStringList{"TWelcomeStartForm"});
    EXPECT_EQ(dialogs.titles().value(0), QString("Welcome to %1!").arg(DefaultDisplayName()));
    ExpectScriptsUsed();
}

TEST_F(MainFormTest, SettingsPositionAndRecentFilesSurviveARestart) {
    const QString a = home.filePath("a.wav");
    ASSERT_TRUE(swtest::MakeTone(a, 0.2, 44100, 2));
    QRect geometry;
    {
        TMainForm form(Options());
        form.Vars().ShowStartDialog = false;
        form.Vars().OP_DefSample = 22050;
        form.resize(800, 500);
        form.move(40, 30);
        ASSERT_TRUE(form.Document().OpenDocument(a));
        form.FormClose();
        geometry = form.geometry();
    }
    const sw::IniFile ini(AppData() + "system.dat");
    EXPECT_EQ(ini.ReadInteger("FormPos", "height", 0), geometry.height() + 23);
    TMainForm again(Options());
    EXPECT_TRUE(again.FoundSettings());
    EXPECT_EQ(again.Vars().OP_DefSample, 22050);
    EXPECT_EQ(again.Recent().list, QStringList{a});
    EXPECT_EQ(again.size(), geometry.size());
    EXPECT_EQ(again.pos(), geometry.topLeft());
    again.AfterShow();   // ShowStartDialog off: no welcome window
    EXPECT_TRUE(dialogs.dialogs().isEmpty());
    ExpectScriptsUsed();
}

TEST_F(MainFormTest, CommandLineArgumentIsMadeAbsolute) {
    ASSERT_TRUE(swtest::MakeTone(home.filePath("song.wav"), 0.2, 44100, 1));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(home.path());
    TMainForm form(Options({"song.wav"}));
    form.AfterShow();
    QDir::setCurrent(cwd);
    const QString full = QFileInfo(home.filePath("song.wav")).absoluteFilePath();
    EXPECT_EQ(form.Document().FileName(), full);
    EXPECT_EQ(form.Vars().LastOpenDir, QFileInfo(full).absolutePath() + "/");
    EXPECT_EQ(form.Recent().list, QStringList{full});
    EXPECT_TRUE(dialogs.dialogs().isEmpty());
    ExpectScriptsUsed();
}

TEST_F(MainFormTest, UnusableArgumentIsIgnoredWithoutWelcome) {
    ASSERT_TRUE(swtest::MakeTone(home.filePath("song.flac"), 0.2, 44100, 1));
    for (const QString& arg : {home.filePath("missing.wav"), home.filePath("song.flac"), home.path()}) {
        TMainForm form(Options({arg}));
        form.AfterShow();
        EXPECT_FALSE(form.Document().IsOpen()) << arg.toStdString();
    }
    EXPECT_TRUE(dialogs.dialogs().isEmpty());
    ExpectScriptsUsed();
}

TEST_F(MainFormTest, MissingRecentFileIsReportedAndRemoved) {
    TMainForm form(Options());
    const QString gone = home.filePath("gone.wav");
    form.Recent().Touch(gone);
    messages.Then(MessageAnswer::Ok);
    form.OpenRecentFile(gone);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.text, gone + " was not found.");
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_TRUE(form.Recent().list.isEmpty());
    ExpectScriptsUsed();
}

TEST_F(MainFormTest, LayoutNamesAndRibbon) {
    TMainForm form(Options());
    for (const char* name : {"bsRibbon", "SkinPageControlCommandList", "Splitter", "bsSkinTabSheetEffects",
                             "TreeViewEffects", "bsSkinTabSheetFavorites", "FavoriteListBox", "ButtonEditF",
                             "AudioEditor", "LeftBar", "RightBar", "LabelTime", "EditStart", "EditEnd",
                             "EditLength", "ButtonPlay", "ButtonStop", "ButtonRewind", "ButtonForword",
                             "bsSkinStatusBar", "bsSkinStatusPanelModified", "bsSkinStatusPanelFileInfo"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(form.minimumSize(), QSize(500, 300));

    auto* ribbon = form.findChild<TRibbon*>("bsRibbon");
    ASSERT_NE(ribbon, nullptr);
    const QList<QPair<QString, QStringList>> pages = {
        {"Home", {"File", "Cliboard", "Editing", "Select && Effect", "View"}},
        {"File", {"Create", "Tools", "Modify"}},
        {"Edit", {"Common", "Insert", "Effect", "Extend"}},
        {"Effect", {"Delay and Echo", "Extend Effects", "Filter and EQ", "Time and Pitch",
                    "Amplitude and Compression", "Modulation"}},
        {"Noise Reduction", {"Noise Reduction"}},
        {"Bookmark", {"Bookmark", "Region"}},
        {"Options", {"Options", "View", "Keyboard", "Editor View", "Application View"}},
        {"Help", {"Help", "FAQ"}}};
    ASSERT_EQ(ribbon->count(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(ribbon->tabText(i).replace("&&", "&"), pages[i].first);
        EXPECT_EQ(ribbon->GroupCaptions(i), pages[i].second) << pages[i].first.toStdString();
    }

    // One action per command in the fixed order, with captions and keys.
    ASSERT_EQ(form.Actions().size(), kCommandCount);
    for (int i = 0; i < kCommandCount; ++i) {
        const TCommandInfo& c = CommandTable()[i];
        EXPECT_EQ(form.Actions()[i]->objectName(), c.name);
        EXPECT_EQ(form.Actions()[i]->text(), QString::fromUtf8(c.caption));
    }
    EXPECT_EQ(form.Action("ActionPlay")->shortcut(), QKeySequence("F9"));
    EXPECT_EQ(form.Action("ActionNewFile")->shortcut(), QKeySequence("Ctrl+N"));
    for (const char* quick : {"QuickButtonNewFile", "QuickButtonNewRecord", "QuickButtonOpen", "QuickButtonUndo",
                              "QuickButtonRedo", "QuickButtonSaveAs"})
        EXPECT_NE(form.findChild<QWidget*>(quick), nullptr) << quick;
}

TEST_F(MainFormTest, CommandStatesFollowTheDocument) {
    TMainForm form(Options());
    form.UpdateCommandStates();
    // No document: only always-enabled commands can run.
    for (QAction* a : form.Actions()) {
        const TCommandInfo* c = FindCommand(a->objectName());
        ASSERT_NE(c, nullptr);
        if (c->rule != TCommandRule::Always) {
            EXPECT_FALSE(a->isEnabled()) << c->name;
        }
    }
    for (const char* b : {"ButtonPlay", "ButtonStop", "ButtonRewind", "ButtonForword"})
        EXPECT_FALSE(form.findChild<QWidget*>(b)->isEnabled()) << b;

    // A new empty document: Close File and Insert File, not Play or Save As.
    form.Vars().OP_PromptNewFile = false;
    ASSERT_TRUE(form.Document().CreateDocument("Untitled", 44100, 2));
    form.UpdateCommandStates();
    EXPECT_TRUE(form.Action("ActionCloseFile")->isEnabled());
    EXPECT_TRUE(form.Action("ActionInsertFileBegin")->isEnabled());
    EXPECT_TRUE(form.Action("ActionResample")->isEnabled());
    EXPECT_FALSE(form.Action("ActionPlay")->isEnabled());
    EXPECT_FALSE(form.Action("ActionSaveAs")->isEnabled());
    EXPECT_FALSE(form.Action("ActionSave")->isEnabled());   // "Untitled" has no extension

    // With audio and a selection.
    form.Editor().Transform().InsertSilence(500);
    auto& p = form.Editor().Position();
    p.SetHasSelection(true);
    p.SetSelStart(100);
    p.SetSelEnd(2000);
    form.UpdateCommandStates();
    for (const char* n : {"ActionPlay", "ActionSaveAs", "ActionSaveSelectionAs", "ActionCopyToNew", "ActionSelectAll"})
        EXPECT_TRUE(form.Action(n)->isEnabled()) << n;
    EXPECT_TRUE(form.findChild<QWidget*>("ButtonPlay")->isEnabled());
}

TEST_F(MainFormTest, DoubleClickInTheEditorSelectsAll) {
    ASSERT_TRUE(swtest::MakeTone(home.filePath("a.wav"), 0.5, 44100, 2));
    TMainForm form(Options());
    ASSERT_TRUE(form.Document().OpenDocument(home.filePath("a.wav")));
    form.UpdateCommandStates();
    QWidget* view = form.findChild<QWidget*>("AudioEditor");
    ASSERT_NE(view, nullptr);
    const QPointF at(10, 10);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(view, &dbl);
    const auto& p = form.Editor().Position();
    EXPECT_TRUE(p.HasSelection());
    EXPECT_EQ(p.SelStart(), 0);
    EXPECT_EQ(p.SelEnd(), p.Length());
}

TEST_F(MainFormTest, CommandListSideAndVisibilityAreWrittenAtOnce) {
    TMainForm form(Options());
    form.Action("ActionOnTheRight")->trigger();
    EXPECT_FALSE(form.CommandListOnTheLeft());
    auto* splitter = form.findChild<QSplitter*>("Splitter");
    EXPECT_EQ(splitter->widget(1)->objectName(), "SkinPageControlCommandList");
    EXPECT_FALSE(sw::IniFile(AppData() + "system.dat").ReadBool("System", "CommandBarOnTheLeft", true));
    form.Action("ActionShowCommandList")->trigger();
    EXPECT_FALSE(sw::IniFile(AppData() + "system.dat").ReadBool("System", "ShowCommandBar", true));
    TMainForm again(Options());
    EXPECT_FALSE(again.CommandListOnTheLeft());
    EXPECT_FALSE(again.Action("ActionShowCommandList")->isChecked());
}

TEST_F(MainFormTest, ExitAsksForUnsavedChangesAndClosesWithTheClosingSteps) {
    const QString a = home.filePath("a.wav");
    ASSERT_TRUE(swtest::MakeTone(a, 0.2, 44100, 2));
    TMainForm form(Options());
    form.show();
    ASSERT_TRUE(form.Document().OpenDocument(a));
    form.Document().SetModified(true);
    messages.Then(MessageAnswer::Cancel);
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(QFileInfo::exists(AppData() + "MRUList.dat"));
    messages.Then(MessageAnswer::No);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(messages.messages().size(), 2);
    // The closing steps ran: recent list, window position, the record.
    QFile mru(AppData() + "MRUList.dat");
    ASSERT_TRUE(mru.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(mru.readAll()).trimmed(), a);
    EXPECT_TRUE(sw::IniFile(AppData() + "system.dat").SectionExists("FormPos"));
    EXPECT_FALSE(QFile(a).size() == 0);   // "No" wrote nothing over the file
    ExpectScriptsUsed();
}

TEST(Identity, ProfileAndTable) {
    QTemporaryDir dir;
    const ProductIdentity missing = ReadProfile(dir.filePath("lame.dll"));
    EXPECT_EQ(missing.displayName, DefaultDisplayName());
    EXPECT_FALSE(missing.hideCompanions);
    QFile f(dir.filePath("lame.dll"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[SYSTEM]\nName=Soundwright Lite\nVersion=2.5\n");
    f.close();
    const ProductIdentity lite = ReadProfile(dir.filePath("lame.dll"));
    EXPECT_EQ(lite.displayName, "Soundwright Lite");
    EXPECT_EQ(lite.version, "2.5");
    EXPECT_TRUE(lite.hideCompanions);
    const ProductIdentity other = IdentityFor("Somebody's Editor");
    EXPECT_EQ(other.displayName, "Somebody's Editor");
    EXPECT_EQ(other.productPage, IdentityFor(DefaultDisplayName()).productPage);
}

TEST_F(MainFormTest, CaptionAndHiddenCompanions) {
    TMainFormOptions o = Options();
    o.identity = IdentityFor("Soundwright Lite");
    o.identity.version = "2.5";
    TMainForm form(o);
    EXPECT_EQ(form.windowTitle(), "Soundwright Lite 2.5");
    for (const char* n : {"ActionBurnCD", "ActionCDRipper", "ActionDiscEraser", "ActionImportFromVideo", "ActionWebFetch"})
        EXPECT_FALSE(form.Action(n)->isVisible()) << n;
    EXPECT_TRUE(form.Action("ActionBatchConverter")->isVisible());
    // The settings folder follows the display name.
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/config/Soundwright Lite/system.dat"));
}

}  // namespace
