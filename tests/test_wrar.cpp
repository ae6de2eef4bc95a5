// wrar against the real 7-Zip, checked as a recipient sees the set (the tree back exactly, links
// as links, solid only when asked, the volumes), and its refusals; the skip file's translation
// and the command lines it refuses as tables.
#include "support/argv_dump.h"
#include "support/rows.h"
#include "support/zip_inspect.h"
#include "wrar/wrar_plan.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <map>

using namespace kesto::test;
namespace fs = std::filesystem;

namespace {

// A tree as relative path -> "->target" for a link, the contents for a file, "/" for a folder.
using Tree = std::map<std::string, std::string>;

Tree readTree(const fs::path &root)
{
    Tree tree;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        std::string &value = tree[entry.path().lexically_relative(root).string()];
        if (entry.is_symlink()) {
            value = "->" + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            value = "/";
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            value = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return tree;
}

QByteArray output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
               ? process.readAllStandardOutput()
               : QByteArray("failed");
}

// Words of a command line written with blanks; '' stands for an empty word.
QStringList words(const QString &line)
{
    QStringList list = line.split(' ', Qt::SkipEmptyParts);
    list.replaceInStrings(QRegularExpression("^''$"), QString());
    return list;
}

// wrar's switches, the source as named (a folder, or "link" to src) and the archive (made in
// out/, named relative to it); what the set must be.
const struct {
    const char *name, *switches, *source, *archive;
    char solid;
    const char *level, *files;
} packings[] = {
    {"one archive, not solid", "-v0000b", "src", "t.rar", '-', "-mx=5", "t.rar"},
    {"volumes, best, solid", "-v100000b -m5 -s", "src", "t.001", '+', "-mx=9", "t.001 t.002 t.003"},
    // The source named through a link is the folder it names; its own name is stored.
    {"source named through a link", "-v0000b", "link", "t.rar", '-', "-mx=5", "t.rar"},
    {"names that look like switches", "-v0000b", "-x@src", "-t.rar", '-', "-mx=5", "-t.rar"},
};

// The list 7-Zip is given for a skip file, the source being /p/src unless given.
const struct {
    const char *name, *skipFile, *list, *source = "/p/src", *packed = "";
} exclusions[] = {
    {"directory and file, closing empty line", "/p/src/old/*.*\r\n/p/src/docs/readme.txt\r\n\r\n",
     "\"src/old\"\n\"src/docs/readme.txt\"\n"},
    {"lone LF and lone CR end lines too", "/p/src/a\n/p/src/b\r/p/src/c",
     "\"src/a\"\n\"src/b\"\n\"src/c\"\n"},
    {"source with blanks", "/p/my src/old/*.*\r\n", "\"my src/old\"\n", "/p/my src"},
    {"source named through a link: stored under the target's name", "/p/src/old/*.*\r\n",
     "\"real/old\"\n", "/p/src", "/q/real"},
    {"source just below the root", "/src/a.txt\r\n", "\"src/a.txt\"\n", "/src"},
    {"directory with a trailing separator", "/p/src/old/\r\n", "\"src/old\"\n"},
    {"the source itself leaves out everything", "/p/src/*.*\r\n", "\"src\"\n"},
    {"outside: neighbour, other tree, relative, bare pattern",
     "/p/src2/a.txt\r\n/q/a.txt\r\nsrc/a.txt\r\n*.tmp\r\n/p/*.*\r\n", ""},
    {"blanks and quotes at the ends of names kept",
     "/p/src/ lead\r\n/p/src/trail \r\n/p/src/\"q\"\r\n",
     "\"src/ lead\"\n\"src/trail \"\n\"src/\"q\"\"\n"},
    {"wildcard characters and odd bytes pass as they are",
     "/p/src/q?x\r\n/p/src/[a]*\r\n/p/src/bad\xff\x01name\r\n",
     "\"src/q?x\"\n\"src/[a]*\"\n\"src/bad\xff\x01name\"\n"},
};

// Refused before 7-Zip starts: the exit status and what standard error says.
const struct {
    const char *name, *arguments;
    int status;
    const char *message;
    bool with7Zip = true;
} refusals[] = {
    {"bad command line", "a -r -v500000b -y out/tool.rar src", 7, "usage: wrar a -r"},
    {"missing source", "a -r -v0b -y out/tool.rar missing", 2, "source not found: missing"},
    {"missing list", "a -r -v0b -y out/t.rar src -x@nolist", 2, "cannot read the list nolist"},
    {"no 7-Zip on the path", "a -r -v0b -y out/tool.rar src", 2, "7-Zip (7zz or 7z) not found",
     false},
};

} // namespace

class WrarTest : public QObject {
    Q_OBJECT

private slots:
    // Links stay links (one leading outside, a loop, one to a file outside), the skip file's
    // directory and file are left out, and the rest comes back exactly.
    void packs_data() { addRows(packings); }
    void packs()
    {
        const auto &row = currentRow(packings);
        QTemporaryDir work;
        const fs::path root = QFile::encodeName(work.path()).constData();
        const std::string source = row.source == std::string("link") ? "src" : row.source;
        const fs::path tree = root / source;
        fs::create_directories(tree / "sub/old");
        fs::create_directories(root / "outside/deep");
        fs::create_directories(root / "out");
        quint32 seed = 1;
        for (const char *name : {"a.bin", "sub/b.bin", "skipped", "sub/old/c", "../outside/deep/d"})
            std::ofstream(tree / name, std::ios::binary)
                << randomBytes(100'000, seed++).toStdString();
        fs::create_symlink("..", tree / "sub/loop");
        fs::create_symlink("../outside", tree / "outside");
        fs::create_symlink("/etc/passwd", tree / "passwd");
        fs::create_symlink(source, root / "link");
        const fs::path named = root / row.source;
        std::ofstream(root / "skip.txt") << (named / "skipped").string() << "\r\n"
                                         << (named / "sub/old/*.*").string() << "\r\n";

        QProcess wrar;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTO32_TIMINGS", "1"); // wrar reports the 7-Zip command it runs
        wrar.setProcessEnvironment(env);
        wrar.setWorkingDirectory(work.filePath("out"));
        wrar.start(KESTO_BIN_DIR "/wrar",
                   QStringList{"a", "-r"} + words(row.switches) +
                       QStringList{"-y", row.archive, QString::fromStdString(named.string()),
                                   "-x@" + work.filePath("skip.txt")});
        QVERIFY(wrar.waitForFinished(-1));
        const QString errors = QString::fromLocal8Bit(wrar.readAllStandardError());
        QVERIFY2(wrar.exitCode() == 0, qPrintable(errors));
        QVERIFY2(errors.contains("wrar-7zz-argument " + QString(row.level) + '\n'),
                 qPrintable(errors));
        QCOMPARE(entriesOf(work.filePath("out")).join(' '), row.files);

        const QString archive = work.filePath("out/") + row.archive;
        const QByteArray listing = output("7zz", {"l", "-slt", archive});
        QVERIFY2(listing.contains(QByteArray("\nSolid = ") + row.solid + '\n'),
                 listing.constData());
        // -snld20: the recipient asks for the links as stored, also those leading outside.
        QVERIFY(output("7zz", {"x", "-snld20", "-y", "-o" + work.filePath("x"), archive}) !=
                "failed");
        Tree expected = readTree(tree);
        for (const char *left : {"skipped", "sub/old", "sub/old/c", "passwd"})
            QVERIFY(expected.erase(left));
        QCOMPARE(expected.at("sub/loop"), "->..");
        Tree got = readTree(root / "x" / source);
        // 7-Zip re-roots an absolute link below the folder it unpacks to; the link as stored:
        QCOMPARE(
            output("7zz", {"x", "-so", "--", archive, QString::fromStdString(source + "/passwd")}),
            "/etc/passwd");
        QVERIFY(got["passwd"].starts_with("->"));
        got.erase("passwd");
        QCOMPARE(got.size(), expected.size());
        QVERIFY(got == expected);
    }

    void refusedCommandLines()
    {
        const char *refused[] = {
            "",
            "x -r -v0b -y /w/t.rar /s",
            "a -v0b -y /w/t.rar /s",
            "a -r -v1440000 -y /w/t.001 /s",
            "a -r -v1234567890123456789b -y /w/t.001 /s",
            "a -r -v0b -m3 -y /w/t.rar /s",
            "a -r -v0b /w/t.rar /s",
            "a -r -v0b -y /w/t.rar",
            "a -r -v0b -y /w/t.rar ''",
            "a -r -v0b -y /w/t.rar /s -x/l",
            "a -r -v0b -y /w/t.rar /s /t",
            "a -r -v0b -y /w/t.rar /s -x@/l -x@/m",
            "a -r -v500000b -y /w/t.rar /s"}; // the last: volumes need a first name ending .001
        for (const char *line : refused) {
            wrar::Request request;
            QString error;
            QVERIFY2(!wrar::ParseArguments(words(line), request, error), line);
            QVERIFY(!error.isEmpty());
        }
    }

    void translateExclusions_data() { addRows(exclusions); }
    void translateExclusions()
    {
        const auto &row = currentRow(exclusions);
        QCOMPARE(wrar::TranslateExclusions(row.skipFile, row.source, row.packed), row.list);
    }

    // This test program stands in for 7zz on the PATH: it must not be started.
    void refusesWithoutStarting7Zip_data() { addRows(refusals); }
    void refusesWithoutStarting7Zip()
    {
        const auto &row = currentRow(refusals);
        QTemporaryDir fake, work;
        QFile::link(QCoreApplication::applicationFilePath(), fake.filePath("7zz"));
        QDir(work.path()).mkpath("src/sub");
        QDir(work.path()).mkpath("out");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", row.with7Zip ? fake.path() : work.filePath("out"));
        env.insert("KESTO_ARGV_DUMP", fake.filePath("argv"));
        QProcess wrar;
        wrar.setProcessEnvironment(env);
        wrar.setWorkingDirectory(work.path());
        wrar.start(KESTO_BIN_DIR "/wrar", words(row.arguments));
        QVERIFY(wrar.waitForFinished(-1));
        QCOMPARE(wrar.exitCode(), row.status);
        const QString errors = QString::fromLocal8Bit(wrar.readAllStandardError());
        QVERIFY2(errors.contains(row.message), qPrintable(errors));
        QVERIFY(!QFile::exists(fake.filePath("argv")));
        QCOMPARE(entriesOf(work.filePath("out")), QStringList());
    }
};

KESTO_TEST_MAIN_WITH_ARGV_DUMP(WrarTest)
#include "test_wrar.moc"
