// The size program against what the archiver packs from the same tree.
#include <QProcess>
#include <QRegularExpression>
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

Result run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return {};
    QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    lines.removeLast(); // after the last line break
    return {process.exitCode(), lines, process.readAllStandardError()};
}

struct Totals {
    qint64 files = -1, bytes = -1, directories = -1;
    bool operator==(const Totals &) const = default;
};

// The line after "  Total of all files found".
Totals totalsOf(const Result &result)
{
    const qsizetype marker = result.lines.indexOf("  Total of all files found");
    static const QRegularExpression summary(
        R"(^ +([\d,]+) files?, ([\d,]+) bytes? in ([\d,]+) director(?:y|ies)$)");
    const auto match = summary.match(QString::fromLatin1(result.lines.value(marker + 1)));
    if (marker < 0 || !match.hasMatch())
        return {};
    const auto number = [&](int i) { return match.captured(i).remove(',').toLongLong(); };
    return {number(1), number(2), number(3)};
}

// The last line of 7-Zip's listing of what wrar packed: "<bytes> <packed> N files, M folders".
Totals packed(const QString &dir)
{
    QTemporaryDir out;
    const QString archive = out.filePath("t.rar");
    if (run(KESTO_BIN_DIR "/wrar", {"a", "-r", "-v0b", "-y", archive, dir}).exitCode != 0)
        return {};
    static const QRegularExpression summary(
        R"(^\S+ \S+ +(\d+) +(?:\d+ +)?(\d+) files?, (\d+) folders?$)");
    const QList<QByteArray> listing = run("7zz", {"l", archive}).lines;
    const auto match = summary.match(QString::fromLatin1(listing.value(listing.size() - 1)));
    if (!match.hasMatch())
        return {};
    return {match.captured(2).toLongLong(), match.captured(1).toLongLong(),
            match.captured(3).toLongLong()};
}

void write(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size);
}

} // namespace

class TestSizeTool : public QObject {
    Q_OBJECT

    QTemporaryDir outside;
    QString tree;

private slots:
    void initTestCase()
    {
        tree = outside.filePath("Tree");
        write(tree + "/top.bin", 1234);
        write(tree + "/.hidden", 7);
        write(tree + "/empty", 0);
        write(tree + "/Sub Dir/a.txt", 100'000);
        write(tree + "/Sub Dir/deeper/b.dat", 3);
        write(tree + "/Sub Dir/deeper/further/c", 65'537);
        write(tree + "/Gr\u00fc\u00dfe/\u00df.txt", 42);
        QDir().mkpath(tree + "/empty dir");
        QVERIFY(::link(QFile::encodeName(tree + "/top.bin"),
                       QFile::encodeName(tree + "/hard link")) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(tree + "/pipe"), 0600) == 0);
        // Links into a big tree outside, to a file outside and back up count as links.
        write(outside.filePath("elsewhere/big"), 5'000'000);
        const auto link = [this](const char *target, const char *name) {
            return ::symlink(target, QFile::encodeName(tree + name)) == 0;
        };
        QVERIFY(link("../../elsewhere", "/Sub Dir/dirlink"));
        QVERIFY(link("../elsewhere/big", "/filelink"));
        QVERIFY(link("nowhere", "/dangling"));
        QVERIFY(link("..", "/Sub Dir/loop"));
    }

    void totalAgreesWithTheArchive()
    {
        const Result result = run(KESTO_BIN_DIR "/size", {tree, "/s", "/t"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.errors, "");
        QCOMPARE(totalsOf(result), packed(tree));
        QCOMPARE(totalsOf(result).files, 13); // the hard link counts as a name of its own
    }

    // Nothing measured: never the current directory in place of one not given or not there.
    void missingDirectoryPrintsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("absent") << QStringList{tree + "/absent", "/s", "/t"} << 2
                                << QByteArray("absent");
        // "/s" first is a directory that does not exist, not the switch.
        QTest::newRow("switch-like name") << QStringList{"/s", "/t"} << 2 << QByteArray("/s");
        QTest::newRow("none") << QStringList{} << 7 << QByteArray("usage");
    }
    void missingDirectoryPrintsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, error);
        QProcess process;
        process.setWorkingDirectory(tree);
        process.start(KESTO_BIN_DIR "/size", arguments);
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), status);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        QVERIFY(process.readAllStandardError().contains(error));
    }

    // An unreadable directory is reported and the walk goes on; as root the program runs as
    // "nobody", since root reads everything.
    void unreadableDirectoryIsSkipped()
    {
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()), 0755) == 0);
        write(dir.filePath("open/a"), 10);
        write(dir.filePath("locked/secret"), 1000);
        write(dir.filePath("z/b"), 20);
        QVERIFY(::chmod(QFile::encodeName(dir.filePath("locked")), 0) == 0);
        QStringList command{KESTO_BIN_DIR "/size", dir.path(), "/s", "/t"};
        if (::geteuid() == 0)
            command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} +
                      command;
        const Result result = run(command.takeFirst(), command);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.errors.contains("locked"));
        QCOMPARE(totalsOf(result).files, 2);
        QCOMPARE(totalsOf(result).bytes, 30);
    }
};

QTEST_GUILESS_MAIN(TestSizeTool)
#include "test_size_tool.moc"
