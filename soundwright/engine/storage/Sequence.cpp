// The slice tree is an AVL tree built on "join" (Blelloch, Ferizovic, Sun:
// "Just Join for Parallel Ordered Sets"): split and concatenation copy only
// the O(log n) nodes along one path, and every node keeps the frame count,
// slice count and extremes of its subtree, so positioning and Peak are
// O(log n) too.
#include "Sequence.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace sw {

namespace {

// One slice: frames [offset, offset+length) of a block.
struct Piece {
    BlockPtr block;
    SampleCount offset = 0;
    SampleCount length = 0;
    MinMax mm;   // extremes of the samples in the slice
};

// Extremes of a range that may be empty.
struct PeakAcc {
    bool any = false;
    MinMax mm;
    void Add(MinMax v) {
        if (!any) {
            mm = v;
            any = true;
        } else {
            mm.min = std::min(mm.min, v.min);
            mm.max = std::max(mm.max, v.max);
        }
    }
    MinMax Result() const { return any ? mm : MinMax{}; }
};

void AddSamples(PeakAcc& acc, const float* s, SampleCount n) {
    float mn = std::numeric_limits<float>::infinity();
    float mx = -std::numeric_limits<float>::infinity();
    for (SampleCount i = 0; i < n; ++i) {
        if (s[i] < mn) mn = s[i];
        if (s[i] > mx) mx = s[i];
    }
    if (mn > mx) mn = mx = 0.0f;   // empty or nothing but NaN
    if (n > 0) acc.Add({mn, mx});
}

void AddBlockSamples(PeakAcc& acc, const Block& b, SampleCount off, SampleCount n) {
    float buf[kSummaryFrames];
    while (n > 0) {
        const SampleCount c = std::min<SampleCount>(n, kSummaryFrames);
        b.Read(off, c, buf);
        AddSamples(acc, buf, c);
        off += c;
        n -= c;
    }
}

// Extremes of frames [off, off+n) of a block: summaries where an interval
// lies wholly inside, samples at the ragged ends.
void AddBlockPeak(PeakAcc& acc, const Block& b, SampleCount off, SampleCount n) {
    if (n <= 0) return;
    if (b.IsSilence()) {
        acc.Add({0.0f, 0.0f});
        return;
    }
    if (off == 0 && n == b.Frames()) {
        acc.Add(b.Overall());
        return;
    }
    const SampleCount end = off + n;
    const SampleCount first = (off + kSummaryFrames - 1) / kSummaryFrames;   // first whole interval
    // Intervals [i*S, min((i+1)*S, frames)) wholly inside [off, end).
    SampleCount last = end / kSummaryFrames;   // one past the last whole interval
    if (end == b.Frames()) last = (end + kSummaryFrames - 1) / kSummaryFrames;
    if (first >= last) {
        AddBlockSamples(acc, b, off, n);
        return;
    }
    const auto& sum = b.Summary();
    AddBlockSamples(acc, b, off, first * kSummaryFrames - off);
    for (SampleCount i = first; i < last; ++i) acc.Add(sum[std::size_t(i)]);
    const SampleCount tail = std::min(last * kSummaryFrames, end);
    AddBlockSamples(acc, b, tail, end - tail);
}

Piece MakeSlice(BlockPtr block, SampleCount offset, SampleCount length) {
    Piece s;
    PeakAcc acc;
    AddBlockPeak(acc, *block, offset, length);
    s.block = std::move(block);
    s.offset = offset;
    s.length = length;
    s.mm = acc.Result();
    return s;
}

}  // namespace

struct Sequence::Node {
    Piece slice;
    std::shared_ptr<const Node> left, right;
    SampleCount total = 0;     // frames in the subtree
    std::size_t count = 0;     // slices in the subtree
    int height = 0;
    MinMax mm;                 // extremes of the subtree
};

namespace {

using Node = Sequence::Node;
using NodePtr = std::shared_ptr<const Node>;

int H(const NodePtr& n) { return n ? n->height : 0; }
SampleCount Total(const NodePtr& n) { return n ? n->total : 0; }
std::size_t Count(const NodePtr& n) { return n ? n->count : 0; }

NodePtr Make(NodePtr l, Piece s, NodePtr r) {
    auto n = std::make_shared<Node>();
    PeakAcc acc;
    if (l) acc.Add(l->mm);
    acc.Add(s.mm);
    if (r) acc.Add(r->mm);
    n->total = Total(l) + s.length + Total(r);
    n->count = Count(l) + 1 + Count(r);
    n->height = 1 + std::max(H(l), H(r));
    n->mm = acc.Result();
    n->slice = std::move(s);
    n->left = std::move(l);
    n->right = std::move(r);
    return n;
}

NodePtr RotateLeft(const NodePtr& n) {
    const NodePtr& r = n->right;
    return Make(Make(n->left, n->slice, r->left), r->slice, r->right);
}

NodePtr RotateRight(const NodePtr& n) {
    const NodePtr& l = n->left;
    return Make(l->left, l->slice, Make(l->right, n->slice, n->right));
}

// h(tl) > h(tr) + 1
NodePtr JoinRight(const NodePtr& tl, Piece s, const NodePtr& tr) {
    const NodePtr& l = tl->left;
    const NodePtr& c = tl->right;
    if (H(c) <= H(tr) + 1) {
        NodePtr t = Make(c, std::move(s), tr);
        if (H(t) <= H(l) + 1) return Make(l, tl->slice, t);
        return RotateLeft(Make(l, tl->slice, RotateRight(t)));
    }
    NodePtr t = JoinRight(c, std::move(s), tr);
    NodePtr t2 = Make(l, tl->slice, t);
    if (H(t) <= H(l) + 1) return t2;
    return RotateLeft(t2);
}

// h(tr) > h(tl) + 1
NodePtr JoinLeft(const NodePtr& tl, Piece s, const NodePtr& tr) {
    const NodePtr& r = tr->right;
    const NodePtr& c = tr->left;
    if (H(c) <= H(tl) + 1) {
        NodePtr t = Make(tl, std::move(s), c);
        if (H(t) <= H(r) + 1) return Make(t, tr->slice, r);
        return RotateRight(Make(RotateLeft(t), tr->slice, r));
    }
    NodePtr t = JoinLeft(tl, std::move(s), c);
    NodePtr t2 = Make(t, tr->slice, r);
    if (H(t) <= H(r) + 1) return t2;
    return RotateRight(t2);
}

NodePtr Join(const NodePtr& l, Piece s, const NodePtr& r) {
    if (H(l) > H(r) + 1) return JoinRight(l, std::move(s), r);
    if (H(r) > H(l) + 1) return JoinLeft(l, std::move(s), r);
    return Make(l, std::move(s), r);
}

// Splits frames [0, pos) from the rest; a slice straddling pos is cut in two.
std::pair<NodePtr, NodePtr> Split(const NodePtr& t, SampleCount pos) {
    if (!t) return {nullptr, nullptr};
    if (pos <= 0) return {nullptr, t};
    if (pos >= t->total) return {t, nullptr};
    const SampleCount lt = Total(t->left);
    const Piece& s = t->slice;
    if (pos < lt) {
        auto [a, b] = Split(t->left, pos);
        return {a, Join(b, s, t->right)};
    }
    if (pos == lt) return {t->left, Join(nullptr, s, t->right)};
    if (pos >= lt + s.length) {
        auto [a, b] = Split(t->right, pos - lt - s.length);
        return {Join(t->left, s, a), b};
    }
    const SampleCount k = pos - lt;
    return {Join(t->left, MakeSlice(s.block, s.offset, k), nullptr),
            Join(nullptr, MakeSlice(s.block, s.offset + k, s.length - k), t->right)};
}

std::pair<NodePtr, Piece> SplitLast(const NodePtr& t) {
    if (!t->right) return {t->left, t->slice};
    auto [rest, last] = SplitLast(t->right);
    return {Join(t->left, t->slice, rest), std::move(last)};
}

std::pair<NodePtr, Piece> SplitFirst(const NodePtr& t) {
    if (!t->left) return {t->right, t->slice};
    auto [rest, first] = SplitFirst(t->left);
    return {Join(rest, t->slice, t->right), std::move(first)};
}

const Piece& FirstSlice(const Node* t) {
    while (t->left) t = t->left.get();
    return t->slice;
}

// Two neighbouring slices that read as one: consecutive parts of one block,
// or two runs of silence.
bool CanMerge(const Piece& a, const Piece& b) {
    if (a.block == b.block && a.offset + a.length == b.offset) return true;
    return a.block->IsSilence() && b.block->IsSilence();
}

Piece Merge(const Piece& a, const Piece& b) {
    Piece s;
    if (a.block == b.block && a.offset + a.length == b.offset) {
        s.block = a.block;
        s.offset = a.offset;
    } else {
        s.block = Block::Silence(a.length + b.length);
        s.offset = 0;
    }
    s.length = a.length + b.length;
    s.mm = {std::min(a.mm.min, b.mm.min), std::max(a.mm.max, b.mm.max)};
    return s;
}

NodePtr Concat(const NodePtr& l, const NodePtr& r) {
    if (!l) return r;
    if (!r) return l;
    auto [rest, last] = SplitLast(l);
    if (CanMerge(last, FirstSlice(r.get()))) {
        auto [rrest, first] = SplitFirst(r);
        return Join(rest, Merge(last, first), rrest);
    }
    return Join(rest, std::move(last), r);
}

void ReadRange(const Node* n, SampleCount pos, SampleCount count, float*& out) {
    while (n && count > 0) {
        const SampleCount lt = Total(n->left);
        if (pos < lt) {
            const SampleCount c = std::min(count, lt - pos);
            ReadRange(n->left.get(), pos, c, out);
            pos += c;
            count -= c;
            if (count == 0) return;
        }
        const Piece& s = n->slice;
        if (pos < lt + s.length) {
            const SampleCount off = pos - lt;
            const SampleCount c = std::min(count, s.length - off);
            s.block->Read(s.offset + off, c, out);
            out += c;
            pos += c;
            count -= c;
        }
        // Continue in the right subtree without recursing.
        pos -= lt + s.length;
        n = n->right.get();
    }
}

void PeakRange(const Node* n, SampleCount pos, SampleCount count, PeakAcc& acc) {
    while (n && count > 0) {
        if (pos <= 0 && count >= n->total) {
            acc.Add(n->mm);
            return;
        }
        const SampleCount lt = Total(n->left);
        if (pos < lt) {
            const SampleCount c = std::min(count, lt - pos);
            PeakRange(n->left.get(), pos, c, acc);
            pos += c;
            count -= c;
            if (count == 0) return;
        }
        const Piece& s = n->slice;
        if (pos < lt + s.length) {
            const SampleCount off = pos - lt;
            const SampleCount c = std::min(count, s.length - off);
            if (off == 0 && c == s.length)
                acc.Add(s.mm);
            else
                AddBlockPeak(acc, *s.block, s.offset + off, c);
            pos += c;
            count -= c;
        }
        pos -= lt + s.length;
        n = n->right.get();
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Sequence

Sequence Sequence::FromBlock(BlockPtr block) {
    if (!block || block->Frames() <= 0) return Sequence();
    Piece s;
    s.length = block->Frames();
    s.mm = block->IsSilence() ? MinMax{} : block->Overall();
    s.block = std::move(block);
    return Sequence(Make(nullptr, std::move(s), nullptr));
}

Sequence Sequence::Silence(SampleCount frames) {
    return FromBlock(Block::Silence(frames));
}

SampleCount Sequence::Length() const { return Total(root_); }

std::size_t Sequence::SliceCount() const { return Count(root_); }

int Sequence::Depth() const { return H(root_); }

Sequence Sequence::Slice(SampleCount pos, SampleCount len) const {
    const SampleCount total = Length();
    pos = std::clamp<SampleCount>(pos, 0, total);
    len = std::clamp<SampleCount>(len, 0, total - pos);
    if (len == 0) return Sequence();
    if (pos == 0 && len == total) return *this;
    auto [head, rest] = Split(root_, pos);
    auto [mid, tail] = Split(rest, len);
    (void)head;
    (void)tail;
    return Sequence(mid);
}

Sequence Sequence::Erase(SampleCount pos, SampleCount len) const {
    return Replace(pos, len, Sequence());
}

Sequence Sequence::Insert(SampleCount pos, const Sequence& other) const {
    return Replace(pos, 0, other);
}

Sequence Sequence::Replace(SampleCount pos, SampleCount len, const Sequence& other) const {
    const SampleCount total = Length();
    pos = std::clamp<SampleCount>(pos, 0, total);
    len = std::clamp<SampleCount>(len, 0, total - pos);
    if (len == 0 && !other.root_) return *this;
    auto [head, rest] = Split(root_, pos);
    auto [mid, tail] = Split(rest, len);
    (void)mid;
    return Sequence(Concat(Concat(head, other.root_), tail));
}

Sequence Sequence::Append(const Sequence& other) const {
    return Sequence(Concat(root_, other.root_));
}

SampleCount Sequence::Read(SampleCount pos, SampleCount count, float* out) const {
    const SampleCount total = Length();
    if (pos < 0 || pos >= total || count <= 0) return 0;
    count = std::min(count, total - pos);
    float* p = out;
    ReadRange(root_.get(), pos, count, p);
    return count;
}

MinMax Sequence::Peak(SampleCount pos, SampleCount count) const {
    const SampleCount total = Length();
    if (pos < 0) {
        count += pos;
        pos = 0;
    }
    count = std::min(count, total - pos);
    PeakAcc acc;
    if (count > 0) PeakRange(root_.get(), pos, count, acc);
    return acc.Result();
}

// ---------------------------------------------------------------------------
// SequenceBuilder

SequenceBuilder::SequenceBuilder(BlockStore& store) : store_(store) {}

void SequenceBuilder::Append(const float* samples, SampleCount frames) {
    while (frames > 0) {
        if (pending_.empty() && frames >= kBlockFrames) {
            seq_ = seq_.Append(Sequence::FromBlock(store_.Write(samples, kBlockFrames)));
            samples += kBlockFrames;
            frames -= kBlockFrames;
            continue;
        }
        if (pending_.capacity() < std::size_t(kBlockFrames)) pending_.reserve(std::size_t(kBlockFrames));
        const SampleCount room = kBlockFrames - SampleCount(pending_.size());
        const SampleCount c = std::min(room, frames);
        pending_.insert(pending_.end(), samples, samples + c);
        samples += c;
        frames -= c;
        if (SampleCount(pending_.size()) == kBlockFrames) {
            seq_ = seq_.Append(Sequence::FromBlock(store_.Write(pending_.data(), kBlockFrames)));
            pending_.clear();
        }
    }
}

SampleCount SequenceBuilder::Length() const {
    return seq_.Length() + SampleCount(pending_.size());
}

Sequence SequenceBuilder::Finish() {
    if (!pending_.empty()) {
        seq_ = seq_.Append(Sequence::FromBlock(store_.Write(pending_.data(), SampleCount(pending_.size()))));
        pending_.clear();
    }
    Sequence out = std::move(seq_);
    seq_ = Sequence();
    return out;
}

}  // namespace sw
