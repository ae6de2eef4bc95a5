// The window's small behaviours: the page menu on a right click of a passive surface, the logo
// panel, F1 and the Help menu.
#include "main_window.h"

#include "icons.h"
#include "pages/about_page.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

namespace kesto::ui {

namespace {

constexpr int keyF1 = 112;

// Where a right click pops up the page menu: the window background, the pages, their frames,
// every label, the display panels, the title and logo panels and the banner.
const char *const menuSurfaceNames[] = {
    "client",   "Picture1", "Picture2", "Picture4", "Picture5", "Picture6",  "Picture7",
    "Picture8", "SSFrame1", "SSFrame2", "Frame3",   "Frame4",   "Frame5",    "Frame6",
    "Frame8",   "Label1",   "Label2",   "Label3",   "Label4",   "Label5",    "Label6",
    "Label7",   "Label8",   "Label9",   "Label10",  "Label11",  "Label12",   "Label13",
    "Label14",  "Label15",  "Label16",  "Label17",  "SSPanel8", "SSPanel2",  "SSPanel3",
    "SSPanel4", "SSPanel5", "SSPanel6", "SSPanel1", "SSPanel7", "PVMarquee1"};

} // namespace

void MainWindow::contents_Click()
{
    session_.svc.help->systemHelp(session_.state.AppDir + QStringLiteral("/Kesto32.HLP"),
                                  HelpCommand::Contents);
}

void MainWindow::indexm_Click()
{
    session_.svc.help->systemHelp(session_.state.AppDir + QStringLiteral("/Kesto32.HLP"),
                                  HelpCommand::Finder);
}

void MainWindow::webm_Click()
{
    session_.svc.launcher->start(webCommand(), WindowMode::ShowNormal);
}

void MainWindow::emailm_Click()
{
    session_.svc.launcher->start(emailCommand(), WindowMode::ShowNormal);
}

void MainWindow::aboutm_Click()
{
    openAboutSplash();
}

void MainWindow::installBehaviours()
{
    for (const char *name : menuSurfaceNames) {
        auto *surface = findChild<QWidget *>(QLatin1String(name));
        Q_ASSERT_X(surface, "installBehaviours", name);
        menuSurfaces_ << surface;
        surface->installEventFilter(this);
    }
    SSPanel7->setCursor(logoCursor());
    pagePopup_ = [](QMenu *menu, const QPoint &globalPos) { menu->popup(globalPos); };
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint globalPos = mouse->globalPosition().toPoint();
        if (widget == SSPanel7) {
            SSPanel7_MouseDown(mouse->button(), globalPos);
            return true;
        }
        // A press that a control let through to its container is not the container's own.
        if (menuSurfaces_.contains(widget) && !widget->childAt(mouse->position().toPoint()) &&
            mouse->button() == Qt::RightButton) {
            Form_MouseDown(mouse->button(), globalPos);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Form_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        popupPageMenu(globalPos);
}

void MainWindow::SSPanel7_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        popupPageMenu(globalPos);
    else
        openAboutSplash();
}

void MainWindow::popupPageMenu(const QPoint &globalPos)
{
    if (pagePopup_)
        pagePopup_(Menu, globalPos);
}

void MainWindow::openAboutSplash()
{
    session_.state.SplashAboutMode = true;
    if (openAboutSplash_)
        openAboutSplash_();
}

void MainWindow::startHelpViewer()
{
    session_.svc.launcher->start(QStringLiteral("winhelp.exe ") + session_.state.AppDir +
                                     QStringLiteral("/kesto32.hlp"),
                                 WindowMode::ShowNoActivate);
}

void MainWindow::Form_KeyDown(int keyCode)
{
    if (keyCode == keyF1)
        startHelpViewer();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Form_KeyDown(keyF1);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace kesto::ui
