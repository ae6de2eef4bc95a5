#include "run_stop.h"

#include "job/script.h"
#include "job/session.h"
#include "packaging_run.h"
#include "system/stop_signals.h"
#include "system/zip_component.h"

#include <cstring>

namespace kesto {

namespace {

QString signalName(int signal)
{
    const char *abbreviation = ::sigabbrev_np(signal);
    return abbreviation ? QStringLiteral("SIG") + QString::fromLatin1(abbreviation)
                        : QStringLiteral("signal %1").arg(signal);
}

} // namespace

void StopForSignal(Session &session)
{
    if (session.svc.zip)
        session.svc.zip->AbortRequest = true;
    if (!session.state.RunInProgress)
        EndStoppedRun(session);
}

bool EndStoppedRun(Session &session)
{
    if (!StopRequested())
        return false;
    RemoveRunFiles(session);
    const int signal = CaughtStopSignal();
    if (signal == 0)
        return true; // the window was closed: it ends the program itself
    // The fixed files go as at every shut-down.
    if (session.svc.window)
        session.svc.window->closeMainWindow();
    QString script = ScriptFileName(session.state.ScriptPath);
    if (script.isEmpty())
        script = session.state.ScriptPath;
    QString reason = QStringLiteral("stopped by %1").arg(signalName(signal));
    if (!script.isEmpty())
        reason = script + QStringLiteral(": ") + reason;
    if (session.svc.lifetime)
        session.svc.lifetime->endProgram(128 + signal, reason);
    return true;
}

} // namespace kesto
