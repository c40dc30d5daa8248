#include "Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

QString IncludeTrailingSeparator(const QString& path) {
    if (path.isEmpty() || path.endsWith(u'/')) return path;
    return path + u'/';
}

bool CreateFolderWithParents(const QString& path) {
    if (path.isEmpty()) return false;
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}

namespace {

bool IsAbsolute(const QString& path) {
    return path.startsWith(u'/');
}

QString HomeOf(const FolderEnvironment& env) {
    return env.home.isEmpty() ? QStringLiteral("/") : env.home;
}

QString ExistingOrHome(const FolderEnvironment& env, const QString& path) {
    if (!path.isEmpty() && QFileInfo(path).isDir()) return path;
    return HomeOf(env);
}

// Drops trailing separators (but keeps "/").
QString WithoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

// Makes (or accepts) a directory that only the current user can enter.
bool MakePrivateDir(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    return ::chmod(p.constData(), 0700) == 0;
}

}  // namespace

QString ShellFolder(const FolderEnvironment& env, const QString& name) {
    if (name.compare(u"AppData", Qt::CaseInsensitive) == 0) return AppDataFolder(env);
    if (name.compare(u"My Music", Qt::CaseInsensitive) == 0) return MusicFolder(env);
    if (name.compare(u"Personal", Qt::CaseInsensitive) == 0) return DocumentsFolder(env);
    return HomeOf(env);
}

QString AppDataFolder(const FolderEnvironment& env) {
    if (IsAbsolute(env.xdgConfigHome)) return WithoutTrailingSeparator(env.xdgConfigHome);
    return IncludeTrailingSeparator(HomeOf(env)) + QStringLiteral(".config");
}

QString MusicFolder(const FolderEnvironment& env) {
    return WithoutTrailingSeparator(ExistingOrHome(env, env.musicLocation));
}

QString DocumentsFolder(const FolderEnvironment& env) {
    return WithoutTrailingSeparator(ExistingOrHome(env, env.documentsLocation));
}

QString CacheFolder(const FolderEnvironment& env) {
    if (IsAbsolute(env.xdgCacheHome)) return WithoutTrailingSeparator(env.xdgCacheHome);
    return IncludeTrailingSeparator(HomeOf(env)) + QStringLiteral(".cache");
}

QString SettingsFolderName(const QString& displayName) {
    QString name = displayName;
    name.replace(u'/', u' ');
    name.replace(QChar(0), u' ');
    if (name == u"." || name == u"..") return {};
    return name;
}

QString ApplicationDataFolder(const FolderEnvironment& env, const QString& displayName) {
    const QString appData = IncludeTrailingSeparator(AppDataFolder(env));
    const QString name = SettingsFolderName(displayName);
    return name.isEmpty() ? appData : appData + name + u'/';
}

QString ResolveSettingsFolder(const FolderEnvironment& env, const QString& displayName) {
    const QString folder = ApplicationDataFolder(env, displayName);
    if (CreateFolderWithParents(folder)) return folder;
    return IncludeTrailingSeparator(AppDataFolder(env));
}

bool IsLocalFileSystem(const QString& type) {
    static const char* const notLocal[] = {
        // memory and pseudo file systems
        "tmpfs", "ramfs", "devtmpfs", "proc", "sysfs", "devpts",
        "cgroup", "cgroup2", "securityfs", "debugfs", "tracefs",
        "pstore", "bpf", "configfs", "fusectl", "mqueue",
        "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "rpc_pipefs",
        "nsfs", "selinuxfs", "squashfs", "iso9660", "udf",
        // network file systems
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs",
        "ceph", "glusterfs", "9p", "davfs", "sshfs", "lustre",
    };
    if (type.isEmpty()) return false;
    if (type.startsWith(u"fuse.") || type == u"fuse") return false;  // fuseblk stays
    for (const char* n : notLocal)
        if (type.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return false;
    return true;
}

int ChooseTemporaryVolume(const QList<VolumeInfo>& volumes) {
    int best = -1;
    double bestGiB = 0;
    for (int i = 0; i < volumes.size(); ++i) {
        const VolumeInfo& v = volumes.at(i);
        if (!v.valid || !v.ready || v.readOnly || !v.userWritable) continue;
        if (!IsLocalFileSystem(v.fileSystemType)) continue;
        const double gib = double(v.bytesAvailable) / 1073741824.0;
        if (best < 0 || gib > bestGiB) {
            best = i;
            bestGiB = gib;
        }
    }
    return best;
}

int VolumeContaining(const QList<VolumeInfo>& volumes, const QString& path) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        const QString root = WithoutTrailingSeparator(volumes.at(i).rootPath);
        if (root.isEmpty()) continue;
        const bool holds = root == u"/" || path == root || path.startsWith(root + u'/');
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

QString TemporaryFolderOn(const FolderEnvironment& env, const VolumeInfo& volume,
                          const QString& displayName) {
    const QString name = SettingsFolderName(displayName);
    const QString cache = CacheFolder(env);
    const int cacheVolume = VolumeContaining(env.volumes, cache);
    if (cacheVolume >= 0 && env.volumes.at(cacheVolume).rootPath == volume.rootPath)
        return IncludeTrailingSeparator(cache) + (name.isEmpty() ? QString() : name + u'/') +
               QStringLiteral("temp/");
    QString user = env.userName;
    user.replace(u'/', u' ');
    return IncludeTrailingSeparator(volume.rootPath) + u'.' + user + u'-' + name +
           QStringLiteral("/temp/");
}

QString TemporaryFolder(const FolderEnvironment& env, const QString& displayName) {
    const int chosen = ChooseTemporaryVolume(env.volumes);
    if (chosen >= 0) {
        const QString folder = TemporaryFolderOn(env, env.volumes.at(chosen), displayName);
        const QString temp = WithoutTrailingSeparator(folder);
        const QString parent = QFileInfo(temp).path();
        const bool onCacheVolume = folder.startsWith(IncludeTrailingSeparator(CacheFolder(env)));
        const bool parentReady = onCacheVolume ? CreateFolderWithParents(parent)
                                               : MakePrivateDir(parent);
        if (parentReady && MakePrivateDir(temp)) return folder;
    }
    const QString appData = ApplicationDataFolder(env, displayName);
    CreateFolderWithParents(appData);
    const QString fallback = appData + QStringLiteral("temp");
    MakePrivateDir(fallback);
    return fallback + u'/';
}

FolderEnvironment FolderEnvironment::System() {
    FolderEnvironment env;
    env.home = QDir::homePath();
    env.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    env.xdgCacheHome = qEnvironmentVariable("XDG_CACHE_HOME");
    env.musicLocation = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    env.documentsLocation = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (const passwd* pw = ::getpwuid(::geteuid())) env.userName = QString::fromLocal8Bit(pw->pw_name);
    if (env.userName.isEmpty()) env.userName = qEnvironmentVariable("USER");

    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        VolumeInfo v;
        v.rootPath = s.rootPath();
        v.fileSystemType = QString::fromUtf8(s.fileSystemType());
        v.bytesAvailable = s.bytesAvailable();
        v.valid = s.isValid();
        v.ready = s.isReady();
        v.readOnly = s.isReadOnly();
        v.userWritable = ::access(QFile::encodeName(v.rootPath).constData(), W_OK) == 0;
        env.volumes << v;
    }
    // On the volume of the cache folder the folder goes under the home folder.
    const int cacheVolume = VolumeContaining(env.volumes, CacheFolder(env));
    if (cacheVolume >= 0) {
        const QString root = env.volumes.at(cacheVolume).rootPath;
        const bool homeWritable = ::access(QFile::encodeName(env.home).constData(), W_OK) == 0;
        for (VolumeInfo& v : env.volumes)
            if (v.rootPath == root) v.userWritable = homeWritable;
    }
    return env;
}

}  // namespace sw
