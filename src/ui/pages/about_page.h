#pragma once
// The About page: the scrolling banner and the author's e-mail and web links.
#include "controls.h"
#include "job/session.h"

namespace kesto::ui {

class Marquee;

// The project's addresses on the About page and behind the Help menu's links, set when the
// program is configured (KESTO_CONTACT_EMAIL, KESTO_HOMEPAGE); an empty one hides its link.
// Read when a window is built; the window tests give addresses of their own.
inline QString AuthorEmail = QStringLiteral(KESTO_CONTACT_EMAIL);
inline QString AuthorWebPage = QStringLiteral(KESTO_HOMEPAGE);
QString emailCommand();
QString webCommand();

class AboutPage : public PageFrame {
public:
    AboutPage(Session &session, QWidget *parent);

    void setBannerText(const QString &text);
    void setBannerVisible(bool visible);

    void SSPanel10_Click();
    void SSPanel11_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Session &session_;
    Marquee *PVMarquee1 = nullptr;
    QLabel *SSPanel10 = nullptr;
    QLabel *SSPanel11 = nullptr;
};

} // namespace kesto::ui
