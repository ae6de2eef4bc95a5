// wrar: the archiver command line of Kesto32, carried out by 7-Zip. The volumes are 7-Zip
// multi-volume archives: tool.001, tool.002, ... (or one archive under the name given).
#include "wrar_plan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "wrar: %s\n", qPrintable(message));
    return status;
}

int usage(const QString &reason)
{
    fail(wrar::UsageStatus, reason);
    std::fprintf(stderr,
                 "usage: wrar a -r -v<bytes>b [-m5] [-s] -y <archive> <source> [-x@<list>]\n"
                 "       -v0b (any number of zeros): one archive of any size\n");
    return wrar::UsageStatus;
}

QString findSevenZip()
{
    const QString sevenZz = QStandardPaths::findExecutable(QStringLiteral("7zz"));
    return sevenZz.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("7z")) : sevenZz;
}

// What in the archive's directory may be ours: the archive's own name and names that extend it.
QSet<QString> archiveFiles(const QDir &dir, const QString &name)
{
    QSet<QString> found;
    // No name filter: the archive's name may hold characters that a filter takes as wildcards.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry == name || entry.startsWith(name + QLatin1Char('.')))
            found.insert(entry);
    }
    return found;
}

// For measurements: with KESTO32_TIMINGS set, the 7-Zip command (one "wrar-7zz" line for the
// program, one "wrar-7zz-argument" line per argument) and "wrar-timing <what> <ms>" lines go to
// standard error.
bool timingsWanted()
{
    return qEnvironmentVariableIsSet("KESTO32_TIMINGS");
}

void reportCommand(const QString &program, const QStringList &arguments)
{
    std::fprintf(stderr, "wrar-7zz %s\n", qPrintable(program));
    for (const QString &argument : arguments)
        std::fprintf(stderr, "wrar-7zz-argument %s\n", qPrintable(argument));
}

void reportTiming(const char *what, qint64 ms)
{
    std::fprintf(stderr, "wrar-timing %s %lld\n", what, static_cast<long long>(ms));
    std::fflush(stderr);
}

// The translated list, removed by a stop signal too: the handler may only use what is
// async-signal-safe, so the name waits here as bytes.
char listForSignals[4096];

void removeListAndEnd(int signal)
{
    if (listForSignals[0] != '\0')
        ::unlink(listForSignals);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

constexpr int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// While the list is being made the stop signals wait, so that no name exists that the handler
// does not know.
void blockStopSignals(bool block)
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : StopSignals)
        sigaddset(&set, signal);
    ::sigprocmask(block ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QCoreApplication app(argc, argv);
    wrar::Request request;
    QString error;
    if (!wrar::ParseArguments(app.arguments().mid(1), request, error))
        return usage(error);

    const QFileInfo source(request.source);
    if (!source.exists())
        return fail(wrar::FatalStatus, QStringLiteral("source not found: %1").arg(request.source));
    request.source = QDir::cleanPath(source.absoluteFilePath());
    // The source as named is what the user chose, link or not; below it nothing is followed.
    const QString packed = source.isSymLink() ? source.canonicalFilePath() : request.source;

    const QString sevenZip = findSevenZip();
    if (sevenZip.isEmpty())
        return fail(
            wrar::FatalStatus,
            QStringLiteral("7-Zip (7zz or 7z) not found on PATH; install the package 7zip"));

    QTemporaryFile translated;
    QString translatedPath;
    struct sigaction removal = {};
    removal.sa_handler = removeListAndEnd;
    for (const int signal : StopSignals)
        ::sigaction(signal, &removal, nullptr);
    if (!request.listFile.isEmpty()) {
        QFile list(request.listFile);
        if (!list.open(QIODevice::ReadOnly))
            return fail(wrar::FatalStatus, QStringLiteral("cannot read the list %1: %2")
                                               .arg(request.listFile, list.errorString()));
        const QByteArray entries = wrar::TranslateExclusions(
            list.readAll(), QFile::encodeName(request.source), QFile::encodeName(packed));
        if (!entries.isEmpty()) {
            blockStopSignals(true);
            const bool opened = translated.open();
            const QByteArray name = QFile::encodeName(translated.fileName());
            if (opened && name.size() < qsizetype(sizeof listForSignals))
                std::memcpy(listForSignals, name.constData(), size_t(name.size()) + 1);
            blockStopSignals(false);
            if (!opened || listForSignals[0] == '\0' ||
                translated.write(entries) != entries.size() || !translated.flush())
                return fail(wrar::FatalStatus, QStringLiteral("cannot write a temporary file: %1")
                                                   .arg(translated.errorString()));
            translatedPath = translated.fileName();
        }
    }

    const QFileInfo archive(wrar::SevenZipArchiveName(request));
    const QDir archiveDir = archive.absoluteDir();
    const QSet<QString> before = archiveFiles(archiveDir, archive.fileName());

    QProcess sevenZipRun;
    sevenZipRun.setProgram(sevenZip);
    wrar::Request packing = request;
    packing.source = packed;
    QStringList arguments = wrar::SevenZipArguments(packing, translatedPath);
    // Its percentage goes to its standard output, where nothing else of interest does.
    arguments.insert(1, QStringLiteral("-bsp1"));
    sevenZipRun.setArguments(arguments);
    // 7-Zip must not outlive wrar, however wrar ends.
    const pid_t wrarPid = ::getpid();
    sevenZipRun.setChildProcessModifier([wrarPid] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != wrarPid)
            ::_exit(255);
    });
    // Its errors reach stderr; of its output only the percentage is passed on, as lines "<n>%".
    sevenZipRun.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sevenZipRun.setStandardInputFile(QProcess::nullDevice());
    int lastPercent = -1;
    QObject::connect(&sevenZipRun, &QProcess::readyReadStandardOutput, [&] {
        static const QRegularExpression percent(QStringLiteral("(\\d+)%"));
        const QString output = QString::fromLatin1(sevenZipRun.readAllStandardOutput());
        for (auto m = percent.globalMatch(output); m.hasNext();) {
            const int value = m.next().captured(1).toInt();
            if (value != lastPercent && value <= 100) {
                lastPercent = value;
                std::printf("%d%%\n", value);
                std::fflush(stdout);
            }
        }
    });
    if (timingsWanted())
        reportCommand(sevenZip, sevenZipRun.arguments());
    QElapsedTimer running;
    running.start();
    sevenZipRun.start();
    if (!sevenZipRun.waitForStarted(-1))
        return fail(wrar::FatalStatus,
                    QStringLiteral("cannot start %1: %2").arg(sevenZip, sevenZipRun.errorString()));
    sevenZipRun.waitForFinished(-1);
    if (timingsWanted())
        reportTiming("7zz", running.elapsed());
    // Killed by a signal counts as stopped by the user.
    const int status =
        sevenZipRun.exitStatus() == QProcess::NormalExit ? sevenZipRun.exitCode() : 255;

    // 0 and 1 (a warning) leave usable volumes; after anything worse none of this run's may stay.
    if (status >= 2) {
        const QSet<QString> created = archiveFiles(archiveDir, archive.fileName()) - before;
        for (const QString &name : created)
            QFile::remove(archiveDir.filePath(name));
    }
    if (timingsWanted())
        reportTiming("exit", sinceStart.elapsed());
    return status;
}
