// Without a sound server: nothing plays, nothing crashes, the failure is told.
// Every case of this executable runs with PULSE_SERVER pointing at a socket
// that does not exist, set before anything touches Qt Multimedia.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "PulseServer.h"
#include "playback/PlaybackEngine.h"
#include "playback/TAudioPlayer2.h"

using sw::PlaybackEngine;
using sw::SampleCount;
using sw::TAudioPlayer2;

namespace {

const bool kServerMissing = [] {
    qputenv("PULSE_SERVER", "unix:/nonexistent-sw-test/pulse/native");
    return true;
}();

PlaybackEngine::Source Silence() {
    return [](SampleCount, SampleCount frames, float* out) {
        std::fill(out, out + frames * 2, 0.0f);
        return frames;
    };
}

void Spin(int ms) {
    swtest::WaitFor([] { return false; }, ms);
}

}  // namespace

TEST(NoDevice, EngineDoesNotStart) {
    ASSERT_TRUE(kServerMissing);
    EXPECT_FALSE(PlaybackEngine::DeviceAvailable());
    EXPECT_FALSE(PlaybackEngine::FormatPlayable(44100, 2));
    PlaybackEngine engine;
    int calls = 0;
    engine.OnPosition = [&](SampleCount) { ++calls; };
    engine.OnMeter = [&](int, int) { ++calls; };
    engine.OnEnd = [&] { ++calls; };
    EXPECT_FALSE(engine.Start(44100, 2, Silence(), 0, 44100, false));
    EXPECT_FALSE(engine.Start(44100, 2, Silence(), 0, 0, false));
    EXPECT_FALSE(engine.Playing());
    engine.Pause();
    engine.Resume();
    EXPECT_FALSE(engine.Playing());
    engine.Stop();
    Spin(200);
    EXPECT_EQ(calls, 0);
}

TEST(NoDevice, PlayerReportsADeviceError) {
    ASSERT_TRUE(kServerMissing);
    TAudioPlayer2 player;
    int ends = 0;
    player.OnEndPlay = [&] { ++ends; };
    player.SetPlayFormat(44100, 2);
    player.OpenDevice();
    EXPECT_NE(player.DeviceError(), 0);
    sw::PlanarBuffer array;
    array.resize(2, 4410);
    EXPECT_FALSE(player.PlayArray(array));
    EXPECT_NE(player.DeviceError(), 0);
    EXPECT_FALSE(player.Playing());
    player.ClosePlayer();
    Spin(200);
    EXPECT_EQ(ends, 0);
}
