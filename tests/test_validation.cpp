#include "engine/output_settings.h"
#include "engine/recovery_set.h"
#include "engine/run_preview.h"
#include "engine/validation.h"
#include "support/fakes.h"
#include "support/rows.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

using namespace kesto;
using namespace kesto::test;

namespace {

using Job = JobSettings;
using Breaker = void (*)(Job &);

// The path fields, as flags for what a refusal clears.
enum { Src = 1, Skip = 2, Diz = 4, Nfo = 8, Extra = 16, Out = 32, Name = 64 };
QString *field(Job &job, int flag)
{
    QString *fields[] = {&job.SourcePath, &job.SkipList, &job.DizPath, &job.NfoPath,
                         &job.ExtraPath,  &job.ZipDir,   &job.ZipName};
    return fields[qCountTrailingZeroBits(uint(flag))];
}

// A job whose every page is in order, with the tree it names; the breaker then spoils one thing.
// The test runs in the session's root: the job's relative paths are taken there.
void makeJob(TestSession &t, Breaker breakJob)
{
    t.writeFile("src/a.txt", "a");
    t.writeFile("src/old/b.txt", "b");
    t.writeFile("src/docs/readme.txt", "r");
    t.writeFile("desc/file_id.diz", "line one\r\n" + QByteArray(40, '-') + "\r\nline three\r\n");
    t.writeFile("desc/about.nfo", "about\r\n");
    t.writeFile("desc/extra.txt", "extra");
    QDir(t.root.path()).mkpath("src/empty");
    QDir(t.root.path()).mkpath("out");
    Job &job = t.session.job;
    job.SourcePath = "src";
    job.SkipList = "src/old/*.*\r\nsrc/docs/readme.txt\r\n";
    job.DizPath = "desc/file_id.diz";
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizColumn = "34";
    job.DizLine = "2";
    job.NfoPath = "desc/about.nfo";
    job.ExtraIsFile = true;
    job.ExtraPath = "desc/extra.txt";
    job.ZipDir = "out";
    job.ZipName = "tool";
    breakJob(job);
}

// A job is valid when the window was asked nothing, outside batch mode.
const struct {
    const char *name;
    Breaker breakJob;
    int cleared;
    const char *events; // what the window was asked, in order
    const char *message = "";
    bool batch = false;
    qint64 freeBytes = -1; // of every drive, when given
} cases[] = {
    {"source empty", [](Job &j) { j.SourcePath.clear(); }, Skip, "page:Source"},
    {"source gone", [](Job &j) { j.SourcePath = "nosuch"; }, Src | Skip, "page:Source"},
    {"skip file gone", [](Job &j) { j.SkipList += "src/gone.txt\r\n"; }, Skip, "page:Skip"},
    {"skip directory gone", [](Job &j) { j.SkipList = "src/no/*.*\r\n"; }, Skip, "page:Skip"},
    {"skip file naming a directory", [](Job &j) { j.SkipList = "src/old\r\n"; }, Skip, "page:Skip"},
    {"description empty", [](Job &j) { j.DizPath.clear(); }, 0, "page:Diz"},
    {"description gone", [](Job &j) { j.DizPath = "desc/gone.diz"; }, Diz, "page:Diz"},
    {"column empty", [](Job &j) { j.DizColumn.clear(); }, 0, "page:Diz focus:DizColumn"},
    {"nfo empty", [](Job &j) { j.NfoPath.clear(); }, 0, "page:Nfo"},
    {"nfo gone", [](Job &j) { j.NfoPath = "desc/gone.nfo"; }, Nfo, "page:Nfo"},
    {"extra file gone", [](Job &j) { j.ExtraPath = "desc/gone.txt"; }, Extra, "page:Nfo"},
    {"extra directory gone",
     [](Job &j) { j.ExtraIsFile = false, j.ExtraIsDirectory = true, j.ExtraPath = "src/no"; },
     Extra, "page:Nfo"},
    {"output directory empty", [](Job &j) { j.ZipDir.clear(); }, 0, "page:Zip"},
    {"output directory gone", [](Job &j) { j.ZipDir = "nosuch"; }, Out, "page:Zip"},
    {"name empty", [](Job &j) { j.ZipName.clear(); }, 0, "page:Zip focus:ZipName"},
    {"name with a blank", [](Job &j) { j.ZipName = "my tool"; }, Name, "page:Zip focus:ZipName",
     "Spaces aren't allowed in filename"},
    {"numbering test fails", [](Job &j) { j.DizColumn = "35"; }, 0,
     "page:Diz focus:DizColumn page:Diz", "Column number too high"},
    {"numbering test fails, batch", [](Job &j) { j.DizLine = "4"; }, 0,
     "page:Diz focus:DizLine page:Diz", "", true},
    // Valid jobs.
    {"every page in order", [](Job &) {}, 0, ""},
    // Short of the upper bound of what the run writes, not of the least: the plan only warns.
    {"little free space", [](Job &) {}, 0, "", "", false, 2000},
    {"skip directory there but empty", [](Job &j) { j.SkipList = "src/empty/*.*\r\n"; }, 0, ""},
    {"one line without break is not checked", [](Job &j) { j.SkipList = "src/gone.txt"; }, 0, ""},
    {"empty line ends the pass", [](Job &j) { j.SkipList = "src/a.txt\r\n\r\nsrc/gone.txt\r\n"; },
     0, ""},
    {"extra directory there",
     [](Job &j) { j.ExtraIsFile = false, j.ExtraIsDirectory = true, j.ExtraPath = "src/old"; }, 0,
     ""},
};

} // namespace

class ValidationTest : public QObject {
    Q_OBJECT

private slots:
    void validate_data() { addRows(cases); }
    void validate()
    {
        const auto &c = currentRow(cases);
        TestSession t;
        const auto back = qScopeGuard([old = QDir::currentPath()] { QDir::setCurrent(old); });
        QDir::setCurrent(t.root.path());
        makeJob(t, c.breakJob);
        t.session.state.BatchRun = c.batch;
        t.session.state.JobValid = !*c.events;
        if (c.freeBytes >= 0)
            t.disks.defaultFree = c.freeBytes;
        JobSettings expected = t.session.job;
        for (int flag = Src; flag <= Name; flag <<= 1)
            if (c.cleared & flag)
                field(expected, flag)->clear();

        // The plan of a run judges the job by the same checks, writing nothing.
        const int planned = PreviewRun(t.session.job, false, "c", t.disks).status;
        const auto failure = ValidateJob(t.session);
        QCOMPARE(planned != 0, failure.has_value());

        QCOMPARE(t.session.state.JobValid, !*c.events && !c.batch);
        QCOMPARE(failure.has_value(), !t.session.state.JobValid);
        QCOMPARE(t.session.job, expected);
        QCOMPARE(t.window.events.join(' '), c.events);
        QCOMPARE(t.window.jobChanges > 0, c.cleared != 0);
        checkMessage(t, c.message);
        QVERIFY(!QFile::exists(t.appDir() + "/text.tmp"));
    }

    void sizeDisplayText()
    {
        const std::pair<int, const char *> shown[] = {
            {0, "1 Max file"}, {1, ".5 M"}, {3, "1.44 M"}, {5, "2.5 M"}, {200, "100. M"}};
        QLocale::setDefault(QLocale::c());
        for (const auto &[position, text] : shown)
            QCOMPARE(SizeDisplayText(position), text);
        // The decimal point is the locale's.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SizeDisplayText(5), QStringLiteral("2,5 M"));
        QCOMPARE(SizeDisplayText(3), QStringLiteral("1,44 M"));
        QLocale::setDefault(QLocale::c());
    }

    // The plan's recovery set is the one par2 writes for archives of those sizes: the same
    // names, and sizes within 1 %.
    void recoveryPlanIsPar2s_data()
    {
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<int>("percent");
        // The set's bytes at most, in % of the archives' (0: not checked).
        QTest::addColumn<double>("atMost");
        QTest::newRow("three archives, 10 %")
            << QList<qint64>{300'000, 300'000, 100'000} << 10 << 13.0;
        QTest::newRow("a run's two, 40 %") << QList<qint64>{50'373, 20'591} << 40 << 0.0;
        QTest::newRow("fewer bytes than blocks") << QList<qint64>{1'000} << 100 << 200.0;
        QTest::newRow("more than 2000 blocks of 16 KiB, 1 %")
            << QList<qint64>{20'000'000, 13'000'003} << 1 << 0.0;
    }
    void recoveryPlanIsPar2s()
    {
        QFETCH(QList<qint64>, sizes);
        QFETCH(int, percent);
        QFETCH(double, atMost);
        if (QStandardPaths::findExecutable("par2").isEmpty())
            QSKIP("par2 is not installed");
        QTemporaryDir dir;
        // One thread: par2's other threads only wait on a busy machine.
        QStringList arguments{"create", "-q", "-q", "-t1"};
        arguments << RecoveryCreateSettings(sizes, percent) << "-B" + dir.path()
                  << dir.path() + "/tool.par2"
                  << "--";
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QFile archive(dir.filePath(QStringLiteral("tool%1.zip").arg(i + 1, 3, 10, QChar('0'))));
            QVERIFY(archive.open(QIODevice::WriteOnly) && archive.resize(sizes[i]));
            arguments << archive.fileName();
        }
        QProcess par2;
        par2.start("par2", arguments);
        QVERIFY(par2.waitForFinished(60'000) && par2.exitCode() == 0);

        const QStringList written = QDir(dir.path()).entryList({"*.par2"}, QDir::Files, QDir::Name);
        QStringList planned;
        qint64 setBytes = 0;
        for (const RecoveryFilePlan &file : PlanRecoverySet("tool", sizes, percent)) {
            planned << file.name;
            setBytes += file.bytes;
            const qint64 real = QFileInfo(dir.filePath(file.name)).size();
            QVERIFY2(file.bytes == real, qPrintable(QStringLiteral("%1: %2 planned, %3 written")
                                                        .arg(file.name)
                                                        .arg(file.bytes)
                                                        .arg(real)));
        }
        planned.sort();
        QCOMPARE(planned, written);
        const double share = 100.0 * double(setBytes) /
                             double(std::accumulate(sizes.cbegin(), sizes.cend(), qint64(0)));
        QVERIFY2(atMost == 0 || share <= atMost, qPrintable(QString::number(share)));
    }
};

QTEST_GUILESS_MAIN(ValidationTest)
#include "test_validation.moc"
