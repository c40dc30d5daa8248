#include "BlockStore.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fs = std::filesystem;

namespace sw {

namespace {

constexpr std::int64_t kDefaultStoreFileLimit = std::int64_t(256) << 20;
constexpr const char* kLockName = "lock";
constexpr const char* kNewFolderPrefix = ".soundwright-new-";

std::string ErrnoText(int err) { return std::strerror(err); }

[[noreturn]] void ThrowWriteError(const std::string& dir, int err) {
    throw EngineError("Cannot write audio data to the work folder \"" + dir + "\": " + ErrnoText(err));
}

// Folder removal that never throws (used from destructors).
void RemoveTree(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
}

}  // namespace

// One private subfolder and the lock that marks it as ours. It is removed when
// the store drops it and the last store file in it is gone.
struct BlockFolder {
    std::string workDir;   // the work folder it lives in (for messages)
    std::string path;
    int lockFd = -1;
    pid_t owner = 0;       // a forked child must never remove its parent's folder

    ~BlockFolder() { Remove(); }

    void Remove() {
        if (lockFd < 0) return;
        if (getpid() == owner) RemoveTree(path);
        ::close(lockFd);
        lockFd = -1;
    }
};

// One append-only file holding many blocks; deleted with its last block.
class StoreFile {
public:
    StoreFile(int fd, std::string path, std::shared_ptr<BlockFolder> folder)
        : fd_(fd), path_(std::move(path)), folder_(std::move(folder)), owner_(getpid()) {}
    ~StoreFile() {
        if (getpid() == owner_) ::unlink(path_.c_str());
        ::close(fd_);
    }
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    const std::string& WorkDir() const { return folder_->workDir; }

    std::int64_t appendPos = 0;   // guarded by the store's mutex

private:
    int fd_;
    std::string path_;
    std::shared_ptr<BlockFolder> folder_;
    pid_t owner_;
};

// ---------------------------------------------------------------------------
// Block

Block::~Block() = default;

void Block::Read(SampleCount offset, SampleCount count, float* out) const {
    if (offset < 0 || count < 0 || offset > frames_ || count > frames_ - offset)
        throw EngineError("Audio block read out of range");
    if (count == 0) return;
    if (!file_) {
        std::memset(out, 0, std::size_t(count) * sizeof(float));
        return;
    }
    const std::size_t sampleBytes = int16_ ? sizeof(std::int16_t) : sizeof(float);
    std::vector<std::int16_t> packed;
    char* dst = reinterpret_cast<char*>(out);
    if (int16_) {
        packed.resize(std::size_t(count));
        dst = reinterpret_cast<char*>(packed.data());
    }
    std::size_t left = std::size_t(count) * sampleBytes;
    off_t pos = off_t(byteOffset_ + offset * SampleCount(sampleBytes));
    while (left > 0) {
        const ssize_t n = ::pread(file_->Fd(), dst, left, pos);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EngineError("Cannot read audio data from the work folder \"" + file_->WorkDir() +
                              "\": " + ErrnoText(errno));
        }
        if (n == 0)
            throw EngineError("Cannot read audio data from the work folder \"" + file_->WorkDir() +
                              "\": the block file \"" + file_->Path() + "\" is cut short");
        dst += n;
        pos += n;
        left -= std::size_t(n);
    }
    if (int16_) {
        constexpr float kScale = 1.0f / 32768.0f;
        for (SampleCount i = 0; i < count; ++i) out[i] = float(packed[std::size_t(i)]) * kScale;
    }
}

std::shared_ptr<const Block> Block::Silence(SampleCount frames) {
    std::shared_ptr<Block> b(new Block);
    b->frames_ = frames > 0 ? frames : 0;
    return b;
}

// ---------------------------------------------------------------------------
// BlockStore

struct BlockStore::Impl {
    mutable std::mutex mu;
    std::string dir;
    std::shared_ptr<BlockFolder> folder;          // private folder inside dir, once made
    std::weak_ptr<StoreFile> current;             // file new blocks are appended to
    std::vector<std::weak_ptr<BlockFolder>> made; // every private folder made
    std::int64_t fileLimit = kDefaultStoreFileLimit;
    int folderCounter = 0;
    int fileCounter = 0;

    std::shared_ptr<BlockFolder> MakeFolder() {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) ThrowWriteError(dir, ec.value());
        if (!fs::is_directory(dir, ec)) ThrowWriteError(dir, ENOTDIR);

        BlockStore::RemoveStaleFolders(dir);

        // The folder gets its lock before it gets its name, so another copy
        // of the program never sees one of ours without a held lock.
        std::string tmpl = (fs::path(dir) / (std::string(kNewFolderPrefix) + "XXXXXX")).string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) ThrowWriteError(dir, errno);
        const std::string tmp(buf.data());
        const int fd = ::open((tmp + "/" + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            const int err = errno;
            RemoveTree(tmp);
            ThrowWriteError(dir, err);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            RemoveTree(tmp);
            ThrowWriteError(dir, err);
        }
        std::string final;
        for (;;) {
            final = (fs::path(dir) / (std::string(kFolderPrefix) + std::to_string(getpid()) + "-" +
                                      std::to_string(folderCounter++)))
                        .string();
            if (::rename(tmp.c_str(), final.c_str()) == 0) break;
            if (errno == EEXIST || errno == ENOTEMPTY) continue;   // name taken: try the next
            const int err = errno;
            ::close(fd);
            RemoveTree(tmp);
            ThrowWriteError(dir, err);
        }
        auto f = std::make_shared<BlockFolder>();
        f->workDir = dir;
        f->path = final;
        f->lockFd = fd;
        f->owner = getpid();
        made.push_back(f);
        return f;
    }

    std::shared_ptr<StoreFile> NewFile() {
        for (int attempt = 0;; ++attempt) {
            if (!folder) folder = MakeFolder();
            const std::string path = folder->path + "/blocks-" + std::to_string(fileCounter++) + ".dat";
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0) return std::make_shared<StoreFile>(fd, path, folder);
            const int err = errno;
            if (err == ENOENT && attempt == 0) {
                // Our folder was removed behind our back: make a new one.
                folder.reset();
                continue;
            }
            ThrowWriteError(dir, err);
        }
    }
};

BlockStore::BlockStore() : d_(std::make_unique<Impl>()) {
    std::error_code ec;
    fs::path tmp = fs::temp_directory_path(ec);
    d_->dir = ec ? std::string("/tmp") : tmp.string();
}

BlockStore::~BlockStore() { Shutdown(); }

BlockStore& BlockStore::Instance() {
    static BlockStore store;
    return store;
}

void BlockStore::SetDirectory(const std::string& dir) {
    std::string d = dir;
    if (d.empty()) {
        std::error_code ec;
        fs::path tmp = fs::temp_directory_path(ec);
        d = ec ? std::string("/tmp") : tmp.string();
    }
    std::lock_guard lock(d_->mu);
    if (d == d_->dir) return;
    d_->dir = d;
    // Blocks already written keep their files (and those keep their folder).
    d_->folder.reset();
    d_->current.reset();
}

std::string BlockStore::Directory() const {
    std::lock_guard lock(d_->mu);
    return d_->dir;
}

std::string BlockStore::PrivateFolder() const {
    std::lock_guard lock(d_->mu);
    return d_->folder ? d_->folder->path : std::string();
}

void BlockStore::SetStoreFileLimit(std::int64_t bytes) {
    std::lock_guard lock(d_->mu);
    d_->fileLimit = bytes > 0 ? bytes : kDefaultStoreFileLimit;
    d_->current.reset();
}

namespace {

// One pass over a summary interval: min and max (NaN ignored), an OR of the
// raw bits (0 means true silence; -0.0 is not silence), and whether any sample
// is not an exact 16-bit value (NaN, out of range, a fraction, or -0.0, which
// would come back as +0.0).
struct ScanResult {
    float min, max;
    std::uint32_t bitsOr;
    bool inexact16;
};

ScanResult Scan(const float* s, SampleCount n) {
    float mn = std::numeric_limits<float>::infinity();
    float mx = -std::numeric_limits<float>::infinity();
    std::uint32_t bitsOr = 0;
    std::uint32_t inexact = 0;
    SampleCount j = 0;
#if defined(__SSE2__)
    __m128 vmn = _mm_set1_ps(mn), vmx = _mm_set1_ps(mx);
    __m128i vbits = _mm_setzero_si128(), vbad = _mm_setzero_si128();
    const __m128 scale = _mm_set1_ps(32768.0f), lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
    const __m128i negZero = _mm_set1_epi32(int(0x80000000u));
    for (; j + 4 <= n; j += 4) {
        const __m128 v = _mm_loadu_ps(s + j);
        vmn = _mm_min_ps(v, vmn);   // a NaN in v keeps the old value
        vmx = _mm_max_ps(v, vmx);
        const __m128i bits = _mm_castps_si128(v);
        vbits = _mm_or_si128(vbits, bits);
        const __m128 scaled = _mm_mul_ps(v, scale);
        const __m128 clamped = _mm_min_ps(_mm_max_ps(scaled, lo), hi);   // NaN becomes -32768
        const __m128 back = _mm_cvtepi32_ps(_mm_cvttps_epi32(clamped));
        vbad = _mm_or_si128(vbad, _mm_castps_si128(_mm_cmpneq_ps(back, scaled)));
        vbad = _mm_or_si128(vbad, _mm_cmpeq_epi32(bits, negZero));
    }
    alignas(16) float fmn[4], fmx[4];
    alignas(16) std::uint32_t ub[4], ubad[4];
    _mm_store_ps(fmn, vmn);
    _mm_store_ps(fmx, vmx);
    _mm_store_si128(reinterpret_cast<__m128i*>(ub), vbits);
    _mm_store_si128(reinterpret_cast<__m128i*>(ubad), vbad);
    for (int k = 0; k < 4; ++k) {
        mn = std::min(mn, fmn[k]);
        mx = std::max(mx, fmx[k]);
        bitsOr |= ub[k];
        inexact |= ubad[k];
    }
#endif
    for (; j < n; ++j) {
        const float v = s[j];
        mn = std::min(mn, v);
        mx = std::max(mx, v);
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        bitsOr |= bits;
        const float scaled = v * 32768.0f;
        const float clamped = std::max(-32768.0f, std::min(32767.0f, scaled));
        // A NaN clamps to a finite value, so the conversion is defined and the
        // comparison with the NaN fails.
        if (float(std::int32_t(clamped)) != scaled || bits == 0x80000000u)
            inexact = 1;
    }
    return {mn, mx, bitsOr, inexact != 0};
}

}  // namespace

BlockPtr BlockStore::Write(const float* samples, SampleCount frames) {
    if (frames < 0 || frames > kBlockFrames)
        throw EngineError("Audio block of " + std::to_string(frames) + " frames is out of range");
    if (frames == 0) return Block::Silence(0);

    // Summaries first; they also tell whether the block is all silence.
    std::vector<MinMax> summary;
    summary.reserve(std::size_t((frames + kSummaryFrames - 1) / kSummaryFrames));
    std::uint32_t bitsOr = 0;
    bool exact16 = true;
    float gmin = std::numeric_limits<float>::infinity();
    float gmax = -std::numeric_limits<float>::infinity();
    for (SampleCount i = 0; i < frames; i += kSummaryFrames) {
        const SampleCount end = std::min<SampleCount>(frames, i + kSummaryFrames);
        const ScanResult r = Scan(samples + i, end - i);
        bitsOr |= r.bitsOr;
        if (r.inexact16) exact16 = false;
        float mn = r.min, mx = r.max;
        if (mn > mx) mn = mx = 0.0f;   // nothing but NaN
        summary.push_back({mn, mx});
        gmin = std::min(gmin, mn);
        gmax = std::max(gmax, mx);
    }
    if (bitsOr == 0) return Block::Silence(frames);

    std::vector<std::int16_t> packed;
    const char* payload = reinterpret_cast<const char*>(samples);
    if (exact16) {
        packed.resize(std::size_t(frames));
        for (SampleCount i = 0; i < frames; ++i)
            packed[std::size_t(i)] = std::int16_t(std::int32_t(samples[i] * 32768.0f));
        payload = reinterpret_cast<const char*>(packed.data());
    }
    const std::int64_t bytes = frames * std::int64_t(exact16 ? sizeof(std::int16_t) : sizeof(float));
    std::shared_ptr<StoreFile> file;
    std::int64_t offset = 0;
    std::string dir;
    {
        std::lock_guard lock(d_->mu);
        file = d_->current.lock();
        if (!file || (file->appendPos > 0 && file->appendPos + bytes > d_->fileLimit)) {
            file = d_->NewFile();
            d_->current = file;
        }
        offset = file->appendPos;
        file->appendPos += bytes;
        dir = d_->dir;
    }

    // Appends to distinct ranges may run in parallel.
    const char* src = payload;
    std::size_t left = std::size_t(bytes);
    off_t pos = off_t(offset);
    while (left > 0) {
        const ssize_t n = ::pwrite(file->Fd(), src, left, pos);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowWriteError(file->WorkDir(), errno);
        }
        if (n == 0) ThrowWriteError(file->WorkDir(), ENOSPC);
        src += n;
        pos += n;
        left -= std::size_t(n);
    }

    std::shared_ptr<Block> b(new Block);
    b->file_ = std::move(file);
    b->byteOffset_ = offset;
    b->frames_ = frames;
    b->int16_ = exact16;
    b->summary_ = std::move(summary);
    b->overall_ = {gmin, gmax};
    return b;
}

void BlockStore::RemoveStaleFolders(const std::string& dir) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    const std::string prefix = kFolderPrefix;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code sec;
        if (!fs::is_directory(it->symlink_status(sec))) continue;   // never follow links
        const std::string sub = it->path().string();
        const int fd = ::open((sub + "/" + kLockName).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            // Ours always carry their lock from the start; one without is debris.
            if (errno == ENOENT) RemoveTree(sub);
            continue;
        }
        // A held lock means a live program (possibly this one) uses the folder.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) RemoveTree(sub);
        ::close(fd);
    }
}

void BlockStore::Shutdown() {
    std::lock_guard lock(d_->mu);
    for (auto& w : d_->made)
        if (auto f = w.lock()) f->Remove();
    d_->made.clear();
    d_->folder.reset();
    d_->current.reset();
}

}  // namespace sw
