#include "support/argv_dump.h"
#include "support/zip_inspect.h"
#include "wrar/wrar_plan.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kesto::test;

namespace {

// Words of a command line written with blanks; '' stands for an empty word.
QStringList words(const QString &line)
{
    QStringList list = line.split(' ', Qt::SkipEmptyParts);
    list.replaceInStrings(QRegularExpression("^''$"), QString());
    return list;
}

struct WrarRun {
    int status = -1;
    QString errors;
};

// Runs our wrar in a work directory holding src/ and out/, with this test program standing in
// for 7zz on the PATH.
class WrarSetup {
public:
    WrarSetup()
    {
        QFile::link(QCoreApplication::applicationFilePath(), fake.filePath("7zz"));
        QDir(work.path()).mkpath("src/sub");
        QDir(work.path()).mkpath("out");
        env.insert("PATH", fake.path());
        env.insert("KESTO_ARGV_DUMP", dump());
    }
    QString dump() const { return fake.filePath("argv"); }
    QStringList out() const { return entriesOf(work.filePath("out")); }
    WrarRun run(const QStringList &arguments)
    {
        QProcess wrar;
        wrar.setProcessEnvironment(env);
        wrar.setWorkingDirectory(work.path());
        wrar.start(KESTO_BIN_DIR "/wrar", arguments);
        if (!wrar.waitForFinished(-1) || wrar.exitStatus() != QProcess::NormalExit)
            return {};
        return {wrar.exitCode(), QString::fromLocal8Bit(wrar.readAllStandardError())};
    }

    QTemporaryDir fake, work;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

} // namespace

class WrarTest : public QObject {
    Q_OBJECT

private slots:
    void sevenZipArguments_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("sevenZip"); // LIST: the translated list
        QTest::newRow("floppy volumes, solid, skip list")
            << "a -r -v1440000b -m5 -s -y /w/tool.001 /d/src -x@/sys/skip.txt"
            << "a -t7z -sae -spd -mx=9 -ms=on -v1440000b -y -scsWIN -x@LIST -- /w/tool /d/src";
        QTest::newRow("one unlimited archive") << "a -r -v0000b -y /w/tool.rar /d/src"
                                               << "a -t7z -sae -spd -mx=5 -y -- /w/tool.rar /d/src";
        QTest::newRow("any number of zeros is unlimited")
            << "a -r -v0b -y /w/tool.001 /d/src"
            << "a -t7z -sae -spd -mx=5 -y -- /w/tool.001 /d/src";
        QTest::newRow("strongest without solid")
            << "a -r -v500000b -m5 -y /w/t.001 /s"
            << "a -t7z -sae -spd -mx=9 -v500000b -y -- /w/t /s";
        QTest::newRow("solid at the normal level")
            << "a -r -v500000b -s -y /w/t.001 /s"
            << "a -t7z -sae -spd -mx=5 -ms=on -v500000b -y -- /w/t /s";
        QTest::newRow("largest size, leading zeros dropped")
            << "a -r -v0100000000b -y /w/t.001 /s"
            << "a -t7z -sae -spd -mx=5 -v100000000b -y -- /w/t /s";
        QTest::newRow("names that look like switches stay names")
            << "a -r -v0b -y -t.rar -x@src"
            << "a -t7z -sae -spd -mx=5 -y -- -t.rar -x@src";
    }

    void sevenZipArguments()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, sevenZip);
        wrar::Request request;
        QString error;
        QVERIFY2(wrar::ParseArguments(words(arguments), request, error), qPrintable(error));
        const QString list = request.listFile.isEmpty() ? QString() : "LIST";
        QCOMPARE(wrar::SevenZipArguments(request, list), words(sevenZip));
    }

    void refusedCommandLines()
    {
        const char *refused[] = {
            "",
            "x -r -v0b -y /w/t.rar /s",
            "A -r -v0b -y /w/t.rar /s",
            "a -v0b -y /w/t.rar /s",
            "a -r -v1440000 -y /w/t.001 /s",
            "a -r -v12kb -y /w/t.001 /s",
            "a -r -v1234567890123456789b -y /w/t.001 /s",
            "a -r -v0b -m3 -y /w/t.rar /s",
            "a -r -v0b -s -m5 -y /w/t.rar /s",
            "a -r -v0b /w/t.rar /s",
            "a -r -v0b -y /w/t.rar",
            "a -r -v0b -y /w/t.rar ''",
            "a -r -v0b -y /w/t.rar /s -x/l",
            "a -r -v0b -y /w/t.rar /s -x@",
            "a -r -v0b -y /w/t.rar /s /t",
            "a -r -v0b -y /w/t.rar /s -x@/l -x@/m",
            "a -r -v500000b -y /w/t.rar /s", // volumes need a first name ending in .001
        };
        for (const char *line : refused) {
            wrar::Request request;
            QString error;
            QVERIFY2(!wrar::ParseArguments(words(line), request, error), line);
            QVERIFY(!error.isEmpty());
        }
    }

    void translateExclusions_data()
    {
        QTest::addColumn<QByteArray>("skipFile");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("list");
        const QByteArray p = "/p/src";
        QTest::newRow("directory and file, closing empty line")
            << QByteArray("/p/src/old/*.*\r\n/p/src/docs/readme.txt\r\n\r\n") << p
            << QByteArray("\"src/old\"\n\"src/docs/readme.txt\"\n");
        QTest::newRow("lone LF and lone CR end lines too")
            << QByteArray("/p/src/a\n/p/src/b\r/p/src/c") << p
            << QByteArray("\"src/a\"\n\"src/b\"\n\"src/c\"\n");
        QTest::newRow("empty lines in between are skipped")
            << QByteArray("\r\n/p/src/a\r\n\r\n\r\n/p/src/b\r\n") << p
            << QByteArray("\"src/a\"\n\"src/b\"\n");
        QTest::newRow("source with blanks")
            << QByteArray("/p/my src/old/*.*\r\n") << QByteArray("/p/my src")
            << QByteArray("\"my src/old\"\n");
        QTest::newRow("source just below the root")
            << QByteArray("/src/a.txt\r\n") << QByteArray("/src") << QByteArray("\"src/a.txt\"\n");
        QTest::newRow("directory given with a trailing separator")
            << QByteArray("/p/src/old/\r\n") << p << QByteArray("\"src/old\"\n");
        QTest::newRow("the source itself leaves out everything")
            << QByteArray("/p/src/*.*\r\n") << p << QByteArray("\"src\"\n");
        QTest::newRow("outside the source: neighbour, other tree, relative, bare pattern")
            << QByteArray("/p/src2/a.txt\r\n/q/a.txt\r\nsrc/a.txt\r\n*.tmp\r\n/p/*.*\r\n") << p
            << QByteArray();
        QTest::newRow("blanks and quotes at the ends of names kept")
            << QByteArray("/p/src/ lead\r\n/p/src/trail \r\n/p/src/\"q\"\r\n") << p
            << QByteArray("\"src/ lead\"\n\"src/trail \"\n\"src/\"q\"\"\n");
        QTest::newRow("wildcard characters and odd bytes pass as they are")
            << QByteArray("/p/src/q?x\r\n/p/src/[a]*\r\n/p/src/bad\xff\x01name\r\n") << p
            << QByteArray("\"src/q?x\"\n\"src/[a]*\"\n\"src/bad\xff\x01name\"\n");
    }

    void translateExclusions()
    {
        QFETCH(QByteArray, skipFile);
        QFETCH(QByteArray, source);
        QTEST(wrar::TranslateExclusions(skipFile, source), "list");
    }

    void programPassesItsTranslationTo7Zip()
    {
        WrarSetup wrar;
        QDir(wrar.work.path()).mkpath("my src/old");
        QFile skip(wrar.work.filePath("skip.txt"));
        QVERIFY(skip.open(QIODevice::WriteOnly));
        skip.write(QFile::encodeName(wrar.work.filePath("my src/old/*.*")) + "\r\n\r\n");
        skip.close();

        // Relative names, as a user might give them; the source with a trailing separator.
        const WrarRun run = wrar.run(
            {"a", "-r", "-v1440000b", "-m5", "-s", "-y", "out/tool.001", "my src/", "-x@skip.txt"});
        QCOMPARE(run.status, 0);

        QList<QByteArray> received = readArgvDump(wrar.dump());
        QCOMPARE(received.size(), 13);
        const QString list = QFile::decodeName(received.takeAt(9).mid(3));
        QCOMPARE(received.join(' '), "a -t7z -sae -spd -mx=9 -ms=on -v1440000b -y -scsWIN -- "
                                     "out/tool " +
                                         QFile::encodeName(wrar.work.filePath("my src")));
        // The translated list was private to the run.
        QVERIFY(!list.isEmpty() && !QFile::exists(list));
    }

    void refusesWithoutStarting7Zip_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("with7Zip");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad command line")
            << "a -r -v500000b -y out/tool.rar src" << true << 7 << "usage: wrar a -r";
        QTest::newRow("missing source")
            << "a -r -v0b -y out/tool.rar missing" << true << 2 << "source not found: missing";
        QTest::newRow("missing list") << "a -r -v0b -y out/tool.rar src -x@nolist.txt" << true << 2
                                      << "cannot read the list nolist.txt";
        QTest::newRow("no 7-Zip on the path")
            << "a -r -v0b -y out/tool.rar src" << false << 2 << "7-Zip (7zz or 7z) not found";
    }

    void refusesWithoutStarting7Zip()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, with7Zip);
        QFETCH(int, status);
        QFETCH(QString, message);
        WrarSetup wrar;
        QTemporaryDir emptyDir;
        if (!with7Zip)
            wrar.env.insert("PATH", emptyDir.path());

        const WrarRun run = wrar.run(words(arguments));
        QCOMPARE(run.status, status);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        QVERIFY(!QFile::exists(wrar.dump()));
        QCOMPARE(wrar.out(), QStringList());
    }

    void failedRunLeavesNoVolume_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::newRow("warning keeps the volumes") << "tool" << 1;
        QTest::newRow("fatal error") << "tool" << 2;
        QTest::newRow("stopped") << "tool" << 255;
        QTest::newRow("name with wildcard characters") << "t[o]*?l" << 2;
    }

    void failedRunLeavesNoVolume()
    {
        QFETCH(QString, name);
        QFETCH(int, status);
        WrarSetup wrar;
        // Files that were there before the run are not the run's to remove.
        QStringList expected{name + ".005", name + ".txt", "other.001"};
        for (const QString &existing : expected)
            QVERIFY(QFile(wrar.work.filePath("out/" + existing)).open(QIODevice::WriteOnly));
        wrar.env.insert("KESTO_ARGV_TOUCH", wrar.work.filePath("out/" + name + ".001"));
        wrar.env.insert("KESTO_ARGV_STATUS", QString::number(status));

        QCOMPARE(wrar.run({"a", "-r", "-v500000b", "-y", "out/" + name + ".001", "src"}).status,
                 status);
        if (status == 1)
            expected << name + ".001";
        expected.sort();
        QCOMPARE(wrar.out(), expected);
    }
};

KESTO_TEST_MAIN_WITH_ARGV_DUMP(WrarTest)
#include "test_wrar.moc"
