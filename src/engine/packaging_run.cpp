#include "packaging_run.h"

#include "archiver_step.h"
#include "describe/diz_numbering.h"
#include "job/session.h"
#include "run_plan.h"
#include "system/paths.h"
#include "system/timings.h"
#include "temp_drive.h"
#include "zip_step.h"

#include <optional>

namespace kesto {

namespace {

// A failed check: the page at fault (and its field) is shown; batch mode ends the program.
void refuse(Session &s, Page page, std::optional<Field> field, const QString &why)
{
    s.showPage(page);
    if (field)
        s.focusField(*field);
    if (s.batchMode())
        s.endBatch(ExitCheckFailed, why);
}

bool checksPass(Session &s)
{
    const JobSettings &job = s.job;
    if (job.SourcePath.isEmpty()) {
        refuse(s, Page::Source, {}, QStringLiteral("no source directory"));
        return false;
    }
    if (job.DizPath.isEmpty()) {
        refuse(s, Page::Diz, {}, QStringLiteral("no description file"));
        return false;
    }
    if (job.DizAutoNumber) {
        if (job.DizColumn.isEmpty()) {
            refuse(s, Page::Diz, Field::DizColumn, QStringLiteral("no description column"));
            return false;
        }
        if (job.DizLine.isEmpty()) {
            refuse(s, Page::Diz, Field::DizLine, QStringLiteral("no description line"));
            return false;
        }
    }
    if (job.NfoPath.isEmpty()) {
        refuse(s, Page::Nfo, {}, QStringLiteral("no nfo file"));
        return false;
    }
    if (job.ZipDir.isEmpty()) {
        refuse(s, Page::Zip, {}, QStringLiteral("no zip directory"));
        return false;
    }
    if (job.ZipName.isEmpty()) {
        refuse(s, Page::Zip, Field::ZipName, QStringLiteral("no zip name"));
        return false;
    }
    if (job.ZipName.contains(QLatin1Char(' '))) {
        s.error(QStringLiteral("Spaces aren't allowed in filename"), Icon::Exclamation);
        refuse(s, Page::Zip, Field::ZipName, QStringLiteral("blank in zip name"));
        return false;
    }
    const QStringList clashes = paths::filesStartingWith(job.ZipDir, job.ZipName);
    if (!clashes.isEmpty()) {
        const Answer answer = s.error(QStringLiteral("Duplicate zip name in zip directory")
                                          + QLatin1Char('\n') + QStringLiteral("Overwrite?"),
                                      Icon::Exclamation, Buttons::OkCancel);
        if (answer == Answer::Cancel) {
            refuse(s, Page::Zip, Field::ZipName, QStringLiteral("zip name in use"));
            return false;
        }
    }
    if (job.DizAutoNumber) {
        TestDizNumbering(s, false);
        if (!s.state.DizTestPassed) {
            if (s.batchMode())
                s.endBatch(ExitCheckFailed, QStringLiteral("description line or column too high"));
            return false;
        }
    }
    return true;
}

} // namespace

void FailRun(Session &session, const char *what)
{
    if (session.svc.window)
        session.svc.window->setArchiverWindowState(0);
    session.state.RunInProgress = false;
    if (session.batchMode())
        session.endBatch(ExitRunFailed, QString::fromUtf8(what));
}

void kesto_Click(Session &session)
{
    RunState &state = session.state;
    if (state.RunInProgress)
        return;
    if (!session.batchMode() && session.svc.window) {
        session.svc.window->hideAllPages();
        session.svc.window->showPage(Page::Kesto);
    }
    if (!checksPass(session))
        return;

    state.RunInProgress = true;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(session.job.VolumeSizeSetting);
    if (!PrepareArchiverStep(session, plan)) {
        FailRun(session, "the skip file cannot be written");
        return;
    }
    state.WorkDir = MakeWorkDir(TempDriveRoot(session));
    if (state.WorkDir.isEmpty()) {
        FailRun(session, "the work directory cannot be created");
        return;
    }
    plan.rarArchivePath = paths::join(state.WorkDir, session.job.ZipName
                                                         + RarExtension(session.job.VolumeSizeSetting));
    timings::mark("archiver-start");
    RunArchiverStep(session, plan);
    timings::mark("zip-start");
    RunZipStep(session, plan);
    timings::mark("zip-end");
}

} // namespace kesto
