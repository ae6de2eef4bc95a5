// Batch runs killed while they wrap the volumes: every archive left is a sound zip, and a later
// run completes and leaves no temporary file behind. (Full disks and a failing or killed
// archiver are cases in tests/batch.)
#include "job/script.h"
#include "support/zip_inspect.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <thread>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString binDir = QStringLiteral(KESTO_BIN_DIR);
constexpr int volumeCount = 4;
constexpr int volumeSize = 600'000;

// Stands in for 7-Zip: copies the prepared volumes where the archiver's first volume goes.
const QByteArray fakeSevenZip = R"(#!/bin/sh
while [ "$1" != "--" ]; do shift; done
for volume in "$FAKE_7ZZ_VOLUMES"/*; do
    cp "$volume" "$2.${volume##*/}" || exit 2
done
)";

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The program and its helpers in dir (hard links where the file system allows), so that the
// program's own directory is dir. The program's path.
QString placeProgram(const QString &dir)
{
    QDir().mkpath(dir);
    for (const char *tool : {"kesto32", "wrar", "size"}) {
        const QString from = binDir + QLatin1Char('/') + QLatin1String(tool);
        const QString to = dir + QLatin1Char('/') + QLatin1String(tool);
        if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0 &&
            !QFile::copy(from, to))
            qFatal("cannot place %s", qPrintable(to));
    }
    return dir + QStringLiteral("/kesto32");
}

QStringList damagedArchives(const QString &out)
{
    QStringList damaged;
    for (const QString &name : entriesOf(out)) {
        if (name.endsWith(QLatin1String(".zip")) && !unzipTests(out + QLatin1Char('/') + name))
            damaged << name;
    }
    return damaged;
}

QStringList temporaryFiles(const QString &out)
{
    return entriesOf(out).filter(QRegularExpression(QStringLiteral("\\.zip\\.")));
}

struct Run {
    int status = -1;
    QByteArray standardError;
};

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void killsWhileWrapping();

private:
    QString writeJob(const QString &place);
    QProcessEnvironment environment(const QString &place) const;
    Run run(const QProcessEnvironment &env, const QString &program, const QString &script) const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

void FaultsTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    root_ = dir_->path();
    for (const char *sub : {"fake", "volumes", "src/sub"})
        QVERIFY(QDir().mkpath(root_ + QLatin1Char('/') + QLatin1String(sub)));
    write(root_ + QStringLiteral("/src/data.bin"), randomBytes(2'000'000, 1));
    write(root_ + QStringLiteral("/src/sub/notes.txt"), "notes\r\n");
    write(root_ + QStringLiteral("/file_id.diz"), "My tool\r\nDisk: xxxxxxx\r\n");
    write(root_ + QStringLiteral("/about.nfo"), "About my tool\r\n");
    write(root_ + QStringLiteral("/fake/7zz"), fakeSevenZip);
    QVERIFY(QFile::setPermissions(root_ + QStringLiteral("/fake/7zz"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (int i = 1; i <= volumeCount; ++i)
        write(root_ + QStringLiteral("/volumes/%1").arg(i, 3, 10, QLatin1Char('0')),
              randomBytes(volumeSize, quint32(10 + i)));
}

// A place of runs of its own: system drive, temporary directory, home, output directory and the
// job writing into it. The script's path.
QString FaultsTest::writeJob(const QString &place)
{
    for (const char *sub : {"sys", "tmp", "out", "home"})
        QDir().mkpath(place + QLatin1Char('/') + QLatin1String(sub));
    JobSettings job;
    job.SourcePath = root_ + QStringLiteral("/src");
    job.DizPath = root_ + QStringLiteral("/file_id.diz");
    job.DizAutoNumber = true;
    job.DizNoneSelected = false;
    job.DizColumn = QStringLiteral("7");
    job.DizLine = QStringLiteral("2");
    job.NfoPath = root_ + QStringLiteral("/about.nfo");
    job.ZipDir = place + QStringLiteral("/out");
    job.ZipName = QStringLiteral("tool");
    job.VolumeSizeSetting = 1; // 500,000 bytes
    const QString script = place + QStringLiteral("/job.kst");
    write(script, ScriptText(job, QDateTime::currentDateTime()));
    return script;
}

// Its own system drive, data directory and temporary directory (no other instance is seen),
// no display, and the fake archiver first on the path.
QProcessEnvironment FaultsTest::environment(const QString &place) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTO32_SYSTEM_DIR"), place + QStringLiteral("/sys"));
    env.insert(QStringLiteral("TMPDIR"), place + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("HOME"), place + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), place + QStringLiteral("/home/data"));
    env.insert(QStringLiteral("PATH"),
               root_ + QStringLiteral("/fake:") + env.value(QStringLiteral("PATH")));
    env.insert(QStringLiteral("FAKE_7ZZ_VOLUMES"), root_ + QStringLiteral("/volumes"));
    for (const char *name : {"QT_QPA_PLATFORM", "QT_LOGGING_RULES", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    return env;
}

Run FaultsTest::run(const QProcessEnvironment &env, const QString &program,
                    const QString &script) const
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, {QLatin1Char('!') + script});
    Run result;
    if (!process.waitForFinished(60'000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitCode();
    result.standardError = process.readAllStandardError();
    return result;
}

// The program is killed at random points of the zip step; each time every archive left must be
// sound, and a later run must complete the series and leave no temporary file. A run waits out
// its splash period first, so the kills run in parallel places.
void FaultsTest::killsWhileWrapping()
{
    constexpr int places = 10;
    constexpr int killsPerPlace = 10; // SIGKILL and SIGTERM in turn
    struct Place {
        QString root;
        QString script;
        QString program; // its own directory holds its working copies
        quint32 seed = 0;
        int kills = 0;
        int damaged = 0;
        int leftBehind = 0;
        int workDirs = 0;
        int stoppedWorkDirs = 0;
        QStringList failures;
    };
    const quint32 seed = QRandomGenerator::global()->generate();
    std::vector<Place> all(places);
    for (int i = 0; i < places; ++i) {
        all[i].root = root_ + QStringLiteral("/place%1").arg(i);
        all[i].script = writeJob(all[i].root);
        all[i].program = placeProgram(all[i].root + QStringLiteral("/bin"));
        all[i].seed = seed + quint32(i);
    }
    const auto killAndRerun = [this](Place &place) {
        const QString out = place.root + QStringLiteral("/out");
        QProcessEnvironment env = environment(place.root);
        env.insert(QStringLiteral("KESTO32_TIMINGS"), QStringLiteral("1"));
        QRandomGenerator random(place.seed);
        qint64 zipMs = -1;
        for (int round = 0; round <= killsPerPlace; ++round) {
            // Every other kill meets archives to create rather than archives to add to.
            if (round % 2 == 1) {
                for (const QString &name : entriesOf(out)) {
                    if (name.endsWith(QLatin1String(".zip")))
                        QFile::remove(out + QLatin1Char('/') + name);
                }
            }
            QProcess process;
            process.setProcessEnvironment(env);
            process.setReadChannel(QProcess::StandardError);
            process.start(place.program, {QLatin1Char('!') + place.script});
            QByteArray log;
            while (!log.contains("zip-start") && process.waitForReadyRead(60'000))
                log += process.readAllStandardError();
            if (round == 0) {
                // The first run completes: how long the zip step takes here.
                process.waitForFinished(60'000);
                log += process.readAllStandardError();
                const auto mark = QRegularExpression(QStringLiteral("zip-(start|end) (\\d+)"));
                qint64 marks[2] = {-1, -1};
                for (auto it = mark.globalMatch(QString::fromLatin1(log)); it.hasNext();) {
                    const auto match = it.next();
                    marks[match.captured(1) == QLatin1String("end")] =
                        match.captured(2).toLongLong();
                }
                zipMs = marks[1] - marks[0];
                if (process.exitCode() != 0 || zipMs < 0 || marks[0] < 0)
                    place.failures << QStringLiteral("first run: ") + QString::fromLocal8Bit(log);
                continue;
            }
            if (!log.contains("zip-start")) {
                place.failures << QStringLiteral("no zip step: ") + QString::fromLocal8Bit(log);
                process.kill();
                process.waitForFinished();
                continue;
            }
            const auto workDirsNow = [&place] {
                return entriesOf(place.root + QStringLiteral("/sys"))
                    .filter(QRegularExpression(QStringLiteral("^Kesto\\d+$")))
                    .size();
            };
            const qsizetype workDirsBefore = workDirsNow(); // this run's own included
            // SIGTERM cleans up after itself; SIGKILL is the crash nothing can clean up after.
            const int signal = round % 2 == 0 ? SIGTERM : SIGKILL;
            const qint64 delayUs = random.bounded(qint64(zipMs + 1) * 1000);
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
            ::kill(pid_t(process.processId()), signal);
            process.waitForFinished();
            if (signal == SIGTERM) {
                // Too late to stop anything, the run has completed.
                if (process.exitCode() != 128 + SIGTERM && process.exitCode() != 0)
                    place.failures
                        << QStringLiteral("status %1 after SIGTERM: ").arg(process.exitCode()) +
                               QString::fromLocal8Bit(log);
                place.stoppedWorkDirs += int(workDirsNow() - (workDirsBefore - 1));
            }
            ++place.kills;
            const QStringList broken = damagedArchives(out);
            place.damaged += int(broken.size());
            if (!broken.isEmpty())
                place.failures << broken.join(QLatin1Char(' ')) +
                                      QStringLiteral(" damaged by a kill %1 us into the zip step")
                                          .arg(delayUs);
            place.leftBehind += int(temporaryFiles(out).size());
        }
        const Run again = run(environment(place.root), place.program, place.script);
        if (again.status != 0)
            place.failures << QStringLiteral("the run after the kills: ") +
                                  QString::fromLocal8Bit(again.standardError);
        if (!damagedArchives(out).isEmpty() || !temporaryFiles(out).isEmpty() ||
            entriesOf(out).size() != volumeCount)
            place.failures << QStringLiteral("left by the run after the kills: ") +
                                  entriesOf(out).join(QLatin1Char(' '));
        // A run killed with SIGKILL leaves its work directory with the volumes not yet wrapped.
        place.workDirs = int(entriesOf(place.root + QStringLiteral("/sys"))
                                 .filter(QRegularExpression(QStringLiteral("^Kesto\\d+$")))
                                 .size());
    };
    std::vector<std::thread> threads;
    for (Place &place : all)
        threads.emplace_back(killAndRerun, std::ref(place));
    for (std::thread &thread : threads)
        thread.join();

    int kills = 0;
    int damaged = 0;
    int leftBehind = 0;
    int workDirs = 0;
    QStringList failures;
    for (const Place &place : all) {
        kills += place.kills;
        damaged += place.damaged;
        leftBehind += place.leftBehind;
        workDirs += place.workDirs;
        QCOMPARE(place.stoppedWorkDirs, 0);
        failures += place.failures;
    }
    qInfo("%d kills (seed %u): %d damaged archives, %d temporary files before the next run, "
          "none after it; %d work directories left by SIGKILL, none by SIGTERM",
          kills, seed, damaged, leftBehind, workDirs);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    QCOMPARE(kills, places * killsPerPlace);
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "test_faults.moc"
