#include "stop_signals.h"

#include <QProcess>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace kesto {

namespace {

// Read and written from the signal handler: lock-free atomics only.
std::atomic<int> caughtSignal{0};
std::atomic<bool> stopRequested{false};
std::atomic<pid_t> childGroup{0};
std::atomic<int> wakeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

void stopChildGroup()
{
    const pid_t group = childGroup.load();
    if (group > 0)
        ::kill(-group, SIGTERM);
}

void onStopSignal(int signal)
{
    const int savedErrno = errno;
    int none = 0;
    caughtSignal.compare_exchange_strong(none, signal);
    stopRequested.store(true);
    stopChildGroup();
    const char byte = static_cast<char>(signal);
    const int fd = wakeFd.load();
    if (fd >= 0) [[maybe_unused]]
        const ssize_t written = ::write(fd, &byte, 1);
    errno = savedErrno;
}

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    wakeFd.store(fds[1]);
    notifier_ = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        ssize_t count;
        while ((count = ::read(static_cast<int>(notifier_->socket()), bytes, sizeof bytes)) > 0) {
            for (ssize_t i = 0; i < count; ++i)
                emit received(static_cast<unsigned char>(bytes[i]));
        }
    });

    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : stopSignals)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals()
{
    // The handler stays: a signal that comes while the program ends anyway only notes itself
    // (the wake-up pipe is gone), so a run that completed still ends with its own status.
    const int fd = wakeFd.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    if (notifier_) {
        const int readFd = static_cast<int>(notifier_->socket());
        delete notifier_;
        ::close(readFd);
    }
}

int CaughtStopSignal()
{
    return caughtSignal.load();
}

bool StopRequested()
{
    return stopRequested.load();
}

void RequestStop()
{
    stopRequested.store(true);
    stopChildGroup();
}

void SetChildProcessGroup(pid_t group)
{
    childGroup.store(group);
}

void StartInOwnGroup(QProcess &process)
{
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(255);
    });
}

} // namespace kesto
