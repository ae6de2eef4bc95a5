// The main window's start-up (command line, refusals, hand-over to a running instance) and its
// shut-down clean-up.
#include "system/paths.h"
#include "system/stop_signals.h"
#include "ui/program_arguments.h"
#include "ui/single_instance.h"
#include "window_fixture.h"

#include <QCommandLineParser>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

class FakeInstance : public SingleInstance {
public:
    bool anotherRunning() override { return running; }
    void activateOther(const QString &) override { ++activations; }
    bool running = false;
    int activations = 0;
};

} // namespace

class StartupTest : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        instance = FakeInstance();
        ts->session.svc.instance = &instance;
    }
    void cleanup()
    {
        closeWindow();
        QGuiApplication::setApplicationDisplayName(QString());
    }

    // The program's arguments, read by its option parser, then by the start-up.
    void commandLineDecidesBatchMode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mode"); // "!": BatchRun, "$": BatchRunDated
        QTest::addColumn<QString>("script");
        const auto row = [](const char *name, const QStringList &arguments, const char *mode,
                            const char *script) {
            QTest::newRow(name) << arguments << mode << script;
        };
        row("run", {"!x"}, "!", "x");
        row("dated run", {"$x"}, "$", "x");
        row("blank first", {" x"}, "", " x");
        row("empty", {}, "", "");
        row("dated, then run sign", {"$!x"}, "$", "!x");
        // Options before or after the script; "--" ends them; any other "-" word is refused.
        row("after double dash", {"--", "-x.kst"}, "", "-x.kst");
        row("own option, then the script", {"--quiet", "./-x.kst"}, "", "./-x.kst");
        row("option after the script", {"!a", "--quiet", "b"}, "!", "a b");
        row("unknown option", {"!a", "-V"}, "error", "");
        row("value missing", {"--plan"}, "error", "");
    }
    void commandLineDecidesBatchMode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mode);
        QFETCH(QString, script);
        QList<QByteArray> raw{"kesto32"};
        for (const QString &argument : arguments)
            raw << argument.toUtf8();
        const QCommandLineOption quiet(QStringLiteral("quiet"));
        const QCommandLineOption plan(QStringLiteral("plan"), QString(), QStringLiteral("script"));
        const ui::ArrangedArguments arranged =
            ui::ArrangeArguments(raw, ui::HelpAndVersionOptions() + QList{quiet, plan});
        QCOMPARE(!arranged.error.isEmpty(), mode == QLatin1String("error"));
        if (!arranged.error.isEmpty())
            return;
        QCommandLineParser parser;
        parser.addOptions({quiet, plan});
        QVERIFY(parser.parse(arranged.arguments));
        RunState state;
        ui::ReadCommandLine(state, parser.positionalArguments().join(QLatin1Char(' ')));
        QCOMPARE(state.BatchRun, mode == QLatin1String("!"));
        QCOMPARE(state.BatchRunDated, mode == QLatin1String("$"));
        QCOMPARE(state.CommandLineScript, script);
    }

    // A refused start closes at once, before the command line, and leaves the fixed files to
    // their owner.
    void refusedStartClosesAndCleansNothing_data()
    {
        QTest::addColumn<bool>("rootDirectory"); // else: another instance runs
        QTest::newRow("root directory") << true;
        QTest::newRow("second instance") << false;
    }
    void refusedStartClosesAndCleansNothing()
    {
        QFETCH(bool, rootDirectory);
        const QStringList files = makeTemporaryFiles();
        instance.running = !rootDirectory;
        window = std::make_unique<ui::MainWindow>(ts->session, QStringLiteral("!job.kst"));
        ts->session.svc.window = window.get();
        QSignalSpy closed(window.get(), &ui::MainWindow::closed);
        if (rootDirectory)
            window->setProgramDir(QStringLiteral("/"));
        window->MainWindowLoad();
        QCOMPARE(closed.size(), 1);
        QVERIFY(!window->isVisible() && !ts->session.batchMode());
        for (const QString &file : files)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QCOMPARE(ts->messages.shown.size(), rootDirectory ? 1 : 0);
        QCOMPARE(instance.activations, rootDirectory ? 0 : 1);
    }

    // The program started again with a script while the window runs: the window takes the
    // script (its absolute path) and loads it; the later start ends at once. Also when a crashed
    // window left its socket file behind; during a run the script waits for the run's end. The
    // socket goes when the window's program ends.
    void secondStartHandsItsScriptOver_data()
    {
        QTest::addColumn<bool>("staleSocket");
        QTest::addColumn<bool>("duringARun");
        QTest::newRow("clean") << false << false;
        QTest::newRow("stale socket") << true << false;
        QTest::newRow("during a run") << false << true;
    }
    void secondStartHandsItsScriptOver()
    {
        QFETCH(bool, staleSocket);
        QFETCH(bool, duringARun);
        const QString runtimeDir = ts->path(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtimeDir));
        const QByteArray earlierRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir));
        const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", earlierRuntime); });
        const QString socketPath = runtimeDir + QStringLiteral("/kesto32.instance");
        if (staleSocket) {
            const QByteArray path = QFile::encodeName(socketPath);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            ::close(fd);
        }
        LocalSingleInstance first;
        ts->session.svc.instance = &first;
        // The window lets go of the instance before it goes, also when a check fails.
        const auto closeFirst = qScopeGuard([this] { window.reset(); });
        openWindow(true);
        QVERIFY(QFileInfo::exists(socketPath));

        QFile golden(QStringLiteral(KESTO_TEST_DATA "/scripts/full.kst"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        const QString script =
            ts->writeFile(QStringLiteral("my jobs/handed.kst"), golden.readAll());
        ts->session.state.RunInProgress = duringARun;
        QProcess second;
        second.setWorkingDirectory(QFileInfo(script).absolutePath());
        second.start(QStringLiteral(KESTO_BIN_DIR "/kesto32"), {QStringLiteral("handed.kst")});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        if (duringARun) {
            QTest::qWait(1000);
            QVERIFY(ts->session.state.ScriptPath.isEmpty());
            ts->session.state.RunInProgress = false;
        }

        QTRY_COMPARE(ts->session.state.ScriptPath, script);
        QCOMPARE(ts->session.job.ZipName, QStringLiteral("tool"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Kesto32 - handed.kst"));
        window.reset();
        first.close();
        QVERIFY(!QFileInfo::exists(socketPath));
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
        if (sizeIsDirectory)
            QVERIFY(QFile::remove(sizeFile) && QDir().mkpath(sizeFile));
        const QStringList kept = {ts->writeFile(QStringLiteral("app/other.nfo"), "x"),
                                  ts->writeFile(QStringLiteral("app/temp/file_id.diz"), "x"),
                                  ts->writeFile(QStringLiteral("sys/skip.txt.bak"), "x")};
        const QString nfoCopy = ts->appDir() + QStringLiteral("/about.nfo");
        ts->session.state.NfoWorkName = nfoWorkName;
        openWindow(true);
        window->close();
        for (const QString &file : removed) {
            const bool stays =
                (file == nfoCopy && nfoWorkName.isEmpty()) || (file == sizeFile && sizeIsDirectory);
            QVERIFY2(QFileInfo::exists(file) == stays, qPrintable(file));
        }
        for (const QString &file : kept)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!ts->zip.AbortRequest); // no run: the zip component is left alone
    }

    void exitAbortsAndCloses()
    {
        openWindow(true);
        QSignalSpy closed(window.get(), &ui::MainWindow::closed);
        child<QMenu>("file")->findChild<QAction *>(QStringLiteral("exitm"))->trigger();
        QVERIFY(ts->zip.AbortRequest && !window->isVisible());
        QCOMPARE(closed.size(), 1);
    }

    void closingDuringARunStopsIt()
    {
        openWindow(true);
        ts->session.state.RunInProgress = true;
        window->close();
        QVERIFY(ts->zip.AbortRequest);
        QVERIFY(StopRequested()); // the archiver is ended too
    }

private:
    // The files that the shut-down removes.
    QStringList makeTemporaryFiles() const
    {
        QStringList files;
        for (const char *name :
             {"sys/skip.txt", "app/about.nfo", "app/file_id.diz", "sys/size.txt", "sys/~kesto.diz"})
            files << ts->writeFile(QLatin1String(name), "x\r\n");
        return files;
    }

    FakeInstance instance;
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
