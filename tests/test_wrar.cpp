#include "support/argv_dump.h"
#include "wrar/wrar_plan.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using kesto::test::readArgvDump;

namespace {

struct WrarRun {
    int status = -1;
    QString errors;
};

// A directory whose "7zz" is this test program acting as a stand-in.
class FakeSevenZip {
public:
    FakeSevenZip() { QFile::link(QCoreApplication::applicationFilePath(), dir.filePath("7zz")); }
    QTemporaryDir dir;
    QString dump() const { return dir.filePath("argv"); }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", dir.path());
        env.insert("KESTO_ARGV_DUMP", dump());
        return env;
    }
};

WrarRun runWrar(const QStringList &arguments, const QProcessEnvironment &env,
                const QString &workingDirectory)
{
    QProcess wrar;
    wrar.setProgram(QStringLiteral(KESTO_BIN_DIR "/wrar"));
    wrar.setArguments(arguments);
    wrar.setProcessEnvironment(env);
    wrar.setWorkingDirectory(workingDirectory);
    wrar.start();
    if (!wrar.waitForStarted(-1) || !wrar.waitForFinished(-1))
        return {};
    WrarRun run;
    run.status = wrar.exitStatus() == QProcess::NormalExit ? wrar.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(wrar.readAllStandardError());
    return run;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class WrarTest : public QObject {
    Q_OBJECT

private slots:
    void sevenZipArguments_data();
    void sevenZipArguments();
    void refusedCommandLines_data();
    void refusedCommandLines();
    void translateExclusions_data();
    void translateExclusions();
    void programPassesItsTranslationTo7Zip();
    void refusesWithoutStarting7Zip_data();
    void refusesWithoutStarting7Zip();
    void failedRunLeavesNoVolume_data();
    void failedRunLeavesNoVolume();
    void measuredRunReportsThe7ZipCommand();
};

void WrarTest::sevenZipArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sevenZip"); // LIST: the translated list

    QTest::newRow("floppy volumes, solid, skip list")
        << QStringList{"a",           "-r",        "-v1440000b",      "-m5", "-s", "-y",
                       "/w/tool.001", "/d/my src", "-x@/sys/skip.txt"}
        << QStringList{"a",  "-t7z",    "-sae",    "-spd", "-mx=9",   "-ms=on",   "-v1440000b",
                       "-y", "-scsWIN", "-x@LIST", "--",   "/w/tool", "/d/my src"};
    QTest::newRow("one unlimited archive")
        << QStringList{"a", "-r", "-v0000b", "-y", "/w/tool.rar", "/d/src"}
        << QStringList{"a", "-t7z", "-sae", "-spd", "-mx=5", "-y", "--", "/w/tool.rar", "/d/src"};
    QTest::newRow("any number of zeros is unlimited")
        << QStringList{"a", "-r", "-v0b", "-y", "/w/tool.001", "/d/src"}
        << QStringList{"a", "-t7z", "-sae", "-spd", "-mx=5", "-y", "--", "/w/tool.001", "/d/src"};
    QTest::newRow("strongest without solid")
        << QStringList{"a", "-r", "-v500000b", "-m5", "-y", "/w/t.001", "/s"}
        << QStringList{"a", "-t7z", "-sae", "-spd", "-mx=9", "-v500000b", "-y", "--", "/w/t", "/s"};
    QTest::newRow("solid at the normal level")
        << QStringList{"a", "-r", "-v500000b", "-s", "-y", "/w/t.001", "/s"}
        << QStringList{"a",         "-t7z", "-sae", "-spd", "-mx=5", "-ms=on",
                       "-v500000b", "-y",   "--",   "/w/t", "/s"};
    QTest::newRow("largest size, leading zeros dropped")
        << QStringList{"a", "-r", "-v0100000000b", "-y", "/w/t.001", "/s"}
        << QStringList{"a",  "-t7z", "-sae", "-spd", "-mx=5", "-v100000000b",
                       "-y", "--",   "/w/t", "/s"};
    QTest::newRow("names that look like switches stay names")
        << QStringList{"a", "-r", "-v0b", "-y", "-t.rar", "-x@src"}
        << QStringList{"a", "-t7z", "-sae", "-spd", "-mx=5", "-y", "--", "-t.rar", "-x@src"};
}

void WrarTest::sevenZipArguments()
{
    QFETCH(QStringList, arguments);
    wrar::Request request;
    QString error;
    QVERIFY2(wrar::ParseArguments(arguments, request, error), qPrintable(error));
    const QString list = request.listFile.isEmpty() ? QString() : QStringLiteral("LIST");
    QTEST(wrar::SevenZipArguments(request, list), "sevenZip");
}

void WrarTest::refusedCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("other command") << QStringList{"x", "-r", "-v0b", "-y", "/w/t.rar", "/s"};
    QTest::newRow("upper-case command") << QStringList{"A", "-r", "-v0b", "-y", "/w/t.rar", "/s"};
    QTest::newRow("no -r") << QStringList{"a", "-v0b", "-y", "/w/t.rar", "/s"};
    QTest::newRow("size without b") << QStringList{"a", "-r", "-v1440000", "-y", "/w/t.001", "/s"};
    QTest::newRow("size without digits") << QStringList{"a", "-r", "-vb", "-y", "/w/t.001", "/s"};
    QTest::newRow("size with a unit") << QStringList{"a", "-r", "-v12kb", "-y", "/w/t.001", "/s"};
    QTest::newRow("size too large")
        << QStringList{"a", "-r", "-v1234567890123456789b", "-y", "/w/t.001", "/s"};
    QTest::newRow("other method") << QStringList{"a", "-r", "-v0b", "-m3", "-y", "/w/t.rar", "/s"};
    QTest::newRow("-s before -m5")
        << QStringList{"a", "-r", "-v0b", "-s", "-m5", "-y", "/w/t.rar", "/s"};
    QTest::newRow("no -y") << QStringList{"a", "-r", "-v0b", "/w/t.rar", "/s"};
    QTest::newRow("no source") << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar"};
    QTest::newRow("empty source") << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar", ""};
    QTest::newRow("list switch without @")
        << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar", "/s", "-x/l"};
    QTest::newRow("list switch without file")
        << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar", "/s", "-x@"};
    QTest::newRow("second source") << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar", "/s", "/t"};
    QTest::newRow("anything after the list")
        << QStringList{"a", "-r", "-v0b", "-y", "/w/t.rar", "/s", "-x@/l", "-x@/m"};
    QTest::newRow("volumes under a name without .001")
        << QStringList{"a", "-r", "-v500000b", "-y", "/w/t.rar", "/s"};
}

void WrarTest::refusedCommandLines()
{
    QFETCH(QStringList, arguments);
    wrar::Request request;
    QString error;
    QVERIFY(!wrar::ParseArguments(arguments, request, error));
    QVERIFY(!error.isEmpty());
}

void WrarTest::translateExclusions_data()
{
    QTest::addColumn<QByteArray>("skipFile");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("list");

    QTest::newRow("directory and file, closing empty line")
        << QByteArray("/p/src/old/*.*\r\n/p/src/docs/readme.txt\r\n\r\n") << QByteArray("/p/src")
        << QByteArray("\"src/old\"\n\"src/docs/readme.txt\"\n");
    QTest::newRow("lone LF and lone CR end lines too")
        << QByteArray("/p/src/a\n/p/src/b\r/p/src/c") << QByteArray("/p/src")
        << QByteArray("\"src/a\"\n\"src/b\"\n\"src/c\"\n");
    QTest::newRow("empty lines in between are skipped")
        << QByteArray("\r\n/p/src/a\r\n\r\n\r\n/p/src/b\r\n") << QByteArray("/p/src")
        << QByteArray("\"src/a\"\n\"src/b\"\n");
    QTest::newRow("source with blanks")
        << QByteArray("/p/my src/old/*.*\r\n") << QByteArray("/p/my src")
        << QByteArray("\"my src/old\"\n");
    QTest::newRow("source just below the root")
        << QByteArray("/src/a.txt\r\n") << QByteArray("/src") << QByteArray("\"src/a.txt\"\n");
    QTest::newRow("directory given with a trailing separator")
        << QByteArray("/p/src/old/\r\n") << QByteArray("/p/src") << QByteArray("\"src/old\"\n");
    QTest::newRow("the source itself leaves out everything")
        << QByteArray("/p/src/*.*\r\n") << QByteArray("/p/src") << QByteArray("\"src\"\n");
    QTest::newRow("outside the source: neighbour, other tree, relative, bare pattern")
        << QByteArray("/p/src2/a.txt\r\n/q/a.txt\r\nsrc/a.txt\r\n*.tmp\r\n/p/*.*\r\n")
        << QByteArray("/p/src") << QByteArray();
    QTest::newRow("blanks and quotes at the ends of names kept")
        << QByteArray("/p/src/ lead\r\n/p/src/trail \r\n/p/src/\"q\"\r\n") << QByteArray("/p/src")
        << QByteArray("\"src/ lead\"\n\"src/trail \"\n\"src/\"q\"\"\n");
    QTest::newRow("wildcard characters and odd bytes pass as they are")
        << QByteArray("/p/src/q?x\r\n/p/src/[a]*\r\n/p/src/bad\xff\x01name\r\n")
        << QByteArray("/p/src")
        << QByteArray("\"src/q?x\"\n\"src/[a]*\"\n\"src/bad\xff\x01name\"\n");
}

void WrarTest::translateExclusions()
{
    QFETCH(QByteArray, skipFile);
    QFETCH(QByteArray, source);
    QTEST(wrar::TranslateExclusions(skipFile, source), "list");
}

void WrarTest::programPassesItsTranslationTo7Zip()
{
    FakeSevenZip sevenZip;
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath("my src/old"));
    QVERIFY(QDir(work.path()).mkpath("out"));
    QFile skip(work.filePath("skip.txt"));
    QVERIFY(skip.open(QIODevice::WriteOnly));
    skip.write(QFile::encodeName(work.filePath("my src/old/*.*")) + "\r\n\r\n");
    skip.close();

    // Relative names, as a user might give them; the source with a trailing separator.
    const WrarRun run = runWrar(
        {"a", "-r", "-v1440000b", "-m5", "-s", "-y", "out/tool.001", "my src/", "-x@skip.txt"},
        sevenZip.environment(), work.path());
    QCOMPARE(run.status, 0);

    const QList<QByteArray> received = readArgvDump(sevenZip.dump());
    QCOMPARE(received.size(), 13);
    QCOMPARE(received.mid(0, 8), (QList<QByteArray>{"a", "-t7z", "-sae", "-spd", "-mx=9", "-ms=on",
                                                    "-v1440000b", "-y"}));
    QCOMPARE(received.at(8), QByteArray("-scsWIN"));
    QVERIFY(received.at(9).startsWith("-x@"));
    QCOMPARE(received.mid(10),
             (QList<QByteArray>{"--", "out/tool", QFile::encodeName(work.filePath("my src"))}));
    // The translated list was private to the run.
    QVERIFY(!QFile::exists(QFile::decodeName(received.at(9).mid(3))));
}

// Benchmarks run 7-Zip alone with the command wrar reports; it must be the one it ran.
void WrarTest::measuredRunReportsThe7ZipCommand()
{
    FakeSevenZip sevenZip;
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath("my src"));
    const QStringList arguments{"a", "-r", "-v10000000b", "-y", "tool.001", "my src"};

    const WrarRun quiet = runWrar(arguments, sevenZip.environment(), work.path());
    QCOMPARE(quiet.status, 0);
    QVERIFY2(!quiet.errors.contains(QLatin1String("wrar-")), qPrintable(quiet.errors));

    QProcessEnvironment env = sevenZip.environment();
    env.insert("KESTO32_TIMINGS", "1");
    const WrarRun measured = runWrar(arguments, env, work.path());
    QCOMPARE(measured.status, 0);
    const QStringList lines = measured.errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QList<QByteArray> reported;
    QString program;
    bool timed = false;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("wrar-7zz-argument ")))
            reported << QFile::encodeName(line.mid(18));
        else if (line.startsWith(QLatin1String("wrar-7zz ")))
            program = line.mid(9);
        else if (line.startsWith(QLatin1String("wrar-timing 7zz ")))
            timed = true;
    }
    QCOMPARE(program, sevenZip.dir.filePath("7zz"));
    QCOMPARE(reported, readArgvDump(sevenZip.dump()));
    QVERIFY2(timed, qPrintable(measured.errors));
}

void WrarTest::refusesWithoutStarting7Zip_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("with7Zip");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("bad command line")
        << QStringList{"a", "-r", "-v500000b", "-y", "out/tool.rar", "src"} << true << 7
        << "usage: wrar a -r";
    QTest::newRow("unknown switch")
        << QStringList{"a", "-r", "-v0b", "-m3", "-y", "out/t.rar", "src"} << true << 7
        << "usage: wrar a -r";
    QTest::newRow("missing source")
        << QStringList{"a", "-r", "-v0b", "-y", "out/tool.rar", "missing"} << true << 2
        << "source not found: missing";
    QTest::newRow("missing list")
        << QStringList{"a", "-r", "-v0b", "-y", "out/tool.rar", "src", "-x@nolist.txt"} << true << 2
        << "cannot read the list nolist.txt";
    QTest::newRow("no 7-Zip on the path")
        << QStringList{"a", "-r", "-v0b", "-y", "out/tool.rar", "src"} << false << 2
        << "7-Zip (7zz or 7z) not found";
}

void WrarTest::refusesWithoutStarting7Zip()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, with7Zip);
    QFETCH(int, status);
    QFETCH(QString, message);

    FakeSevenZip sevenZip;
    QTemporaryDir work, emptyDir;
    QVERIFY(QDir(work.path()).mkpath("src/sub"));
    QVERIFY(QDir(work.path()).mkpath("out"));
    QProcessEnvironment env = sevenZip.environment();
    if (!with7Zip)
        env.insert("PATH", emptyDir.path());

    const WrarRun run = runWrar(arguments, env, work.path());
    QCOMPARE(run.status, status);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(!QFile::exists(sevenZip.dump()));
    QCOMPARE(entries(work.filePath("out")), QStringList());
}

void WrarTest::failedRunLeavesNoVolume_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("volumeKept");

    QTest::newRow("warning keeps the volumes") << "tool" << 1 << true;
    QTest::newRow("fatal error") << "tool" << 2 << false;
    QTest::newRow("stopped") << "tool" << 255 << false;
    QTest::newRow("name with wildcard characters") << "t[o]*?l" << 2 << false;
}

void WrarTest::failedRunLeavesNoVolume()
{
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(bool, volumeKept);

    FakeSevenZip sevenZip;
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath("src"));
    QVERIFY(QDir(work.path()).mkpath("out"));
    // Files that were there before the run are not the run's to remove.
    const QStringList before{name + ".005", name + ".txt", "other.001"};
    for (const QString &existing : before) {
        QFile file(work.filePath("out/" + existing));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QProcessEnvironment env = sevenZip.environment();
    env.insert("KESTO_ARGV_TOUCH", work.filePath("out/" + name + ".001"));
    env.insert("KESTO_ARGV_STATUS", QString::number(status));

    const WrarRun run =
        runWrar({"a", "-r", "-v500000b", "-y", "out/" + name + ".001", "src"}, env, work.path());
    QCOMPARE(run.status, status);
    QStringList expected = before;
    if (volumeKept)
        expected << name + ".001";
    expected.sort();
    QCOMPARE(entries(work.filePath("out")), expected);
}

KESTO_TEST_MAIN_WITH_ARGV_DUMP(WrarTest)
#include "test_wrar.moc"
