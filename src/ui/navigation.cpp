// Navigation between the pages: the list bar, the page menu and the page routines.
#include "main_window.h"

#include "engine/packaging_run.h"
#include "engine/run_plan.h"
#include "engine/run_preview.h"
#include "engine/script_commands.h"
#include "engine/series_command.h"
#include "job/script.h"
#include "list_bar.h"
#include "pages/about_page.h"
#include "pages/diz_page.h"
#include "pages/kesto_page.h"
#include "pages/nfo_page.h"
#include "pages/skip_page.h"
#include "pages/source_page.h"
#include "pages/zip_page.h"
#include "report_dialog.h"
#include "twips.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace kesto::ui {

void MainWindow::HideAllPages()
{
    for (QWidget *page : std::initializer_list<QWidget *>{Picture1, Picture2, Picture4, Picture5,
                                                          Picture6, Picture7, Picture8})
        page->hide();
}

void MainWindow::showPlaced(QWidget *page, int left, int top, const QString &title)
{
    page->move(twipsPoint(left, top));
    page->show();
    setTitleText(title);
    // A page's title is its list bar item's text after a blank.
    SSListBar1->setCurrentItem(title.mid(1));
}

void MainWindow::source_Click()
{
    HideAllPages();
    // The Source page keeps its designed place.
    Picture1->show();
    setTitleText(QStringLiteral(" Source"));
    SSListBar1->setCurrentItem(QStringLiteral("Source"));
}

void MainWindow::skip_Click()
{
    HideAllPages();
    repaint();
    showPlaced(Picture2, 1190, 580, QStringLiteral(" Skip"));
}

void MainWindow::diz_Click()
{
    HideAllPages();
    showPlaced(Picture4, 1190, 580, QStringLiteral(" Diz"));
}

void MainWindow::nfo_Click()
{
    HideAllPages();
    showPlaced(Picture5, 1190, 580, QStringLiteral(" Nfo"));
}

void MainWindow::zip_Click()
{
    HideAllPages();
    showPlaced(Picture6, 1190, 680, QStringLiteral(" Zip"));
}

void MainWindow::ShowAboutPage()
{
    Picture8->move(twipsPoint(1190, 680));
    Picture8->show();
    Picture8->setBannerVisible(true);
    setTitleText(QStringLiteral(" About"));
    SSListBar1->setCurrentItem(QStringLiteral("About"));
}

void MainWindow::playSound(const QString &waveFile)
{
    session_.svc.sound->play(session_.state.AppDir + waveFile);
}

void MainWindow::SSListBar1_ListItemClick(const QString &itemClicked)
{
    Picture8->setBannerVisible(false);
    setTitleText(QLatin1Char(' ') + itemClicked);

    struct PageItem {
        const char *text;
        QWidget *page;
        void (MainWindow::*show)();
    };
    const PageItem pageItems[] = {
        {"Source", Picture1, &MainWindow::source_Click},
        {"Skip", Picture2, &MainWindow::skip_Click},
        {"Diz", Picture4, &MainWindow::diz_Click},
        {"Nfo", Picture5, &MainWindow::nfo_Click},
        {"Zip", Picture6, &MainWindow::zip_Click},
        {"Kesto!", Picture7, &MainWindow::kesto_Click},
    };
    for (const PageItem &item : pageItems) {
        if (itemClicked != QLatin1String(item.text))
            continue;
        if (!item.page->isHidden())
            return;
        playSound(QStringLiteral("/type.wav"));
        HideAllPages();
        (this->*item.show)();
        return;
    }
    if (itemClicked == QLatin1String("About")) {
        if (!Picture8->isHidden()) {
            Picture8->setBannerVisible(true);
            return;
        }
        playSound(QStringLiteral("/type.wav"));
        HideAllPages();
        ShowAboutPage();
    } else if (itemClicked == QLatin1String("Help")) {
        startHelpViewer();
    }
}

void MainWindow::SSListbar1_GroupClick(int groupClicked, int previousGroup)
{
    if (groupClicked != previousGroup)
        playSound(QStringLiteral("/whoosh.wav"));
}

QString MainWindow::titleText() const
{
    return SSPanel1->text();
}

QWidget *MainWindow::pageWidget(Page page) const
{
    switch (page) {
    case Page::Source: return Picture1;
    case Page::Skip: return Picture2;
    case Page::Diz: return Picture4;
    case Page::Nfo: return Picture5;
    case Page::Zip: return Picture6;
    case Page::Kesto: return Picture7;
    case Page::About: return Picture8;
    }
    return nullptr;
}

void MainWindow::showPage(Page page)
{
    switch (page) {
    case Page::Source: source_Click(); break;
    case Page::Skip: skip_Click(); break;
    case Page::Diz: diz_Click(); break;
    case Page::Nfo: nfo_Click(); break;
    case Page::Zip: zip_Click(); break;
    case Page::Kesto:
        HideAllPages();
        showPlaced(Picture7, 1190, 580, QStringLiteral(" Kesto!"));
        break;
    case Page::About:
        HideAllPages();
        ShowAboutPage();
        break;
    }
}

void MainWindow::open_Click()
{
    OpenScriptCommand(session_);
    jobChanged();
}

void MainWindow::save_Click()
{
    SaveScript(session_);
}

void MainWindow::saveas_Click()
{
    SaveScript(session_, true);
}

void MainWindow::plan_Click()
{
    const RunState &state = session_.state;
    const QString name = state.ScriptPath.isEmpty() ? tr("the current job") : state.ScriptPath;
    showReport(tr("Plan"), PlanReport(session_.job, name, state.BatchRunDated, state.TempDrive,
                                      *session_.svc.disks)
                               .lines);
}

void MainWindow::verify_Click()
{
    const JobSettings &job = session_.job;
    const auto chosen =
        session_.svc.dialogs->openFile({tr("Verify series"), tr("Zip archive (*.zip)|*.zip|"),
                                        QStringLiteral("*.zip"), job.ZipDir});
    if (!chosen || chosen->isEmpty())
        return;
    QString why;
    const std::optional<Series> series = FindSeries(*chosen, QString(), &why);
    if (!series) {
        session_.error(tr("No series to verify"), Icon::Exclamation, Buttons::Ok, why);
        return;
    }
    // A loaded job: the series is also compared with its source.
    VerifyOptions options;
    if (!job.SourcePath.isEmpty() && QFileInfo(job.SourcePath).isDir()) {
        options.against = job.SourcePath;
        options.job = &job;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CommandReport report = VerifySeriesReport(*series, options);
    QStringList lines = report.lines;
    lines << report.errors;
    QApplication::restoreOverrideCursor();
    showReport(tr("Verify series"), lines);
    // Damage the recovery set beside the series can undo: the same repair as --repair.
    if (report.status == VerifyRepairableStatus)
        reportDialog_->addAction(tr("&Repair"), QStringLiteral("repairButton"), tr("Repair series"),
                                 [series = *series] {
                                     QApplication::setOverrideCursor(Qt::WaitCursor);
                                     const CommandReport repair = RepairSeriesReport(series);
                                     QApplication::restoreOverrideCursor();
                                     return repair.lines + repair.errors;
                                 });
}

void MainWindow::showReport(const QString &title, const QStringList &lines)
{
    delete reportDialog_;
    reportDialog_ = new ReportDialog(title, lines, this);
    reportDialog_->setAttribute(Qt::WA_DeleteOnClose, false);
    reportDialog_->show();
}

void MainWindow::openHandedScript(const QString &scriptPath)
{
    showNormal();
    raise();
    activateWindow();
    if (!scriptPath.isEmpty())
        openWhenFree(scriptPath);
}

// A run, a dialog or a message box holds the job: the script waits until they are done.
void MainWindow::openWhenFree(const QString &scriptPath)
{
    if (closed_)
        return;
    if (session_.state.RunInProgress || QApplication::activeModalWidget()) {
        QTimer::singleShot(300, this, [this, scriptPath] { openWhenFree(scriptPath); });
        return;
    }
    OpenScript(session_, scriptPath);
    jobChanged();
}

void MainWindow::exitm_Click()
{
    ExitCommand();
}

void MainWindow::kesto_Click()
{
    // Clicked again while a run goes on: the run is left alone.
    if (session_.state.RunInProgress) {
        kesto::kesto_Click(session_);
        return;
    }
    Picture7->runStarts();
    archivesBegun_ = 0;
    const std::optional<RunFailure> failure = kesto::kesto_Click(session_);
    Picture7->runEnded(!failure, OutputBase(session_.job.ZipDir), archivesBegun_);
}

} // namespace kesto::ui
