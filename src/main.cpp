#include "engine/series_command.h"
#include "job/session.h"
#include "system/command_runner.h"
#include "system/free_space.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "system/timings.h"
#include "system/zip_component.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/single_instance.h"
#include "ui/splash_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLoggingCategory>

#include <optional>

using namespace kesto;

int main(int argc, char **argv)
{
    timings::mark("start");
    // --plan, --verify and --checksums on a finished series print and end: no window.
    if (const std::optional<int> status = RunSeriesCommand(argc, argv))
        return *status;
    // Without a display (a server, cron, CI) a batch run still works, on Qt's offscreen platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // There Qt's notes on what a display would do (window shapes, size hints, a missing
        // runtime directory) would only bury the program's own "kesto32: ..." line.
        QLoggingCategory::setFilterRules(QStringLiteral("*.warning=false"));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kesto32"));

    Session session;
    QApplication::setApplicationVersion(session.state.VersionText);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Packages a directory tree into a numbered series of zip archives."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(SeriesCommandOptions());
    parser.addPositionalArgument(
        QStringLiteral("script"),
        QStringLiteral("Job script (.kst) to load. Prefix it with ! to run the job unattended and "
                       "end, or with $ to do the same with date-stamped archive names."),
        QStringLiteral("[script]"));
    parser.process(app);
    session.state.WriteChecksums = parser.isSet(QStringLiteral("checksums"));
    const QString commandLine = parser.positionalArguments().join(QLatin1Char(' '));

    initUiResources();
    QtMessageBoxes messages;
    QtDialogs dialogs;
    QtSound sound;
    QtHelp help;
    QtLauncher launcher(&help);
    SystemCommandRunner runner;
    StorageDiskInfo disks;
    ProcessLifetime lifetime;
    LocalSingleInstance instance;
    ZipComponent zip;
    dialogs.folderStatus = [&disks](const QString &path) {
        return FolderPickerSelectionChanged(disks, path);
    };
    session.svc.messages = &messages;
    session.svc.dialogs = &dialogs;
    session.svc.sound = &sound;
    session.svc.launcher = &launcher;
    session.svc.help = &help;
    session.svc.runner = &runner;
    session.svc.disks = &disks;
    session.svc.lifetime = &lifetime;
    session.svc.instance = &instance;
    session.svc.zip = &zip;
    session.state.AppDir = paths::appDir();

    // The splash window comes first; after its period it loads the main window. The main window
    // is built while the period runs: nothing is served before the event loop starts below.
    std::optional<ui::MainWindow> mainWindow;
    auto *splash = new Form3(session, [&mainWindow] {
        timings::mark("main-window-load");
        mainWindow->MainWindowLoad();
    });
    ui::MainWindow &window = mainWindow.emplace(session, commandLine);
    splash->setMainWindow(&window);
    session.svc.window = &window;
    messages.setParentWindow(&window);
    dialogs.setParentWindow(&window);
    help.setParentWindow(&window);
    zip.serveEvents = [&window] { window.serveEvents(); };
    instance.onActivate = [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    };
    window.setSplashCloser([] { CloseSplash(); });
    window.setAboutSplashOpener([&session, &window] { OpenAboutSplash(session, &window); });

    // Closing the main window ends the program, whatever other window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &ui::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    const int status = app.exec();
    timings::mark("exit");
    return status;
}
