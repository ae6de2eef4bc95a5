#include "packaging_run.h"

#include "archiver_step.h"
#include "describe/diz_numbering.h"
#include "job/session.h"
#include "run_plan.h"
#include "run_stop.h"
#include "series_command.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/stop_signals.h"
#include "system/timings.h"
#include "temp_drive.h"
#include "validation.h"
#include "zip_step.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace kesto {

namespace {

// The first failed check of the list: the window's message where it has one, then the page at
// fault and its field.
std::optional<RunFailure> firstRefusal(Session &s, std::span<const JobCheck> checks)
{
    for (const JobCheck &check : checks) {
        std::optional<RunFailure> failure = check.test(s.job, {});
        if (!failure)
            continue;
        s.report(*failure);
        s.showPage(check.page);
        if (check.focus)
            s.focusField(*check.focus);
        return failure;
    }
    return std::nullopt;
}

std::optional<RunFailure> checks(Session &s)
{
    const JobSettings &job = s.job;
    if (auto failure = firstRefusal(s, RunChecksBeforeClash()))
        return failure;
    const QStringList clashes = paths::filesStartingWith(job.ZipDir, job.ZipName);
    if (!clashes.isEmpty()) {
        const Answer answer = s.error(QStringLiteral("Duplicate zip name in zip directory") +
                                          QLatin1Char('\n') + QStringLiteral("Overwrite?"),
                                      Icon::Exclamation, Buttons::OkCancel);
        if (answer == Answer::Cancel) {
            s.showPage(Page::Zip);
            s.focusField(Field::ZipName);
            return RunFailure{Failure::NameClash, paths::join(job.ZipDir, clashes.first())};
        }
    }
    if (auto failure = firstRefusal(s, RunChecksAfterClash()))
        return failure;
    if (job.DizAutoNumber) {
        const QString why = TestDizNumbering(s, false);
        if (!s.state.DizTestPassed)
            return RunFailure{Failure::DescriptionTest, why + QStringLiteral(", ") + job.DizPath};
    }
    return std::nullopt;
}

std::optional<RunFailure> runStages(Session &session)
{
    RunState &state = session.state;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(session.job.VolumeSizeSetting);
    if (auto failure = PrepareArchiverStep(session, plan))
        return failure;
    state.WorkDir = MakeWorkDir(TempDriveRoot(session));
    if (state.WorkDir.isEmpty())
        return RunFailure{Failure::FileFailed,
                          QStringLiteral("cannot create a work directory in ") +
                              TempDriveRoot(session)};
    plan.rarArchivePath = paths::join(
        state.WorkDir, session.job.ZipName + RarExtension(session.job.VolumeSizeSetting));
    timings::mark("archiver-start");
    std::optional<RunFailure> archiver = RunArchiverStep(session, plan);
    if (StopRequested())
        return RunFailure{Failure::Stopped, {}};
    if (archiver &&
        (archiver->kind == Failure::ArchiverMissing || archiver->kind == Failure::SevenZipMissing))
        return archiver;
    const qsizetype volumes =
        paths::list(state.WorkDir, QStringLiteral("*.*"), paths::Listing::Files).size();
    timings::mark("zip-start");
    // What the archiver left is wrapped even when it failed: the user keeps what there is.
    if (auto failure = RunZipStep(session, plan))
        return failure;
    timings::mark("zip-end");
    if (archiver)
        return archiver;
    if (volumes == 0)
        return RunFailure{Failure::NoVolumes, {}};
    // Manifests only for a complete series: they vouch for it.
    QString why;
    if (state.WriteChecksums && !WriteRunManifests(session, int(volumes), &why))
        return RunFailure{Failure::FileFailed, why};
    return std::nullopt;
}

// A failed run leaves no empty work directory behind; one that still holds volumes stays, and
// the user learns where.
void removeWorkDir(Session &session, RunFailure &failure)
{
    RunState &state = session.state;
    if (state.WorkDir.isEmpty() || !QFileInfo(state.WorkDir).isDir())
        return;
    // A stopped run keeps nothing: its volumes are of a series the user called off.
    if (failure.kind == Failure::Stopped) {
        QDir::setCurrent(paths::systemDir());
        QDir(state.WorkDir).removeRecursively();
        return;
    }
    if (!paths::list(state.WorkDir, QStringLiteral("*.*"), paths::Listing::Files).isEmpty()) {
        failure.detail += QStringLiteral("; the volumes not yet wrapped are in ") + state.WorkDir;
        return;
    }
    QDir::setCurrent(paths::systemDir());
    QDir().rmdir(state.WorkDir);
}

} // namespace

std::optional<RunFailure> RunPackaging(Session &session)
{
    RunState &state = session.state;
    if (state.RunInProgress)
        return std::nullopt;
    if (!session.batchMode()) {
        session.svc.window->hideAllPages();
        session.svc.window->showPage(Page::Kesto);
    }
    if (auto failure = checks(session))
        return failure;
    // The window takes the lock at start-up; a batch run that held it then may be gone now.
    qint64 holder = 0;
    if (!runlock::acquire(&holder)) {
        const RunFailure failure{Failure::AnotherInstance,
                                 QStringLiteral("process %1").arg(holder)};
        session.report(failure);
        return failure;
    }

    state.RunInProgress = true;
    state.WorkDir.clear();
    std::optional<RunFailure> failure = runStages(session);
    state.RunInProgress = false;
    if (StopRequested())
        failure = RunFailure{Failure::Stopped, {}};
    if (failure) {
        removeWorkDir(session, *failure);
        // Said only now: the detail names the volumes left in the work directory.
        if (failure->kind != Failure::Stopped)
            session.report(*failure);
    }
    return failure;
}

std::optional<RunFailure> kesto_Click(Session &session)
{
    // The window has shown what it shows of a failure where the failure arose.
    const std::optional<RunFailure> failure = RunPackaging(session);
    if (failure && failure->kind == Failure::Stopped)
        EndStoppedRun(session);
    return failure;
}

} // namespace kesto
