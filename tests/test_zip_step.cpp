// The zip step's own decisions; the whole series with the real archiver is test_packaging_e2e's.
#include "engine/run_plan.h"
#include "engine/zip_step.h"
#include "support/fakes.h"
#include "support/rows.h"
#include "support/zip_inspect.h"
#include "system/paths.h"

#include <QDir>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// Description without numbering, nfo in the first archive only, an extra directory, and the
// three volumes the archiver would have left in a fresh work directory.
void setUp(TestSession &ts)
{
    JobSettings &job = ts.session.job;
    job.DizPath = ts.writeFile("input/my.diz", "Tool\r\n");
    job.NfoPath = ts.writeFile("input/tool.nfo", "Tool\r\n");
    job.NfoFirstOnly = Checked;
    ts.writeFile("extras/readme.txt", "read me");
    ts.writeFile("extras/logo", "logo");
    ts.writeFile("extras/sub/deep.txt", "not this");
    job.ExtraIsDirectory = true;
    job.ExtraPath = ts.path("extras");
    job.ZipDir = ts.path("out/");
    QDir().mkpath(job.ZipDir);
    job.ZipName = "tool";
    ts.session.state.WorkDir = MakeWorkDir(ts.systemDir());
    for (const char *volume : {"tool.001", "tool.002", "tool.003"})
        ts.writeFile(QDir(ts.root.path()).relativeFilePath(ts.session.state.WorkDir) + '/' + volume,
                     randomBytes(150'000, 1));
    ts.session.state.RunInProgress = true;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QString archive(TestSession &ts, int volume)
{
    return paths::join(ts.session.job.ZipDir, QString("tool00%1.zip").arg(volume));
}

// Something happens while the second archive is written: the step ends there. An archive is
// written in one go, so the second one is whole or not there ("-"); the volumes not wrapped stay.
using Event = void (*)(TestSession &);
const Event abort = [](TestSession &t) { RequestZipAbort(t.session); };
const Event exitNow = [](TestSession &t) { AbortAndClose(t.session); };
const Event dropDiz = [](TestSession &t) { QFile::remove(t.session.job.DizPath); };
const Event dropExtras = [](TestSession &t) { QDir(t.session.job.ExtraPath).removeRecursively(); };
const QStringList wholeSecond{"file_id.diz", "logo", "readme.txt", "tool.002"};
const QStringList lastTwo{"tool.002", "tool.003"};
const struct {
    const char *name;
    const char *when; // the file the status shows as the event happens
    Event event;
    Failure kind;
    QStringList secondHolds;
    QStringList volumesLeft;
} stops[] = {
    {"Abort after the diz", "file_id.diz", abort, Failure::ZipFailed, {"-"}, lastTwo},
    {"Exit while storing", "tool.002", exitNow, Failure::ZipFailed, {"-"}, lastTwo},
    // The second archive's description is copied already; the third's cannot be.
    {"diz gone", "tool.002", dropDiz, Failure::FileFailed, wholeSecond, {"tool.003"}},
    {"extras gone", "tool.002", dropExtras, Failure::ZipFailed, {"-"}, lastTwo},
};

} // namespace

class ZipStepTest : public QObject {
    Q_OBJECT

    QString savedDir_;

private slots:
    void init() { savedDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(savedDir_); }

    void volumesInTheirOrder()
    {
        QCOMPARE(InVolumeOrder({"tool.1000", "tool.010", "tool.999", "tool.001", "tool.rar"}),
                 (QStringList{"tool.rar", "tool.001", "tool.010", "tool.999", "tool.1000"}));
    }

    // A greyed box puts the nfo in every archive; a read-only extra file is packed as it is.
    void greyedNfoAndReadOnlyExtra()
    {
        TestSession ts;
        setUp(ts);
        JobSettings &job = ts.session.job;
        job.NfoFirstOnly = Greyed;
        job.ExtraIsDirectory = false;
        job.ExtraIsFile = true;
        job.ExtraPath = ts.root.filePath("extras/readme.txt");
        job.ZipExtraCompression = Checked;
        QVERIFY(QFile::setPermissions(job.ExtraPath, QFileDevice::ReadOwner));
        RequestZipAbort(ts.session); // pressed while no run was under way: no effect

        QVERIFY(!RunZipStep(ts.session, RunPlan{}));

        for (int volume = 1; volume <= 3; ++volume)
            QCOMPARE(sorted(unzipNames(archive(ts, volume))),
                     (QStringList{"file_id.diz", "readme.txt", QString("tool.00%1").arg(volume),
                                  "tool.nfo"}));
        QCOMPARE(ts.zip.CompressionLevel, 9);
        QVERIFY(!(QFile::permissions(job.ExtraPath) & QFileDevice::WriteOwner));
        QVERIFY(!ts.session.state.RunInProgress);
    }

    void stopsInTheSecondArchive_data() { addRows(stops); }
    void stopsInTheSecondArchive()
    {
        const auto &row = currentRow(stops);
        TestSession ts;
        setUp(ts);
        const QString workDir = ts.session.state.WorkDir;
        bool happened = false;
        ts.window.onServe = [&] {
            if (happened || ts.window.archiveText != "tool002.zip" ||
                ts.window.statusText != row.when ||
                (row.when == QString("tool.002") && ts.window.progressValue % 100 == 0))
                return;
            happened = true;
            row.event(ts);
        };

        const auto failure = RunZipStep(ts.session, RunPlan{});

        QVERIFY(happened);
        QVERIFY(failure);
        QCOMPARE(failure->kind, row.kind);
        const QString second = archive(ts, 2);
        QCOMPARE(QFile::exists(second) ? sorted(unzipNames(second)) : QStringList{"-"},
                 row.secondHolds);
        QCOMPARE(sorted(unzipNames(archive(ts, 1))),
                 (QStringList{"file_id.diz", "logo", "readme.txt", "tool.001", "tool.nfo"}));
        QVERIFY(!QFile::exists(archive(ts, 3)));
        QCOMPARE(entriesOf(workDir), row.volumesLeft);
        QCOMPARE(ts.window.closes, row.event == exitNow ? 1 : 0);
        QVERIFY(ts.sound.played.isEmpty());
        QVERIFY(!ts.zip.AbortRequest);
    }
};

QTEST_GUILESS_MAIN(ZipStepTest)
#include "test_zip_step.moc"
