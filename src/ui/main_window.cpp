#include "main_window.h"

#include "describe/source_size.h"
#include "engine/batch_run.h"
#include "engine/output_settings.h"
#include "engine/temp_drive.h"
#include "engine/validation.h"
#include "icons.h"
#include "job/script.h"
#include "list_bar.h"
#include "pages/about_page.h"
#include "pages/diz_page.h"
#include "pages/kesto_page.h"
#include "pages/nfo_page.h"
#include "pages/skip_page.h"
#include "pages/source_page.h"
#include "pages/zip_page.h"
#include "program_arguments.h"
#include "system/paths.h"
#include "system/stop_signals.h"
#include "system/zip_component.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace kesto::ui {

namespace {

constexpr int clientWidth = 5100;
constexpr int clientHeight = 3675;

} // namespace

MainWindow::MainWindow(Session &session, const QString &commandLine, QWidget *parent)
    : QMainWindow(parent), session_(session), commandLine_(commandLine),
      programDir_(paths::programDir())
{
    setObjectName(QStringLiteral("Form1"));
    QMainWindow::setWindowTitle(QStringLiteral("Kesto32"));
    // The program's icon, compiled into it: every window of the program shows it.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/kesto32.png").arg(size));
    QApplication::setWindowIcon(icon);
    // A fixed single border: no maximise button, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    buildMenus();
    buildFrame();
    Picture1 = new SourcePage(session_, client);
    Picture2 = new SkipPage(session_, client);
    Picture4 = new DizPage(session_, client);
    Picture5 = new NfoPage(session_, client);
    Picture6 = new ZipPage(session_, client);
    Picture7 = new KestoPage(session_, client);
    Picture7->showPlan = [this] { plan_Click(); };
    Picture8 = new AboutPage(session_, client);
    connect(SSListBar1, &ListBar::listItemClick, this, &MainWindow::SSListBar1_ListItemClick);
    connect(SSListBar1, &ListBar::groupClick, this, &MainWindow::SSListbar1_GroupClick);
    installBehaviours();

    Picture1->show();
    SSListBar1->setCurrentItem(QStringLiteral("Source"));
    jobChanged();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow()
{
    session_.svc.instance->onActivate = nullptr;
    if (measuring_)
        QApplication::restoreOverrideCursor();
}

void MainWindow::buildMenus()
{
    menuBar()->setNativeMenuBar(false);
    auto addItem = [this](QMenu *menu, const QString &text, const char *name, auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("file"));
    addItem(file, tr("&Open script..."), "open", &MainWindow::open_Click);
    addItem(file, tr("&Save script..."), "save", &MainWindow::save_Click);
    addItem(file, tr("Save script &as..."), "saveas", &MainWindow::saveas_Click);
    file->addSeparator();
    addItem(file, tr("&Plan..."), "plan", &MainWindow::plan_Click);
    addItem(file, tr("&Verify series..."), "verify", &MainWindow::verify_Click);
    file->addSeparator();
    addItem(file, tr("E&xit"), "exitm", &MainWindow::exitm_Click);

    // The page menu pops up on right clicks; it has no place in the menu bar.
    Menu = new QMenu(QStringLiteral("menu"), this);
    Menu->setObjectName(QStringLiteral("Menu"));
    //: The page menu, opened by a right click; one mnemonic each within the menu.
    addItem(Menu, tr("&Source"), "source", &MainWindow::source_Click);
    addItem(Menu, tr("S&kip"), "skip", &MainWindow::skip_Click);
    addItem(Menu, tr("&Diz"), "diz", &MainWindow::diz_Click);
    addItem(Menu, tr("&Nfo"), "nfo", &MainWindow::nfo_Click);
    addItem(Menu, tr("&Zip"), "zip", &MainWindow::zip_Click);
    Menu->addSeparator();
    addItem(Menu, tr("&Kesto"), "kesto", &MainWindow::kesto_Click);

    helpm = menuBar()->addMenu(tr("&Help"));
    helpm->setObjectName(QStringLiteral("helpm"));
    addItem(helpm, tr("&Contents..."), "contents", &MainWindow::contents_Click);
    addItem(helpm, tr("&Index..."), "indexm", &MainWindow::indexm_Click);
    helpm->addSeparator();
    addItem(helpm, tr("&Web page..."), "webm", &MainWindow::webm_Click)
        ->setVisible(!AuthorWebPage.isEmpty());
    addItem(helpm, tr("&Email"), "emailm", &MainWindow::emailm_Click)
        ->setVisible(!AuthorEmail.isEmpty());
    helpm->addSeparator();
    addItem(helpm, tr("&About"), "aboutm", &MainWindow::aboutm_Click);
}

void MainWindow::buildFrame()
{
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsSize(clientWidth, clientHeight));
    setCentralWidget(client);

    SSListBar1 = named(new ListBar(client), "SSListBar1", twipsRect(165, 120, 930, 3375));
    //: The page list's group of the job's pages (about 60 pixels wide)
    const int mainGroup = SSListBar1->addGroup(tr("Main"));
    // The items keep their English names inside the program; the user reads pageName(item).
    for (const char *item : {"Source", "Skip", "Diz", "Nfo", "Zip", "Kesto!"})
        SSListBar1->addItem(mainGroup, QLatin1String(item), listItemIcon(QLatin1String(item)),
                            pageName(QLatin1String(item)));
    //: The page list's group of help and information (about 60 pixels wide)
    const int helpGroup = SSListBar1->addGroup(tr("Help"));
    for (const char *item : {"Help", "About"})
        SSListBar1->addItem(helpGroup, QLatin1String(item), listItemIcon(QLatin1String(item)),
                            pageName(QLatin1String(item)));

    SSPanel1 = makeLabel(client, "SSPanel1", QLatin1Char(' ') + pageName(QStringLiteral("Source")),
                         twipsRect(1200, 135, 3735, 435));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SSPanel1->setLineWidth(2);
    QFont titleFont = SSPanel1->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    SSPanel1->setFont(titleFont);

    SSPanel7 = makeLabel(SSPanel1, "SSPanel7", QStringLiteral("ZWT"), twipsRect(2940, 60, 660, 285),
                         Qt::AlignCenter);
    SSPanel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont logoFont(QStringLiteral("Chaucer"));
    logoFont.setStyleHint(QFont::Serif);
    logoFont.setPointSize(10);
    logoFont.setBold(true);
    logoFont.setItalic(true);
    SSPanel7->setFont(logoFont);
}

void MainWindow::MainWindowLoad()
{
    RunState &state = session_.state;
    JobSettings &job = session_.job;

    HideAllPages();
    Picture1->show();

    if (programDir_ == QLatin1String("/")) {
        rootDirectory_ = true;
        session_.report({Failure::RootDirectory, {}});
        close();
        return;
    }

    if (session_.svc.instance->anotherRunning()) {
        duplicateInstance_ = true;
        const QString duplicate = tr("Kesto32 duplicate instance.");
        QGuiApplication::setApplicationDisplayName(duplicate);
        setWindowTitle(duplicate);
        session_.svc.instance->activateOther(QString());
        close();
        return;
    }
    session_.svc.instance->onActivate = [this](const QString &scriptPath) {
        openHandedScript(scriptPath);
    };

    placeWindow();
    Picture8->setBannerText(QStringLiteral("Kesto32 ") + state.VersionText +
                            QStringLiteral("  by ZWT   <IMG 1>"));
    Picture1->selectDrive(TempDriveStartup(session_));
    Picture1->setDisplayTips();

    ReadCommandLine(state, commandLine_);
    state.ScriptPath = state.CommandLineScript;
    if (commandLine_.isEmpty()) {
        show();
        repaint();
        return;
    }
    if (closeSplash_)
        closeSplash_();

    setWindowTitle(QStringLiteral("Kesto32 - ") + ScriptFileName(state.ScriptPath));
    show();
    repaint();
    // Batch runs never come here (they build no window): a script only waits for the user.
    LoadScript(session_);
    jobChanged();
    ValidateJob(session_);
    jobChanged();
    if (!job.ZipDir.isEmpty())
        ShowZipFreeSpace(session_);
    CalculateSourceSize(session_);
    // The measurement serves the window: the user may have closed it meanwhile.
    if (closed_)
        return;
    show();
    repaint();
}

// Centred across, 1300 twips below the middle down.
void MainWindow::placeWindow()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize screenSize = screen->geometry().size();
    layout()->activate(); // the fixed size is known before the window is first shown
    const QSize windowSize = size();
    move((screenSize.width() - windowSize.width()) / 2,
         (screenSize.height() - windowSize.height()) / 2 + twips(1300));
}

void MainWindow::ShutdownCleanup()
{
    // Another instance owns the fixed files, and a refused start made none.
    if (rootDirectory_ || duplicateInstance_)
        return;
    RemoveFixedFiles(session_.state);
}

void MainWindow::ExitCommand()
{
    session_.svc.zip->AbortRequest = true;
    serveEvents();
    closeMainWindow();
}

// --- Window ---------------------------------------------------------------------------------

void MainWindow::focusField(Field field)
{
    if (field == Field::ZipName)
        Picture6->focusName();
    else
        Picture4->focusField(field);
}

QString MainWindow::pageName(const QString &item)
{
    // The names of the page list's items and of the page titles after their blank.
    static const char *const names[] = {
        QT_TR_NOOP("Source"), QT_TR_NOOP("Skip"),   QT_TR_NOOP("Diz"),  QT_TR_NOOP("Nfo"),
        QT_TR_NOOP("Zip"),    QT_TR_NOOP("Kesto!"), QT_TR_NOOP("Help"), QT_TR_NOOP("About")};
    for (const char *name : names) {
        if (item == QLatin1String(name))
            return tr(name);
    }
    return item;
}

void MainWindow::setTitleText(const QString &caption)
{
    // " Skip" is shown in the user's language; any other caption as it is.
    SSPanel1->setText(caption.startsWith(QLatin1Char(' '))
                          ? QLatin1Char(' ') + pageName(caption.mid(1))
                          : caption);
}

void MainWindow::setWindowTitle(const QString &title)
{
    QMainWindow::setWindowTitle(title);
}

void MainWindow::setStatusText(const QString &text)
{
    Picture7->setStatusText(text);
}

void MainWindow::setArchiveText(const QString &text)
{
    // Each archive of the run is named as it is begun.
    if (!text.isEmpty())
        ++archivesBegun_;
    Picture7->setArchiveText(text);
}

void MainWindow::setVolumeText(const QString &text)
{
    Picture7->setVolumeText(text);
}

int MainWindow::progress() const
{
    return Picture7->progress();
}

void MainWindow::setProgress(int percent)
{
    Picture7->setProgress(percent);
}

void MainWindow::setSourceSizeText(const QString &text)
{
    Picture1->setSourceSizeText(text);
}

void MainWindow::setMeasuring(bool busy)
{
    Picture1->setMeasuring(busy);
    SSListBar1->setEnabled(!busy);
    if (busy && !measuring_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!busy && measuring_)
        QApplication::restoreOverrideCursor();
    measuring_ = busy;
}

void MainWindow::setTempFreeSpaceText(const QString &text)
{
    Picture1->setTempFreeSpaceText(text);
}

void MainWindow::setZipFreeSpaceText(const QString &text)
{
    Picture6->setZipFreeSpaceText(text);
}

void MainWindow::setSizeDisplayText(const QString &text)
{
    Picture6->setSizeDisplayText(text);
}

void MainWindow::jobChanged()
{
    const JobSettings &job = session_.job;
    Picture1->showJob(job);
    Picture2->showJob(job);
    Picture4->showJob(job);
    Picture5->showJob(job);
    Picture6->showJob(job);
}

void MainWindow::serveEvents()
{
    QCoreApplication::processEvents();
}

void MainWindow::repaint()
{
    QMainWindow::repaint();
}

void MainWindow::closeMainWindow()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closed during a run: the archiver is ended and the add in progress abandoned; the run
    // removes its work directory where it stops.
    if (session_.state.RunInProgress) {
        session_.svc.zip->AbortRequest = true;
        RequestStop();
    }
    closed_ = true;
    ShutdownCleanup();
    event->accept();
    emit closed();
}

} // namespace kesto::ui
