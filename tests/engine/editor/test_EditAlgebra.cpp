// Editing, undo, channel scope, markers and the clipboard of the document,
// checked against flat copies of the samples.
#include <algorithm>
#include <cmath>

#include "EditorTestUtil.h"

using namespace edtest;
using sw::SampleCount;

namespace {

using PL = std::pair<SampleCount, SampleCount>;

// Rate 1000: milliseconds are samples, so InsertSilence is exact.
constexpr int kRate = 1000;

void EraseFlat(Flat& f, std::size_t a, std::size_t b) {
    for (auto& ch : f) ch.erase(ch.begin() + long(a), ch.begin() + long(b));
}
void InsertFlat(Flat& f, std::size_t p, const Flat& ins) {
    for (std::size_t c = 0; c < f.size(); ++c) f[c].insert(f[c].begin() + long(p), ins[c].begin(), ins[c].end());
}
Flat Slice(const Flat& f, std::size_t a, std::size_t b) {
    Flat out;
    for (const auto& ch : f) out.emplace_back(ch.begin() + long(a), ch.begin() + long(b));
    return out;
}

}  // namespace

TEST_F(EditorTest, CutThenPasteAtTheSamePlaceRestoresTheSamples) {
    const Flat original = Random(2, 200000, rng);
    struct Range { SampleCount a, b; };
    // Inside a block, across block edges, the whole document, a tail.
    for (Range r : {Range{0, 10}, Range{65530, 65600}, Range{1000, 140000}, Range{0, 200000},
                    Range{199990, 200000}}) {
        Load(ed, original, kRate);
        Select(ed, r.a, r.b);
        ed.Cut();
        ASSERT_EQ(ed.Position().Length(), 200000 - (r.b - r.a));
        EXPECT_FALSE(ed.Position().HasSelection());
        EXPECT_EQ(ed.Position().CurrentPosition(), r.a);
        ed.Paste();
        EXPECT_EQ(Read(ed), original) << r.a << ".." << r.b;
        EXPECT_EQ(ed.Position().CurrentPosition(), r.b);
    }
}

TEST_F(EditorTest, RandomEditsWithUndoAndRedoMatchAFlatModel) {
    Flat model = Random(2, 150000, rng);
    Load(ed, model, kRate);
    std::vector<Flat> history{model};
    std::size_t at = 0;
    auto pick = [&](SampleCount hi) { return SampleCount(rng() % std::uint64_t(hi + 1)); };
    for (int step = 0; step < 80; ++step) {
        const SampleCount len = SampleCount(model[0].size());
        const int op = int(rng() % 8);
        SampleCount a = pick(len), b = pick(len);
        if (a > b) std::swap(a, b);
        if (op == 6 && at > 0) {
            ed.Undo();
            model = history[--at];
        } else if (op == 7 && at + 1 < history.size()) {
            ed.Redo();
            model = history[++at];
        } else {
            const int edit = (a == b) ? 1 + int(rng() % 2) : op % 6;
            switch (edit) {
            case 0:
                Select(ed, a, b);
                ed.DeleteSelection();
                EraseFlat(model, std::size_t(a), std::size_t(b));
                break;
            case 1: {
                const Flat ins = Random(2, 1 + rng() % 20000, rng);
                Cursor(ed, a);
                ed.PasteArray(ClipOf(ins, kRate));
                InsertFlat(model, std::size_t(a), ins);
                break;
            }
            case 2: {
                const std::size_t n = 1 + rng() % 5000;
                Cursor(ed, a);
                ed.Transform().InsertSilence(double(n));
                InsertFlat(model, std::size_t(a), Flat(2, std::vector<float>(n, 0.0f)));
                break;
            }
            case 3:
                Select(ed, a, b);
                ed.Transform().SilenceSelection();
                for (auto& ch : model) std::fill(ch.begin() + long(a), ch.begin() + long(b), 0.0f);
                break;
            case 4: {
                // Two edits as one step.
                ed.BeginEdit();
                Select(ed, a, b);
                ed.Cut();
                const Flat cut = Slice(model, std::size_t(a), std::size_t(b));
                EraseFlat(model, std::size_t(a), std::size_t(b));
                const SampleCount p = pick(SampleCount(model[0].size()));
                Cursor(ed, p);
                ed.Paste();
                ed.EndEdit();
                InsertFlat(model, std::size_t(p), cut);
                break;
            }
            default:
                Select(ed, a, b);
                ed.Transform().ApplyInPlace([](int, float* s, SampleCount n, SampleCount) {
                    for (SampleCount i = 0; i < n; ++i) s[i] *= 0.5f;
                });
                for (auto& ch : model)
                    for (SampleCount i = a; i < b; ++i) ch[std::size_t(i)] *= 0.5f;
                break;
            }
            history.resize(at + 1);
            history.push_back(model);
            ++at;
        }
        ASSERT_EQ(ed.Position().Length(), SampleCount(model[0].size())) << "step " << step;
        ASSERT_TRUE(Read(ed) == model) << "step " << step;
    }
    while (at > 0) {
        ASSERT_TRUE(ed.CanUndo());
        ed.Undo();
        ASSERT_TRUE(Read(ed) == history[--at]);
    }
    while (at + 1 < history.size()) {
        ASSERT_TRUE(ed.CanRedo());
        ed.Redo();
        ASSERT_TRUE(Read(ed) == history[++at]);
    }
    EXPECT_FALSE(ed.CanRedo());
}

TEST_F(EditorTest, AnEditAfterUndoDropsTheRedoBranch) {
    Load(ed, Random(1, 1000, rng), kRate);
    Select(ed, 0, 100);
    ed.DeleteSelection();
    ed.Undo();
    EXPECT_TRUE(ed.CanRedo());
    Cursor(ed, 10);
    ed.Transform().InsertSilence(5);
    EXPECT_FALSE(ed.CanRedo());
    EXPECT_EQ(ed.Position().Length(), 1005);
}

TEST_F(EditorTest, NestedBeginEndEditUndoesInOneStep) {
    const Flat original = Random(2, 5000, rng);
    Load(ed, original, kRate);
    ed.BeginEdit();
    Select(ed, 100, 900);
    ed.DeleteSelection();
    ed.BeginEdit();   // an inner pair does not end the group
    Cursor(ed, 50);
    ed.Transform().InsertSilence(300);
    ed.EndEdit();
    Select(ed, 0, 10);
    ed.Transform().SilenceSelection();
    ed.EndEdit();
    ASSERT_EQ(ed.Position().Length(), 5000 - 800 + 300);
    ed.Undo();
    EXPECT_EQ(Read(ed), original);
    ed.Redo();
    EXPECT_EQ(ed.Position().Length(), 4500);
    // After the group, every edit is its own step again.
    Select(ed, 0, 100);
    ed.DeleteSelection();
    Select(ed, 0, 100);
    ed.DeleteSelection();
    ed.Undo();
    EXPECT_EQ(ed.Position().Length(), 4400);
}

TEST_F(EditorTest, CropAndRepeatAsTheMainWindowRunsThem) {
    const Flat original = Random(2, 100000, rng);
    Load(ed, original, kRate);
    // Crop.
    Select(ed, 30000, 70000);
    ed.BeginEdit();
    const sw::AudioClip copy = ed.CopyToArray(ed.Position().SelEnd() - ed.Position().SelStart());
    Select(ed, 0, ed.Position().Length());
    ed.DeleteSelection();
    ed.PasteArray(copy);
    ed.EndEdit();
    EXPECT_EQ(Read(ed), Slice(original, 30000, 70000));
    EXPECT_EQ(ed.Position().CurrentPosition(), 0);
    ed.Undo();
    EXPECT_EQ(Read(ed), original);

    // Repeat three times a selection of 1000 samples.
    Select(ed, 5000, 6000);
    const SampleCount len = 1000;
    const sw::AudioClip piece = ed.CopyToArray(len);
    ed.BeginEdit();
    for (int i = 0; i < 3; ++i) {
        ed.Position().SetCurrentPosition(ed.Position().CurrentPosition() + len);
        ed.PasteArray(piece);
    }
    ed.EndEdit();
    Flat expect = original;
    for (int i = 0; i < 3; ++i) InsertFlat(expect, 6000, Slice(original, 5000, 6000));
    EXPECT_EQ(Read(ed), expect);
    EXPECT_EQ(ed.Position().SelStart(), 5000);
    EXPECT_EQ(ed.Position().SelEnd(), 6000);
    ed.Undo();
    EXPECT_EQ(Read(ed), original);
}

TEST_F(EditorTest, CopyToArrayOfALongSelectionSharesBlocks) {
    // 50 blocks of audio; the copy must not be a flat array.
    ed.CreateNew(44100, 1);
    const Flat block = Random(1, sw::kBlockFrames, rng);
    for (int i = 0; i < 50; ++i) ed.PasteArray(ClipOf(block, 44100));
    Select(ed, 100, ed.Position().Length() - 100);
    const sw::AudioClip clip = ed.CopyToArray(ed.Position().SelEnd() - ed.Position().SelStart());
    EXPECT_EQ(clip.Length(), 50 * SampleCount(sw::kBlockFrames) - 200);
    EXPECT_LE(clip.channels[0].SliceCount(), 60u);
    std::vector<float> probe(10);
    clip.channels[0].Read(sw::kBlockFrames, 10, probe.data());
    EXPECT_TRUE(std::equal(probe.begin(), probe.end(), block[0].begin() + 100));
}

TEST_F(EditorTest, PasteArrayInsertsAtTheCursorAndLeavesItThere) {
    const Flat original = Random(2, 1000, rng);
    Load(ed, original, kRate);
    const Flat ins = Random(2, 77, rng);
    Cursor(ed, 400);
    ed.PasteArray(ClipOf(ins, kRate));
    EXPECT_EQ(ed.Position().CurrentPosition(), 400);
    Flat expect = original;
    InsertFlat(expect, 400, ins);
    EXPECT_EQ(Read(ed), expect);
}

TEST_F(EditorTest, ClearingHasSelectionKeepsTheBoundsAndMovingTheCursorCollapsesThem) {
    Load(ed, Random(1, 1000, rng), kRate);
    Select(ed, 100, 300);
    EXPECT_EQ(ed.Position().CurrentPosition(), 100);
    ed.Position().SetHasSelection(false);
    EXPECT_EQ(ed.Position().SelStart(), 100);
    EXPECT_EQ(ed.Position().SelEnd(), 300);
    ed.Position().SetCurrentPosition(ed.Position().SelEnd());
    EXPECT_EQ(ed.Position().SelStart(), 300);
    EXPECT_EQ(ed.Position().SelEnd(), 300);
    // Bounds are clamped and ordered.
    ed.Position().SetHasSelection(true);
    ed.Position().SetSelEnd(5000);
    EXPECT_EQ(ed.Position().SelEnd(), 1000);
    ed.Position().SetSelStart(-5);
    EXPECT_EQ(ed.Position().SelStart(), 0);
    ed.Position().SetSelEnd(0);
    ed.Position().SetSelStart(700);
    EXPECT_EQ(ed.Position().SelEnd(), 700);
    // Without a selection an edit works at the cursor: delete does nothing.
    Cursor(ed, 10);
    ed.DeleteSelection();
    EXPECT_EQ(ed.Position().Length(), 1000);
    EXPECT_EQ(ed.Position().MsToSamples(1.5), 2);
    EXPECT_DOUBLE_EQ(ed.Position().SamplesToMs(250), 250.0);
}

TEST_F(EditorTest, EditsWithOneChannelDisabledKeepChannelsAligned) {
    const Flat original = Random(2, 2000, rng);
    auto right = [&] {
        ed.Channel().SelectChannel(1);
        ed.Channel().SetChannelEnabled(false);
        ed.Channel().SelectChannel(2);
        ed.Channel().SetChannelEnabled(true);
    };
    auto both = [&] {
        for (int c : {1, 2}) {
            ed.Channel().SelectChannel(c);
            ed.Channel().SetChannelEnabled(true);
        }
    };
    // The document is filled with both channels in scope, then only the
    // right one is enabled.
    auto fresh = [&] {
        both();
        Load(ed, original, kRate);
        right();
    };

    // Delete silences the range in the enabled channel only.
    fresh();
    Select(ed, 100, 300);
    ed.DeleteSelection();
    Flat expect = original;
    std::fill(expect[1].begin() + 100, expect[1].begin() + 300, 0.0f);
    EXPECT_EQ(Read(ed), expect);

    // Cut then Paste over the still selected range restores it.
    fresh();
    Select(ed, 100, 300);
    ed.Cut();
    EXPECT_EQ(ed.Position().SelStart(), 100);
    EXPECT_EQ(ed.Position().SelEnd(), 300);
    ed.Paste();
    EXPECT_EQ(Read(ed), original);

    // Insert: the disabled channel gets silence at the same place.
    fresh();
    const Flat ins = Random(2, 50, rng);
    Cursor(ed, 500);
    ed.PasteArray(ClipOf(ins, kRate));
    expect = original;
    InsertFlat(expect, 500, {std::vector<float>(50, 0.0f), ins[1]});
    EXPECT_EQ(Read(ed), expect);

    // Replacing 200 frames by 50: the enabled channel gets the 50 and 150 of
    // silence, the disabled one keeps its 200.
    fresh();
    Select(ed, 0, 50);
    ed.Copy();   // 50 frames of both channels
    Select(ed, 1000, 1200);
    ed.Paste();
    expect = original;
    std::copy(original[1].begin(), original[1].begin() + 50, expect[1].begin() + 1000);
    std::fill(expect[1].begin() + 1050, expect[1].begin() + 1200, 0.0f);
    EXPECT_EQ(Read(ed), expect);

    // Effects touch the enabled channel only.
    fresh();
    std::vector<int> seen;
    ed.Transform().ApplyInPlace([&](int ch, float* s, SampleCount n, SampleCount) {
        seen.push_back(ch);
        for (SampleCount i = 0; i < n; ++i) s[i] = 0.25f;
    });
    EXPECT_EQ(seen, std::vector<int>{1});
    const Flat after = Read(ed);
    EXPECT_EQ(after[0], original[0]);
    EXPECT_TRUE(std::all_of(after[1].begin(), after[1].end(), [](float v) { return v == 0.25f; }));

    // ApplyWhole that lengthens: both channels stay equally long.
    Select(ed, 10, 20);
    ed.Transform().ApplyWhole([](const sw::PlanarBuffer& in) {
        sw::PlanarBuffer out = in;
        for (auto& ch : out.channels) ch.resize(ch.size() * 3, 0.5f);
        return out;
    });
    EXPECT_EQ(ed.Position().Length(), 2020);
    EXPECT_EQ(ed.Position().SelEnd(), 40);
    const Flat grown = Read(ed);
    EXPECT_TRUE(std::equal(original[0].begin(), original[0].begin() + 20, grown[0].begin()));
    EXPECT_EQ(grown[0][25], 0.0f);
    EXPECT_EQ(grown[1][25], 0.5f);
}

TEST_F(EditorTest, MarkersFollowEditsAndComeBackOnUndo) {
    Load(ed, Random(1, 10000, rng), kRate);
    auto& mk = ed.Markers();
    mk.AddMarker(1000, 0, "b1", "Bookmark");
    EXPECT_EQ(mk.MarkerCount(), 1);
    mk.AddMarker(2000, 1000, "r1", "Region");
    mk.SelectMarker(mk.MarkerCount());
    EXPECT_EQ(mk.CurrentIndex(), 2);
    EXPECT_EQ(mk.MarkerName(), "r1");
    EXPECT_EQ(mk.MarkerKind(), "Region");
    auto pos = [&](int i) {
        mk.SelectMarker(i);
        return std::pair(mk.MarkerPosition(), mk.MarkerLength());
    };

    // A cut before moves left; an insert before moves right; a marker inside
    // a deleted range goes to the cut point; a region loses its deleted part.
    Select(ed, 100, 400);
    ed.DeleteSelection();
    EXPECT_EQ(pos(1), PL(700, 0));
    EXPECT_EQ(pos(2), PL(1700, 1000));
    Cursor(ed, 0);
    ed.Transform().InsertSilence(50);
    EXPECT_EQ(pos(1), PL(750, 0));
    EXPECT_EQ(pos(2), PL(1750, 1000));
    Select(ed, 700, 2000);
    ed.DeleteSelection();
    EXPECT_EQ(pos(1), PL(700, 0));
    EXPECT_EQ(pos(2), PL(700, 750));
    // Inserting right at a region's end does not grow it.
    Cursor(ed, 1450);
    ed.Transform().InsertSilence(10);
    EXPECT_EQ(pos(2), PL(700, 750));

    // A marker added now survives undo (positions of the others come back).
    mk.AddMarker(5000, 0, "b2", "Bookmark");
    for (int i = 0; i < 4; ++i) ed.Undo();
    EXPECT_EQ(mk.MarkerCount(), 3);
    EXPECT_EQ(pos(1), PL(1000, 0));
    EXPECT_EQ(pos(2), PL(2000, 1000));
    EXPECT_EQ(pos(3), PL(5000, 0));
    ed.Redo();
    EXPECT_EQ(pos(1), PL(700, 0));

    // Deleting renumbers: the old 2 and 3 become 1 and 2.
    mk.SelectMarker(1);
    mk.DeleteMarker();
    EXPECT_EQ(mk.CurrentIndex(), 0);
    EXPECT_EQ(mk.MarkerCount(), 2);
    mk.SelectMarker(1);
    EXPECT_EQ(mk.MarkerName(), "r1");
    ed.Undo();
    EXPECT_EQ(mk.MarkerCount(), 2);
    EXPECT_EQ(pos(1), PL(2000, 1000));
    EXPECT_THROW(mk.SelectMarker(3), sw::EngineError);
    EXPECT_THROW(mk.SelectMarker(0), sw::EngineError);
}

TEST_F(EditorTest, InsertedAndMixedAudioIsConvertedToTheDocumentsFormat) {
    // Document 8000 Hz stereo; a mono 16000 Hz clip of 1600 frames.
    Load(ed, Random(2, 8000, rng), 8000);
    Flat mono(1, std::vector<float>(1600));
    for (std::size_t i = 0; i < mono[0].size(); ++i) mono[0][i] = 0.5f * std::sin(2 * M_PI * 500 * double(i) / 16000);
    Cursor(ed, 8000);
    ed.PasteArray(ClipOf(mono, 16000));
    ASSERT_EQ(ed.Position().Length(), 8800);
    const Flat got = Read(ed);
    EXPECT_TRUE(std::equal(got[0].begin() + 8000, got[0].end(), got[1].begin() + 8000));
    // A 500 Hz tone at 8000 Hz: 16 samples a period. Compare the middle
    // against the ideal tone (resampling keeps the phase).
    double err = 0;
    for (int i = 100; i < 700; ++i)
        err = std::max(err, std::abs(got[0][std::size_t(8000 + i)] - 0.5 * std::sin(2 * M_PI * 500 * i / 8000.0)));
    EXPECT_LT(err, 0.02);

    // A stereo clip pasted into a mono document is averaged.
    ed.CreateNew(8000, 1);
    ed.PasteArray(ClipOf({std::vector<float>(100, 0.5f), std::vector<float>(100, -0.25f)}, 8000));
    EXPECT_EQ(Read(ed)[0], std::vector<float>(100, 0.125f));
}

TEST_F(EditorTest, MixPasteMixesOverTheShorterLengthAndClips) {
    struct Case {
        const char* what;
        bool selection;
        SampleCount a, b;
        int insertedPct, selectionPct;
        float doc, clip, expect;
        SampleCount mixedFrom, mixedTo;
    };
    const Case cases[] = {
        {"half and half over a longer selection", true, 100, 400, 50, 50, 0.4f, 0.8f, 0.6f, 100, 300},
        {"selection shorter than the clip", true, 100, 150, 50, 50, 0.4f, 0.8f, 0.6f, 100, 150},
        {"clipped at full scale", true, 0, 500, 100, 100, 0.8f, 0.8f, 1.0f, 0, 200},
        {"clipped negative", true, 0, 500, 100, 100, -0.8f, -0.8f, -1.0f, 0, 200},
        {"no selection mixes from the cursor", false, 900, 900, 100, 0, 0.4f, 0.8f, 0.8f, 900, 1000},
    };
    for (const auto& c : cases) {
        Load(ed, {std::vector<float>(200, c.clip)}, kRate);
        Select(ed, 0, 200);
        ed.Copy();
        Load(ed, {std::vector<float>(1000, c.doc)}, kRate);
        if (c.selection) Select(ed, c.a, c.b);
        else Cursor(ed, c.a);
        ed.MixPaste(c.insertedPct, c.selectionPct);
        const Flat got = Read(ed);
        ASSERT_EQ(got[0].size(), 1000u) << c.what;
        for (SampleCount i = 0; i < 1000; ++i) {
            const bool in = i >= c.mixedFrom && i < c.mixedTo;
            ASSERT_FLOAT_EQ(got[0][std::size_t(i)], in ? c.expect : c.doc) << c.what << " at " << i;
        }
    }
}

TEST_F(EditorTest, TheClipboardSurvivesCloseAndNew) {
    const Flat original = Random(2, 500, rng);
    Load(ed, original, 22050);
    Select(ed, 0, 500);
    ed.Copy();
    ed.CloseFile();
    EXPECT_FALSE(ed.IsOpen());
    EXPECT_FALSE(ed.ClipboardEmpty());
    EXPECT_EQ(ed.Position().Length(), 0);
    EXPECT_THROW(ed.Paste(), sw::EngineError);
    ed.CreateNew(22050, 2);
    EXPECT_FALSE(ed.CanUndo());
    ed.Paste();
    EXPECT_EQ(Read(ed), original);
}

TEST_F(EditorTest, ResampleConvertsEverythingAndUndoesExactly) {
    const Flat original = Random(2, 8000, rng);
    Load(ed, original, 8000);
    ed.Markers().AddMarker(4000, 2000, "r", "Region");
    Select(ed, 2000, 6000);
    ed.Resample(16000, 1);
    EXPECT_EQ(ed.FileInfo().SampleRate(), 16000);
    EXPECT_EQ(ed.FileInfo().Channels(), 1);
    EXPECT_EQ(ed.Position().Length(), 16000);
    EXPECT_EQ(ed.Position().SelStart(), 4000);
    EXPECT_EQ(ed.Position().SelEnd(), 12000);
    ed.Markers().SelectMarker(1);
    EXPECT_EQ(ed.Markers().MarkerPosition(), 8000);
    EXPECT_EQ(ed.Markers().MarkerLength(), 4000);
    EXPECT_EQ(ed.FileInfo().Description(), "16000 Hz, 32-bit float, Mono");
    ed.Undo();
    EXPECT_EQ(ed.FileInfo().SampleRate(), 8000);
    EXPECT_EQ(Read(ed), original);
    EXPECT_THROW(ed.Resample(12, 2), sw::EngineError);
    EXPECT_THROW(ed.Resample(44100, 0), sw::EngineError);
}

TEST_F(EditorTest, CallsWithoutADocumentThrow) {
    EXPECT_FALSE(ed.IsOpen());
    EXPECT_EQ(ed.FileInfo().Description(), "");
    EXPECT_THROW(ed.Cut(), sw::EngineError);
    EXPECT_THROW(ed.Transform().InsertSilence(10), sw::EngineError);
    EXPECT_THROW(ed.Markers().AddMarker(0, 0, "x", "Bookmark"), sw::EngineError);
    EXPECT_THROW(ed.SaveFile((WorkDir() + "/x.wav").toStdString(), false, 1), sw::EngineError);
    EXPECT_THROW(ed.CreateNew(44100, 0), sw::EngineError);
    EXPECT_THROW(ed.Channel().SelectChannel(0), sw::EngineError);
    EXPECT_EQ(ed.FileInfo().GenreName(17), "Rock");
}
