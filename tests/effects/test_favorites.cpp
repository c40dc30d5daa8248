// Favourites and shortcuts files as the first start writes them and as the
// main window reads them back.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "Commands.h"
#include "Favorites.h"
#include "IniFile.h"
#include "ShortcutText.h"
#include "Shortcuts.h"

namespace {

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(DefaultFavorites, FileHoldsTwelveSectionsWithKeysInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Favorite8pre.dat");
    ASSERT_TRUE(WriteDefaultFavorites(path));
    const sw::IniFile ini(path);
    ASSERT_EQ(ini.ReadSections().size(), 12);
    EXPECT_EQ(ini.ReadSections().first(), "Half Volume");
    EXPECT_EQ(ini.ReadSections().last(), "Cassette Noise Reduce");
    for (const QString& s : ini.ReadSections())
        EXPECT_EQ(ini.ReadSection(s), (QStringList{"ShortCut", "Effect", "Flag", "ShowDialog"})) << s.toStdString();
    EXPECT_EQ(ini.ReadString("Many Echoes", "ShortCut", ""), "Ctrl+3");
    EXPECT_EQ(ini.ReadString("Many Echoes", "Effect", ""), "500,50,70");
    EXPECT_EQ(ini.ReadString("Many Echoes", "Flag", ""), "Echo");
    EXPECT_EQ(ini.ReadString("Many Echoes", "ShowDialog", ""), "0");
    EXPECT_EQ(ini.ReadString("Allien Saying Effect", "Effect", ""), "30,60,60,30,11025,8");

    // An existing file is left alone.
    ASSERT_TRUE(sw::IniFile(path).WriteString("Half Volume", "Effect", "40"));
    const QString before = ReadText(path);
    ASSERT_TRUE(WriteDefaultFavorites(path));
    EXPECT_EQ(ReadText(path), before);
}

TEST(Favorites, ReadingIsLenientAndItemsShowShortcuts) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.dat");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Loud]\nshortcut=Ctrl+L\nEFFECT=150\nFlag=Amplify\n[Quiet]\nEffect=20\nFlag=Amplify\nShowDialog=1\n");
    f.close();
    const QList<TFavorite> favs = ReadFavorites(path);
    ASSERT_EQ(favs.size(), 2);
    EXPECT_EQ(favs[0].ShortCut, "Ctrl+L");
    EXPECT_EQ(favs[0].Effect, "150");
    EXPECT_FALSE(favs[0].ShowDialog);   // missing reads as false
    EXPECT_TRUE(favs[1].ShortCut.isEmpty());
    EXPECT_TRUE(favs[1].ShowDialog);
    EXPECT_EQ(FavoriteItemText(favs[0]), "Loud (Ctrl+L)");
    EXPECT_EQ(FavoriteItemText(favs[1]), "Quiet");
    EXPECT_EQ(FindFavoriteByShortcut(favs, "Ctrl+L")->Name, "Loud");
    EXPECT_FALSE(FindFavoriteByShortcut(favs, "").has_value());
    EXPECT_FALSE(FindFavoriteByShortcut(favs, "ctrl+l").has_value());   // exact comparison
}

TEST(Favorites, ParseEffectParameters) {
    struct Case { const char* text; bool ok; std::vector<int> values; };
    const Case cases[] = {
        {"50", true, {50}},
        {"500,50,70", true, {500, 50, 70}},
        {"-13,99,55", true, {-13, 99, 55}},
        {"30,60,60,30,11025,8", true, {30, 60, 60, 30, 11025, 8}},
        {"", false, {}},
        {"1,,2", false, {}},
        {"abc", false, {}},
        {"1,2,3,4,5,6,7", false, {}},
        {"99999999999", false, {}},
    };
    for (const Case& c : cases) {
        TEffectParameters p;
        p.fill(7);
        if (c.ok) {
            ASSERT_NO_THROW(ParseEffectParameters(c.text, p)) << c.text;
            for (size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(p[i], c.values[i]) << c.text;
            for (size_t i = c.values.size(); i < p.size(); ++i) EXPECT_EQ(p[i], 7) << c.text;
        } else {
            EXPECT_THROW(ParseEffectParameters(c.text, p), EffectParameterError) << c.text;
            for (int v : p) EXPECT_EQ(v, 7) << c.text;   // untouched
        }
    }
}

TEST(ShortcutText, RoundTripsTheStoredForms) {
    for (const char* t : {"Ctrl+Z", "Shift+Ctrl+B", "F9", "Del", "Esc", "Space", "Shift+Home", "Home", "End",
                          "Ctrl+1", "PgUp", "BkSp", "Ins", "Alt+F4", "Shift+Ctrl+Alt+X"})
        EXPECT_EQ(ShortcutToText(TextToShortcut(t)), QString(t)) << t;
    EXPECT_EQ(ShortcutToText(TextToShortcut("ctrl+shift+b")), "Shift+Ctrl+B");
    EXPECT_TRUE(TextToShortcut("").isEmpty());
    EXPECT_TRUE(TextToShortcut("Ctrl+NoSuchKey").isEmpty());
    EXPECT_EQ(ShortcutToText(QKeyCombination(Qt::KeypadModifier, Qt::Key_5)), "5");
}

TEST(Shortcuts, DefaultFileByPositionAndLoading) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Shortcut8pre.dat");
    QObject owner;
    QList<QAction*> actions = CreateCommandActions(&owner);
    ASSERT_EQ(actions.size(), kCommandCount);
    ASSERT_TRUE(WriteDefaultShortcuts(path, actions));
    const QList<TShortCut_> stored = ReadShortcuts(path);
    ASSERT_EQ(stored.size(), kCommandCount);
    EXPECT_EQ(stored[41].Shortcut, "F9");
    EXPECT_EQ(stored[1].Shortcut, "");
    EXPECT_EQ(stored[83].Shortcut, "Space");
    EXPECT_EQ(stored[71].Shortcut, "Shift+Ctrl+B");

    // Sections bind by position, whatever their names; a shorter file leaves
    // the later commands as they are.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Whatever]\nShortcut=Ctrl+Y\n[Action99]\nShortcut=\n");
    f.close();
    LoadShortcuts(path, actions);
    EXPECT_EQ(actions[0]->shortcut(), QKeySequence("Ctrl+Y"));
    EXPECT_TRUE(actions[1]->shortcut().isEmpty());
    EXPECT_EQ(actions[41]->shortcut(), QKeySequence("F9"));
}

TEST(CommandTable, FixedOrderAndRules) {
    const QList<TCommandInfo>& t = CommandTable();
    ASSERT_EQ(t.size(), 130);
    QSet<QString> names;
    for (int i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i].number, i + 1);
        names.insert(t[i].name);
        EXPECT_EQ(names.size(), i + 1) << t[i].name;
        EXPECT_EQ(FindCommand(t[i].name), &t[i]);
    }
    const QList<QPair<int, QString>> captions = {{1, "Undo"}, {20, "Save File As..."}, {49, "Fast Forword"},
                                                 {84, "..."}, {108, "Windows Mixer"}, {125, "1. Change audio source in Windows Vista/7"},
                                                 {130, "6. Bookmarks and Regions"}};
    for (const auto& [n, caption] : captions) EXPECT_EQ(StripAmpersands(t[n - 1].caption), caption) << n;

    struct Row { TCommandRule rule; TCommandState state; bool enabled; };
    TCommandState none, open, audio, sel, withExt, undo;
    open.open = true;
    audio = open; audio.audio = true;
    sel = audio; sel.sel = true;
    withExt = open; withExt.hasExtension = true;
    undo = open; undo.canUndo = true;
    const Row rows[] = {
        {TCommandRule::Always, none, true},      {TCommandRule::Open, none, false},
        {TCommandRule::Open, open, true},        {TCommandRule::OpenWithExt, open, false},
        {TCommandRule::OpenWithExt, withExt, true}, {TCommandRule::Audio, open, false},
        {TCommandRule::Audio, audio, true},      {TCommandRule::Sel, audio, false},
        {TCommandRule::Sel, sel, true},          {TCommandRule::CanUndo, open, false},
        {TCommandRule::CanUndo, undo, true},     {TCommandRule::Clip, audio, false},
    };
    for (const Row& r : rows) EXPECT_EQ(CommandEnabled(r.rule, r.state), r.enabled) << int(r.rule);
}

}  // namespace
