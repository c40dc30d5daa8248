#pragma once
// Immutable sample blocks kept in files of the work folder.
//
// A block holds the float samples of one channel (up to kBlockFrames) plus
// min/max summaries per kSummaryFrames for drawing. Blocks are written once
// into append-only store files and read on demand; nothing of the samples
// stays resident. A store file is deleted when the last block in it dies.
//
// The store owns a private subfolder of the work folder
// ("<dir>/soundwright-blocks-<pid>-<n>"), guarded by a lock file inside it that
// this process holds (flock). When the store first writes into a folder,
// subfolders there whose lock no live process holds are removed. Changing the
// folder affects new blocks only; blocks already written stay readable, and
// the private subfolder of the old folder goes away with its last block.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../EngineTypes.h"

namespace sw {

constexpr int kBlockFrames = 65536;
constexpr int kSummaryFrames = 256;

struct MinMax { float min = 0, max = 0; };

class StoreFile;  // one append-only file (internal)

class Block {
public:
    SampleCount Frames() const { return frames_; }
    // Copies frames [offset, offset+count) into out. Throws EngineError on an I/O failure.
    void Read(SampleCount offset, SampleCount count, float* out) const;
    // Summary of every kSummaryFrames frames (the last one may be shorter).
    // Empty for a silence block, whose extremes are all zero.
    const std::vector<MinMax>& Summary() const { return summary_; }
    MinMax Overall() const { return overall_; }
    bool IsSilence() const { return !file_; }

    // A block of silence: no file, reads as zeros.
    static std::shared_ptr<const Block> Silence(SampleCount frames);

    ~Block();

private:
    friend class BlockStore;
    Block() = default;
    std::shared_ptr<StoreFile> file_;
    std::int64_t byteOffset_ = 0;
    SampleCount frames_ = 0;
    // Samples that are all exact 16-bit values (audio decoded from 16-bit
    // files) are kept as int16 and turned back into the same floats on read:
    // half the bytes on disk, bit for bit the same samples.
    bool int16_ = false;
    std::vector<MinMax> summary_;
    MinMax overall_;
};

using BlockPtr = std::shared_ptr<const Block>;

class BlockStore {
public:
    // The process-wide store.
    static BlockStore& Instance();

    // The work folder; a private subfolder is made in it on first write.
    void SetDirectory(const std::string& dir);
    std::string Directory() const;
    // The private subfolder now in use ("" before the first write).
    std::string PrivateFolder() const;

    // Writes frames (at most kBlockFrames) as a new block. Thread-safe.
    // All-zero input gives a silence block, which needs no file. Throws
    // EngineError when the work folder cannot take the data.
    BlockPtr Write(const float* samples, SampleCount frames);

    // Largest size of one store file before a new one is started
    // (256 MiB unless changed; small values are useful in tests).
    void SetStoreFileLimit(std::int64_t bytes);

    // The prefix of the private subfolders' names.
    static constexpr const char* kFolderPrefix = "soundwright-blocks-";

    // Removes subfolders of `dir` left by programs that no longer run.
    static void RemoveStaleFolders(const std::string& dir);

    // Removes the private subfolders made by this store (called at exit).
    // Blocks still alive keep their open files and stay readable; new writes
    // make a new private subfolder.
    void Shutdown();

private:
    BlockStore();
    ~BlockStore();
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace sw
