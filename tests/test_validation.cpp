#include "engine/output_settings.h"
#include "engine/validation.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

// A path below the test's root, made by nobody.
QString at(const TestSession &t, const QString &relative)
{
    return t.root.filePath(relative);
}

// A job whose every page is in order, with the tree it names.
void makeValidJob(TestSession &t)
{
    t.writeFile("src/a.txt", "a");
    t.writeFile("src/old/b.txt", "b");
    t.writeFile("src/docs/readme.txt", "r");
    QDir().mkpath(at(t, "src/empty"));
    QDir().mkpath(at(t, "out"));
    JobSettings &job = t.session.job;
    job.SourcePath = at(t, "src");
    job.SkipList = at(t, "src/old/*.*") + "\r\n" + at(t, "src/docs/readme.txt") + "\r\n";
    job.DizPath = t.writeFile("desc/file_id.diz",
                              "line one\r\n" + QByteArray(40, '-') + "\r\nline three\r\n");
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizLine = "2";
    job.DizColumn = "34";
    job.NfoPath = t.writeFile("desc/about.nfo", "about\r\n");
    job.ExtraIsFile = true;
    job.ExtraPath = t.writeFile("desc/extra.txt", "extra");
    job.ZipDir = at(t, "out");
    job.ZipName = "tool";
}

using Breaker = void (*)(TestSession &t, JobSettings &job);
using Cleared = QList<QString JobSettings::*>;

struct Case {
    const char *name;
    Breaker breakJob;
    bool batch;
    Cleared cleared;
    const char *events; // what the window was asked, in order
    const char *message;
    bool valid;
    bool ended;
};

const Case cases[] = {
    {"valid", [](TestSession &, JobSettings &) {}, false, {}, "", "", true, false},
    {"valid, batch", [](TestSession &, JobSettings &) {}, true, {}, "", "", true, false},
    {"source empty",
     [](TestSession &, JobSettings &job) { job.SourcePath.clear(); },
     false,
     {&JobSettings::SkipList},
     "page:Source",
     "",
     false,
     false},
    {"source gone",
     [](TestSession &t, JobSettings &job) { job.SourcePath = at(t, "nosuch"); },
     false,
     {&JobSettings::SourcePath, &JobSettings::SkipList},
     "page:Source",
     "",
     false,
     false},
    {"source gone before the description",
     [](TestSession &t, JobSettings &job) {
         job.SourcePath = at(t, "nosuch");
         job.DizPath = at(t, "nosuch.diz");
     },
     false,
     {&JobSettings::SourcePath, &JobSettings::SkipList},
     "page:Source",
     "",
     false,
     false},
    {"skip file entry gone",
     [](TestSession &t, JobSettings &job) { job.SkipList += at(t, "src/gone.txt") + "\r\n"; },
     false,
     {&JobSettings::SkipList},
     "page:Skip",
     "",
     false,
     false},
    {"skip directory gone",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/nodir/*.*") + "\r\n"; },
     false,
     {&JobSettings::SkipList},
     "page:Skip",
     "",
     false,
     false},
    {"skip directory there but empty",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/empty/*.*") + "\r\n"; },
     false,
     {},
     "",
     "",
     true,
     false},
    {"skip file entry naming a directory",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/old") + "\r\n"; },
     false,
     {&JobSettings::SkipList},
     "page:Skip",
     "",
     false,
     false},
    {"typed pattern matching",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/a.*") + "\r\n"; },
     false,
     {},
     "",
     "",
     true,
     false},
    {"typed pattern matching nothing",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/zz*") + "\r\n"; },
     false,
     {&JobSettings::SkipList},
     "page:Skip",
     "",
     false,
     false},
    {"one line without break is not checked",
     [](TestSession &t, JobSettings &job) { job.SkipList = at(t, "src/gone.txt"); },
     false,
     {},
     "",
     "",
     true,
     false},
    {"empty line ends the pass",
     [](TestSession &t, JobSettings &job) {
         job.SkipList = at(t, "src/a.txt") + "\r\n\r\n" + at(t, "src/gone.txt") + "\r\n";
     },
     false,
     {},
     "",
     "",
     true,
     false},
    {"description empty",
     [](TestSession &, JobSettings &job) { job.DizPath.clear(); },
     false,
     {},
     "page:Diz",
     "",
     false,
     false},
    {"description gone",
     [](TestSession &t, JobSettings &job) { job.DizPath = at(t, "desc/gone.diz"); },
     false,
     {&JobSettings::DizPath},
     "page:Diz",
     "",
     false,
     false},
    {"description is a directory",
     [](TestSession &t, JobSettings &job) { job.DizPath = at(t, "desc"); },
     false,
     {&JobSettings::DizPath},
     "page:Diz",
     "",
     false,
     false},
    {"column empty",
     [](TestSession &, JobSettings &job) { job.DizColumn.clear(); },
     false,
     {},
     "page:Diz focus:DizColumn",
     "",
     false,
     false},
    {"column empty, batch",
     [](TestSession &, JobSettings &job) { job.DizColumn.clear(); },
     true,
     {},
     "",
     "",
     false,
     true},
    {"line empty",
     [](TestSession &, JobSettings &job) { job.DizLine.clear(); },
     false,
     {},
     "page:Diz focus:DizLine",
     "",
     false,
     false},
    {"line empty, batch",
     [](TestSession &, JobSettings &job) { job.DizLine.clear(); },
     true,
     {},
     "",
     "",
     false,
     true},
    {"fields empty without numbering",
     [](TestSession &, JobSettings &job) {
         job.DizAutoNumber = false;
         job.DizNoneSelected = true;
         job.DizLine.clear();
         job.DizColumn.clear();
     },
     true,
     {},
     "",
     "",
     true,
     false},
    {"nfo empty",
     [](TestSession &, JobSettings &job) { job.NfoPath.clear(); },
     false,
     {},
     "page:Nfo",
     "",
     false,
     false},
    {"nfo gone",
     [](TestSession &t, JobSettings &job) { job.NfoPath = at(t, "desc/gone.nfo"); },
     false,
     {&JobSettings::NfoPath},
     "page:Nfo",
     "",
     false,
     false},
    {"extra file gone",
     [](TestSession &t, JobSettings &job) { job.ExtraPath = at(t, "desc/gone.txt"); },
     false,
     {&JobSettings::ExtraPath},
     "page:Nfo",
     "",
     false,
     false},
    {"extra file naming a directory",
     [](TestSession &t, JobSettings &job) { job.ExtraPath = at(t, "src/old"); },
     false,
     {&JobSettings::ExtraPath},
     "page:Nfo",
     "",
     false,
     false},
    {"extra directory gone",
     [](TestSession &t, JobSettings &job) {
         job.ExtraIsFile = false;
         job.ExtraIsDirectory = true;
         job.ExtraPath = at(t, "src/nodir");
     },
     false,
     {&JobSettings::ExtraPath},
     "page:Nfo",
     "",
     false,
     false},
    {"extra directory there",
     [](TestSession &t, JobSettings &job) {
         job.ExtraIsFile = false;
         job.ExtraIsDirectory = true;
         job.ExtraPath = at(t, "src/old");
     },
     false,
     {},
     "",
     "",
     true,
     false},
    {"extra without a choice is not checked",
     [](TestSession &t, JobSettings &job) {
         job.ExtraIsFile = false;
         job.ExtraPath = at(t, "desc/gone.txt");
     },
     false,
     {},
     "",
     "",
     true,
     false},
    {"output directory empty",
     [](TestSession &, JobSettings &job) { job.ZipDir.clear(); },
     false,
     {},
     "page:Zip",
     "",
     false,
     false},
    {"output directory gone",
     [](TestSession &t, JobSettings &job) { job.ZipDir = at(t, "nosuch"); },
     false,
     {&JobSettings::ZipDir},
     "page:Zip",
     "",
     false,
     false},
    {"output directory is a file",
     [](TestSession &t, JobSettings &job) { job.ZipDir = at(t, "src/a.txt"); },
     false,
     {&JobSettings::ZipDir},
     "page:Zip",
     "",
     false,
     false},
    {"name empty",
     [](TestSession &, JobSettings &job) { job.ZipName.clear(); },
     false,
     {},
     "page:Zip focus:ZipName",
     "",
     false,
     false},
    {"name with a blank",
     [](TestSession &, JobSettings &job) { job.ZipName = "my tool"; },
     false,
     {&JobSettings::ZipName},
     "page:Zip focus:ZipName",
     "Spaces aren't allowed in filename",
     false,
     false},
    {"name with a blank, batch",
     [](TestSession &, JobSettings &job) { job.ZipName = "my tool"; },
     true,
     {},
     "",
     "",
     false,
     false},
    {"numbering test fails",
     [](TestSession &, JobSettings &job) { job.DizColumn = "35"; },
     false,
     {},
     "page:Diz focus:DizColumn page:Diz",
     "Column number too high",
     false,
     false},
    {"numbering test fails, batch",
     [](TestSession &, JobSettings &job) { job.DizLine = "4"; },
     true,
     {},
     "page:Diz focus:DizLine page:Diz",
     "",
     false,
     false},
};

} // namespace

class ValidationTest : public QObject {
    Q_OBJECT

private slots:
    void validateJob_data();
    void validateJob();
    void sizeDisplayText_data();
    void sizeDisplayText();
    void sizeSelectorChange();
    void freeSpaceMB_data();
    void freeSpaceMB();
    void chooseZipDir();
    void chooseZipDirCancelled();
    void zipFreeSpaceWithoutDirectory();
};

void ValidationTest::validateJob_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(cases)); ++i)
        QTest::newRow(cases[i].name) << i;
}

void ValidationTest::validateJob()
{
    QFETCH(int, index);
    const Case &c = cases[index];
    TestSession t;
    makeValidJob(t);
    c.breakJob(t, t.session.job);
    t.session.state.BatchRun = c.batch;
    t.session.state.JobValid = !c.valid;
    JobSettings expected = t.session.job;
    for (QString JobSettings::*field : c.cleared)
        (expected.*field).clear();

    ValidateJob(t.session);

    QCOMPARE(t.session.state.JobValid, c.valid);
    QCOMPARE(t.session.job, expected);
    QCOMPARE(t.window.events.join(' '), QString::fromLatin1(c.events));
    QCOMPARE(t.window.jobChanges > 0, !c.cleared.isEmpty());
    const QString message = QString::fromLatin1(c.message);
    QCOMPARE(t.messages.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(t.messages.shown[0].text, message);
        QCOMPARE(t.messages.shown[0].title, QStringLiteral("Kesto32 error"));
        QCOMPARE(t.messages.shown[0].icon, Icon::Exclamation);
    }
    QCOMPARE(t.lifetime.ended, c.ended);
    if (c.ended)
        QCOMPARE(t.lifetime.status, int(ExitInvalidJob));
    QVERIFY(!QFile::exists(t.appDir() + "/text.tmp"));
}

void ValidationTest::sizeDisplayText_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "1 Max file";
    QTest::newRow("1") << 1 << ".5 M";
    QTest::newRow("2") << 2 << "1. M";
    QTest::newRow("3") << 3 << "1.44 M";
    QTest::newRow("4") << 4 << "2. M";
    QTest::newRow("5") << 5 << "2.5 M";
    QTest::newRow("21") << 21 << "10.5 M";
    QTest::newRow("199") << 199 << "99.5 M";
    QTest::newRow("200") << 200 << "100. M";
}

void ValidationTest::sizeDisplayText()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QCOMPARE(SizeDisplayText(position), text);
}

void ValidationTest::sizeSelectorChange()
{
    TestSession t;
    t.session.job.VolumeSizeSetting = 7;
    VScroll1_Change(t.session);
    QCOMPARE(t.window.sizeDisplayText, QStringLiteral("3.5 M"));
}

void ValidationTest::freeSpaceMB_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("megabytes");
    QTest::newRow("nothing") << 0LL << 0LL;
    QTest::newRow("unreadable reads as nothing") << -1LL << 0LL;
    QTest::newRow("half of one, to even 0") << 500'000LL << 0LL;
    QTest::newRow("just above half") << 500'001LL << 1LL;
    QTest::newRow("1.5 to even 2") << 1'500'000LL << 2LL;
    QTest::newRow("2.5 to even 2") << 2'500'000LL << 2LL;
    QTest::newRow("3.5 to even 4") << 3'500'000LL << 4LL;
    QTest::newRow("just below 1500") << 1'499'999'999LL << 1500LL;
    QTest::newRow("700 M") << 700'000'000LL << 700LL;
    QTest::newRow("beyond 32 bits") << 2'147'483'648LL << 2147LL;
    QTest::newRow("beyond 4 GiB") << 8'589'934'592LL << 8590LL;
    QTest::newRow("large, half to even") << 5'000'000'500'000LL << 5'000'000LL;
}

void ValidationTest::freeSpaceMB()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, megabytes);
    QCOMPARE(FreeSpaceMB(bytes), megabytes);
}

void ValidationTest::chooseZipDir()
{
    TestSession t;
    const QString chosen = at(t, "Zips");
    t.disks.freeByPrefix.insert(chosen, 700'000'000);
    t.dialogs.answers << chosen;

    ChooseZipDir(t.session);

    QCOMPARE(t.dialogs.calls.size(), 1);
    QCOMPARE(t.dialogs.calls[0].kind, QStringLiteral("folder"));
    QCOMPARE(t.dialogs.calls[0].setup.title, QStringLiteral("Directory for zip's"));
    QCOMPARE(t.dialogs.calls[0].setup.startDir, QString());
    QCOMPARE(t.session.job.ZipDir, chosen);
    QCOMPARE(t.window.zipFreeText, QStringLiteral("Free space  700 M"));
    QVERIFY(t.window.jobChanges > 0);
}

void ValidationTest::chooseZipDirCancelled()
{
    TestSession t;
    t.session.job.ZipDir = "/keep";
    t.window.zipFreeText = "Free space: ";
    ChooseZipDir(t.session);
    QCOMPARE(t.dialogs.calls.size(), 1);
    QCOMPARE(t.session.job.ZipDir, QStringLiteral("/keep"));
    QCOMPARE(t.window.zipFreeText, QStringLiteral("Free space: "));
    QCOMPARE(t.window.jobChanges, 0);
}

void ValidationTest::zipFreeSpaceWithoutDirectory()
{
    TestSession t;
    t.disks.freeByPrefix.insert(QDir::currentPath(), 3'500'000);
    ShowZipFreeSpace(t.session);
    QCOMPARE(t.window.zipFreeText, QStringLiteral("Free space  4 M"));
}

QTEST_GUILESS_MAIN(ValidationTest)
#include "test_validation.moc"
