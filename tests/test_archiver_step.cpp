#include "engine/archiver_step.h"
#include "engine/run_plan.h"
#include "support/fakes.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QDir>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

class ArchiverStepTest : public QObject {
    Q_OBJECT

private slots:
    void archiverCommand_data();
    void archiverCommand();
    void archiverOptions_data();
    void archiverOptions();
    void skipFileWritten_data();
    void skipFileWritten();
    void emptySkipListLeavesEarlierFileAlone();
    void skipFileThatCannotBeWritten();
    void skipFileOnAPathWithBlanks();
    void runArchiverStep_data();
    void runArchiverStep();
    void runArchiverStepWithoutWindow();
};

void ArchiverStepTest::archiverCommand_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("rarPath");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("skipSwitch");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("arguments"); // as the started program sees them

    QTest::newRow("floppy, solid, skip list")
        << "-v1440000b -m5 -s"
        << "/c/Kesto001/tool.001"
        << "/d/src"
        << "-x@/c/skip.txt"
        << "wrar.exe a -r -v1440000b -m5 -s -y /c/Kesto001/tool.001 \"/d/src\" -x@/c/skip.txt"
        << QStringList{"a",
                       "-r",
                       "-v1440000b",
                       "-m5",
                       "-s",
                       "-y",
                       "/c/Kesto001/tool.001",
                       "/d/src",
                       "-x@/c/skip.txt"};
    QTest::newRow("one archive, no skip list, source with a blank")
        << "-v0000b"
        << "/c/Kesto001/tool.rar"
        << "/c/my files"
        << ""
        << "wrar.exe a -r -v0000b -y /c/Kesto001/tool.rar \"/c/my files\" "
        << QStringList{"a", "-r", "-v0000b", "-y", "/c/Kesto001/tool.rar", "/c/my files"};
    QTest::newRow("work directory on a drive with a blank")
        << "-v500000b"
        << "/media/My Disk/Kesto001/tool.001"
        << "/d/src"
        << ""
        << "wrar.exe a -r -v500000b -y \"/media/My Disk/Kesto001/tool.001\" \"/d/src\" "
        << QStringList{"a", "-r", "-v500000b", "-y", "/media/My Disk/Kesto001/tool.001", "/d/src"};
    QTest::newRow("source with quotes and shell syntax")
        << "-v500000b"
        << "/w/tool.001"
        << "/d/\"a\"; $(touch x) >y"
        << ""
        << "wrar.exe a -r -v500000b -y /w/tool.001 \"/d/\"\"a\"\"; $(touch x) >y\" "
        << QStringList{"a", "-r", "-v500000b", "-y", "/w/tool.001", "/d/\"a\"; $(touch x) >y"};
}

void ArchiverStepTest::archiverCommand()
{
    QFETCH(QString, options);
    QFETCH(QString, rarPath);
    QFETCH(QString, source);
    QFETCH(QString, skipSwitch);
    const QString command = ArchiverCommand(options, rarPath, source, skipSwitch);
    QTEST(command, "command");
    const SplitCommand split = SplitCommandLine(command);
    QCOMPARE(split.program, QStringLiteral("wrar"));
    QTEST(split.arguments, "arguments");
    QCOMPARE(split.outputFile, QString());
}

void ArchiverStepTest::archiverOptions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<qint16>("rarSolid");
    QTest::addColumn<QString>("options");

    QTest::newRow("floppy, solid checked") << 3 << Checked << "-v1440000b -m5 -s";
    QTest::newRow("floppy, unchecked") << 3 << Unchecked << "-v1440000b";
    QTest::newRow("unlimited, solid") << 0 << Checked << "-v0000b -m5 -s";
    QTest::newRow("any non-zero state is checked") << 200 << qint16(1) << "-v100000000b -m5 -s";
}

void ArchiverStepTest::archiverOptions()
{
    QFETCH(int, position);
    QFETCH(qint16, rarSolid);
    TestSession ts;
    ts.session.job.RarSolid = rarSolid;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(position);
    QVERIFY(PrepareArchiverStep(ts.session, plan));
    QTEST(plan.archiverOptions, "options");
    QCOMPARE(plan.skipSwitch, QString());
}

void ArchiverStepTest::skipFileWritten_data()
{
    QTest::addColumn<QString>("skipList");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("one entry") << "/d/src/old/*.*\r\n" << QByteArray("/d/src/old/*.*\r\n\r\n");
    QTest::newRow("directory and file")
        << "/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n"
        << QByteArray("/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n\r\n");
    QTest::newRow("names as the file system's bytes")
        << QString::fromUtf8("/d/src/caf\u00e9 \"x\"\r\n")
        << QByteArray("/d/src/caf\xc3\xa9 \"x\"\r\n\r\n");
    QTest::newRow("hand-typed text kept as typed") << "/d/src/A" << QByteArray("/d/src/A\r\n");
}

void ArchiverStepTest::skipFileWritten()
{
    QFETCH(QString, skipList);
    TestSession ts;
    ts.writeFile("sys/skip.txt", "an earlier, longer skip file\r\n\r\n\r\n");
    ts.session.job.SkipList = skipList;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(3);
    QVERIFY(PrepareArchiverStep(ts.session, plan));
    const QString skipFile = ts.systemDir() + "/skip.txt";
    QCOMPARE(plan.skipSwitch, "-x@" + skipFile);
    QTEST(readAll(skipFile), "bytes");
}

void ArchiverStepTest::emptySkipListLeavesEarlierFileAlone()
{
    TestSession ts;
    const QString earlier = ts.writeFile("sys/skip.txt", "/old/entry\r\n\r\n");
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(1);
    plan.skipSwitch = "-x@left over";
    QVERIFY(PrepareArchiverStep(ts.session, plan));
    QCOMPARE(plan.skipSwitch, QString());
    QCOMPARE(readAll(earlier), QByteArray("/old/entry\r\n\r\n"));
}

void ArchiverStepTest::skipFileThatCannotBeWritten()
{
    TestSession ts;
    QVERIFY(QDir().mkpath(ts.systemDir() + "/skip.txt"));
    ts.session.job.SkipList = "/d/src/a\r\n";
    RunPlan plan;
    QVERIFY(!PrepareArchiverStep(ts.session, plan));
}

void ArchiverStepTest::skipFileOnAPathWithBlanks()
{
    TestSession ts;
    const QString systemDir = ts.path("my system/drive");
    qputenv("KESTO32_SYSTEM_DIR", QFile::encodeName(systemDir));
    ts.session.job.SkipList = "/d/src/a\r\n";
    RunPlan plan;
    QVERIFY(PrepareArchiverStep(ts.session, plan));
    QCOMPARE(readAll(systemDir + "/skip.txt"), QByteArray("/d/src/a\r\n\r\n"));
    const QString command =
        ArchiverCommand(plan.archiverOptions, "/w/t.001", "/d/src", plan.skipSwitch);
    QCOMPARE(SplitCommandLine(command).arguments.last(), "-x@" + systemDir + "/skip.txt");
}

void ArchiverStepTest::runArchiverStep_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<QStringList>("pageEvents");

    QTest::newRow("interactive") << false << QStringList{};
    QTest::newRow("batch shows the Kesto page afterwards")
        << true << QStringList{"hide", "page:Kesto"};
}

void ArchiverStepTest::runArchiverStep()
{
    QFETCH(bool, batch);
    TestSession ts;
    ts.session.state.BatchRun = batch;
    ts.session.job.SourcePath = "/d/my src";
    RunPlan plan;
    plan.archiverOptions = "-v1440000b -m5 -s";
    plan.skipSwitch = "-x@/c/skip.txt";
    plan.rarArchivePath = "/c/Kesto001/tool.001";

    // What the window showed while the archiver ran.
    QList<int> stateWhileRunning;
    int servedBeforeRun = -1;
    QStringList eventsBeforeRun;
    ts.runner.action = [&](const QString &) {
        stateWhileRunning = ts.window.archiverState;
        servedBeforeRun = ts.window.served;
        eventsBeforeRun = ts.window.events;
    };

    RunArchiverStep(ts.session, plan);

    QCOMPARE(ts.runner.commandLines,
             QStringList{"wrar.exe a -r -v1440000b -m5 -s -y /c/Kesto001/tool.001 \"/d/my src\" "
                         "-x@/c/skip.txt"});
    QCOMPARE(ts.window.statusText, QStringLiteral("Running WinRar..."));
    QCOMPARE(stateWhileRunning, QList<int>{1});
    QCOMPARE(servedBeforeRun, 1);
    QCOMPARE(eventsBeforeRun, QStringList());
    QCOMPARE(ts.window.archiverState, (QList<int>{1, 0}));
    QCOMPARE(ts.window.repaints, 1);
    QTEST(ts.window.events, "pageEvents");
    QCOMPARE(ts.session.job.SourcePath, QStringLiteral("/d/my src"));
}

void ArchiverStepTest::runArchiverStepWithoutWindow()
{
    TestSession ts;
    ts.session.svc.window = nullptr;
    ts.session.state.BatchRun = true;
    ts.session.job.SourcePath = "/d/src";
    RunPlan plan;
    plan.archiverOptions = "-v0000b";
    plan.rarArchivePath = "/c/Kesto001/tool.rar";
    RunArchiverStep(ts.session, plan);
    QCOMPARE(ts.runner.commandLines,
             QStringList{"wrar.exe a -r -v0000b -y /c/Kesto001/tool.rar \"/d/src\" "});
}

QTEST_GUILESS_MAIN(ArchiverStepTest)
#include "test_archiver_step.moc"
