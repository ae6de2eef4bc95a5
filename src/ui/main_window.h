#pragma once
// The main window: the list bar, the page title, the seven pages and the menus. It shows the
// one job of the session and writes every user change back at once; the work itself is done by
// the engine and the page operations.
#include "job/session.h"
#include "system/window.h"

#include <QMainWindow>
#include <functional>

class QLabel;
class QMenu;

namespace kesto::ui {

class AboutPage;
class DizPage;
class KestoPage;
class ListBar;
class NfoPage;
class ReportDialog;
class SkipPage;
class SourcePage;
class ZipPage;

class MainWindow : public QMainWindow, public Window {
    Q_OBJECT
public:
    // commandLine: the argument text after the program name, exactly as given.
    explicit MainWindow(Session &session, const QString &commandLine = {},
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up and shut-down.
    void MainWindowLoad();
    void ShutdownCleanup();
    void ExitCommand();
    // Where the program lies; the root check looks at it.
    void setProgramDir(const QString &dir) { programDir_ = dir; }
    // The splash window's parts that the start-up and the Help menu use.
    void setSplashCloser(std::function<void()> close) { closeSplash_ = std::move(close); }
    void setAboutSplashOpener(std::function<void()> open) { openAboutSplash_ = std::move(open); }

    // Where the page menu pops up; by default QMenu::popup at the pointer.
    void setPageMenuPopup(std::function<void(QMenu *menu, const QPoint &globalPos)> popup)
    {
        pagePopup_ = std::move(popup);
    }

    // Navigation.
    void HideAllPages();
    void source_Click();
    void skip_Click();
    void diz_Click();
    void nfo_Click();
    void zip_Click();
    void ShowAboutPage();
    void SSListBar1_ListItemClick(const QString &itemClicked);
    void SSListbar1_GroupClick(int groupClicked, int previousGroup);

    // Menus.
    void open_Click();
    void save_Click();
    void saveas_Click();
    // What a run of the current job would make; the check of a finished series. Both show the
    // command line's report in a read-only dialog.
    void plan_Click();
    void verify_Click();
    // The report dialog last shown (null before the first); tests and screenshots read it.
    ReportDialog *reportDialog() const { return reportDialog_; }
    // A later start of the program handed over its script (or none): load it as Open would.
    void openHandedScript(const QString &scriptPath);
    void openWhenFree(const QString &scriptPath);
    void exitm_Click();
    void kesto_Click();
    void contents_Click();
    void indexm_Click();
    void webm_Click();
    void emailm_Click();
    void aboutm_Click();

    // Window behaviours.
    void Form_KeyDown(int keyCode);

    QString titleText() const;
    QWidget *pageWidget(Page page) const;
    ListBar *listBar() const { return SSListBar1; }
    QMenu *pageMenu() const { return Menu; }
    SourcePage *sourcePage() const { return Picture1; }

    // Window
    void hideAllPages() override { HideAllPages(); }
    void showPage(Page page) override;
    void focusField(Field field) override;
    void setTitleText(const QString &caption) override;
    // A page list item's name ("Source") in the user's language.
    static QString pageName(const QString &item);
    void setWindowTitle(const QString &title) override;
    void setStatusText(const QString &text) override;
    void setArchiveText(const QString &text) override;
    void setVolumeText(const QString &text) override;
    int progress() const override;
    void setProgress(int percent) override;
    void setSourceSizeText(const QString &text) override;
    void setMeasuring(bool busy) override;
    void setTempFreeSpaceText(const QString &text) override;
    void setZipFreeSpaceText(const QString &text) override;
    void setSizeDisplayText(const QString &text) override;
    void jobChanged() override;
    void serveEvents() override;
    void repaint() override;
    void closeMainWindow() override;

signals:
    // The window has closed (and cleaned up): the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildFrame();
    void installBehaviours();
    void placeWindow();
    void startHelpViewer();
    void openAboutSplash();
    void popupPageMenu(const QPoint &globalPos);
    // Mouse-down on the window background and every other surface that offers the page menu.
    void Form_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void SSPanel7_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void playSound(const QString &waveFile);
    void showPlaced(QWidget *page, int left, int top, const QString &title);

    Session &session_;
    QString commandLine_;
    QString programDir_;
    std::function<void()> closeSplash_;
    std::function<void()> openAboutSplash_;
    std::function<void(QMenu *, const QPoint &)> pagePopup_;
    QList<QWidget *> menuSurfaces_;
    bool rootDirectory_ = false;     // started from a root directory: nothing to clean up
    bool duplicateInstance_ = false; // another instance ran first: nothing to clean up
    bool closed_ = false;            // closed while loading: the start-up goes no further
    bool measuring_ = false;
    int archivesBegun_ = 0;
    ReportDialog *reportDialog_ = nullptr;
    void showReport(const QString &title, const QStringList &lines);

    QWidget *client = nullptr;
    ListBar *SSListBar1 = nullptr;
    QLabel *SSPanel1 = nullptr;
    QLabel *SSPanel7 = nullptr;

    QMenu *file = nullptr;
    QMenu *Menu = nullptr;
    QMenu *helpm = nullptr;

    SourcePage *Picture1 = nullptr;
    SkipPage *Picture2 = nullptr;
    DizPage *Picture4 = nullptr;
    NfoPage *Picture5 = nullptr;
    ZipPage *Picture6 = nullptr;
    KestoPage *Picture7 = nullptr;
    AboutPage *Picture8 = nullptr;
};

} // namespace kesto::ui
