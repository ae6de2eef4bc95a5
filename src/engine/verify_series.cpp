#include "verify_series.h"

#include "checksums.h"
#include "describe/diz_numbering.h"
#include "describe/release_checks.h"
#include "job/job_settings.h"
#include "run_plan.h"
#include "system/zip_reader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

namespace kesto {

namespace {

namespace fs = std::filesystem;

const QByteArray DescriptionName = QByteArrayLiteral("file_id.diz");

// What the archives hold, gathered in one pass.
struct ArchiveContents {
    bool readable = false;
    std::optional<QByteArray> description;
    bool hasNfo = false;
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

// Where the number stands in a description that carries it as volume 'place'; nullopt when it
// carries none (numbering off: other digits and slashes are the description's own text).
std::optional<StampPlace> findStamp(const QByteArray &description, int place)
{
    const QList<QByteArray> lines = TextLines(description);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        auto matches = StampPattern.globalMatch(QString::fromLatin1(lines[i]));
        while (matches.hasNext()) {
            const QRegularExpressionMatch m = matches.next();
            if (m.captured(1).toInt() == place)
                return StampPlace{i + 1, m.capturedStart() + 1};
        }
    }
    return std::nullopt;
}

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
    return said.isEmpty() ? QStringLiteral("7-Zip reported a failure")
                          : said.join(QStringLiteral("; "));
}

bool runSevenZip(const QStringList &arguments, QByteArray &output)
{
    const QString program = SevenZipProgram();
    if (program.isEmpty()) {
        output = "ERROR: 7-Zip (7zz) is not installed";
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        output = "ERROR: 7-Zip cannot be started";
        return false;
    }
    process.waitForFinished(-1);
    output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
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

// Relative path (bytes) -> kind, without following links.
std::map<std::string, Kind> listTree(const fs::path &root, const Skips &skips)
{
    std::map<std::string, Kind> tree;
    std::error_code error;
    fs::recursive_directory_iterator it(root, error), end;
    for (; !error && it != end; it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(root);
        if (it->is_symlink()) {
            if (!skips.files.count(relative))
                tree[relative.string()] = Kind::Link;
            continue;
        }
        if (it->is_directory()) {
            if (skips.dirs.count(relative)) {
                it.disable_recursion_pending();
                continue;
            }
            tree[relative.string()] = Kind::Directory;
        } else if (!skips.files.count(relative)) {
            tree[relative.string()] = Kind::File;
        }
    }
    return tree;
}

bool sameFile(const fs::path &a, const fs::path &b)
{
    std::error_code error;
    if (fs::file_size(a, error) != fs::file_size(b, error) || error)
        return false;
    std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
    std::vector<char> x(1 << 20), y(1 << 20);
    while (left && right) {
        left.read(x.data(), std::streamsize(x.size()));
        right.read(y.data(), std::streamsize(y.size()));
        if (left.gcount() != right.gcount() ||
            !std::equal(x.begin(), x.begin() + left.gcount(), y.begin()))
            return false;
    }
    return left.eof() && right.eof();
}

// The unpacked tree against the source, less what the job skips.
QStringList compareTrees(const fs::path &unpacked, const fs::path &source, const Skips &skips)
{
    QStringList problems;
    const auto ours = listTree(unpacked, {});
    const auto theirs = listTree(source, skips);
    const auto show = [](const std::string &relative) {
        return QFile::decodeName(QByteArray::fromStdString(relative));
    };
    for (const auto &[relative, kind] : theirs) {
        const auto found = ours.find(relative);
        if (found == ours.end()) {
            problems << QStringLiteral("%1: in the source, not in the series").arg(show(relative));
        } else if (found->second != kind) {
            problems
                << QStringLiteral("%1: another kind of entry in the series").arg(show(relative));
        } else if (kind == Kind::File && !sameFile(unpacked / relative, source / relative)) {
            problems << QStringLiteral("%1: differs from the source").arg(show(relative));
        } else if (kind == Kind::Link) {
            std::error_code error;
            if (fs::read_symlink(unpacked / relative, error) !=
                fs::read_symlink(source / relative, error))
                problems << QStringLiteral("%1: link differs from the source").arg(show(relative));
        }
    }
    for (const auto &[relative, kind] : ours) {
        if (!theirs.count(relative))
            problems << QStringLiteral("%1: in the series, not in the source").arg(show(relative));
    }
    return problems;
}

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

VerifyReport VerifySeries(const Series &series, const VerifyOptions &options)
{
    VerifyReport report;
    QStringList &problems = report.problems;
    const JobSettings *job = options.job;
    const int count = series.last();

    // Every number from 1 to the last.
    QList<const SeriesArchive *> byNumber(count + 1, nullptr);
    for (const SeriesArchive &archive : series.archives)
        byNumber[archive.number] = &archive;
    for (int n = 1; n <= count; ++n) {
        if (!byNumber[n])
            problems << QStringLiteral("%1: missing")
                            .arg(series.base + VolumeNumberText(1, n) + QStringLiteral(".zip"));
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        problems << QStringLiteral("cannot make a temporary directory: %1").arg(work.errorString());
        return report;
    }
    const QString volumeDir = work.filePath(QStringLiteral("volumes"));
    QDir().mkdir(volumeDir);
    const auto volumePath = [&](int n) {
        return QDir(volumeDir).filePath(series.unlimited
                                            ? QStringLiteral("volume.rar")
                                            : QStringLiteral("volume.") + VolumeNumberText(1, n));
    };

    // Each archive: readable, every entry's CRC, one volume of its place, the description, the
    // nfo. The volume is copied out on the way, for 7-Zip.
    const QByteArray nfoName =
        job ? QFile::encodeName(job->NfoPath.mid(job->NfoPath.lastIndexOf(QLatin1Char('/')) + 1))
            : QByteArray();
    QList<ArchiveContents> contents(count + 1);
    int volumesCopied = 0;
    for (const SeriesArchive &archive : series.archives) {
        ArchiveContents &held = contents[archive.number];
        ZipReader reader;
        if (!reader.open(archive.path)) {
            problems << QStringLiteral("%1: cannot be read as a zip archive: %2")
                            .arg(archive.name, reader.errorText());
            continue;
        }
        held.readable = true;
        const QList<QByteArray> names = reader.names();
        int volumes = 0;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray &name = names[i];
            const int volume = volumeNumberOf(name, series.unlimited);
            bool read = false;
            if (volume > 0) {
                ++volumes;
                if (volume != archive.number) {
                    problems << QStringLiteral("%1: holds volume %2 (%3), not volume %4")
                                    .arg(archive.name)
                                    .arg(volume)
                                    .arg(nameOf(name))
                                    .arg(archive.number);
                }
                QFile copy(volumePath(archive.number));
                if (volumes == 1 && copy.open(QIODevice::WriteOnly)) {
                    read = reader.read(i, [&copy](const char *data, qint64 size) {
                        return copy.write(data, size) == size;
                    });
                    copy.close();
                    if (read)
                        ++volumesCopied;
                    else
                        copy.remove();
                } else {
                    read = reader.read(i, [](const char *, qint64) { return true; });
                }
            } else {
                QByteArray bytes;
                read = reader.readAll(i, bytes);
                if (read && name == DescriptionName)
                    held.description = bytes;
                const bool isNfo = job ? name == nfoName : name.toLower().endsWith(".nfo");
                if (read && isNfo)
                    held.hasNfo = true;
            }
            if (!read)
                problems << QStringLiteral("%1: %2 is damaged: %3")
                                .arg(archive.name, nameOf(name), reader.errorText());
        }
        if (volumes == 0)
            problems << QStringLiteral("%1: holds no volume").arg(archive.name);
        else if (volumes > 1)
            problems << QStringLiteral("%1: holds %2 volumes").arg(archive.name).arg(volumes);
        if (!names.contains(DescriptionName))
            problems << QStringLiteral("%1: holds no %2")
                            .arg(archive.name, QString::fromLatin1(DescriptionName));
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
            problems << QStringLiteral("%1: holds no nfo%2")
                            .arg(byNumber[n]->name,
                                 n == 1 ? QString() : QStringLiteral(", as the other archives do"));
    }

    // The numbered descriptions: each says its own place and the same total, the series' count.
    int first = 0;
    for (int n = 1; n <= count && !first; ++n) {
        if (contents[n].description)
            first = n;
    }
    std::optional<StampPlace> place;
    if (job && job->DizAutoNumber)
        place =
            StampPlace{fieldNumber(job->DizLine), std::max<qint64>(fieldNumber(job->DizColumn), 1)};
    else if (first && !job)
        place = findStamp(*contents[first].description, first);
    if (place) {
        for (int n = 1; n <= count; ++n) {
            if (!contents[n].description)
                continue;
            const QString expected = NumberText(n, count);
            const QString found = stampAt(*contents[n].description, *place);
            if (found.isEmpty())
                problems << QStringLiteral("%1: the description carries no number at line %2, "
                                           "column %3; expected %4")
                                .arg(byNumber[n]->name)
                                .arg(place->line)
                                .arg(place->column)
                                .arg(expected);
            else if (found != expected)
                problems << QStringLiteral("%1: the description says %2; expected %3")
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
            if (const QString w = StampWarning(original.readAll(), place->line, place->column,
                                               int(NumberText(count, count).size()));
                !w.isEmpty())
                report.warnings << w;
        }
    }
    if (const QString w = NameWarning(series.base); !w.isEmpty())
        report.warnings << w;
    if (const QString w = CountWarning(count); !w.isEmpty())
        report.warnings << w;

    // The volumes in order form one 7-Zip set; with a source, it is unpacked and compared.
    if (volumesCopied > 0) {
        const QString firstVolume = volumePath(1);
        const QStringList type{series.unlimited ? QStringLiteral("-t7z")
                                                : QStringLiteral("-t7z.split")};
        QByteArray output;
        if (options.against.isEmpty()) {
            if (!runSevenZip(QStringList{QStringLiteral("t")} + type +
                                 QStringList{QStringLiteral("-bd"), firstVolume},
                             output))
                problems << QStringLiteral("the volumes are not a complete, intact 7-Zip set: %1")
                                .arg(sevenZipComplaint(output, volumeDir));
        } else {
            const QString unpacked = work.filePath(QStringLiteral("unpacked"));
            if (!runSevenZip(QStringList{QStringLiteral("x")} + type +
                                 QStringList{QStringLiteral("-bd"), QStringLiteral("-y"),
                                             QStringLiteral("-o") + unpacked, firstVolume},
                             output)) {
                problems << QStringLiteral("the volumes are not a complete, intact 7-Zip set: %1")
                                .arg(sevenZipComplaint(output, volumeDir));
            } else {
                // Volumes are removed first: the unpacked tree may need the space.
                QDir(volumeDir).removeRecursively();
                QString against = options.against;
                while (against.size() > 1 && against.endsWith(QLatin1Char('/')))
                    against.chop(1);
                // 7-Zip stores the paths below the source folder's own name.
                const fs::path source = QFile::encodeName(against).toStdString();
                const fs::path top = QFile::encodeName(unpacked).toStdString();
                problems << compareTrees(top / source.filename(), source, skipsOf(job));
            }
        }
    } else if (count > 0) {
        problems << QStringLiteral("no volume could be read from the series");
    }

    problems << CheckManifests(series);
    return report;
}

} // namespace kesto
