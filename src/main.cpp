#include "job/session.h"
#include "system/paths.h"
#include "system/zip_component.h"
#include "ui/main_window.h"
#include "ui/standin_services.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

using namespace kesto;

int main(int argc, char **argv)
{
    // Without a display (a server, cron, CI) a batch run still works, on Qt's offscreen platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kesto32"));

    Session session;
    QApplication::setApplicationVersion(session.state.VersionText);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Packages a directory tree into a numbered series of zip archives."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("script"),
        QStringLiteral("Job script (.kst) to load. Prefix it with ! to run the job unattended and "
                       "end, or with $ to do the same with date-stamped archive names."),
        QStringLiteral("[script]"));
    parser.process(app);
    const QString commandLine = parser.positionalArguments().join(QLatin1Char(' '));

    standin::QtMessageBoxes messages;
    standin::QtDialogs dialogs;
    standin::QtSound sound;
    standin::QtLauncher launcher;
    standin::QtHelp help;
    standin::SystemCommandRunner runner;
    standin::StorageDiskInfo disks;
    standin::ProcessLifetime lifetime;
    standin::LocalSingleInstance instance;
    ZipComponent zip;
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

    ui::MainWindow window(session, commandLine);
    session.svc.window = &window;
    zip.serveEvents = [&window] { window.serveEvents(); };

    // Closing the main window ends the program, whatever other window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &ui::MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    // The splash window stands for 2000 ms, then loads the main window.
    QTimer::singleShot(2000, &window, [&window] { window.MainWindowLoad(); });
    return app.exec();
}
