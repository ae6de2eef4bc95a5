// Saves a picture of every page of the main window, empty and filled in, of the list bar's Help
// group, of the menus and of the logo panel's pointer; with a job script, also of every page with
// that job opened.
//   screenshots OUTPUT_DIR [JOB.kst]
// The window speaks the user's language (LANGUAGE=de: German).
//   screenshots --desktop OUTPUT_DIR JOB.kst
// The second form runs the job and saves, three times the window's size (over 1,000 pixels wide,
// as software centres want): the end of the run, a failure with its reason, the Plan and Verify
// dialogs, and the About page's link panels on a dark theme.
// The pictures are grabbed from the widgets, so the offscreen platform serves as well as a
// display; two runs on one machine give the same pictures.
#include "engine/run_plan.h"
#include "job/run_failure.h"
#include "job/session.h"
#include "system/command_runner.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/report_dialog.h"
#include "ui/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace kesto;

namespace {

QString outputDir;

bool save(QWidget *widget, const QString &name)
{
    const QString file = outputDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (widget->grab().save(file))
        return true;
    std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(file));
    return false;
}

const char *pageName(Page page)
{
    const char *const names[] = {"Source", "Skip", "Diz", "Nfo", "Zip", "Kesto", "About"};
    return names[int(page)];
}

const Page allPages[] = {Page::Source, Page::Skip,  Page::Diz,  Page::Nfo,
                         Page::Zip,    Page::Kesto, Page::About};

void fillIn(Session &session, ui::MainWindow &window)
{
    JobSettings &job = session.job;
    job.SourcePath = QStringLiteral("/home/ann/projects/a rather long source directory/src");
    job.SkipList = QStringLiteral("/home/ann/projects/src/old/*.*\r\n/home/ann/src/a.txt\r\n");
    job.DizPath = QStringLiteral("/home/ann/projects/file_id.diz");
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizColumn = QStringLiteral("34");
    job.DizLine = QStringLiteral("3");
    job.NfoPath = QStringLiteral("/home/ann/projects/about.nfo");
    job.NfoFirstOnly = Checked;
    job.ExtraIsDirectory = true;
    job.ExtraPath = QStringLiteral("/home/ann/projects/extras");
    job.ZipDir = QStringLiteral("/srv/out");
    job.ZipName = QStringLiteral("tool");
    job.VolumeSizeSetting = 200;
    window.jobChanged();
    window.setSourceSizeText(QStringLiteral("1,234 files, 56,789,012 bytes, 12 directories"));
    window.setZipFreeSpaceText(QStringLiteral("Free space  700 M"));
    window.setSizeDisplayText(QStringLiteral("100. M"));
    window.setStatusText(QStringLiteral("tool.002"));
    window.setArchiveText(QStringLiteral("tool002.zip"));
    window.setVolumeText(QStringLiteral(" 2 of 10"));
    window.setProgress(42);
}

bool menusAndPointer(ui::MainWindow &window)
{
    bool ok = true;
    for (QMenu *menu : {window.findChild<QMenu *>(QStringLiteral("file")),
                        window.findChild<QMenu *>(QStringLiteral("helpm")), window.pageMenu()}) {
        menu->ensurePolished();
        menu->adjustSize();
        ok &= save(menu, QStringLiteral("menu-") + menu->objectName());
    }
    // The logo panel's pointer, four times its size over a light and a dark ground.
    const QPixmap pointer =
        window.findChild<QWidget *>(QStringLiteral("SSPanel7"))->cursor().pixmap();
    QPixmap grounds(pointer.width() * 8, pointer.height() * 4);
    grounds.fill(Qt::white);
    QPainter painter(&grounds);
    painter.fillRect(grounds.width() / 2, 0, grounds.width() / 2, grounds.height(), Qt::darkGray);
    for (int x : {0, grounds.width() / 2})
        painter.drawPixmap(QRect(x, 0, pointer.width() * 4, pointer.height() * 4), pointer);
    painter.end();
    return grounds.save(outputDir + QStringLiteral("/logo-pointer.png")) && ok;
}

// Answers the Verify dialog's question with the series' first archive.
class ArchiveChoice : public QuietDialogs {
public:
    explicit ArchiveChoice(QString archive) : archive(std::move(archive)) {}
    std::optional<QString> openFile(const FileDialogSetup &) override { return archive; }
    QString archive;
};

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(100, 170, 255));
    dark.setColor(QPalette::ToolTipBase, QColor(53, 53, 53));
    dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    return dark;
}

// A session with the real drives and size tool behind it, as the user's would have.
struct RealSession {
    Session session;
    StorageDiskInfo disks;
    SystemCommandRunner runner;
    RealSession()
    {
        session.state.AppDir = paths::appDir();
        session.svc.disks = &disks;
        session.svc.runner = &runner;
    }
};

int desktopPictures(const QString &job)
{
    bool ok = true;
    RealSession real;
    Session &session = real.session;
    ui::MainWindow window(session, job);
    session.svc.window = &window;
    window.MainWindowLoad();

    window.plan_Click();
    ok &= save(window.reportDialog(), QStringLiteral("plan"));
    window.kesto_Click();
    ok &= save(&window, QStringLiteral("end-of-run"));
    ArchiveChoice choice(OutputBase(session.job.ZipDir) + QLatin1Char('/') + session.job.ZipName +
                         QStringLiteral("001.zip"));
    session.svc.dialogs = &choice;
    window.verify_Click();
    ok &= save(window.reportDialog(), QStringLiteral("verify"));

    // A run that cannot start its archiver, as the window reports it.
    const RunFailure noSevenZip{Failure::SevenZipMissing, QStringLiteral("no 7zz or 7z on PATH")};
    QMessageBox box(QMessageBox::Critical, ErrorTitle(), WindowMessage(noSevenZip.kind),
                    QMessageBox::Ok, &window);
    box.setInformativeText(WindowReason(noSevenZip));
    box.show();
    // The box, framed, over the Kesto page of a run that could not start.
    Session failedSession;
    ui::MainWindow failed(failedSession);
    failedSession.svc.window = &failed;
    failed.show();
    failed.showPage(Page::Kesto);
    QPixmap picture = failed.grab();
    const QPixmap boxPicture = box.grab();
    QPainter painter(&picture);
    const QSizeF boxSize = boxPicture.deviceIndependentSize();
    const QPointF corner((failed.width() - boxSize.width()) / 2,
                         (failed.height() - boxSize.height()) / 2 - 20);
    painter.drawPixmap(corner, boxPicture);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(QRectF(corner, boxSize));
    painter.end();
    box.hide();
    const QString failureFile = outputDir + QStringLiteral("/failure-reason.png");
    ok &= picture.save(failureFile);

    // The About page on a dark theme, the pointer over the web link: a window made after the
    // theme is set, as a user's would be.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    Session darkSession;
    ui::MainWindow dark(darkSession);
    darkSession.svc.window = &dark;
    dark.show();
    dark.showPage(Page::About);
    QWidget *web = dark.findChild<QWidget *>(QStringLiteral("SSPanel11"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(web, &enter);
    ok &= save(&dark, QStringLiteral("about-dark"));
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool desktop = argc == 4 && std::strcmp(argv[1], "--desktop") == 0;
    if (desktop)
        qputenv("QT_SCALE_FACTOR", "3");
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (desktop)
        arguments.removeAt(1);
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_DIR [JOB.kst]\n");
        return 2;
    }
    outputDir = arguments[1];
    if (!QDir().mkpath(outputDir)) {
        std::fprintf(stderr, "screenshots: cannot make %s\n", qPrintable(outputDir));
        return 1;
    }
    initUiResources();
    ui::InstallTranslations(); // LANGUAGE=de gives the German window
    if (desktop)
        return desktopPictures(arguments[2]);
    bool ok = true;
    {
        Session session;
        session.state.AppDir = paths::appDir();
        ui::MainWindow window(session);
        session.svc.window = &window;
        window.MainWindowLoad();
        for (Page page : allPages) {
            window.showPage(page);
            ok &= save(&window, QLatin1String(pageName(page)));
        }
        window.showPage(Page::Source);
        window.listBar()->groupButton(1)->click();
        ok &= save(&window, QStringLiteral("HelpGroup"));
        window.listBar()->groupButton(0)->click();
        ok &= menusAndPointer(window);
        fillIn(session, window);
        for (Page page : allPages) {
            window.showPage(page);
            ok &= save(&window, QLatin1String(pageName(page)) + QStringLiteral("-filled"));
        }
    }
    if (arguments.size() == 3) {
        // The job opened as the user would, with the real drives and size tool behind it.
        RealSession real;
        Session &session = real.session;
        ui::MainWindow window(session, arguments[2]);
        session.svc.window = &window;
        window.MainWindowLoad();
        for (Page page : {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip}) {
            window.showPage(page);
            ok &= save(&window, QStringLiteral("example-") + QLatin1String(pageName(page)));
        }
    }
    return ok ? 0 : 1;
}
