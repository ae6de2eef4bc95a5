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

#include <csignal>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString program = QStringLiteral(KESTO_BIN_DIR "/kesto32");

// Running, and not a zombie left for a parent to reap.
bool alive(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return !fields.mid(fields.lastIndexOf(')') + 2).startsWith('Z');
}

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
        // Links planted at the fixed files' names: each file is replaced, nothing written through.
        const QStringList fixed{QStringLiteral("skip.txt"), QStringLiteral("size.txt"),
                                QStringLiteral("~kesto.diz")};
        for (const QString &name : fixed) {
            write(QStringLiteral("canary-") + name, "canary");
            QVERIFY(QFile::link(root + QStringLiteral("/canary-") + name,
                                root + QStringLiteral("/sys/") + name));
        }
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
        for (const QString &name : fixed) {
            QFile canary(root + QStringLiteral("/canary-") + name);
            QVERIFY(canary.open(QIODevice::ReadOnly));
            QCOMPARE(canary.readAll(), "canary");
        }
    }

    void jobThatCannotRunEndsBeforeWriting_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("missing script") << "no script" << 1;
        QTest::newRow("source gone") << "source gone" << 1;
        // The start-up's validation tests the description before the run's own checks would.
        QTest::newRow("numbered line beyond the description") << "line too high" << 1;
    }
    void jobThatCannotRunEndsBeforeWriting()
    {
        QFETCH(QString, fault);
        QFETCH(int, status);
        QString script;
        if (fault == QLatin1String("no script")) {
            script = root + QStringLiteral("/missing.kst");
        } else if (fault == QLatin1String("source gone")) {
            job.SourcePath = root + QStringLiteral("/gone");
            script = writeScript();
        } else {
            job.DizLine = QStringLiteral("3");
            script = writeScript();
        }

        const Run run = start(QLatin1Char('!') + script);
        QCOMPARE(run.exit, QProcess::NormalExit);
        QCOMPARE(run.status, status);
        const QList<QByteArray> lines = run.standardError.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("kesto32: "), lines[0].constData());
        QCOMPARE(entriesOf(root + QStringLiteral("/out")), QStringList());
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/sys/skip.txt")));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/sys/Kesto001")));
    }

    // A stop signal ends the whole archiver (7-Zip under wrar included), abandons the add in
    // progress and removes the work directory and the fixed files.
    void signalStopsTheRun_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("inZipStep");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("SIGINT while 7-Zip runs") << SIGINT << false << QByteArray("SIGINT");
        QTest::newRow("SIGHUP while 7-Zip runs") << SIGHUP << false << QByteArray("SIGHUP");
        QTest::newRow("SIGTERM in the zip step") << SIGTERM << true << QByteArray("SIGTERM");
    }
    void signalStopsTheRun()
    {
        QFETCH(int, signal);
        QFETCH(bool, inZipStep);
        QFETCH(QByteArray, line);
        // A 7-Zip that runs until stopped, or one that quickly leaves two big volumes.
        QVERIFY(QDir().mkpath(root + QStringLiteral("/fake")));
        const QString pidFile = root + QStringLiteral("/fake/pid");
        write(QStringLiteral("fake/7zz"),
              "#!/bin/sh\necho $$ > '" + QFile::encodeName(pidFile) + "'\n" +
                  (inZipStep ? QByteArray("for a; do archive=$name; name=$a; done\n"
                                          "head -c 40000000 /dev/urandom > \"$archive.001\"\n"
                                          "head -c 40000000 /dev/urandom > \"$archive.002\"\n")
                             : QByteArray("exec sleep 600\n")));
        QVERIFY(QFile::setPermissions(root + QStringLiteral("/fake/7zz"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QProcess process;
        setUp(process, QLatin1Char('!') + writeScript());
        QProcessEnvironment env = process.processEnvironment();
        env.insert(QStringLiteral("PATH"),
                   root + QStringLiteral("/fake:") + env.value(QStringLiteral("PATH")));
        process.setProcessEnvironment(env);
        process.start();
        const QString firstArchive = root + QStringLiteral("/out/tool001.zip");
        QTRY_VERIFY_WITH_TIMEOUT(inZipStep
                                     ? QFileInfo::exists(firstArchive)
                                     : QFileInfo::exists(pidFile) && QFileInfo(pidFile).size(),
                                 120'000);
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const QString sevenZip = QString::fromLatin1(pid.readAll().trimmed());
        QVERIFY(::kill(static_cast<pid_t>(process.processId()), signal) == 0);
        QVERIFY(process.waitForFinished(120'000));

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signal);
        QCOMPARE(process.readAllStandardError(), "kesto32: job.kst: stopped by " + line + '\n');
        QTRY_VERIFY(!alive(sevenZip));
        QCOMPARE(entriesOf(root + QStringLiteral("/sys")), QStringList());
        // What the zip step left is whole archives, and nothing else.
        for (const QString &name : entriesOf(root + QStringLiteral("/out"))) {
            QVERIFY2(
                QRegularExpression(QStringLiteral("^tool00[12]\\.zip$")).match(name).hasMatch(),
                qPrintable(name));
            QVERIFY(unzipTests(root + QStringLiteral("/out/") + name));
        }
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
    Run start(const QString &argument)
    {
        QProcess process;
        setUp(process, argument);
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

    void setUp(QProcess &process, const QString &argument)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KESTO32_SYSTEM_DIR"), root + QStringLiteral("/sys"));
        env.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("QT_LOGGING_RULES"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.setProgram(program);
        process.setArguments({argument});
    }

    std::unique_ptr<QTemporaryDir> dir;
    QString root;
    JobSettings job;
    QStringList binBefore;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
