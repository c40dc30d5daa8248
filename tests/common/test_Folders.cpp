#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sw;

namespace {

constexpr qint64 GiB = qint64(1) << 30;

int Mode(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return int(st.st_mode & 07777);
}

TEST(IncludeTrailingSeparator, AddsOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u", "/home/u/"}, {"/home/u/", "/home/u/"}, {"/", "/"},
        {"rel", "rel/"},         {"a//", "a//"},           {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(IncludeTrailingSeparator(in), out) << in;
}

class FoldersTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    FolderEnvironment env;
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        env.home = tmp.filePath("home");
        ASSERT_TRUE(QDir().mkpath(env.home));
        env.userName = "ann";
    }
    QString Made(const QString& rel) {
        const QString p = tmp.filePath(rel);
        EXPECT_TRUE(QDir().mkpath(p));
        return p;
    }
};

TEST_F(FoldersTest, AppDataFollowsXdgConfigHome) {
    const struct {
        const char* xdg;
        QString expected;
    } cases[] = {
        {"", env.home + "/.config"},
        {"/etc/cfg/", "/etc/cfg"},
        {"/etc/cfg", "/etc/cfg"},
        {"relative/cfg", env.home + "/.config"},  // not absolute: ignored, as XDG says
    };
    for (const auto& c : cases) {
        env.xdgConfigHome = c.xdg;
        EXPECT_EQ(AppDataFolder(env), c.expected) << c.xdg;
        EXPECT_EQ(ShellFolder(env, "AppData"), c.expected) << c.xdg;
    }
}

TEST_F(FoldersTest, MusicAndDocumentsFallBackToHome) {
    const QString music = Made("home/Musik");
    const QString docs = Made("home/Dokumente");
    const QString gone = tmp.filePath("home/not-there");
    const struct {
        QString music, docs, expectedMusic, expectedDocs;
    } cases[] = {
        {music, docs, music, docs},
        {music + "/", docs + "/", music, docs},
        {"", docs, env.home, docs},
        {music, "", music, env.home},
        {gone, gone, env.home, env.home},
    };
    for (const auto& c : cases) {
        env.musicLocation = c.music;
        env.documentsLocation = c.docs;
        EXPECT_EQ(MusicFolder(env), c.expectedMusic) << c.music.toStdString();
        EXPECT_EQ(ShellFolder(env, "My Music"), c.expectedMusic);
        EXPECT_EQ(DocumentsFolder(env), c.expectedDocs) << c.docs.toStdString();
        EXPECT_EQ(ShellFolder(env, "Personal"), c.expectedDocs);
    }
    EXPECT_EQ(ShellFolder(env, "Desktop"), env.home);  // unknown: the "C:\" fallback
}

TEST_F(FoldersTest, ApplicationDataFolderUsesTheDisplayName) {
    env.xdgConfigHome = "/cfg";
    const std::pair<const char*, const char*> cases[] = {
        {"Soundwright", "/cfg/Soundwright/"},
        {"Audio/Video Converter", "/cfg/Audio Video Converter/"},
        {"", "/cfg/"},
        {"..", "/cfg/"},
        {".", "/cfg/"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(ApplicationDataFolder(env, name), expected) << name;
}

TEST_F(FoldersTest, SettingsFolderIsCreatedOrFallsBackToAppData) {
    env.xdgConfigHome = tmp.filePath("cfg");
    const QString folder = ResolveSettingsFolder(env, "Soundwright");
    EXPECT_EQ(folder, tmp.filePath("cfg/Soundwright/"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A file where the folder should be: the settings go into AppData itself.
    QFile blocker(tmp.filePath("cfg/Blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ResolveSettingsFolder(env, "Blocked"), tmp.filePath("cfg") + "/");
}

TEST_F(FoldersTest, CreateFolderWithParentsReportsSuccess) {
    EXPECT_TRUE(CreateFolderWithParents(tmp.filePath("a/b/c/d")));
    EXPECT_TRUE(QFileInfo(tmp.filePath("a/b/c/d")).isDir());
    EXPECT_TRUE(CreateFolderWithParents(tmp.filePath("a/b")));  // already there
    QFile file(tmp.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(CreateFolderWithParents(tmp.filePath("file")));
    EXPECT_FALSE(CreateFolderWithParents(tmp.filePath("file/sub")));
    EXPECT_FALSE(CreateFolderWithParents(""));
}

VolumeInfo Volume(const QString& root, const QString& type, double gib, bool writable = true) {
    VolumeInfo v;
    v.rootPath = root;
    v.fileSystemType = type;
    v.bytesAvailable = qint64(gib * double(GiB));
    v.userWritable = writable;
    return v;
}

TEST(ChooseTemporaryVolume, MostSpaceAmongUsableLocalVolumes) {
    VolumeInfo invalid = Volume("/invalid", "ext4", 900);
    invalid.valid = false;
    VolumeInfo notReady = Volume("/notready", "ext4", 900);
    notReady.ready = false;
    VolumeInfo readOnly = Volume("/ro", "ext4", 900);
    readOnly.readOnly = true;
    struct Case {
        const char* what;
        QList<VolumeInfo> volumes;
        int expected;
    };
    const Case cases[] = {
        {"none", {}, -1},
        {"most space wins", {Volume("/", "ext4", 10), Volume("/data", "xfs", 20)}, 1},
        {"fractions of a GiB count", {Volume("/", "ext4", 1.0), Volume("/d", "ext4", 1.5)}, 1},
        {"tie: first in mount order", {Volume("/a", "ext4", 5), Volume("/b", "btrfs", 5)}, 0},
        {"unusable volumes are skipped",
         {invalid, notReady, readOnly, Volume("/ok", "ext4", 1),
          Volume("/locked", "ext4", 900, false)},
         3},
        {"memory, pseudo and network file systems are skipped",
         {Volume("/tmp", "tmpfs", 900), Volume("/proc", "proc", 900),
          Volume("/net", "nfs4", 900), Volume("/mnt/ssh", "fuse.sshfs", 900),
          Volume("/smb", "cifs", 900), Volume("/", "overlay", 3)},
         5},
        {"fuseblk is a local disk", {Volume("/", "ext4", 3), Volume("/win", "fuseblk", 4)}, 1},
        {"nothing usable", {Volume("/tmp", "tmpfs", 9), Volume("/x", "ext4", 9, false)}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseTemporaryVolume(c.volumes), c.expected) << c.what;
}

TEST(VolumeContaining, LongestMountPointThatHoldsThePath) {
    const QList<VolumeInfo> v = {Volume("/", "ext4", 1), Volume("/home", "ext4", 1),
                                 Volume("/home/ann/big", "ext4", 1)};
    EXPECT_EQ(VolumeContaining(v, "/home/ann/.cache"), 1);
    EXPECT_EQ(VolumeContaining(v, "/homeland/x"), 0);
    EXPECT_EQ(VolumeContaining(v, "/home/ann/big"), 2);
    EXPECT_EQ(VolumeContaining(v, "/home/ann/bigger"), 1);
    EXPECT_EQ(VolumeContaining({Volume("/data", "ext4", 1)}, "/home"), -1);
}

TEST_F(FoldersTest, TemporaryFolderGoesOnTheChosenVolume) {
    env.xdgConfigHome = tmp.filePath("cfg");
    const QString data = Made("data");
    env.volumes = {Volume(tmp.path(), "ext4", 10), Volume(data, "ext4", 20)};

    // Another volume: a user folder at its top.
    const QString onData = TemporaryFolder(env, "Sound/Wright");
    EXPECT_EQ(onData, data + "/.ann-Sound Wright/temp/");
    EXPECT_TRUE(QFileInfo(onData).isDir());
    EXPECT_EQ(Mode(data + "/.ann-Sound Wright/temp"), 0700);
    EXPECT_EQ(Mode(data + "/.ann-Sound Wright"), 0700);

    // The volume of the cache folder: under the cache folder.
    env.volumes = {Volume(tmp.path(), "ext4", 30), Volume(data, "ext4", 20)};
    const QString inCache = TemporaryFolder(env, "Soundwright");
    EXPECT_EQ(inCache, env.home + "/.cache/Soundwright/temp/");
    EXPECT_EQ(Mode(env.home + "/.cache/Soundwright/temp"), 0700);
    EXPECT_EQ(TemporaryFolder(env, "Soundwright"), inCache);  // again: same folder

    env.xdgCacheHome = data + "/cache";
    EXPECT_EQ(TemporaryFolderOn(env, env.volumes[1], "Soundwright"), data + "/cache/Soundwright/temp/");
    EXPECT_EQ(TemporaryFolderOn(env, env.volumes[0], "Soundwright"),
              tmp.path() + "/.ann-Soundwright/temp/");
}

TEST_F(FoldersTest, TemporaryFolderFallsBackToApplicationData) {
    env.xdgConfigHome = tmp.filePath("cfg");
    const QString fallback = tmp.filePath("cfg/Soundwright/temp/");

    env.volumes = {Volume("/ram", "tmpfs", 100)};
    EXPECT_EQ(TemporaryFolder(env, "Soundwright"), fallback);
    EXPECT_EQ(Mode(tmp.filePath("cfg/Soundwright/temp")), 0700);

    // Someone else planted a link where the private folder goes.
    const QString data = Made("data");
    const QString target = Made("elsewhere");
    ASSERT_TRUE(QFile::link(target, data + "/.ann-Soundwright"));
    env.volumes = {Volume(data, "ext4", 100)};
    EXPECT_EQ(TemporaryFolder(env, "Soundwright"), fallback);
    EXPECT_FALSE(QFileInfo::exists(target + "/temp"));
}

TEST(FolderEnvironment, SystemReadsTheProcessEnvironment) {
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    const FolderEnvironment env = FolderEnvironment::System();
    if (old.isNull()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", old);
    EXPECT_EQ(AppDataFolder(env), "/somewhere/config");
    EXPECT_EQ(env.home, QDir::homePath());
    EXPECT_FALSE(env.userName.isEmpty());
    ASSERT_FALSE(env.volumes.isEmpty());
    EXPECT_GE(VolumeContaining(env.volumes, CacheFolder(env)), 0);
}

}  // namespace
