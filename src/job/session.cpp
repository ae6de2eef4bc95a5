#include "session.h"

namespace kesto {

Answer Session::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    if (batchMode() || !svc.messages)
        return Answer::Ok;
    return svc.messages->show(text, title, icon, buttons);
}

void Session::endBatch(ExitStatus status, const QString &reason)
{
    if (svc.lifetime)
        svc.lifetime->endProgram(status, reason);
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
