#include "session.h"

namespace kesto {

Answer Session::message(const QString &text, const QString &title, Icon icon, Buttons buttons,
                        const QString &reason)
{
    if (batchMode())
        return Answer::Ok;
    return svc.messages->show(text, title, icon, buttons, reason);
}

void Session::report(const RunFailure &failure)
{
    const QString text = WindowMessage(failure.kind);
    if (!text.isEmpty())
        error(text, WindowIcon(failure.kind), Buttons::Ok, WindowReason(failure));
}

} // namespace kesto
