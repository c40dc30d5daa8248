// Playback through a real (private, null) sound server.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "PulseServer.h"
#include "playback/PlaybackEngine.h"

using sw::PlaybackEngine;
using sw::SampleCount;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLong = 20000;   // generous waits: the machine is shared

// A sine of `freq` Hz; `amplitudes` gives the level of each channel.
PlaybackEngine::Source Tone(int rate, std::vector<float> amplitudes, double freq = 440.0) {
    return [rate, amplitudes, freq](SampleCount pos, SampleCount frames, float* out) {
        const int channels = int(amplitudes.size());
        for (SampleCount i = 0; i < frames; ++i) {
            const float s = float(std::sin(2.0 * kPi * freq * double(pos + i) / rate));
            for (int c = 0; c < channels; ++c) out[i * channels + c] = amplitudes[std::size_t(c)] * s;
        }
        return frames;
    };
}

// Records what an engine reports.
struct Recorder {
    std::vector<SampleCount> positions;
    std::vector<std::pair<int, int>> meters;
    int ends = 0;

    void Attach(PlaybackEngine& e) {
        e.OnPosition = [this](SampleCount p) { positions.push_back(p); };
        e.OnMeter = [this](int l, int r) { meters.emplace_back(l, r); };
        e.OnEnd = [this] { ++ends; };
    }
};

using swtest::Spin;

class PlaybackEngineTest : public swtest::SoundDeviceTest {
protected:
    void SetUp() override {
        swtest::SoundDeviceTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(PlaybackEngine::DeviceAvailable()) << "the sound server's sink is not listed";
    }
};

}  // namespace

TEST_F(PlaybackEngineTest, PlaysARangeToItsEnd) {
    const int rate = 48000;
    const SampleCount start = 4800, end = start + rate * 3 / 10;   // 0.3 s from 0.1 s on
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {0.5f, 0.5f}), start, end, false));
    EXPECT_TRUE(engine.Playing());
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(engine.Position(), end);

    ASSERT_GE(rec.positions.size(), 2u);
    EXPECT_TRUE(std::is_sorted(rec.positions.begin(), rec.positions.end()));
    for (SampleCount p : rec.positions) {
        EXPECT_GE(p, start);
        EXPECT_LE(p, end);
    }
    EXPECT_EQ(rec.positions.back(), end);
    // Something in between was reported, not only the two ends.
    EXPECT_TRUE(std::any_of(rec.positions.begin(), rec.positions.end(),
                            [&](SampleCount p) { return p > start && p < end; }));
    Spin(300);
    EXPECT_EQ(rec.ends, 1);
}

TEST_F(PlaybackEngineTest, LoopPlaysPastTheEndUntilStop) {
    const int rate = 44100;
    const SampleCount start = 1000, end = start + rate / 5;
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {0.3f, 0.3f}), start, end, true));
    // Two wraps: the position went back to the start twice.
    auto wraps = [&] {
        int n = 0;
        for (std::size_t i = 1; i < rec.positions.size(); ++i)
            if (rec.positions[i] < rec.positions[i - 1]) ++n;
        return n;
    };
    ASSERT_TRUE(swtest::WaitFor([&] { return wraps() >= 2; }, kLong));
    EXPECT_TRUE(engine.Playing());
    for (SampleCount p : rec.positions) {
        EXPECT_GE(p, start);
        EXPECT_LT(p, end);
    }
    engine.Stop();
    EXPECT_FALSE(engine.Playing());
    Spin(500);
    EXPECT_EQ(rec.ends, 0);
}

TEST_F(PlaybackEngineTest, PauseHoldsThePositionAndResumeContinues) {
    const int rate = 48000;
    const SampleCount end = rate * 12 / 10;
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 1, Tone(rate, {0.5f}), 0, end, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return engine.Position() > rate / 10; }, kLong));
    engine.Pause();
    EXPECT_TRUE(engine.Paused());
    EXPECT_FALSE(engine.Playing());
    const SampleCount held = engine.Position();
    EXPECT_LT(held, end);
    const std::size_t reports = rec.positions.size();
    Spin(400);
    EXPECT_EQ(engine.Position(), held);
    EXPECT_EQ(rec.positions.size(), reports) << "no position reports while paused";
    EXPECT_EQ(rec.ends, 0);

    engine.Resume();
    EXPECT_TRUE(engine.Playing());
    ASSERT_TRUE(swtest::WaitFor([&] { return engine.Position() > held; }, kLong));
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    EXPECT_TRUE(std::is_sorted(rec.positions.begin(), rec.positions.end()));
    EXPECT_EQ(rec.positions.back(), end);
}

TEST_F(PlaybackEngineTest, StopGivesNoEnd) {
    const int rate = 48000;
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {0.5f, 0.5f}), 0, rate / 2, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return engine.Position() > 0; }, kLong));
    engine.Stop();
    const SampleCount stoppedAt = engine.Position();
    EXPECT_FALSE(engine.Playing());
    EXPECT_FALSE(engine.Paused());
    Spin(1200);   // longer than what was left to play
    EXPECT_EQ(rec.ends, 0);
    EXPECT_EQ(engine.Position(), stoppedAt);
    EXPECT_LT(stoppedAt, rate / 2);
}

struct MeterCase {
    const char* name;
    float left, right;
    int minLeft, maxLeft, minRight, maxRight;   // of the highest reading
};

class PlaybackMeter : public PlaybackEngineTest, public ::testing::WithParamInterface<MeterCase> {};

TEST_P(PlaybackMeter, ReadsThePeakOfEachChannel) {
    const MeterCase& c = GetParam();
    const int rate = 44100;
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {c.left, c.right}), 0, rate * 4 / 10, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    ASSERT_FALSE(rec.meters.empty());
    int maxL = 0, maxR = 0;
    for (auto [l, r] : rec.meters) {
        EXPECT_GE(l, 0);
        EXPECT_LE(l, 100);
        maxL = std::max(maxL, l);
        maxR = std::max(maxR, r);
    }
    EXPECT_GE(maxL, c.minLeft);
    EXPECT_LE(maxL, c.maxLeft);
    EXPECT_GE(maxR, c.minRight);
    EXPECT_LE(maxR, c.maxRight);
    EXPECT_EQ(rec.meters.back(), std::make_pair(0, 0)) << "meters fall to 0 at the end";
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaybackMeter,
                         ::testing::Values(MeterCase{"Loud", 0.9f, 0.9f, 80, 91, 80, 91},
                                           MeterCase{"Silence", 0.0f, 0.0f, 0, 0, 0, 0},
                                           MeterCase{"LeftOnly", 0.6f, 0.0f, 50, 61, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HeardCase {
    const char* name;
    int rate;
    int channels;
};

class PlaybackHeard : public PlaybackEngineTest, public ::testing::WithParamInterface<HeardCase> {};

// What is played arrives at the sink: the monitor hears a 440 Hz tone of the
// right level, and silence again once playing ended.
TEST_P(PlaybackHeard, ReachesTheSinkMonitor) {
    const HeardCase& c = GetParam();
    swtest::MonitorRecorder monitor(48000, 2);
    ASSERT_TRUE(monitor.Start()) << "parec could not record out.monitor";
    Spin(100);

    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    std::vector<float> amps(std::size_t(c.channels), 0.5f);
    ASSERT_TRUE(engine.Start(c.rate, c.channels, Tone(c.rate, amps), 0, c.rate * 6 / 10, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    Spin(300);
    const std::vector<float> samples = monitor.Stop();
    ASSERT_GT(samples.size(), 48000u);

    // 20 ms windows: the tone's windows have an RMS of about 0.5 / sqrt(2).
    const auto windows = swtest::WindowRms(samples, 2, 960);
    int loud = 0;
    for (double w : windows)
        if (w > 0.25) ++loud;
    EXPECT_GE(loud, 26) << "30 windows of tone expected";
    EXPECT_LE(loud, 33);
    const double peak = *std::max_element(windows.begin(), windows.end());
    EXPECT_NEAR(peak, 0.5 / std::sqrt(2.0), 0.06);
    EXPECT_LT(windows.back(), 0.01) << "silence after the end";

    // Its pitch: sign changes of the left channel over the loud part.
    std::size_t first = samples.size(), last = 0;
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i] > 0.25) {
            first = std::min(first, i * 960);
            last = (i + 1) * 960;
        }
    ASSERT_LT(first, last);
    int crossings = 0;
    for (std::size_t f = first + 1; f < last; ++f)
        if ((samples[2 * f] >= 0) != (samples[2 * (f - 1)] >= 0)) ++crossings;
    const double hz = crossings / 2.0 / (double(last - first) / 48000.0);
    EXPECT_NEAR(hz, 440.0, 25.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaybackHeard,
                         ::testing::Values(HeardCase{"Stereo48000", 48000, 2},
                                           HeardCase{"Stereo44100", 44100, 2},
                                           HeardCase{"Mono22050", 22050, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlaybackEngineTest, EmptyRangeEndsAtOnce) {
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(44100, 2, Tone(44100, {0.5f, 0.5f}), 500, 500, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(engine.Position(), 500);
}

TEST_F(PlaybackEngineTest, SourceShorterThanTheRangeEndsWhereItEnds) {
    const int rate = 48000;
    const SampleCount available = rate / 5;
    auto tone = Tone(rate, {0.5f});
    auto source = [&](SampleCount pos, SampleCount frames, float* out) -> SampleCount {
        const SampleCount n = std::max<SampleCount>(0, std::min(frames, available - pos));
        return n > 0 ? tone(pos, n, out) : 0;
    };
    PlaybackEngine engine;
    Recorder rec;
    rec.Attach(engine);
    ASSERT_TRUE(engine.Start(rate, 1, source, 0, rate * 10, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return rec.ends > 0; }, kLong));
    EXPECT_EQ(engine.Position(), available);
}

// The callbacks may stop, restart or destroy the engine that calls them.
TEST_F(PlaybackEngineTest, CallbacksMayStopRestartOrDestroyTheEngine) {
    const int rate = 44100;
    {
        PlaybackEngine engine;
        int positions = 0, ends = 0;
        engine.OnPosition = [&](SampleCount) {
            ++positions;
            engine.Stop();
        };
        engine.OnEnd = [&] { ++ends; };
        ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {0.5f, 0.5f}), 0, rate / 2, false));
        ASSERT_TRUE(swtest::WaitFor([&] { return positions > 0; }, kLong));
        Spin(800);
        EXPECT_EQ(positions, 1);
        EXPECT_EQ(ends, 0);
        EXPECT_FALSE(engine.Playing());
    }
    {
        auto engine = std::make_unique<PlaybackEngine>();
        bool destroyed = false;
        engine->OnEnd = [&] {
            engine.reset();
            destroyed = true;
        };
        ASSERT_TRUE(engine->Start(rate, 2, Tone(rate, {0.5f, 0.5f}), 0, rate / 10, false));
        ASSERT_TRUE(swtest::WaitFor([&] { return destroyed; }, kLong));
    }
    {
        PlaybackEngine engine;
        int ends = 0;
        engine.OnEnd = [&] {
            if (++ends == 1) {
                EXPECT_TRUE(engine.Start(rate, 2, Tone(rate, {0.5f, 0.5f}), 0, rate / 10, false));
            }
        };
        ASSERT_TRUE(engine.Start(rate, 2, Tone(rate, {0.5f, 0.5f}), 0, rate / 10, false));
        ASSERT_TRUE(swtest::WaitFor([&] { return ends == 2; }, kLong));
        EXPECT_FALSE(engine.Playing());
    }
}

struct BadStartCase {
    const char* name;
    int rate, channels;
    bool withSource;
    SampleCount start, end;
};

class PlaybackBadStart : public ::testing::TestWithParam<BadStartCase> {};

TEST_P(PlaybackBadStart, IsRefused) {
    const BadStartCase& c = GetParam();
    PlaybackEngine engine;
    int calls = 0;
    engine.OnPosition = [&](SampleCount) { ++calls; };
    engine.OnEnd = [&] { ++calls; };
    PlaybackEngine::Source source;
    if (c.withSource) source = Tone(44100, {0.5f, 0.5f});
    EXPECT_FALSE(engine.Start(c.rate, c.channels, source, c.start, c.end, false));
    EXPECT_FALSE(engine.Playing());
    Spin(100);
    EXPECT_EQ(calls, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaybackBadStart,
                         ::testing::Values(BadStartCase{"ZeroRate", 0, 2, true, 0, 100},
                                           BadStartCase{"NoChannels", 44100, 0, true, 0, 100},
                                           BadStartCase{"NoSource", 44100, 2, false, 0, 100},
                                           BadStartCase{"NegativeStart", 44100, 2, true, -5, 100},
                                           BadStartCase{"EndBeforeStart", 44100, 2, true, 200, 100}),
                         [](const auto& info) { return std::string(info.param.name); });
