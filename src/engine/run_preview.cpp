#include "run_preview.h"

#include "describe/diz_numbering.h"
#include "describe/release_checks.h"
#include "job/script.h"
#include "job/session.h"
#include "run_plan.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "validation.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

namespace kesto {

namespace {

// The status an unattended run would end with when its own checks refuse the job.
const int ExitCheckFailed = ExitStatusOf(Failure::DescriptionTest);

namespace fs = std::filesystem;

QString bytesText(qint64 bytes)
{
    return QLocale::c().toString(bytes);
}

qint64 fieldNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?\\d{1,12})"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

QStringList skipEntries(const JobSettings &job)
{
    return job.SkipList.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
}

// The source's bytes less the skip list, links not followed; an upper bound of what 7-Zip
// writes for it: incompressible data grows a little, and each name costs its header.
struct SourceMeasure {
    qint64 bytes = 0;
    qint64 bound = 0;
    int files = 0;
};

SourceMeasure measure(const JobSettings &job)
{
    std::set<fs::path> skipDirs, skipFiles;
    for (const QString &entry : skipEntries(job)) {
        const bool dir = entry.endsWith(QStringLiteral("/*.*"));
        (dir ? skipDirs : skipFiles)
            .insert(fs::path(QFile::encodeName(dir ? entry.chopped(4) : entry).toStdString()));
    }
    SourceMeasure m;
    qint64 names = 0;
    std::error_code error;
    const fs::path root = QFile::encodeName(job.SourcePath).toStdString();
    fs::recursive_directory_iterator it(root, error), end;
    for (; !error && it != end; it.increment(error)) {
        const fs::path &path = it->path();
        names += qint64(path.native().size()) + 64;
        if (it->is_symlink())
            continue;
        if (it->is_directory()) {
            if (skipDirs.count(path))
                it.disable_recursion_pending();
            continue;
        }
        if (skipFiles.count(path) || !it->is_regular_file())
            continue;
        std::error_code sizeError;
        const auto size = it->file_size(sizeError);
        if (!sizeError) {
            m.bytes += qint64(size);
            ++m.files;
        }
    }
    m.bound = m.bytes + m.bytes / 500 + names + 4096;
    return m;
}

qint64 volumeBytes(int position)
{
    return position == 3 ? 1'440'000 : qint64(position) * 500'000;
}

// The nearest existing directory at or above path, for its file system's free space.
QString existingAncestor(QString path)
{
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}

} // namespace

RunPreview PreviewRun(const JobSettings &job, bool dated, const QString &tempDrive, DiskInfo &disks)
{
    RunPreview p;
    const auto ok = [&](const QString &what) { p.checks << QStringLiteral("ok       ") + what; };
    const auto refuse = [&](int status, const QString &what, const QString &why) {
        p.checks << QStringLiteral("refused  %1: %2").arg(what, why);
        if (p.status == 0)
            p.status = status;
    };

    // The job's validation and the run's own checks, as a run makes them, without writing.
    std::vector<JobCheck> checks(ValidationChecks().begin(), ValidationChecks().end());
    checks.insert(checks.end(), RunChecksAfterClash().begin(), RunChecksAfterClash().end());
    for (const JobCheck &check : checks) {
        const QString subject = QString::fromUtf8(check.subject);
        if (const std::optional<RunFailure> failure = check.test(job, {}))
            refuse(ExitStatusOf(failure->kind), subject, BatchReason(*failure));
        else if (check.shown && !(job.*check.shown).isEmpty())
            ok(subject + QLatin1Char(' ') + job.*check.shown);
        else
            ok(subject);
    }

    // The run's checks.
    if (!job.ZipDir.isEmpty() && !job.ZipName.isEmpty()) {
        const QStringList clashes = paths::filesStartingWith(job.ZipDir, job.ZipName);
        if (clashes.isEmpty())
            ok(QStringLiteral("no file named %1* in the zip directory").arg(job.ZipName));
        else
            ok(QStringLiteral("%1 file(s) named %2* in the zip directory: archives of the same "
                              "names are overwritten")
                   .arg(clashes.size())
                   .arg(job.ZipName));
    }
    QByteArray description;
    if (QFile diz(job.DizPath); diz.open(QIODevice::ReadOnly))
        description = diz.readAll();
    const qint64 line = fieldNumber(job.DizLine);
    const qint64 column = fieldNumber(job.DizColumn);
    if (job.DizAutoNumber && !job.DizPath.isEmpty() && !job.DizLine.isEmpty() &&
        !job.DizColumn.isEmpty()) {
        const QList<QByteArray> lines = TextLines(description);
        constexpr int width = 7; // the test's sample, 001/999
        if (line >= 1 && line <= lines.size() && column < 1)
            refuse(ExitCheckFailed, QStringLiteral("description test"),
                   QStringLiteral("Column number too low"));
        else if (line >= 1 && line <= lines.size() && column - 1 + width > lines[line - 1].size())
            refuse(ExitCheckFailed, QStringLiteral("description test"),
                   QStringLiteral("Column number too high"));
        else if (line > lines.size())
            refuse(ExitCheckFailed, QStringLiteral("description test"),
                   QStringLiteral("Line number too high"));
        else
            ok(QStringLiteral("description test: the number fits line %1 at column %2")
                   .arg(line)
                   .arg(column));
    }

    // Planning: at most as many archives as the source fills volumes.
    const SourceMeasure source = measure(job);
    p.sourceBytes = source.bytes;
    p.sourceFiles = source.files;
    const int position = job.VolumeSizeSetting;
    const qint64 volume = volumeBytes(position);
    p.archives = position == 0 ? 1 : int(std::max<qint64>(1, (source.bound + volume - 1) / volume));
    const QString stamp = dated ? DateStamp(QDate::currentDate()) : QString();
    const QString nfoName = job.NfoPath.mid(job.NfoPath.lastIndexOf(QLatin1Char('/')) + 1);
    QStringList extras;
    if (!job.ExtraPath.isEmpty()) {
        if (job.ExtraIsFile)
            extras << QFileInfo(job.ExtraPath).fileName();
        else
            extras << QDir(job.ExtraPath).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    qint64 perArchive = 0; // description, nfo, extra and the zip's own records
    perArchive += description.size() + 7 + QFileInfo(job.NfoPath).size() + 100 + 512;
    for (const QString &extra : extras)
        perArchive +=
            QFileInfo(job.ExtraIsFile ? job.ExtraPath : QDir(job.ExtraPath).filePath(extra))
                .size() +
            200;
    const QList<QByteArray> descriptionLines = TextLines(description);
    for (int n = 1; n <= p.archives; ++n) {
        const QString number = VolumeNumberText(position, n);
        QStringList entries{
            job.ZipName + (position == 0 ? QStringLiteral(".rar") : QStringLiteral(".") + number)};
        QString diz = QStringLiteral("file_id.diz");
        if (job.DizAutoNumber && line >= 1 && line <= descriptionLines.size()) {
            QByteArray numbered = descriptionLines[line - 1];
            const QByteArray text = NumberText(n, p.archives).toLatin1();
            const qint64 start = std::max<qint64>(column, 1) - 1;
            if (start + text.size() > numbered.size())
                numbered.append(text);
            else
                numbered.replace(start, text.size(), text);
            // Its printable part: the rest may be any code page's frame characters.
            QByteArray shown;
            for (char c : numbered)
                shown += c >= ' ' && c <= '~' ? c : ' ';
            diz += QStringLiteral(" (line %1: \"%2\")")
                       .arg(line)
                       .arg(QString::fromLatin1(shown).simplified());
        }
        entries << diz;
        if (job.NfoFirstOnly != Checked || n == 1)
            entries << nfoName;
        entries << extras;
        p.archiveLines << QStringLiteral("archive %1%2%3.zip: %4")
                              .arg(job.ZipName, stamp, number, entries.join(QStringLiteral(", ")));
    }

    // Space: the volumes on the temporary drive, the archives in the zip directory.
    const QString tempRoot =
        tempDrive.compare(QLatin1String("c"), Qt::CaseInsensitive) == 0
            ? paths::systemDirPath()
            : [&] {
                  for (const Drive &d : disks.drives()) {
                      if (d.letter.compare(tempDrive, Qt::CaseInsensitive) == 0)
                          return d.root;
                  }
                  return QString();
              }();
    const qint64 tempFree = tempRoot.isEmpty() ? 0 : disks.freeBytes(existingAncestor(tempRoot));
    const qint64 outNeeded = source.bound + p.archives * perArchive;
    const qint64 outFree = job.ZipDir.isEmpty() ? 0 : disks.freeBytes(existingAncestor(job.ZipDir));
    // Volumes leave the temporary drive as their archives are written, so when both are the same
    // file system the peak is one volume beyond the archives.
    const auto spaceCheck = [&](const QString &what, qint64 needed, qint64 free) {
        const QString line = QStringLiteral("%1: needs at most %2 bytes, %3 free")
                                 .arg(what, bytesText(needed), bytesText(free));
        p.spaceLines << line;
        if (needed > free)
            refuse(ExitCheckFailed, what, QStringLiteral("not enough free space"));
        else
            ok(what + QStringLiteral(": enough free space"));
    };
    spaceCheck(QStringLiteral("temporary drive %1: (%2)").arg(tempDrive, tempRoot), source.bound,
               tempFree);
    spaceCheck(QStringLiteral("zip directory"), outNeeded, outFree);

    // Release warnings.
    p.warnings << DescriptionWarnings(description);
    if (job.DizAutoNumber) {
        if (const QString w = StampWarning(description, line, column,
                                           int(NumberText(p.archives, p.archives).size()));
            !w.isEmpty())
            p.warnings << w;
    }
    if (const QString w = NameWarning(job.ZipName + stamp + QStringLiteral(".zip")); !w.isEmpty())
        p.warnings << w;
    if (const QString w = CountWarning(p.archives); !w.isEmpty())
        p.warnings << w;
    return p;
}

QStringList RunPreviewReport(const JobSettings &job, const QString &scriptName, bool dated,
                             const QString &tempDrive, DiskInfo &disks, int *status)
{
    QStringList lines;
    const auto say = [&lines](const QString &line) { lines << line; };
    const RunPreview p = PreviewRun(job, dated, tempDrive, disks);
    say(QStringLiteral("Plan of %1").arg(scriptName));
    say(QStringLiteral("source: %1 bytes in %2 file(s), less the skip list")
            .arg(bytesText(p.sourceBytes))
            .arg(p.sourceFiles));
    say(job.VolumeSizeSetting == 0
            ? QStringLiteral("volumes: no limit, one archive")
            : QStringLiteral("volumes: %1 bytes each, at most %2 archive(s); the archiver may "
                             "make fewer")
                  .arg(bytesText(volumeBytes(job.VolumeSizeSetting)))
                  .arg(p.archives));
    for (const QString &line : p.archiveLines)
        say(line);
    for (const QString &line : p.spaceLines)
        say(QStringLiteral("space: ") + line);
    for (const QString &line : p.checks)
        say(QStringLiteral("check: ") + line);
    for (const QString &line : p.warnings)
        say(QStringLiteral("warning: ") + line);
    say(p.status == 0 ? QStringLiteral("A run would start.")
                      : QStringLiteral("A run would be refused (status %1).").arg(p.status));
    if (status)
        *status = p.status;
    return lines;
}

int PrintRunPreview(const QString &scriptArgument)
{
    Session session;
    const bool dated = scriptArgument.startsWith(QLatin1Char('$'));
    const QString script = dated || scriptArgument.startsWith(QLatin1Char('!'))
                               ? scriptArgument.mid(1)
                               : scriptArgument;
    session.state.BatchRun = true; // no message box
    session.state.ScriptPath = script;
    if (const std::optional<RunFailure> failure = LoadScript(session)) {
        std::fprintf(stderr, "kesto32: %s: %s\n", qPrintable(script),
                     qPrintable(BatchReason(*failure)));
        return ExitStatusOf(failure->kind);
    }
    StorageDiskInfo disks;
    int status = 0;
    for (const QString &line :
         RunPreviewReport(session.job, script, dated, session.state.TempDrive, disks, &status)) {
        std::fputs(line.toLocal8Bit().constData(), stdout);
        std::fputc('\n', stdout);
    }
    return status;
}

} // namespace kesto
