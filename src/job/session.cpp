#include "session.h"

namespace kesto {

Answer Session::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    if (batchMode() || !svc.messages)
        return Answer::Ok;
    return svc.messages->show(text, title, icon, buttons);
}

void Session::report(const RunFailure &failure)
{
    const QString text = WindowMessage(failure.kind);
    if (!text.isEmpty())
        error(text, WindowIcon(failure.kind));
}

void Session::showPage(Page page)
{
    if (svc.window)
        svc.window->showPage(page);
}

void Session::focusField(Field field)
{
    if (svc.window)
        svc.window->focusField(field);
}

void Session::jobChanged()
{
    if (svc.window)
        svc.window->jobChanged();
}

void Session::serveEvents()
{
    if (svc.window)
        svc.window->serveEvents();
}

} // namespace kesto
