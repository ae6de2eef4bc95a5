#include "run_stop.h"

#include "batch_run.h"
#include "job/run_failure.h"
#include "job/session.h"
#include "system/stop_signals.h"
#include "system/zip_component.h"

#include <cstdio>

namespace kesto {

void StopForSignal(Session &session)
{
    session.svc.zip->AbortRequest = true;
    if (!session.state.RunInProgress)
        EndStoppedRun(session);
}

void EndStoppedRun(Session &session)
{
    // A stop without a signal is the window closing: it ends the program itself.
    if (CaughtStopSignal() != 0)
        session.svc.window->closeMainWindow();
}

void ReportStopped(const Session &session)
{
    // A window opened without a script has no name to give.
    const QString prefix = session.state.ScriptPath.isEmpty() ? QStringLiteral("kesto32: ")
                                                              : BatchLinePrefix(session.state);
    const QString line = prefix + BatchReason({Failure::Stopped, {}}) + QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

} // namespace kesto
