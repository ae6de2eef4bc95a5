#include "storage_disks.h"

#include "paths.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace kesto {

namespace {

bool isBelow(const QString &path, const QString &dir)
{
    return path == dir || path.startsWith(dir + QLatin1Char('/'));
}

// File systems that hold no user files, or that the kernel and the session manager keep for
// themselves.
bool isPseudo(const QStorageInfo &volume)
{
    static const QSet<QByteArray> pseudoTypes = {
        "autofs",  "binfmt_misc", "bpf",       "cgroup",    "cgroup2", "configfs",
        "debugfs", "devpts",      "devtmpfs",  "efivarfs",  "fusectl", "hugetlbfs",
        "mqueue",  "nsfs",        "proc",      "pstore",    "ramfs",   "rpc_pipefs",
        "rootfs",  "securityfs",  "selinuxfs", "tracefs",   "sysfs",   "fuse.gvfsd-fuse",
        "nfsd",    "fuse.portal", "squashfs",  "fuse.lxcfs"};
    if (pseudoTypes.contains(volume.fileSystemType()))
        return true;
    const QString root = volume.rootPath();
    for (const char *system : {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock"}) {
        if (isBelow(root, QLatin1String(system)))
            return true;
    }
    return false;
}

} // namespace

qint64 StorageDiskInfo::freeBytes(const QString &path)
{
    const QStorageInfo volume(path.isEmpty() ? QDir::currentPath() : path);
    if (!volume.isValid() || !volume.isReady())
        return 0;
    return std::max<qint64>(volume.bytesAvailable(), 0);
}

QList<Drive> StorageDiskInfo::drives()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly() || isPseudo(volume))
            continue;
        if (!roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    std::sort(roots.begin(), roots.end());

    QList<Drive> list{{QStringLiteral("c"), paths::systemDir()}};
    char letter = 'd';
    for (const QString &root : roots) {
        if (letter > 'z')
            break;
        list.append({QString(QLatin1Char(letter++)), root});
    }
    return list;
}

} // namespace kesto
