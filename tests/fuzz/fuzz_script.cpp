// The script reader on any bytes: it must not crash, and a job it accepts must save to a script
// that reads back to the same saved text (the companion options a script does not store, such
// as "&Directory" beside "&File", may differ by design).
#include "job/script.h"
#include "job/session.h"

#include <QDateTime>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

using namespace kesto;

namespace {

int scriptFd = -1;

bool load(const QByteArray &bytes, JobSettings &job)
{
    if (::ftruncate(scriptFd, 0) != 0 || ::pwrite(scriptFd, bytes.constData(), bytes.size(), 0) !=
                                             static_cast<ssize_t>(bytes.size()))
        std::abort();
    Session session;
    session.state.ScriptPath = QStringLiteral("/proc/self/fd/%1").arg(scriptFd);
    const bool loaded = !LoadScript(session).has_value();
    job = session.job;
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    scriptFd = ::memfd_create("script", MFD_CLOEXEC);
    return scriptFd < 0 ? 1 : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    JobSettings job;
    if (!load(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), job))
        return 0;
    const QDateTime savedAt(QDate(2001, 2, 3), QTime(4, 5, 6));
    const QByteArray saved = ScriptText(job, savedAt);
    JobSettings again;
    if (!load(saved, again)) {
        std::fprintf(stderr, "a saved job cannot be read back:\n%s\n", saved.constData());
        std::abort();
    }
    const QByteArray savedAgain = ScriptText(again, savedAt);
    if (savedAgain != saved) {
        std::fprintf(stderr, "saved:\n%s\nread back and saved again:\n%s\n", saved.constData(),
                     savedAgain.constData());
        std::abort();
    }
    return 0;
}
