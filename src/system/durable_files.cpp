#include "durable_files.h"

#include <QFile>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace kesto {

namespace {

bool syncOpened(const QByteArray &path, int flags)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int why = errno;
    ::close(fd);
    errno = why;
    return synced;
}

} // namespace

bool SyncFile(const QByteArray &path)
{
    return syncOpened(path, O_NOFOLLOW);
}

bool SyncDirectory(const QByteArray &path)
{
    return syncOpened(path, O_DIRECTORY);
}

QStringList DirectoryNames(const QString &dir)
{
    QStringList names;
    DIR *listing = ::opendir(QFile::encodeName(dir).constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        const QString decoded = QFile::decodeName(name);
        if (name != "." && name != ".." && QFile::encodeName(decoded) == name)
            names << decoded;
    }
    ::closedir(listing);
    names.sort();
    return names;
}

} // namespace kesto
