#include "run_lock.h"

#include "paths.h"

#include <QFile>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
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

} // namespace

bool acquire(qint64 *holder)
{
    if (heldFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(paths::systemFile(QStringLiteral("kesto32.lock")));
    // Never through a link; never inherited by the archiver, which may outlive us.
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A system drive that cannot hold the lock cannot hold the run's files either; the run
        // finds that out itself and says what failed.
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (holder)
            *holder = readHolder(fd);
        close(fd);
        return false;
    }
    const std::string pid = std::to_string(getpid()) + '\n';
    if (ftruncate(fd, 0) == 0)
        (void)!pwrite(fd, pid.data(), pid.size(), 0);
    heldFd = fd;
    return true;
}

} // namespace kesto::runlock
