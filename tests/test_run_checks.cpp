// The packaging run's checks before anything is written, and its planning.
#include "engine/packaging_run.h"
#include "engine/run_plan.h"
#include "support/fakes.h"
#include "support/rows.h"

#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// A job that passes every check; the fake runner stands in for the archiver.
void makeJob(TestSession &t)
{
    JobSettings &job = t.session.job;
    job.SourcePath = t.path("src");
    job.DizPath = t.writeFile("in/file_id.diz", "line one\r\n");
    job.NfoPath = t.writeFile("in/about.nfo", "nfo\r\n");
    job.ZipDir = t.path("out");
    QDir().mkpath(job.SourcePath);
    QDir().mkpath(job.ZipDir);
    job.ZipName = "tool";
}

constexpr Failure Invalid = Failure::JobInvalid;

// Each row spoils the job; the run stops at the first page at fault.
const struct {
    const char *name;
    void (*breakJob)(JobSettings &);
    const char *page, *focus;
    Failure kind;
    const char *message = "";
} refusals[] = {
    {"no source", [](JobSettings &j) { j.SourcePath.clear(); }, "Source", "", Invalid},
    {"no source nor nfo", [](JobSettings &j) { j.SourcePath.clear(), j.NfoPath.clear(); }, "Source",
     "", Invalid},
    {"no diz", [](JobSettings &j) { j.DizPath.clear(); }, "Diz", "", Invalid},
    {"no column", [](JobSettings &j) { j.DizAutoNumber = true, j.DizLine = "1"; }, "Diz",
     "DizColumn", Invalid},
    {"no nfo, all else set", [](JobSettings &j) { j.NfoPath.clear(); }, "Nfo", "", Invalid},
    {"no zip dir", [](JobSettings &j) { j.ZipDir.clear(); }, "Zip", "", Invalid},
    {"no zip name", [](JobSettings &j) { j.ZipName.clear(); }, "Zip", "ZipName", Invalid},
    {"zip dir gone since loading", [](JobSettings &j) { j.ZipDir += "/gone"; }, "Zip", "",
     Failure::OutputNotWritable},
    {"numbering test fails",
     [](JobSettings &j) { j.DizAutoNumber = true, j.DizColumn = "9", j.DizLine = "1"; }, "Diz",
     "DizColumn", Failure::DescriptionTest, "Column number too high"},
};

// Any file beginning with the name counts, archive or not; names compare literally, case and all.
const struct {
    const char *name, *zipName, *existing;
    bool asked;
} clashes[] = {
    {"archive of the series", "tool", "tool001.zip", true},
    {"other name", "tool", "atool.zip", false},
    {"directory of that name", "tool", "toolbox/", false},
    {"other case", "Tool", "tool001.zip", false},
    {"brackets", "t[o]ol", "t[o]ol001.zip", true},
};

} // namespace

class RunChecksTest : public QObject {
    Q_OBJECT

private slots:
    void refusesInPageOrder_data() { addRows(refusals); }
    void refusesInPageOrder()
    {
        const auto &row = currentRow(refusals);
        for (const bool batch : {false, true}) {
            TestSession t;
            makeJob(t);
            row.breakJob(t.session.job);
            t.session.state.BatchRun = batch;

            const auto failure = RunPackaging(t.session);

            QVERIFY(failure);
            QCOMPARE(failure->kind, row.kind);
            QCOMPARE(t.window.page ? pageName(*t.window.page) : "", row.page);
            QCOMPARE(t.window.focus ? fieldName(*t.window.focus) : "", row.focus);
            QVERIFY(t.runner.commandLines.isEmpty());
            QVERIFY(QDir(t.systemDir()).entryList({"Kesto*"}).isEmpty());
            if (batch) {
                QVERIFY(t.messages.shown.isEmpty());
                continue;
            }
            checkMessage(t, row.message);
            // The Kesto page came first, then the page at fault.
            QCOMPARE(t.window.events.mid(0, 2), (QStringList{"hide", "page:Kesto"}));
        }
    }

    void nameClashAsksBeforeOverwriting_data() { addRows(clashes); }
    void nameClashAsksBeforeOverwriting()
    {
        const auto &row = currentRow(clashes);
        // The third pass is a batch run: it never asks, and goes on.
        for (const int pass : {0, 1, 2}) {
            const Answer answer = pass == 1 ? Answer::Ok : Answer::Cancel;
            TestSession t;
            makeJob(t);
            t.session.job.ZipName = row.zipName;
            t.session.state.BatchRunDated = pass == 2;
            if (QString(row.existing).endsWith('/'))
                QDir().mkpath(t.path(QString("out/") + row.existing));
            else
                t.writeFile(QString("out/") + row.existing, "x");
            t.messages.answers.push_back(answer);

            const auto failure = RunPackaging(t.session);

            // The fake archiver leaves no volume, which a run that goes on reports at its end.
            if (!t.messages.shown.isEmpty() &&
                t.messages.shown.last().text == QLatin1String("The archiver left no volume"))
                t.messages.shown.removeLast();
            checkMessage(
                t, row.asked && pass < 2 ? "Duplicate zip name in zip directory\nOverwrite?" : "",
                Icon::Exclamation, Buttons::OkCancel);
            const bool ran = !row.asked || answer == Answer::Ok || pass == 2;
            QCOMPARE(t.runner.commandLines.size(), ran ? 1 : 0);
            if (!ran) {
                QCOMPARE(failure->kind, Failure::NameClash);
                QCOMPARE(t.window.events.mid(2), (QStringList{"page:Zip", "focus:ZipName"}));
            }
        }
    }

    void naming()
    {
        QCOMPARE(VolumeNumberText(1, 1000), "1000");
        QCOMPARE(DateStamp(QDate(1998, 6, 4)), "06498");
    }

    // The work directory takes the first name not taken by anything, on the temporary drive.
    void plannedRunUsesTempDriveAndNames()
    {
        TestSession t;
        makeJob(t);
        const QString d = t.path("drive-d");
        QDir().mkpath(d + "/Kesto001");
        t.writeFile("drive-d/Kesto002", "a file takes the name too");
        QFile::link(d + "/nowhere", d + "/Kesto003");
        t.disks.driveList = {{"c", t.systemDir()}, {"d", d}};
        t.session.state.TempDrive = "d";
        t.session.job.VolumeSizeSetting = 0;

        kesto_Click(t.session);

        QCOMPARE(t.session.state.WorkDir, d + "/Kesto004");
        QCOMPARE(t.runner.commandLines.size(), 1);
        QVERIFY(t.runner.commandLines[0].contains(" -v0000b -y " + d + "/Kesto004/tool.rar "));

        t.session.state.TempDrive = "q"; // unknown: the run fails
        const auto failure = RunPackaging(t.session);
        QCOMPARE(t.runner.commandLines.size(), 1);
        QCOMPARE(failure->kind, Failure::FileFailed);
    }
};

QTEST_GUILESS_MAIN(RunChecksTest)
#include "test_run_checks.moc"
