// The program as a user starts it from a shell or cron: kesto32 '!job.kst' packages the job
// and ends, leaving only the archives behind; a job it cannot run ends it with a status and one
// line on standard error, before anything is written.
#include "engine/run_plan.h"
#include "job/script.h"
#include "support/zip_inspect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString program = QStringLiteral(KESTO_BIN_DIR "/kesto32");

struct Run {
    int status = -1;
    QProcess::ExitStatus exit = QProcess::CrashExit;
    QByteArray standardError;
};

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        root = dir->path();
        for (const char *sub : {"sys", "tmp", "out", "src/docs", "src/scratch"})
            QVERIFY(QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub)));
        write(QStringLiteral("src/docs/data.bin"), randomBytes(700'000, 7));
        write(QStringLiteral("src/readme.txt"), "read me\r\n");
        write(QStringLiteral("src/scratch/junk.txt"), "junk\r\n");
        write(QStringLiteral("file_id.diz"), "My tool\r\nDisk: xxxxxxx\r\n");
        write(QStringLiteral("about.nfo"), "About my tool\r\n");

        job = JobSettings();
        job.SourcePath = root + QStringLiteral("/src");
        job.SkipList = root + QStringLiteral("/src/scratch/*.*\r\n");
        job.DizPath = root + QStringLiteral("/file_id.diz");
        job.DizAutoNumber = true;
        job.DizNoneSelected = false;
        job.DizColumn = QStringLiteral("7");
        job.DizLine = QStringLiteral("2");
        job.NfoPath = root + QStringLiteral("/about.nfo");
        job.ZipDir = root + QStringLiteral("/out");
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 1; // 500,000 bytes: two volumes

        binBefore = entriesOf(QStringLiteral(KESTO_BIN_DIR));
    }

    void cleanup()
    {
        // Whatever happened, the program's own directory holds what it held before.
        QCOMPARE(entriesOf(QStringLiteral(KESTO_BIN_DIR)), binBefore);
    }

    void batchRunPackagesTheJobAndCleansUp_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("run") << "!";
        QTest::newRow("dated run") << "$";
    }
    void batchRunPackagesTheJobAndCleansUp()
    {
        QFETCH(QString, prefix);
        const QDate before = QDate::currentDate();
        const Run run = start(prefix + writeScript());
        const QDate after = QDate::currentDate();
        QCOMPARE(run.exit, QProcess::NormalExit);
        QVERIFY2(run.status == 0, run.standardError.constData());
        QVERIFY2(run.standardError.isEmpty(), run.standardError.constData());

        const QStringList archives = entriesOf(root + QStringLiteral("/out"));
        QString stamp;
        if (prefix == QLatin1String("$")) {
            stamp = DateStamp(before);
            if (!archives.isEmpty() && !archives.first().contains(stamp))
                stamp = DateStamp(after);
        }
        QCOMPARE(archives,
                 (QStringList{QStringLiteral("tool") + stamp + QStringLiteral("001.zip"),
                              QStringLiteral("tool") + stamp + QStringLiteral("002.zip")}));
        const QString first = root + QStringLiteral("/out/") + archives[0];
        QVERIFY(unzipTests(first));
        QCOMPARE(unzipNames(first),
                 (QStringList{QStringLiteral("tool.001"), QStringLiteral("file_id.diz"),
                              QStringLiteral("about.nfo")}));
        QCOMPARE(unzipContent(first, QStringLiteral("file_id.diz")),
                 QByteArray("My tool\r\nDisk: 001/002\r\n"));
        QCOMPARE(unzipContent(root + QStringLiteral("/out/") + archives[1],
                              QStringLiteral("file_id.diz")),
                 QByteArray("My tool\r\nDisk: 002/002\r\n"));

        // The skip file, the size report and the work directory are gone; so are the working
        // copies beside the program (checked in cleanup).
        QCOMPARE(entriesOf(root + QStringLiteral("/sys")), QStringList());
    }

    void jobThatCannotRunEndsBeforeWriting_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("missing script") << "no script" << 1;
        // Qt's own notes (no runtime directory, no window masks) stay off standard error.
        QTest::newRow("missing script, offscreen asked for") << "no script, offscreen" << 1;
        QTest::newRow("source gone") << "source gone" << 1;
        // The start-up's validation tests the description before the run's own checks would.
        QTest::newRow("numbered line beyond the description") << "line too high" << 1;
    }
    void jobThatCannotRunEndsBeforeWriting()
    {
        QFETCH(QString, fault);
        QFETCH(int, status);
        QString script;
        if (fault.startsWith(QLatin1String("no script"))) {
            script = root + QStringLiteral("/missing.kst");
        } else if (fault == QLatin1String("source gone")) {
            job.SourcePath = root + QStringLiteral("/gone");
            script = writeScript();
        } else {
            job.DizLine = QStringLiteral("3");
            script = writeScript();
        }

        const Run run =
            start(QLatin1Char('!') + script, fault.endsWith(QLatin1String("offscreen")));
        QCOMPARE(run.exit, QProcess::NormalExit);
        QCOMPARE(run.status, status);
        const QList<QByteArray> lines = run.standardError.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("kesto32: "), lines[0].constData());
        QCOMPARE(entriesOf(root + QStringLiteral("/out")), QStringList());
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/sys/skip.txt")));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/sys/Kesto001")));
    }

private:
    void write(const QString &relative, const QByteArray &bytes)
    {
        QFile file(root + QLatin1Char('/') + relative);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QString writeScript()
    {
        const QString path = root + QStringLiteral("/job.kst");
        write(QStringLiteral("job.kst"), ScriptText(job, QDateTime::currentDateTime()));
        return path;
    }

    // One run of the program, as from a shell without a display; its own system drive, and
    // its own temporary directory so that no other instance is seen.
    Run start(const QString &argument, bool offscreenAskedFor = false)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KESTO32_SYSTEM_DIR"), root + QStringLiteral("/sys"));
        env.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("QT_LOGGING_RULES"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (offscreenAskedFor) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        }
        process.setProcessEnvironment(env);
        process.setProgram(program);
        process.setArguments({argument});
        process.start();
        Run run;
        if (!process.waitForFinished(120'000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.status = process.exitCode();
        run.exit = process.exitStatus();
        run.standardError = process.readAllStandardError();
        return run;
    }

    std::unique_ptr<QTemporaryDir> dir;
    QString root;
    JobSettings job;
    QStringList binBefore;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
