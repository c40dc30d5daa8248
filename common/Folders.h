#pragma once
// The folders both programs work in. Every query takes a FolderEnvironment,
// which FolderEnvironment::System() fills from the running system and tests
// build by hand.
//
// Shell folders
//  - "AppData": $XDG_CONFIG_HOME when it is an absolute path, else
//    <home>/.config.
//  - "My Music" / "Personal": the XDG music / documents folder when it is set
//    and exists, else the home folder.
//  - Any other name, or an empty result: the home folder (where Windows
//    would answer "C:\").
//  Shell folders come without a trailing separator (the home folder "/" aside).
//
// The application data folder is "AppData" + "/" + the settings folder name
// of the display name + "/". The name has every "/" replaced by a blank; an
// empty name, "." or ".." gives the "AppData" folder itself.
//
// Temporary folder: among the mounted volumes that are valid, ready, not read
// only, local and writable by the user, the one with the most space available
// to the user (bytes / 2^30 compared as reals; the first in mount order wins a
// tie). Local means not a memory, pseudo or network file system: tmpfs,
// ramfs, proc, sysfs, devtmpfs, nfs, cifs, fuse.* (but fuseblk) and the like
// are skipped, so large recordings never land in memory. On the volume that
// holds the user's cache folder ($XDG_CACHE_HOME or <home>/.cache) the folder
// is <cache>/<name>/temp/; on any other volume it is
// <mount>/.<user>-<name>/temp/. The folder is created with mode 0700 and must end up a
// real directory owned by the user; when that fails, or no volume qualifies,
// it is <application data folder>/temp/.
#include <QList>
#include <QString>

namespace sw {

struct VolumeInfo {
    QString rootPath;        // mount point
    QString fileSystemType;  // "ext4", "tmpfs", ...
    qint64 bytesAvailable = 0;
    bool valid = true;
    bool ready = true;
    bool readOnly = false;
    // The user can make the temporary folder there: for the volume of the
    // cache folder, the home folder is writable; for others, the mount folder.
    bool userWritable = false;
};

struct FolderEnvironment {
    QString home;
    QString xdgConfigHome;    // raw value of $XDG_CONFIG_HOME (may be empty)
    QString xdgCacheHome;     // raw value of $XDG_CACHE_HOME (may be empty)
    QString musicLocation;    // QStandardPaths::MusicLocation (may be empty)
    QString documentsLocation;
    QString userName;
    QList<VolumeInfo> volumes;  // in mount order

    static FolderEnvironment System();
};

// Adds "/" unless the path already ends in one. An empty path stays empty.
QString IncludeTrailingSeparator(const QString& path);

// Creates the folder with all missing parents; true when it exists afterwards.
bool CreateFolderWithParents(const QString& path);

QString ShellFolder(const FolderEnvironment& env, const QString& name);
QString AppDataFolder(const FolderEnvironment& env);
QString MusicFolder(const FolderEnvironment& env);
QString DocumentsFolder(const FolderEnvironment& env);

QString SettingsFolderName(const QString& displayName);
// <AppData>/<name>/ (not created).
QString ApplicationDataFolder(const FolderEnvironment& env, const QString& displayName);
// The application data folder, created; when it cannot be created, the
// "AppData" folder itself (with a trailing separator).
QString ResolveSettingsFolder(const FolderEnvironment& env, const QString& displayName);

bool IsLocalFileSystem(const QString& fileSystemType);
// Index into env.volumes of the temporary folder's volume, or -1.
int ChooseTemporaryVolume(const QList<VolumeInfo>& volumes);
// Index of the volume whose mount point holds the path (the longest match), or -1.
int VolumeContaining(const QList<VolumeInfo>& volumes, const QString& path);
// $XDG_CACHE_HOME when absolute, else <home>/.cache.
QString CacheFolder(const FolderEnvironment& env);
// Where the temporary folder of that volume goes (with a trailing separator).
QString TemporaryFolderOn(const FolderEnvironment& env, const VolumeInfo& volume,
                          const QString& displayName);
// The temporary folder, created (mode 0700), with a trailing separator.
QString TemporaryFolder(const FolderEnvironment& env, const QString& displayName);

}  // namespace sw
