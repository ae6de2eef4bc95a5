// Whole runs through the engine with the real archiver (wrar over 7-Zip) and libzip, checked
// with unzip and 7zz as a recipient would.
#include "engine/packaging_run.h"
#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/command_runner.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

const QByteArray Description = "Sample release\r\nDisk xxx/xxx of the set\r\nEnd\r\n";

struct Tree {
    QString source;
};

// About 1.2 MB that does not compress, so 500,000-byte volumes make three.
void makeSource(TestSession &t)
{
    t.writeFile(QStringLiteral("src/read me.txt"), "Read me first.\n");
    t.writeFile(QStringLiteral("src/data/noise.bin"), randomBytes(1'200'000, 7));
    t.writeFile(QStringLiteral("src/data/deeper/notes.txt"), QByteArray(20'000, 'n'));
    t.writeFile(QStringLiteral("src/scratch/skip-me.tmp"), "never shipped");
}

void makeJob(TestSession &t, int position)
{
    makeSource(t);
    JobSettings &job = t.session.job;
    job.SourcePath = t.path(QStringLiteral("src"));
    job.SkipList = t.path(QStringLiteral("src/scratch")) + QStringLiteral("/*.*\r\n");
    job.DizPath = t.writeFile(QStringLiteral("in/file_id.diz"), Description);
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizLine = QStringLiteral("2");
    job.DizColumn = QStringLiteral("6");
    job.NfoPath = t.writeFile(QStringLiteral("in/release.nfo"), "Release notes\r\n");
    job.NfoFirstOnly = 1;
    job.ExtraIsDirectory = true;
    t.writeFile(QStringLiteral("extra/one.txt"), "one");
    t.writeFile(QStringLiteral("extra/two"), "two");
    job.ExtraPath = t.path(QStringLiteral("extra"));
    job.ZipDir = t.path(QStringLiteral("out"));
    QDir().mkpath(job.ZipDir);
    job.ZipName = QStringLiteral("tool");
    job.VolumeSizeSetting = qint16(position);
}

bool run(const QString &program, const QStringList &arguments, const QString &workDir = {})
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    return process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

// Relative path -> bytes of every file below dir.
QMap<QString, QByteArray> treeOf(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), readAll(path));
    }
    return files;
}

} // namespace

class PackagingEndToEndTest : public QObject {
    Q_OBJECT

    SystemCommandRunner runner_;

    void useRealArchiver(TestSession &t) { t.session.svc.runner = &runner_; }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("7zz")).isEmpty())
            QSKIP("7zz is not installed");
    }

    void threeVolumeSeries()
    {
        TestSession t;
        useRealArchiver(t);
        makeJob(t, 1);

        kesto_Click(t.session);

        QVERIFY(!t.lifetime.ended);
        QCOMPARE(t.window.statusText, QStringLiteral("Kesting complete"));
        QCOMPARE(t.window.volumeText, QStringLiteral(" 3 of 3"));
        QVERIFY(t.window.archiveText.isEmpty());
        QVERIFY(!QFileInfo::exists(t.session.state.WorkDir));
        QCOMPARE(t.session.state.VolumeCount, qint16(0));
        QCOMPARE(t.sound.played, QStringList{t.appDir() + QStringLiteral("/kst.wav")});

        const QString out = t.session.job.ZipDir;
        QCOMPARE(entriesOf(out),
                 (QStringList{"tool001.zip", "tool002.zip", "tool003.zip"}));
        const QString unpacked = t.path(QStringLiteral("unpacked"));
        QDir().mkpath(unpacked);
        for (int volume = 1; volume <= 3; ++volume) {
            const QString archive = out + QStringLiteral("/tool00%1.zip").arg(volume);
            QVERIFY2(unzipTests(archive), qPrintable(archive));
            QStringList expected{QStringLiteral("tool.00%1").arg(volume), "file_id.diz", "one.txt",
                                 "two"};
            if (volume == 1)
                expected << QStringLiteral("release.nfo");
            QStringList names = unzipNames(archive);
            names.sort();
            expected.sort();
            QCOMPARE(names, expected);
            QCOMPARE(unzipContent(archive, QStringLiteral("file_id.diz")),
                     QByteArray("Sample release\r\nDisk 00%1/003 of the set\r\nEnd\r\n")
                         .replace("%1", QByteArray::number(volume)));
            QVERIFY(run(QStringLiteral("unzip"),
                        {QStringLiteral("-q"), archive, QStringLiteral("tool.*"), "-d", unpacked}));
        }
        QCOMPARE(unzipContent(out + QStringLiteral("/tool001.zip"), QStringLiteral("release.nfo")),
                 QByteArray("Release notes\r\n\r\n") + QByteArray(28, ' ')
                     + "Packaged with Kesto32 by ZWT\r\n");
        // Every volume within its size; together they give back the tree less the skipped files.
        for (const QString &volume : entriesOf(unpacked))
            QVERIFY(QFileInfo(unpacked + QLatin1Char('/') + volume).size() <= 500'000);
        QVERIFY(run(QStringLiteral("7zz"), {QStringLiteral("x"), QStringLiteral("-y"),
                                            QStringLiteral("-oextracted"), QStringLiteral("tool.001")},
                    unpacked));
        QMap<QString, QByteArray> expected = treeOf(t.session.job.SourcePath);
        expected.remove(QStringLiteral("scratch/skip-me.tmp"));
        QCOMPARE(treeOf(unpacked + QStringLiteral("/extracted/src")), expected);
    }

    void oneUnlimitedArchive()
    {
        TestSession t;
        useRealArchiver(t);
        makeJob(t, 0);
        t.session.job.NfoFirstOnly = 0;

        kesto_Click(t.session);

        const QString out = t.session.job.ZipDir;
        QCOMPARE(entriesOf(out), QStringList{"tool.zip"});
        QStringList names = unzipNames(out + QStringLiteral("/tool.zip"));
        names.sort();
        QCOMPARE(names, (QStringList{"file_id.diz", "one.txt", "release.nfo", "tool.rar", "two"}));
        QCOMPARE(t.window.volumeText, QStringLiteral(" 1 of 1"));
    }

    void abortDuringSecondArchive()
    {
        TestSession t;
        useRealArchiver(t);
        makeJob(t, 1);
        // The window's Abort, pressed while the second archive is being written.
        t.window.onServe = [&t] {
            if (t.window.archiveText == QLatin1String("tool002.zip"))
                t.zip.AbortRequest = true;
        };

        kesto_Click(t.session);

        QVERIFY(t.messages.shown.isEmpty());
        QVERIFY(!t.lifetime.ended);
        const QString out = t.session.job.ZipDir;
        QVERIFY(unzipTests(out + QStringLiteral("/tool001.zip")));
        const QString second = out + QStringLiteral("/tool002.zip");
        QVERIFY(!QFileInfo::exists(second) || unzipTests(second));
        QVERIFY(!QFileInfo::exists(out + QStringLiteral("/tool003.zip")));
        QCOMPARE(t.window.progressValue, 0);
        QCOMPARE(t.window.archiveText, QStringLiteral("tool002.zip"));
        // The volumes not yet wrapped stay in the work directory.
        QCOMPARE(entriesOf(t.session.state.WorkDir), (QStringList{"tool.002", "tool.003"}));
    }

    void vanishedDescriptionFailsBatchRun()
    {
        TestSession t;
        useRealArchiver(t);
        makeJob(t, 1);
        t.session.job.DizAutoNumber = false;
        t.session.state.BatchRun = true;
        // Gone after the checks: the archiver step removes it as it starts.
        const QString diz = t.session.job.DizPath;
        FakeRunner removing;
        removing.action = [&](const QString &commandLine) {
            QFile::remove(diz);
            runner_.execCmd(commandLine);
        };
        t.session.svc.runner = &removing;

        kesto_Click(t.session);

        QVERIFY(t.lifetime.ended);
        QCOMPARE(t.lifetime.status, int(ExitRunFailed));
        // The first volume's archive was begun; nothing is deleted behind the user's back.
        QVERIFY(unzipTests(t.session.job.ZipDir + QStringLiteral("/tool001.zip")));
        QCOMPARE(entriesOf(t.session.state.WorkDir).size(), 3);
    }
};

QTEST_GUILESS_MAIN(PackagingEndToEndTest)
#include "test_packaging_e2e.moc"
