#include "verify_series.h"

#include "checksums.h"
#include "describe/diz_numbering.h"
#include "describe/extra_files.h"
#include "describe/release_checks.h"
#include "job/job_settings.h"
#include "run_plan.h"
#include "system/stop_signals.h"
#include "system/zip_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

namespace fs = std::filesystem;

const QByteArray DescriptionName = QByteArrayLiteral("file_id.diz");
// A description is a few lines; one larger than this is not a description.
constexpr qint64 DescriptionLimit = 1024 * 1024;

// What the archives hold, gathered in one pass.
struct ArchiveContents {
    bool readable = false;
    std::optional<QByteArray> description;
    bool hasNfo = false;
    QList<QByteArray> others; // entries that are neither volume, description nor nfo
};

// "tool.002" -> 2; ".rar" of an unlimited archive -> 1; else 0.
int volumeNumberOf(const QByteArray &name, bool unlimited)
{
    if (name.contains('/'))
        return 0;
    if (unlimited)
        return name.endsWith(".rar") && name.size() > 4 ? 1 : 0;
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || name.size() - dot - 1 < 3)
        return 0;
    const QByteArray digits = name.mid(dot + 1);
    if (!std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return digits.toInt();
}

// A name that unpacks outside the directory it is unpacked in.
bool unsafeName(const QByteArray &name)
{
    if (name.startsWith('/') || name.startsWith('\\'))
        return true;
    QByteArray parts = name;
    parts.replace('\\', '/');
    return parts.split('/').contains("..");
}

QString nameOf(const QByteArray &stored)
{
    return QFile::decodeName(stored);
}

// A field's leading decimal number, as the description numbering reads it.
qint64 fieldNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?\\d{1,12})"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

struct StampPlace {
    qint64 line = 0; // 1-based
    qint64 column = 0;
};

const QRegularExpression StampPattern(QStringLiteral("(\\d{3,})/(\\d{3,})"));

// The number text at a place of a description; empty when none stands there.
QString stampAt(const QByteArray &description, const StampPlace &at)
{
    const QList<QByteArray> lines = TextLines(description);
    if (at.line < 1 || at.line > lines.size() || at.column < 1)
        return {};
    const QString rest = QString::fromLatin1(lines[at.line - 1].mid(at.column - 1));
    const QRegularExpressionMatch m = StampPattern.match(
        rest, 0, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    return m.hasMatch() ? m.captured(0) : QString();
}

// Where two descriptions of one series first differ, when that is inside a number pair of the
// first: its byte offset, line and column; nullopt when they differ elsewhere.
struct StampOffset {
    qsizetype offset = 0;
    StampPlace place;
    QByteArray text;
};

std::optional<StampOffset> differingStamp(const QByteArray &first, const QByteArray &other)
{
    qsizetype at = 0;
    while (at < first.size() && at < other.size() && first[at] == other[at])
        ++at;
    qsizetype lineStart = 0, line = 1;
    for (qsizetype i = 0; i < at && i < first.size(); ++i) {
        const bool lf = first[i] == '\n';
        const bool cr = first[i] == '\r' && (i + 1 >= first.size() || first[i + 1] != '\n');
        if (lf || cr) {
            lineStart = i + 1;
            ++line;
        }
    }
    qsizetype lineEnd = lineStart;
    while (lineEnd < first.size() && first[lineEnd] != '\r' && first[lineEnd] != '\n')
        ++lineEnd;
    const QString text = QString::fromLatin1(first.mid(lineStart, lineEnd - lineStart));
    for (auto m = StampPattern.globalMatch(text); m.hasNext();) {
        const QRegularExpressionMatch match = m.next();
        const qsizetype start = lineStart + match.capturedStart();
        if (start <= at && at < lineStart + match.capturedEnd())
            return StampOffset{
                start, {line, match.capturedStart() + 1}, match.captured(0).toLatin1()};
    }
    return std::nullopt;
}

// The number pair at offset of a description that equals first everywhere else; empty when it
// differs from first beyond that.
QString stampInPlaceOf(const QByteArray &description, const QByteArray &first,
                       const StampOffset &stamp)
{
    if (description.left(stamp.offset) != first.left(stamp.offset))
        return {};
    const QRegularExpressionMatch m = StampPattern.match(
        QString::fromLatin1(description), stamp.offset, QRegularExpression::NormalMatch,
        QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch() || description.mid(stamp.offset + m.capturedLength()) !=
                             first.mid(stamp.offset + stamp.text.size()))
        return {};
    return m.captured(0);
}

// The size of a 7-Zip archive from its start header: 32 bytes, then the next header's offset and
// size; -1 when the bytes are not a 7-Zip start header.
qint64 sevenZipSize(const QByteArray &head)
{
    static const QByteArray signature("7z\xBC\xAF\x27\x1C", 6);
    if (head.size() < 32 || !head.startsWith(signature))
        return -1;
    const auto field = [&head](int at) {
        quint64 value = 0;
        for (int i = 7; i >= 0; --i)
            value = value << 8 | quint8(head[at + i]);
        return value;
    };
    const quint64 offset = field(12), size = field(20);
    if (offset > (quint64(1) << 50) || size > (quint64(1) << 40))
        return -1;
    return qint64(32 + offset + size);
}

// Volumes of volumeSize bytes that a set of setSize bytes fills; 0 when that makes no sense.
int volumesFor(qint64 setSize, qint64 volumeSize)
{
    if (setSize <= 0 || volumeSize <= 0)
        return 0;
    const qint64 count = (setSize + volumeSize - 1) / volumeSize;
    return count <= 100000 ? int(count) : 0;
}

// Why 7-Zip refused, in its own words: its error lines, less the names of our copies.
QString sevenZipComplaint(const QByteArray &output, const QString &copies)
{
    QStringList said;
    bool inErrors = false;
    for (QByteArray line : output.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.contains(QFile::encodeName(copies)))
            continue;
        if (line == "ERRORS:") {
            inErrors = true;
            continue;
        }
        // The counts after the errors tell nothing more.
        if (line.startsWith("Can't open as archive") || line.startsWith("Files:"))
            break;
        if (inErrors || line.startsWith("ERROR"))
            said << QString::fromLocal8Bit(line);
    }
    said.removeDuplicates();
    return said.isEmpty() ? QCoreApplication::translate("VerifySeries", "7-Zip reported a failure")
                          : said.join(QStringLiteral("; "));
}

// 7-Zip started in a process group of its own, so that a stop signal ends it at once; names in
// its output as bytes (UTF-8 for what it stores as text, raw bytes kept).
void startSevenZip(QProcess &process, const QString &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    StartInOwnGroup(process);
    process.start(program, arguments);
    if (process.waitForStarted(-1))
        SetChildProcessGroup(pid_t(process.processId()));
}

void endSevenZip(QProcess &process)
{
    SetChildProcessGroup(0);
    if (process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGTERM);
        process.waitForFinished(-1);
    }
}

// Waits for the process without a time-out, but returns as soon as a stop is requested.
bool waitUnlessStopped(QProcess &process)
{
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (StopRequested())
            return false;
    }
    return true;
}

bool runSevenZip(const QStringList &arguments, QByteArray &output)
{
    const QString program = SevenZipProgram();
    if (program.isEmpty()) {
        output =
            "ERROR: " + QCoreApplication::translate("VerifySeries", "7-Zip (7zz) is not installed")
                            .toLocal8Bit();
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    startSevenZip(process, program, arguments);
    if (process.state() == QProcess::NotRunning && process.error() == QProcess::FailedToStart) {
        output =
            "ERROR: " +
            QCoreApplication::translate("VerifySeries", "7-Zip cannot be started").toLocal8Bit();
        return false;
    }
    const bool ended = waitUnlessStopped(process);
    endSevenZip(process);
    output = process.readAll();
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The source entries a job's skip list leaves out, relative to its source: whole directories and
// single files.
struct Skips {
    std::set<fs::path> dirs, files;
};

Skips skipsOf(const JobSettings *job)
{
    Skips skips;
    if (!job)
        return skips;
    const fs::path source = QFile::encodeName(job->SourcePath).toStdString();
    for (const QString &entry :
         job->SkipList.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts)) {
        const bool dir = entry.endsWith(QStringLiteral("/*.*"));
        const fs::path path = QFile::encodeName(dir ? entry.chopped(4) : entry).toStdString();
        (dir ? skips.dirs : skips.files).insert(path.lexically_relative(source));
    }
    return skips;
}

enum class Kind { Directory, File, Link };

struct TreeEntry {
    Kind kind = Kind::File;
    qint64 size = 0;
};

// Relative path (bytes) -> kind and size, without following links below the root.
std::map<std::string, TreeEntry> listSource(const fs::path &root, const Skips &skips)
{
    std::map<std::string, TreeEntry> tree;
    std::error_code error;
    fs::recursive_directory_iterator it(root, error), end;
    for (; !error && it != end; it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(root);
        std::error_code kindError;
        if (it->is_symlink(kindError)) {
            if (!skips.files.count(relative))
                tree[relative.string()] = {Kind::Link, 0};
        } else if (it->is_directory(kindError)) {
            if (skips.dirs.count(relative)) {
                it.disable_recursion_pending();
                continue;
            }
            tree[relative.string()] = {Kind::Directory, 0};
        } else if (!skips.files.count(relative)) {
            tree[relative.string()] = {Kind::File, qint64(it->file_size(kindError))};
        }
    }
    return tree;
}

struct ListedEntry {
    QByteArray path;
    Kind kind = Kind::File;
    qint64 size = 0;
};

// The set's entries in its own order, from 7-Zip's technical listing.
std::optional<QList<ListedEntry>> parseListing(const QByteArray &listing)
{
    QList<ListedEntry> entries;
    for (const QByteArray &line : listing.split('\n')) {
        if (line.startsWith("Path = ")) {
            entries.append({line.mid(7), Kind::File, 0});
        } else if (entries.isEmpty()) {
            continue;
        } else if (line.startsWith("Size = ")) {
            bool number = false;
            entries.last().size = line.mid(7).trimmed().toLongLong(&number);
            if (!number && !line.mid(7).trimmed().isEmpty())
                return std::nullopt;
        } else if (line.startsWith("Attributes = ")) {
            const QByteArray attributes = line.mid(13);
            if (attributes.startsWith('D'))
                entries.last().kind = Kind::Directory;
            else if (attributes.contains(" l"))
                entries.last().kind = Kind::Link;
        }
    }
    return entries;
}

// Reads exactly the bytes asked for from 7-Zip's standard output, in one reused buffer.
class Stream {
public:
    explicit Stream(QProcess &process) : process_(process) {}
    // Hands count bytes to sink in pieces; false when the stream ends first or a stop comes.
    template <typename Sink> bool take(qint64 count, Sink sink)
    {
        while (count > 0) {
            if (process_.bytesAvailable() == 0 && !process_.waitForReadyRead(100)) {
                if (StopRequested() || process_.state() == QProcess::NotRunning)
                    return process_.bytesAvailable() > 0 ? take(count, sink) : false;
                continue;
            }
            const qint64 got =
                process_.read(buffer_, std::min<qint64>(count, qint64(sizeof buffer_)));
            if (got <= 0)
                return false;
            sink(buffer_, got);
            count -= got;
        }
        return true;
    }

private:
    QProcess &process_;
    char buffer_[256 * 1024];
};

// A source file read alongside the stream: false at the first byte that differs.
class SourceFile {
public:
    explicit SourceFile(const fs::path &path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC))
    {
    }
    ~SourceFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SourceFile(const SourceFile &) = delete;
    SourceFile &operator=(const SourceFile &) = delete;
    bool same() const { return fd_ >= 0 && same_; }
    void compare(const char *data, qint64 size)
    {
        while (same_ && size > 0) {
            static thread_local char buffer[256 * 1024];
            const ssize_t got =
                ::read(fd_, buffer, size_t(std::min<qint64>(size, qint64(sizeof buffer))));
            if (got <= 0 || std::memcmp(buffer, data, size_t(got)) != 0) {
                same_ = false;
                return;
            }
            data += got;
            size -= got;
        }
    }

private:
    int fd_;
    bool same_ = true;
};

QString shown(const std::string &relative)
{
    return QFile::decodeName(QByteArray::fromStdString(relative));
}

// The set, unpacked as a stream (nothing written to disk, links never made), against the source
// less what the job skips. The set's top folder stands for the source whatever either is called.
QStringList compareWithSource(const QString &firstVolume, const QStringList &type,
                              const fs::path &source, const Skips &skips, const QString &copies)
{
    const QString program = SevenZipProgram();
    if (program.isEmpty())
        return {QCoreApplication::translate(
            "VerifySeries", "the volumes cannot be unpacked: 7-Zip (7zz) is not installed")};
    QByteArray output;
    if (!runSevenZip(
            QStringList{QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-ba")} + type +
                QStringList{QStringLiteral("-sccUTF-8"), firstVolume},
            output))
        return {QCoreApplication::translate("VerifySeries",
                                            "the volumes are not a complete, intact 7-Zip set: %1")
                    .arg(sevenZipComplaint(output, copies))};
    std::optional<QList<ListedEntry>> listed = parseListing(output);
    if (!listed)
        return {QCoreApplication::translate("VerifySeries",
                                            "7-Zip's listing of the set cannot be read")};

    // One top folder holds everything: the source's own folder, under whatever name.
    QByteArray top;
    for (const ListedEntry &entry : *listed) {
        if (entry.kind == Kind::Directory && !entry.path.contains('/'))
            top = entry.path;
    }
    for (const ListedEntry &entry : *listed) {
        if (!top.isEmpty() && entry.path != top && !entry.path.startsWith(top + '/'))
            top.clear();
    }

    QStringList problems;
    const std::map<std::string, TreeEntry> theirs = listSource(source, skips);
    std::set<std::string> seen;
    QProcess process;
    startSevenZip(process, program,
                  QStringList{QStringLiteral("x"), QStringLiteral("-so"), QStringLiteral("-bd")} +
                      type + QStringList{firstVolume});
    Stream stream(process);
    bool streamOk = true;
    for (const ListedEntry &entry : *listed) {
        if (!top.isEmpty() && entry.path == top)
            continue;
        const std::string relative =
            (top.isEmpty() ? entry.path : entry.path.mid(top.size() + 1)).toStdString();
        const qint64 bytes = entry.kind == Kind::Directory ? 0 : entry.size;
        const auto found = theirs.find(relative);
        seen.insert(relative);
        const auto discard = [](const char *, qint64) {};
        if (found == theirs.end()) {
            problems << QCoreApplication::translate("VerifySeries",
                                                    "%1: in the series, not in the source")
                            .arg(shown(relative));
            streamOk = stream.take(bytes, discard);
        } else if (found->second.kind != entry.kind) {
            problems << QCoreApplication::translate("VerifySeries",
                                                    "%1: another kind of entry in the series")
                            .arg(shown(relative));
            streamOk = stream.take(bytes, discard);
        } else if (entry.kind == Kind::File) {
            SourceFile file(source / relative);
            if (found->second.size != bytes) {
                streamOk = stream.take(bytes, discard);
                problems << QCoreApplication::translate("VerifySeries",
                                                        "%1: differs from the source")
                                .arg(shown(relative));
            } else {
                streamOk = stream.take(
                    bytes, [&file](const char *data, qint64 size) { file.compare(data, size); });
                if (streamOk && !file.same())
                    problems << QCoreApplication::translate("VerifySeries",
                                                            "%1: differs from the source")
                                    .arg(shown(relative));
            }
        } else if (entry.kind == Kind::Link) {
            QByteArray target;
            streamOk = stream.take(bytes, [&target](const char *data, qint64 size) {
                if (target.size() < 65536)
                    target.append(data, size);
            });
            std::error_code error;
            const std::string theirTarget = fs::read_symlink(source / relative, error).string();
            if (streamOk && (error || target.toStdString() != theirTarget))
                problems << QCoreApplication::translate("VerifySeries",
                                                        "%1: link differs from the source")
                                .arg(shown(relative));
        }
        if (!streamOk)
            break;
    }
    if (StopRequested()) {
        endSevenZip(process);
        return problems;
    }
    // The stream must end where the listing does, and 7-Zip must find every CRC right.
    char rest = 0;
    const bool more =
        streamOk && stream.take(1, [&rest](const char *data, qint64) { rest = *data; });
    const bool ended = waitUnlessStopped(process);
    endSevenZip(process);
    if (!streamOk || more || !ended || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        problems << QCoreApplication::translate(
                        "VerifySeries", "the volumes are not a complete, intact 7-Zip set: %1")
                        .arg(sevenZipComplaint(process.readAllStandardError() +
                                                   process.readAllStandardOutput().left(4096),
                                               copies));
    for (const auto &[relative, entry] : theirs) {
        if (!seen.count(relative))
            problems << QCoreApplication::translate("VerifySeries",
                                                    "%1: in the source, not in the series")
                            .arg(shown(relative));
    }
    return problems;
}

// A private directory for the volumes' copies, removed with all it holds whatever its names.
class WorkDir {
public:
    WorkDir()
    {
        const QByteArray base = QFile::encodeName(QDir::tempPath());
        QByteArray pattern = base + "/kesto32-verify-XXXXXX";
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~WorkDir()
    {
        if (path_.isEmpty())
            return;
        std::error_code error;
        fs::remove_all(path_.toStdString(), error);
    }
    WorkDir(const WorkDir &) = delete;
    WorkDir &operator=(const WorkDir &) = delete;
    bool valid() const { return !path_.isEmpty(); }
    QString path() const { return QFile::decodeName(path_); }

private:
    QByteArray path_;
};

} // namespace

QString SevenZipProgram()
{
    for (const char *name : {"7zz", "7z"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

int SeriesLength(const Series &series)
{
    if (series.unlimited)
        return 1;
    if (series.archives.isEmpty() || series.archives.first().number != 1)
        return 0;
    ZipReader reader;
    if (!reader.open(series.archives.first().path))
        return 0;
    const QList<QByteArray> names = reader.names();
    for (int i = 0; i < names.size(); ++i) {
        if (volumeNumberOf(names[i], false) != 1)
            continue;
        QByteArray head;
        reader.read(i, [&head](const char *data, qint64 size) {
            head.append(data, std::min<qint64>(size, 32 - head.size()));
            return head.size() < 32;
        });
        return volumesFor(sevenZipSize(head), reader.size(i));
    }
    return 0;
}

VerifyReport VerifySeries(const Series &series, const VerifyOptions &options)
{
    VerifyReport report;
    QStringList &problems = report.problems;
    const JobSettings *job = options.job;
    const auto stopped = [&report] {
        report.stopSignal = CaughtStopSignal() ? CaughtStopSignal() : SIGTERM;
        return report;
    };

    WorkDir work;
    if (!work.valid()) {
        problems << QCoreApplication::translate("VerifySeries",
                                                "cannot make a temporary directory in %1")
                        .arg(QDir::tempPath());
        return report;
    }
    const QString volumeDir = work.path();
    const auto volumePath = [&](int n) {
        return QDir(volumeDir).filePath(series.unlimited
                                            ? QStringLiteral("volume.rar")
                                            : QStringLiteral("volume.") + VolumeNumberText(1, n));
    };

    // What the job lets into every archive besides its volume: the description, the nfo (in the
    // first or every archive) and the extra as the run lists it.
    const QByteArray nfoName =
        job ? QFile::encodeName(job->NfoPath.mid(job->NfoPath.lastIndexOf(QLatin1Char('/')) + 1))
            : QByteArray();
    QSet<QByteArray> extraNames;
    if (job) {
        const ExtraFiles extra = ListExtraFiles(*job);
        for (const QByteArray &path : extra.paths)
            extraNames.insert(path.mid(path.lastIndexOf('/') + 1));
        report.warnings << extra.warnings;
    }

    // Each archive: readable, every entry's CRC, one volume of its place, the description, the
    // nfo, nothing else. The volume is copied out on the way, for 7-Zip. The first volume's own
    // record tells how many archives the series needs: any beyond are stale.
    int count = series.last();
    bool lengthKnown = false;
    qint64 setSize = -1;
    QMap<int, qint64> volumeSizes;
    QList<ArchiveContents> contents(count + 1);
    QList<const SeriesArchive *> byNumber(count + 1, nullptr);
    for (const SeriesArchive &archive : series.archives) {
        if (StopRequested())
            return stopped();
        if (lengthKnown && archive.number > count) {
            problems << QCoreApplication::translate("VerifySeries",
                                                    "%1: stale archive: the series ends with %2")
                            .arg(archive.name,
                                 series.base + VolumeNumberText(1, count) + QStringLiteral(".zip"));
            continue;
        }
        byNumber[archive.number] = &archive;
        ArchiveContents &held = contents[archive.number];
        ZipReader reader;
        if (!reader.open(archive.path)) {
            problems << QCoreApplication::translate("VerifySeries",
                                                    "%1: cannot be read as a zip archive: %2")
                            .arg(archive.name, reader.errorText());
            continue;
        }
        held.readable = true;
        const QList<QByteArray> names = reader.names();
        int volumes = 0;
        QSet<QByteArray> named;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray &name = names[i];
            if (named.contains(name))
                problems << QCoreApplication::translate("VerifySeries", "%1: holds %2 twice")
                                .arg(archive.name, nameOf(name));
            named.insert(name);
            if (unsafeName(name)) {
                problems << QCoreApplication::translate(
                                "VerifySeries",
                                "%1: %2 would unpack outside the recipient's directory")
                                .arg(archive.name, nameOf(name));
                continue;
            }
            const int volume = volumeNumberOf(name, series.unlimited);
            bool read = false;
            bool tooLarge = false;
            if (volume > 0) {
                ++volumes;
                if (volume != archive.number) {
                    problems << QCoreApplication::translate(
                                    "VerifySeries", "%1: holds volume %2 (%3), not volume %4")
                                    .arg(archive.name)
                                    .arg(volume)
                                    .arg(nameOf(name))
                                    .arg(archive.number);
                }
                QFile copy(volumePath(archive.number));
                if (volumes == 1 && copy.open(QIODevice::WriteOnly)) {
                    QByteArray head;
                    qint64 bytes = 0;
                    read = reader.read(i, [&](const char *data, qint64 size) {
                        if (head.size() < 32)
                            head.append(data, std::min<qint64>(size, 32 - head.size()));
                        bytes += size;
                        return !StopRequested() && copy.write(data, size) == size;
                    });
                    copy.close();
                    if (read)
                        volumeSizes[archive.number] = bytes;
                    else
                        copy.remove();
                    if (read && archive.number == 1) {
                        setSize = sevenZipSize(head);
                        const int needed = series.unlimited ? 1 : volumesFor(setSize, bytes);
                        if (needed > 0) {
                            lengthKnown = true;
                            if (needed > count) {
                                contents.resize(needed + 1);
                                byNumber.resize(needed + 1, nullptr);
                            }
                            count = needed;
                        }
                    }
                } else {
                    read = reader.read(i, [](const char *, qint64) { return !StopRequested(); });
                }
            } else if (name == DescriptionName) {
                QByteArray bytes;
                read = reader.read(i, [&](const char *data, qint64 size) {
                    tooLarge = bytes.size() + size > DescriptionLimit;
                    if (!tooLarge)
                        bytes.append(data, size);
                    return !tooLarge && !StopRequested();
                });
                if (read)
                    held.description = bytes;
            } else {
                read = reader.read(i, [](const char *, qint64) { return !StopRequested(); });
                const bool isNfo =
                    job ? name == nfoName && (archive.number == 1 || job->NfoFirstOnly != Checked)
                        : name.toLower().endsWith(".nfo") && !held.hasNfo;
                if (isNfo)
                    held.hasNfo = held.hasNfo || read;
                else if (!job || !extraNames.contains(name))
                    held.others << name;
            }
            if (StopRequested())
                return stopped();
            if (tooLarge)
                problems << QCoreApplication::translate(
                                "VerifySeries", "%1: %2 is larger than %3 bytes: no description is")
                                .arg(archive.name, nameOf(name))
                                .arg(DescriptionLimit);
            else if (!read)
                problems << QCoreApplication::translate("VerifySeries", "%1: %2 is damaged: %3")
                                .arg(archive.name, nameOf(name), reader.errorText());
        }
        if (volumes == 0)
            problems << QCoreApplication::translate("VerifySeries", "%1: holds no volume")
                            .arg(archive.name);
        else if (volumes > 1)
            problems << QCoreApplication::translate("VerifySeries", "%1: holds %2 volumes")
                            .arg(archive.name)
                            .arg(volumes);
        if (!names.contains(DescriptionName))
            problems << QCoreApplication::translate("VerifySeries", "%1: holds no %2")
                            .arg(archive.name, QString::fromLatin1(DescriptionName));
    }
    report.length = count;
    const auto archiveName = [&](int n) {
        return series.base + VolumeNumberText(series.unlimited ? 0 : 1, n) + QStringLiteral(".zip");
    };
    for (int n = 1; n <= count; ++n) {
        if (!byNumber[n])
            problems
                << QCoreApplication::translate("VerifySeries", "%1: missing").arg(archiveName(n));
    }

    // The volumes hold exactly the set: a last volume longer than the set is not the set's.
    qint64 volumeBytes = 0;
    for (int n = 1; n <= count; ++n)
        volumeBytes += volumeSizes.value(n);
    if (lengthKnown && setSize > 0 && volumeSizes.size() == count && volumeBytes > setSize)
        problems << QCoreApplication::translate("VerifySeries",
                                                "%1: data after the end of the set (%2 bytes)")
                        .arg(archiveName(count))
                        .arg(volumeBytes - setSize);

    // Entries the series has no place for. Without the job, one in every archive is taken for
    // the job's extra.
    // An archive that cannot be read holds nothing to count: "every archive" is every readable
    // one, so that its damage is not taken for foreign entries in all the others.
    QMap<QByteArray, int> otherCounts;
    int readable = 0;
    for (int n = 1; n <= count; ++n) {
        readable += contents[n].readable ? 1 : 0;
        for (const QByteArray &name : contents[n].others)
            ++otherCounts[name];
    }
    for (int n = 1; n <= count; ++n) {
        for (const QByteArray &name : contents[n].others) {
            if (job || otherCounts.value(name) < readable)
                problems << QCoreApplication::translate("VerifySeries",
                                                        "%1: %2 is not part of the series")
                                .arg(byNumber[n]->name, nameOf(name));
        }
    }
    if (!job) {
        for (auto it = otherCounts.cbegin(); it != otherCounts.cend(); ++it) {
            if (it.value() == readable)
                report.warnings << QCoreApplication::translate(
                                       "VerifySeries",
                                       "%1 in every archive is taken for the job's extra (give "
                                       "--job to check it)")
                                       .arg(nameOf(it.key()));
        }
    }

    // The nfo: always in the first archive; in the others in all or none of them.
    const bool nfoEverywhere = job ? job->NfoFirstOnly != Checked : [&] {
        for (int n = 2; n <= count; ++n) {
            if (contents[n].hasNfo)
                return true;
        }
        return false;
    }();
    for (int n = 1; n <= count; ++n) {
        if (byNumber[n] && contents[n].readable && !contents[n].hasNfo && (n == 1 || nfoEverywhere))
            problems << (n == 1 ? QCoreApplication::translate("VerifySeries", "%1: holds no nfo")
                                : QCoreApplication::translate(
                                      "VerifySeries", "%1: holds no nfo, as the other archives do"))
                            .arg(byNumber[n]->name);
    }

    // The numbered descriptions: each says its own place and the series' count. The job tells
    // where the number stands (line 0: nowhere); without it, the descriptions tell, when they
    // differ exactly in a number pair.
    int first = 0;
    for (int n = 1; n <= count && !first; ++n) {
        if (contents[n].description)
            first = n;
    }
    std::optional<StampPlace> place;
    std::optional<StampOffset> offset;
    if (job) {
        if (job->DizAutoNumber && fieldNumber(job->DizLine) >= 1)
            place = StampPlace{fieldNumber(job->DizLine),
                               std::max<qint64>(fieldNumber(job->DizColumn), 1)};
    } else if (first) {
        const QByteArray &reference = *contents[first].description;
        for (int n = first + 1; n <= count && !offset; ++n) {
            if (!contents[n].description || *contents[n].description == reference)
                continue;
            offset = differingStamp(reference, *contents[n].description);
            if (!offset)
                problems << QCoreApplication::translate("VerifySeries",
                                                        "%1: the description differs from %2's")
                                .arg(byNumber[n]->name, byNumber[first]->name);
        }
        if (offset)
            place = offset->place;
    }
    if (place) {
        for (int n = 1; n <= count; ++n) {
            if (!contents[n].description)
                continue;
            const QString expected = NumberText(n, count);
            const QString found = offset ? stampInPlaceOf(*contents[n].description,
                                                          *contents[first].description, *offset)
                                         : stampAt(*contents[n].description, *place);
            if (found.isEmpty())
                problems << QCoreApplication::translate(
                                "VerifySeries",
                                "%1: the description carries no number at line %2, column %3; "
                                "expected %4")
                                .arg(byNumber[n]->name)
                                .arg(place->line)
                                .arg(place->column)
                                .arg(expected);
            else if (found != expected)
                problems << QCoreApplication::translate("VerifySeries",
                                                        "%1: the description says %2; expected %3")
                                .arg(byNumber[n]->name, found, expected);
        }
    }

    // Release warnings.
    if (first)
        report.warnings << DescriptionWarnings(*contents[first].description);
    if (job && job->DizAutoNumber && place) {
        // The job's own description tells what the number wrote over.
        QFile original(job->DizPath);
        if (original.open(QIODevice::ReadOnly)) {
            if (const QString w = StampWarning(original.read(DescriptionLimit), place->line,
                                               place->column, int(NumberText(count, count).size()));
                !w.isEmpty())
                report.warnings << w;
        }
    }
    if (const QString w = NameWarning(series.base); !w.isEmpty())
        report.warnings << w;
    if (const QString w = CountWarning(count); !w.isEmpty())
        report.warnings << w;

    // The volumes in order form one 7-Zip set; with a source, it is unpacked and compared.
    if (!volumeSizes.isEmpty()) {
        const QString firstVolume = volumePath(1);
        const QStringList type{series.unlimited ? QStringLiteral("-t7z")
                                                : QStringLiteral("-t7z.split")};
        if (options.against.isEmpty()) {
            QByteArray output;
            if (!runSevenZip(QStringList{QStringLiteral("t")} + type +
                                 QStringList{QStringLiteral("-bd"), firstVolume},
                             output) &&
                !StopRequested())
                problems << QCoreApplication::translate(
                                "VerifySeries",
                                "the volumes are not a complete, intact 7-Zip set: %1")
                                .arg(sevenZipComplaint(output, volumeDir));
        } else {
            const fs::path source = QFile::encodeName(options.against).toStdString();
            problems << compareWithSource(firstVolume, type, source, skipsOf(job), volumeDir);
        }
        if (StopRequested())
            return stopped();
    } else if (count > 0) {
        problems << QCoreApplication::translate("VerifySeries",
                                                "no volume could be read from the series");
    }

    Series checked = series;
    checked.archives.removeIf([count](const SeriesArchive &a) { return a.number > count; });
    problems << CheckManifests(checked);
    return report;
}

} // namespace kesto
