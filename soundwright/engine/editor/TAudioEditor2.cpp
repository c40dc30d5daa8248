#include "TAudioEditor2.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "../codec/Encoder.h"
#include "../playback/PlaybackEngine.h"
#include "../storage/Sequence.h"
#include "ClipWriter.h"

namespace sw {

namespace {

constexpr int kMaxChannels = 32;
constexpr SampleCount kIoFrames = 4 * SampleCount(kBlockFrames);
// Effects on selections shorter than this run without progress events.
constexpr SampleCount kProgressThreshold = 16 * SampleCount(kBlockFrames);

struct Marker {
    SampleCount pos = 0, len = 0;
    std::string name, kind;
    int a = 0, b = 0, c = 0, d = 0, f = 0;
};

// Where a point lands when [pos, pos+del) is replaced by `ins` frames. A
// start point inside the removed range goes to the cut point; an end point
// right at `pos` stays (an insertion just after a region does not grow it).
SampleCount MapStart(SampleCount x, SampleCount pos, SampleCount del, SampleCount ins) {
    if (x < pos) return x;
    if (x >= pos + del) return x + ins - del;
    return pos;
}
SampleCount MapEnd(SampleCount x, SampleCount pos, SampleCount del, SampleCount ins) {
    if (x <= pos) return x;
    if (x >= pos + del) return x + ins - del;
    return pos;
}

void CheckDocFormat(int rate, int channels) {
    if (rate < 1000 || rate > 768000)
        throw EngineError("Unsupported sample rate: " + std::to_string(rate) + " Hz.");
    if (channels < 1 || channels > kMaxChannels)
        throw EngineError("Unsupported number of channels: " + std::to_string(channels) + ".");
}

}  // namespace

struct TAudioEditor2::State {
    int rate = 44100;
    std::vector<Sequence> channels;
    std::vector<Marker> markers;
    SampleCount selStart = 0, selEnd = 0, cursor = 0;
    bool hasSel = false;
    std::uint64_t serial = 0;   // see StateSerial

    SampleCount Length() const { return channels.empty() ? 0 : channels[0].Length(); }
    int ChannelCount() const { return int(channels.size()); }
    // The selected range; false without a (non-empty) selection.
    bool Selection(SampleCount& a, SampleCount& b) const {
        if (!hasSel || selEnd <= selStart) return false;
        a = selStart;
        b = selEnd;
        return true;
    }
    void Collapse(SampleCount at) {
        hasSel = false;
        selStart = selEnd = cursor = at;
    }
    void ShiftMarkers(SampleCount pos, SampleCount del, SampleCount ins) {
        for (auto& m : markers) {
            const SampleCount s = MapStart(m.pos, pos, del, ins);
            const SampleCount e = m.len > 0 ? MapEnd(m.pos + m.len, pos, del, ins) : s;
            m.pos = s;
            m.len = std::max<SampleCount>(0, e - s);
        }
    }
    void ClampPositions() {
        const SampleCount len = Length();
        selStart = std::clamp<SampleCount>(selStart, 0, len);
        selEnd = std::clamp<SampleCount>(selEnd, selStart, len);
        cursor = std::clamp<SampleCount>(cursor, 0, len);
    }
};

struct TAudioEditor2::Impl {
    bool open = false;
    State cur;
    std::vector<State> undo, redo;
    int editDepth = 0;
    bool groupSaved = false;
    std::uint64_t lastSerial = 0;
    AudioClip clipboard;
    AudioTags tags;
    std::vector<bool> enabled = std::vector<bool>(kMaxChannels, true);
    int currentMarker = 0;
    SampleCount viewStart = 0, viewEnd = 0;
    int lastRate = 44100;

    std::unique_ptr<PlaybackEngine> player;
    SampleCount playReturn = 0;

    bool AllEnabled() const {
        for (int c = 0; c < cur.ChannelCount(); ++c)
            if (!enabled[static_cast<std::size_t>(c)]) return false;
        return true;
    }
    bool Enabled(int c) const { return enabled[static_cast<std::size_t>(c)]; }
    int EnabledCount() const {
        int n = 0;
        for (int c = 0; c < cur.ChannelCount(); ++c) n += Enabled(c) ? 1 : 0;
        return n;
    }

    // Replaces [pos, pos+del) by `ins` (one sequence per document channel,
    // equal lengths; only the enabled channels' entries are used) under the
    // channel-scope rule of the header. Returns the new length of the range.
    SampleCount ReplaceRange(State& s, SampleCount pos, SampleCount del,
                             const std::vector<Sequence>& ins, SampleCount insLen) const {
        const int nch = s.ChannelCount();
        bool all = true;
        for (int c = 0; c < nch; ++c) all = all && Enabled(c);
        if (all) {
            for (int c = 0; c < nch; ++c) {
                auto& ch = s.channels[static_cast<std::size_t>(c)];
                if (del > 0) ch = ch.Erase(pos, del);
                if (insLen > 0) ch = ch.Insert(pos, ins[static_cast<std::size_t>(c)]);
            }
            s.ShiftMarkers(pos, del, insLen);
            return insLen;
        }
        const SampleCount n = std::max(del, insLen);
        for (int c = 0; c < nch; ++c) {
            auto& ch = s.channels[static_cast<std::size_t>(c)];
            if (Enabled(c)) {
                Sequence seg = insLen > 0 ? ins[static_cast<std::size_t>(c)] : Sequence();
                if (n > insLen) seg = seg.Append(Sequence::Silence(n - insLen));
                if (del > 0) ch = ch.Erase(pos, del);
                if (n > 0) ch = ch.Insert(pos, seg);
            } else if (n > del) {
                ch = ch.Insert(pos + del, Sequence::Silence(n - del));
            }
        }
        s.ShiftMarkers(pos + del, 0, n - del);
        return n;
    }
};

// Reports progress of one long operation and sends OnEndOperation when it
// ends, also by an exception.
class ProgressScope {
public:
    explicit ProgressScope(TAudioEditor2& e) : e_(e) {}
    ~ProgressScope() {
        if (started_ && e_.OnEndOperation) {
            try {
                e_.OnEndOperation();
            } catch (...) {
            }
        }
    }
    void operator()(int pct) {
        pct = std::clamp(pct, 0, 100);
        if (pct == last_) return;
        last_ = pct;
        started_ = true;
        if (e_.OnBlockOperation) e_.OnBlockOperation(pct);
    }
    ProgressFn Fn() {
        return [this](int p) { (*this)(p); };
    }

private:
    TAudioEditor2& e_;
    bool started_ = false;
    int last_ = -1;
};

// ---------------------------------------------------------------- position

SampleCount IAudioEditor2Position::SelStart() const { return e_.d_->cur.selStart; }
SampleCount IAudioEditor2Position::SelEnd() const { return e_.d_->cur.selEnd; }

void IAudioEditor2Position::SetSelStart(SampleCount v) {
    auto& s = e_.d_->cur;
    v = std::clamp<SampleCount>(v, 0, s.Length());
    s.selStart = v;
    if (s.selEnd < v) s.selEnd = v;
    s.cursor = v;
    e_.NotifyPosition();
}

void IAudioEditor2Position::SetSelEnd(SampleCount v) {
    auto& s = e_.d_->cur;
    v = std::clamp<SampleCount>(v, 0, s.Length());
    s.selEnd = v;
    if (s.selStart > v) s.selStart = s.cursor = v;
    e_.NotifyPosition();
}

bool IAudioEditor2Position::HasSelection() const { return e_.d_->cur.hasSel; }

void IAudioEditor2Position::SetHasSelection(bool v) {
    e_.d_->cur.hasSel = v;
    e_.NotifyPosition();
}

SampleCount IAudioEditor2Position::CurrentPosition() const { return e_.d_->cur.cursor; }

void IAudioEditor2Position::SetCurrentPosition(SampleCount v) {
    auto& s = e_.d_->cur;
    v = std::clamp<SampleCount>(v, 0, s.Length());
    s.cursor = v;
    if (!s.hasSel) s.selStart = s.selEnd = v;
    e_.NotifyPosition();
}

SampleCount IAudioEditor2Position::Length() const { return e_.d_->cur.Length(); }
SampleCount IAudioEditor2Position::ViewStart() const { return e_.d_->viewStart; }
SampleCount IAudioEditor2Position::ViewEnd() const { return e_.d_->viewEnd; }

void IAudioEditor2Position::SetViewStart(SampleCount v) {
    e_.d_->viewStart = std::clamp<SampleCount>(v, 0, Length());
    if (e_.d_->viewEnd < e_.d_->viewStart) e_.d_->viewEnd = e_.d_->viewStart;
}

void IAudioEditor2Position::SetViewEnd(SampleCount v) {
    e_.d_->viewEnd = std::clamp<SampleCount>(v, 0, Length());
    if (e_.d_->viewStart > e_.d_->viewEnd) e_.d_->viewStart = e_.d_->viewEnd;
}

SampleCount IAudioEditor2Position::MsToSamples(double ms) const {
    return SampleCount(std::llround(ms * e_.d_->cur.rate / 1000.0));
}

double IAudioEditor2Position::SamplesToMs(SampleCount samples) const {
    return double(samples) * 1000.0 / e_.d_->cur.rate;
}

// ---------------------------------------------------------------- file info

int IAudioEditor2FileInfo::SampleRate() const { return e_.d_->open ? e_.d_->cur.rate : 0; }
int IAudioEditor2FileInfo::Channels() const { return e_.d_->open ? e_.d_->cur.ChannelCount() : 0; }
std::string IAudioEditor2FileInfo::Title() const { return e_.d_->tags.Title; }
void IAudioEditor2FileInfo::SetTitle(const std::string& v) { e_.d_->tags.Title = v; }
std::string IAudioEditor2FileInfo::Artist() const { return e_.d_->tags.Artist; }
void IAudioEditor2FileInfo::SetArtist(const std::string& v) { e_.d_->tags.Artist = v; }
std::string IAudioEditor2FileInfo::Album() const { return e_.d_->tags.Album; }
void IAudioEditor2FileInfo::SetAlbum(const std::string& v) { e_.d_->tags.Album = v; }
int IAudioEditor2FileInfo::Genre() const { return e_.d_->tags.Genre; }
void IAudioEditor2FileInfo::SetGenre(int v) { e_.d_->tags.Genre = (v >= 0 && v <= 147) ? v : -1; }
int IAudioEditor2FileInfo::Year() const { return e_.d_->tags.Year; }
void IAudioEditor2FileInfo::SetYear(int v) { e_.d_->tags.Year = std::max(0, v); }
std::string IAudioEditor2FileInfo::Comment() const { return e_.d_->tags.Comment; }
void IAudioEditor2FileInfo::SetComment(const std::string& v) { e_.d_->tags.Comment = v; }
std::string IAudioEditor2FileInfo::GenreName(int index) const { return sw::GenreName(index); }

std::string IAudioEditor2FileInfo::Description() const {
    if (!e_.d_->open) return "";
    const int ch = e_.d_->cur.ChannelCount();
    const std::string layout =
        ch == 1 ? "Mono" : ch == 2 ? "Stereo" : std::to_string(ch) + " channels";
    return std::to_string(e_.d_->cur.rate) + " Hz, 32-bit float, " + layout;
}

// ---------------------------------------------------------------- channels

void IAudioEditor2Channel::SelectChannel(int channel) {
    if (channel < 1 || channel > kMaxChannels)
        throw EngineError("There is no channel " + std::to_string(channel) + ".");
    selected_ = channel;
}

bool IAudioEditor2Channel::ChannelEnabled() const {
    return e_.d_->enabled[static_cast<std::size_t>(selected_ - 1)];
}

void IAudioEditor2Channel::SetChannelEnabled(bool enabled) {
    e_.d_->enabled[static_cast<std::size_t>(selected_ - 1)] = enabled;
}

// ---------------------------------------------------------------- markers

void IAudioEditor2Markers::AddMarker(SampleCount position, SampleCount length, const std::string& name,
                                     const std::string& kind, int a, int b, int c, int d, int f) {
    auto& dd = *e_.d_;
    if (!dd.open) throw EngineError("No document is open.");
    auto place = [&](TAudioEditor2::State& s) {
        Marker m;
        m.pos = std::clamp<SampleCount>(position, 0, s.Length());
        m.len = std::clamp<SampleCount>(length, 0, s.Length() - m.pos);
        m.name = name;
        m.kind = kind;
        m.a = a, m.b = b, m.c = c, m.d = d, m.f = f;
        s.markers.push_back(std::move(m));
    };
    place(dd.cur);
    for (auto& s : dd.undo) place(s);
    for (auto& s : dd.redo) place(s);
}

int IAudioEditor2Markers::MarkerCount() const { return int(e_.d_->cur.markers.size()); }

void IAudioEditor2Markers::SelectMarker(int index) {
    if (index < 1 || index > MarkerCount())
        throw EngineError("There is no marker " + std::to_string(index) + ".");
    e_.d_->currentMarker = index;
}

namespace {
const Marker* Current(const std::vector<Marker>& markers, int index) {
    return index >= 1 && index <= int(markers.size()) ? &markers[static_cast<std::size_t>(index - 1)] : nullptr;
}
}  // namespace

std::string IAudioEditor2Markers::MarkerName() const {
    auto* m = Current(e_.d_->cur.markers, e_.d_->currentMarker);
    return m ? m->name : "";
}
std::string IAudioEditor2Markers::MarkerKind() const {
    auto* m = Current(e_.d_->cur.markers, e_.d_->currentMarker);
    return m ? m->kind : "";
}
SampleCount IAudioEditor2Markers::MarkerPosition() const {
    auto* m = Current(e_.d_->cur.markers, e_.d_->currentMarker);
    return m ? m->pos : 0;
}
SampleCount IAudioEditor2Markers::MarkerLength() const {
    auto* m = Current(e_.d_->cur.markers, e_.d_->currentMarker);
    return m ? m->len : 0;
}
int IAudioEditor2Markers::CurrentIndex() const {
    return Current(e_.d_->cur.markers, e_.d_->currentMarker) ? e_.d_->currentMarker : 0;
}

IAudioEditor2Markers::MarkerInfo IAudioEditor2Markers::MarkerAt(int index) const {
    const auto& markers = e_.d_->cur.markers;
    if (index < 1 || index > int(markers.size()))
        throw EngineError("There is no marker " + std::to_string(index) + ".");
    const Marker& m = markers[static_cast<std::size_t>(index - 1)];
    return MarkerInfo{m.pos, m.len, m.name, m.kind};
}

void IAudioEditor2Markers::DeleteMarker() {
    auto& dd = *e_.d_;
    const int index = CurrentIndex();
    if (index == 0) return;
    auto drop = [&](TAudioEditor2::State& s) {
        if (index <= int(s.markers.size())) s.markers.erase(s.markers.begin() + (index - 1));
    };
    drop(dd.cur);
    for (auto& s : dd.undo) drop(s);
    for (auto& s : dd.redo) drop(s);
    dd.currentMarker = 0;
}

// ---------------------------------------------------------------- transform

void IAudioEditor2Transform::InsertSilence(double ms) {
    auto& d = *e_.d_;
    e_.RequireOpen();
    const SampleCount n = e_.Position().MsToSamples(ms);
    if (n <= 0) return;
    TAudioEditor2::State next = d.cur;
    const SampleCount pos = next.cursor;
    std::vector<Sequence> ins(static_cast<std::size_t>(next.ChannelCount()), Sequence::Silence(n));
    // Silence goes into every channel: the disabled ones get it by the scope
    // rule anyway.
    for (auto& ch : next.channels) ch = ch.Insert(pos, ins[0]);
    next.ShiftMarkers(pos, 0, n);
    next.Collapse(pos);
    e_.Commit(std::move(next));
}

void IAudioEditor2Transform::SilenceSelection() {
    auto& d = *e_.d_;
    e_.RequireOpen();
    SampleCount a, b;
    if (!d.cur.Selection(a, b)) return;
    TAudioEditor2::State next = d.cur;
    for (int c = 0; c < next.ChannelCount(); ++c)
        if (d.Enabled(c))
            next.channels[static_cast<std::size_t>(c)] =
                next.channels[static_cast<std::size_t>(c)].Replace(a, b - a, Sequence::Silence(b - a));
    e_.Commit(std::move(next));
}

void IAudioEditor2Transform::ApplyInPlace(const BlockProcess& process) {
    auto& d = *e_.d_;
    e_.RequireOpen();
    SampleCount a = 0, b = d.cur.Length();
    d.cur.Selection(a, b);
    const SampleCount len = b - a;
    const int enabledCount = d.EnabledCount();
    if (len <= 0 || enabledCount == 0) return;
    ProgressScope progress(e_);
    const bool report = len * enabledCount >= kProgressThreshold;
    if (report) progress(0);
    TAudioEditor2::State next = d.cur;
    std::vector<float> buf(static_cast<std::size_t>(std::min(len, SampleCount(kBlockFrames))));
    SampleCount doneFrames = 0;
    for (int c = 0; c < next.ChannelCount(); ++c) {
        if (!d.Enabled(c)) continue;
        auto& ch = next.channels[static_cast<std::size_t>(c)];
        SequenceBuilder builder;
        for (SampleCount off = 0; off < len;) {
            const SampleCount n = std::min<SampleCount>(kBlockFrames, len - off);
            ch.Read(a + off, n, buf.data());
            process(c, buf.data(), n, off);
            builder.Append(buf.data(), n);
            off += n;
            doneFrames += n;
            if (report) progress(int(doneFrames * 100 / (len * enabledCount)));
        }
        ch = ch.Replace(a, len, builder.Finish());
    }
    e_.Commit(std::move(next));
}

void IAudioEditor2Transform::ApplyWhole(const WholeProcess& fn) {
    auto& d = *e_.d_;
    e_.RequireOpen();
    SampleCount a = 0, b = d.cur.Length();
    const bool hadSel = d.cur.Selection(a, b);
    const SampleCount len = b - a;
    if (d.EnabledCount() == 0) return;
    ProgressScope progress(e_);
    const bool report = len * d.EnabledCount() >= kProgressThreshold;
    if (report) progress(0);
    PlanarBuffer in;
    in.sampleRate = d.cur.rate;
    std::vector<int> which;
    for (int c = 0; c < d.cur.ChannelCount(); ++c) {
        if (!d.Enabled(c)) continue;
        which.push_back(c);
        in.channels.emplace_back(static_cast<std::size_t>(len));
        d.cur.channels[static_cast<std::size_t>(c)].Read(a, len, in.channels.back().data());
    }
    const PlanarBuffer out = fn(in);
    if (out.channelCount() != int(which.size()))
        throw EngineError("The effect gave another number of channels.");
    const SampleCount outLen = out.frames();
    for (const auto& ch : out.channels)
        if (SampleCount(ch.size()) != outLen) throw EngineError("The effect gave channels of unequal length.");
    if (report) progress(50);
    std::vector<Sequence> ins(static_cast<std::size_t>(d.cur.ChannelCount()));
    for (std::size_t i = 0; i < which.size(); ++i) {
        SequenceBuilder builder;
        builder.Append(out.channels[i].data(), outLen);
        ins[static_cast<std::size_t>(which[i])] = builder.Finish();
    }
    TAudioEditor2::State next = d.cur;
    const SampleCount n = d.ReplaceRange(next, a, len, ins, outLen);
    if (hadSel) {
        next.selStart = next.cursor = a;
        next.selEnd = a + n;
    }
    next.ClampPositions();
    if (report) progress(100);
    e_.Commit(std::move(next));
}

// ---------------------------------------------------------------- editor

TAudioEditor2::TAudioEditor2() : d_(std::make_unique<Impl>()) {}

TAudioEditor2::~TAudioEditor2() {
    if (d_->player) {
        d_->player->OnPosition = nullptr;
        d_->player->OnMeter = nullptr;
        d_->player->OnEnd = nullptr;
        d_->player->Stop();
        d_->player.reset();
    }
}

void TAudioEditor2::RequireOpen() const {
    if (!d_->open) throw EngineError("No document is open.");
}

void TAudioEditor2::NotifyPosition() {
    if (OnChangePosition) OnChangePosition();
}

void TAudioEditor2::Commit(State next) {
    auto& d = *d_;
    next.ClampPositions();
    next.serial = ++d.lastSerial;
    if (!(d.editDepth > 0 && d.groupSaved)) {
        d.undo.push_back(std::move(d.cur));
        if (d.editDepth > 0) d.groupSaved = true;
    }
    d.redo.clear();
    const SampleCount oldLen = d.cur.Length();
    const bool wholeView = d.viewStart == 0 && d.viewEnd == oldLen;
    d.cur = std::move(next);
    FitView(wholeView);
    NotifyPosition();
}

void TAudioEditor2::FitView(bool wholeView) {
    auto& d = *d_;
    const SampleCount len = d.cur.Length();
    if (wholeView || d.viewEnd > len) d.viewEnd = len;
    if (wholeView) d.viewStart = 0;
    d.viewStart = std::clamp<SampleCount>(d.viewStart, 0, d.viewEnd);
}

void TAudioEditor2::ResetDocument(State s, bool open) {
    auto& d = *d_;
    d.cur = std::move(s);
    d.cur.ClampPositions();
    d.cur.serial = ++d.lastSerial;
    d.undo.clear();
    d.redo.clear();
    d.editDepth = 0;
    d.groupSaved = false;
    d.currentMarker = 0;
    d.open = open;
    d.viewStart = 0;
    d.viewEnd = d.cur.Length();
    NotifyPosition();
}

void TAudioEditor2::CreateNew(int sampleRate, int channels) {
    CheckDocFormat(sampleRate, channels);
    Stop();
    State s;
    s.rate = sampleRate;
    s.channels.assign(static_cast<std::size_t>(channels), Sequence());
    d_->tags = AudioTags{};
    ResetDocument(std::move(s), true);
}

void TAudioEditor2::OpenFile(const std::string& path, int /*mode*/) {
    Stop();
    ProgressScope progress(*this);
    progress(0);
    AudioClip clip = DecodeFile(path, 0, 0, progress.Fn());
    AudioTags tags;
    try {
        tags = ReadTags(path);
    } catch (const EngineError&) {
        // A file whose tags cannot be read still opens, without tags.
    }
    State s;
    s.rate = clip.sampleRate;
    s.channels = std::move(clip.channels);
    d_->tags = std::move(tags);
    ResetDocument(std::move(s), true);
}

void TAudioEditor2::SaveFile(const std::string& path, bool selectionOnly, int formatCode) {
    RequireOpen();
    if (formatCode != FormatWav && formatCode != FormatMp3 && formatCode != FormatOgg &&
        formatCode != FormatWma)
        throw EngineError("Unsupported file format code " + std::to_string(formatCode) + ".");
    const State snapshot = d_->cur;
    SampleCount a = 0, b = snapshot.Length();
    if (selectionOnly) snapshot.Selection(a, b);
    ProgressScope progress(*this);
    progress(0);
    const int nch = snapshot.ChannelCount();
    auto encoder = AudioEncoder::Create(formatCode, format_, path, snapshot.rate, nch, d_->tags);
    const SampleCount total = b - a;
    std::vector<std::vector<float>> buf(static_cast<std::size_t>(nch),
                                        std::vector<float>(static_cast<std::size_t>(std::min(total, kIoFrames))));
    std::vector<const float*> ptrs(static_cast<std::size_t>(nch));
    for (SampleCount off = 0; off < total;) {
        const SampleCount n = std::min(kIoFrames, total - off);
        for (int c = 0; c < nch; ++c) {
            snapshot.channels[static_cast<std::size_t>(c)].Read(a + off, n, buf[static_cast<std::size_t>(c)].data());
            ptrs[static_cast<std::size_t>(c)] = buf[static_cast<std::size_t>(c)].data();
        }
        encoder->Write(ptrs.data(), int(n));
        off += n;
        progress(int(std::min<SampleCount>(99, off * 100 / total)));
    }
    encoder->Finish();
    progress(100);
}

void TAudioEditor2::CloseFile() {
    Stop();
    d_->tags = AudioTags{};
    State s;
    s.rate = d_->cur.rate;
    ResetDocument(std::move(s), false);
}

bool TAudioEditor2::IsOpen() const { return d_->open; }

void TAudioEditor2::Cut() {
    RequireOpen();
    Copy();
    DeleteSelection();
}

void TAudioEditor2::Copy() {
    RequireOpen();
    SampleCount a, b;
    if (!d_->cur.Selection(a, b)) return;
    d_->clipboard = CopyToArray(b - a);
}

void TAudioEditor2::DeleteSelection() {
    RequireOpen();
    auto& d = *d_;
    SampleCount a, b;
    if (!d.cur.Selection(a, b)) return;
    TAudioEditor2::State next = d.cur;
    const bool all = d.AllEnabled();
    d.ReplaceRange(next, a, b - a, {}, 0);
    // The range is gone with every channel in scope; otherwise it is now
    // silent in the enabled channels and stays selected.
    if (all) next.Collapse(a);
    Commit(std::move(next));
}

void TAudioEditor2::InsertClip(const AudioClip& clip, bool cursorAfter) {
    auto& d = *d_;
    TAudioEditor2::State next = d.cur;
    const SampleCount pos = next.cursor;
    const SampleCount n = d.ReplaceRange(next, pos, 0, clip.channels, clip.Length());
    if (next.hasSel && next.selEnd > next.selStart) {
        next.selStart = MapStart(next.selStart, pos, 0, n);
        next.selEnd = MapEnd(next.selEnd, pos, 0, n);
        next.cursor = cursorAfter ? pos + n : pos;
    } else {
        next.Collapse(cursorAfter ? pos + n : pos);
    }
    Commit(std::move(next));
}

void TAudioEditor2::Paste() {
    RequireOpen();
    auto& d = *d_;
    if (d.clipboard.Empty()) return;
    const bool convert = d.clipboard.sampleRate != d.cur.rate;
    ProgressScope progress(*this);
    if (convert) progress(0);
    const AudioClip clip = ConvertClip(d.clipboard, d.cur.rate, d.cur.ChannelCount(),
                                       convert ? progress.Fn() : ProgressFn{});
    TAudioEditor2::State next = d.cur;
    SampleCount a = next.cursor, b = next.cursor;
    next.Selection(a, b);
    const SampleCount n = d.ReplaceRange(next, a, b - a, clip.channels, clip.Length());
    next.Collapse(a + n);
    Commit(std::move(next));
}

void TAudioEditor2::Undo() {
    auto& d = *d_;
    if (d.undo.empty()) return;
    d.redo.push_back(std::move(d.cur));
    d.cur = std::move(d.undo.back());
    d.undo.pop_back();
    d.groupSaved = false;
    FitView(true);
    NotifyPosition();
}

void TAudioEditor2::Redo() {
    auto& d = *d_;
    if (d.redo.empty()) return;
    d.undo.push_back(std::move(d.cur));
    d.cur = std::move(d.redo.back());
    d.redo.pop_back();
    d.groupSaved = false;
    FitView(true);
    NotifyPosition();
}

bool TAudioEditor2::CanUndo() const { return !d_->undo.empty(); }
bool TAudioEditor2::CanRedo() const { return !d_->redo.empty(); }
std::uint64_t TAudioEditor2::StateSerial() const { return d_->cur.serial; }

void TAudioEditor2::InsertFile(const std::string& path) {
    RequireOpen();
    ProgressScope progress(*this);
    progress(0);
    const AudioClip clip = DecodeFile(path, d_->cur.rate, d_->cur.ChannelCount(), progress.Fn());
    InsertClip(clip, false);
}

void TAudioEditor2::MixClip(const AudioClip& clip, int insertedPercent, int selectionPercent,
                            ProgressScope& progress) {
    auto& d = *d_;
    SampleCount start = d.cur.cursor, end = d.cur.Length();
    d.cur.Selection(start, end);
    const SampleCount n = std::min(end - start, clip.Length());
    if (n <= 0 || d.EnabledCount() == 0) return;
    const float gi = float(insertedPercent) / 100.0f, gs = float(selectionPercent) / 100.0f;
    TAudioEditor2::State next = d.cur;
    const SampleCount chunk = std::min(n, kIoFrames);
    std::vector<float> mine(static_cast<std::size_t>(chunk)), theirs(static_cast<std::size_t>(chunk));
    const SampleCount work = n * d.EnabledCount();
    SampleCount done = 0;
    for (int c = 0; c < next.ChannelCount(); ++c) {
        if (!d.Enabled(c)) continue;
        auto& ch = next.channels[static_cast<std::size_t>(c)];
        SequenceBuilder builder;
        for (SampleCount off = 0; off < n;) {
            const SampleCount k = std::min(chunk, n - off);
            ch.Read(start + off, k, mine.data());
            clip.channels[static_cast<std::size_t>(c)].Read(off, k, theirs.data());
            for (SampleCount i = 0; i < k; ++i) {
                const float v = mine[static_cast<std::size_t>(i)] * gs + theirs[static_cast<std::size_t>(i)] * gi;
                mine[static_cast<std::size_t>(i)] = std::clamp(v, -1.0f, 1.0f);
            }
            builder.Append(mine.data(), k);
            off += k;
            done += k;
            progress(50 + int(done * 50 / work));
        }
        ch = ch.Replace(start, n, builder.Finish());
    }
    Commit(std::move(next));
}

void TAudioEditor2::MixFile(const std::string& path, int insertedPercent, int selectionPercent) {
    RequireOpen();
    ProgressScope progress(*this);
    progress(0);
    const AudioClip clip = DecodeFile(path, d_->cur.rate, d_->cur.ChannelCount(),
                                      [&](int p) { progress(p / 2); });
    MixClip(clip, insertedPercent, selectionPercent, progress);
}

void TAudioEditor2::MixPaste(int insertedPercent, int selectionPercent) {
    RequireOpen();
    if (d_->clipboard.Empty()) return;
    ProgressScope progress(*this);
    progress(0);
    const AudioClip clip = ConvertClip(d_->clipboard, d_->cur.rate, d_->cur.ChannelCount(),
                                       [&](int p) { progress(p / 2); });
    MixClip(clip, insertedPercent, selectionPercent, progress);
}

void TAudioEditor2::Resample(int sampleRate, int channels) {
    RequireOpen();
    CheckDocFormat(sampleRate, channels);
    auto& d = *d_;
    if (sampleRate == d.cur.rate && channels == d.cur.ChannelCount()) return;
    ProgressScope progress(*this);
    progress(0);
    AudioClip whole;
    whole.sampleRate = d.cur.rate;
    whole.channels = d.cur.channels;
    AudioClip converted = ConvertClip(whole, sampleRate, channels, progress.Fn());
    TAudioEditor2::State next = d.cur;
    const int from = d.cur.rate;
    auto scale = [&](SampleCount x) { return ConvertedLength(x, from, sampleRate); };
    next.rate = sampleRate;
    next.channels = std::move(converted.channels);
    for (auto& m : next.markers) {
        const SampleCount e = scale(m.pos + m.len);
        m.pos = scale(m.pos);
        m.len = e - m.pos;
    }
    next.selStart = scale(next.selStart);
    next.selEnd = scale(next.selEnd);
    next.cursor = scale(next.cursor);
    progress(100);
    Commit(std::move(next));
}

AudioClip TAudioEditor2::CopyToArray(SampleCount length) {
    RequireOpen();
    const auto& s = d_->cur;
    SampleCount start = s.cursor;
    if (s.hasSel) start = s.selStart;
    start = std::clamp<SampleCount>(start, 0, s.Length());
    length = std::clamp<SampleCount>(length, 0, s.Length() - start);
    AudioClip clip;
    clip.sampleRate = s.rate;
    for (const auto& ch : s.channels) clip.channels.push_back(ch.Slice(start, length));
    return clip;
}

void TAudioEditor2::PasteArray(const AudioClip& clip) {
    RequireOpen();
    if (clip.Empty()) return;
    const bool convert = clip.sampleRate != d_->cur.rate;
    ProgressScope progress(*this);
    if (convert) progress(0);
    InsertClip(ConvertClip(clip, d_->cur.rate, d_->cur.ChannelCount(),
                           convert ? progress.Fn() : ProgressFn{}),
               false);
}

void TAudioEditor2::BeginEdit() { ++d_->editDepth; }

void TAudioEditor2::EndEdit() {
    if (d_->editDepth > 0 && --d_->editDepth == 0) d_->groupSaved = false;
}

bool TAudioEditor2::ClipboardEmpty() const { return d_->clipboard.Empty(); }
SampleCount TAudioEditor2::ClipboardLength() const { return d_->clipboard.Length(); }

// ---------------------------------------------------------------- playback

void TAudioEditor2::Play(int mode) {
    if (mode < 1 || mode > 3) throw EngineError("Unknown play mode " + std::to_string(mode) + ".");
    Stop();
    auto& d = *d_;
    const SampleCount len = d.cur.Length();
    if (!d.open || len == 0) return;
    SampleCount a = 0, b = 0;
    const bool sel = d.cur.Selection(a, b);
    SampleCount start = 0, end = len;
    if (mode == 1) {
        start = sel ? a : d.cur.cursor;
        end = sel ? b : len;
    } else if (mode == 2) {
        start = sel ? a : d.cur.cursor;
    } else if (sel) {
        start = a;
        end = b;
    }
    if (start >= end) start = 0;

    if (!d.player) d.player = std::make_unique<PlaybackEngine>();
    // The source reads a snapshot; later edits do not disturb the stream.
    const std::vector<Sequence> channels = d.cur.channels;
    auto scratch = std::make_shared<std::vector<float>>();
    PlaybackEngine::Source source = [channels, scratch](SampleCount pos, SampleCount frames,
                                                         float* interleaved) -> SampleCount {
        const std::size_t nch = channels.size();
        scratch->resize(static_cast<std::size_t>(std::max<SampleCount>(frames, 0)));
        SampleCount got = frames;
        for (std::size_t c = 0; c < nch; ++c) {
            const SampleCount n = channels[c].Read(pos, frames, scratch->data());
            got = std::min(got, n);
            for (SampleCount i = 0; i < n; ++i) interleaved[static_cast<std::size_t>(i) * nch + c] = (*scratch)[static_cast<std::size_t>(i)];
        }
        return std::max<SampleCount>(got, 0);
    };
    d.player->OnPosition = [this](SampleCount p) {
        d_->cur.cursor = std::clamp<SampleCount>(p, 0, d_->cur.Length());
        if (OnChangePlayPosition) OnChangePlayPosition(d_->cur.cursor);
    };
    d.player->OnMeter = [this](int l, int r) {
        if (OnMeter) OnMeter(l, r);
    };
    d.player->OnEnd = [this] {
        d_->cur.cursor = std::clamp<SampleCount>(d_->playReturn, 0, d_->cur.Length());
        if (OnEndPlay) OnEndPlay();
        NotifyPosition();
    };
    d.playReturn = d.cur.cursor;
    if (!d.player->Start(d.cur.rate, d.cur.ChannelCount(), std::move(source), start, end, mode == 3))
        throw EngineError("Cannot open the audio output device.");
}

void TAudioEditor2::Pause() {
    if (d_->player && d_->player->Playing() && !d_->player->Paused()) d_->player->Pause();
}

void TAudioEditor2::Resume() {
    if (d_->player && d_->player->Paused()) d_->player->Resume();
}

void TAudioEditor2::Stop() {
    auto& d = *d_;
    if (!d.player || !(d.player->Playing() || d.player->Paused())) return;
    d.player->Stop();
    d.cur.cursor = std::clamp<SampleCount>(d.playReturn, 0, d.cur.Length());
    NotifyPosition();
}

int TAudioEditor2::PlayState() const {
    if (!d_->player) return 0;
    if (d_->player->Paused()) return 5;
    if (d_->player->Playing()) return 1;
    return 0;
}

// ---------------------------------------------------------------- data

MinMax TAudioEditor2::Peak(int ch, SampleCount pos, SampleCount count) const {
    if (ch < 0 || ch >= d_->cur.ChannelCount()) return MinMax{};
    return d_->cur.channels[static_cast<std::size_t>(ch)].Peak(pos, count);
}

SampleCount TAudioEditor2::ReadChannel(int ch, SampleCount pos, SampleCount count, float* out) const {
    if (ch < 0 || ch >= d_->cur.ChannelCount() || pos < 0 || count <= 0) return 0;
    return d_->cur.channels[static_cast<std::size_t>(ch)].Read(pos, count, out);
}

void TAudioEditor2::SetTempDirectory(const std::string& dir) { BlockStore::Instance().SetDirectory(dir); }
std::string TAudioEditor2::TempDirectory() const { return BlockStore::Instance().Directory(); }

}  // namespace sw
