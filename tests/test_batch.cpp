// Unattended runs as a user starts them from cron: the real kesto32, wrar, 7-Zip and libzip on a
// fresh tree, one case file per run under tests/batch/. Each case changes the standard job (or
// its script, or the world around it) and states the exit status, the stderr lines and the
// archives it must leave. Where 7-Zip cannot fail on demand, a fake `7zz` script stands first on
// PATH. Format: tests/batch/README.
#include "engine/run_plan.h"
#include "job/run_failure.h"
#include "job/script.h"
#include "support/numbered_job.h"
#include "support/small_mount.h"
#include "support/zip_inspect.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <list>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

const QString binDir = QStringLiteral(KESTO_BIN_DIR);
const QString caseDir = QStringLiteral(KESTO_TEST_DATA "/../batch");

// Finds the archive 7-Zip is asked for (the word after --) and fails as the case says.
const char *const fakePreamble =
    "#!/bin/sh\n"
    "prev=; for a; do [ \"$prev\" = -- ] && archive=$a; prev=$a; done\n";

struct Case {
    QStringList lines;
    QString root;
};

// "\xHH", "\r" and "\n" escapes, and $ROOT, $DATE.
QByteArray expand(QString text, const QString &root)
{
    text.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("$ROOT"), root);
    text.replace(QStringLiteral("$DATE"), DateStamp(QDate::currentDate()));
    QByteArray bytes = text.toUtf8();
    static const QRegularExpression hex(QStringLiteral(R"(\\x([0-9a-fA-F]{2}))"));
    QByteArray out;
    qsizetype at = 0;
    for (auto m = hex.globalMatch(QString::fromLatin1(bytes)); m.hasNext();) {
        const auto match = m.next();
        out += bytes.mid(at, match.capturedStart() - at);
        out += char(match.captured(1).toInt(nullptr, 16));
        at = match.capturedEnd();
    }
    return out + bytes.mid(at);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The standard job: two volumes of 500,000 bytes, a skipped directory, a numbered description.
JobSettings standardJob(const QString &root)
{
    writeFile(root + "/src/docs/data.bin", randomBytes(700'000, 7));
    writeFile(root + "/src/readme.txt", "read me\r\n");
    writeFile(root + "/src/scratch/junk.txt", "junk\r\n");
    writeFile(root + "/file_id.diz", "My tool\r\nDisk: xxxxxxx\r\n");
    writeFile(root + "/about.nfo", "About my tool\r\n");
    QDir().mkpath(root + "/out");
    QDir().mkpath(root + "/sys");
    QDir().mkpath(root + "/tmp");
    JobSettings job = numberedJob(root);
    job.SkipList = root + "/src/scratch/*.*\r\n";
    return job;
}

void setField(JobSettings &job, const QString &field, const QString &value)
{
    QString *const texts[] = {&job.SourcePath, &job.DizPath,   &job.DizColumn, &job.DizLine,
                              &job.NfoPath,    &job.ExtraPath, &job.ZipDir,    &job.ZipName};
    const char *const names[] = {"SourcePath", "DizPath",   "DizColumn", "DizLine",
                                 "NfoPath",    "ExtraPath", "ZipDir",    "ZipName"};
    for (size_t i = 0; i < std::size(names); ++i) {
        if (field == QLatin1String(names[i])) {
            *texts[i] = value;
            return;
        }
    }
    if (field == QLatin1String("VolumeSizeSetting"))
        job.VolumeSizeSetting = qint16(value.toInt());
    else if (field == QLatin1String("ExtraIsDirectory"))
        job.ExtraIsDirectory = value == QLatin1String("true");
    else if (field == QLatin1String("SkipList"))
        job.SkipList = value.isEmpty() ? QString() : value + "\r\n";
    else
        QFAIL(qPrintable("unknown field " + field));
}

} // namespace

class BatchTest : public QObject {
    Q_OBJECT

private slots:
    void runs_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList cases = QDir(caseDir).entryList({"*.case"}, QDir::Files, QDir::Name);
        QVERIFY(!cases.isEmpty());
        for (const QString &name : cases)
            QTest::newRow(qPrintable(name.chopped(5))) << caseDir + '/' + name;
    }

    void runs()
    {
        QFETCH(QString, file);
        QFile caseFile(file);
        QVERIFY(caseFile.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(caseFile.readAll()).split('\n');

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path();
        JobSettings job = standardJob(root);
        std::unique_ptr<SmallMount> readOnly;
        std::list<SmallMount> mounts;

        // The world: the job, the script, the programs, the lock.
        QString program = binDir + "/kesto32", argument = "!", scriptName = "job.kst";
        QStringList options;
        QByteArray fake, fakePar2;
        bool onlyFakesOnPath = false, noPar2 = false;
        bool desktop = false;
        QList<std::pair<int, QByteArray>> replaced;
        int cutAfter = -1, heldLock = -1, stopSignal = 0;
        std::optional<QStringList> commandLine; // all of the arguments, when the case gives them
        bool window = false, stdoutFull = false;
        QString signalWhen, language, failSync, firstWhen;
        QStringList earlierLines;
        const auto word = [](const QString &line, int n) { return line.section(' ', n, n); };
        const auto rest = [](const QString &line, int n) { return line.section(' ', n); };
        for (const QString &line : lines) {
            const QString key = word(line, 0);
            if (key == "set")
                setField(job, word(line, 1), QString::fromUtf8(expand(rest(line, 2), root)));
            else if (key == "file")
                writeFile(root + '/' + word(line, 1), expand(rest(line, 2), root));
            else if (key == "dir")
                QDir().mkpath(root + '/' + word(line, 1));
            else if (key == "random")
                writeFile(root + '/' + word(line, 1), randomBytes(word(line, 2).toInt(), 3));
            else if (key == "earlier")
                earlierLines << rest(line, 1);
            else if (key == "unreadable") {
                if (geteuid() == 0)
                    QSKIP("root reads every file");
                QVERIFY(QFile::setPermissions(root + '/' + word(line, 1), {}));
            } else if (key == "unwritable") {
                // Root writes wherever the mode forbids it, but not on a read-only mount.
                if (geteuid() == 0) {
                    readOnly = std::make_unique<SmallMount>(root + '/' + word(line, 1), "1m,ro");
                    if (!readOnly->mounted)
                        QSKIP("no read-only mount for root");
                } else {
                    QVERIFY(QFile::setPermissions(root + '/' + word(line, 1),
                                                  QFile::ReadOwner | QFile::ExeOwner));
                }
            } else if (key == "small") {
                // A small file system there; "full": one filled to the last byte.
                const QString at = root + '/' + word(line, 1);
                const bool full = word(line, 2) == "full";
                if (!mounts.emplace_back(at, full ? "128m" : word(line, 2)).mounted)
                    QSKIP("mounting a small file system needs root");
                QFile filler(at + "/filler");
                QVERIFY(!full || filler.open(QIODevice::WriteOnly));
                for (qsizetype piece = 64 * 1024; full && piece > 0; piece /= 2) {
                    while (filler.write(QByteArray(piece, 'f')) == piece && filler.flush()) {
                    }
                }
            } else if (key == "fake7zz")
                fake += expand(rest(line, 1), root) + '\n';
            else if (key == "fakepar2")
                fakePar2 += expand(rest(line, 1), root) + '\n';
            else if (key == "only-fakes-on-path")
                onlyFakesOnPath = true;
            else if (key == "no-par2")
                noPar2 = true;
            else if (key == "desktop")
                desktop = true;
            else if (key == "alone") {
                // The program without its helpers beside it.
                program = root + "/bin/kesto32";
                QDir().mkpath(root + "/bin");
                QVERIFY(QFile::copy(binDir + "/kesto32", program));
            } else if (key == "helper") {
                // One helper beside the lone copy.
                QVERIFY(QFile::copy(binDir + '/' + word(line, 1), root + "/bin/" + word(line, 1)));
            } else if (key == "mode") {
                QVERIFY(::chmod(QFile::encodeName(root + '/' + word(line, 1)),
                                mode_t(word(line, 2).toUInt(nullptr, 8))) == 0);
            } else if (key == "owner") {
                if (geteuid() != 0)
                    QSKIP("giving a directory to another user needs root");
                QVERIFY(::chown(QFile::encodeName(root + '/' + word(line, 1)),
                                uid_t(word(line, 2).toUInt()), gid_t(-1)) == 0);
            } else if (key == "window") {
                window = true;
            } else if (key == "stdout-full") {
                stdoutFull = true;
            } else if (key == "fifo") {
                QVERIFY(::mkfifo(QFile::encodeName(root + '/' + word(line, 1)), 0600) == 0);
            } else if (key == "arguments") {
                commandLine.emplace();
                for (const QString &argument : rest(line, 1).split(' ', Qt::SkipEmptyParts))
                    *commandLine << QFile::decodeName(expand(argument, root));
            } else if (key == "prefix")
                argument = word(line, 1);
            else if (key == "option")
                options << word(line, 1);
            else if (key == "script")
                scriptName = word(line, 1);
            else if (key == "cut")
                cutAfter = word(line, 1).toInt();
            else if (key == "line")
                replaced.append({word(line, 1).toInt(), expand(line.section(' ', 2), root)});
            else if (key == "hold-lock")
                heldLock = word(line, 1).toInt();
            else if (key == "link")
                QVERIFY(QFile::link(QString::fromUtf8(expand(rest(line, 2), root)),
                                    root + '/' + word(line, 1)));
            else if (key == "language")
                language = word(line, 1);
            else if (key == "fail-sync")
                failSync = root + '/' + rest(line, 1);
            else if (key == "first-run")
                firstWhen = root + '/' + word(line, 1);
            else if (key == "signal-when") {
                signalWhen = root + '/' + word(line, 1);
                stopSignal = word(line, 2).toInt();
            }
        }

        if (scriptName == "job.kst") {
            QList<QByteArray> script = ScriptText(job, QDateTime::currentDateTime()).split('\n');
            script.removeLast();
            for (auto &[number, text] : replaced)
                script[number - 1] = text + '\r';
            if (cutAfter >= 0)
                script = script.mid(0, cutAfter);
            writeFile(root + "/job.kst", script.join('\n') + (script.isEmpty() ? "" : "\n"));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        QDir().mkpath(root + "/fakebin");
        if (!fake.isEmpty()) {
            writeFile(root + "/fakebin/7zz", fakePreamble + fake);
            QVERIFY(QFile::setPermissions(root + "/fakebin/7zz",
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        if (!fakePar2.isEmpty()) {
            writeFile(root + "/fakebin/par2", "#!/bin/sh\n" + fakePar2);
            QVERIFY(QFile::setPermissions(root + "/fakebin/par2",
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        if (noPar2) {
            // 7-Zip alone beside the fakes: no par2 anywhere on PATH.
            onlyFakesOnPath = true;
            for (const char *program : {"7zz", "7z"}) {
                const QString found = QStandardPaths::findExecutable(program);
                if (!found.isEmpty())
                    QVERIFY(QFile::link(found, root + "/fakebin/" + program));
            }
        }
        env.insert("PATH",
                   onlyFakesOnPath ? root + "/fakebin" : root + "/fakebin:" + env.value("PATH"));
        env.insert("KESTO32_SYSTEM_DIR", root + "/sys");
        env.insert("XDG_DATA_HOME", root + "/data");
        env.insert("TMPDIR", root + "/tmp");
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "KESTO32_TIMINGS",
                                 "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(name);
        env.insert("LANG", "C.UTF-8"); // English, whatever the developer's desktop speaks
        if (!language.isEmpty()) {
            env.insert("LANGUAGE", language);
            env.insert("LANG", language + ".UTF-8");
        }
        if (!earlierLines.isEmpty()) {
            // A completed run of the job as it was before, into the same directory.
            JobSettings earlierJob = job;
            QStringList earlierOptions;
            QString earlierArgument = "!";
            for (const QString &line : earlierLines) {
                if (word(line, 0) == "prefix")
                    earlierArgument = word(line, 1);
                else if (word(line, 0) == "set")
                    setField(earlierJob, word(line, 1),
                             QString::fromUtf8(expand(rest(line, 2), root)));
                else if (word(line, 0) == "option")
                    earlierOptions << word(line, 1);
            }
            writeFile(root + "/earlier.kst", ScriptText(earlierJob, QDateTime::currentDateTime()));
            QProcess earlier;
            earlier.setProcessEnvironment(env);
            earlier.setWorkingDirectory(root);
            earlier.start(program, earlierOptions << earlierArgument + root + "/earlier.kst");
            QVERIFY(earlier.waitForFinished(120'000));
            QVERIFY2(earlier.exitCode() == 0, earlier.readAllStandardError().constData());
        }
        if (desktop) {
            // A display is named; the window comes up on Qt's offscreen platform.
            env.insert("DISPLAY", ":kesto32-test");
            env.insert("QT_QPA_PLATFORM", "offscreen");
        }
        int lockFd = -1;
        if (heldLock >= 0) {
            lockFd = ::open(QFile::encodeName(root + "/sys/kesto32.lock"), O_RDWR | O_CREAT, 0600);
            QVERIFY(lockFd >= 0 && ::flock(lockFd, LOCK_EX | LOCK_NB) == 0);
            const QByteArray pid = QByteArray::number(heldLock) + '\n';
            QCOMPARE(::write(lockFd, pid.constData(), size_t(pid.size())), pid.size());
        }

        // A window of the program, open before the run and for all of it.
        QProcess windowProcess;
        if (window) {
            QProcessEnvironment windowEnv = env;
            windowEnv.insert("QT_QPA_PLATFORM", "offscreen");
            windowProcess.setProcessEnvironment(windowEnv);
            windowProcess.start(program, {});
            const auto lockHolder = [&root] {
                QFile lock(root + "/sys/kesto32.lock");
                return lock.open(QIODevice::ReadOnly) ? lock.readAll().trimmed() : QByteArray();
            };
            QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), QByteArray::number(windowProcess.processId()),
                                      20'000);
        }

        // The plan of the same job first: it must end as the run does.
        std::optional<int> planned;
        if (lines.contains("plan-agrees")) {
            QProcess plan;
            plan.setProcessEnvironment(env);
            plan.setWorkingDirectory(root);
            plan.start(program, QStringList{"--plan"} + options +
                                    QStringList{argument + root + '/' + scriptName});
            QVERIFY(plan.waitForFinished(120'000) && plan.exitStatus() == QProcess::NormalExit);
            planned = plan.exitCode();
        }

        if (!failSync.isEmpty()) {
            // Syncs of the paths the pattern matches fail with EIO (tests/sync_failure.cpp). The
            // shim is built without sanitizers, so it may come before their runtime.
            env.insert("LD_PRELOAD", binDir + "/kesto_sync_failure.so");
            env.insert("KESTO32_FAIL_SYNC", failSync);
            QStringList asan = env.value("ASAN_OPTIONS").split(':', Qt::SkipEmptyParts);
            env.insert("ASAN_OPTIONS", (asan << "verify_asan_link_order=0").join(':'));
        }
        // A run of the same script first, still running (its fake 7-Zip waits) when the case's
        // run starts; it must complete once that one has ended.
        QProcess first;
        qint64 firstPid = 0;
        if (!firstWhen.isEmpty()) {
            first.setProcessEnvironment(env);
            first.setWorkingDirectory(root);
            first.start(program, QStringList(options) << argument + root + '/' + scriptName);
            QVERIFY(first.waitForStarted());
            firstPid = first.processId();
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(firstWhen).size() > 0, 120'000);
        }

        QProcess process;
        process.setProcessEnvironment(env);
        if (stdoutFull)
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.setWorkingDirectory(root);
        process.start(program, commandLine.value_or(options << argument + root + '/' + scriptName));
        if (stopSignal != 0) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(signalWhen).size() > 0, 120'000);
            QCOMPARE(::kill(pid_t(process.processId()), stopSignal), 0);
        }
        QVERIFY(process.waitForFinished(120'000));
        if (window) {
            windowProcess.kill();
            windowProcess.waitForFinished();
        }
        if (lockFd >= 0)
            ::close(lockFd);
        if (!firstWhen.isEmpty()) {
            writeFile(root + "/case-ended", "");
            QVERIFY(first.waitForFinished(120'000));
            QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
        }
        const QByteArray standardError = process.readAllStandardError();
        const QStringList errorLines =
            QString::fromUtf8(standardError).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        // Programs run on the output afterwards, each of which must succeed.
        for (const QString &line : lines) {
            if (word(line, 0) != "then")
                continue;
            QStringList words;
            for (const QString &w : rest(line, 1).split(' ', Qt::SkipEmptyParts))
                words << QString::fromUtf8(expand(w, root));
            QProcess then;
            then.setProcessEnvironment(env);
            then.setWorkingDirectory(root + "/out");
            then.setProcessChannelMode(QProcess::MergedChannels);
            then.start(words.takeFirst(), words);
            QVERIFY(then.waitForFinished(120'000));
            QVERIFY2(then.exitStatus() == QProcess::NormalExit && then.exitCode() == 0,
                     then.readAll().right(2000).constData());
        }

        // What the case expects.
        bool statusChecked = false;
        for (const QString &line : lines) {
            const QString key = word(line, 0);
            const QString value = QString::fromUtf8(expand(rest(line, 1), root))
                                      .replace("$FIRST", QString::number(firstPid));
            if (key == "status") {
                QVERIFY2(process.exitCode() == value.toInt(), standardError.constData());
                statusChecked = true;
                if (planned)
                    QCOMPARE(*planned, process.exitCode());
            } else if (key == "stderr") {
                QVERIFY2(errorLines.contains(value), standardError.constData());
            } else if (key == "stderr-match") {
                QVERIFY2(!errorLines.filter(QRegularExpression('^' + value + '$')).isEmpty(),
                         standardError.constData());
            } else if (key == "stderr-lines") {
                QVERIFY2(errorLines.size() == value.toInt(), standardError.constData());
            } else if (key == "archives") {
                QCOMPARE(entriesOf(root + "/out"), value.split(' ', Qt::SkipEmptyParts));
            } else if (key == "holds") {
                const QString archive = root + "/out/" + word(value, 0);
                QVERIFY(unzipTests(archive));
                QCOMPARE(unzipNames(archive), rest(value, 1).split(' '));
            } else if (key == "entry") {
                // An entry of an archive begins with the text.
                const QByteArray content =
                    unzipContent(root + "/out/" + word(value, 0), word(value, 1));
                QVERIFY2(content.startsWith(expand(rest(value, 2), root)), content.left(80));
            } else if (key == "diz") {
                QCOMPARE(unzipContent(root + "/out/" + word(value, 0), "file_id.diz"),
                         expand(rest(value, 1), root));
            } else if (key == "sys") {
                QCOMPARE(entriesOf(root + "/sys"), value.split(' ', Qt::SkipEmptyParts));
            } else if (key == "mode-is") {
                struct stat info;
                QVERIFY(::stat(QFile::encodeName(root + '/' + word(value, 0)), &info) == 0);
                QCOMPARE(QString::number(info.st_mode & 07777, 8), word(value, 1));
            } else if (key == "tmp") {
                QCOMPARE(entriesOf(root + "/tmp"), value.split(' ', Qt::SkipEmptyParts));
            } else if (key == "intact") {
                for (const QString &name : entriesOf(root + "/out"))
                    QVERIFY2(unzipTests(root + "/out/" + name), qPrintable(name));
            } else if (key == "content") {
                QFile content(root + '/' + word(value, 0));
                QVERIFY(content.open(QIODevice::ReadOnly));
                QCOMPARE(content.readAll(), expand(rest(value, 1), root));
            } else if (key == "ended") {
                // The process named in the file is gone, not even a zombie left for a parent.
                QFile pidFile(root + '/' + value);
                QVERIFY(pidFile.open(QIODevice::ReadOnly));
                const QString stat =
                    "/proc/" + QString::fromLatin1(pidFile.readAll().trimmed()) + "/stat";
                const auto alive = [&stat] {
                    QFile file(stat);
                    if (!file.open(QIODevice::ReadOnly))
                        return false;
                    const QByteArray fields = file.readAll();
                    return !fields.mid(fields.lastIndexOf(')') + 2).startsWith('Z');
                };
                QTRY_VERIFY(!alive());
            } else if (key == "gone") {
                QVERIFY2(!QFileInfo::exists(root + '/' + value), qPrintable(value));
            }
        }
        QVERIFY2(statusChecked, "a case must state its exit status");
    }

    // The README's table is the reference: --help, the man page and the window's help page
    // must say the same of every status, the translated help pages must list them all, and
    // every status a failure ends with is in it.
    void statusesDocumented()
    {
        const QString top = QStringLiteral(KESTO_TEST_DATA "/../../");
        const auto read = [&](const QString &path) {
            QFile file(top + path);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        // status -> meaning, in order of appearance, blanks and markup folded away
        using Table = QList<std::pair<QString, QString>>;
        const auto collect = [](const QString &text, const QString &pattern) {
            Table table;
            const QRegularExpression row(pattern,
                                         QRegularExpression::MultilineOption |
                                             QRegularExpression::DotMatchesEverythingOption);
            for (auto m = row.globalMatch(text); m.hasNext();) {
                const auto match = m.next();
                QString meaning = match.captured(2);
                meaning.replace(QStringLiteral("\\-"), QStringLiteral("-"));
                table.append({match.captured(1).remove(' '), meaning.simplified()});
            }
            return table;
        };
        const Table readme = collect(read("README.md"), R"(^\| (\d+|128\+N) \| (.+?) \|$)");
        QStringList documented;
        for (const auto &[status, meaning] : readme)
            documented << status;
        QCOMPARE(documented, (QStringList{"0", "1", "2", "3", "4", "5", "6", "128+N"}));
        QCOMPARE(collect(read("data/man/kesto32.1.in"), R"(^\.BI? (\d+|128\+ N)\n(.+?)\n(?=\.))"),
                 readme);
        QCOMPARE(collect(read("src/ui/help/scripts.html"),
                         R"(<tr><td>(\d+|128\+N)</td><td>(.+?)</td></tr>)"),
                 readme);
        // Each translated help page lists the same statuses.
        for (const QString &page :
             QDir(top + "src/ui/help").entryList({"*"}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            QStringList translated;
            for (const auto &[status, meaning] :
                 collect(read("src/ui/help/" + page + "/scripts.html"),
                         R"(<tr><td>(\d+|128\+N)</td><td>(.+?)</td></tr>)"))
                translated << status;
            QVERIFY2(translated == documented, qPrintable(page));
        }

        QProcess help;
        help.start(binDir + "/kesto32", {"--help"});
        QVERIFY(help.waitForFinished());
        const QString helpText = QString::fromUtf8(help.readAllStandardOutput()).simplified();
        for (const auto &[status, meaning] : readme)
            QVERIFY2(helpText.contains(status + ' ' + meaning),
                     qPrintable("--help lacks: " + status));
        for (int kind = 0; kind < int(Failure::Stopped); ++kind) {
            const int status = ExitStatusOf(Failure(kind));
            QVERIFY(documented.contains(QString::number(status)));
        }
    }
};

QTEST_GUILESS_MAIN(BatchTest)
#include "test_batch.moc"
