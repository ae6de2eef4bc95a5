// A real series, made once by the program in batch mode with --checksums, then checked with
// --verify as it is and after each kind of damage a recipient may meet. Each damage must be named
// on a line of its own and fail the check. A second series carries a plain par2 recovery set:
// --verify says what it can repair, --repair rebuilds exactly that.
#include "describe/release_checks.h"
#include "engine/verify_series.h"
#include "job/script.h"
#include "support/rows.h"
#include "support/zip_inspect.h"
#include "system/recovery_check.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <zip.h>

using namespace kesto;
using namespace kesto::test;

namespace {

struct Outcome {
    int status = -1;
    QStringList lines;
};

// libzip, as a tool that rewrites an entry would: the archive stays a valid zip.
void replaceEntry(const QString &archive, const char *name, const QByteArray *bytes)
{
    zip_t *za = zip_open(QFile::encodeName(archive).constData(), 0, nullptr);
    QVERIFY(za);
    const zip_int64_t index = zip_name_locate(za, name, 0);
    QVERIFY(index >= 0);
    if (bytes) {
        zip_source_t *source = zip_source_buffer(za, bytes->constData(), bytes->size(), 0);
        QVERIFY(zip_file_replace(za, zip_uint64_t(index), source, 0) == 0);
    } else {
        QVERIFY(zip_delete(za, zip_uint64_t(index)) == 0);
    }
    QVERIFY(zip_close(za) == 0);
}

void rewrite(const QString &path, const std::function<void(QByteArray &)> &change)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    change(bytes);
    QVERIFY(file.resize(0) && file.seek(0) && file.write(bytes) == bytes.size());
}

// libzip adds an entry to an archive, from a file (deflated as it is read) or from bytes.
void addEntry(const QString &archive, const char *name, const QString &file,
              const QByteArray &bytes = {})
{
    zip_t *za = zip_open(QFile::encodeName(archive).constData(), 0, nullptr);
    QVERIFY(za);
    zip_source_t *source = file.isEmpty()
                               ? zip_source_buffer(za, bytes.constData(), bytes.size(), 0)
                               : zip_source_file(za, QFile::encodeName(file).constData(), 0, -1);
    const zip_int64_t index = zip_file_add(za, name, source, ZIP_FL_ENC_RAW);
    QVERIFY(index >= 0);
    QVERIFY(zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) == 0);
    QVERIFY(zip_close(za) == 0);
}

void setDescriptions(const QString &out, const QByteArray &text)
{
    for (const char *archive : {"/t001.zip", "/t002.zip", "/t003.zip"})
        replaceEntry(out + archive, "file_id.diz", &text);
    QVERIFY(QFile::remove(out + "/t.sfv") && QFile::remove(out + "/t.sha256"));
}

void copyFile(const QString &from, const QString &to)
{
    QVERIFY(QFile::copy(from, to));
}

struct Damage {
    const char *name;
    // What is done to the copy of the series (and of the source).
    std::function<void(const QString &out, const QString &source)> damage;
    bool against;     // --against the source (or what against names below the row), with --job
    const char *line; // the start of the line that must name it; none: the series passes
    const char *verified = nullptr;    // an archive below out to verify, instead of out --name t
    const char *job = nullptr;         // a script below the root for --job
    const char *againstPath = nullptr; // the source as --against names it, below the row
    bool memoryLimited = false;        // the check runs within 1 GB of address space
};

const Damage damages[] = {
    {"fresh series", [](const QString &, const QString &) {}, false, nullptr},
    {"fresh series, against its source", [](const QString &, const QString &) {}, true, nullptr},
    {"missing middle archive",
     [](const QString &out, const QString &) { QVERIFY(QFile::remove(out + "/t002.zip")); }, false,
     "t002.zip: missing"},
    {"one flipped byte in a volume",
     [](const QString &out, const QString &) {
         rewrite(out + "/t002.zip",
                 [](QByteArray &b) { b[b.size() / 2] = char(~b[b.size() / 2]); });
     },
     false, "t002.zip: t.002 is damaged"},
    {"stamp with the wrong total",
     [](const QString &out, const QString &) {
         const QByteArray diz = unzipContent(out + "/t002.zip", "file_id.diz");
         QVERIFY(diz.contains("002/003"));
         const QByteArray wrong = QByteArray(diz).replace("002/003", "002/004");
         replaceEntry(out + "/t002.zip", "file_id.diz", &wrong);
     },
     false, "t002.zip: the description says 002/004; expected 002/003"},
    {"no nfo in the first archive",
     [](const QString &out, const QString &) {
         replaceEntry(out + "/t001.zip", "notes.nfo", nullptr);
     },
     false, "t001.zip: holds no nfo"},
    {"an nfo in the second archive only",
     [](const QString &out, const QString &) {
         addEntry(out + "/t002.zip", "notes.nfo", {}, "Notes\r\n");
     },
     false, "t003.zip: holds no nfo, as the other archives do"},
    {"manifest disagrees",
     [](const QString &out, const QString &) {
         rewrite(out + "/t.sfv", [](QByteArray &b) {
             const qsizetype at = b.indexOf("t003.zip ") + 9;
             b[at] = b[at] == '0' ? '1' : '0';
         });
     },
     false, "t003.zip: CRC32"},
    {"a manifest lists an archive the series lacks",
     [](const QString &out, const QString &) {
         rewrite(out + "/t.sha256",
                 [](QByteArray &b) { b += QByteArray(64, '0') + "  t009.zip\n"; });
     },
     false, "t009.zip: listed in t.sha256 but not found"},
    {"source changed after packaging",
     [](const QString &, const QString &source) {
         rewrite(source + "/data/notes.txt", [](QByteArray &b) { b[3] = 'X'; });
     },
     true, "data/notes.txt: differs from the source"},
    {"stale archive beyond the end",
     [](const QString &out, const QString &) { copyFile(out + "/t003.zip", out + "/t004.zip"); },
     false, "t004.zip: stale archive"},
    {"checksums written beside a stale archive leave it out",
     [](const QString &out, const QString &) {
         copyFile(out + "/t003.zip", out + "/t004.zip");
         QCOMPARE(QProcess::execute(KESTO_BIN_DIR "/kesto32", {"--checksums", out + "/t001.zip"}),
                  0);
         QVERIFY(QFile::remove(out + "/t004.zip"));
     },
     false, nullptr},
    {"stale archive beyond the end, against the source",
     [](const QString &out, const QString &) { copyFile(out + "/t003.zip", out + "/t004.zip"); },
     true, "t004.zip: stale archive"},
    {"a series t1 beside it: t alone passes",
     [](const QString &out, const QString &) {
         for (const char *n : {"001", "002", "003"})
             copyFile(out + "/t" + n + ".zip", out + "/t1" + n + ".zip");
     },
     false, nullptr},
    {"a series t1 beside it: t1 alone passes",
     [](const QString &out, const QString &) {
         for (const char *n : {"001", "002", "003"})
             QVERIFY(QFile::rename(out + "/t" + n + ".zip", out + "/t1" + n + ".zip"));
         copyFile(out + "/t1001.zip", out + "/t001.zip");
     },
     false, nullptr, "t1001.zip"},
    {"t0001.zip beside it is not of the series",
     [](const QString &out, const QString &) { copyFile(out + "/t001.zip", out + "/t0001.zip"); },
     false, nullptr},
    {"manifests of a series t1 beside it leave t's alone",
     [](const QString &out, const QString &) {
         for (const char *n : {"001", "002", "003"})
             copyFile(out + "/t" + n + ".zip", out + "/t1" + n + ".zip");
         QCOMPARE(QProcess::execute(KESTO_BIN_DIR "/kesto32", {"--checksums", out + "/t1001.zip"}),
                  0);
         QVERIFY(QFile::exists(out + "/t1.sfv") && QFile::exists(out + "/t1.sha256"));
     },
     false, nullptr},
    {"an entry of no archive's",
     [](const QString &out, const QString &) {
         addEntry(out + "/t002.zip", "evil.txt", {}, "evil\n");
     },
     false, "t002.zip: evil.txt is not part of the series"},
    {"an entry that climbs out",
     [](const QString &out, const QString &) { addEntry(out + "/t002.zip", "../../x", {}, "x\n"); },
     false, "t002.zip: ../../x would unpack outside"},
    {"a description that inflates to 2 GiB",
     [](const QString &out, const QString &) {
         const QString zeros = out + "/../zeros";
         QFile file(zeros);
         QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(2) << 30));
         file.close();
         replaceEntry(out + "/t002.zip", "file_id.diz", nullptr);
         addEntry(out + "/t002.zip", "file_id.diz", zeros);
         QVERIFY(QFile::remove(zeros));
     },
     false, "t002.zip: file_id.diz is larger than", nullptr, nullptr, nullptr, true},
    {"numbering off, 001/999 in the description",
     [](const QString &out, const QString &) {
         setDescriptions(out, "Test release\r\nDisk 001/999\r\n");
     },
     false, nullptr},
    {"descriptions differing beyond the number",
     [](const QString &out, const QString &) {
         const QByteArray diz = unzipContent(out + "/t002.zip", "file_id.diz");
         const QByteArray other = QByteArray(diz).replace("Test", "Best");
         replaceEntry(out + "/t002.zip", "file_id.diz", &other);
     },
     false, "t002.zip: the description differs from t001.zip's"},
    {"no number at line 0",
     [](const QString &out, const QString &) {
         setDescriptions(out, "Test release\r\nDisk xxx/xxx\r\n");
     },
     false, nullptr, nullptr, "line0.kst"},
    {"against a renamed copy of the source", [](const QString &, const QString &) {}, true, nullptr,
     nullptr, nullptr, "renamed"},
    {"against the source through a link", [](const QString &, const QString &) {}, true, nullptr,
     nullptr, nullptr, "link"},
    {"a link changed in the source",
     [](const QString &, const QString &source) {
         QVERIFY(QFile::remove(source + "/data/outside"));
         QVERIFY(QFile::link("../../elsewhere", source + "/data/outside"));
     },
     true, "data/outside: link differs from the source"},
};

// par2 run directly, as a user would run it; true when it succeeded.
bool par2(const QString &dir, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start("par2", arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A plain 10 % set for the series r, as any PAR 2.0 client makes it.
void makeSet(const QString &out, const char *redundancy = "-r10")
{
    for (const QString &name : QDir(out).entryList({"r*.par2"}, QDir::Files))
        QVERIFY(QFile::remove(out + '/' + name));
    QVERIFY(par2(out, QStringList{"create", "-q", "-q", redundancy, "--", "r.par2"} +
                          QDir(out).entryList({"r0*.zip"}, QDir::Files)));
}

struct RecoveryCase {
    const char *name;
    // What is done to the copy of the series r (14 archives) and its set.
    std::function<void(const QString &out)> damage;
    int verifyStatus;
    const char *verifyLine; // a line --verify prints
    int repairStatus;
    // After the repair: every archive byte for byte the original and --verify passes; else
    // nothing in the directory changed.
    bool restored;
    bool withoutPar2 = false;
};

const RecoveryCase recoveryCases[] = {
    {"a missing, a flipped and a truncated archive within the set",
     [](const QString &out) {
         QVERIFY(QFile::remove(out + "/r005.zip"));
         rewrite(out + "/r003.zip",
                 [](QByteArray &b) { b[b.size() / 2] = char(~b[b.size() / 2]); });
         // A second name for the damaged archive: par2 must not write through ours.
         QVERIFY(::link(QFile::encodeName(out + "/r003.zip"),
                        QFile::encodeName(out + "/../damaged-r003")) == 0);
         QVERIFY(QFile::resize(out + "/r014.zip", QFileInfo(out + "/r014.zip").size() - 1000));
         // What a killed repair left: its links and a rebuilt archive.
         const QString left = out + "/.r.repair.kesto32-Ab12Cd";
         QVERIFY(QDir().mkpath(left));
         QVERIFY(QFile::link(out + "/r003.zip", left + "/r003.zip.1"));
         QVERIFY(QFile::link(out + "/r.par2", left + "/r.par2"));
         copyFile(out + "/r001.zip", left + "/r005.zip");
     },
     2, "repairable: 3 damaged or missing archive(s), recovery blocks needed", 0, true},
    {"beyond the set's capacity",
     [](const QString &out) {
         QVERIFY(QFile::remove(out + "/r004.zip") && QFile::remove(out + "/r005.zip"));
     },
     1, "beyond repair: 2 damaged or missing archive(s)", 1, false},
    {"a set without its index, a volume missing and one damaged",
     [](const QString &out) {
         QVERIFY(QFile::remove(out + "/r009.zip"));
         QVERIFY(QFile::remove(out + "/r.par2") && QFile::remove(out + "/r.vol031+32.par2"));
         rewrite(out + "/r.vol015+16.par2", [](QByteArray &b) { b[b.size() / 2] ^= 0x55; });
     },
     2, "warning: the recovery set is damaged or incomplete", 0, true},
    {"a set made for other archives",
     [](const QString &out) {
         // The set of a series whose seventh archive was another.
         const QString other = out + "/../other";
         QVERIFY(QDir().mkpath(other));
         for (const QString &name : QDir(out).entryList({"r0*.zip"}, QDir::Files))
             copyFile(out + '/' + name, other + '/' + name);
         rewrite(other + "/r007.zip", [](QByteArray &b) { b = randomBytes(b.size(), 3); });
         makeSet(other, "-r30");
         for (const QString &name : QDir(out).entryList({"r*.par2"}, QDir::Files))
             QVERIFY(QFile::remove(out + '/' + name));
         for (const QString &name : QDir(other).entryList({"r*.par2"}, QDir::Files))
             copyFile(other + '/' + name, out + '/' + name);
         QVERIFY(QFile::remove(out + "/r005.zip"));
     },
     1, "warning: the recovery set holds none of the blocks of r007.zip", 1, false},
    {"a foreign entry the set was made with",
     [](const QString &out) {
         addEntry(out + "/r002.zip", "evil.txt", {}, "evil\n");
         makeSet(out);
     },
     1, "r002.zip: evil.txt is not part of the series (not repairable", 1, false},
    {"intact", [](const QString &) {}, 0, "r: 14 archive(s), complete and intact", 0, false},
    {"par2 missing", [](const QString &out) { QVERIFY(QFile::remove(out + "/r005.zip")); }, 1,
     "warning: the recovery set cannot be used: par2 not found on PATH", 6, false, true},
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file of a directory with its bytes' hash and its time: what "nothing changed" compares.
QStringList stateOf(const QString &dir)
{
    QStringList state;
    for (const QFileInfo &info : QDir(dir).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        QFile file(info.filePath());
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        state << info.fileName() + ' ' + hash.result().toHex() + ' ' +
                     QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    return state;
}

// What par2's output was read as, in one line.
QString readAs(const Par2Report &report)
{
    QStringList parts;
    for (const Par2Target &target : report.targets) {
        const char *state[] = {"found", "damaged", "missing"};
        QString part = QString::fromLatin1(target.name.toPercentEncoding("\"- ")) + '=' +
                       state[int(target.state)];
        if (target.state == Par2Target::State::Damaged)
            part += QStringLiteral(" %1/%2").arg(target.blocksFound).arg(target.blocks);
        parts << part;
    }
    parts << QStringLiteral("data %1/%2 recovery %3")
                 .arg(report.dataBlocksAvailable)
                 .arg(report.dataBlocks)
                 .arg(report.recoveryBlocks);
    if (report.repairRequired)
        parts << (report.repairPossible ? QStringLiteral("possible")
                                        : QStringLiteral("short %1").arg(report.blocksStillNeeded));
    if (!report.unusable.isEmpty())
        parts << "unusable " + QString::fromLatin1(report.unusable.join(' '));
    if (report.repaired)
        parts << QStringLiteral("repaired");
    if (!report.understood)
        parts << "failed: " + report.failure;
    return parts.join(QStringLiteral(", "));
}

} // namespace

class SeriesVerifyTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    QString job_;
    bool memoryLimit_ = false;
    QString tmp_;  // the TMPDIR kesto32 gets
    QString path_; // the PATH kesto32 gets; empty: the test's own

    Outcome kesto32(const QStringList &arguments)
    {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTO32_SYSTEM_DIR", root_.filePath("sys"));
        env.insert("XDG_DATA_HOME", root_.filePath("data"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TMPDIR", tmp_);
        if (!path_.isEmpty())
            env.insert("PATH", path_);
        program.setProcessEnvironment(env);
        // AddressSanitizer reserves terabytes of address space for itself: there the plain
        // build's run of the same row checks the bound.
#ifdef __SANITIZE_ADDRESS__
        const bool addressLimitWorks = false;
#else
        const bool addressLimitWorks = true;
#endif
        if (memoryLimit_ && addressLimitWorks)
            program.setChildProcessModifier([] {
                const rlimit limit{rlim_t(1) << 30, rlim_t(1) << 30};
                ::setrlimit(RLIMIT_AS, &limit);
            });
        program.start(KESTO_BIN_DIR "/kesto32", arguments);
        program.waitForFinished(-1);
        Outcome outcome;
        outcome.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        outcome.lines =
            QString::fromLocal8Bit(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        outcome.lines +=
            QString::fromLocal8Bit(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return outcome;
    }

    static void copyDir(const QString &from, const QString &to)
    {
        QProcess cp;
        cp.start("cp", {"-a", from, to});
        QVERIFY(cp.waitForFinished(-1) && cp.exitCode() == 0);
    }

    // Every entry below dir with its size.
    static QStringList snapshot(const QString &dir)
    {
        QStringList found;
        for (QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            found << it.next() + ' ' + QString::number(it.fileInfo().size());
        found.sort();
        return found;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        const QString source = root_.filePath("source");
        QVERIFY(QDir().mkpath(source + "/data") && QDir().mkpath(source + "/scratch"));
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        // Incompressible: three volumes of 500,000 bytes.
        write(source + "/data/noise.bin", randomBytes(1'100'000, 7));
        write(source + "/data/notes.txt", "some notes\n");
        write(source + "/scratch/left out.tmp", "skipped");
        // Links of every reach and a name that is not UTF-8: the set keeps them as they are.
        QVERIFY(QFile::link("notes.txt", source + "/data/inside"));
        QVERIFY(QFile::link("/etc/hostname", source + "/data/absolute"));
        QVERIFY(QFile::link("../../outside", source + "/data/outside"));
        write(QFile::decodeName(QFile::encodeName(source) + "/data/caf\xe9.txt"), "latin-1\n");
        tmp_ = root_.filePath("tmp");
        QVERIFY(QDir().mkpath(tmp_));
        write(root_.filePath("file_id.diz"), "Test release\r\nDisk xxx/xxx\r\n");
        write(root_.filePath("notes.nfo"), "Notes\r\n");
        QVERIFY(QDir().mkpath(root_.filePath("out")));

        JobSettings job;
        job.SourcePath = source;
        job.SkipList = source + "/scratch/*.*\r\n";
        job.DizPath = root_.filePath("file_id.diz");
        job.DizAutoNumber = true;
        job.DizNoneSelected = false;
        job.DizColumn = "6";
        job.DizLine = "2";
        job.NfoPath = root_.filePath("notes.nfo");
        job.NfoFirstOnly = Checked;
        job.ZipDir = root_.filePath("out");
        job.ZipName = "t";
        job.VolumeSizeSetting = 1;
        job_ = root_.filePath("job.kst");
        write(job_, ScriptText(job, QDateTime::currentDateTime()));
        JobSettings line0 = job;
        line0.DizLine = "0";
        write(root_.filePath("line0.kst"), ScriptText(line0, QDateTime::currentDateTime()));

        const Outcome run = kesto32({"--checksums", "!" + job_});
        QVERIFY2(run.status == 0, qPrintable(run.lines.join('\n')));
        QCOMPARE(entriesOf(job.ZipDir),
                 (QStringList{"t.sfv", "t.sha256", "t001.zip", "t002.zip", "t003.zip"}));
        // The manifest is what sha256sum checks.
        QProcess sha;
        sha.setWorkingDirectory(job.ZipDir);
        sha.start("sha256sum", {"-c", "--quiet", "t.sha256"});
        QVERIFY(sha.waitForFinished(-1) && sha.exitCode() == 0);

        // A series of 14 archives with a plain 10 % recovery set: one archive is 7 % of it.
        QVERIFY(QDir().mkpath(root_.filePath("rec-source")));
        write(root_.filePath("rec-source/noise.bin"), randomBytes(6'800'000, 11));
        job.SourcePath = root_.filePath("rec-source");
        job.SkipList.clear();
        // An extra in every archive: an unreadable archive must not make it look foreign.
        write(root_.filePath("readme.txt"), "read me\r\n");
        job.ExtraIsFile = true;
        job.ExtraPath = root_.filePath("readme.txt");
        job.ZipName = "r";
        job.ZipDir = root_.filePath("rec");
        QVERIFY(QDir().mkpath(job.ZipDir));
        write(root_.filePath("rec.kst"), ScriptText(job, QDateTime::currentDateTime()));
        const Outcome made = kesto32({"!" + root_.filePath("rec.kst")});
        QVERIFY2(made.status == 0, qPrintable(made.lines.join('\n')));
        QCOMPARE(QDir(job.ZipDir).entryList({"r0*.zip"}).size(), 14);
        makeSet(job.ZipDir);
        // A PATH with 7-Zip and no par2.
        QVERIFY(QDir().mkpath(root_.filePath("no-par2")));
        QVERIFY(QFile::link(SevenZipProgram(), root_.filePath("no-par2/7zz")));
    }

    void verify_data()
    {
        addRows(damages);
    }

    void verify()
    {
        const Damage &row = currentRow(damages);
        QTemporaryDir copy(root_.filePath("row-XXXXXX"));
        copyDir(root_.filePath("out"), copy.filePath("out"));
        copyDir(root_.filePath("source"), copy.filePath("source"));
        row.damage(copy.filePath("out"), copy.filePath("source"));

        QStringList arguments{"--verify", copy.filePath("out"), "--name", "t"};
        if (row.verified)
            arguments = QStringList{"--verify", copy.filePath("out/") + row.verified};
        const QString source = copy.filePath("source");
        const QString against = row.againstPath ? copy.filePath(row.againstPath) : source;
        if (row.againstPath && QLatin1String(row.againstPath) == "renamed")
            QVERIFY(QDir().rename(source, against));
        else if (row.againstPath)
            QVERIFY(QFile::link(source, against));
        if (row.against)
            arguments << "--against" << against << "--job" << job_;
        if (row.job)
            arguments << "--job" << root_.filePath(row.job);
        memoryLimit_ = row.memoryLimited;
        tmp_ = copy.filePath("tmp");
        QVERIFY(QDir().mkpath(tmp_));
        const Outcome outcome = kesto32(arguments);
        memoryLimit_ = false;
        const QString report = outcome.lines.join('\n');
        // The volumes' private copies are gone, whatever the outcome.
        QCOMPARE(QDir(tmp_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        if (!row.line) {
            QVERIFY2(outcome.status == 0, qPrintable(report));
            QVERIFY2(outcome.lines.size() == 1 && outcome.lines[0].contains("complete and intact"),
                     qPrintable(report));
            return;
        }
        QVERIFY2(outcome.status == 1, qPrintable(report));
        QVERIFY2(std::any_of(outcome.lines.cbegin(), outcome.lines.cend(),
                             [&](const QString &line) { return line.startsWith(row.line); }),
                 qPrintable(report));
    }

    // A real series with a plain par2 set: what --verify says of each damage and what --repair
    // makes of it.
    void recovery_data()
    {
        addRows(recoveryCases);
    }

    void recovery()
    {
        const RecoveryCase &row = currentRow(recoveryCases);
        QTemporaryDir copy(root_.filePath("rec-XXXXXX"));
        const QString out = copy.filePath("out");
        copyDir(root_.filePath("rec"), out);
        row.damage(out);
        tmp_ = copy.filePath("tmp");
        QVERIFY(QDir().mkpath(tmp_));
        path_ = row.withoutPar2 ? root_.filePath("no-par2") : QString();
        // Named through the user's link to it: the repair still syncs the directory it writes in.
        QVERIFY(QFile::link(out, copy.filePath("link")));
        const QStringList arguments{copy.filePath("link"), "--name", "r"};

        const Outcome verify = kesto32(QStringList{"--verify"} + arguments);
        QVERIFY2(verify.status == row.verifyStatus, qPrintable(verify.lines.join('\n')));
        QVERIFY2(std::any_of(verify.lines.cbegin(), verify.lines.cend(),
                             [&](const QString &line) { return line.startsWith(row.verifyLine); }),
                 qPrintable(verify.lines.join('\n')));

        const QStringList before = stateOf(out);
        const Outcome repair = kesto32(QStringList{"--repair"} + arguments);
        QVERIFY2(repair.status == row.repairStatus, qPrintable(repair.lines.join('\n')));
        path_.clear();
        if (!row.restored) {
            QCOMPARE(stateOf(out), before);
            return;
        }
        // Every archive as it was made, nothing of ours left, and the whole check passes.
        const QStringList archives = QDir(root_.filePath("rec")).entryList({"r0*.zip"});
        QCOMPARE(QDir(out).entryList({"r0*.zip", ".*"}, QDir::Files | QDir::Dirs | QDir::Hidden |
                                                            QDir::NoDotAndDotDot),
                 archives);
        for (const QString &name : archives)
            QVERIFY2(contentOf(out + '/' + name) == contentOf(root_.filePath("rec/") + name),
                     qPrintable(name));
        if (QFile::exists(copy.filePath("damaged-r003")))
            QVERIFY(contentOf(copy.filePath("damaged-r003")) != contentOf(out + "/r003.zip"));
        const Outcome after = kesto32(QStringList{"--verify"} + arguments);
        QVERIFY2(after.status == 0, qPrintable(after.lines.join('\n')));
    }

    // par2's output, recorded from real runs (progress pieces end with a carriage return).
    void par2Output_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("read");
        const QByteArray loaded = "Loading \"t.par2\".\nLoading: 0.4%\rLoading: 99.7%\rLoaded 14 "
                                  "new packets\nLoading \"t.vol000+01.par2\".\nLoading: 2.2%\r"
                                  "Loaded 1 new packets including 1 recovery blocks\nLoading "
                                  "\"t.vol001+02.par2\".\nLoaded 2 new packets including 2 "
                                  "recovery blocks\nLoading \"t.par2\".\nNo new packets found\n\n"
                                  "There are 3 recoverable files and 0 other files.\nThe block "
                                  "size used was 904 bytes.\nThere are a total of 996 data "
                                  "blocks.\n\nVerifying source files:\n\nOpening: \"t001.zip\"\n"
                                  "Scanning: 0.1%\rScanning: 33.1%\r";
        QTest::newRow("all correct")
            << loaded + "Target: \"t001.zip\" - found.\nTarget: \"t002.zip\" - found.\nTarget: "
                        "\"t003.zip\" - found.\n\nAll files are correct, repair is not "
                        "required.\n"
            << 0 << "t001.zip=found, t002.zip=found, t003.zip=found, data 996/996 recovery 3";
        const QByteArray damaged = loaded + "Target: \"t001.zip\" - found.\nOpening: \"t002.zip\""
                                            "\nTarget: \"t003.zip\" - missing.\nScanning: 40.1%\r"
                                            "Target: \"t002.zip\" - damaged. Found 331 of 332 data "
                                            "blocks.\n\nScanning extra files:\n\n\nRepair is "
                                            "required.\n1 file(s) are missing.\n1 file(s) exist "
                                            "but are damaged.\n1 file(s) are ok.\nYou have 663 out "
                                            "of 996 data blocks available.\n";
        QTest::newRow("repairable")
            << damaged + "You have 598 recovery blocks available.\nRepair is possible.\nYou have "
                         "an excess of 265 recovery blocks.\n333 recovery blocks will be used to "
                         "repair.\n"
            << 1
            << "t001.zip=found, t003.zip=missing, t002.zip=damaged 331/332, data 663/996 recovery "
               "598, possible";
        QTest::newRow("beyond repair")
            << damaged + "You have 3 recovery blocks available.\nRepair is not possible.\nYou "
                         "need 330 more recovery blocks to be able to repair.\n"
            << 2
            << "t001.zip=found, t003.zip=missing, t002.zip=damaged 331/332, data 663/996 recovery "
               "3, short 330";
        QTest::newRow("a volume of the set unusable, the main file read twice")
            << QByteArray("Loading \"t.vol000+001.par2\".\nLoaded 15 new packets including 1 "
                          "recovery blocks\nLoading \"t.vol001+002.par2\".\nNo new packets found\n"
                          "Loading \"t.vol000+001.par2\".\nNo new packets found\n\nThere are a "
                          "total of 1992 data blocks.\n\nVerifying source files:\n\nTarget: "
                          "\"t001.zip\" - missing.\n\nRepair is required.\nYou have 1660 out of "
                          "1992 data blocks available.\nYou have 1 recovery blocks available.\n"
                          "Repair is not possible.\nYou need 331 more recovery blocks to be able "
                          "to repair.\n")
            << 2
            << "t001.zip=missing, data 1660/1992 recovery 1, short 331, unusable t.vol001+002.par2";
        QTest::newRow("no data found; a name with a quote, a dash and a byte not UTF-8")
            << QByteArray(
                   "Loading \"t.par2\".\nLoaded 6 new packets\nLoading \"t.vol0+1.par2\"."
                   "\nLoaded 1 new packets including 1 recovery blocks\n\nThere are a total "
                   "of 2 data blocks.\n\nVerifying source files:\n\nTarget: \"b.zip\" - "
                   "missing.\nOpening: \"we\" - x\xe9.zip\"\nFile: \"we\" - x\xe9.zip"
                   "\" - no data found.\n\nScanning extra files:\n\n\nRepair is required."
                   "\n1 file(s) are missing.\n1 file(s) exist but are damaged.\nYou have 0 "
                   "out of 2 data blocks available.\nYou have 1 recovery blocks available."
                   "\nRepair is not possible.\nYou need 1 more recovery blocks to be able to "
                   "repair.\n")
            << 2 << "b.zip=missing, we\" - x%E9.zip=damaged 0/-1, data 0/2 recovery 1, short 1";
        QTest::newRow("repaired")
            << damaged + "You have 598 recovery blocks available.\nRepair is possible.\n\n"
                         "Writing recovered data\nWrote 600000 bytes to disk\n\nVerifying "
                         "repaired files:\n\nOpening: \"t003.zip\"\nTarget: \"t003.zip\" - found."
                         "\nTarget: \"t002.zip\" - found.\n\nRepair complete.\n"
            << 0
            << "t001.zip=found, t003.zip=found, t002.zip=found, data 663/996 recovery 598, "
               "possible, repaired";
        QTest::newRow("par2 fails")
            << QByteArray("failed to set the main par file\n") << 3
            << "data -1/-1 recovery 0, failed: failed to set the main par file";
    }

    void par2Output()
    {
        QFETCH(QByteArray, output);
        QFETCH(int, status);
        QFETCH(QString, read);
        QCOMPARE(readAs(ParsePar2Output(output, status)), read);
    }

    // A stop while 7-Zip checks the set or par2 repairs it: the program it waits for ends too,
    // the volumes' copies and our directory in the series' directory go, nothing changes, 128+N.
    void stopped_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("command");
        QTest::newRow("7-Zip checking the set") << "7zz"
                                                << "--verify";
        QTest::newRow("par2 repairing") << "par2"
                                        << "--repair";
    }

    void stopped()
    {
        QFETCH(QString, program);
        QFETCH(QString, command);
        QTemporaryDir dir(root_.filePath("stop-XXXXXX"));
        const QString out = dir.filePath("out"), started = dir.filePath("started");
        copyDir(root_.filePath("rec"), out);
        QVERIFY(QFile::remove(out + "/r005.zip"));
        QVERIFY(QDir().mkpath(dir.filePath("bin")) && QDir().mkpath(dir.filePath("tmp")));
        // par2 checks as itself and hangs in the repair; 7-Zip hangs at once.
        QFile script(dir.filePath("bin/") + program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        const QByteArray hang = "echo $$ > \"" + QFile::encodeName(started) + "\"; exec sleep 60";
        script.write(program == "par2"
                         ? "#!/bin/sh\nif [ \"$1\" = repair ]; then " + hang + "; fi\nexec \"" +
                               QFile::encodeName(QStandardPaths::findExecutable("par2")) +
                               "\" \"$@\"\n"
                         : "#!/bin/sh\n" + hang + "\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        const QStringList before = stateOf(out);

        QProcess kesto;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", dir.filePath("bin") + ':' + env.value("PATH"));
        env.insert("TMPDIR", dir.filePath("tmp"));
        kesto.setProcessEnvironment(env);
        kesto.start(KESTO_BIN_DIR "/kesto32", {command, out, "--name", "r"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(started).size() > 0, 60'000);
        QCOMPARE(::kill(pid_t(kesto.processId()), SIGTERM), 0);
        QVERIFY(kesto.waitForFinished(30'000));
        QCOMPARE(kesto.exitCode(), 128 + SIGTERM);
        QCOMPARE(stateOf(out), before);
        QCOMPARE(QDir(dir.filePath("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QFile pid(started);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const QString stat = "/proc/" + QString::fromLatin1(pid.readAll().trimmed()) + "/stat";
        const auto running = [&stat] {
            QFile file(stat);
            return file.open(QIODevice::ReadOnly) && !file.readAll().contains(") Z");
        };
        QTRY_VERIFY(!running());
    }

    // Warnings name what release sites refuse, and only that.
    void releaseWarnings_data()
    {
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<int>("expected");
        const QByteArray wide = QByteArray(46, '=') + "\r\n";
        const QByteArray fits = QByteArray(45, '=') + "\r\n";
        QTest::newRow("45 columns, 10 lines") << DescriptionWarnings(fits.repeated(10)) << 0;
        QTest::newRow("46 columns") << DescriptionWarnings(wide) << 1;
        QTest::newRow("11 lines") << DescriptionWarnings(fits.repeated(11)) << 1;
        const QByteArray diz = "Title\r\nDisk xxx/xxx of Title\r\n";
        QTest::newRow("number over a placeholder") << QStringList{StampWarning(diz, 2, 6, 7)} << 0;
        QTest::newRow("number over text") << QStringList{StampWarning(diz, 2, 3, 7)} << 1;
        QTest::newRow("plain name") << QStringList{NameWarning("tool001.zip")} << 0;
        QTest::newRow("name with a colon") << QStringList{NameWarning("to:ol001.zip")} << 1;
        QTest::newRow("999 archives") << QStringList{CountWarning(999)} << 0;
        QTest::newRow("1000 archives") << QStringList{CountWarning(1000)} << 1;
    }

    void releaseWarnings()
    {
        QFETCH(QStringList, warnings);
        QFETCH(int, expected);
        warnings.removeAll(QString());
        QCOMPARE(warnings.size(), expected);
    }

    // The plan of the bundled example names the archives the run then writes, and writes nothing.
    void planOfTheExample()
    {
        const QString example = root_.filePath("example");
        copyDir(QFileInfo(KESTO_TEST_DATA "/../../examples").canonicalFilePath(), example);
        QDir(example + "/out").removeRecursively();
        QProcess prepare;
        prepare.start("bash", {example + "/prepare.sh"});
        QVERIFY(prepare.waitForFinished(-1) && prepare.exitCode() == 0);
        const QString job = example + "/job.kst";
        const QString out = example + "/out";

        const auto systemBefore = snapshot(root_.filePath("sys"));
        const auto outBefore = snapshot(out);
        const Outcome plan = kesto32({"--plan", job});
        QVERIFY2(plan.status == 0, qPrintable(plan.lines.join('\n')));
        QCOMPARE(snapshot(root_.filePath("sys")), systemBefore);
        QCOMPARE(snapshot(out), outBefore);
        QMap<QString, QStringList> planned; // each archive's entries, as the plan lists them
        for (const QString &line : plan.lines) {
            const qsizetype colon = line.indexOf(':');
            if (line.startsWith("archive "))
                planned[line.mid(8, colon - 8)] = line.mid(colon + 2).split(", ");
        }

        const Outcome run = kesto32({"!" + job});
        QVERIFY2(run.status == 0, qPrintable(run.lines.join('\n')));
        QCOMPARE(entriesOf(out), planned.keys());
        QVERIFY(planned.size() > 1);
        for (auto it = planned.cbegin(); it != planned.cend(); ++it)
            QCOMPARE(unzipNames(out + '/' + it.key()), it.value());
    }
};

QTEST_GUILESS_MAIN(SeriesVerifyTest)
#include "test_series_verify.moc"
