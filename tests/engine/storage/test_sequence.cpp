// Sequence editing checked against a flat vector model, peaks against brute
// force, and the shape of the slice tree under many edits.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "storage/AudioClip.h"
#include "storage/Sequence.h"

using namespace sw;

namespace {

class SequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        BlockStore::Instance().SetDirectory(dir_.path().toStdString());
    }
    void TearDown() override { BlockStore::Instance().Shutdown(); }

    QTemporaryDir dir_;
};

std::vector<float> RandomSamples(std::mt19937& rng, std::size_t n) {
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v) x = d(rng);
    return v;
}

Sequence FromSamples(const std::vector<float>& v) {
    SequenceBuilder b;
    b.Append(v.data(), SampleCount(v.size()));
    return b.Finish();
}

std::vector<float> ReadAll(const Sequence& s) {
    std::vector<float> out(std::size_t(s.Length()));
    EXPECT_EQ(s.Read(0, s.Length(), out.data()), s.Length());
    return out;
}

MinMax BrutePeakOf(const std::vector<float>& v, SampleCount pos, SampleCount count) {
    if (count <= 0) return {};
    auto [mn, mx] = std::minmax_element(v.begin() + pos, v.begin() + pos + count);
    return {*mn, *mx};
}

// The clamping every editing call applies to (pos, len).
std::pair<SampleCount, SampleCount> Clamp(SampleCount total, SampleCount pos, SampleCount len) {
    pos = std::clamp<SampleCount>(pos, 0, total);
    len = std::clamp<SampleCount>(len, 0, total - pos);
    return {pos, len};
}

// Model operations on the flat vector.
std::vector<float> ModelReplace(const std::vector<float>& v, SampleCount pos, SampleCount len,
                                const std::vector<float>& with) {
    auto [p, l] = Clamp(SampleCount(v.size()), pos, len);
    std::vector<float> out(v.begin(), v.begin() + p);
    out.insert(out.end(), with.begin(), with.end());
    out.insert(out.end(), v.begin() + p + l, v.end());
    return out;
}

std::vector<float> ModelSlice(const std::vector<float>& v, SampleCount pos, SampleCount len) {
    auto [p, l] = Clamp(SampleCount(v.size()), pos, len);
    return std::vector<float>(v.begin() + p, v.begin() + p + l);
}

}  // namespace

TEST_F(SequenceTest, RandomEditsMatchFlatModel) {
    for (unsigned seed : {1u, 7u, 2024u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto rnd = [&](SampleCount lo, SampleCount hi) {
            return std::uniform_int_distribution<SampleCount>(lo, hi)(rng);
        };

        // Material: short blocks (ragged summaries), one full block, silence.
        std::vector<std::pair<Sequence, std::vector<float>>> pool;
        for (int i = 0; i < 12; ++i) {
            auto v = RandomSamples(rng, std::size_t(rnd(1, 3000)));
            pool.emplace_back(FromSamples(v), v);
        }
        {
            auto v = RandomSamples(rng, kBlockFrames);
            pool.emplace_back(FromSamples(v), v);
        }
        pool.emplace_back(Sequence::Silence(777), std::vector<float>(777, 0.0f));

        Sequence doc = pool.back().first;
        std::vector<float> model = pool.back().second;
        std::vector<std::pair<Sequence, std::vector<float>>> snapshots;

        for (int step = 0; step < 500; ++step) {
            const SampleCount L = doc.Length();
            // Positions and lengths sometimes fall outside the document.
            const SampleCount pos = rnd(-20, L + 20);
            const SampleCount len = rnd(-5, std::max<SampleCount>(L / 4, 10));
            // Inserted material: from the pool or a piece of the document itself.
            Sequence with;
            std::vector<float> withModel;
            if (rnd(0, 2) == 0 && L > 0) {
                const SampleCount p = rnd(0, L - 1), l = rnd(1, 5000);
                with = doc.Slice(p, l);
                withModel = ModelSlice(model, p, l);
            } else {
                const auto& src = pool[std::size_t(rnd(0, SampleCount(pool.size()) - 1))];
                const SampleCount p = rnd(0, src.first.Length() - 1), l = rnd(1, src.first.Length());
                with = src.first.Slice(p, l);
                withModel = ModelSlice(src.second, p, l);
            }
            ASSERT_EQ(with.Length(), SampleCount(withModel.size()));

            // Keep the document around 20k..120k frames.
            int op = int(rnd(0, 4));
            if (L > 120000) op = 1;
            if (L < 20000 && op == 1) op = 2;
            switch (op) {
            case 0: {   // slice, checked but not kept
                Sequence s = doc.Slice(pos, len);
                ASSERT_EQ(ReadAll(s), ModelSlice(model, pos, len)) << "slice " << pos << "," << len;
                break;
            }
            case 1:
                doc = doc.Erase(pos, len);
                model = ModelReplace(model, pos, len, {});
                break;
            case 2:
                doc = doc.Insert(pos, with);
                model = ModelReplace(model, pos, 0, withModel);
                break;
            case 3:
                doc = doc.Replace(pos, len, with);
                model = ModelReplace(model, pos, len, withModel);
                break;
            case 4:
                doc = doc.Append(with);
                model.insert(model.end(), withModel.begin(), withModel.end());
                break;
            }
            ASSERT_EQ(doc.Length(), SampleCount(model.size())) << "step " << step << " op " << op;
            ASSERT_EQ(ReadAll(doc), model) << "step " << step << " op " << op;

            // Random windows for Read and Peak.
            const SampleCount n = doc.Length();
            for (int k = 0; k < 4 && n > 0; ++k) {
                const SampleCount p = rnd(0, n - 1);
                const SampleCount c = k == 0 ? std::min(rnd(1, 40), n - p) : rnd(1, n - p);
                std::vector<float> buf(static_cast<std::size_t>(c));
                ASSERT_EQ(doc.Read(p, c, buf.data()), c);
                ASSERT_TRUE(std::equal(buf.begin(), buf.end(), model.begin() + p));
                const MinMax got = doc.Peak(p, c), want = BrutePeakOf(model, p, c);
                ASSERT_EQ(got.min, want.min) << "peak " << p << "," << c;
                ASSERT_EQ(got.max, want.max) << "peak " << p << "," << c;
            }
            if (step % 50 == 0) snapshots.emplace_back(doc, model);
        }
        // Earlier versions are untouched by later edits.
        for (const auto& [seq, m] : snapshots) ASSERT_EQ(ReadAll(seq), m);
    }
}

TEST_F(SequenceTest, ClampsPositionsAndLengths) {
    std::mt19937 rng(5);
    const auto v = RandomSamples(rng, 1000);
    const Sequence s = FromSamples(v);
    const Sequence ins = Sequence::Silence(3);
    struct Case { SampleCount pos, len; };
    const Case cases[] = {{0, 0}, {0, 1000}, {0, 5000}, {-10, 20}, {-10, -5}, {990, 100},
                          {1000, 10}, {2000, 10}, {500, -1}, {999, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pos) + "," + std::to_string(c.len));
        EXPECT_EQ(ReadAll(s.Slice(c.pos, c.len)), ModelSlice(v, c.pos, c.len));
        EXPECT_EQ(ReadAll(s.Erase(c.pos, c.len)), ModelReplace(v, c.pos, c.len, {}));
        EXPECT_EQ(ReadAll(s.Replace(c.pos, c.len, ins)), ModelReplace(v, c.pos, c.len, {0, 0, 0}));
        EXPECT_EQ(ReadAll(s.Insert(c.pos, ins)), ModelReplace(v, c.pos, 0, {0, 0, 0}));
    }

    // Read clamps at the end and reads nothing outside.
    struct ReadCase { SampleCount pos, count, expect; };
    const ReadCase reads[] = {{0, 0, 0}, {0, 1000, 1000}, {990, 100, 10}, {1000, 1, 0},
                              {-5, 10, 0}, {10, -1, 0}};
    for (const auto& r : reads) {
        std::vector<float> buf(200, 42.0f);
        std::vector<float> big(1000, 42.0f);
        float* out = r.count > 200 ? big.data() : buf.data();
        EXPECT_EQ(s.Read(r.pos, r.count, out), r.expect) << r.pos << "," << r.count;
        if (r.expect > 0) {
            EXPECT_TRUE(std::equal(out, out + r.expect, v.begin() + r.pos));
        }
        if (r.count <= 200 && r.expect < 200) {   // nothing written past what was read
            EXPECT_EQ(buf[std::size_t(r.expect)], 42.0f);
        }
    }

    // Peaks outside the sequence are empty; a range hanging over an end is cut.
    EXPECT_EQ(s.Peak(1000, 10).min, 0.0f);
    EXPECT_EQ(s.Peak(1000, 10).max, 0.0f);
    const MinMax over = s.Peak(-100, 200), want = BrutePeakOf(v, 0, 100);
    EXPECT_EQ(over.min, want.min);
    EXPECT_EQ(over.max, want.max);

    const Sequence empty;
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_EQ(empty.SliceCount(), 0u);
    EXPECT_EQ(ReadAll(empty.Insert(5, s)), v);
    EXPECT_EQ(ReadAll(s.Append(empty)), v);
}

// Ranges starting and ending on and around summary interval borders, in a
// block whose last interval is short.
TEST_F(SequenceTest, PeakAroundSummaryBordersMatchesBruteForce) {
    std::mt19937 rng(11);
    for (SampleCount frames : {SampleCount(1000), SampleCount(kBlockFrames)}) {
        auto v = RandomSamples(rng, std::size_t(frames));
        // Outstanding extremes in the short last interval and at the very ends.
        v[std::size_t(frames - 3)] = 5.0f;
        v[0] = -5.0f;
        const Sequence s = FromSamples(v);
        ASSERT_EQ(s.SliceCount(), 1u);
        std::vector<SampleCount> marks = {0, 1, 2};
        for (SampleCount b = kSummaryFrames; b < frames; b += kSummaryFrames)
            if (b < 4 * kSummaryFrames || b > frames - 4 * kSummaryFrames)
                for (SampleCount d : {-1, 0, 1}) marks.push_back(b + d);
        for (SampleCount d : {4, 3, 2, 1, 0}) marks.push_back(frames - d);
        for (SampleCount a : marks)
            for (SampleCount b : marks) {
                if (b <= a) continue;
                const MinMax got = s.Peak(a, b - a), want = BrutePeakOf(v, a, b - a);
                ASSERT_EQ(got.min, want.min) << frames << ": " << a << ".." << b;
                ASSERT_EQ(got.max, want.max) << frames << ": " << a << ".." << b;
                // The same range as a slice of its own (peak kept in the tree).
                const MinMax sl = s.Slice(a, b - a).Peak(0, b - a);
                ASSERT_EQ(sl.min, want.min) << frames << ": slice " << a << ".." << b;
                ASSERT_EQ(sl.max, want.max) << frames << ": slice " << a << ".." << b;
            }
    }
}

// Cutting a piece out and putting it back gives one slice again, so cut,
// paste and undo do not fragment a document.
TEST_F(SequenceTest, NeighbouringPiecesOfOneBlockJoinUp) {
    std::mt19937 rng(3);
    const auto v = RandomSamples(rng, 5000);
    const Sequence s = FromSamples(v);
    const Sequence cut = s.Slice(1000, 700);
    const Sequence rest = s.Erase(1000, 700);
    EXPECT_EQ(rest.SliceCount(), 2u);
    const Sequence back = rest.Insert(1000, cut);
    EXPECT_EQ(back.SliceCount(), 1u);
    EXPECT_EQ(ReadAll(back), v);

    // Pieces that are not neighbours stay apart.
    const Sequence swapped = rest.Insert(0, cut);
    EXPECT_EQ(swapped.SliceCount(), 3u);

    // Runs of silence join whatever their origin.
    const Sequence sil = Sequence::Silence(10).Append(Sequence::Silence(20)).Insert(5, Sequence::Silence(7));
    EXPECT_EQ(sil.SliceCount(), 1u);
    EXPECT_EQ(sil.Length(), 37);
}

TEST_F(SequenceTest, SilenceReadsZerosAndNeedsNoFile) {
    const SampleCount fourHours = SampleCount(4) * 3600 * 48000;
    const Sequence s = Sequence::Silence(fourHours);
    EXPECT_EQ(s.Length(), fourHours);
    std::vector<float> buf(1000, 1.0f);
    EXPECT_EQ(s.Read(fourHours - 500, 1000, buf.data()), 500);
    EXPECT_TRUE(std::all_of(buf.begin(), buf.begin() + 500, [](float x) { return x == 0.0f; }));
    EXPECT_EQ(s.Peak(0, fourHours).min, 0.0f);
    EXPECT_EQ(s.Peak(0, fourHours).max, 0.0f);

    // Streamed zeros are silence too.
    std::vector<float> zeros(3 * kBlockFrames + 17, 0.0f);
    SequenceBuilder b;
    b.Append(zeros.data(), SampleCount(zeros.size()));
    const Sequence z = b.Finish();
    EXPECT_EQ(z.Length(), SampleCount(zeros.size()));
    EXPECT_EQ(z.SliceCount(), 1u);
    EXPECT_EQ(BlockStore::Instance().PrivateFolder(), "");

    // Silence next to sound: the peak takes both in.
    const Sequence tone = FromSamples({0.5f, 0.25f});
    EXPECT_EQ(tone.Peak(0, 2).min, 0.25f);
    EXPECT_EQ(tone.Append(s.Slice(0, 5)).Peak(0, 7).min, 0.0f);
}

TEST_F(SequenceTest, BuilderCutsFullBlocksWhateverTheChunkSize) {
    std::mt19937 rng(9);
    const SampleCount total = 3 * kBlockFrames + kBlockFrames / 2;
    const auto v = RandomSamples(rng, std::size_t(total));
    for (SampleCount chunk : {SampleCount(1), SampleCount(1000), SampleCount(kBlockFrames - 1),
                              SampleCount(kBlockFrames), SampleCount(kBlockFrames + 1), total}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        SequenceBuilder b;
        for (SampleCount p = 0; p < total; p += chunk) {
            b.Append(v.data() + p, std::min(chunk, total - p));
            ASSERT_EQ(b.Length(), std::min(total, p + chunk));
        }
        const Sequence s = b.Finish();
        EXPECT_EQ(s.Length(), total);
        EXPECT_EQ(s.SliceCount(), 4u);
        EXPECT_EQ(ReadAll(s), v);
        EXPECT_EQ(b.Length(), 0);
        EXPECT_EQ(b.Finish().Length(), 0);
    }
}

// AVL height bound: h < 1.4405 log2(n + 2).
TEST_F(SequenceTest, TreeStaysShallowAfterManyEdits) {
    std::mt19937 rng(77);
    auto rnd = [&](SampleCount lo, SampleCount hi) {
        return std::uniform_int_distribution<SampleCount>(lo, hi)(rng);
    };
    Sequence doc = FromSamples(RandomSamples(rng, 2 * kBlockFrames));
    const Sequence extra = FromSamples(RandomSamples(rng, kBlockFrames));
    auto bound = [](std::size_t n) { return int(1.4405 * std::log2(double(n) + 2.0)) + 1; };
    for (int i = 0; i < 100000; ++i) {
        const SampleCount L = doc.Length();
        const SampleCount pos = rnd(0, L);
        switch (rnd(0, 2)) {
        case 0:
            if (L > 50000) {
                doc = doc.Erase(pos, rnd(1, 64));
                break;
            }
            [[fallthrough]];
        case 1:
            if (L < 400000) {
                doc = doc.Insert(pos, doc.Slice(rnd(0, L), rnd(1, 64)));
                break;
            }
            [[fallthrough]];
        default:
            doc = doc.Replace(pos, rnd(0, 64), extra.Slice(rnd(0, kBlockFrames), rnd(1, 64)));
        }
        if (i % 10000 == 0) {
            ASSERT_LE(doc.Depth(), bound(doc.SliceCount())) << "after " << i;
        }
    }
    EXPECT_GT(doc.SliceCount(), 10000u);
    EXPECT_LE(doc.Depth(), bound(doc.SliceCount()));

    // The extremes kept in the tree agree with the samples.
    const auto all = ReadAll(doc);
    const MinMax got = doc.Peak(0, doc.Length()), want = BrutePeakOf(all, 0, SampleCount(all.size()));
    EXPECT_EQ(got.min, want.min);
    EXPECT_EQ(got.max, want.max);
}

TEST_F(SequenceTest, AudioClipRoundTripsPlanarBuffers) {
    std::mt19937 rng(4);
    PlanarBuffer buf;
    buf.sampleRate = 48000;
    buf.channels = {RandomSamples(rng, kBlockFrames + 300), RandomSamples(rng, kBlockFrames + 300)};
    const AudioClip clip = AudioClip::FromPlanar(buf, BlockStore::Instance());
    EXPECT_EQ(clip.sampleRate, 48000);
    EXPECT_EQ(clip.ChannelCount(), 2);
    EXPECT_EQ(clip.Length(), kBlockFrames + 300);
    const PlanarBuffer back = clip.ToPlanar();
    EXPECT_EQ(back.sampleRate, 48000);
    EXPECT_EQ(back.channels, buf.channels);

    // A clip taken as a slice shares the blocks and reads the same samples.
    AudioClip part{48000, {clip.channels[0].Slice(100, 50), clip.channels[1].Slice(100, 50)}};
    const PlanarBuffer p = part.ToPlanar();
    EXPECT_TRUE(std::equal(p.channels[1].begin(), p.channels[1].end(), buf.channels[1].begin() + 100));

    const AudioClip none = AudioClip::FromPlanar(PlanarBuffer{}, BlockStore::Instance());
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.ToPlanar().channelCount(), 0);
}
