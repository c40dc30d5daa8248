#include "PlaybackFeed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace sw::detail {

namespace {

constexpr SampleCount kChunkFrames = 4096;
constexpr int kMeterBlockMs = 10;

int Percent(float peak) {
    const float p = std::clamp(peak, 0.0f, 1.0f);
    return int(std::lround(p * 100.0f));
}

}  // namespace

PlaybackFeed::PlaybackFeed(const FeedFormat& format, Source source, SampleCount start,
                           SampleCount end, bool loop)
    : format_(format),
      source_(std::move(source)),
      start_(start),
      end_(std::max(start, end)),
      loop_(loop),
      readPos_(start),
      loopLength_(std::max<SampleCount>(0, end - start)),
      resampling_(format.sourceRate != format.deviceRate),
      step_(double(format.sourceRate) / double(format.deviceRate)),
      prev_(std::size_t(format.deviceChannels), 0.0f),
      next_(std::size_t(format.deviceChannels), 0.0f),
      blockFrames_(std::max<SampleCount>(1, SampleCount(format.deviceRate) * kMeterBlockMs / 1000)) {
    chunk_.resize(std::size_t(kChunkFrames * format_.sourceChannels));
}

int PlaybackFeed::BytesPerFrame() const {
    const int bytes = format_.sampleFormat == DeviceSampleFormat::Float32 ? 4 : 2;
    return bytes * format_.deviceChannels;
}

bool PlaybackFeed::FillChunk() {
    if (sourceDone_ || !source_) {
        sourceDone_ = true;
        return false;
    }
    // At most: the end of the range, a wrap to its start, one read there.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const SampleCount rangeEnd = loop_ ? start_ + loopLength_ : end_;
        if (readPos_ >= rangeEnd) {
            if (!loop_ || loopLength_ <= 0) break;
            readPos_ = start_;
        }
        const SampleCount want = std::min(kChunkFrames, rangeEnd - readPos_);
        SampleCount got = source_(readPos_, want, chunk_.data());
        got = std::clamp<SampleCount>(got, 0, want);
        if (got > 0) {
            readPos_ += got;
            if (got < want) {
                // The source holds fewer frames than the range asked for.
                if (loop_)
                    loopLength_ = readPos_ - start_;
                else
                    end_ = readPos_;
            }
            chunkFrames_ = got;
            chunkIndex_ = 0;
            return true;
        }
        if (!loop_ || readPos_ == start_) break;
        loopLength_ = readPos_ - start_;
        readPos_ = start_;
    }
    sourceDone_ = true;
    return false;
}

void PlaybackFeed::MapChannels(const float* in, float* out) const {
    const int src = format_.sourceChannels;
    const int dst = format_.deviceChannels;
    if (src == dst) {
        std::memcpy(out, in, sizeof(float) * std::size_t(dst));
    } else if (src == 1) {
        std::fill(out, out + dst, in[0]);
    } else if (dst == 1) {
        float sum = 0.0f;
        for (int c = 0; c < src; ++c) sum += in[c];
        out[0] = sum / float(src);
    } else {
        for (int c = 0; c < dst; ++c) out[c] = c < src ? in[c] : 0.0f;
    }
}

bool PlaybackFeed::NextSourceFrame(float* frame) {
    if (chunkIndex_ >= chunkFrames_ && !FillChunk()) return false;
    MapChannels(&chunk_[std::size_t(chunkIndex_ * format_.sourceChannels)], frame);
    ++chunkIndex_;
    ++consumed_;
    return true;
}

void PlaybackFeed::AddToMeter(const float* frame) {
    const float l = std::fabs(frame[0]);
    const float r = std::fabs(format_.deviceChannels > 1 ? frame[1] : frame[0]);
    blockLeft_ = std::max(blockLeft_, l);
    blockRight_ = std::max(blockRight_, r);
    if (++blockCount_ == blockFrames_) {
        blocks_.push_back({blockBegin_, blockBegin_ + blockCount_, blockLeft_, blockRight_});
        blockBegin_ += blockCount_;
        blockCount_ = 0;
        blockLeft_ = blockRight_ = 0.0f;
    }
}

long long PlaybackFeed::Render(char* out, long long maxBytes) {
    const int bpf = BytesPerFrame();
    const long long frames = maxBytes / bpf;
    const int channels = format_.deviceChannels;
    std::vector<float> frame(std::size_t(channels), 0.0f);
    for (long long i = 0; i < frames; ++i) {
        bool have = false;
        if (!exhausted_) {
            if (!resampling_) {
                have = NextSourceFrame(frame.data());
            } else {
                if (!primed_) {
                    primed_ = true;
                    interpolating_ = NextSourceFrame(prev_.data());
                    nextValid_ = interpolating_ && NextSourceFrame(next_.data());
                }
                if (interpolating_) {
                    have = true;
                    const float f = float(phase_);
                    for (int c = 0; c < channels; ++c)
                        frame[std::size_t(c)] =
                            nextValid_ ? prev_[std::size_t(c)] + (next_[std::size_t(c)] - prev_[std::size_t(c)]) * f
                                       : prev_[std::size_t(c)];
                    phase_ += step_;
                    while (phase_ >= 1.0) {
                        phase_ -= 1.0;
                        if (!nextValid_) {
                            interpolating_ = false;
                            break;
                        }
                        prev_.swap(next_);
                        nextValid_ = NextSourceFrame(next_.data());
                    }
                }
            }
            if (!have) {
                exhausted_ = true;
                contentEnd_ = rendered_;
            }
        }
        if (!have) std::fill(frame.begin(), frame.end(), 0.0f);

        if (format_.sampleFormat == DeviceSampleFormat::Float32) {
            float* dst = reinterpret_cast<float*>(out) + i * channels;
            for (int c = 0; c < channels; ++c) dst[c] = std::clamp(frame[std::size_t(c)], -1.0f, 1.0f);
        } else {
            std::int16_t* dst = reinterpret_cast<std::int16_t*>(out) + i * channels;
            for (int c = 0; c < channels; ++c)
                dst[c] = std::int16_t(std::lrint(std::clamp(frame[std::size_t(c)], -1.0f, 1.0f) * 32767.0f));
        }
        AddToMeter(frame.data());
        ++rendered_;
    }
    return frames * bpf;
}

SampleCount PlaybackFeed::SourcePositionAt(SampleCount deviceFrames) const {
    deviceFrames = std::max<SampleCount>(0, deviceFrames);
    const SampleCount offset =
        resampling_ ? SampleCount(double(deviceFrames) * step_) : deviceFrames;
    if (loop_) {
        if (loopLength_ <= 0) return start_;
        return start_ + offset % loopLength_;
    }
    const SampleCount last = exhausted_ ? start_ + consumed_ : end_;
    return std::min(start_ + offset, std::min(last, end_));
}

PlaybackFeed::Levels PlaybackFeed::TakeLevels(SampleCount fromFrame, SampleCount toFrame) {
    if (toFrame <= fromFrame) fromFrame = toFrame - blockFrames_;
    float l = 0.0f, r = 0.0f;
    for (const MeterBlock& b : blocks_) {
        if (b.end <= fromFrame || b.begin >= toFrame) continue;
        l = std::max(l, b.left);
        r = std::max(r, b.right);
    }
    if (blockCount_ > 0 && blockBegin_ < toFrame && blockBegin_ + blockCount_ > fromFrame) {
        l = std::max(l, blockLeft_);
        r = std::max(r, blockRight_);
    }
    // Keep the block that holds toFrame, so a stalled position still reads.
    while (!blocks_.empty() && blocks_.front().end <= toFrame - blockFrames_) blocks_.pop_front();
    return {Percent(l), Percent(r)};
}

}  // namespace sw::detail
