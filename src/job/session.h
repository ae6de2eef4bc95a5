#pragma once
#include "job_settings.h"
#include "run_state.h"
#include "system/services.h"

namespace kesto {

// Exit statuses of a batch run (documented in the README).
enum ExitStatus {
    ExitCompleted = 0,
    ExitInvalidJob = 1, // the script could not be loaded or the job is not valid
    ExitCheckFailed = 2, // a check before the run refused the job
    ExitRunFailed = 3, // a file or zip operation failed during the run
};

// The one job, the shared run-time state and the outside components.
class Session {
public:
    JobSettings job;
    RunState state;
    Services svc;

    bool batchMode() const { return state.batchMode(); }

    // A message box; in batch mode nothing is shown and the answer is OK.
    Answer message(const QString &text, const QString &title, Icon icon,
                   Buttons buttons = Buttons::Ok);
    // A refusal with the title "Kesto32 error".
    Answer error(const QString &text, Icon icon, Buttons buttons = Buttons::Ok)
    {
        return message(text, ErrorTitle, icon, buttons);
    }
    // Batch mode: ends the program with the status, telling why on standard error.
    // Callers return right after it.
    void endBatch(ExitStatus status, const QString &reason);

    // The page routines and the window values, tolerant of a session without a window.
    void showPage(Page page);
    void focusField(Field field);
    void jobChanged();
    void serveEvents();
};

} // namespace kesto
