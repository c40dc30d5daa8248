// The editor's play state table through a private sound server (ctest's
// scripts/test.sh starts one and sets PULSE_SERVER).
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cmath>

#include "EditorTestUtil.h"
#include "playback/PlaybackEngine.h"

using namespace edtest;
using sw::SampleCount;

namespace {

class EditorPlayback : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) GTEST_SKIP() << "no private sound server";
        if (!sw::PlaybackEngine::DeviceAvailable()) GTEST_SKIP() << "no output device";
        Flat tone(2, std::vector<float>(44100 * 2));
        for (std::size_t i = 0; i < tone[0].size(); ++i)
            tone[0][i] = tone[1][i] = 0.3f * float(std::sin(2 * M_PI * 440 * double(i) / 44100));
        Load(ed, tone, 44100);
        ed.OnChangePlayPosition = [this](SampleCount p) { positions.push_back(p); };
        ed.OnEndPlay = [this] { ++ends; };
    }
    // Runs the event loop until `done` or a generous deadline.
    template <class F>
    bool WaitFor(F done) {
        QDeadlineTimer deadline(20000);
        while (!done() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return done();
    }
    std::vector<SampleCount> positions;
    int ends = 0;
};

}  // namespace

TEST_F(EditorPlayback, PlayPauseResumeStopFollowTheStateTable) {
    Cursor(ed, 1000);
    EXPECT_EQ(ed.PlayState(), 0);
    ed.Play(2);
    EXPECT_EQ(ed.PlayState(), 1);
    ed.Pause();
    EXPECT_EQ(ed.PlayState(), 5);
    ed.Pause();   // pausing twice changes nothing
    EXPECT_EQ(ed.PlayState(), 5);
    ed.Resume();
    EXPECT_EQ(ed.PlayState(), 1);
    EXPECT_TRUE(WaitFor([&] { return !positions.empty(); }));
    ed.Stop();
    EXPECT_EQ(ed.PlayState(), 0);
    EXPECT_EQ(ends, 0);   // an explicit stop sends no end event
    EXPECT_EQ(ed.Position().CurrentPosition(), 1000);
    for (SampleCount p : positions) {
        EXPECT_GE(p, 1000);
        EXPECT_LE(p, ed.Position().Length());
    }
    EXPECT_THROW(ed.Play(4), sw::EngineError);
}

TEST_F(EditorPlayback, PlayingASelectionEndsByItself) {
    Select(ed, 0, 4410);   // 0.1 s
    ed.Play(1);
    EXPECT_EQ(ed.PlayState(), 1);
    ASSERT_TRUE(WaitFor([&] { return ends > 0; }));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ed.PlayState(), 0);
    EXPECT_EQ(ed.Position().CurrentPosition(), 0);
    for (SampleCount p : positions) EXPECT_LE(p, 4410);
}

TEST_F(EditorPlayback, OpenNewAndCloseStopPlayback) {
    ed.Play(3);
    EXPECT_EQ(ed.PlayState(), 1);
    ed.CreateNew(8000, 1);
    EXPECT_EQ(ed.PlayState(), 0);
    ed.Play(1);   // an empty document plays nothing
    EXPECT_EQ(ed.PlayState(), 0);
    ed.Transform().InsertSilence(500);
    ed.Play(1);
    EXPECT_EQ(ed.PlayState(), 1);
    ed.CloseFile();
    EXPECT_EQ(ed.PlayState(), 0);
}
