// The size program against what find and du count on the same tree.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result {
    int exitCode = -1;
    QList<QByteArray> lines;
    QByteArray errors;
};

QString sizeProgram()
{
    return QStringLiteral(KESTO_BIN_DIR "/size");
}

Result runProgram(const QString &program, const QStringList &arguments,
                  const QString &workingDir = {})
{
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(program, arguments);
    if (!process.waitForFinished(-1))
        return {};
    Result result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = process.readAllStandardOutput().split('\n');
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    result.errors = process.readAllStandardError();
    return result;
}

Result runSize(const QStringList &arguments, const QString &workingDir = {})
{
    return runProgram(sizeProgram(), arguments, workingDir);
}

struct Totals {
    qint64 files = -1;
    qint64 bytes = -1;
    qint64 directories = -1;
};

qint64 number(const QString &grouped)
{
    return QString(grouped).remove(QLatin1Char(',')).toLongLong();
}

// The line after "  Total of all files found".
Totals totalsOf(const Result &result)
{
    const qsizetype marker = result.lines.indexOf("  Total of all files found");
    if (marker < 0 || marker + 1 >= result.lines.size())
        return {};
    static const QRegularExpression summary(
        QStringLiteral(R"(^ +([\d,]+) files?, ([\d,]+) bytes? in ([\d,]+) director(?:y|ies)$)"));
    const auto match = summary.match(QString::fromLatin1(result.lines.at(marker + 1)));
    if (!match.hasMatch())
        return {};
    return {number(match.captured(1)), number(match.captured(2)), number(match.captured(3))};
}

// What find and du report for the regular files (each name counted) and the directories.
Totals reference(const QString &dir)
{
    Totals totals;
    const Result files = runProgram(QStringLiteral("find"), {dir, QStringLiteral("-type"), "f"});
    totals.files = files.lines.size();
    const Result dirs = runProgram(QStringLiteral("find"), {dir, QStringLiteral("-type"), "d"});
    totals.directories = dirs.lines.size();

    QProcess find;
    QProcess du;
    find.setStandardOutputProcess(&du);
    find.start(QStringLiteral("find"),
               {dir, QStringLiteral("-type"), QStringLiteral("f"), QStringLiteral("-print0")});
    du.start(QStringLiteral("du"),
             {QStringLiteral("--count-links"), QStringLiteral("--apparent-size"),
              QStringLiteral("-b"), QStringLiteral("-c"), QStringLiteral("--files0-from=-")});
    find.waitForFinished(-1);
    du.waitForFinished(-1);
    const QList<QByteArray> lines = du.readAllStandardOutput().trimmed().split('\n');
    if (lines.last().endsWith("\ttotal"))
        totals.bytes = lines.last().split('\t').first().toLongLong();
    return totals;
}

void write(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(size, 'x')) == size);
}

QByteArray header(const QString &path)
{
    QString shown = path;
    if (shown.contains(QLatin1Char(' ')))
        shown = QLatin1Char('"') + shown + QLatin1Char('"');
    return "  " + QFile::encodeName(shown.toUpper());
}

bool isRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class TestSizeTool : public QObject {
    Q_OBJECT

private:
    QTemporaryDir outside;
    QString tree;

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(sizeProgram()));
        QVERIFY(outside.isValid());
        tree = outside.filePath(QStringLiteral("Tree"));
        write(tree + "/top.bin", 1234);
        write(tree + "/.hidden", 7);
        write(tree + "/empty", 0);
        write(tree + "/Sub Dir/a.txt", 100'000);
        write(tree + "/Sub Dir/deeper/b.dat", 3);
        write(tree + "/Sub Dir/deeper/further/c", 65'537);
        write(tree + QString::fromUtf8("/Grüße/ß.txt"), 42);
        QDir().mkpath(tree + "/empty dir");
        QVERIFY(::link(QFile::encodeName(tree + "/top.bin").constData(),
                       QFile::encodeName(tree + "/hard link").constData()) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(tree + "/pipe").constData(), 0600) == 0);
        // Links into a big tree outside and to a file outside must not be counted.
        write(outside.filePath("elsewhere/big"), 5'000'000);
        QVERIFY(QFile::link(outside.filePath("elsewhere"), tree + "/Sub Dir/dirlink"));
        QVERIFY(QFile::link(outside.filePath("elsewhere/big"), tree + "/filelink"));
        QVERIFY(QFile::link(tree + "/nowhere", tree + "/dangling"));
        QVERIFY(QFile::link(tree, tree + "/Sub Dir/loop"));
    }

    void totalAgreesWithFindAndDu()
    {
        const Result result = runSize({tree, QStringLiteral("/s"), QStringLiteral("/t")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.errors.isEmpty());
        const Totals expected = reference(tree);
        const Totals got = totalsOf(result);
        QCOMPARE(got.files, expected.files);
        QCOMPARE(got.bytes, expected.bytes);
        QCOMPARE(got.directories, expected.directories);
        QCOMPARE(got.files, 8); // the hard link counts as a name of its own
    }

    void headersNameEachDirectoryAsCommandLinesDo()
    {
        const Result result = runSize({tree, QStringLiteral("/S"), QStringLiteral("/T")});
        QCOMPARE(result.exitCode, 0);
        // The first block is the directory as given, then its own files (hard link included).
        QCOMPARE(result.lines.value(0), header(tree));
        QCOMPARE(result.lines.value(1).trimmed(), QByteArray("4 files, 2,475 bytes"));
        const QString sub = tree + "/Sub Dir";
        const qsizetype subHeader = result.lines.indexOf(header(sub));
        QVERIFY(subHeader > 0);
        QVERIFY(header(sub).startsWith("  \"/")); // a blank: quoted, like a short path
        QCOMPARE(result.lines.value(subHeader + 1).trimmed(), QByteArray("1 file, 100,000 bytes"));
        QVERIFY(result.lines.contains(header(tree + QString::fromUtf8("/Grüße"))));
        QVERIFY(!result.lines.contains(header(sub + "/dirlink")));
        QVERIFY(!result.lines.contains(header(sub + "/loop")));
    }

    void switchesChooseDepthAndTotal_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<int>("headers");
        QTest::addColumn<bool>("total");
        QTest::newRow("both") << QStringList{"/s", "/t"} << 6 << true;
        QTest::newRow("tree without total") << QStringList{"/s"} << 6 << false;
        QTest::newRow("one directory with total") << QStringList{"/t"} << 1 << true;
        QTest::newRow("one directory") << QStringList{} << 1 << false;
    }

    void switchesChooseDepthAndTotal()
    {
        QFETCH(QStringList, switches);
        QFETCH(int, headers);
        QFETCH(bool, total);
        const Result result = runSize(QStringList{tree} + switches);
        QCOMPARE(result.exitCode, 0);
        int headerLines = 0;
        for (const QByteArray &line : result.lines)
            headerLines += line.startsWith("  /") || line.startsWith("  \"/");
        QCOMPARE(headerLines, headers);
        QCOMPARE(result.lines.contains("  Total of all files found"), total);
        if (total && headers == 1)
            QCOMPARE(totalsOf(result).files, 4);
    }

    void noDirectoryMeasuresTheCurrentOne()
    {
        const QString sub = tree + "/Sub Dir";
        const Result result = runSize({QStringLiteral("/s"), QStringLiteral("/t")}, sub);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.value(0), header(sub));
        QCOMPARE(totalsOf(result).files, 3);
        QCOMPARE(totalsOf(result).bytes, 165'540);
    }

    void missingDirectoryPrintsNothing()
    {
        const Result result = runSize({tree + "/absent", QStringLiteral("/s"), "/t"});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.lines.isEmpty());
        QVERIFY(result.errors.contains("absent"));
    }

    // An unreadable directory is reported and the walk goes on. Root reads everything, so as
    // root the program runs as "nobody" (setpriv drops the privileges).
    void unreadableDirectoryIsSkipped()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile::setPermissions(dir.path(),
                              QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
        write(dir.filePath("open/a"), 10);
        write(dir.filePath("locked/secret"), 1000);
        write(dir.filePath("z/b"), 20);
        QVERIFY(::chmod(QFile::encodeName(dir.filePath("locked")).constData(), 0) == 0);

        QString program = sizeProgram();
        QStringList arguments{dir.path(), QStringLiteral("/s"), QStringLiteral("/t")};
        if (isRoot()) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv: an unreadable directory cannot be made");
            arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} +
                        arguments;
            program = setpriv;
        }
        const Result result = runProgram(program, arguments);
        ::chmod(QFile::encodeName(dir.filePath("locked")).constData(), 0700);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.errors.contains("locked"));
        const Totals totals = totalsOf(result);
        QCOMPARE(totals.files, 2);
        QCOMPARE(totals.bytes, 30);
        QVERIFY(result.lines.contains(header(dir.filePath("z"))));
    }

    void usage()
    {
        QCOMPARE(runSize({QStringLiteral("a"), QStringLiteral("b")}).exitCode, 7);
        const Result help = runSize({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.lines.value(0).startsWith("usage: size"));
    }
};

QTEST_GUILESS_MAIN(TestSizeTool)
#include "test_size_tool.moc"
