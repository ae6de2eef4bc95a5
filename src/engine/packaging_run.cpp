#include "packaging_run.h"

#include "archiver_step.h"
#include "describe/diz_numbering.h"
#include "job/session.h"
#include "recovery_set.h"
#include "run_plan.h"
#include "run_stop.h"
#include "series.h"
#include "series_command.h"
#include "series_repair.h"
#include "system/command_runner.h"
#include "system/durable_files.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/stop_signals.h"
#include "system/timings.h"
#include "system/zip_store.h"
#include "temp_drive.h"
#include "validation.h"
#include "zip_step.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

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
        //: Designed text: the question when the output directory holds files of the zip name
        const Answer answer = s.error(
            QCoreApplication::translate("PackagingRun", "Duplicate zip name in zip directory\n"
                                                        "Overwrite?"),
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
        if (!s.state.DizTestPassed && SampleUnwritable(why))
            return RunFailure{Failure::SystemDirFailed, paths::systemDirPath()};
        if (!s.state.DizTestPassed)
            return RunFailure{Failure::DescriptionTest, why + QStringLiteral(", ") + job.DizPath};
    }
    return std::nullopt;
}

// The series this run writes: its directory, its base name (the zip name, dated with '$') and
// whether its one archive carries no number.
struct RunSeries {
    QString dir;
    QString base;
    bool unlimited = false;

    explicit RunSeries(const Session &s)
        : dir(OutputBase(s.job.ZipDir).isEmpty() ? QStringLiteral("/") : OutputBase(s.job.ZipDir)),
          base(s.job.ZipName +
               (s.state.BatchRunDated ? DateStamp(QDate::currentDate()) : QString())),
          unlimited(s.job.VolumeSizeSetting == 0)
    {
    }
    QString unlimitedName() const { return base + QStringLiteral(".zip"); }
    // The place of an archive of this series in it; 0 for any other name.
    int number(const QString &name) const
    {
        if (unlimited)
            return name == unlimitedName() ? 1 : 0;
        return SeriesMemberNumber(name, base);
    }
    // The archive one of our temporary files was for; empty for any other name.
    static QString temporaryFor(const QString &name)
    {
        static const qsizetype markerSize = QByteArrayLiteral(".kesto32-XXXXXX").size();
        if (!name.startsWith(QLatin1Char('.')) || name.size() <= markerSize + 1)
            return {};
        const QString archive = name.mid(1, name.size() - 1 - markerSize);
        return IsZipStoreTemporary(QFile::encodeName(name), QFile::encodeName(archive)) ? archive
                                                                                        : QString();
    }
};

// After a completed run the directory holds exactly its series: archives of the same series
// numbered beyond the last one, manifests and recovery files this run did not write and
// temporary files of ours left by a killed run go, each named. Only names of the series, and
// never a directory but the private ones where par2 wrote a set. removedAlready: files the run's
// recovery step removed, for the window's count.
std::optional<RunFailure> removeEarlierRest(Session &session, int last, bool recoveryWritten,
                                            int removedAlready)
{
    const RunSeries series(session);
    const bool manifestsWritten = session.state.WriteChecksums;
    const QStringList names = DirectoryNames(series.dir);
    // "tool1001.zip" is also the first archive of a series "tool1": numbers from 1000 on are
    // this series' only when it reaches 999.
    const bool reaches1000 = last >= 999 || names.contains(series.base + QStringLiteral("999.zip"));
    const auto ours = [&](const QString &name) {
        const int number = series.number(name);
        return number > 0 && (number < 1000 || reaches1000) ? number : 0;
    };
    int removed = removedAlready;
    for (const QString &name : names) {
        const QString temporaryFor = RunSeries::temporaryFor(name);
        const QString path = QDir(series.dir).filePath(name);
        // What par2 wrote for a run or a repair that was killed: ours, by its name and its
        // contents.
        const bool recoveryWork = IsRecoveryWorkDir(name, series.base);
        if ((recoveryWork || IsRepairWorkDir(name, series.base)) && QFileInfo(path).isDir() &&
            !QFileInfo(path).isSymLink()) {
            if (recoveryWork ? RemoveRecoveryWorkDir(path, series.base)
                             : RemoveRepairWorkDir(path, series.base)) {
                session.state.RunNotes << QCoreApplication::translate(
                                              "PackagingRun", "removed %1, left by an earlier run")
                                              .arg(path);
                ++removed;
            }
            continue;
        }
        const bool stale =
            ours(name) > last || (!temporaryFor.isEmpty() && ours(temporaryFor)) ||
            (!manifestsWritten && (name == series.base + QStringLiteral(".sfv") ||
                                   name == series.base + QStringLiteral(".sha256"))) ||
            (!recoveryWritten && IsRecoveryFile(name, series.base));
        if (!stale)
            continue;
        const QByteArray bytes = QFile::encodeName(path);
        struct stat info {};
        if (::lstat(bytes.constData(), &info) != 0 ||
            !(S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            continue;
        if (::unlink(bytes.constData()) != 0)
            return RunFailure{Failure::FileFailed,
                              QCoreApplication::translate(
                                  "PackagingRun", "cannot remove %1, left by an earlier run")
                                  .arg(path)};
        session.state.RunNotes << QCoreApplication::translate("PackagingRun",
                                                              "removed %1, left by an earlier run")
                                      .arg(path);
        ++removed;
    }
    if (removed > 0 && !session.batchMode())
        session.svc.window->setStatusText(QCoreApplication::translate(
            "PackagingRun", "Kesting complete; %n file(s) of an earlier run removed", "", removed));
    return std::nullopt;
}

// What a failed run did to the series it was replacing: the archives it wrote replaced theirs,
// the others are as they were.
void describeEarlierSeries(const Session &session, const QList<int> &earlier, RunFailure &failure)
{
    const int written = session.state.ArchivesWritten;
    const qsizetype replaced =
        std::count_if(earlier.cbegin(), earlier.cend(), [written](int n) { return n <= written; });
    const qsizetype kept = earlier.size() - replaced;
    if (earlier.isEmpty())
        return;
    if (!failure.detail.isEmpty())
        failure.detail += QStringLiteral("; ");
    if (replaced == 0)
        failure.detail +=
            QCoreApplication::translate("PackagingRun", "the earlier series is as it was");
    else
        failure.detail += QCoreApplication::translate(
                              "PackagingRun",
                              "of the earlier series, %1 archive(s) replaced by this run's, %2 as "
                              "they were")
                              .arg(replaced)
                              .arg(kept);
}

std::optional<RunFailure> finishStages(Session &session, const RunPlan &plan,
                                       std::optional<RunFailure> archiver);

// The recovery set for exactly the archives the run wrote. Said in the run's notes: the set
// written and the earlier recovery files it replaced.
std::optional<RunFailure> writeRunRecovery(Session &session, int volumeCount,
                                           RecoveryWritten &written)
{
    RunState &state = session.state;
    session.svc.window->setStatusText(
        QCoreApplication::translate("PackagingRun", "Writing the recovery set..."));
    session.serveEvents();
    QString why;
    const std::optional<Series> series = RunWrittenSeries(session, volumeCount, &why);
    if (!series)
        return RunFailure{Failure::RecoveryFailed, why};
    std::optional<RunFailure> failure = WriteRecoverySet(*series, state.RecoveryPercent, &written);
    for (const QString &path : std::as_const(written.removed))
        state.RunNotes << QCoreApplication::translate("PackagingRun",
                                                      "removed %1, left by an earlier run")
                              .arg(path);
    if (!failure)
        state.RunNotes << RecoverySummary(*series, written, state.RecoveryPercent);
    return failure;
}

std::optional<RunFailure> runStages(Session &session)
{
    RunState &state = session.state;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(session.job.VolumeSizeSetting);
    if (auto failure = PrepareArchiverStep(session, plan))
        return failure;
    const QString tempRoot = TempDriveRoot(session);
    if (tempRoot.isEmpty())
        return RunFailure{Failure::FileFailed,
                          QCoreApplication::translate("PackagingRun",
                                                      "the temporary drive %1: (%2) is not "
                                                      "mounted any more")
                              .arg(state.TempDrive, state.TempDriveRoot)};
    state.WorkDir = MakeWorkDir(tempRoot);
    if (state.WorkDir.isEmpty())
        return RunFailure{
            Failure::FileFailed,
            QCoreApplication::translate("PackagingRun", "cannot create a work directory in %1")
                .arg(tempRoot)};
    plan.rarArchivePath = paths::join(
        state.WorkDir, session.job.ZipName + RarExtension(session.job.VolumeSizeSetting));
    timings::mark("archiver-start");
    std::optional<RunFailure> archiver = RunArchiverStep(session, plan);
    if (StopRequested())
        return RunFailure{Failure::Stopped, {}};
    if (archiver &&
        (archiver->kind == Failure::ArchiverMissing || archiver->kind == Failure::SevenZipMissing))
        return archiver;
    QList<int> earlier;
    const RunSeries series(session);
    for (const QString &name : DirectoryNames(series.dir)) {
        if (const int number = series.number(name))
            earlier << number;
    }
    std::optional<RunFailure> failure = finishStages(session, plan, std::move(archiver));
    // A recovery set that could not be written leaves the series complete.
    if (failure && failure->kind != Failure::Stopped && failure->kind != Failure::RecoveryMissing &&
        failure->kind != Failure::RecoveryFailed)
        describeEarlierSeries(session, earlier, *failure);
    return failure;
}

// The zip step and what follows it.
std::optional<RunFailure> finishStages(Session &session, const RunPlan &plan,
                                       std::optional<RunFailure> archiver)
{
    RunState &state = session.state;
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
    if (state.WriteChecksums) {
        if (!WriteRunManifests(session, int(volumes), &why))
            return RunFailure{Failure::FileFailed, why};
    }
    std::optional<RunFailure> recovery;
    RecoveryWritten written;
    if (state.RecoveryPercent > 0) {
        timings::mark("recovery-start");
        recovery = writeRunRecovery(session, int(volumes), written);
        timings::mark("recovery-end");
        if (recovery && recovery->kind == Failure::Stopped)
            return recovery;
    }
    if (auto failure =
            removeEarlierRest(session, int(volumes), state.RecoveryPercent > 0 && !recovery,
                              int(written.removed.size())))
        return failure;
    return recovery;
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
        QDir(state.WorkDir).removeRecursively();
        return;
    }
    if (!paths::list(state.WorkDir, QStringLiteral("*.*"), paths::Listing::Files).isEmpty()) {
        failure.detail +=
            QCoreApplication::translate("PackagingRun", "; the volumes not yet wrapped are in %1")
                .arg(state.WorkDir);
        return;
    }
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
    QString why;
    switch (runlock::take(&holder, &why)) {
    case runlock::Outcome::Held: break;
    case runlock::Outcome::Busy: {
        const RunFailure failure{
            Failure::AnotherInstance,
            QCoreApplication::translate("PackagingRun", "process %1").arg(holder)};
        session.report(failure);
        return failure;
    }
    case runlock::Outcome::NotPlain: return RunFailure{Failure::SystemDirNotPrivate, why};
    case runlock::Outcome::Unusable: return RunFailure{Failure::SystemDirFailed, why};
    }
    // Volumes of a killed run can no longer be wrapped: they only take space.
    for (const QString &line : runlock::removeLeftWorkDirs())
        ReportLine(line);

    state.RunInProgress = true;
    state.WorkDir.clear();
    state.RunNotes.clear();
    state.ArchivesWritten = 0;
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
