// Zoom arithmetic on the real engine and the view commands of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

#include "Document.h"
#include "IniFile.h"
#include "MainForm.h"
#include "PrivateMainForm.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "Spectrum.h"
#include "TestSupport.h"
#include "ViewCommands.h"
#include "WaveformView.h"
#include "editor/TAudioEditor2.h"

namespace {

using namespace view_commands;

std::pair<std::int64_t, std::int64_t> Span(std::int64_t s, std::int64_t e) { return {s, e}; }

class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor.CreateNew(1000, 1);   // 1000 Hz: one sample per millisecond
        editor.Transform().InsertSilence(10000);
        ASSERT_EQ(p().Length(), 10000);
    }
    sw::IAudioEditor2Position& p() { return editor.Position(); }
    void View(std::int64_t s, std::int64_t e, std::int64_t c) {
        SetView(p(), s, e);
        p().SetCurrentPosition(c);
    }
    void Select(std::int64_t s, std::int64_t e) {
        p().SetHasSelection(true);
        p().SetSelStart(s);
        p().SetSelEnd(e);
    }
    std::pair<std::int64_t, std::int64_t> Shown() { return {p().ViewStart(), p().ViewEnd()}; }
    sw::TAudioEditor2 editor;
};

TEST_F(ZoomTest, ZoomInHalvesAroundTheCursor) {
    struct Case { std::int64_t s, e, c, s2, e2; };
    const Case cases[] = {{0, 1000, 100, 50, 550},   {0, 1000, 0, 0, 500},     {0, 1000, 1000, 500, 1000},
                          {100, 201, 150, 125, 176}, {0, 10000, 5000, 2500, 7500}, {7, 8, 7, 7, 8}};
    for (const Case& c : cases) {
        View(c.s, c.e, c.c);
        ZoomIn(p());
        EXPECT_EQ(Shown(), std::make_pair(c.s2, c.e2)) << c.s << ".." << c.e << " @" << c.c;
    }
}

TEST_F(ZoomTest, ZoomToLeftRightSelectionFullAndOut) {
    Select(200, 600);
    View(0, 1000, 400);
    ZoomToRight(p());   // between ViewStart 0 and SelEnd 600 around 400
    EXPECT_EQ(Shown(), Span(200, 500));
    View(0, 1000, 400);
    ZoomToLeft(p());    // between SelStart 200 and ViewEnd 1000 around 400
    EXPECT_EQ(Shown(), Span(300, 700));
    ZoomToSelection(p());
    EXPECT_EQ(Shown(), Span(200, 600));
    ZoomToSelection(p());   // already the selection: unchanged
    EXPECT_EQ(Shown(), Span(200, 600));
    ZoomOut(p());
    EXPECT_EQ(Shown(), Span(0, 800));
    View(9000, 9800, 9500);
    ZoomOut(p());           // kept inside the document
    EXPECT_EQ(Shown(), Span(8400, 10000));
    View(0, 8000, 0);
    ZoomOut(p());
    EXPECT_EQ(Shown(), Span(0, 10000));
    View(300, 400, 0);
    ZoomFull(p());
    EXPECT_EQ(Shown(), Span(0, 10000));
}

TEST(ViewCommandsWindow, VerticalZoomAndColourStyle) {
    QTemporaryDir home;
    const TMainFormOptions o = PrivateMainFormOptions(home);
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs(dialogs);
    TMainForm form(o);
    ASSERT_TRUE(form.Document().CreateDocument("Untitled", 44100, 2));
    form.UpdateCommandStates();
    QList<int> seen;
    for (int i = 0; i < 5; ++i) {
        form.Action("ActionVerticalZoomIn")->trigger();
        seen << form.EditorView()->VerticalZoom();
    }
    EXPECT_EQ(seen, (QList<int>{80, 60, 40, 20, 0}));
    form.Action("ActionVerticalZoomIn")->trigger();
    EXPECT_EQ(form.VerticalZoomValue(), -20);   // not bounded; the view shows its smallest span
    form.EditorView()->grab();                   // drawing with it must be fine

    EXPECT_TRUE(form.EditorView()->DarkColours());
    EXPECT_EQ(form.EditorView()->BackgroundColour(), QColor(Qt::black));
    EXPECT_EQ(form.EditorView()->WaveColour(), QColor(0x66, 0xFF, 0x66));
    form.Action("ActionWorkplaceBlackWhiteStyle")->trigger();
    EXPECT_FALSE(form.EditorView()->DarkColours());
    EXPECT_EQ(form.EditorView()->BackgroundColour(), QColor(Qt::white));
    EXPECT_EQ(form.EditorView()->WaveColour(), QColor(0x00, 0x00, 0x64));
    EXPECT_FALSE(sw::IniFile(form.SettingsPath()).ReadBool("System", "BlackWhite", true));
    TMainForm again(o);
    EXPECT_FALSE(again.EditorView()->DarkColours());
    EXPECT_FALSE(again.Action("ActionWorkplaceBlackWhiteStyle")->isChecked());
}

TEST(Spectrum, ToneLightsItsBandAndTheViewCachesThePicture) {
    sw::TAudioEditor2 editor;
    QTemporaryDir dir;
    // 1 s of a 5512.5 Hz tone at 44.1 kHz: a quarter of the way up.
    ASSERT_TRUE(swtest::MakeTone(dir.filePath("t.wav"), 1.0, 44100, 1, {}, 5512.5));
    editor.OpenFile(dir.filePath("t.wav").toStdString());
    const QImage img = RenderSpectrum(editor, 0, 0, editor.Position().Length(), QSize(100, 200), true);
    ASSERT_EQ(img.size(), QSize(100, 200));
    auto level = [&](int y) { return qGray(img.pixel(50, y)); };
    // Row of a quarter of the band, counted from the bottom.
    const int toneRow = 200 - 1 - 50;
    EXPECT_GT(level(toneRow), level(20) + 60);    // far above the tone
    EXPECT_GT(level(toneRow), level(190) + 60);   // far below it

    WaveformView view(editor);
    view.resize(300, 200);
    view.SetTypeView(1);
    view.grab();
    view.grab();
    EXPECT_EQ(view.SpectrumRenders(), 1);   // same document, view and size
    editor.Position().SetViewStart(1000);
    view.grab();
    EXPECT_EQ(view.SpectrumRenders(), 2);
}

TEST(ViewCommandsWindow, DisplayModeIsWrittenAndRead) {
    QTemporaryDir home;
    const TMainFormOptions o = PrivateMainFormOptions(home);
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    TMainForm form(o);
    EXPECT_TRUE(form.Action("ActionWaveformMode")->isChecked());
    ASSERT_TRUE(form.Document().CreateDocument("Untitled", 44100, 2));
    form.UpdateCommandStates();
    const bool leftBefore = form.Action("ActionOnTheLeft")->isChecked();
    form.Action("ActionSpectralMode")->trigger();
    EXPECT_EQ(form.EditorView()->TypeView(), 1);
    EXPECT_FALSE(form.Action("ActionWaveformMode")->isChecked());
    EXPECT_EQ(form.Action("ActionOnTheLeft")->isChecked(), leftBefore);   // separate radio groups
    EXPECT_EQ(sw::IniFile(form.SettingsPath()).ReadInteger("WaveMode", "Mode", 0), 2);
    TMainForm again(o);
    EXPECT_EQ(again.EditorView()->TypeView(), 1);
    EXPECT_TRUE(again.Action("ActionSpectralMode")->isChecked());
}

}  // namespace
