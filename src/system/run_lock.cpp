#include "run_lock.h"

#include "figures.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto::runlock {

namespace {

int heldFd = -1;

qint64 readHolder(int fd)
{
    char buffer[32] = {};
    const ssize_t got = pread(fd, buffer, sizeof buffer - 1, 0);
    return got > 0 ? std::atoll(buffer) : 0;
}

// Bytes below a directory, links counted as links.
qint64 bytesBelow(const QString &dir)
{
    qint64 bytes = 0;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        struct stat info;
        if (::lstat(QFile::encodeName(it.filePath()).constData(), &info) == 0)
            bytes += info.st_size;
    }
    return bytes;
}

} // namespace

Outcome take(qint64 *holder, QString *why)
{
    if (heldFd >= 0)
        return Outcome::Held;
    const QString lockPath = paths::systemFile(QStringLiteral("kesto32.lock"));
    // Never through a link; never inherited by the archiver, which may outlive us.
    const int fd = open(QFile::encodeName(lockPath).constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info;
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(fd);
        errno = ELOOP;
    } else if (fd >= 0) {
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (holder)
                *holder = readHolder(fd);
            close(fd);
            return Outcome::Busy;
        }
        const std::string pid = std::to_string(getpid()) + '\n';
        if (ftruncate(fd, 0) == 0)
            (void)!pwrite(fd, pid.data(), pid.size(), 0);
        heldFd = fd;
        return Outcome::Held;
    }
    // A lock that does not lock is worse than none: two runs would share the fixed files.
    const bool planted = errno == ELOOP;
    if (why) {
        *why = planted
                   ? QCoreApplication::translate("runlock", "%1 is not a plain file").arg(lockPath)
                   : QCoreApplication::translate("runlock", "cannot make %1: %2")
                         .arg(lockPath, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return planted ? Outcome::NotPlain : Outcome::Unusable;
}

bool acquire(qint64 *holder)
{
    return take(holder) == Outcome::Held;
}

QStringList removeLeftWorkDirs()
{
    QStringList lines;
    if (heldFd < 0)
        return lines;
    static const QRegularExpression workDirName(QStringLiteral("^Kesto[0-9]{3,}$"));
    const QString dir = paths::systemDir();
    const QStringList names =
        QDir(dir).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!workDirName.match(name).hasMatch())
            continue;
        const QString path = paths::join(dir, name);
        struct stat info;
        if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        const qint64 bytes = bytesBelow(path);
        const bool removed = QDir(path).removeRecursively();
        lines << (removed ? QCoreApplication::translate(
                                "runlock", "removed %1, left by a run that ended early (%2 bytes)")
                          : QCoreApplication::translate(
                                "runlock", "cannot remove %1, left by a run that ended early "
                                           "(%2 bytes)"))
                     .arg(path, GroupedNumber(bytes));
    }
    return lines;
}

} // namespace kesto::runlock
