// Batch runs killed at random points while they wrap the volumes: every archive left is a sound
// zip, a stopped run leaves no work directory, and a later run completes the series and leaves
// no temporary file behind. (Full disks and a failing or killed archiver are cases in
// tests/batch.)
#include "job/script.h"
#include "support/numbered_job.h"
#include "support/zip_inspect.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <numeric>
#include <thread>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString program = QStringLiteral(KESTO_BIN_DIR "/kesto32");
constexpr int places = 10, killsPerPlace = 10, volumeCount = 4;

// Stands in for 7-Zip: copies the prepared volumes where the archiver's first volume goes.
const QByteArray fakeSevenZip = R"(#!/bin/sh
while [ "$1" != "--" ]; do shift; done
for volume in "$FAKE_7ZZ_VOLUMES"/*; do
    cp "$volume" "$2.${volume##*/}" || exit 2
done
)";

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList damagedArchives(const QString &out)
{
    QStringList damaged = entriesOf(out).filter(QRegularExpression("\\.zip$"));
    damaged.removeIf([&out](const QString &name) { return unzipTests(out + '/' + name); });
    return damaged;
}

qsizetype temporaryFiles(const QString &out)
{
    return entriesOf(out).filter(QRegularExpression("\\.zip\\.")).size();
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;

    // A place of runs of its own (system drive, temporary directory, home, output directory),
    // no display, and the fake archiver first on the path.
    QProcessEnvironment environment(const QString &place) const
    {
        for (const char *sub : {"sys", "tmp", "out", "home"})
            QDir().mkpath(place + '/' + sub);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTO32_SYSTEM_DIR", place + "/sys");
        env.insert("TMPDIR", place + "/tmp");
        env.insert("HOME", place + "/home");
        env.insert("XDG_DATA_HOME", place + "/home/data");
        env.insert("PATH", root_.filePath("fake") + ':' + env.value("PATH"));
        env.insert("FAKE_7ZZ_VOLUMES", root_.filePath("volumes"));
        env.insert("KESTO32_TIMINGS", "1");
        for (const char *name :
             {"QT_QPA_PLATFORM", "QT_LOGGING_RULES", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        return env;
    }

    // The first run completes and times the zip step; each later one is killed a random time
    // into it, SIGTERM and SIGKILL in turn; then a run completes the series. What went wrong.
    QStringList killAndRerun(const QString &place, quint32 seed, qsizetype &temporaries) const
    {
        const QString out = place + "/out", script = '!' + place + "/job.kst";
        const QProcessEnvironment env = environment(place);
        JobSettings job = numberedJob(root_.path());
        job.ZipDir = out;
        write(place + "/job.kst", ScriptText(job, QDateTime::currentDateTime()));
        const auto workDirs = [&place] {
            return entriesOf(place + "/sys").filter(QRegularExpression("^Kesto\\d+$")).size();
        };
        QRandomGenerator random(seed);
        QStringList failures;
        qint64 zipMs = -1;
        for (int round = 0; round <= killsPerPlace; ++round) {
            // Every other kill meets archives to create rather than archives to add to.
            if (round % 2 == 1) {
                for (const QString &name : entriesOf(out).filter(QRegularExpression("\\.zip$")))
                    QFile::remove(out + '/' + name);
            }
            QProcess process;
            process.setProcessEnvironment(env);
            process.setReadChannel(QProcess::StandardError);
            process.start(program, {script});
            QByteArray log;
            while (!log.contains("zip-start") && process.waitForReadyRead(60'000))
                log += process.readAllStandardError();
            if (round == 0) {
                process.waitForFinished(60'000);
                log += process.readAllStandardError();
                static const QRegularExpression marks(
                    "zip-start (\\d+).*zip-end (\\d+)",
                    QRegularExpression::DotMatchesEverythingOption);
                const auto match = marks.match(QString::fromLatin1(log));
                zipMs = match.captured(2).toLongLong() - match.captured(1).toLongLong();
                if (process.exitCode() != 0 || !match.hasMatch())
                    failures << "first run: " + QString::fromLocal8Bit(log);
                continue;
            }
            if (!log.contains("zip-start")) {
                failures << "no zip step: " + QString::fromLocal8Bit(log);
                process.kill();
                process.waitForFinished();
                continue;
            }
            const qsizetype workDirsBefore = workDirs(); // this run's own included
            // SIGTERM cleans up after itself; SIGKILL is the crash nothing can clean up after.
            const int signal = round % 2 == 0 ? SIGTERM : SIGKILL;
            const qint64 delayUs = random.bounded(qint64(zipMs + 1) * 1000);
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
            ::kill(pid_t(process.processId()), signal);
            process.waitForFinished();
            // Stopped, or too late to stop anything: either way its work directory is gone.
            if (signal == SIGTERM &&
                ((process.exitCode() != 128 + SIGTERM && process.exitCode() != 0) ||
                 workDirs() != workDirsBefore - 1))
                failures << QString("status %1 after SIGTERM: ").arg(process.exitCode()) +
                                QString::fromLocal8Bit(log);
            const QStringList damaged = damagedArchives(out);
            if (!damaged.isEmpty())
                failures << damaged.join(' ') +
                                QString(" damaged by a kill %1 us into the zip step").arg(delayUs);
            temporaries += temporaryFiles(out);
        }
        QProcess again;
        again.setProcessEnvironment(env);
        again.start(program, {script});
        if (!again.waitForFinished(60'000) || again.exitCode() != 0)
            failures << "the run after the kills: " +
                            QString::fromLocal8Bit(again.readAllStandardError());
        if (!damagedArchives(out).isEmpty() || temporaryFiles(out) != 0 ||
            entriesOf(out).size() != volumeCount)
            failures << "left by the run after the kills: " + entriesOf(out).join(' ');
        return failures;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        write(root_.filePath("src/data.bin"), randomBytes(2'000'000, 1));
        write(root_.filePath("src/sub/notes.txt"), "notes\r\n");
        write(root_.filePath("file_id.diz"), "My tool\r\nDisk: xxxxxxx\r\n");
        write(root_.filePath("about.nfo"), "About my tool\r\n");
        write(root_.filePath("fake/7zz"), fakeSevenZip);
        QVERIFY(QFile::setPermissions(root_.filePath("fake/7zz"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        for (int i = 1; i <= volumeCount; ++i)
            write(root_.filePath(QString("volumes/%1").arg(i, 3, 10, QLatin1Char('0'))),
                  randomBytes(600'000, quint32(10 + i)));
    }

    // The places run in parallel: each run waits out its splash period first.
    void killsWhileWrapping()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        std::vector<QStringList> failures(places);
        std::vector<qsizetype> temporaries(places);
        std::vector<std::thread> threads;
        for (int i = 0; i < places; ++i) {
            threads.emplace_back([&, i] {
                failures[i] = killAndRerun(root_.filePath(QString("place%1").arg(i)),
                                           seed + quint32(i), temporaries[i]);
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        qInfo("%d kills (seed %u): %lld temporary files before the next run, none after it",
              places * killsPerPlace, seed,
              static_cast<long long>(std::accumulate(temporaries.begin(), temporaries.end(), 0)));
        const QStringList all = std::accumulate(failures.begin(), failures.end(), QStringList());
        QVERIFY2(all.isEmpty(), qPrintable(all.join('\n')));
    }
};

QTEST_GUILESS_MAIN(FaultsTest)
#include "test_faults.moc"
