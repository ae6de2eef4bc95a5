#include "about_page.h"

#include "ui/marquee.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>

namespace kesto::ui {

QString emailCommand()
{
    return QStringLiteral("webdial.exe >mailto:") + AuthorEmail;
}

QString webCommand()
{
    return QStringLiteral("webdial.exe $") + AuthorWebPage;
}

AboutPage::AboutPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture8", 1190, 680, 4035, 2850), session_(session)
{
    PVMarquee1 = named(new Marquee(this), "PVMarquee1", twipsRect(0, 0, 3780, 360));
    PVMarquee1->hide();
    QLabel *about = makeLabel(this, "Label17",
                              QCoreApplication::translate(
                                  "AboutPage", "Visit my web page for other programs I've written "
                                               "and updates.  Please send me your comments or "
                                               "suggestions."),
                              twipsRect(120, 540, 3540, 960), Qt::AlignCenter);
    about->setWordWrap(true);
    SSPanel10 = makePanel(this, "SSPanel10", twipsRect(120, 1680, 3540, 330), Qt::AlignCenter);
    SSPanel10->setText(AuthorEmail);
    SSPanel10->setVisible(!AuthorEmail.isEmpty());
    SSPanel11 = makePanel(this, "SSPanel11", twipsRect(120, 2130, 3540, 330), Qt::AlignCenter);
    SSPanel11->setText(AuthorWebPage);
    SSPanel11->setVisible(!AuthorWebPage.isEmpty());
    SSPanel10->installEventFilter(this);
    SSPanel11->installEventFilter(this);
}

void AboutPage::setBannerText(const QString &text)
{
    PVMarquee1->setText(text);
}

void AboutPage::setBannerVisible(bool visible)
{
    PVMarquee1->setVisible(visible);
}

// The link panels act on a left click and turn blue under the pointer.
bool AboutPage::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = qobject_cast<QWidget *>(watched);
    if (link != SSPanel10 && link != SSPanel11)
        return PageFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint()))
            link == SSPanel10 ? SSPanel10_Click() : SSPanel11_Click();
        break;
    }
    // The theme's colours: a link colour under the pointer, the text colour elsewhere, readable
    // on a dark theme as on a light one.
    case QEvent::Enter:
        setTextColour(link, QApplication::palette(link).color(QPalette::Link));
        break;
    case QEvent::Leave:
        setTextColour(link, QApplication::palette(link).color(QPalette::WindowText));
        break;
    default: break;
    }
    return PageFrame::eventFilter(watched, event);
}

void AboutPage::SSPanel10_Click()
{
    session_.svc.launcher->start(emailCommand(), WindowMode::ShowNoActivate);
}

void AboutPage::SSPanel11_Click()
{
    session_.svc.launcher->start(webCommand(), WindowMode::ShowNoActivate);
}

} // namespace kesto::ui
