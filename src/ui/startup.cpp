// What the main window does when it loads and when it closes.
#include "main_window.h"

#include "describe/source_size.h"
#include "engine/batch_run.h"
#include "engine/output_settings.h"
#include "engine/temp_drive.h"
#include "engine/validation.h"
#include "job/script.h"
#include "marquee.h"
#include "system/zip_component.h"
#include "twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>

namespace kesto::ui {

void ReadCommandLine(RunState &state, const QString &commandLine)
{
    if (!commandLine.isEmpty()) {
        state.BatchRunDated = commandLine.startsWith(QLatin1Char('$'));
        state.CommandLineScript = state.BatchRunDated ? commandLine.mid(1) : commandLine;
    }
    state.BatchRun = commandLine.startsWith(QLatin1Char('!'));
    if (state.BatchRun)
        state.CommandLineScript = commandLine.mid(1);
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

    if (session_.svc.instance && session_.svc.instance->anotherRunning()) {
        duplicateInstance_ = true;
        const QString duplicate = QStringLiteral("Kesto32 duplicate instance.");
        QGuiApplication::setApplicationDisplayName(duplicate);
        setWindowTitle(duplicate);
        session_.svc.instance->activateOther();
        close();
        return;
    }

    placeWindow();
    PVMarquee1->setText(QStringLiteral("Kesto32 ") + state.VersionText +
                        QStringLiteral("  by ZWT   <IMG 1>"));
    selectDrive(TempDriveStartup(session_));
    Label9->setToolTip(QStringLiteral("Total source size"));
    Label3->setToolTip(QStringLiteral("Drive free space"));

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
    if (session_.svc.zip)
        session_.svc.zip->AbortRequest = true;
    serveEvents();
    closeMainWindow();
}

} // namespace kesto::ui
