#include "PlaybackEngine.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "PlaybackFeed.h"

namespace sw {

namespace {

constexpr int kTickMs = 40;
// Device buffer: short, so Stop and Pause take effect quickly.
constexpr int kBufferMs = 120;
// When nothing more is heard for this many ticks after the source ran out,
// the end is declared anyway (a device that never reports the last frames).
constexpr int kStalledTicks = 25;

// Pull-mode source of the sink: hands out what the feed renders. The sink
// reads it from a timer of the thread it was started on (the window thread),
// so the Source is called there too.
class FeedDevice : public QIODevice {
public:
    explicit FeedDevice(detail::PlaybackFeed* feed) : feed_(feed) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        // Always more to read: sound, then silence until the sink is stopped.
        return QIODevice::bytesAvailable() + qint64(feed_->BytesPerFrame()) * 4096;
    }

protected:
    qint64 readData(char* data, qint64 maxlen) override { return feed_->Render(data, maxlen); }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    detail::PlaybackFeed* feed_;
};

struct ChosenFormat {
    QAudioFormat qt;
    detail::FeedFormat feed;
};

// Picks the format to open the device with. Preference: the document's own
// rate and channels as float, then 16-bit; when the device refuses the
// channel count, mono is spread to two channels and more channels go to the
// device's own count; when it refuses the rate, its preferred rate (then
// 48000, 44100) is used and the feed converts linearly.
std::optional<ChosenFormat> ChooseFormat(const QAudioDevice& device, int rate, int channels) {
    const QAudioFormat preferred = device.preferredFormat();
    std::vector<int> channelChoices{channels};
    if (channels == 1) channelChoices.push_back(2);
    if (preferred.channelCount() > 0) channelChoices.push_back(preferred.channelCount());
    channelChoices.push_back(2);
    std::vector<int> rateChoices{rate};
    if (preferred.sampleRate() > 0) rateChoices.push_back(preferred.sampleRate());
    rateChoices.push_back(48000);
    rateChoices.push_back(44100);

    for (int ch : channelChoices) {
        for (int r : rateChoices) {
            for (QAudioFormat::SampleFormat sf : {QAudioFormat::Float, QAudioFormat::Int16}) {
                QAudioFormat f;
                f.setSampleRate(r);
                f.setChannelCount(ch);
                f.setSampleFormat(sf);
                if (!device.isFormatSupported(f)) continue;
                ChosenFormat chosen;
                chosen.qt = f;
                chosen.feed.sourceRate = rate;
                chosen.feed.sourceChannels = channels;
                chosen.feed.deviceRate = r;
                chosen.feed.deviceChannels = ch;
                chosen.feed.sampleFormat = sf == QAudioFormat::Float ? detail::DeviceSampleFormat::Float32
                                                                     : detail::DeviceSampleFormat::Int16;
                return chosen;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

struct PlaybackEngine::Impl {
    enum class State { Idle, Playing, Paused };

    PlaybackEngine* owner = nullptr;
    State state = State::Idle;
    std::unique_ptr<detail::PlaybackFeed> feed;
    std::unique_ptr<FeedDevice> device;
    std::unique_ptr<QAudioSink> sink;
    // On the heap: a callback may destroy the engine from inside the
    // timer's own signal, and then the timer must outlive that call.
    QTimer* timer = new QTimer;
    bool inTick = false;
    SampleCount start = 0;
    SampleCount end = 0;
    bool loop = false;
    SampleCount lastPosition = 0;
    SampleCount heardFrames = 0;   // device frames heard at the last tick
    int stalledTicks = 0;
    bool sinkFailed = false;
    unsigned run = 0;              // counts Start calls, to spot re-entrant changes
    std::shared_ptr<int> alive = std::make_shared<int>(0);

    SampleCount HeardDeviceFrames() const {
        if (!sink || !feed) return 0;
        const qint64 usecs = sink->processedUSecs();
        const SampleCount frames = SampleCount(usecs) * feed->Format().deviceRate / 1000000;
        // Never more than was handed to the device.
        return std::clamp<SampleCount>(frames, 0, feed->Rendered());
    }

    SampleCount CurrentPosition() const {
        if (state == State::Idle || !feed) return lastPosition;
        return feed->SourcePositionAt(HeardDeviceFrames());
    }

    ~Impl() {
        timer->stop();
        if (inTick)
            timer->deleteLater();
        else
            delete timer;
    }

    void Teardown() {
        timer->stop();
        if (sink) {
            sink->disconnect();
            sink->stop();
        }
        sink.reset();
        device.reset();
        feed.reset();
        state = State::Idle;
        sinkFailed = false;
    }

    void Tick();
};

void PlaybackEngine::Impl::Tick() {
    if (state != State::Playing) return;
    const std::weak_ptr<int> token = alive;
    const unsigned thisRun = run;
    const auto stillOurs = [&, this] {
        return !token.expired() && run == thisRun && state == State::Playing;
    };

    bool ended = false;
    SampleCount position = end;
    detail::PlaybackFeed::Levels levels;
    if (!feed || sinkFailed) {
        // Empty range, or the device went away while playing.
        ended = true;
        position = feed ? CurrentPosition() : start;
    } else {
        const SampleCount heard = HeardDeviceFrames();
        stalledTicks = heard == heardFrames ? stalledTicks + 1 : 0;
        levels = feed->TakeLevels(heardFrames, heard);
        heardFrames = std::max(heardFrames, heard);
        position = feed->SourcePositionAt(heardFrames);
        if (feed->Exhausted() &&
            (heardFrames >= feed->ContentEnd() || stalledTicks >= kStalledTicks)) {
            ended = true;
            position = feed->SourcePositionAt(feed->ContentEnd());
        }
    }

    if (ended) {
        Teardown();
        lastPosition = position;
        auto onPosition = owner->OnPosition;
        auto onMeter = owner->OnMeter;
        auto onEnd = owner->OnEnd;
        if (onPosition) onPosition(position);
        if (token.expired() || run != thisRun || state != State::Idle) return;
        if (onMeter) onMeter(0, 0);
        if (token.expired() || run != thisRun || state != State::Idle) return;
        if (onEnd) onEnd();
        return;
    }

    lastPosition = position;
    if (auto onPosition = owner->OnPosition) onPosition(position);
    if (!stillOurs()) return;
    if (auto onMeter = owner->OnMeter) onMeter(levels.left, levels.right);
}

PlaybackEngine::PlaybackEngine() : d_(std::make_unique<Impl>()) {
    d_->owner = this;
    d_->timer->setInterval(kTickMs);
    d_->timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(d_->timer, &QTimer::timeout, d_->timer, [impl = d_.get()] {
        impl->inTick = true;
        const std::weak_ptr<int> token = impl->alive;
        impl->Tick();
        if (!token.expired()) impl->inTick = false;
    });
}

PlaybackEngine::~PlaybackEngine() {
    d_->Teardown();
}

bool PlaybackEngine::DeviceAvailable() {
    return !QMediaDevices::audioOutputs().isEmpty() && !QMediaDevices::defaultAudioOutput().isNull();
}

bool PlaybackEngine::FormatPlayable(int sampleRate, int channels) {
    if (sampleRate <= 0 || channels <= 0 || !DeviceAvailable()) return false;
    return ChooseFormat(QMediaDevices::defaultAudioOutput(), sampleRate, channels).has_value();
}

bool PlaybackEngine::Start(int sampleRate, int channels, Source source, SampleCount start,
                           SampleCount end, bool loop) {
    Stop();
    ++d_->run;
    if (sampleRate <= 0 || channels <= 0 || !source || start < 0 || end < start) return false;
    if (!DeviceAvailable()) return false;

    d_->start = start;
    d_->end = end;
    d_->loop = loop;
    d_->lastPosition = start;
    d_->heardFrames = 0;
    d_->stalledTicks = 0;
    d_->sinkFailed = false;

    if (start == end) {
        // Nothing to hear: the end follows on the first tick.
        d_->state = Impl::State::Playing;
        d_->timer->start();
        return true;
    }

    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    const auto chosen = ChooseFormat(output, sampleRate, channels);
    if (!chosen) return false;

    d_->feed = std::make_unique<detail::PlaybackFeed>(chosen->feed, std::move(source), start, end, loop);
    d_->device = std::make_unique<FeedDevice>(d_->feed.get());
    d_->device->open(QIODevice::ReadOnly);
    d_->sink = std::make_unique<QAudioSink>(output, chosen->qt);
    d_->sink->setBufferSize(qsizetype(chosen->qt.bytesForDuration(qint64(kBufferMs) * 1000)));
    QObject::connect(d_->sink.get(), &QAudioSink::stateChanged, d_->sink.get(),
                     [impl = d_.get()](QAudio::State s) {
                         if (s == QAudio::StoppedState && impl->sink &&
                             impl->sink->error() != QAudio::NoError)
                             impl->sinkFailed = true;
                     });
    d_->sink->start(d_->device.get());
    if (d_->sink->error() != QAudio::NoError || d_->sink->state() == QAudio::StoppedState) {
        d_->Teardown();
        d_->lastPosition = start;
        return false;
    }
    d_->state = Impl::State::Playing;
    d_->timer->start();
    return true;
}

void PlaybackEngine::Pause() {
    if (d_->state != Impl::State::Playing) return;
    d_->lastPosition = d_->CurrentPosition();
    if (d_->sink) d_->sink->suspend();
    d_->timer->stop();
    d_->state = Impl::State::Paused;
}

void PlaybackEngine::Resume() {
    if (d_->state != Impl::State::Paused) return;
    if (d_->sink) d_->sink->resume();
    d_->stalledTicks = 0;
    d_->state = Impl::State::Playing;
    d_->timer->start();
}

void PlaybackEngine::Stop() {
    if (d_->state == Impl::State::Idle) return;
    d_->lastPosition = d_->CurrentPosition();
    d_->Teardown();
}

bool PlaybackEngine::Playing() const {
    return d_->state == Impl::State::Playing;
}

bool PlaybackEngine::Paused() const {
    return d_->state == Impl::State::Paused;
}

SampleCount PlaybackEngine::Position() const {
    return d_->CurrentPosition();
}

}  // namespace sw
