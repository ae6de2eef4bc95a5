// The archiver step for real: our command runner starts wrar, wrar drives 7-Zip, and what 7-Zip
// unpacks from the volumes must be the source tree less the skipped entries, byte for byte.
#include "engine/archiver_step.h"
#include "engine/run_plan.h"
#include "support/fakes.h"
#include "system/command_runner.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>

using namespace kesto;
using namespace kesto::test;
namespace fs = std::filesystem;

namespace {

// Relative path (the file system's bytes) to contents; nullopt for a directory.
using Tree = std::map<std::string, std::optional<std::string>>;

const std::string SourceName = "my \"src\"; $(touch pwned)";

std::string randomBytes(size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(generator() & 0xff);
    return bytes;
}

std::string textBytes(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(i) + " of a text that packs well\r\n";
    return text;
}

// Names are built from bytes: some are not valid UTF-8 and could not pass through a QString.
Tree sampleTree()
{
    Tree tree;
    const auto dir = [&](const std::string &path) { tree[path] = std::nullopt; };
    const auto file = [&](const std::string &path, std::string bytes) { tree[path] = bytes; };
    dir("data");
    file("data/random.bin", randomBytes(1'700'000, 1));
    file("data/lines.txt", textBytes(20'000));
    dir("nested");
    dir("nested/deep");
    dir("nested/deep/er");
    file("nested/deep/er/more.bin", randomBytes(400'000, 2));
    file("nested/deep/drop \"th\\is\".bin", randomBytes(100'000, 3));
    file("nested/deep/drop \"th\\is\".bin.kept", "the skipped file's longer neighbour\n");
    file("nested/deep/keep.txt", "kept\n");
    dir("skip me");
    dir("skip me/inner");
    file("skip me/inner/big.bin", randomBytes(300'000, 4));
    file("skip me/x.txt", "skipped\n");
    dir("skip me too");
    file("skip me too/x.txt", "kept although its name begins like a skipped one\n");
    dir("empty");
    file("name with blanks.txt", "blanks\n");
    file("quote\"d.txt", "quote\n");
    file("$(touch pwned)", "no shell\n");
    file("semi;colon", "semicolon\n");
    file("-rf", "leading dash\n");
    file("q?x", "question mark\n");
    file("[x]*", "brackets and star\n");
    file("bad\xff\xfename", "not UTF-8\n");
    file("caf\xc3\xa9.txt", "UTF-8\n");
    file("zero", "");
    return tree;
}

bool writeTree(const fs::path &root, const Tree &tree)
{
    std::error_code error;
    fs::create_directories(root, error);
    for (const auto &[relative, contents] : tree) {
        const fs::path path = root / relative;
        if (!contents) {
            fs::create_directories(path, error);
            if (error)
                return false;
            continue;
        }
        std::ofstream out(path, std::ios::binary);
        out.write(contents->data(), std::streamsize(contents->size()));
        if (!out)
            return false;
    }
    return true;
}

Tree readTree(const fs::path &root)
{
    Tree tree;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_directory()) {
            tree[relative] = std::nullopt;
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            tree[relative] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return tree;
}

// Names only: a mismatch must be readable.
QStringList describe(const Tree &tree)
{
    QStringList names;
    for (const auto &[relative, contents] : tree)
        names << QString::fromLocal8Bit(relative.c_str()) +
                     (contents ? QStringLiteral(" (%1 bytes)").arg(contents->size())
                               : QStringLiteral("/"));
    return names;
}

QString sevenZip()
{
    const QString sevenZz = QStandardPaths::findExecutable(QStringLiteral("7zz"));
    return sevenZz.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("7z")) : sevenZz;
}

QString sourcePath(const QTemporaryDir &dir)
{
    return QFile::decodeName((fs::path(dir.path().toStdString()) / SourceName).c_str());
}

} // namespace

class ArchiverEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void volumesUnpackToTheTreeLessSkipped_data();
    void volumesUnpackToTheTreeLessSkipped();
    void failedArchiverLeavesNoVolume();
};

void ArchiverEndToEndTest::initTestCase()
{
    QVERIFY2(!sevenZip().isEmpty(), "7-Zip (7zz) is needed on PATH");
    // The runner finds our wrar beside the program, as kesto32 finds it.
    QCOMPARE(QFileInfo(FindProgram("wrar")).canonicalFilePath(),
             QFileInfo(KESTO_BIN_DIR "/wrar").canonicalFilePath());
}

void ArchiverEndToEndTest::volumesUnpackToTheTreeLessSkipped_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<qint16>("rarSolid");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<qint64>("volumeSize"); // 0: one archive

    QTest::newRow("floppy volumes, solid, skip list") << 3 << Checked << true << 1'440'000LL;
    QTest::newRow("half-megabyte volumes, skip list") << 1 << Unchecked << true << 500'000LL;
    QTest::newRow("one archive") << 0 << Unchecked << false << 0LL;
}

void ArchiverEndToEndTest::volumesUnpackToTheTreeLessSkipped()
{
    QFETCH(int, position);
    QFETCH(qint16, rarSolid);
    QFETCH(bool, skip);
    QFETCH(qint64, volumeSize);

    TestSession ts;
    QTemporaryDir sources;
    const Tree tree = sampleTree();
    const QString source = sourcePath(sources);
    QVERIFY(writeTree(source.toStdString(), tree));
    const QString workDir = ts.path("work/Kesto001");
    QVERIFY(QDir().mkpath(workDir));

    SystemCommandRunner runner;
    ts.session.svc.runner = &runner;
    ts.session.job.SourcePath = source;
    ts.session.job.RarSolid = rarSolid;
    Tree expected = tree;
    if (skip) {
        ts.session.job.SkipList =
            source + "/skip me/*.*\r\n" + source + "/nested/deep/drop \"th\\is\".bin\r\n";
        std::erase_if(expected, [](const auto &entry) {
            return entry.first == "skip me" || entry.first.starts_with("skip me/") ||
                   entry.first == "nested/deep/drop \"th\\is\".bin";
        });
    }
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(position);
    plan.rarArchivePath = workDir + "/tool" + RarExtension(position);
    QVERIFY(PrepareArchiverStep(ts.session, plan));

    // A shell, had one been involved, would have made "pwned" in the current directory.
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(sources.path()));
    RunArchiverStep(ts.session, plan);
    QDir::setCurrent(oldDir);

    QVERIFY(runner.lastStarted());
    QCOMPARE(runner.lastExitStatus(), 0);
    QVERIFY(!QFile::exists(sources.filePath("pwned")));

    const QFileInfoList volumes =
        QDir(workDir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (volumeSize == 0) {
        QCOMPARE(volumes.size(), 1);
        QCOMPARE(volumes.first().fileName(), QStringLiteral("tool.rar"));
    } else {
        QVERIFY2(volumes.size() >= 2, "the tree must need several volumes");
        // Numbered without gaps from .001; every volume but the last is full, so the numbers
        // are the order in which the volumes were filled.
        QStringList names;
        for (const QFileInfo &volume : volumes)
            names << volume.fileName();
        names.sort();
        for (qsizetype i = 0; i < names.size(); ++i) {
            QCOMPARE(names.at(i), QStringLiteral("tool.%1").arg(i + 1, 3, 10, QLatin1Char('0')));
            const qint64 size = QFileInfo(workDir + "/" + names.at(i)).size();
            if (i + 1 < names.size())
                QCOMPARE(size, volumeSize);
            else
                QVERIFY(size > 0 && size <= volumeSize);
        }
    }
    QCOMPARE(QFileInfo(plan.rarArchivePath).isFile(), true);

    const QString unpacked = ts.path("unpacked");
    QVERIFY(QDir().mkpath(unpacked));
    QProcess extract;
    extract.setProgram(sevenZip());
    extract.setArguments({"x", "-y", "-o" + unpacked, "--", plan.rarArchivePath});
    extract.setStandardOutputFile(QProcess::nullDevice());
    extract.start();
    QVERIFY(extract.waitForFinished(-1));
    QCOMPARE(extract.exitCode(), 0);

    QCOMPARE(QDir(unpacked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QFile::decodeName(SourceName.c_str())});
    const Tree got = readTree(fs::path(unpacked.toStdString()) / SourceName);
    if (got != expected)
        QCOMPARE(describe(got), describe(expected)); // names differ: show them
    QVERIFY2(got == expected, "same names, different contents");
}

// 7-Zip cannot write the second volume (a directory holds its name): the run fails and no
// volume of it stays behind, while what was there before does.
void ArchiverEndToEndTest::failedArchiverLeavesNoVolume()
{
    TestSession ts;
    QTemporaryDir sources;
    const QString source = sourcePath(sources);
    QVERIFY(writeTree(source.toStdString(), {{"random.bin", randomBytes(1'200'000, 5)}}));
    const QString workDir = ts.path("work/Kesto001");
    QVERIFY(QDir().mkpath(workDir + "/tool.002"));

    SystemCommandRunner runner;
    ts.session.svc.runner = &runner;
    ts.session.job.SourcePath = source;
    RunPlan plan;
    plan.sizeSwitch = SizeSwitch(1);
    plan.rarArchivePath = workDir + "/tool" + RarExtension(1);
    QVERIFY(PrepareArchiverStep(ts.session, plan));
    RunArchiverStep(ts.session, plan);

    QVERIFY(runner.lastStarted());
    QCOMPARE(runner.lastExitStatus(), 2);
    QCOMPARE(QDir(workDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"tool.002"});
    QCOMPARE(ts.window.archiverState, (QList<int>{1, 0}));
}

QTEST_GUILESS_MAIN(ArchiverEndToEndTest)
#include "test_archiver_e2e.moc"
