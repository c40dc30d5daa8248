#include "ClipWriter.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include "../codec/Decoder.h"
#include "../storage/Sequence.h"

namespace sw {

namespace {

constexpr int kMaxChannels = 32;
constexpr SampleCount kChunkFrames = 65536;

void CheckFormat(int rate, int channels) {
    if (rate < 1000 || rate > 768000)
        throw EngineError("Unsupported sample rate: " + std::to_string(rate) + " Hz.");
    if (channels < 1 || channels > kMaxChannels)
        throw EngineError("Unsupported number of channels: " + std::to_string(channels) + ".");
}

}  // namespace

SampleCount ConvertedLength(SampleCount frames, int inRate, int outRate) {
    if (inRate == outRate || inRate <= 0) return frames;
    const __int128 n = static_cast<__int128>(frames) * outRate + inRate / 2;
    return static_cast<SampleCount>(n / inRate);
}

struct ClipWriter::Impl {
    int inRate, inChannels, outRate, outChannels;
    SwrContext* swr = nullptr;
    std::vector<SequenceBuilder> builders;
    SampleCount produced = 0;
    std::vector<std::vector<float>> mixed;   // remixed input, outChannels
    std::vector<std::vector<float>> resampled;

    ~Impl() { swr_free(&swr); }
};

ClipWriter::ClipWriter(int inRate, int inChannels, int outRate, int outChannels)
    : d_(std::make_unique<Impl>()) {
    CheckFormat(inRate, inChannels);
    CheckFormat(outRate, outChannels);
    d_->inRate = inRate;
    d_->inChannels = inChannels;
    d_->outRate = outRate;
    d_->outChannels = outChannels;
    d_->builders.resize(static_cast<std::size_t>(outChannels));
    d_->mixed.resize(static_cast<std::size_t>(outChannels));
    d_->resampled.resize(static_cast<std::size_t>(outChannels));
    if (inRate != outRate) {
        AVChannelLayout layout;
        av_channel_layout_default(&layout, outChannels);
        int rc = swr_alloc_set_opts2(&d_->swr, &layout, AV_SAMPLE_FMT_FLTP, outRate, &layout,
                                     AV_SAMPLE_FMT_FLTP, inRate, 0, nullptr);
        av_channel_layout_uninit(&layout);
        if (rc < 0 || !d_->swr || swr_init(d_->swr) < 0)
            throw EngineError("Cannot set up the sample rate converter.");
    }
}

ClipWriter::~ClipWriter() = default;

void ClipWriter::Store(const float* const* planar, SampleCount frames) {
    if (frames <= 0) return;
    for (int c = 0; c < d_->outChannels; ++c) d_->builders[static_cast<std::size_t>(c)].Append(planar[c], frames);
    d_->produced += frames;
}

void ClipWriter::Write(const float* const* input, SampleCount frames) {
    auto& d = *d_;
    std::vector<const float*> cur(input, input + d.inChannels);
    while (frames > 0) {
        const float* const* planar = cur.data();
        const SampleCount n = std::min(frames, kChunkFrames);
        frames -= n;
        inFrames_ += n;
        // Channels first: identity, an average for mono, otherwise channel
        // o takes input channel o modulo the input count.
        std::vector<const float*> src(static_cast<std::size_t>(d.outChannels));
        if (d.outChannels == d.inChannels) {
            for (int c = 0; c < d.outChannels; ++c) src[static_cast<std::size_t>(c)] = planar[c];
        } else if (d.outChannels == 1) {
            auto& m = d.mixed[0];
            m.assign(static_cast<std::size_t>(n), 0.0f);
            const float scale = 1.0f / float(d.inChannels);
            for (int c = 0; c < d.inChannels; ++c)
                for (SampleCount i = 0; i < n; ++i) m[static_cast<std::size_t>(i)] += planar[c][i] * scale;
            src[0] = m.data();
        } else {
            for (int c = 0; c < d.outChannels; ++c) src[static_cast<std::size_t>(c)] = planar[c % d.inChannels];
        }
        if (!d.swr) {
            Store(src.data(), n);
        } else {
            const int cap = swr_get_out_samples(d.swr, int(n));
            if (cap < 0) throw EngineError("The sample rate converter failed.");
            std::vector<float*> out(static_cast<std::size_t>(d.outChannels));
            for (int c = 0; c < d.outChannels; ++c) {
                d.resampled[static_cast<std::size_t>(c)].resize(static_cast<std::size_t>(cap) + 1);
                out[static_cast<std::size_t>(c)] = d.resampled[static_cast<std::size_t>(c)].data();
            }
            const int got = swr_convert(d.swr, reinterpret_cast<uint8_t**>(out.data()), cap,
                                        reinterpret_cast<const uint8_t**>(src.data()), int(n));
            if (got < 0) throw EngineError("The sample rate converter failed.");
            Store(out.data(), got);
        }
        for (auto& p : cur) p += n;
    }
}

AudioClip ClipWriter::Finish() {
    auto& d = *d_;
    if (d.swr) {
        for (;;) {
            const int cap = std::max(4096, swr_get_out_samples(d.swr, 0));
            std::vector<float*> out(static_cast<std::size_t>(d.outChannels));
            for (int c = 0; c < d.outChannels; ++c) {
                d.resampled[static_cast<std::size_t>(c)].resize(static_cast<std::size_t>(cap));
                out[static_cast<std::size_t>(c)] = d.resampled[static_cast<std::size_t>(c)].data();
            }
            const int got = swr_convert(d.swr, reinterpret_cast<uint8_t**>(out.data()), cap, nullptr, 0);
            if (got < 0) throw EngineError("The sample rate converter failed.");
            if (got == 0) break;
            Store(out.data(), got);
        }
    }
    AudioClip clip;
    clip.sampleRate = d.outRate;
    const SampleCount want = ConvertedLength(inFrames_, d.inRate, d.outRate);
    for (auto& b : d.builders) {
        Sequence s = b.Finish();
        if (s.Length() > want) s = s.Slice(0, want);
        else if (s.Length() < want) s = s.Append(Sequence::Silence(want - s.Length()));
        clip.channels.push_back(std::move(s));
    }
    return clip;
}

AudioClip ConvertClip(const AudioClip& clip, int rate, int channels, const ProgressFn& progress) {
    CheckFormat(rate, channels);
    const int inCh = clip.ChannelCount();
    if (inCh == 0) {
        AudioClip empty;
        empty.sampleRate = rate;
        empty.channels.assign(static_cast<std::size_t>(channels), Sequence());
        return empty;
    }
    if (clip.sampleRate == rate && (inCh == channels || channels > 1)) {
        // Same rate: channels are shared or duplicated, no samples move.
        AudioClip out;
        out.sampleRate = rate;
        for (int c = 0; c < channels; ++c) out.channels.push_back(clip.channels[static_cast<std::size_t>(c % inCh)]);
        return out;
    }
    ClipWriter writer(clip.sampleRate, inCh, rate, channels);
    const SampleCount total = clip.Length();
    std::vector<std::vector<float>> buf(static_cast<std::size_t>(inCh), std::vector<float>(static_cast<std::size_t>(kChunkFrames)));
    std::vector<const float*> ptrs(static_cast<std::size_t>(inCh));
    int lastPct = -1;
    for (SampleCount pos = 0; pos < total;) {
        const SampleCount n = std::min(kChunkFrames, total - pos);
        for (int c = 0; c < inCh; ++c) {
            clip.channels[static_cast<std::size_t>(c)].Read(pos, n, buf[static_cast<std::size_t>(c)].data());
            ptrs[static_cast<std::size_t>(c)] = buf[static_cast<std::size_t>(c)].data();
        }
        writer.Write(ptrs.data(), n);
        pos += n;
        const int pct = int(pos * 100 / total);
        if (progress && pct != lastPct) progress(lastPct = pct);
    }
    return writer.Finish();
}

AudioClip DecodeFile(const std::string& path, int rate, int channels, const ProgressFn& progress,
                     DecodedInfo* info) {
    auto decoder = AudioDecoder::Open(path);
    const int fileRate = decoder->SampleRate(), fileChannels = decoder->Channels();
    if (fileRate <= 0 || fileChannels <= 0) throw EngineError("The file holds no audio: " + path);
    CheckFormat(fileRate, fileChannels);
    ClipWriter writer(fileRate, fileChannels, rate ? rate : fileRate, channels ? channels : fileChannels);
    const SampleCount estimate = decoder->LengthEstimate();

    // A worker decodes into a few chunk buffers; this thread writes them into
    // blocks, so decoding and block writing overlap.
    struct Chunk {
        std::vector<float> data;
        int frames = 0;
    };
    constexpr int kChunks = 4;
    std::mutex m;
    std::condition_variable cv;
    std::deque<Chunk*> full, empty;
    std::vector<Chunk> chunks(kChunks);
    for (auto& c : chunks) {
        c.data.resize(static_cast<std::size_t>(kChunkFrames) * static_cast<std::size_t>(fileChannels));
        empty.push_back(&c);
    }
    bool done = false, stop = false;
    std::exception_ptr workerError;

    std::thread worker([&] {
        try {
            std::vector<float*> ptrs(static_cast<std::size_t>(fileChannels));
            for (;;) {
                Chunk* c = nullptr;
                {
                    std::unique_lock lock(m);
                    cv.wait(lock, [&] { return stop || !empty.empty(); });
                    if (stop) break;
                    c = empty.front();
                    empty.pop_front();
                }
                for (int ch = 0; ch < fileChannels; ++ch)
                    ptrs[static_cast<std::size_t>(ch)] = c->data.data() + static_cast<std::size_t>(ch) * static_cast<std::size_t>(kChunkFrames);
                c->frames = decoder->Read(ptrs.data(), int(kChunkFrames));
                std::lock_guard lock(m);
                if (c->frames <= 0) {
                    empty.push_back(c);
                    break;
                }
                full.push_back(c);
                cv.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(m);
            workerError = std::current_exception();
        }
        std::lock_guard lock(m);
        done = true;
        cv.notify_all();
    });
    struct Joiner {
        std::thread& t;
        std::mutex& m;
        std::condition_variable& cv;
        bool& stop;
        ~Joiner() {
            {
                std::lock_guard lock(m);
                stop = true;
            }
            cv.notify_all();
            if (t.joinable()) t.join();
        }
    } joiner{worker, m, cv, stop};

    int lastPct = -1;
    std::vector<const float*> ptrs(static_cast<std::size_t>(fileChannels));
    for (;;) {
        Chunk* c = nullptr;
        {
            std::unique_lock lock(m);
            cv.wait(lock, [&] { return done || !full.empty(); });
            if (full.empty()) break;   // done and drained
            c = full.front();
            full.pop_front();
        }
        for (int ch = 0; ch < fileChannels; ++ch)
            ptrs[static_cast<std::size_t>(ch)] = c->data.data() + static_cast<std::size_t>(ch) * static_cast<std::size_t>(kChunkFrames);
        writer.Write(ptrs.data(), c->frames);
        {
            std::lock_guard lock(m);
            empty.push_back(c);
        }
        cv.notify_all();
        if (progress && estimate > 0) {
            const int pct = int(std::min<SampleCount>(99, writer.InputFrames() * 100 / estimate));
            if (pct != lastPct) progress(lastPct = pct);
        }
    }
    {
        std::lock_guard lock(m);
        if (workerError) std::rethrow_exception(workerError);
    }
    AudioClip clip = writer.Finish();
    if (info) {
        info->sampleRate = fileRate;
        info->channels = fileChannels;
        info->frames = writer.InputFrames();
        info->description = decoder->Description();
    }
    if (progress) progress(100);
    return clip;
}

}  // namespace sw
