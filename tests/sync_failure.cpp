// Preloaded into a run (LD_PRELOAD) to make a sync fail as a failing disk does: fsync and
// fdatasync of a file or directory whose path matches the pattern in KESTO32_FAIL_SYNC ('*'
// matches any characters, '/' included) fail with EIO; every other sync is done.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fnmatch.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool failing(int fd)
{
    const char *pattern = std::getenv("KESTO32_FAIL_SYNC");
    if (!pattern)
        return false;
    char link[64];
    char path[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t size = ::readlink(link, path, sizeof path - 1);
    if (size <= 0)
        return false;
    path[size] = '\0';
    return ::fnmatch(pattern, path, 0) == 0;
}

int syncUnlessFailing(long call, int fd)
{
    if (failing(fd)) {
        errno = EIO;
        return -1;
    }
    return int(::syscall(call, fd));
}

} // namespace

extern "C" int fsync(int fd)
{
    return syncUnlessFailing(SYS_fsync, fd);
}

extern "C" int fdatasync(int fd)
{
    return syncUnlessFailing(SYS_fdatasync, fd);
}
