#pragma once
// The main window: the list bar, the page title, the seven pages and the menus. It shows the
// one job of the session and writes every user change back at once; the work itself is done by
// the engine and the page operations.
#include "job/session.h"
#include "system/window.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace kesto::ui {

class ListBar;
class Marquee;

// Configuration: the author's addresses on the About page and behind the Help menu's links.
inline const QString AuthorEmail = QStringLiteral("zwt@example.org");
inline const QString AuthorWebPage = QStringLiteral("http://www.example.org/zwt/");

// The command line's prefix decides batch mode; sets BatchRun, BatchRunDated, CommandLineScript.
void ReadCommandLine(RunState &state, const QString &commandLine);

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
    void exitm_Click();
    void kesto_Click();
    void contents_Click();
    void indexm_Click();
    void webm_Click();
    void emailm_Click();
    void aboutm_Click();

    // Window behaviours.
    void Form_KeyDown(int keyCode);
    void SSPanel10_Click();
    void SSPanel11_Click();

    QString titleText() const;
    QWidget *pageWidget(Page page) const;
    ListBar *listBar() const { return SSListBar1; }
    QMenu *pageMenu() const { return Menu; }
    // The temporary drive list: the selected drive's letter, and selecting one by its letter.
    QString selectedDrive() const;
    void selectDrive(const QString &letter);

    // Window
    void hideAllPages() override { HideAllPages(); }
    void showPage(Page page) override;
    void focusField(Field field) override;
    void setTitleText(const QString &caption) override;
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
    void buildSourcePage();
    void buildSkipPage();
    void buildDizPage();
    void buildNfoPage();
    void buildZipPage();
    void buildKestoPage();
    void buildAboutPage();
    void connectControls();
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

    // Page controls.
    void Command2_Click();
    void Drive1_Change();
    void Command1_Click();
    void Command14_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command3_Click();
    void Option1_Click();
    void Option3_Click();
    void Command7_Click();
    void Command11_Click();
    void Command8_Click();
    void Check1_Click();
    void Option2_Click();
    void Option4_Click();
    void Command9_Click();
    void Command10_Click();
    void SSCheck1_Click();
    void SSCheck2_Click();
    void VScroll1_Change();

    Session &session_;
    QString commandLine_;
    QString programDir_;
    std::function<void()> closeSplash_;
    std::function<void()> openAboutSplash_;
    std::function<void(QMenu *, const QPoint &)> pagePopup_;
    QList<QWidget *> menuSurfaces_;
    QList<QLabel *> pathDisplays_;
    bool refreshing_ = false;        // the pages are being filled from the job
    bool rootDirectory_ = false;     // started from a root directory: nothing to clean up
    bool duplicateInstance_ = false; // another instance ran first: nothing to clean up
    bool closed_ = false;            // closed while loading: the start-up goes no further
    bool measuring_ = false;
    bool testingDiz_ = false;

    QWidget *client = nullptr;
    ListBar *SSListBar1 = nullptr;
    QLabel *SSPanel1 = nullptr;
    QLabel *SSPanel7 = nullptr;

    QMenu *file = nullptr;
    QMenu *Menu = nullptr;
    QMenu *helpm = nullptr;

    // Source page.
    QFrame *Picture1 = nullptr;
    QLabel *SSPanel8 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label9 = nullptr;
    QComboBox *Drive1 = nullptr;
    QLabel *Label3 = nullptr;
    // Skip page.
    QFrame *Picture2 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QRadioButton *Option6 = nullptr;
    QRadioButton *Option5 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command14 = nullptr;
    // Diz page.
    QFrame *Picture4 = nullptr;
    QLabel *SSPanel2 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text6 = nullptr;
    // Nfo page.
    QFrame *Picture5 = nullptr;
    QLabel *SSPanel3 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command8 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *SSPanel4 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option4 = nullptr;
    QPushButton *Command9 = nullptr;
    // Zip page.
    QFrame *Picture6 = nullptr;
    QLabel *SSPanel5 = nullptr;
    QPushButton *Command10 = nullptr;
    QLabel *Label14 = nullptr;
    QLineEdit *Text3 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *SSPanel6 = nullptr;
    QCheckBox *SSCheck1 = nullptr;
    QCheckBox *SSCheck2 = nullptr;
    // Kesto page.
    QFrame *Picture7 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QProgressBar *PVProgressBar1 = nullptr;
    // The completion last set; the bar shows it at the latest when progressFrame_ ends.
    int progressValue_ = 0;
    QTimer *progressFrame_ = nullptr;
    QPushButton *Command12 = nullptr;
    QPushButton *Command13 = nullptr;
    // About page.
    QFrame *Picture8 = nullptr;
    Marquee *PVMarquee1 = nullptr;
    QLabel *SSPanel10 = nullptr;
    QLabel *SSPanel11 = nullptr;
};

} // namespace kesto::ui
