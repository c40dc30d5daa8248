// The block store: files in the work folder, their lifetime, the private
// subfolder and its lock, failures of the disk.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/BlockStore.h"

using namespace sw;
namespace fs = std::filesystem;

namespace {

std::vector<float> RandomSamples(unsigned seed, std::size_t n) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v) x = d(rng);
    return v;
}

std::vector<float> ReadBlock(const Block& b) {
    std::vector<float> out(std::size_t(b.Frames()));
    b.Read(0, b.Frames(), out.data());
    return out;
}

// Store files (everything but the lock) in a private folder.
int StoreFileCount(const std::string& folder) {
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().filename() != "lock") ++n;
    return n;
}

std::vector<std::string> OurFolders(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind(BlockStore::kFolderPrefix, 0) == 0) out.push_back(e.path().string());
    return out;
}

class BlockStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        store().SetDirectory(path());
    }
    void TearDown() override {
        store().SetStoreFileLimit(0);
        store().Shutdown();
    }
    static BlockStore& store() { return BlockStore::Instance(); }
    std::string path() const { return dir_.path().toStdString(); }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(BlockStoreTest, WritesAndReadsBackWithSummaries) {
    for (SampleCount frames : {SampleCount(1), SampleCount(255), SampleCount(1000), SampleCount(kBlockFrames)}) {
        SCOPED_TRACE(frames);
        const auto v = RandomSamples(unsigned(frames), std::size_t(frames));
        const BlockPtr b = store().Write(v.data(), frames);
        ASSERT_EQ(b->Frames(), frames);
        EXPECT_FALSE(b->IsSilence());
        EXPECT_EQ(ReadBlock(*b), v);

        // A part from the middle.
        if (frames > 10) {
            std::vector<float> part(5);
            b->Read(frames / 2, 5, part.data());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), v.begin() + frames / 2));
        }

        const auto& sum = b->Summary();
        ASSERT_EQ(SampleCount(sum.size()), (frames + kSummaryFrames - 1) / kSummaryFrames);
        for (std::size_t i = 0; i < sum.size(); ++i) {
            const auto first = v.begin() + SampleCount(i) * kSummaryFrames;
            const auto last = v.begin() + std::min<SampleCount>(frames, SampleCount(i + 1) * kSummaryFrames);
            EXPECT_EQ(sum[i].min, *std::min_element(first, last)) << i;
            EXPECT_EQ(sum[i].max, *std::max_element(first, last)) << i;
        }
        EXPECT_EQ(b->Overall().min, *std::min_element(v.begin(), v.end()));
        EXPECT_EQ(b->Overall().max, *std::max_element(v.begin(), v.end()));
    }
    const auto folder = store().PrivateFolder();
    EXPECT_EQ(fs::path(folder).parent_path(), fs::path(path()));
    EXPECT_TRUE(fs::exists(fs::path(folder) / "lock"));
}

TEST_F(BlockStoreTest, RejectsBadSizesAndReadsOutsideABlock) {
    std::vector<float> v(kBlockFrames + 1, 0.5f);
    for (SampleCount bad : {SampleCount(-1), SampleCount(kBlockFrames + 1)})
        EXPECT_THROW(store().Write(v.data(), bad), EngineError) << bad;
    EXPECT_EQ(store().Write(v.data(), 0)->Frames(), 0);

    const BlockPtr b = store().Write(v.data(), 100);
    float out[200];
    struct Range { SampleCount off, count; };
    for (const Range r : {Range{-1, 5}, Range{90, 11}, Range{101, 0}, Range{0, -1}})
        EXPECT_THROW(b->Read(r.off, r.count, out), EngineError) << r.off << "," << r.count;
    EXPECT_NO_THROW(b->Read(100, 0, out));
}

TEST_F(BlockStoreTest, ZerosAreStoredAsSilenceWithoutAFile) {
    const std::vector<float> zeros(5000, 0.0f);
    const BlockPtr b = store().Write(zeros.data(), 5000);
    EXPECT_TRUE(b->IsSilence());
    EXPECT_EQ(b->Frames(), 5000);
    EXPECT_EQ(ReadBlock(*b), zeros);
    EXPECT_EQ(store().PrivateFolder(), "");

    // Negative zero is a sample value of its own and is kept.
    std::vector<float> negZero(10, 0.0f);
    negZero[3] = -0.0f;
    const BlockPtr n = store().Write(negZero.data(), 10);
    EXPECT_FALSE(n->IsSilence());
    EXPECT_TRUE(std::signbit(ReadBlock(*n)[3]));
}

TEST_F(BlockStoreTest, PacksBlocksIntoFilesAndDeletesAFileWithItsLastBlock) {
    // Four blocks of 256 KiB go into one 1 MiB store file.
    store().SetStoreFileLimit(std::int64_t(1) << 20);
    std::vector<BlockPtr> blocks;
    for (int i = 0; i < 10; ++i) {
        const auto v = RandomSamples(unsigned(100 + i), kBlockFrames);
        blocks.push_back(store().Write(v.data(), kBlockFrames));
    }
    const std::string folder = store().PrivateFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(StoreFileCount(folder), 3);

    for (int i = 0; i < 3; ++i) blocks[std::size_t(i)].reset();
    EXPECT_EQ(StoreFileCount(folder), 3) << "a file went while one of its blocks lives";
    blocks[3].reset();
    EXPECT_EQ(StoreFileCount(folder), 2);

    // The rest still read their own samples.
    for (int i = 4; i < 10; ++i)
        EXPECT_EQ(ReadBlock(*blocks[std::size_t(i)]), RandomSamples(unsigned(100 + i), kBlockFrames)) << i;

    blocks.clear();
    EXPECT_EQ(StoreFileCount(folder), 0);
    // The folder itself stays for the next blocks.
    EXPECT_TRUE(fs::exists(fs::path(folder) / "lock"));
    const auto v = RandomSamples(1, 10);
    const BlockPtr again = store().Write(v.data(), 10);
    EXPECT_EQ(ReadBlock(*again), v);
    EXPECT_EQ(StoreFileCount(folder), 1);
}

TEST_F(BlockStoreTest, NewFolderTakesNewBlocksOnly) {
    const auto va = RandomSamples(1, 3000), vb = RandomSamples(2, 3000);
    BlockPtr a = store().Write(va.data(), 3000);
    const std::string folderA = store().PrivateFolder();

    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    const std::string dirB = other.path().toStdString() + "/not/yet/there";
    store().SetDirectory(dirB);
    EXPECT_EQ(store().Directory(), dirB);
    EXPECT_EQ(store().PrivateFolder(), "");
    const BlockPtr b = store().Write(vb.data(), 3000);
    const std::string folderB = store().PrivateFolder();
    EXPECT_EQ(fs::path(folderB).parent_path(), fs::path(dirB));
    EXPECT_EQ(StoreFileCount(folderB), 1);

    EXPECT_EQ(ReadBlock(*a), va);
    EXPECT_EQ(ReadBlock(*b), vb);
    EXPECT_TRUE(fs::exists(folderA));
    // The old folder goes with its last block.
    a.reset();
    EXPECT_FALSE(fs::exists(folderA));
    EXPECT_EQ(ReadBlock(*b), vb);
}

TEST_F(BlockStoreTest, ShutdownRemovesThePrivateFolder) {
    const auto v = RandomSamples(3, 2000);
    const BlockPtr b = store().Write(v.data(), 2000);
    const std::string folder = store().PrivateFolder();
    ASSERT_TRUE(fs::exists(folder));
    store().Shutdown();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(OurFolders(path()).empty());
    // A block alive at that moment keeps its open file.
    EXPECT_EQ(ReadBlock(*b), v);
    // Writing again makes a fresh folder.
    const BlockPtr c = store().Write(v.data(), 2000);
    EXPECT_NE(store().PrivateFolder(), folder);
    EXPECT_EQ(ReadBlock(*c), v);
}

TEST_F(BlockStoreTest, WorkerThreadsWriteWhileOthersRead) {
    store().SetStoreFileLimit(std::int64_t(4) << 20);   // a few file changes on the way
    const auto early = RandomSamples(999, kBlockFrames);
    const BlockPtr mine = store().Write(early.data(), kBlockFrames);
    std::atomic<int> bad{0};
    auto worker = [&](unsigned base) {
        std::vector<BlockPtr> kept;
        for (unsigned i = 0; i < 60; ++i) {
            const auto v = RandomSamples(base + i, std::size_t(1000 + i * 997 % kBlockFrames));
            BlockPtr b = store().Write(v.data(), SampleCount(v.size()));
            if (ReadBlock(*b) != v) ++bad;
            if (i % 3) kept.push_back(std::move(b));   // some die at once
        }
        for (unsigned i = 0, k = 0; i < 60; ++i)
            if (i % 3 && ReadBlock(*kept[k++]) != RandomSamples(base + i, std::size_t(1000 + i * 997 % kBlockFrames)))
                ++bad;
    };
    std::thread t1(worker, 1000u), t2(worker, 5000u);
    for (int i = 0; i < 50; ++i)
        if (ReadBlock(*mine) != early) ++bad;
    t1.join();
    t2.join();
    EXPECT_EQ(bad.load(), 0);
}

// A folder counts as in use while any process holds its lock, including a
// second copy of the program; only the others are removed.
TEST_F(BlockStoreTest, RemovesOnlyFoldersWhoseLockNobodyHolds) {
    const auto v = RandomSamples(4, 100);
    const BlockPtr b = store().Write(v.data(), 100);
    const std::string ours = store().PrivateFolder();

    const fs::path dir = path();
    auto makeFolder = [&](const std::string& name, bool withLock) {
        fs::create_directories(dir / name);
        QFile f(QString::fromStdString((dir / name / "blocks-0.dat").string()));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("data");
        if (withLock) {
            QFile l(QString::fromStdString((dir / name / "lock").string()));
            EXPECT_TRUE(l.open(QIODevice::WriteOnly));
        }
        return (dir / name).string();
    };
    const std::string prefix = BlockStore::kFolderPrefix;
    const std::string stale = makeFolder(prefix + "4000001-0", true);
    const std::string debris = makeFolder(prefix + "4000002-0", false);
    const std::string live = makeFolder(prefix + "4000003-0", true);
    const std::string foreign = makeFolder("someone-elses-folder", false);
    const std::string outside = makeFolder("target", true);
    fs::create_directory_symlink(outside, dir / (prefix + "4000004-0"));

    // A second running copy holds the lock of `live`.
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const std::string lockPath = live + "/lock";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(release[1]);   // else the read below never sees the end
        ::close(ready[0]);
        const int fd = ::open(lockPath.c_str(), O_RDWR);
        const char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1);
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');

    BlockStore::RemoveStaleFolders(path());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_FALSE(fs::exists(debris));
    EXPECT_TRUE(fs::exists(live + "/blocks-0.dat"));
    EXPECT_TRUE(fs::exists(foreign + "/blocks-0.dat"));
    EXPECT_TRUE(fs::exists(outside + "/blocks-0.dat")) << "followed a link";
    EXPECT_TRUE(fs::exists(ours + "/lock"));
    EXPECT_EQ(ReadBlock(*b), v);

    // Once the other copy ends, its folder is stale.
    close(release[1]);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    BlockStore::RemoveStaleFolders(path());
    EXPECT_FALSE(fs::exists(live));
    EXPECT_TRUE(fs::exists(ours + "/lock"));
}

TEST_F(BlockStoreTest, FirstWriteClearsStaleFoldersOfTheWorkFolder) {
    const fs::path stale = fs::path(path()) / (std::string(BlockStore::kFolderPrefix) + "4000009-3");
    fs::create_directories(stale);
    QFile(QString::fromStdString((stale / "lock").string())).open(QIODevice::WriteOnly);
    const auto v = RandomSamples(5, 10);
    const BlockPtr b = store().Write(v.data(), 10);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_EQ(OurFolders(path()).size(), 1u);
}

TEST_F(BlockStoreTest, UnusableWorkFolderFailsWithAClearMessage) {
    const std::string file = path() + "/plain-file";
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const std::string bad = file + "/work";
    store().SetDirectory(bad);
    const auto v = RandomSamples(6, 100);
    try {
        store().Write(v.data(), 100);
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot write audio data to the work folder \"" + bad + "\": Not a directory");
    }
}

TEST_F(BlockStoreTest, FullDiskFailsCleanlyAndKeepsEarlierBlocks) {
    const std::string mnt = path() + "/tiny";
    fs::create_directories(mnt);
    if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=600k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
    struct Unmount {
        std::string p;
        ~Unmount() { ::umount2(p.c_str(), MNT_DETACH); }
    } unmount{mnt};

    store().SetDirectory(mnt);
    std::vector<BlockPtr> written;
    std::string error;
    for (int i = 0; i < 10 && error.empty(); ++i) {
        const auto v = RandomSamples(unsigned(i), kBlockFrames);
        try {
            written.push_back(store().Write(v.data(), kBlockFrames));
        } catch (const EngineError& e) {
            error = e.what();
        }
    }
    EXPECT_EQ(error, "Cannot write audio data to the work folder \"" + mnt + "\": No space left on device");
    ASSERT_FALSE(written.empty());
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(ReadBlock(*written[i]), RandomSamples(unsigned(i), kBlockFrames)) << i;
    written.clear();
    store().Shutdown();
}

// A program that ends normally leaves no private folder behind. The test
// runs this executable a second time as that program.
TEST(BlockStoreExit, ProgramEndRemovesThePrivateFolder) {
    const QByteArray childDir = qgetenv("SW_STORAGE_EXIT_CHILD_DIR");
    if (!childDir.isEmpty()) {
        BlockStore::Instance().SetDirectory(childDir.toStdString());
        const auto v = RandomSamples(7, 100);
        static BlockPtr keep = BlockStore::Instance().Write(v.data(), 100);   // alive until exit
        ASSERT_FALSE(BlockStore::Instance().PrivateFolder().empty());
        std::printf("FOLDER=%s\n", BlockStore::Instance().PrivateFolder().c_str());
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("SW_STORAGE_EXIT_CHILD_DIR", dir.path());
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {"--gtest_filter=BlockStoreExit.ProgramEndRemovesThePrivateFolder"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    ASSERT_EQ(p.exitCode(), 0) << out.toStdString();
    ASSERT_TRUE(out.contains("FOLDER=" + dir.path())) << out.toStdString();
    EXPECT_TRUE(OurFolders(dir.path().toStdString()).empty()) << out.toStdString();
}

// Audio decoded from 16-bit files is stored at half size; what comes back
// must still be bit for bit what went in, and anything that is not an exact
// 16-bit value must keep the full float encoding.
TEST_F(BlockStoreTest, SixteenBitValuesAreStoredCompactlyAndReadBackExactly) {
    struct Case { const char* name; std::vector<float> samples; };
    std::vector<float> ramp(5000);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = float(int(i * 13 % 65536) - 32768) / 32768.0f;
    std::vector<float> withNegZero = ramp;
    withNegZero[17] = -0.0f;
    std::vector<float> withNaN = ramp;
    withNaN[4000] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> withFraction = ramp;
    withFraction[3] = 0.3f;
    std::vector<float> withOne = ramp;
    withOne[9] = 1.0f;   // +1.0 is not a 16-bit value (the top is 32767/32768)
    const Case cases[] = {{"exact", ramp}, {"negative zero", withNegZero}, {"nan", withNaN},
                          {"fraction", withFraction}, {"plus one", withOne}};
    for (const Case& c : cases) {
        const BlockPtr b = BlockStore::Instance().Write(c.samples.data(), SampleCount(c.samples.size()));
        const std::vector<float> back = ReadBlock(*b);
        ASSERT_EQ(back.size(), c.samples.size()) << c.name;
        EXPECT_EQ(std::memcmp(back.data(), c.samples.data(), back.size() * sizeof(float)), 0) << c.name;
    }
}
