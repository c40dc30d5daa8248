// The sound server goes away while playing: playing ends, with OnEnd, and
// nothing crashes. Runs on a server of its own, which it then stops.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "PulseServer.h"
#include "playback/PlaybackEngine.h"

using sw::PlaybackEngine;
using sw::SampleCount;

TEST(ServerLoss, PlayingEndsWhenTheServerGoesAway) {
    auto server = std::make_unique<swtest::PulseServer>();
    if (!server->Running()) GTEST_SKIP() << "pulseaudio could not be started";
    qputenv("PULSE_SERVER", server->Address().toLocal8Bit());
    ASSERT_TRUE(PlaybackEngine::DeviceAvailable());

    PlaybackEngine engine;
    int ends = 0;
    engine.OnEnd = [&] { ++ends; };
    const int rate = 44100;
    auto tone = [](SampleCount pos, SampleCount frames, float* out) {
        for (SampleCount i = 0; i < frames; ++i)
            out[i] = 0.3f * float(std::sin(2.0 * 3.14159265358979 * 440.0 * double(pos + i) / 44100.0));
        return frames;
    };
    ASSERT_TRUE(engine.Start(rate, 1, tone, 0, SampleCount(rate) * 60, false));
    ASSERT_TRUE(swtest::WaitFor([&] { return engine.Position() > 0; }, 20000));

    server.reset();
    ASSERT_TRUE(swtest::WaitFor([&] { return ends > 0; }, 20000));
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(ends, 1);
    // Starting again without a server is refused, not a crash.
    EXPECT_FALSE(engine.Start(rate, 1, tone, 0, rate, false));
}
