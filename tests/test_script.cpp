#include "engine/script_commands.h"
#include "job/script.h"
#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/textlines.h"

#include <QtTest>
#include <functional>

using namespace kesto;
using namespace kesto::test;

namespace {

const QDateTime SavedAt(QDate(2003, 1, 2), QTime(14, 5, 9));

// Every field away from its start value: three skip entries, a greyed check box, checked boxes.
JobSettings fullJob()
{
    return {.SourcePath = "/home/ann/Quelle mit Blanks",
            .SkipList = "/home/ann/Quelle mit Blanks/alt/*.*\r\n"
                        "/home/ann/Quelle mit Blanks/M\u00fcll.txt\r\n"
                        "/home/ann/Quelle mit Blanks/tmp/*.*\r\n",
            .DizPath = "/home/ann/file_id.diz",
            .DizAutoNumber = true,
            .DizNoneSelected = false,
            .DizColumn = "12",
            .DizLine = "3",
            .NfoPath = "/home/ann/info.nfo",
            .NfoFirstOnly = Greyed,
            .ExtraIsFile = true,
            .ExtraPath = "/home/ann/readme.txt",
            .ZipDir = "/home/ann/out",
            .ZipName = "tool",
            .VolumeSizeSetting = 0,
            .RarSolid = Checked,
            .ZipExtraCompression = Checked};
}

// What the pages held before a load: start values, unlike fullJob() in every field, and an entry
// that a load appends to.
JobSettings oldJob()
{
    JobSettings job;
    job.SkipList = "/old/src/keep/*.*\r\n";
    return job;
}

// The fields a load takes from fullJob()'s script, in script order: the first `count` of them
// (the skip entries are appended).
JobSettings partlyLoaded(JobSettings job, int count)
{
    const JobSettings f = fullJob();
    const QString skipBefore = count > 1 ? job.SkipList : QString();
    const auto take = [&](auto... fields) {
        (void)((count-- > 0 && (job.*fields = f.*fields, true)) && ...);
    };
    using J = JobSettings;
    take(&J::SourcePath, &J::SkipList, &J::DizPath, &J::DizAutoNumber, &J::DizNoneSelected,
         &J::DizColumn, &J::DizLine, &J::NfoPath, &J::NfoFirstOnly, &J::ExtraIsFile,
         &J::ExtraIsDirectory, &J::ExtraPath, &J::ZipDir, &J::ZipName, &J::VolumeSizeSetting,
         &J::RarSolid, &J::ZipExtraCompression);
    job.SkipList.prepend(skipBefore);
    return job;
}
constexpr int All = 17;

// Line numbers of fullJob()'s script (1-based).
enum { SkipEntry2At = 5, AutoNAt = 9, FirstOnlyAt = 13, FileAt, SizeAt = 18, SolidAt, ZipExtraAt };

QByteArray dataFile(const char *name)
{
    return readAll(QStringLiteral(KESTO_TEST_DATA "/scripts/") + QLatin1String(name));
}

// The lines of the golden script of fullJob(), without their line ends.
QList<QByteArray> fullLines()
{
    QList<QByteArray> lines = dataFile("full.kst").split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    return lines.join(crlf) + crlf;
}

QByteArray withLine(int number, const QByteArray &text)
{
    QList<QByteArray> lines = fullLines();
    lines[number - 1] = text;
    return joined(lines);
}

using Job = JobSettings;
using JobChange = std::function<void(Job &)>;

struct LoadCase {
    const char *name;
    QByteArray script;
    int fieldsTaken;       // All: the load succeeds
    JobChange after = {};  // on the expectation, beyond the fields taken
    JobChange before = {}; // on oldJob()
};

QList<LoadCase> makeLoadCases()
{
    const QByteArray full = dataFile("full.kst");
    const QByteArray withNul("a\0b", 3);
    const auto size = [](qint16 v) { return JobChange([v](Job &j) { j.VolumeSizeSetting = v; }); };
    const auto solid = [](CheckState v) { return JobChange([v](Job &j) { j.RarSolid = v; }); };
    const auto extraKind = [](bool file, bool dir) {
        return JobChange([=](Job &j) { j.ExtraIsFile = file, j.ExtraIsDirectory = dir; });
    };
    const auto autoNumber = [](bool on, bool none) {
        return JobChange([=](Job &j) { j.DizAutoNumber = on, j.DizNoneSelected = none; });
    };
    return {
        {"complete", full, All},
        {"LF line ends", QByteArray(full).replace("\r\n", "\n"), All},
        {"CR line ends", QByteArray(full).replace("\r\n", "\r"), All},
        {"no end after the last line", full.chopped(2), All},
        {"start-up job selects the directory", dataFile("startup.kst"), All,
         [](Job &j) { j = oldJob(), j.ExtraIsDirectory = true; }},
        {"cut inside the skip section", joined(fullLines().mid(0, SkipEntry2At)), 1,
         [](Job &j) { j.SkipList += fullJob().SkipList.section("\r\n", 0, 1) + "\r\n"; }},
        {"AutoN word", withLine(AutoNAt, "AutoN: Maybe"), 3},
        {"AutoN any letter case", withLine(AutoNAt, "AutoN: tRUE"), All},
        {"AutoN false keeps None off", withLine(AutoNAt, "AutoN: FALSE"), All,
         autoNumber(false, false), autoNumber(true, false)},
        {"AutoN 0 keeps None on", withLine(AutoNAt, "AutoN: 0"), All, autoNumber(false, true)},
        {"File False selects the directory", withLine(FileAt, " File:False"), All,
         extraKind(false, true), extraKind(true, false)},
        {"File false only clears File", withLine(FileAt, " File:false"), All,
         extraKind(false, false), extraKind(true, false)},
        {"1st 3", withLine(FirstOnlyAt, " 1st: 3"), 8},
        {"Size 200", withLine(SizeAt, " Size: 200"), All, size(200)},
        // The value starts after the sign's place.
        {"Size sign before the value", withLine(SizeAt, " Size:-1"), All, size(1)},
        {"Size 2.5 to even", withLine(SizeAt, " Size: 2.5"), All, size(2)},
        {"Size 3.5 to even", withLine(SizeAt, " Size: 3.5"), All, size(4)},
        {"Size above the half", withLine(SizeAt, " Size: 2.5000001"), All, size(3)},
        {"Size text", withLine(SizeAt, " Size: big"), All, size(0)},
        {"Solid 0.5", withLine(SolidAt, " Solid: 0.5"), All, solid(Checked)},
        {"last Extra empty", withLine(ZipExtraAt, " Extra:"), All,
         [](Job &j) { j.ZipExtraCompression = Unchecked; }},
        {"NUL in a path", withLine(2, "Source: " + withNul), All,
         // A relative path is taken against the current directory as the script is read.
         [withNul](Job &j) { j.SourcePath = QDir::current().absoluteFilePath(withNul); }},
        // A byte order mark at a value's start is one of its characters, never dropped.
        {"byte order mark in a path", withLine(2, "Source: \xEF\xBB\xBF/src"), All,
         [](Job &j) {
             j.SourcePath = QDir::current().absoluteFilePath(QChar(0xFEFF) + QString("/src"));
         }},
        {"line shorter than the value position", withLine(8, "Diz"), All,
         [](Job &j) { j.DizPath.clear(); }},
        {"blanks in values are kept", withLine(17, " name: tool "), All,
         [](Job &j) { j.ZipName = " tool "; }},
    };
}

const QList<LoadCase> &loadCases()
{
    static const QList<LoadCase> cases = makeLoadCases();
    return cases;
}

FileDialogSetup scriptDialog(const char *title, const QString &startDir)
{
    return {title, "Script (*.kst)|*.kst|", "*.kst", startDir};
}

QString documentsDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

class ScriptTest : public QObject {
    Q_OBJECT

private slots:
    void writesExactBytes()
    {
        QCOMPARE(ScriptText(fullJob(), SavedAt), dataFile("full.kst"));
        QCOMPARE(ScriptText(JobSettings(), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))),
                 dataFile("startup.kst"));
    }

    void loads_data()
    {
        QTest::addColumn<int>("caseIndex");
        QTest::addColumn<bool>("batch");
        for (int i = 0; i < loadCases().size(); ++i) {
            QTest::addRow("%s", loadCases()[i].name) << i << false;
            QTest::addRow("%s, batch", loadCases()[i].name) << i << true;
        }
    }

    void loads()
    {
        QFETCH(int, caseIndex);
        QFETCH(bool, batch);
        const LoadCase &c = loadCases().at(caseIndex);
        TestSession t;
        JobSettings before = oldJob();
        if (c.before)
            c.before(before);
        t.session.job = before;
        t.session.state.BatchRun = batch;
        t.session.state.ScriptPath = t.writeFile("job.kst", c.script);

        const bool loads = c.fieldsTaken == All;
        QCOMPARE(!LoadScript(t.session), loads);

        JobSettings expected = partlyLoaded(before, c.fieldsTaken);
        if (c.after)
            c.after(expected);
        QCOMPARE(t.session.job, expected);
        QVERIFY(t.window.jobChanges > 0);
        checkMessage(t, loads || batch ? "" : "Error in Kesto script", Icon::Stop);
    }

    // Save replaces an existing, longer file as a whole; Open reads it back and validates it: its
    // source does not exist here, so the source and the skip list are cleared and the Source page
    // is shown. Both title the window with the name as it is, capitals kept. The first save asks
    // in the documents directory; Open asks in the script's directory; a later save asks nothing.
    void saveThenOpen()
    {
        TestSession t;
        t.session.job = fullJob();
        const QString path = t.writeFile("Scripts/My Job.KST", QByteArray(4096, 'z'));
        t.dialogs.answers << path << path;
        SaveScript(t.session);

        checkDialog(t, "save", scriptDialog("Save script", documentsDir()));
        QCOMPARE(t.window.windowTitle, "Kesto32 - My Job.KST");
        const QByteArray written = readAll(path);
        const QByteArray golden = dataFile("full.kst");
        QVERIFY(written.startsWith("Kesto32 script - "));
        QCOMPARE(written.mid(written.indexOf(crlf)), golden.mid(golden.indexOf(crlf)));

        t.dialogs.calls.clear();
        t.window.windowTitle.clear();
        t.session.job = JobSettings();
        t.session.state.JobValid = true;
        OpenScriptCommand(t.session);

        checkDialog(t, "open", scriptDialog("Open script", t.path("Scripts")));
        QCOMPARE(t.session.state.ScriptPath, path);
        JobSettings expected = fullJob();
        expected.SourcePath.clear();
        expected.SkipList.clear();
        QCOMPARE(t.session.job, expected);
        QVERIFY(!t.session.state.JobValid);
        QCOMPARE(pageName(*t.window.page), "Source");
        QCOMPARE(t.window.windowTitle, "Kesto32 - My Job.KST");
        QVERIFY(t.messages.shown.isEmpty());

        t.dialogs.calls.clear();
        t.session.job.ZipName = "again";
        SaveScript(t.session);
        QVERIFY(t.dialogs.calls.isEmpty());
        QVERIFY(readAll(path).contains("\r\n name:again\r\n"));
    }

    // A name typed without an extension is saved as a script.
    void saveNameGetsTheExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("bare name") << "myjob"
                                   << "myjob.kst";
        QTest::newRow("own extension") << "myjob.txt"
                                       << "myjob.txt";
        QTest::newRow("dotted directory") << "v1.2/myjob"
                                          << "v1.2/myjob.kst";
    }
    void saveNameGetsTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        TestSession t;
        t.path(typed); // makes its directory
        t.dialogs.answers << t.root.filePath(typed);
        SaveScript(t.session);
        QCOMPARE(t.session.state.ScriptPath, t.root.filePath(saved));
        QVERIFY(readAll(t.root.filePath(saved)).startsWith("Kesto32 script - "));
    }

    // Cancelled, no name, or (Save as) a file that cannot be made: nothing is written and the
    // job stays as it was, its skip list and validity included.
    void cancelledOrFailed()
    {
        // Open goes on with whatever file it is given: see the test above.
        const QStringList answers{QString(), "", "no such dir/job.kst"};
        for (const bool open : {false, true}) {
            for (const QString &answer : answers.mid(0, open ? 2 : 3)) {
                TestSession t;
                t.session.job = fullJob();
                t.session.state.JobValid = true;
                t.session.state.ScriptPath = "/earlier/job.kst";
                const QString chosen = answer.isEmpty() ? answer : t.root.filePath(answer);
                t.dialogs.answers << chosen;

                open ? OpenScriptCommand(t.session) : SaveScript(t.session, true);

                checkDialog(t, open ? "open" : "save",
                            scriptDialog(open ? "Open script" : "Save script", documentsDir()));
                QCOMPARE(t.session.job, fullJob());
                QVERIFY(t.session.state.JobValid);
                QCOMPARE(t.session.state.ScriptPath,
                         answer.isEmpty() ? "/earlier/job.kst" : chosen);
                QVERIFY(t.window.windowTitle.isEmpty());
                QCOMPARE(entriesOf(t.root.path()), (QStringList{"app", "sys"}));
            }
        }
    }
};

QTEST_GUILESS_MAIN(ScriptTest)
#include "test_script.moc"
