#include "engine/batch_run.h"
#include "engine/run_stop.h"
#include "engine/series_command.h"
#include "job/script.h"
#include "job/session.h"
#include "system/free_space.h"
#include "system/help_text.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/stop_signals.h"
#include "system/timings.h"
#include "system/zip_component.h"
#include "ui/main_window.h"
#include "ui/program_arguments.h"
#include "ui/qt_platform.h"
#include "ui/single_instance.h"
#include "ui/splash_window.h"
#include "ui/translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstring>
#include <memory>
#include <optional>

using namespace kesto;

int main(int argc, char **argv)
{
    timings::mark("start");
    QList<QByteArray> rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QByteArray(argv[i]);
    ui::ArrangedArguments arranged = ui::ArrangeArguments(rawArguments, ui::ProgramOptions());
    // A batch run needs no display: without one it builds no window. On a desktop it shows the
    // main window's Kesto page with its progress, and no one waits for a splash period.
    const bool batch = arranged.batch;
    const bool display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool windowless = !arranged.error.isEmpty() || arranged.helpOrVersion ||
                            (batch && !display) || IsSeriesCommand(arranged.arguments) ||
                            (!batch && !display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
    ui::DropQtNotesWhenUnattended(batch);
    // Made before anything is said, so that every line is in the user's language.
    const std::unique_ptr<QCoreApplication> application =
        windowless ? std::make_unique<QCoreApplication>(argc, argv)
                   : std::make_unique<QApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("kesto32"));
    // The desktop matches the window to its launcher and icon: the Wayland application id, and
    // on X11 the window class "kesto32" (StartupWMClass in the entry).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kesto32.Kesto32"));
    ui::InstallTranslations();
    if (!arranged.error.isEmpty())
        arranged = ui::ArrangeArguments(rawArguments, ui::ProgramOptions());
    const QCommandLineOption quiet = ui::QuietOption();

    if (const std::optional<int> status = ui::RefuseCommandLine(arranged))
        return *status;
    // --plan, --verify and --checksums on a finished series print and end: no window.
    if (const std::optional<int> status = RunSeriesCommand(argc, argv, arranged.arguments))
        return *status;
    if (const std::optional<int> status = ui::RefuseWindowWithoutDisplay(arranged))
        return *status;

    Session session;
    QCoreApplication::setApplicationVersion(session.state.VersionText);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("kesto32", "Packages a directory tree into a numbered series "
                                               "of zip archives.") +
        CommandLineHelpNotes());
    parser.addOption(quiet);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions(SeriesCommandOptions());
    parser.addPositionalArgument(
        QCoreApplication::translate("kesto32", "script"),
        QCoreApplication::translate("kesto32",
                                    "Job script (.kst) to load. Prefix it with ! to run the job "
                                    "unattended and end, or with $ to do the same with "
                                    "date-stamped archive names."),
        QCoreApplication::translate("kesto32", "[script]"));
    parser.parse(arranged.arguments);
    // Printed here rather than by the parser, so that output that cannot be written fails.
    if (parser.isSet(help) || parser.isSet(version)) {
        const QString text =
            parser.isSet(help)
                ? parser.helpText()
                : QStringLiteral("kesto32 %1\n").arg(QCoreApplication::applicationVersion());
        return ui::WriteStandardOutput(text.toLocal8Bit()) ? 0 : ui::ExitOutputError;
    }
    session.state.WriteChecksums = parser.isSet(QStringLiteral("checksums"));
    const std::optional<int> recoveryPercent = RecoveryPercentOption(arranged.arguments);
    if (!recoveryPercent)
        return ui::ExitUsage;
    session.state.RecoveryPercent = *recoveryPercent;
    const QString commandLine = parser.positionalArguments().join(QLatin1Char(' '));

    // The command runner, the drives and the zip component are the session's own.
    session.state.AppDir = paths::appDir();
    if (batch) {
        ui::ReadCommandLine(session.state, commandLine);
        SetCommandLineScriptBytes(arranged.scriptBytes.mid(1));
        session.state.ScriptPath = session.state.CommandLineScript;
        StopSignals stopSignals;
        // The window only shows the run: it asks nothing (no message box, no dialog) and the
        // program ends with the run.
        std::optional<ui::MainWindow> window;
        if (display) {
            initUiResources();
            window.emplace(session);
            session.svc.window = &*window;
            session.svc.zip->serveEvents = [&window] { window->serveEvents(); };
            window->setWindowTitle(QStringLiteral("Kesto32 - ") +
                                   ScriptFileName(session.state.ScriptPath));
            window->showPage(Page::Kesto);
            window->show();
            window->serveEvents();
        }
        const int status = RunBatch(session, parser.isSet(quiet));
        timings::mark("exit");
        if (display)
            EndProcessAfterShutdown(status);
        return status;
    }
    // A window is open already: it comes to the front and takes the script; this start ends at
    // once, without a splash of its own.
    LocalSingleInstance instance;
    if (instance.anotherRunning()) {
        instance.activateOther(commandLine.isEmpty() ? QString()
                                                     : QFileInfo(commandLine).absoluteFilePath());
        return 0;
    }

    // Held for the window's life: a batch run started meanwhile must not share the fixed files.
    const bool ownsFixedFiles = runlock::acquire();

    initUiResources();
    struct {
        QtMessageBoxes messages;
        QtDialogs dialogs;
        QtSound sound;
        QtHelp help;
    } desktop;
    QtLauncher launcher(&desktop.help);
    launcher.setMessages(&desktop.messages);
    session.svc.use(desktop);
    session.svc.instance = &instance;
    session.svc.launcher = &launcher;
    DiskInfo *disks = session.svc.disks;
    desktop.dialogs.folderStatus = [disks](const QString &path) {
        return FolderPickerSelectionChanged(*disks, path);
    };

    // The splash window comes first; after its period it loads the main window. The main window
    // is built while the period runs: nothing is served before the event loop starts below.
    std::optional<ui::MainWindow> mainWindow;
    auto *splash = new Form3(session, [&mainWindow, &session, ownsFixedFiles] {
        timings::mark("main-window-load");
        mainWindow->MainWindowLoad();
        // Another instance (an unattended run) holds the fixed files: this window leaves them
        // alone.
        if (!ownsFixedFiles && mainWindow->isVisible())
            session.error(QCoreApplication::translate(
                              "kesto32", "Another instance of Kesto32 is running, an unattended "
                                         "run perhaps. Start a job here once it has ended."),
                          Icon::Exclamation);
    });
    ui::MainWindow &window = mainWindow.emplace(session, commandLine);
    splash->setMainWindow(&window);
    session.svc.window = &window;
    desktop.messages.setParentWindow(&window);
    desktop.dialogs.setParentWindow(&window);
    desktop.help.setParentWindow(&window);
    session.svc.zip->serveEvents = [&window] { window.serveEvents(); };
    window.setSplashCloser([] { CloseSplash(); });
    window.setAboutSplashOpener([&session, &window] { OpenAboutSplash(session, &window); });

    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, [&session] { StopForSignal(session); });

    // Closing the main window ends the program, whatever other window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &ui::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    int status = app.exec();
    if (const int signal = CaughtStopSignal()) {
        ReportStopped(session);
        status = 128 + signal;
    }
    timings::mark("exit");
    launcher.discardSampleCopies();
    instance.close();
    EndProcessAfterShutdown(status);
}
