#pragma once
#include "job_settings.h"
#include "run_failure.h"
#include "run_state.h"
#include "system/services.h"

namespace kesto {

// The one job, the shared run-time state and the outside components.
class Session {
public:
    JobSettings job;
    RunState state;
    Services svc;

    bool batchMode() const { return state.batchMode(); }

    // A message box; in batch mode nothing is shown and the answer is OK.
    // reason: beneath the text, what the user needs to act (file, line, value, remedy).
    Answer message(const QString &text, const QString &title, Icon icon,
                   Buttons buttons = Buttons::Ok, const QString &reason = {});
    // A refusal with the title "Kesto32 error".
    Answer error(const QString &text, Icon icon, Buttons buttons = Buttons::Ok,
                 const QString &reason = {})
    {
        return message(text, ErrorTitle(), icon, buttons, reason);
    }
    // The window's message for a failure, where it has one, with the failure's detail and remedy
    // beneath (none in batch mode: the batch run reports the failure it is handed back).
    void report(const RunFailure &failure);

    void showPage(Page page) { svc.window->showPage(page); }
    void focusField(Field field) { svc.window->focusField(field); }
    void jobChanged() { svc.window->jobChanged(); }
    void serveEvents() { svc.window->serveEvents(); }
};

} // namespace kesto
