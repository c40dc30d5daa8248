// The editor view as a widget (axes, markers, mouse, vertical zoom) and the
// main window's axis commands, menus and menu buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>

#include "Document.h"
#include "IniFile.h"
#include "MainForm.h"
#include "PrivateMainForm.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "WaveformView.h"
#include "editor/TAudioEditor2.h"

namespace {

using sw::SampleCount;

// A mono or stereo document holding a 441 Hz sine of the given amplitude.
void MakeToneDocument(sw::TAudioEditor2& editor, int channels, double seconds, double amplitude) {
    editor.CreateNew(44100, channels);
    editor.Transform().InsertSilence(seconds * 1000);
    editor.Transform().ApplyInPlace([amplitude](int, float* s, SampleCount frames, SampleCount offset) {
        for (SampleCount i = 0; i < frames; ++i)
            s[i] = float(amplitude * std::sin(2 * M_PI * 441 * double(offset + i) / 44100));
    });
    editor.Position().SetHasSelection(false);
    editor.Position().SetCurrentPosition(0);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, mods);
    QApplication::sendEvent(w, &e);
}

TEST(EditorScaleText, LabelsOfEachFormat) {
    struct X { SampleCount sample; int rate, format; const char* text; };
    const X xs[] = {{0, 44100, 2, "0:00.0000"},         {66150, 44100, 2, "0:01.5000"},
                    {44100 * 125, 44100, 2, "2:05.0000"}, {44100LL * 3 * 3600, 44100, 2, "180:00.0000"},
                    {1, 48000, 2, "0:00.0000"},          {5, 1000, 2, "0:00.0050"},
                    {12345, 44100, 1, "12345"},          {0, 44100, 1, "0"}};
    for (const X& x : xs) EXPECT_EQ(ScaleXText(x.sample, x.rate, x.format), x.text) << x.sample;
    struct Y { double amp; int format; const char* text; };
    const Y ys[] = {{0.5, 1, "16384"}, {-1, 1, "-32768"}, {0, 1, "0"},      {0.5, 2, "0.50"},
                    {-0.25, 2, "-0.25"}, {0, 2, "0.00"},   {0.05, 2, "0.050"}, {1, 3, "0"},
                    {0.5, 3, "-6"},     {-0.5, 3, "-6"},  {0, 3, "-inf"},   {2, 3, "6"}};
    for (const Y& y : ys) EXPECT_EQ(ScaleYText(y.amp, y.format), y.text) << y.amp << " format " << y.format;
}

class ViewWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeToneDocument(editor, 1, 10, 0.4);
        view.resize(800, 300);
    }
    // The first row (from the top of the wave area) in column x that has
    // the wave colour, or -1.
    int TopOfWave(const QImage& img, int x) {
        const QRect a = view.WaveArea();
        for (int y = a.top(); y <= a.bottom(); ++y)
            if (img.pixelColor(x, y) == view.WaveColour()) return y;
        return -1;
    }
    int Mid() { const QRect a = view.WaveArea(); return a.top() + a.height() / 2; }
    sw::TAudioEditor2 editor;
    WaveformView view{editor};
};

TEST_F(ViewWidgetTest, VerticalZoomSetsTheAmplitudeSpan) {
    const int x = view.WaveArea().center().x();
    const int half = view.WaveArea().height() / 2 - 2;
    view.SetVerticalZoom(100);
    const int h100 = Mid() - TopOfWave(view.grab().toImage(), x);
    EXPECT_NEAR(h100, 0.4 * half, 2);
    view.SetVerticalZoom(50);   // half the span: twice as tall
    EXPECT_NEAR(Mid() - TopOfWave(view.grab().toImage(), x), 0.8 * half, 2);
    view.SetVerticalZoom(200);
    EXPECT_NEAR(Mid() - TopOfWave(view.grab().toImage(), x), 0.2 * half, 2);
    // Zero and below show the smallest span; the wave is clipped to its lane.
    for (int z : {10, 0, -20}) {
        view.SetVerticalZoom(z);
        EXPECT_EQ(view.VerticalZoom(), z);
        EXPECT_DOUBLE_EQ(view.VisibleAmplitude(), kMinVerticalSpan / 100.0);
        EXPECT_NEAR(Mid() - TopOfWave(view.grab().toImage(), x), half, 1) << z;
    }
    view.SetVerticalZoom(50);
    view.SetScaleYFormat(2);
    const QStringList labels = view.ScaleYLabels();
    EXPECT_FALSE(labels.contains("1.00"));
    EXPECT_EQ(labels.first().toDouble(), -labels.last().toDouble());
    EXPECT_LE(labels.first().toDouble(), 0.5);
    EXPECT_GE(labels.first().toDouble(), 0.4);
    EXPECT_TRUE(labels.contains("0.00"));
}

TEST_F(ViewWidgetTest, AxesFollowFormatVisibilityAndDisplayMode) {
    EXPECT_EQ(view.ScaleX().ScaleFormat, 2);
    EXPECT_EQ(view.ScaleY().ScaleFormat, 3);
    QStringList x = view.ScaleXLabels();
    ASSERT_GE(x.size(), 3);
    EXPECT_EQ(x.first(), "0:00.0000");
    for (const QString& t : x) EXPECT_TRUE(t.contains(':')) << t.toStdString();
    view.SetScaleXFormat(1);
    x = view.ScaleXLabels();
    ASSERT_GE(x.size(), 3);
    for (int i = 1; i < x.size(); ++i) EXPECT_GT(x[i].toLongLong(), x[i - 1].toLongLong());
    // The decibel axis: 0 at the top, -inf at the centre, mirrored.
    QStringList y = view.ScaleYLabels();
    EXPECT_EQ(y.first(), "0");
    EXPECT_EQ(y.last(), "0");
    EXPECT_EQ(y[y.size() / 2], "-inf");
    // Hidden axes give their room to the wave area.
    const QRect before = view.WaveArea();
    view.SetScaleXVisible(false);
    view.SetScaleYVisible(false);
    EXPECT_TRUE(view.ScaleXArea().isEmpty());
    EXPECT_TRUE(view.ScaleYLabels().isEmpty());
    EXPECT_GT(view.WaveArea().height(), before.height());
    EXPECT_GT(view.WaveArea().width(), before.width());
    EXPECT_EQ(view.WaveArea(), view.rect().adjusted(4, 4, -4, -4));   // only the frame is left
    view.SetTypeBorder(0);
    EXPECT_EQ(view.WaveArea(), view.rect());
    // Spectral mode labels frequencies, up to half the sample rate.
    view.SetScaleYVisible(true);
    view.SetTypeView(1);
    y = view.ScaleYLabels();
    EXPECT_EQ(y.last(), "0");
    EXPECT_TRUE(y.first().endsWith('k'));
    EXPECT_LE(y.first().chopped(1).toDouble(), 22.05);
}

TEST_F(ViewWidgetTest, ClickDragAndShiftClickSelect) {
    const QRect a = view.WaveArea();
    const int y = a.center().y();
    auto& p = editor.Position();
    // A click puts the cursor there and clears the selection.
    p.SetHasSelection(true);
    p.SetSelStart(1000);
    p.SetSelEnd(5000);
    SendMouse(&view, QEvent::MouseButtonPress, {a.left() + 100, y});
    SendMouse(&view, QEvent::MouseButtonRelease, {a.left() + 100, y});
    EXPECT_FALSE(p.HasSelection());
    EXPECT_EQ(p.CurrentPosition(), view.SampleAt(a.left() + 100));
    EXPECT_NEAR(double(p.CurrentPosition()), 100.0 / a.width() * p.Length(), p.Length() / a.width() + 1);
    // A drag selects, in either direction.
    SendMouse(&view, QEvent::MouseButtonPress, {a.left() + 400, y});
    SendMouse(&view, QEvent::MouseMove, {a.left() + 200, y});
    SendMouse(&view, QEvent::MouseButtonRelease, {a.left() + 200, y});
    EXPECT_TRUE(p.HasSelection());
    EXPECT_EQ(p.SelStart(), view.SampleAt(a.left() + 200));
    EXPECT_EQ(p.SelEnd(), view.SampleAt(a.left() + 400));
    // Shift+click past the end moves the end; near the start moves the start.
    SendMouse(&view, QEvent::MouseButtonPress, {a.left() + 600, y}, Qt::ShiftModifier);
    SendMouse(&view, QEvent::MouseButtonRelease, {a.left() + 600, y}, Qt::ShiftModifier);
    EXPECT_EQ(p.SelStart(), view.SampleAt(a.left() + 200));
    EXPECT_EQ(p.SelEnd(), view.SampleAt(a.left() + 600));
    SendMouse(&view, QEvent::MouseButtonPress, {a.left() + 250, y}, Qt::ShiftModifier);
    SendMouse(&view, QEvent::MouseButtonRelease, {a.left() + 250, y}, Qt::ShiftModifier);
    EXPECT_EQ(p.SelStart(), view.SampleAt(a.left() + 250));
    EXPECT_EQ(p.SelEnd(), view.SampleAt(a.left() + 600));
    // A click beyond the wave's end stays inside the document; a jitter of
    // a pixel is a click, not a selection.
    SendMouse(&view, QEvent::MouseButtonPress, {a.right() + 2, y});
    SendMouse(&view, QEvent::MouseMove, {a.right() + 3, y});
    SendMouse(&view, QEvent::MouseButtonRelease, {a.right() + 3, y});
    EXPECT_FALSE(p.HasSelection());
    EXPECT_EQ(p.CurrentPosition(), p.Length());
}

TEST_F(ViewWidgetTest, AxisClicksAreReported) {
    QList<QPoint> xs, ys;
    QObject::connect(&view, &WaveformView::OnScaleXClick, [&](QPoint at) { xs << at; });
    QObject::connect(&view, &WaveformView::OnScaleYClick, [&](QPoint at) { ys << at; });
    const QPoint onX = view.ScaleXArea().center(), onY = view.ScaleYArea().center();
    SendMouse(&view, QEvent::MouseButtonPress, onX);
    SendMouse(&view, QEvent::MouseButtonPress, onY);
    ASSERT_EQ(xs.size(), 1);
    ASSERT_EQ(ys.size(), 1);
    EXPECT_EQ(xs[0], view.mapToGlobal(onX));
    EXPECT_EQ(ys[0], view.mapToGlobal(onY));
    EXPECT_EQ(editor.Position().CurrentPosition(), 0);   // an axis click moves nothing
}

TEST_F(ViewWidgetTest, MarkersAreDrawn) {
    editor.Transform().ApplyInPlace([](int, float* s, SampleCount n, SampleCount) { std::fill(s, s + n, 0.f); });
    editor.Markers().AddMarker(2 * 44100, 0, "Intro", "Bookmark");
    editor.Markers().AddMarker(5 * 44100, 2 * 44100, "Chorus", "Region");
    editor.Markers().SelectMarker(2);
    const QImage img = view.grab().toImage();
    const QRect a = view.WaveArea();
    auto count = [&](int x, QColor c) {
        int n = 0;
        for (int y = a.top(); y <= a.bottom(); ++y) n += img.pixelColor(x, y) == c;
        return n;
    };
    const int bx = view.XOf(2 * 44100);
    EXPECT_GT(count(bx, QColor(0xff, 0xb0, 0x30)), a.height() / 3);   // a dashed line and a flag
    EXPECT_EQ(count(bx + 40, QColor(0xff, 0xb0, 0x30)), 0);
    const int rx = view.XOf(6 * 44100), outside = view.XOf(8 * 44100) + 20;
    const int row = a.top() + a.height() / 4;
    EXPECT_NE(img.pixelColor(rx, row), view.BackgroundColour());     // the region is tinted
    EXPECT_EQ(img.pixelColor(outside, row), view.BackgroundColour());
    EXPECT_EQ(editor.Markers().CurrentIndex(), 2);   // drawing does not change the current marker
    // The light set draws them as well.
    view.SetDarkColours(false);
    EXPECT_NE(view.grab().toImage().pixelColor(rx, row), view.BackgroundColour());
}

TEST_F(ViewWidgetTest, SampleLevelZoomDrawsTheSamples) {
    auto& p = editor.Position();
    p.SetViewStart(100);
    p.SetViewEnd(120);
    const QImage img = view.grab().toImage();
    int wave = 0;
    const QRect a = view.WaveArea();
    for (int x = a.left(); x <= a.right(); x += 7)
        for (int y = a.top(); y <= a.bottom(); ++y) wave += img.pixelColor(x, y) == view.WaveColour();
    EXPECT_GT(wave, 50);
    view.SetScaleXFormat(1);
    const QStringList labels = view.ScaleXLabels();
    ASSERT_FALSE(labels.isEmpty());
    for (const QString& t : labels) {
        EXPECT_GE(t.toLongLong(), 100);
        EXPECT_LE(t.toLongLong(), 120);
    }
}

class ViewWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> Make() { return std::make_unique<TMainForm>(PrivateMainFormOptions(home)); }
    QTemporaryDir home;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
};

TEST_F(ViewWindowTest, AxisCommandsWriteTheirKeysAndStartUpReadsThem) {
    auto form = Make();
    ASSERT_TRUE(form->Document().CreateDocument("Untitled", 44100, 2));
    form->UpdateCommandStates();
    WaveformView* view = form->EditorView();
    // Start-up: the scale font, its colour and the frame.
    EXPECT_EQ(view->ScaleFont().family(), "Tahoma");
    EXPECT_EQ(view->ScaleFont().pointSize(), 7);
    EXPECT_EQ(view->ScaleColour(), QColor(0xA8, 0xDC, 0xF8));
    EXPECT_EQ(view->TypeBorder(), 4);
    EXPECT_TRUE(form->Action("ActionHorizontalDecimal")->isChecked());
    EXPECT_TRUE(form->Action("ActionVerticalDecibelValues")->isChecked());

    struct Step { const char* action; const char* section; const char* key; int value; };
    const Step steps[] = {{"ActionHorizontalSample", "Horizontal", "Format", 1},
                          {"ActionVerticalSampleValues", "Vertical", "Format", 1},
                          {"ActionVerticalNormalizedValues", "Vertical", "Format", 2},
                          {"ActionHorizontalVisible", "Horizontal", "Visible", 0},
                          {"ActionVerticalVisible", "Vertical", "Visible", 0}};
    for (const Step& s : steps) {
        form->Action(s.action)->trigger();
        EXPECT_EQ(sw::IniFile(form->SettingsPath()).ReadInteger(s.section, s.key, -1), s.value) << s.action;
    }
    EXPECT_FALSE(form->Action("ActionHorizontalDecimal")->isChecked());
    EXPECT_FALSE(form->Action("ActionVerticalSampleValues")->isChecked());
    EXPECT_EQ(view->ScaleX().ScaleFormat, 1);
    EXPECT_EQ(view->ScaleY().ScaleFormat, 2);
    EXPECT_FALSE(view->ScaleX().ScaleVisible);
    EXPECT_FALSE(view->ScaleY().ScaleVisible);
    // The display mode does not touch the axes' keys or the command list.
    form->Action("ActionSpectralMode")->trigger();
    EXPECT_TRUE(form->Action("ActionOnTheLeft")->isChecked());
    form->Action("ActionVerticalVisible")->trigger();
    EXPECT_TRUE(sw::IniFile(form->SettingsPath()).ReadBool("Vertical", "Visible", false));

    auto again = Make();
    EXPECT_EQ(again->EditorView()->ScaleX().ScaleFormat, 1);
    EXPECT_TRUE(again->Action("ActionHorizontalSample")->isChecked());
    EXPECT_EQ(again->EditorView()->ScaleY().ScaleFormat, 2);
    EXPECT_TRUE(again->Action("ActionVerticalNormalizedValues")->isChecked());
    EXPECT_FALSE(again->EditorView()->ScaleX().ScaleVisible);
    EXPECT_FALSE(again->Action("ActionHorizontalVisible")->isChecked());
    EXPECT_TRUE(again->EditorView()->ScaleY().ScaleVisible);
    EXPECT_EQ(again->EditorView()->TypeView(), 1);
    again.reset();
    form.reset();

    // Format values outside the lists change nothing.
    {
        sw::IniFile ini(PrivateMainFormOptions(home).env.xdgConfigHome + "/" + DefaultDisplayName() + "/system.dat");
        ini.WriteInteger("Horizontal", "Format", 7);
        ini.WriteInteger("Vertical", "Format", 0);
    }
    auto odd = Make();
    EXPECT_EQ(odd->EditorView()->ScaleX().ScaleFormat, 2);
    EXPECT_TRUE(odd->Action("ActionHorizontalDecimal")->isChecked());
    EXPECT_EQ(odd->EditorView()->ScaleY().ScaleFormat, 3);
    EXPECT_EQ(sw::IniFile(odd->SettingsPath()).ReadInteger("Horizontal", "Format", -1), 7);   // not rewritten
}

TEST_F(ViewWindowTest, MenusHaveTheirItems) {
    auto form = Make();
    const QList<QPair<const char*, QStringList>> menus = {
        {"PopupMenuSelect",
         {"ActionSelectToStart", "ActionSelectToEnd", "ActionSelectSpecifiedTime", "-", "ActionSelectAll"}},
        {"PopupMenuSave", {"ActionSave", "ActionSaveAs", "-", "ActionSaveSelectionAs"}},
        {"PopupMenuInsertFile", {"ActionInsertFileBegin", "ActionInsertFileCurrent", "ActionInsertFileEnd"}},
        {"PopupMenuInsertSlience",
         {"ActionInsertSilenceBegin", "ActionInsertSilenceCurrent", "ActionInsertSilenceEnd"}},
        {"PopupMenuView",
         {"CommandBar", "-", "ActionWorkplaceBlackWhiteStyle", "-", "ActionOpenBookmarkList",
          "ActionOpenRegionList"}},
        {"PopupMenuCommandBar", {"ActionShowCommandList", "-", "ActionOnTheLeft", "ActionOnTheRight"}},
        {"PopupMenuBurnCD", {"ActionBurnCD", "-", "ActionDiscEraser"}},
        {"PopupMenuEffect",
         {"ActionEcho", "ActionVibrato", "-", "ActionAmplify", "ActionFade", "ActionFadeIn", "ActionFadeOut",
          "ActionCompressor", "ActionEnvelope", "ActionNormalize", "-", "ActionChorus", "ActionFlanger",
          "ActionPhaser", "ActionReverb", "-", "ActionSpeedChange", "ActionPitchChange", "-", "ActionNotchFilter",
          "ActionBandPass", "ActionLowPass", "ActionHighPass", "ActionLowShelf", "ActionHighShelf", "ActionPeakEQ",
          "-", "ActionMixStereo", "ActionInvert", "ActionReverse", "-", "ActionNoiseReduction"}},
        {"PopupMenuScaleX", {"ActionHorizontalDecimal", "ActionHorizontalSample", "-", "ActionHorizontalVisible"}},
        {"PopupMenuScaleY",
         {"ActionVerticalSampleValues", "ActionVerticalNormalizedValues", "ActionVerticalDecibelValues", "-",
          "ActionVerticalVisible"}},
    };
    for (const auto& [name, items] : menus) {
        QMenu* m = form->findChild<QMenu*>(name);
        ASSERT_TRUE(m) << name;
        QStringList seen;
        for (QAction* a : m->actions())
            seen << (a->isSeparator() ? "-" : a->menu() ? a->text() : a->objectName());
        EXPECT_EQ(seen, items) << name;
    }
    // The command bar submenu carries the same commands.
    QMenu* sub = form->findChild<QMenu*>("PopupMenuView")->actions().first()->menu();
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->actions().size(), 4);
    EXPECT_EQ(sub->actions()[2], form->Action("ActionOnTheLeft"));
}

TEST_F(ViewWindowTest, MenuButtonsFollowTheDocumentState) {
    auto form = Make();
    auto enabled = [&](const char* name) {
        form->UpdateCommandStates();
        QToolButton* b = form->findChild<QToolButton*>(name);
        EXPECT_TRUE(b) << name;
        return b && b->isEnabled();
    };
    struct Row { const char* button; bool none, empty, audio; };
    const Row rows[] = {{"ButtonSelect", false, false, true}, {"ButtonEffect", false, false, true},
                        {"ButtonScaleX", false, true, true},  {"ButtonScaleY", false, true, true},
                        {"ButtonView", true, true, true},     {"ButtonCommandBar", true, true, true},
                        {"ButtonBurnCD", true, true, true},   {"ButtonSaveMenu", true, true, true}};
    for (const Row& r : rows) EXPECT_EQ(enabled(r.button), r.none) << r.button << " without a document";
    ASSERT_TRUE(form->Document().CreateDocument("Untitled", 44100, 2));
    for (const Row& r : rows) EXPECT_EQ(enabled(r.button), r.empty) << r.button << " with an empty document";
    form->Editor().Transform().InsertSilence(1000);
    for (const Row& r : rows) EXPECT_EQ(enabled(r.button), r.audio) << r.button << " with audio";
}

TEST_F(ViewWindowTest, AxisClickOpensTheScaleMenuAtTheMouse) {
    auto form = Make();
    ASSERT_TRUE(form->Document().CreateDocument("Untitled", 44100, 2));
    form->Editor().Transform().InsertSilence(1000);
    form->show();
    WaveformView* view = form->EditorView();
    SendMouse(view, QEvent::MouseButtonPress, view->ScaleXArea().center());
    QMenu* x = form->findChild<QMenu*>("PopupMenuScaleX");
    EXPECT_TRUE(x->isVisible());
    x->hide();
    SendMouse(view, QEvent::MouseButtonPress, view->ScaleYArea().center());
    QMenu* y = form->findChild<QMenu*>("PopupMenuScaleY");
    EXPECT_TRUE(y->isVisible());
    y->actions()[1]->trigger();   // Normalized Values from the menu
    EXPECT_EQ(view->ScaleY().ScaleFormat, 2);
    y->hide();
}

}  // namespace
