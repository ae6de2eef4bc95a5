// Whole runs through the engine with the real archiver (our command runner starts wrar, wrar
// drives 7-Zip) and libzip, checked with unzip and 7zz as a recipient would: the volumes must
// unpack to the source tree less the skipped entries, byte for byte.
#include "engine/packaging_run.h"
#include "support/fakes.h"
#include "support/zip_inspect.h"
#include "system/command_runner.h"

#include <QProcess>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <map>

using namespace kesto;
using namespace kesto::test;
namespace fs = std::filesystem;

namespace {

// Relative path (the file system's bytes) to contents; nullopt for a directory.
using Tree = std::map<std::string, std::optional<std::string>>;

// A shell, had one been involved, would take these names apart.
const std::string SourceName = "my \"src\"; $(touch pwned)";
const std::string SkippedFile = "nested/deep/drop \"th\\is\".bin";

// About 1.2 MB that does not compress: three 500,000-byte volumes. Names are bytes: some are
// not valid UTF-8 and could not pass through a QString.
Tree sampleTree()
{
    Tree tree{{"data", {}},    {"nested", {}},        {"nested/deep", {}}, {"nested/deep/er", {}},
              {"skip me", {}}, {"skip me/inner", {}}, {"skip me too", {}}, {"empty", {}}};
    tree["data/random.bin"] = randomBytes(1'000'000, 1).toStdString();
    tree["data/lines.txt"] =
        QByteArray("a line of a text that packs well\r\n").repeated(9999).toStdString();
    tree["nested/deep/er/more.bin"] = randomBytes(200'000, 2).toStdString();
    tree[SkippedFile] = randomBytes(100'000, 3).toStdString();
    tree[SkippedFile + ".kept"] = "the skipped file's longer neighbour\n";
    tree["skip me/inner/big.bin"] = randomBytes(300'000, 4).toStdString();
    tree["skip me/x.txt"] = "skipped\n";
    tree["skip me too/x.txt"] = "kept although its name begins like a skipped one\n";
    for (const char *name : {"name with blanks.txt", "quote\"d.txt", "$(touch pwned)", "semi;colon",
                             "-rf", "q?x", "[x]*", "bad\xff\xfename", "caf\xc3\xa9.txt"})
        tree[name] = std::string(name) + "\n";
    tree["zero"] = "";
    return tree;
}

void writeTree(const fs::path &root, const Tree &tree)
{
    fs::create_directories(root);
    for (const auto &[relative, contents] : tree) {
        if (!contents)
            fs::create_directories(root / relative);
        else
            std::ofstream(root / relative, std::ios::binary) << *contents;
    }
}

Tree readTree(const fs::path &root)
{
    Tree tree;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        auto &contents = tree[entry.path().lexically_relative(root).string()];
        if (!entry.is_directory()) {
            std::ifstream in(entry.path(), std::ios::binary);
            contents = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return tree;
}

// Names only: a mismatch must be readable.
QStringList describe(const Tree &tree)
{
    QStringList names;
    for (const auto &[relative, contents] : tree)
        names << QFile::decodeName(relative.c_str()) + (contents ? "" : "/");
    return names;
}

// The hostile tree, a numbered description, the nfo in the first archive only and an extra
// directory, packed by the real archiver.
void makeJob(TestSession &t, SystemCommandRunner &runner, int position)
{
    t.session.svc.runner = &runner;
    JobSettings &job = t.session.job;
    job.SourcePath = t.root.filePath(QString::fromStdString(SourceName));
    writeTree(QFile::encodeName(job.SourcePath).constData(), sampleTree());
    job.SkipList = job.SourcePath + "/skip me/*.*\r\n" + job.SourcePath + "/" +
                   QFile::decodeName(SkippedFile.c_str()) + "\r\n";
    job.DizPath = t.writeFile("in/file_id.diz", "Sample release\r\nDisk xxx/xxx of the set\r\n");
    job.DizAutoNumber = true;
    job.DizLine = "2";
    job.DizColumn = "6";
    job.NfoPath = t.writeFile("in/release.nfo", "Release notes\r\n");
    job.NfoFirstOnly = Checked;
    job.ExtraIsDirectory = true;
    t.writeFile("extra/one.txt", "one");
    t.writeFile("extra/two", "two");
    job.ExtraPath = t.root.filePath("extra");
    job.ZipDir = t.root.filePath("out");
    QDir().mkpath(job.ZipDir);
    job.ZipName = "tool";
    job.VolumeSizeSetting = qint16(position);
    job.RarSolid = position ? Checked : Unchecked;
}

} // namespace

class PackagingEndToEndTest : public QObject {
    Q_OBJECT

    SystemCommandRunner runner_;

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("7zz").isEmpty(), "7-Zip (7zz) is needed");
        // The runner finds our wrar beside the program, as kesto32 finds it.
        QCOMPARE(QFileInfo(FindProgram("wrar")).canonicalFilePath(),
                 QFileInfo(KESTO_BIN_DIR "/wrar").canonicalFilePath());
    }

    void series_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("volumes");
        QTest::newRow("half-megabyte volumes, solid")
            << 1 << QStringList{"tool.001", "tool.002", "tool.003"};
        QTest::newRow("one unlimited archive") << 0 << QStringList{"tool.rar"};
    }

    void series()
    {
        QFETCH(int, position);
        QFETCH(QStringList, volumes);
        TestSession t;
        makeJob(t, runner_, position);
        const QString out = t.session.job.ZipDir + "/";
        // A shell, had one been involved, would have made "pwned" in the current directory.
        const QString oldDir = QDir::currentPath();
        QDir::setCurrent(t.root.path());
        const auto failure = RunPackaging(t.session);
        QDir::setCurrent(oldDir);

        QVERIFY2(!failure, failure ? qPrintable(BatchReason(*failure)) : "");
        QVERIFY(!QFile::exists(t.root.filePath("pwned")));
        QCOMPARE(t.window.statusText, "Kesting complete");
        const qsizetype count = volumes.size();
        QCOMPARE(t.window.volumeText, QString(" %1 of %1").arg(count));
        QVERIFY(!QFileInfo::exists(t.session.state.WorkDir));
        QCOMPARE(t.sound.played, QStringList{t.appDir() + "/kst.wav"});

        const QString unpacked = t.root.filePath("unpacked/");
        QDir().mkpath(unpacked);
        for (qsizetype i = 0; i < count; ++i) {
            const QString number = QString::number(i + 1).rightJustified(3, '0');
            const QString archive = out + "tool" + (position ? number : "") + ".zip";
            QVERIFY2(unzipTests(archive), qPrintable(archive));
            QStringList expected{volumes[i], "file_id.diz", "one.txt", "two"};
            if (i == 0)
                expected << "release.nfo";
            QStringList names = unzipNames(archive);
            QCOMPARE(names.size(), expected.size());
            for (const QString &name : expected)
                QVERIFY2(names.contains(name), qPrintable(name));
            QCOMPARE(unzipContent(archive, "file_id.diz"),
                     "Sample release\r\nDisk " + number.toLatin1() + "/" +
                         QByteArray::number(count).rightJustified(3, '0') + " of the set\r\n");
            QCOMPARE(QProcess::execute("unzip", {"-q", archive, volumes[i], "-d", unpacked}), 0);
            // Every volume but the last is full.
            const qint64 size = QFileInfo(unpacked + volumes[i]).size();
            QVERIFY(position == 0 || size == 500'000 || (i + 1 == count && size < 500'000));
        }
        QCOMPARE(entriesOf(out).size(), count);
        QCOMPARE(unzipContent(out + entriesOf(out).first(), "release.nfo"),
                 "Release notes\r\n\r\n" + QByteArray(28, ' ') +
                     "Packaged with Kesto32 by ZWT\r\n");

        QCOMPARE(QProcess::execute("7zz", {"x", "-y", "-bso0", "-bsp0",
                                           "-o" + unpacked + "extracted", unpacked + volumes[0]}),
                 0);
        QCOMPARE(entriesOf(unpacked + "extracted"),
                 QStringList{QFile::decodeName(SourceName.c_str())});
        Tree expected = sampleTree();
        std::erase_if(expected, [](const auto &entry) {
            return (entry.first.starts_with("skip me") &&
                    !entry.first.starts_with("skip me too")) ||
                   entry.first == SkippedFile;
        });
        const Tree got =
            readTree(QFile::encodeName(unpacked + "extracted/").constData() + SourceName);
        if (got != expected)
            QCOMPARE(describe(got), describe(expected)); // names differ: show them
        QVERIFY2(got == expected, "same names, different contents");
    }
};

QTEST_GUILESS_MAIN(PackagingEndToEndTest)
#include "test_packaging_e2e.moc"
