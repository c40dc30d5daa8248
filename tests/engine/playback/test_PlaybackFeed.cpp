// The conversion from a playback source to device bytes, without a device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "playback/PlaybackFeed.h"

using sw::SampleCount;
using sw::detail::DeviceSampleFormat;
using sw::detail::FeedFormat;
using sw::detail::PlaybackFeed;

namespace {

// Samples stay inside full scale; a power of two keeps the values exact.
constexpr float kScale = 1.0f / 131072.0f;

// A source whose sample at frame p is p * kScale (so the frames read show
// where they came from); `length` frames long.
PlaybackFeed::Source Counter(SampleCount length, int channels = 1) {
    return [length, channels](SampleCount pos, SampleCount frames, float* out) -> SampleCount {
        const SampleCount n = std::max<SampleCount>(0, std::min(frames, length - pos));
        for (SampleCount i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) out[i * channels + c] = float(pos + i) * kScale;
        return n;
    };
}

FeedFormat Same(int channels = 1, int rate = 1000) {
    FeedFormat f;
    f.sourceRate = f.deviceRate = rate;
    f.sourceChannels = f.deviceChannels = channels;
    return f;
}

std::vector<float> RenderFloats(PlaybackFeed& feed, SampleCount frames) {
    std::vector<float> out(std::size_t(frames * feed.Format().deviceChannels));
    const long long bytes = feed.Render(reinterpret_cast<char*>(out.data()),
                                        (long long)(out.size() * sizeof(float)));
    EXPECT_EQ(bytes, (long long)(out.size() * sizeof(float)));
    return out;
}

// The rendered frames of a Counter source, as source frame numbers.
std::vector<float> RenderCounts(PlaybackFeed& feed, SampleCount frames) {
    auto out = RenderFloats(feed, frames);
    for (float& v : out) v /= kScale;
    return out;
}

}  // namespace

struct RangeCase {
    const char* name;
    SampleCount sourceLength;
    SampleCount start, end;
    bool loop;
    SampleCount render;
    std::vector<float> expected;   // first channel of the rendered frames
};

class FeedRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(FeedRange, ReadsTheRangeThenSilenceOrWraps) {
    const RangeCase& c = GetParam();
    PlaybackFeed feed(Same(), Counter(c.sourceLength), c.start, c.end, c.loop);
    EXPECT_EQ(RenderCounts(feed, c.render), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeedRange,
    ::testing::Values(
        RangeCase{"PlainThenSilence", 100, 3, 6, false, 5, {3, 4, 5, 0, 0}},
        RangeCase{"LoopWraps", 100, 3, 6, true, 8, {3, 4, 5, 3, 4, 5, 3, 4}},
        RangeCase{"SourceShorterThanRange", 5, 2, 9, false, 5, {2, 3, 4, 0, 0}},
        RangeCase{"LoopSourceShorterThanRange", 5, 2, 9, true, 7, {2, 3, 4, 2, 3, 4, 2}},
        RangeCase{"LoopStartBeyondSource", 5, 7, 9, true, 3, {0, 0, 0}},
        RangeCase{"EmptyRange", 100, 4, 4, true, 2, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaybackFeed, ChunkBoundariesLoseNoFrames) {
    // Longer than one read-ahead chunk, rendered in odd pieces.
    const SampleCount length = 10000;
    PlaybackFeed feed(Same(), Counter(length), 0, length, false);
    std::vector<float> all;
    while (SampleCount(all.size()) < length + 10) {
        const auto part = RenderCounts(feed, 777);
        all.insert(all.end(), part.begin(), part.end());
    }
    for (SampleCount i = 0; i < length; ++i) ASSERT_EQ(all[std::size_t(i)], float(i)) << i;
    EXPECT_EQ(all[std::size_t(length)], 0.0f);
    EXPECT_TRUE(feed.Exhausted());
    EXPECT_EQ(feed.ContentEnd(), length);
}

TEST(PlaybackFeed, RendersWholeFramesOnly) {
    FeedFormat f = Same(2);
    PlaybackFeed feed(f, Counter(100, 2), 0, 100, false);
    char buffer[64];
    EXPECT_EQ(feed.Render(buffer, 13), 8);   // one stereo float frame
    EXPECT_EQ(feed.Render(buffer, 7), 0);
    EXPECT_EQ(feed.Rendered(), 1);
}

struct ChannelCase {
    const char* name;
    int sourceChannels;
    int deviceChannels;
    std::vector<float> expected;   // the first device frame for source frame 0
};

class FeedChannels : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(FeedChannels, MapsSourceChannelsToTheDevice) {
    const ChannelCase& c = GetParam();
    FeedFormat f = Same(c.sourceChannels);
    f.deviceChannels = c.deviceChannels;
    // Frame 0 holds 0.25 * channel index in each channel (+ 0.5 to tell it from silence).
    auto source = [channels = c.sourceChannels](SampleCount, SampleCount frames, float* out) {
        for (SampleCount i = 0; i < frames; ++i)
            for (int ch = 0; ch < channels; ++ch) out[i * channels + ch] = 0.5f + 0.125f * float(ch);
        return frames;
    };
    PlaybackFeed feed(f, source, 0, 10, false);
    const auto out = RenderFloats(feed, 1);
    ASSERT_EQ(out.size(), c.expected.size());
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_FLOAT_EQ(out[i], c.expected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeedChannels,
    ::testing::Values(ChannelCase{"MonoSpreads", 1, 2, {0.5f, 0.5f}},
                      ChannelCase{"StereoToMonoAverages", 2, 1, {0.5625f}},
                      ChannelCase{"StereoKept", 2, 2, {0.5f, 0.625f}},
                      ChannelCase{"ExtraChannelsDropped", 3, 2, {0.5f, 0.625f}},
                      ChannelCase{"MissingChannelsSilent", 2, 4, {0.5f, 0.625f, 0.0f, 0.0f}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaybackFeed, Int16ScalesAndClips) {
    FeedFormat f = Same();
    f.sampleFormat = DeviceSampleFormat::Int16;
    const std::vector<float> values{0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 1.7f, -3.0f};
    auto source = [&values](SampleCount pos, SampleCount frames, float* out) {
        const SampleCount n = std::min(frames, SampleCount(values.size()) - pos);
        for (SampleCount i = 0; i < n; ++i) out[i] = values[std::size_t(pos + i)];
        return n;
    };
    PlaybackFeed feed(f, source, 0, SampleCount(values.size()), false);
    std::vector<std::int16_t> out(values.size());
    ASSERT_EQ(feed.Render(reinterpret_cast<char*>(out.data()), (long long)(out.size() * 2)),
              (long long)(out.size() * 2));
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 16384, -16384, 32767, -32767, 32767, -32767}));
}

TEST(PlaybackFeed, FloatOutputIsClipped) {
    auto source = [](SampleCount, SampleCount frames, float* out) {
        for (SampleCount i = 0; i < frames; ++i) out[i] = (i % 2) ? -4.0f : 2.0f;
        return frames;
    };
    PlaybackFeed feed(Same(), source, 0, 4, false);
    EXPECT_EQ(RenderFloats(feed, 4), (std::vector<float>{1.0f, -1.0f, 1.0f, -1.0f}));
}

TEST(PlaybackFeed, UpsamplingInterpolatesLinearlyAndKeepsTheDuration) {
    FeedFormat f = Same(1, 1000);
    f.deviceRate = 2000;
    PlaybackFeed feed(f, Counter(4), 0, 4, false);
    const auto out = RenderCounts(feed, 10);
    const std::vector<float> expected{0, 0.5f, 1, 1.5f, 2, 2.5f, 3, 3, 0, 0};
    ASSERT_EQ(out.size(), expected.size());
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_FLOAT_EQ(out[i], expected[i]) << i;
    EXPECT_TRUE(feed.Exhausted());
    EXPECT_EQ(feed.ContentEnd(), 8);   // 4 source frames = 8 device frames
}

TEST(PlaybackFeed, DownsamplingKeepsTheDuration) {
    FeedFormat f = Same(1, 44100);
    f.deviceRate = 48000;
    f.sourceRate = 96000;
    const SampleCount length = 96000;   // one second
    PlaybackFeed feed(f, Counter(length), 0, length, false);
    const auto out = RenderCounts(feed, 48100);
    EXPECT_TRUE(feed.Exhausted());
    EXPECT_NEAR(double(feed.ContentEnd()), 48000.0, 2.0);
    // Every second source frame lands on a device frame.
    EXPECT_FLOAT_EQ(out[1000], 2000.0f);
    EXPECT_FLOAT_EQ(out[47000], 94000.0f);
}

TEST(PlaybackFeed, SourcePositionFollowsTheDeviceFrames) {
    {
        PlaybackFeed feed(Same(), Counter(100), 10, 30, false);
        EXPECT_EQ(feed.SourcePositionAt(0), 10);
        EXPECT_EQ(feed.SourcePositionAt(5), 15);
        EXPECT_EQ(feed.SourcePositionAt(500), 30);   // held at the end
    }
    {
        PlaybackFeed feed(Same(), Counter(100), 10, 30, true);
        EXPECT_EQ(feed.SourcePositionAt(25), 15);    // one lap of 20, then 5
        EXPECT_EQ(feed.SourcePositionAt(40), 10);
    }
    {
        FeedFormat f = Same(1, 1000);
        f.deviceRate = 4000;
        PlaybackFeed feed(f, Counter(100), 0, 100, false);
        EXPECT_EQ(feed.SourcePositionAt(40), 10);
    }
    {
        // The source ends before the range: the position stops where it ends.
        PlaybackFeed feed(Same(), Counter(20), 10, 50, false);
        RenderFloats(feed, 40);
        EXPECT_EQ(feed.SourcePositionAt(35), 20);
    }
}

TEST(PlaybackFeed, LevelsAreThePeaksOfTheHeardFrames) {
    // 100 frames of 0.8 left / 0.3 right, then silence; meter blocks are 10 ms.
    FeedFormat f = Same(2, 1000);
    auto source = [](SampleCount pos, SampleCount frames, float* out) {
        const SampleCount n = std::max<SampleCount>(0, std::min(frames, 100 - pos));
        for (SampleCount i = 0; i < n; ++i) {
            out[2 * i] = (i % 2) ? -0.8f : 0.8f;
            out[2 * i + 1] = 0.3f;
        }
        return n;
    };
    PlaybackFeed feed(f, source, 0, 100, false);
    RenderFloats(feed, 300);
    const auto loud = feed.TakeLevels(0, 50);
    EXPECT_EQ(loud.left, 80);
    EXPECT_EQ(loud.right, 30);
    const auto silent = feed.TakeLevels(150, 250);
    EXPECT_EQ(silent.left, 0);
    EXPECT_EQ(silent.right, 0);
}
