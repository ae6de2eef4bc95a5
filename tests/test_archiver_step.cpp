#include "engine/archiver_step.h"
#include "engine/run_plan.h"
#include "support/fakes.h"
#include "support/rows.h"
#include "system/command_runner.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

const struct {
    const char *name, *options, *rarPath, *source, *skipSwitch, *command;
} commands[] = {
    {"floppy, solid, skip list", "-v1440000b -m5 -s", "/c/Kesto001/tool.001", "/d/src",
     "-x@/c/skip.txt",
     "wrar.exe a -r -v1440000b -m5 -s -y /c/Kesto001/tool.001 \"/d/src\" -x@/c/skip.txt"},
    {"one archive, no skip list, source with a blank", "-v0000b", "/c/Kesto001/tool.rar",
     "/c/my files", "", "wrar.exe a -r -v0000b -y /c/Kesto001/tool.rar \"/c/my files\" "},
    {"work directory on a drive with a blank", "-v500000b", "/media/My Disk/Kesto001/tool.001",
     "/d/src", "", "wrar.exe a -r -v500000b -y \"/media/My Disk/Kesto001/tool.001\" \"/d/src\" "},
    {"source with quotes and shell syntax", "-v500000b", "/w/tool.001", "/d/\"a\"; $(touch x) >y",
     "", "wrar.exe a -r -v500000b -y /w/tool.001 \"/d/\"\"a\"\"; $(touch x) >y\" "},
};

RunPlan prepared(TestSession &t, int position)
{
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(position);
    if (PrepareArchiverStep(t.session, plan))
        plan.archiverOptions = "failed";
    return plan;
}

} // namespace

class ArchiverStepTest : public QObject {
    Q_OBJECT

private slots:
    void archiverCommand_data() { addRows(commands); }
    // Exactly the designed text, and every part reaches the archiver as one argument.
    void archiverCommand()
    {
        const auto &row = currentRow(commands);
        const QString command =
            ArchiverCommand(row.options, row.rarPath, row.source, row.skipSwitch);
        QCOMPARE(command, row.command);
        const SplitCommand split = SplitCommandLine(command);
        QCOMPARE(split.program, "wrar");
        QStringList expected = QStringList{"a", "-r"} + QString(row.options).split(' ');
        expected << "-y" << row.rarPath << row.source;
        if (*row.skipSwitch)
            expected << row.skipSwitch;
        QCOMPARE(split.arguments, expected);
        QCOMPARE(split.outputFile, "");
    }

    void archiverOptions()
    {
        for (const auto &[position, solid, options] : {std::tuple{3, Checked, "-v1440000b -m5 -s"},
                                                       {3, Unchecked, "-v1440000b"},
                                                       {0, Checked, "-v0000b -m5 -s"},
                                                       {200, qint16(1), "-v100000000b -m5 -s"}}) {
            TestSession t;
            t.session.job.RarSolid = solid;
            const RunPlan plan = prepared(t, position);
            QCOMPARE(plan.archiverOptions, options);
            QCOMPARE(plan.skipSwitch, "");
        }
    }

    // The list as it stands, closed by one more line break, in the file system's bytes.
    void skipFileWritten()
    {
        const std::pair<QString, QByteArray> lists[] = {
            {"/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n",
             "/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n\r\n"},
            {"/d/src/caf\u00e9 \"x\"\r\n", "/d/src/caf\xc3\xa9 \"x\"\r\n\r\n"},
            {"/d/src/A", "/d/src/A\r\n"}, // typed by hand, kept as typed
        };
        for (const auto &[list, bytes] : lists) {
            TestSession t;
            t.writeFile("sys/skip.txt", "an earlier, longer skip file\r\n\r\n\r\n");
            t.session.job.SkipList = list;
            QCOMPARE(prepared(t, 3).skipSwitch, "-x@" + t.systemDir() + "/skip.txt");
            QCOMPARE(readAll(t.systemDir() + "/skip.txt"), bytes);
        }
    }

    void skipFileLeftAloneOrFailing()
    {
        TestSession t;
        const QString earlier = t.writeFile("sys/skip.txt", "/old/entry\r\n\r\n");
        QCOMPARE(prepared(t, 1).skipSwitch, "");
        QCOMPARE(readAll(earlier), "/old/entry\r\n\r\n");

        QVERIFY(QFile::remove(earlier) && QDir().mkpath(earlier));
        t.session.job.SkipList = "/d/src/a\r\n";
        QCOMPARE(prepared(t, 1).archiverOptions, "failed");
    }

    void skipFileOnAPathWithBlanks()
    {
        TestSession t;
        const QString systemDir = t.path("my system/drive");
        qputenv("KESTO32_SYSTEM_DIR", QFile::encodeName(systemDir));
        t.session.job.SkipList = "/d/src/a\r\n";
        const RunPlan plan = prepared(t, 1);
        QCOMPARE(readAll(systemDir + "/skip.txt"), "/d/src/a\r\n\r\n");
        const QString command =
            ArchiverCommand(plan.archiverOptions, "/w/t.001", "/d/src", plan.skipSwitch);
        QCOMPARE(SplitCommandLine(command).arguments.last(), "-x@" + systemDir + "/skip.txt");
    }

    // The archiver is judged by how it ended: a warning (files it could not read) is no success.
    void runArchiverStep()
    {
        const std::pair<int, std::optional<Failure>> endings[] = {
            {0, std::nullopt},
            {1, Failure::ArchiverWarned},
            {2, Failure::ArchiverFailed},
            {-1, Failure::ArchiverFailed}, // killed
        };
        for (const auto &[status, kind] : endings) {
            TestSession t;
            t.runner.exitStatus = status;
            t.session.job.SourcePath = "/d/my src";
            RunPlan plan;
            plan.archiverOptions = "-v1440000b -m5 -s";
            plan.skipSwitch = "-x@/c/skip.txt";
            plan.rarArchivePath = "/c/Kesto001/tool.001";
            // What the window showed while the archiver ran.
            t.runner.action = [&](const QString &) {
                QCOMPARE(t.window.archiverState, QList<int>{1});
                QCOMPARE(t.window.served, 1);
                QVERIFY(t.window.events.isEmpty());
            };

            const auto failure = RunArchiverStep(t.session, plan);

            QCOMPARE(failure ? std::optional(failure->kind) : std::nullopt, kind);
            QCOMPARE(t.runner.commandLines,
                     QStringList{ArchiverCommand(plan.archiverOptions, plan.rarArchivePath,
                                                 "/d/my src", plan.skipSwitch)});
            QCOMPARE(t.window.statusText, "Running WinRar...");
            QCOMPARE(t.window.archiverState, (QList<int>{1, 0}));
            QCOMPARE(t.window.repaints, 1);
            QVERIFY(t.window.events.isEmpty());
            QCOMPARE(t.session.job.SourcePath, "/d/my src");
        }
    }
};

QTEST_GUILESS_MAIN(ArchiverStepTest)
#include "test_archiver_step.moc"
