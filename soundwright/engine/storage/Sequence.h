#pragma once
// The samples of one channel: a persistent (immutable, structure-sharing)
// balanced tree of block slices. Every edit returns a new Sequence and costs
// O(log n) in the number of slices; copies are O(1).
#include <memory>
#include <vector>

#include "BlockStore.h"

namespace sw {

class Sequence {
public:
    Sequence() = default;
    static Sequence FromBlock(BlockPtr block);            // whole block
    static Sequence Silence(SampleCount frames);

    SampleCount Length() const;

    Sequence Slice(SampleCount pos, SampleCount len) const;   // clamped
    Sequence Erase(SampleCount pos, SampleCount len) const;
    Sequence Insert(SampleCount pos, const Sequence& other) const;
    Sequence Replace(SampleCount pos, SampleCount len, const Sequence& other) const;
    Sequence Append(const Sequence& other) const;

    // Reads frames [pos, pos+count) into out (count is clamped to the end;
    // returns the frames read).
    SampleCount Read(SampleCount pos, SampleCount count, float* out) const;

    // Min/max over [pos, pos+count), using block summaries where a summary
    // interval lies inside the range and the samples elsewhere.
    MinMax Peak(SampleCount pos, SampleCount count) const;

    // Number of slices (for tests and diagnostics).
    std::size_t SliceCount() const;
    // Height of the slice tree (0 when empty; for tests and diagnostics).
    int Depth() const;

    struct Node;
private:
    explicit Sequence(std::shared_ptr<const Node> root) : root_(std::move(root)) {}
    std::shared_ptr<const Node> root_;
};

// Builds a sequence from streamed samples, writing full blocks to the store.
class SequenceBuilder {
public:
    explicit SequenceBuilder(BlockStore& store = BlockStore::Instance());
    void Append(const float* samples, SampleCount frames);
    SampleCount Length() const;   // frames appended so far
    Sequence Finish();   // flushes the partial block; the builder starts afresh
private:
    BlockStore& store_;
    std::vector<float> pending_;
    Sequence seq_;
};

}  // namespace sw
