// The effect-preview player through a private null sound server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "PulseServer.h"
#include "playback/TAudioPlayer2.h"

using sw::PlanarBuffer;
using sw::SampleCount;
using sw::TAudioPlayer2;

namespace {

constexpr int kLong = 20000;

std::unique_ptr<PlanarBuffer> ToneArray(int rate, int channels, double seconds, float amplitude) {
    auto buffer = std::make_unique<PlanarBuffer>();
    buffer->sampleRate = rate;
    const SampleCount frames = SampleCount(seconds * rate);
    buffer->resize(channels, frames);
    for (int c = 0; c < channels; ++c)
        for (SampleCount i = 0; i < frames; ++i)
            buffer->channels[std::size_t(c)][std::size_t(i)] =
                amplitude * float(std::sin(2.0 * 3.14159265358979 * 440.0 * double(i) / rate));
    return buffer;
}

using swtest::Spin;

class AudioPlayerTest : public swtest::SoundDeviceTest {};

}  // namespace

// The array is released right after PlayArray; what is heard is still the
// whole tone, and OnEndPlay follows once.
TEST_F(AudioPlayerTest, PlaysAReleasedArrayToItsEnd) {
    swtest::MonitorRecorder monitor(48000, 2);
    ASSERT_TRUE(monitor.Start());
    TAudioPlayer2 player;
    int ends = 0;
    player.OnEndPlay = [&] { ++ends; };
    player.SetPlayFormat(44100, 1);
    player.OpenDevice();
    ASSERT_EQ(player.DeviceError(), 0);
    {
        auto array = ToneArray(44100, 1, 0.4, 0.5f);
        ASSERT_TRUE(player.PlayArray(*array));
    }
    EXPECT_TRUE(player.Playing());
    ASSERT_TRUE(swtest::WaitFor([&] { return ends > 0; }, kLong));
    EXPECT_FALSE(player.Playing());
    Spin(300);
    EXPECT_EQ(ends, 1);

    const auto windows = swtest::WindowRms(monitor.Stop(), 2, 960);
    const int loud = int(std::count_if(windows.begin(), windows.end(), [](double w) { return w > 0.25; }));
    EXPECT_GE(loud, 14) << "about 20 windows of tone expected";
    EXPECT_LE(loud, 24);
}

TEST_F(AudioPlayerTest, ClosePlayerDuringPlayGivesNoEnd) {
    TAudioPlayer2 player;
    int ends = 0;
    player.OnEndPlay = [&] { ++ends; };
    player.SetPlayFormat(48000, 2);
    player.OpenDevice();
    ASSERT_EQ(player.DeviceError(), 0);
    ASSERT_TRUE(player.PlayArray(*ToneArray(48000, 2, 0.5, 0.5f)));
    Spin(150);
    player.ClosePlayer();
    EXPECT_FALSE(player.Playing());
    Spin(1000);
    EXPECT_EQ(ends, 0);
}

// The preview closes the player from its end event and may start another.
TEST_F(AudioPlayerTest, CloseFromTheEndEventThenPlayAgain) {
    TAudioPlayer2 player;
    int ends = 0;
    player.OnEndPlay = [&] {
        ++ends;
        player.ClosePlayer();
    };
    player.SetPlayFormat(22050, 2);
    player.OpenDevice();
    ASSERT_EQ(player.DeviceError(), 0);
    ASSERT_TRUE(player.PlayArray(*ToneArray(22050, 2, 0.1, 0.5f)));
    ASSERT_TRUE(swtest::WaitFor([&] { return ends == 1; }, kLong));
    // A stereo array in a mono play format is mapped, not refused.
    player.SetPlayFormat(22050, 1);
    ASSERT_TRUE(player.PlayArray(*ToneArray(22050, 2, 0.1, 0.5f)));
    ASSERT_TRUE(swtest::WaitFor([&] { return ends == 2; }, kLong));
    // An empty array ends at once.
    ASSERT_TRUE(player.PlayArray(PlanarBuffer{}));
    ASSERT_TRUE(swtest::WaitFor([&] { return ends == 3; }, kLong));
}

TEST_F(AudioPlayerTest, BadPlayFormatIsADeviceError) {
    TAudioPlayer2 player;
    for (auto [rate, channels] : {std::pair{0, 2}, std::pair{44100, 0}, std::pair{-8000, 1}}) {
        player.SetPlayFormat(rate, channels);
        player.OpenDevice();
        EXPECT_NE(player.DeviceError(), 0) << rate << " Hz, " << channels << " channels";
        EXPECT_FALSE(player.PlayArray(*ToneArray(44100, 2, 0.1, 0.5f)));
        EXPECT_FALSE(player.Playing());
    }
    player.SetPlayFormat(44100, 2);
    player.OpenDevice();
    EXPECT_EQ(player.DeviceError(), 0);
}
