#pragma once
// The shaped splash window: shown first at start-up, then again as the About box.
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace kesto {

class Session;

class Form3 : public QWidget {
    Q_OBJECT
public:
    // Loading the splash shows it. At start-up loadMainWindow runs at the first timer step;
    // it may close the splash itself. parent is the main window when opened as the About box.
    Form3(Session &session, std::function<void()> loadMainWindow, QWidget *parent = nullptr);
    ~Form3() override;

    // The splash now loaded (shown and not yet closed), if any.
    static Form3 *loaded();
    // The window brought to the front when the splash goes; the parent unless set.
    void setMainWindow(QWidget *window) { mainWindow = window; }

    void Timer1_Timer();
    void Form_Click();
    void Label1_Click();

    QLabel *Label1 = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void repaintMainWindow();

    Session &session;
    std::function<void()> loadMainWindow;
    QPointer<QWidget> mainWindow;
    QPixmap picture;
};

// Opens the splash as the About box over the main window, or keeps the open one a period longer.
void OpenAboutSplash(Session &session, QWidget *mainWindow);
// Closes the splash if it is loaded (start-up with a script on the command line).
void CloseSplash();

} // namespace kesto
