#pragma once
// Shared helpers of the editor tests: a work folder for blocks, documents
// filled from memory and read back flat.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "editor/TAudioEditor2.h"
#include "storage/BlockStore.h"

namespace edtest {

using Flat = std::vector<std::vector<float>>;

// One work folder for the whole test program (the block store is process-wide).
inline QString WorkDir() {
    static QTemporaryDir dir;
    return dir.path();
}

inline sw::AudioClip ClipOf(const Flat& channels, int rate) {
    sw::PlanarBuffer buf;
    buf.sampleRate = rate;
    buf.channels = channels;
    return sw::AudioClip::FromPlanar(buf, sw::BlockStore::Instance());
}

inline Flat Random(int channels, std::size_t frames, std::mt19937& rng) {
    std::uniform_real_distribution<float> dist(-0.9f, 0.9f);
    Flat f(static_cast<std::size_t>(channels), std::vector<float>(frames));
    for (auto& ch : f)
        for (auto& v : ch) v = dist(rng);
    return f;
}

// A new document holding `channels` (its history: the one paste).
inline void Load(sw::TAudioEditor2& ed, const Flat& channels, int rate) {
    ed.CreateNew(rate, int(channels.size()));
    ed.PasteArray(ClipOf(channels, rate));
}

inline Flat Read(const sw::TAudioEditor2& ed, int channels, sw::SampleCount length) {
    Flat f(static_cast<std::size_t>(channels), std::vector<float>(static_cast<std::size_t>(length)));
    for (int c = 0; c < channels; ++c)
        if (length > 0) ed.ReadChannel(c, 0, length, f[static_cast<std::size_t>(c)].data());
    return f;
}

inline Flat Read(sw::TAudioEditor2& ed) {
    return Read(ed, ed.FileInfo().Channels(), ed.Position().Length());
}

inline void Select(sw::TAudioEditor2& ed, sw::SampleCount a, sw::SampleCount b) {
    ed.Position().SetHasSelection(true);
    ed.Position().SetSelStart(a);
    ed.Position().SetSelEnd(b);
}

inline void Cursor(sw::TAudioEditor2& ed, sw::SampleCount p) {
    ed.Position().SetHasSelection(false);
    ed.Position().SetCurrentPosition(p);
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { ed.SetTempDirectory(WorkDir().toStdString()); }
    sw::TAudioEditor2 ed;
    std::mt19937 rng{12345};
};

}  // namespace edtest
