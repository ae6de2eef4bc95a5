#include "archiver_step.h"

#include "job/session.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace kesto {

QString ArchiverOptions(const QString &sizeSwitch, bool rarSolid)
{
    return rarSolid ? sizeSwitch + QStringLiteral(" -m5 -s") : sizeSwitch;
}

// Paths that would not survive the split at blanks are quoted; a plain path stays as it is, so
// the usual command line reads as it always has.
QString ArchiverCommand(const QString &options, const QString &rarArchivePath,
                        const QString &sourcePath, const QString &skipSwitch)
{
    return QStringLiteral("wrar.exe a -r ") + options + QStringLiteral(" -y") + QLatin1Char(' ') +
           CommandLineWord(rarArchivePath) + QLatin1Char(' ') + QuotedWord(sourcePath) +
           QLatin1Char(' ') + skipSwitch;
}

std::optional<RunFailure> PrepareArchiverStep(Session &session, RunPlan &plan)
{
    plan.archiverOptions = ArchiverOptions(plan.sizeSwitch, session.job.RarSolid != Unchecked);
    if (session.job.SkipList.isEmpty()) {
        plan.skipSwitch.clear();
        return std::nullopt;
    }
    const QString skipFile = paths::systemFile(QStringLiteral("skip.txt"));
    QSaveFile file(skipFile);
    const QByteArray bytes = QFile::encodeName(session.job.SkipList) + "\r\n";
    if (!paths::dropLink(skipFile) || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit())
        return RunFailure{Failure::FileFailed,
                          QCoreApplication::translate("archiver", "cannot write %1 (%2)")
                              .arg(skipFile, file.errorString())};
    plan.skipSwitch = QStringLiteral("-x@") + CommandLineWord(skipFile);
    return std::nullopt;
}

std::optional<RunFailure> ArchiverProgramsMissing()
{
    // Looked up as the runner and wrar look them up, before anything runs.
    for (const auto &[helper, missing] : {std::pair{"size", Failure::SizeHelperMissing},
                                          std::pair{"wrar", Failure::ArchiverMissing}}) {
        if (FindProgram(QLatin1String(helper)).isEmpty())
            return RunFailure{missing, QCoreApplication::translate("archiver", "looked for in %1")
                                           .arg(paths::helperPlaces().join(
                                               QCoreApplication::translate("archiver", " and ")))};
    }
    if (QStandardPaths::findExecutable(QStringLiteral("7zz")).isEmpty() &&
        QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
        return RunFailure{Failure::SevenZipMissing,
                          QCoreApplication::translate("archiver", "no 7zz or 7z on PATH")};
    return std::nullopt;
}

std::optional<RunFailure> RunArchiverStep(Session &session, const RunPlan &plan)
{
    if (std::optional<RunFailure> missing = ArchiverProgramsMissing())
        return missing;

    Window *window = session.svc.window;
    window->setStatusText(QCoreApplication::translate("Run", "Running 7-Zip..."));
    session.serveEvents();

    std::optional<RunFailure> failure;
    CommandRunner *runner = session.svc.runner;
    // 7-Zip's own percentage, passed on by wrar, drives the Kesto page's bar meanwhile.
    runner->onProgress = [window](int percent) {
        if (window->progress() != percent)
            window->setProgress(percent);
    };
    runner->execCmd(ArchiverCommand(plan.archiverOptions, plan.rarArchivePath,
                                    session.job.SourcePath, plan.skipSwitch));
    runner->onProgress = nullptr;
    const int status = runner->lastExitStatus();
    if (status == 1)
        failure = RunFailure{Failure::ArchiverWarned,
                             QCoreApplication::translate("archiver", "status %1").arg(1)};
    else if (status != 0)
        failure = RunFailure{
            Failure::ArchiverFailed,
            status < 0 ? QCoreApplication::translate("archiver", "it was killed or could not start")
                       : QCoreApplication::translate("archiver", "status %1").arg(status)};

    window->setProgress(0);
    window->repaint();
    return failure;
}

} // namespace kesto
