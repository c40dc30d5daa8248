// Transport, clock, meters and effect preview of the main window on a
// private sound server's null sink.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

#include "Document.h"
#include "FormProgress.h"
#include "MainForm.h"
#include "PrivateMainForm.h"
#include "PulseServer.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "editor/TAudioEditor2.h"
#include "playback/PlaybackEngine.h"
#include "playback/TAudioPlayer2.h"

namespace {

using sw::SampleCount;
constexpr SampleCount kSecond = 44100;

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!swtest::EnsurePulseServer()) GTEST_SKIP() << "no sound server could be started";
        if (!sw::PlaybackEngine::DeviceAvailable()) GTEST_SKIP() << "no output device";
        form = std::make_unique<TMainForm>(PrivateMainFormOptions(home));
        ASSERT_TRUE(form->Document().CreateDocument("Untitled", 44100, 2));
        auto& e = form->Editor();
        e.Transform().InsertSilence(3000);
        e.Transform().ApplyInPlace([](int, float* s, SampleCount n, SampleCount offset) {
            for (SampleCount i = 0; i < n; ++i) s[i] = float(0.5 * std::sin(2 * M_PI * 440 * double(offset + i) / 44100));
        });
        e.Position().SetHasSelection(false);
        e.Position().SetCurrentPosition(0);
        form->UpdateCommandStates();
    }
    void TearDown() override {
        if (form) form->StopTransport();
    }
    void Run(const char* action) {
        form->UpdateCommandStates();
        QAction* a = form->Action(action);
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
    }
    int State() { return form->Editor().PlayState(); }
    void Select(SampleCount a, SampleCount b) {
        auto& p = form->Editor().Position();
        p.SetHasSelection(true);
        p.SetSelStart(a);
        p.SetSelEnd(b);
    }

    QTemporaryDir home;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    std::unique_ptr<TMainForm> form;
};

TEST_F(TransportTest, PlayPauseResumeStopFollowThePlayTable) {
    struct Step { const char* action; int state; };
    const Step steps[] = {{"ActionPlay", 1},  {"ActionPause", 5},     {"ActionPause", 1},     // pause, resume
                          {"ActionPause", 5}, {"ActionPlay", 1},      {"ActionPlay", 0},      // play while paused resumes,
                          {"ActionPause", 1}, {"ActionStop", 0},      {"ActionPlayToEnd", 1}, // while playing stops
                          {"ActionSpacePlay", 0}, {"ActionStop", 0}};
    for (const Step& s : steps) {
        Run(s.action);
        EXPECT_EQ(State(), s.state) << s.action;
    }
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(TransportTest, ClockFollowsThePlayPositionAndTheEndResetsTheMeters) {
    auto* clock = form->findChild<QLabel*>("LabelTime");
    auto* left = form->findChild<QProgressBar*>("LeftBar");
    const QString before = clock->text();
    Select(0, kSecond / 2);
    Run("ActionPlay");
    ASSERT_EQ(State(), 1);
    EXPECT_TRUE(swtest::WaitFor([&] { return clock->text() != before; }, 10000));
    EXPECT_TRUE(swtest::WaitFor([&] { return left->value() > 0; }, 10000));   // a half-scale tone shows
    EXPECT_TRUE(swtest::WaitFor([&] { return State() == 0; }, 10000));       // the selection ends by itself
    EXPECT_EQ(left->value(), 0);
    EXPECT_EQ(form->findChild<QProgressBar*>("RightBar")->value(), 0);
    EXPECT_EQ(form->Editor().Position().CurrentPosition(), 0);   // back where it started

    // Loop play goes on past the end of the selection until stopped.
    Select(0, kSecond / 10);
    Run("ActionLoopPlay");
    EXPECT_EQ(State(), 1);
    swtest::WaitFor([] { return false; }, 600);
    EXPECT_EQ(State(), 1);
    Run("ActionStop");
    EXPECT_EQ(State(), 0);
}

TEST_F(TransportTest, TransportButtonsNeedAudio) {
    auto* play = form->findChild<QPushButton*>("ButtonPlay");
    EXPECT_TRUE(play->isEnabled());
    play->click();
    EXPECT_EQ(State(), 1);
    form->findChild<QPushButton*>("ButtonStop")->click();
    EXPECT_EQ(State(), 0);
    ASSERT_TRUE(form->Document().CreateDocument("Empty", 44100, 2));
    form->UpdateCommandStates();
    EXPECT_FALSE(play->isEnabled());
    EXPECT_FALSE(form->Action("ActionPlay")->isEnabled());
}

TEST_F(TransportTest, PreviewPlaysTheTransformedSelectionOnce) {
    Select(kSecond / 2, kSecond);
    int calls = 0;
    SampleCount seenFrames = 0;
    int seenChannels = 0;
    const bool started = form->StartPreview([&](const sw::PlanarBuffer& in) -> std::optional<sw::PlanarBuffer> {
        ++calls;
        seenChannels = int(in.channels.size());
        seenFrames = in.channels.empty() ? 0 : SampleCount(in.channels[0].size());
        sw::PlanarBuffer out = in;
        for (auto& ch : out.channels)
            for (float& v : ch) v *= 0.5f;
        return out;
    });
    ASSERT_TRUE(started);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenChannels, 2);
    EXPECT_EQ(seenFrames, kSecond / 2);
    EXPECT_EQ(form->PreviewLength(), kSecond / 2);
    EXPECT_TRUE(form->PreviewActive());
    EXPECT_TRUE(form->Player().Playing());
    // The player's end stops the preview by itself.
    EXPECT_TRUE(swtest::WaitFor([&] { return !form->PreviewActive(); }, 10000));
    EXPECT_FALSE(form->Player().Playing());

    // Stopped by the dialog.
    ASSERT_TRUE(form->StartPreview([](const sw::PlanarBuffer& in) { return std::optional<sw::PlanarBuffer>(in); }));
    form->StopPreview();
    EXPECT_FALSE(form->PreviewActive());
    EXPECT_FALSE(form->Player().Playing());

    // A transform that fails plays nothing.
    EXPECT_FALSE(form->StartPreview([](const sw::PlanarBuffer&) { return std::optional<sw::PlanarBuffer>(); }));
    EXPECT_FALSE(form->PreviewActive());
    EXPECT_FALSE(form->Player().Playing());
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(TransportTest, EffectProgressLeavesTheWindowUsable) {
    TFormProgress* progress = form->ProgressForm();
    form->TransformBlock(30);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->size(), QSize(300, 128));
    EXPECT_EQ(progress->ProgressBar->value(), 30);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(form->TransformRunning());
    form->EndTransform();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(form->TransformRunning());
    EXPECT_TRUE(form->isEnabled());
    // The editor's own blocks disable it until the end.
    form->ShowProgress(10);
    EXPECT_FALSE(form->isEnabled());
    form->HideProgress();
    EXPECT_TRUE(form->isEnabled());
}

}  // namespace
