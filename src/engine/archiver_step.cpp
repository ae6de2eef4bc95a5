#include "archiver_step.h"

#include "job/session.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QFile>
#include <QSaveFile>

namespace kesto {

QString ArchiverOptions(const QString &sizeSwitch, bool rarSolid)
{
    return rarSolid ? sizeSwitch + QStringLiteral(" -m5 -s") : sizeSwitch;
}

// Paths that would not survive the split at blanks are quoted; on the system the design comes
// from they never held a blank or a quote, so there the text is the designed one.
QString ArchiverCommand(const QString &options, const QString &rarArchivePath,
                        const QString &sourcePath, const QString &skipSwitch)
{
    return QStringLiteral("wrar.exe a -r ") + options + QStringLiteral(" -y") + QLatin1Char(' ') +
           CommandLineWord(rarArchivePath) + QLatin1Char(' ') + QuotedWord(sourcePath) +
           QLatin1Char(' ') + skipSwitch;
}

bool PrepareArchiverStep(Session &session, RunPlan &plan)
{
    plan.archiverOptions = ArchiverOptions(plan.sizeSwitch, session.job.RarSolid != Unchecked);
    if (session.job.SkipList.isEmpty()) {
        plan.skipSwitch.clear();
        return true;
    }
    const QString skipFile = paths::systemFile(QStringLiteral("skip.txt"));
    QSaveFile file(skipFile);
    const QByteArray bytes = QFile::encodeName(session.job.SkipList) + "\r\n";
    if (!paths::dropLink(skipFile) || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.commit())
        return false;
    plan.skipSwitch = QStringLiteral("-x@") + CommandLineWord(skipFile);
    return true;
}

void RunArchiverStep(Session &session, const RunPlan &plan)
{
    Window *window = session.svc.window;
    if (window) {
        window->setStatusText(QStringLiteral("Running WinRar..."));
        window->setArchiverWindowState(1);
    }
    session.serveEvents();

    if (session.svc.runner)
        session.svc.runner->execCmd(ArchiverCommand(plan.archiverOptions, plan.rarArchivePath,
                                                    session.job.SourcePath, plan.skipSwitch));

    if (!window)
        return;
    if (session.batchMode()) {
        window->hideAllPages();
        window->showPage(Page::Kesto);
    }
    window->setArchiverWindowState(0);
    window->repaint();
}

} // namespace kesto
