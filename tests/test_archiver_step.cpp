#include "engine/archiver_step.h"
#include "engine/run_plan.h"
#include "support/fakes.h"
#include "support/rows.h"
#include "system/command_runner.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// A floppy-sized job with the source and the skip list given: the options the archiver gets and
// the skip file written (nullptr: none, the earlier one stays).
const struct {
    const char *name;
    CheckState solid;
    const char *source, *skipList, *options, *skipFile;
} jobs[] = {
    {"solid, skip list", Checked, "/d/src", "/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n",
     "-v1440000b -m5 -s", "/d/src/old/*.*\r\n/d/src/docs/readme.txt\r\n\r\n"},
    {"not solid, no skip list", Unchecked, "/c/my files", "", "-v1440000b", nullptr},
    {"entry typed without a break", Unchecked, "/d/src", "/d/src/caf\u00e9 \"x\"", "-v1440000b",
     "/d/src/caf\xc3\xa9 \"x\"\r\n"},
};

} // namespace

class ArchiverStepTest : public QObject {
    Q_OBJECT

private slots:
    // Every part reaches the archiver as one argument; the skip file is the list as it stands,
    // closed by one more line break, replacing an earlier one.
    void runsTheArchiver_data() { addRows(jobs); }
    void runsTheArchiver()
    {
        const auto &row = currentRow(jobs);
        TestSession t;
        // The system drive's path holds a blank: the switch must stay one argument.
        const QString sys = t.path("my system/drive");
        qputenv("KESTO32_SYSTEM_DIR", QFile::encodeName(sys));
        t.writeFile("my system/drive/skip.txt", "an earlier, longer skip file\r\n\r\n\r\n");
        t.session.job.RarSolid = row.solid;
        t.session.job.SourcePath = row.source;
        t.session.job.SkipList = row.skipList;
        RunPlan plan;
        plan.sizeSwitch = SizeSwitch(3);
        QVERIFY(!PrepareArchiverStep(t.session, plan));
        plan.rarArchivePath = sys + "/Kesto001/tool.001";
        t.runner.action = [&](const QString &) { QCOMPARE(t.window.served, 1); };

        QVERIFY(!RunArchiverStep(t.session, plan));

        QCOMPARE(t.runner.commandLines.size(), 1);
        const SplitCommand split = SplitCommandLine(t.runner.commandLines[0]);
        QCOMPARE(split.program, "wrar");
        QStringList expected = QStringList{"a", "-r"} + QString(row.options).split(' ');
        expected << "-y" << plan.rarArchivePath << row.source;
        if (row.skipFile)
            expected << "-x@" + sys + "/skip.txt";
        QCOMPARE(split.arguments, expected);
        QCOMPARE(readAll(sys + "/skip.txt"),
                 row.skipFile ? row.skipFile : "an earlier, longer skip file\r\n\r\n\r\n");
        QCOMPARE(t.window.statusText, "Running 7-Zip...");
    }

    void skipFileThatCannotBeWrittenFails()
    {
        TestSession t;
        QDir().mkpath(t.systemDir() + "/skip.txt");
        t.session.job.SkipList = "/d/src/a\r\n";
        RunPlan plan;
        QVERIFY(PrepareArchiverStep(t.session, plan));
    }
};

QTEST_GUILESS_MAIN(ArchiverStepTest)
#include "test_archiver_step.moc"
