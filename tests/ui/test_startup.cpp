// The main window's start-up (command line, refusals, hand-over to a running instance) and its
// shut-down clean-up.
#include "engine/output_settings.h"
#include "job/script.h"
#include "support/fakes.h"
#include "system/paths.h"
#include "system/stop_signals.h"
#include "ui/main_window.h"
#include "ui/marquee.h"
#include "ui/program_arguments.h"
#include "ui/twips.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;
using kesto::ui::MainWindow;

namespace {

class FakeInstance : public SingleInstance {
public:
    bool anotherRunning() override { return running; }
    void activateOther() override { ++activations; }
    bool running = false;
    int activations = 0;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ts = std::make_unique<TestSession>();
        ts->session.svc.instance = &instance;
        instance = FakeInstance();
    }
    void cleanup()
    {
        window.reset();
        ts.reset();
        QGuiApplication::setApplicationDisplayName(QString());
    }

    // The program's arguments, read by its option parser, then by the start-up.
    void commandLineDecidesBatchMode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("batchRun");
        QTest::addColumn<bool>("batchRunDated");
        QTest::addColumn<QString>("script");
        QTest::newRow("run") << QStringList{"!x"} << true << false << "x";
        QTest::newRow("dated run") << QStringList{"$x"} << false << true << "x";
        QTest::newRow("blank first") << QStringList{" x"} << false << false << " x";
        QTest::newRow("plain") << QStringList{"x"} << false << false << "x";
        QTest::newRow("prefix alone") << QStringList{"!"} << true << false << "";
        QTest::newRow("empty") << QStringList{} << false << false << "";
        QTest::newRow("quoted") << QStringList{"\"x\""} << false << false << "\"x\"";
        QTest::newRow("dated, then run sign") << QStringList{"$!x"} << false << true << "!x";
        QTest::newRow("run, then dated sign") << QStringList{"!$x"} << true << false << "$x";
        // Only the program's own options are options; any other first word is the script.
        QTest::newRow("dash first") << QStringList{"-x.kst"} << false << false << "-x.kst";
        QTest::newRow("double dash first") << QStringList{"--x"} << false << false << "--x";
        QTest::newRow("own option, then the script")
            << QStringList{"-v", "-x.kst"} << false << false << "-x.kst";
        QTest::newRow("words after the script")
            << QStringList{"!a", "--help", "b"} << true << false << "a --help b";
    }
    void commandLineDecidesBatchMode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, batchRun);
        QFETCH(bool, batchRunDated);
        QFETCH(QString, script);
        QCommandLineParser parser;
        const QList<QCommandLineOption> own = {parser.addHelpOption(), parser.addVersionOption()};
        QVERIFY(parser.parse(ui::ParserArguments(QStringList{"kesto32"} + arguments, own)));
        RunState state;
        ui::ReadCommandLine(state, parser.positionalArguments().join(QLatin1Char(' ')));
        QCOMPARE(state.BatchRun, batchRun);
        QCOMPARE(state.BatchRunDated, batchRunDated);
        QCOMPARE(state.CommandLineScript, script);
    }

    void plainStartShowsTheSourcePage()
    {
        ts->disks.defaultFree = 1'999'999;
        load(QString());
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Kesto32"));
        QVERIFY(!window->pageWidget(Page::Source)->isHidden());
        QCOMPARE(window->titleText(), QStringLiteral(" Source"));
        QCOMPARE(ts->session.state.TempDrive, QStringLiteral("c"));
        QCOMPARE(label("Label3")->text(), QStringLiteral("Free space on - \nless than 2 Meg."));
        QCOMPARE(label("Label3")->toolTip(), QStringLiteral("Drive free space"));
        QCOMPARE(label("Label9")->toolTip(), QStringLiteral("Total source size"));
        QCOMPARE(window->findChild<ui::Marquee *>(QStringLiteral("PVMarquee1"))->text(),
                 QStringLiteral("Kesto32 v2.20  by ZWT   <IMG 1>"));
        QVERIFY(ts->session.state.ScriptPath.isEmpty());
        QVERIFY(!ts->session.batchMode());

        const QSize screen = window->screen()->geometry().size();
        QCOMPARE(window->x(), (screen.width() - window->width()) / 2);
        QCOMPARE(window->y(), (screen.height() - window->height()) / 2 + ui::twips(1300));
    }

    void enoughTempSpaceShowsTheFigure()
    {
        ts->disks.defaultFree = 2'000'000;
        load(QString());
        QCOMPARE(label("Label3")->text(), QStringLiteral("Free space on - \n ") +
                                              QString::number(FreeSpaceMB(2'000'000)) +
                                              QStringLiteral(" Meg."));
    }

    void scriptWithoutPrefixWaitsForTheUser()
    {
        const QString script = ts->path(QStringLiteral("jobs/missing.kst"));
        load(script);
        QCOMPARE(ts->session.state.ScriptPath, script);
        QCOMPARE(window->windowTitle(), QStringLiteral("Kesto32 - ") + ScriptFileName(script));
        QVERIFY(window->isVisible());
        QVERIFY(!ts->session.batchMode());
    }

    void rootDirectoryIsRefused()
    {
        const QStringList files = makeTemporaryFiles();
        window = std::make_unique<MainWindow>(ts->session, QStringLiteral("!job.kst"));
        ts->session.svc.window = window.get();
        QSignalSpy closed(window.get(), &MainWindow::closed);
        window->setProgramDir(QStringLiteral("/"));
        window->MainWindowLoad();

        QCOMPARE(ts->messages.shown.size(), 1);
        const ShownMessage &shown = ts->messages.shown[0];
        QCOMPARE(
            shown.text,
            QStringLiteral("Kesto32 can not be run from\r\na root directory, please reinstall."));
        QCOMPARE(shown.title, QStringLiteral("Kesto32 error"));
        QCOMPARE(shown.icon, Icon::Stop);
        QCOMPARE(shown.buttons, Buttons::Ok);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!ts->session.batchMode()); // the command line was never read
        for (const QString &file : files)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    }

    void secondInstanceHandsOver()
    {
        const QStringList files = makeTemporaryFiles();
        instance.running = true;
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        QSignalSpy closed(window.get(), &MainWindow::closed);
        window->MainWindowLoad();

        const QString duplicate = QStringLiteral("Kesto32 duplicate instance.");
        QCOMPARE(window->windowTitle(), duplicate);
        QCOMPARE(QGuiApplication::applicationDisplayName(), duplicate);
        QCOMPARE(instance.activations, 1);
        QCOMPARE(closed.size(), 1);
        QVERIFY(ts->messages.shown.isEmpty());
        for (const QString &file : files)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    }

    void closingRemovesTheTemporaryFiles_data()
    {
        QTest::addColumn<QString>("nfoWorkName");
        QTest::addColumn<bool>("sizeIsDirectory");
        QTest::newRow("all files") << "about.nfo" << false;
        QTest::newRow("no nfo copy made") << "" << false;
        QTest::newRow("a directory of that name") << "about.nfo" << true;
    }
    void closingRemovesTheTemporaryFiles()
    {
        QFETCH(QString, nfoWorkName);
        QFETCH(bool, sizeIsDirectory);
        const QStringList removed = makeTemporaryFiles();
        const QString sizeFile = paths::systemFile(QStringLiteral("size.txt"));
        if (sizeIsDirectory) {
            QFile::remove(sizeFile);
            QDir().mkpath(sizeFile);
        }
        const QStringList kept = {
            ts->writeFile(QStringLiteral("app/other.nfo"), "x"),
            ts->writeFile(QStringLiteral("app/temp/file_id.diz"), "x"),
            ts->writeFile(QStringLiteral("sys/skip.txt.bak"), "x"),
        };
        const QString nfoCopy = ts->appDir() + QStringLiteral("/about.nfo");
        ts->session.state.NfoWorkName = nfoWorkName;
        load(QString());
        window->close();

        for (const QString &file : removed) {
            const bool stays =
                (file == nfoCopy && nfoWorkName.isEmpty()) || (file == sizeFile && sizeIsDirectory);
            QVERIFY2(QFileInfo::exists(file) == stays, qPrintable(file));
        }
        for (const QString &file : kept)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QVERIFY(QFileInfo(ts->appDir()).isDir());
    }

    void exitAbortsAndCloses()
    {
        const QString skipFile = ts->writeFile(QStringLiteral("sys/skip.txt"), "x\r\n");
        load(QString());
        QSignalSpy closed(window.get(), &MainWindow::closed);
        window->findChild<QMenu *>(QStringLiteral("file"))
            ->findChild<QAction *>(QStringLiteral("exitm"))
            ->trigger();
        QVERIFY(ts->zip.AbortRequest);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!QFileInfo::exists(skipFile));
    }

    void closingDuringARunStopsIt()
    {
        load(QString());
        ts->session.state.RunInProgress = true;
        window->close();
        QVERIFY(ts->zip.AbortRequest);
        QVERIFY(StopRequested()); // the archiver is ended too
    }

    void closingWithoutARunLeavesTheZipComponentAlone()
    {
        load(QString());
        window->close();
        QVERIFY(!ts->zip.AbortRequest);
    }

private:
    void load(const QString &commandLine)
    {
        window = std::make_unique<MainWindow>(ts->session, commandLine);
        ts->session.svc.window = window.get();
        window->MainWindowLoad();
    }

    QLabel *label(const char *name) const
    {
        return window->findChild<QLabel *>(QLatin1String(name));
    }

    // The files that the shut-down removes, in its order.
    QStringList makeTemporaryFiles() const
    {
        return {
            ts->writeFile(QStringLiteral("sys/skip.txt"), "x\r\n"),
            ts->writeFile(QStringLiteral("app/about.nfo"), "x\r\n"),
            ts->writeFile(QStringLiteral("app/file_id.diz"), "x\r\n"),
            ts->writeFile(QStringLiteral("sys/size.txt"), "x\r\n"),
            ts->writeFile(QStringLiteral("sys/~kesto.diz"), "x\r\n"),
        };
    }

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<MainWindow> window;
    FakeInstance instance;
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
