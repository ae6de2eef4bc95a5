#include "engine/script_commands.h"
#include "job/script.h"
#include "support/fakes.h"
#include "system/textlines.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <functional>

Q_DECLARE_METATYPE(kesto::JobSettings)

using namespace kesto;
using namespace kesto::test;

namespace {

const QString ScriptError = QStringLiteral("Error in Kesto script");
const QDateTime FullSavedAt(QDate(2003, 1, 2), QTime(14, 5, 9));

// Every field away from its start value: three skip entries, a greyed check box, checked boxes.
JobSettings fullJob()
{
    JobSettings job;
    job.SourcePath = QStringLiteral("/home/ann/Quelle mit Blanks");
    job.SkipList = QStringLiteral("/home/ann/Quelle mit Blanks/alt/*.*\r\n"
                                  "/home/ann/Quelle mit Blanks/M\u00fcll.txt\r\n"
                                  "/home/ann/Quelle mit Blanks/tmp/*.*\r\n");
    job.DizPath = QStringLiteral("/home/ann/file_id.diz");
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizColumn = QStringLiteral("12");
    job.DizLine = QStringLiteral("3");
    job.NfoPath = QStringLiteral("/home/ann/info.nfo");
    job.NfoFirstOnly = 2;
    job.ExtraIsFile = true;
    job.ExtraIsDirectory = false;
    job.ExtraPath = QStringLiteral("/home/ann/readme.txt");
    job.ZipDir = QStringLiteral("/home/ann/out");
    job.ZipName = QStringLiteral("tool");
    job.VolumeSizeSetting = 0;
    job.RarSolid = Checked;
    job.ZipExtraCompression = Checked;
    return job;
}

// What the pages held before a load: unlike fullJob() in every field.
JobSettings oldJob()
{
    JobSettings job;
    job.SourcePath = QStringLiteral("/old/src");
    job.SkipList = QStringLiteral("/old/src/keep/*.*\r\n");
    job.DizPath = QStringLiteral("/old/file_id.diz");
    job.DizColumn = QStringLiteral("7");
    job.DizLine = QStringLiteral("8");
    job.NfoPath = QStringLiteral("/old/old.nfo");
    job.NfoFirstOnly = 1;
    job.ExtraIsDirectory = true;
    job.ExtraPath = QStringLiteral("/old/extra");
    job.ZipDir = QStringLiteral("/old/out");
    job.ZipName = QStringLiteral("old");
    job.VolumeSizeSetting = 9;
    return job;
}

// The fields of fullJob() in script order; a load that stops early has taken only the first few.
void takeFields(JobSettings &job, int count)
{
    const JobSettings loaded = fullJob();
    const std::function<void()> steps[] = {
        [&] { job.SourcePath = loaded.SourcePath; },
        [&] { job.SkipList += loaded.SkipList; },
        [&] { job.DizPath = loaded.DizPath; },
        [&] {
            job.DizAutoNumber = loaded.DizAutoNumber;
            job.DizNoneSelected = loaded.DizNoneSelected;
        },
        [&] { job.DizColumn = loaded.DizColumn; },
        [&] { job.DizLine = loaded.DizLine; },
        [&] { job.NfoPath = loaded.NfoPath; },
        [&] { job.NfoFirstOnly = loaded.NfoFirstOnly; },
        [&] {
            job.ExtraIsFile = loaded.ExtraIsFile;
            job.ExtraIsDirectory = loaded.ExtraIsDirectory;
        },
        [&] { job.ExtraPath = loaded.ExtraPath; },
        [&] { job.ZipDir = loaded.ZipDir; },
        [&] { job.ZipName = loaded.ZipName; },
        [&] { job.VolumeSizeSetting = loaded.VolumeSizeSetting; },
        [&] { job.RarSolid = loaded.RarSolid; },
        [&] { job.ZipExtraCompression = loaded.ZipExtraCompression; },
    };
    for (int i = 0; i < count; ++i)
        steps[i]();
}
constexpr int AllFields = 15;

QList<QByteArray> fullLines()
{
    QList<QByteArray> lines = ScriptText(fullJob(), FullSavedAt).split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines, const QByteArray &end = crlf)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + end;
    return text;
}

// Line numbers of fullJob()'s script.
enum ScriptLine {
    SkipEntry2At = 5,
    SkipEndAt = 7,
    DizAt = 8,
    AutoNAt,
    ColAt,
    LinAt,
    NfoAt,
    FirstOnlyAt,
    FileAt,
    ExtraPathAt,
    ZipAt,
    NameAt,
    SizeAt,
    SolidAt,
    ZipExtraAt
};

// fullJob()'s script with some lines replaced (1-based numbers).
QByteArray withLines(const QList<std::pair<int, QByteArray>> &replacements)
{
    QList<QByteArray> lines = fullLines();
    for (const auto &[number, text] : replacements)
        lines[number - 1] = text;
    return joined(lines);
}

QByteArray withLine(int number, const QByteArray &text)
{
    return withLines({{number, text}});
}

QByteArray firstLines(int count)
{
    return joined(fullLines().mid(0, count));
}

using JobChange = std::function<void(JobSettings &)>;

struct LoadCase {
    const char *name;
    std::optional<QByteArray> script; // none: no file
    bool loads;
    int fieldsTaken;
    JobChange before = {}; // on oldJob()
    JobChange after = {};  // on the expectation, beyond the fields taken
};

QList<LoadCase> makeLoadCases()
{
    const QByteArray full = ScriptText(fullJob(), FullSavedAt);
    QByteArray noLastEnd = full;
    noLastEnd.chop(2);
    const QByteArray megabyte(1 << 20, 'x');
    const QByteArray megabyteOfDigits(1 << 20, '9');
    const QByteArray megabyteOfZeros(1 << 20, '0');
    const QByteArray withNul("a\0b", 3);
    const auto source = [](QString path) {
        return [path](JobSettings &job) { job.SourcePath = path; };
    };
    const auto size = [](qint16 setting) {
        return [setting](JobSettings &job) { job.VolumeSizeSetting = setting; };
    };
    const auto firstOnly = [](qint16 state) {
        return [state](JobSettings &job) { job.NfoFirstOnly = state; };
    };
    const auto solid = [](qint16 state) {
        return [state](JobSettings &job) { job.RarSolid = state; };
    };
    const auto extraKind = [](bool isFile, bool isDirectory) {
        return [isFile, isDirectory](JobSettings &job) {
            job.ExtraIsFile = isFile;
            job.ExtraIsDirectory = isDirectory;
        };
    };

    return {
        {"complete", full, true, AllFields},
        {"LF line ends", QByteArray(full).replace("\r\n", "\n"), true, AllFields},
        {"CR line ends", QByteArray(full).replace("\r\n", "\r"), true, AllFields},
        {"no end after the last line", noLastEnd, true, AllFields},
        {"lines after the last are ignored", full + "Extra: nonsense\r\n", true, AllFields},
        {"misspelt keys",
         withLines({{1, "Kesto32 skript - whenever"},
                    {2, "Sorce:  /home/ann/Quelle mit Blanks"},
                    {3, "Skipped everything below"},
                    {DizAt, "Dis: /home/ann/file_id.diz"},
                    {AutoNAt, "Auto : True"},
                    {ColAt, "Cul: 12"},
                    {LinAt, "Lim: 3"},
                    {NfoAt, "Info:/home/ann/info.nfo"},
                    {FirstOnlyAt, "_1th: 2"},
                    {FileAt, "_Fiel:True"},
                    {ExtraPathAt, " Extar:/home/ann/readme.txt"},
                    {ZipAt, "Zap: /home/ann/out"},
                    {NameAt, " nmae:tool"},
                    {SizeAt, " Szie: 0"},
                    {SolidAt, " Sloid:-1"},
                    {ZipExtraAt, " Exrta:-1"}}),
         true, AllFields},

        {"missing file", std::nullopt, false, 0},
        {"empty file", QByteArray(), false, 0},
        {"header only", firstLines(1), false, 0},
        {"cut inside the skip section",
         firstLines(SkipEntry2At),
         false,
         1,
         {},
         [](JobSettings &job) {
             job.SkipList += QStringLiteral("/home/ann/Quelle mit Blanks/alt/*.*\r\n"
                                            "/home/ann/Quelle mit Blanks/M\u00fcll.txt\r\n");
         }},
        {"cut right after the skip section", firstLines(SkipEndAt), false, 2},
        {"cut before the last line", firstLines(SolidAt), false, AllFields - 1},

        {"AutoN word", withLine(AutoNAt, "AutoN: Maybe"), false, 3},
        {"AutoN empty", withLine(AutoNAt, "AutoN: "), false, 3},
        {"AutoN number and text", withLine(AutoNAt, "AutoN: 1x"), false, 3},
        {"AutoN NUL", withLine(AutoNAt, QByteArray("AutoN: Tr\0ue", 12)), false, 3},
        {"AutoN any letter case", withLine(AutoNAt, "AutoN: tRUE"), true, AllFields},
        {"AutoN -1", withLine(AutoNAt, "AutoN: -1"), true, AllFields},
        {"AutoN false keeps None", withLine(AutoNAt, "AutoN: FALSE"), true, AllFields,
         [](JobSettings &job) {
             job.DizAutoNumber = true;
             job.DizNoneSelected = false;
         },
         [](JobSettings &job) {
             job.DizAutoNumber = false;
             job.DizNoneSelected = false;
         }},
        {"AutoN 0",
         withLine(AutoNAt, "AutoN: 0"),
         true,
         AllFields,
         {},
         [](JobSettings &job) {
             job.DizAutoNumber = false;
             job.DizNoneSelected = true;
         }},

        {"File False selects the directory", withLine(FileAt, " File:False"), true, AllFields,
         extraKind(true, false), extraKind(false, true)},
        {"File false only clears File", withLine(FileAt, " File:false"), true, AllFields,
         extraKind(true, false), extraKind(false, false)},
        {"File 0 only clears File", withLine(FileAt, " File:0"), true, AllFields,
         extraKind(true, false), extraKind(false, false)},
        {"File -1", withLine(FileAt, " File:-1"), true, AllFields, extraKind(false, true),
         extraKind(true, false)},
        {"File word", withLine(FileAt, " File:Yes"), false, 8},

        {"1st 1", withLine(FirstOnlyAt, " 1st: 1"), true, AllFields, {}, firstOnly(1)},
        {"1st 3", withLine(FirstOnlyAt, " 1st: 3"), false, 7},
        {"1st -1", withLine(FirstOnlyAt, " 1st:-1"), false, 7},
        {"1st 2.5 to even", withLine(FirstOnlyAt, " 1st: 2.5"), true, AllFields, {}, firstOnly(2)},
        {"1st 1.5 to even", withLine(FirstOnlyAt, " 1st: 1.5"), true, AllFields, {}, firstOnly(2)},
        {"1st empty", withLine(FirstOnlyAt, " 1st:"), true, AllFields, {}, firstOnly(0)},

        {"Size 200", withLine(SizeAt, " Size: 200"), true, AllFields, {}, size(200)},
        {"Size 201", withLine(SizeAt, " Size: 201"), false, 12},
        {"Size -1", withLine(SizeAt, " Size: -1"), false, 12},
        // The value starts after the sign's place.
        {"Size sign before the value", withLine(SizeAt, " Size:-1"), true, AllFields, {}, size(1)},
        {"Size 2.5", withLine(SizeAt, " Size: 2.5"), true, AllFields, {}, size(2)},
        {"Size 3.5", withLine(SizeAt, " Size: 3.5"), true, AllFields, {}, size(4)},
        {"Size above the half", withLine(SizeAt, " Size: 2.5000001"), true, AllFields, {}, size(3)},
        {"Size -0.4", withLine(SizeAt, " Size: -0.4"), true, AllFields, {}, size(0)},
        {"Size blanks and plus", withLine(SizeAt, " Size:   +7"), true, AllFields, {}, size(7)},
        {"Size trailing text", withLine(SizeAt, " Size: 12 M"), true, AllFields, {}, size(12)},
        {"Size leading zeros",
         withLine(SizeAt, " Size: 000000000042"),
         true,
         AllFields,
         {},
         size(42)},
        {"Size text", withLine(SizeAt, " Size: big"), true, AllFields, {}, size(0)},
        {"Size empty", withLine(SizeAt, " Size:"), true, AllFields, {}, size(0)},
        {"Size 70000", withLine(SizeAt, " Size: 70000"), false, 12},
        {"Size huge", withLine(SizeAt, " Size: 99999999999999999999999"), false, 12},
        {"Size a megabyte of digits", withLine(SizeAt, " Size: " + megabyteOfDigits), false, 12},

        {"Solid 1 by hand", withLine(SolidAt, " Solid: 1"), true, AllFields, {}, solid(Checked)},
        {"Solid 0", withLine(SolidAt, " Solid: 0"), true, AllFields, {}, solid(Unchecked)},
        {"Solid 0.5", withLine(SolidAt, " Solid: 0.5"), true, AllFields, {}, solid(Checked)},
        {"Solid text", withLine(SolidAt, " Solid:yes"), true, AllFields, {}, solid(Unchecked)},
        {"Solid huge",
         withLine(SolidAt, " Solid: 99999999999999999999999"),
         true,
         AllFields,
         {},
         solid(Checked)},
        {"Solid a megabyte of zeros",
         withLine(SolidAt, " Solid:" + megabyteOfZeros),
         true,
         AllFields,
         {},
         solid(Unchecked)},
        {"Solid a megabyte of zeros then 1",
         withLine(SolidAt, " Solid:" + megabyteOfZeros + "1"),
         true,
         AllFields,
         {},
         solid(Checked)},
        {"last Extra 5",
         withLine(ZipExtraAt, " Extra: 5"),
         true,
         AllFields,
         {},
         [](JobSettings &job) { job.ZipExtraCompression = Checked; }},
        {"last Extra empty",
         withLine(ZipExtraAt, " Extra:"),
         true,
         AllFields,
         {},
         [](JobSettings &job) { job.ZipExtraCompression = Unchecked; }},

        {"NUL in a path",
         withLine(2, "Source: " + withNul),
         true,
         AllFields,
         {},
         source(QString::fromLatin1(withNul))},
        {"a megabyte line",
         withLine(2, "Source: " + megabyte),
         true,
         AllFields,
         {},
         source(QString::fromLatin1(megabyte))},
        {"line shorter than the value position",
         withLine(DizAt, "Diz"),
         true,
         AllFields,
         {},
         [](JobSettings &job) { job.DizPath.clear(); }},
        {"blanks in values are kept",
         withLine(NameAt, " name: tool "),
         true,
         AllFields,
         {},
         [](JobSettings &job) { job.ZipName = QStringLiteral(" tool "); }},
    };
}

const QList<LoadCase> &loadCases()
{
    static const QList<LoadCase> cases = makeLoadCases();
    return cases;
}

void compareJobs(const JobSettings &actual, const JobSettings &expected)
{
    QCOMPARE(actual.SourcePath, expected.SourcePath);
    QCOMPARE(actual.SkipList, expected.SkipList);
    QCOMPARE(actual.DizPath, expected.DizPath);
    QCOMPARE(actual.DizAutoNumber, expected.DizAutoNumber);
    QCOMPARE(actual.DizNoneSelected, expected.DizNoneSelected);
    QCOMPARE(actual.DizColumn, expected.DizColumn);
    QCOMPARE(actual.DizLine, expected.DizLine);
    QCOMPARE(actual.NfoPath, expected.NfoPath);
    QCOMPARE(actual.NfoFirstOnly, expected.NfoFirstOnly);
    QCOMPARE(actual.ExtraIsFile, expected.ExtraIsFile);
    QCOMPARE(actual.ExtraIsDirectory, expected.ExtraIsDirectory);
    QCOMPARE(actual.ExtraPath, expected.ExtraPath);
    QCOMPARE(actual.ZipDir, expected.ZipDir);
    QCOMPARE(actual.ZipName, expected.ZipName);
    QCOMPARE(actual.VolumeSizeSetting, expected.VolumeSizeSetting);
    QCOMPARE(actual.RarSolid, expected.RarSolid);
    QCOMPARE(actual.ZipExtraCompression, expected.ZipExtraCompression);
    QVERIFY(actual == expected);
}

QByteArray dataFile(const char *name)
{
    return readAll(QStringLiteral(KESTO_TEST_DATA "/scripts/") + QLatin1String(name));
}

void checkScriptDialog(const FakeDialogs &dialogs, const char *kind, const char *title,
                       const QString &appDir)
{
    QCOMPARE(dialogs.calls.size(), 1);
    const DialogCall &call = dialogs.calls.first();
    QCOMPARE(call.kind, QLatin1String(kind));
    QCOMPARE(call.setup.title, QLatin1String(title));
    QCOMPARE(call.setup.filter, QStringLiteral("Script (*.kst)|*.kst|"));
    QCOMPARE(call.setup.initialName, QStringLiteral("*.kst"));
    QCOMPARE(call.setup.startDir, appDir);
}

} // namespace

class ScriptTest : public QObject {
    Q_OBJECT

private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void savedJobLoadsBack_data();
    void savedJobLoadsBack();
    void loads_data();
    void loads();
    void saveWritesFileAndTitle_data();
    void saveWritesFileAndTitle();
    void saveCancelled_data();
    void saveCancelled();
    void saveFailureIsSilent();
    void openLoadsChosenScript();
    void openCancelled_data();
    void openCancelled();
    void openPathWithoutSeparator();
    void scriptFileName_data();
    void scriptFileName();
};

void ScriptTest::writesExactBytes_data()
{
    QTest::addColumn<JobSettings>("job");
    QTest::addColumn<QDateTime>("savedAt");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("every field") << fullJob() << FullSavedAt << dataFile("full.kst");
    QTest::newRow("start-up job") << JobSettings()
                                  << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                  << dataFile("startup.kst");
}

void ScriptTest::writesExactBytes()
{
    QFETCH(JobSettings, job);
    QFETCH(QDateTime, savedAt);
    QFETCH(QByteArray, expected);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ScriptText(job, savedAt), expected);
}

void ScriptTest::savedJobLoadsBack_data()
{
    QTest::addColumn<JobSettings>("job");
    QTest::addColumn<JobSettings>("expected");
    JobSettings directoryExtra = fullJob();
    directoryExtra.ExtraIsFile = false;
    directoryExtra.ExtraIsDirectory = true;
    JobSettings noAutoNumber = fullJob();
    noAutoNumber.DizAutoNumber = false;
    noAutoNumber.DizNoneSelected = true;
    JobSettings loadedStartup;
    loadedStartup.ExtraIsDirectory = true;

    QTest::newRow("every field") << fullJob() << fullJob();
    QTest::newRow("directory extra") << directoryExtra << directoryExtra;
    QTest::newRow("no auto-number") << noAutoNumber << noAutoNumber;
    QTest::newRow("start-up job selects the directory") << JobSettings() << loadedStartup;
}

void ScriptTest::savedJobLoadsBack()
{
    QFETCH(JobSettings, job);
    QFETCH(JobSettings, expected);
    TestSession saving;
    saving.session.job = job;
    const QString path = saving.path(QStringLiteral("jobs/saved.kst"));
    saving.dialogs.answers << path;
    SaveScript(saving.session);

    TestSession loading;
    loading.session.state.ScriptPath = path;
    QVERIFY(LoadScript(loading.session));
    compareJobs(loading.session.job, expected);
    QVERIFY(loading.messages.shown.isEmpty());
}

void ScriptTest::loads_data()
{
    QTest::addColumn<int>("caseIndex");
    QTest::addColumn<bool>("batch");
    const QList<LoadCase> &cases = loadCases();
    for (int i = 0; i < cases.size(); ++i) {
        QTest::addRow("%s", cases[i].name) << i << false;
        QTest::addRow("%s, batch", cases[i].name) << i << true;
    }
}

void ScriptTest::loads()
{
    QFETCH(int, caseIndex);
    QFETCH(bool, batch);
    const LoadCase &testCase = loadCases().at(caseIndex);

    TestSession test;
    JobSettings before = oldJob();
    if (testCase.before)
        testCase.before(before);
    test.session.job = before;
    test.session.state.BatchRun = batch;
    test.session.state.ScriptPath =
        testCase.script ? test.writeFile(QStringLiteral("job.kst"), *testCase.script)
                        : test.path(QStringLiteral("absent.kst"));

    QCOMPARE(LoadScript(test.session), testCase.loads);

    JobSettings expected = before;
    takeFields(expected, testCase.fieldsTaken);
    if (testCase.after)
        testCase.after(expected);
    compareJobs(test.session.job, expected);
    QVERIFY(test.window.jobChanges > 0);
    if (testCase.loads || batch) {
        QVERIFY(test.messages.shown.isEmpty());
    } else {
        QCOMPARE(test.messages.shown.size(), 1);
        const ShownMessage &shown = test.messages.shown.first();
        QCOMPARE(shown.text, ScriptError);
        QCOMPARE(shown.title, QStringLiteral("Kesto32 error"));
        QVERIFY(shown.icon == Icon::Stop);
        QVERIFY(shown.buttons == Buttons::Ok);
    }
}

void ScriptTest::saveWritesFileAndTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << QStringLiteral("job.kst");
    QTest::newRow("capitals kept") << QStringLiteral("My Job.KST");
}

void ScriptTest::saveWritesFileAndTitle()
{
    QFETCH(QString, name);
    TestSession test;
    test.session.job = fullJob();
    // An existing, longer file is replaced as a whole.
    const QString path = test.writeFile(name, QByteArray(4096, 'z'));
    test.dialogs.answers << path;

    SaveScript(test.session);

    checkScriptDialog(test.dialogs, "save", "Save script", test.appDir());
    QCOMPARE(test.session.state.ScriptPath, path);
    QCOMPARE(test.window.windowTitle, QStringLiteral("Kesto32 - ") + name);
    const QByteArray written = readAll(path);
    const qsizetype headerEnd = written.indexOf(crlf) + 2;
    QVERIFY(QRegularExpression(
                QStringLiteral(R"(^Kesto32 script - \d\d-\d\d-\d{4}  \d\d:\d\d:\d\d\r\n$)"))
                .match(QString::fromLatin1(written.left(headerEnd)))
                .hasMatch());
    const QByteArray expected = dataFile("full.kst");
    QCOMPARE(written.mid(headerEnd), expected.mid(expected.indexOf(crlf) + 2));
    QVERIFY(test.messages.shown.isEmpty());
}

void ScriptTest::saveCancelled_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("cancel") << QString();
    QTest::newRow("empty name") << QStringLiteral("");
}

void ScriptTest::saveCancelled()
{
    QFETCH(QString, answer);
    TestSession test;
    test.session.state.ScriptPath = QStringLiteral("/earlier/job.kst");
    test.dialogs.answers << answer;

    SaveScript(test.session);

    QCOMPARE(test.dialogs.calls.size(), 1);
    QCOMPARE(test.session.state.ScriptPath, QStringLiteral("/earlier/job.kst"));
    QVERIFY(test.window.windowTitle.isEmpty());
    QVERIFY(QDir(test.appDir()).isEmpty());
    QVERIFY(test.messages.shown.isEmpty());
}

void ScriptTest::saveFailureIsSilent()
{
    TestSession test;
    const QString path = test.root.filePath(QStringLiteral("no such dir/job.kst"));
    test.dialogs.answers << path;

    SaveScript(test.session);

    QCOMPARE(test.session.state.ScriptPath, path);
    QVERIFY(!QFile::exists(path));
    QVERIFY(test.window.windowTitle.isEmpty());
    QVERIFY(test.messages.shown.isEmpty());
}

void ScriptTest::openLoadsChosenScript()
{
    TestSession test;
    test.session.job.SkipList = QStringLiteral("/stale/entry/*.*\r\n");
    test.session.state.JobValid = true;
    const QString path =
        test.writeFile(QStringLiteral("Scripts/Full Job.KST"), dataFile("full.kst"));
    test.dialogs.answers << path;

    OpenScriptCommand(test.session);

    checkScriptDialog(test.dialogs, "open", "Open script", test.appDir());
    QCOMPARE(test.session.state.ScriptPath, path);
    // The loaded job is validated: its source does not exist here, so the source and the skip
    // list are cleared and the Source page is shown; every other field stays as loaded.
    JobSettings expected = fullJob();
    expected.SourcePath.clear();
    expected.SkipList.clear();
    compareJobs(test.session.job, expected);
    QVERIFY(!test.session.state.JobValid);
    QCOMPARE(pageName(*test.window.page), QStringLiteral("Source"));
    QCOMPARE(test.window.windowTitle, QStringLiteral("Kesto32 - Full Job.KST"));
    QVERIFY(test.window.jobChanges > 0);
    QVERIFY(test.messages.shown.isEmpty());
}

void ScriptTest::openCancelled_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("cancel") << QString();
    QTest::newRow("empty name") << QStringLiteral("");
}

void ScriptTest::openCancelled()
{
    QFETCH(QString, answer);
    TestSession test;
    JobSettings job = oldJob();
    test.session.job = job;
    test.session.state.JobValid = true;
    test.session.state.ScriptPath = QStringLiteral("/earlier/job.kst");
    test.dialogs.answers << answer;

    OpenScriptCommand(test.session);

    checkScriptDialog(test.dialogs, "open", "Open script", test.appDir());
    QVERIFY(!test.session.state.JobValid);
    job.SkipList.clear();
    compareJobs(test.session.job, job);
    QCOMPARE(test.session.state.ScriptPath, QStringLiteral("/earlier/job.kst"));
    QVERIFY(test.window.windowTitle.isEmpty());
    QVERIFY(test.messages.shown.isEmpty());
}

void ScriptTest::openPathWithoutSeparator()
{
    TestSession test;
    test.dialogs.answers << QStringLiteral("kesto-no-such-script.kst");

    OpenScriptCommand(test.session);

    QCOMPARE(test.session.state.ScriptPath, QStringLiteral("kesto-no-such-script.kst"));
    QCOMPARE(test.window.windowTitle, QStringLiteral("Kesto32 - "));
    QCOMPARE(test.messages.shown.size(), 1);
    QCOMPARE(test.messages.shown.first().text, ScriptError);
}

void ScriptTest::scriptFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute") << QStringLiteral("/home/ann/jobs/tool.kst")
                              << QStringLiteral("tool.kst");
    QTest::newRow("blanks") << QStringLiteral("/a b/my job.kst") << QStringLiteral("my job.kst");
    QTest::newRow("no separator") << QStringLiteral("tool.kst") << QString();
    QTest::newRow("trailing separator") << QStringLiteral("/home/ann/") << QString();
    QTest::newRow("root file") << QStringLiteral("/tool.kst") << QStringLiteral("tool.kst");
    QTest::newRow("empty") << QString() << QString();
}

void ScriptTest::scriptFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(ScriptFileName(path), expected);
}

QTEST_GUILESS_MAIN(ScriptTest)
#include "test_script.moc"
