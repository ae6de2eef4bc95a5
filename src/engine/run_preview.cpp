#include "run_preview.h"

#include "archiver_step.h"
#include "describe/diz_numbering.h"
#include "describe/extra_files.h"
#include "describe/release_checks.h"
#include "job/script.h"
#include "job/session.h"
#include "recovery_set.h"
#include "run_plan.h"
#include "series.h"
#include "system/figures.h"
#include "system/paths.h"
#include "system/recovery_tool.h"
#include "system/storage_disks.h"
#include "validation.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

namespace kesto {

namespace {

namespace fs = std::filesystem;

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

RunPreview PreviewRun(const JobSettings &job, bool dated, const QString &tempDrive, DiskInfo &disks,
                      int recoveryPercent)
{
    RunPreview p;
    const auto ok = [&](const QString &what) {
        //: A check passed; %1 what was checked. Keep "ok" as wide as "refused", padded with blanks
        p.checks << QCoreApplication::translate("RunPreview", "ok       %1").arg(what);
    };
    const auto refuse = [&](int status, const QString &what, const QString &why) {
        //: A check failed; %1 what was checked, %2 why
        p.checks << QCoreApplication::translate("RunPreview", "refused  %1: %2").arg(what, why);
        if (p.status == 0)
            p.status = status;
    };
    const auto judge = [&](const JobCheck &check) {
        const QString subject = QCoreApplication::translate("validation", check.subject);
        if (const std::optional<RunFailure> failure = check.test(job, {}))
            refuse(ExitStatusOf(failure->kind), subject, BatchReason(*failure));
        else if (check.shown && !(job.*check.shown).isEmpty())
            ok(subject + QLatin1Char(' ') + job.*check.shown);
        else
            ok(subject);
    };

    // In the order a run makes them, by the same verdicts, without writing: the job's validation
    // with its description test, the run's own checks, the programs, the space.
    for (const JobCheck &check : ValidationChecks())
        judge(check);
    QByteArray description;
    if (QFile diz(job.DizPath); diz.open(QIODevice::ReadOnly))
        description = diz.readAll();
    const qint64 line = fieldNumber(job.DizLine);
    const qint64 column = fieldNumber(job.DizColumn);
    if (job.DizAutoNumber && !job.DizPath.isEmpty() && !job.DizLine.isEmpty() &&
        !job.DizColumn.isEmpty()) {
        if (const QString problem = DizNumberingProblem(description, line, column);
            !problem.isEmpty())
            refuse(ExitStatusOf(Failure::JobInvalid),
                   QCoreApplication::translate("RunPreview", "description test"), problem);
        else
            ok(QCoreApplication::translate("RunPreview",
                                           "description test: the number fits line %1 at column %2")
                   .arg(line)
                   .arg(column));
    }
    for (const JobCheck &check : RunChecksAfterClash())
        judge(check);
    if (const std::optional<RunFailure> missing = ArchiverProgramsMissing())
        refuse(ExitStatusOf(missing->kind), QCoreApplication::translate("RunPreview", "archiver"),
               BatchReason(*missing));
    else
        ok(QCoreApplication::translate("RunPreview", "archiver: wrar and 7-Zip found"));

    // Planning: at most as many archives as the source fills volumes.
    const SourceMeasure source = measure(job);
    p.sourceBytes = source.bytes;
    p.sourceFiles = source.files;
    const int position = job.VolumeSizeSetting;
    const qint64 volume = volumeBytes(position);
    p.archives = position == 0 ? 1 : int(std::max<qint64>(1, (source.bound + volume - 1) / volume));
    const QString stamp = dated ? DateStamp(QDate::currentDate()) : QString();
    const QString nfoName = job.NfoPath.mid(job.NfoPath.lastIndexOf(QLatin1Char('/')) + 1);
    // The extra as the run lists it: never a namesake of the run's own files, never a link.
    const ExtraFiles extraFiles = ListExtraFiles(job);
    QStringList extras;
    qint64 perArchive = 0; // description, nfo, extra and the zip's own records
    perArchive += description.size() + 7 + QFileInfo(job.NfoPath).size() + 100 + 512;
    for (const QByteArray &path : extraFiles.paths) {
        extras << QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
        perArchive += QFileInfo(QFile::decodeName(path)).size() + 200;
    }
    p.warnings << extraFiles.warnings;

    // An earlier series of the same name: replaced archive by archive, and what lies beyond the
    // new last archive removed once the run has completed.
    if (!job.ZipDir.isEmpty() && !job.ZipName.isEmpty() && QFileInfo(job.ZipDir).isDir()) {
        const QString base = job.ZipName + stamp;
        QList<std::pair<int, QString>> earlier;
        for (const QString &file :
             QDir(job.ZipDir)
                 .entryList({QStringLiteral("*.zip")}, QDir::Files | QDir::Hidden, QDir::Name)) {
            const int number = position == 0 ? (file == base + QStringLiteral(".zip") ? 1 : 0)
                                             : SeriesMemberNumber(file, base);
            if (number > 0)
                earlier.append({number, file});
        }
        QStringList beyond;
        for (const auto &[number, file] : earlier) {
            if (number > p.archives)
                beyond << file;
        }
        if (earlier.isEmpty())
            ok(QCoreApplication::translate("RunPreview",
                                           "no earlier series %1 in the zip directory")
                   .arg(base));
        else
            ok(QCoreApplication::translate(
                   "RunPreview",
                   "%1 archive(s) of an earlier series %2 in the zip directory: each one this run "
                   "writes is replaced; those beyond its last one are removed when it completes%3")
                   .arg(earlier.size())
                   .arg(base)
                   .arg(beyond.isEmpty() ? QString()
                                         : QCoreApplication::translate("RunPreview", " (%1)")
                                               .arg(beyond.join(QStringLiteral(", ")))));
    }
    const QList<QByteArray> descriptionLines = TextLines(description);
    p.numberedLine = line;
    for (int n = 1; n <= p.archives; ++n) {
        const QString number = VolumeNumberText(position, n);
        QStringList entries{
            job.ZipName + (position == 0 ? QStringLiteral(".rar") : QStringLiteral(".") + number)};
        QByteArray numbered;
        if (job.DizAutoNumber && line >= 1 && line <= descriptionLines.size()) {
            numbered = descriptionLines[line - 1];
            const QByteArray text = NumberText(n, p.archives).toLatin1();
            const qint64 start = std::max<qint64>(column, 1) - 1;
            if (start + text.size() > numbered.size())
                numbered.append(text);
            else
                numbered.replace(start, text.size(), text);
        }
        p.numberedLines << numbered;
        entries << QStringLiteral("file_id.diz");
        if (job.NfoFirstOnly != Checked || n == 1)
            entries << nfoName;
        entries << extras;
        //: %1%2%3.zip the archive's name, %4 its entries
        p.archiveLines << QCoreApplication::translate("RunPreview", "archive %1%2%3.zip: %4")
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
    // Only the compressed size can tell whether the upper bound is needed: short of it the run
    // may not fit (a warning); short of the least any run writes it fails for certain.
    const auto spaceCheck = [&](const QString &what, qint64 least, qint64 most, qint64 free,
                                Failure failure) {
        p.spaceLines << QCoreApplication::translate("RunPreview",
                                                    "%1: needs at most %2 bytes, %3 free")
                            .arg(what, GroupedNumber(most), GroupedNumber(free));
        if (least > free)
            refuse(
                ExitStatusOf(failure), what,
                QCoreApplication::translate(
                    "RunPreview", "not enough free space: even the smallest series needs %1 bytes")
                    .arg(GroupedNumber(least)));
        else if (most > free)
            p.warnings << QCoreApplication::translate(
                              "RunPreview",
                              "%1: may not fit: %2 bytes free, up to %3 bytes needed; only the "
                              "compressed size can tell")
                              .arg(what, GroupedNumber(free), GroupedNumber(most));
        else
            ok(what + QCoreApplication::translate("RunPreview", ": enough free space"));
    };
    // A 7-Zip set has at least its 32-byte start header; each archive its entries' records.
    constexpr qint64 leastVolume = 32, leastArchive = leastVolume + 3 * (30 + 46 + 12) + 22;
    spaceCheck(QCoreApplication::translate("RunPreview", "temporary drive %1: (%2)")
                   .arg(tempDrive, tempRoot),
               leastVolume, source.bound, tempFree, Failure::ArchiverFailed);
    spaceCheck(QCoreApplication::translate("RunPreview", "zip directory"), leastArchive, outNeeded,
               outFree, Failure::ZipFailed);

    // The recovery set comes last: the run writes it once the series is complete.
    if (recoveryPercent > 0) {
        QList<qint64> sizes;
        for (qint64 left = outNeeded; left > 0 && sizes.size() < p.archives;) {
            const qint64 size = sizes.size() + 1 == p.archives || position == 0
                                    ? left
                                    : std::min(left, volume + perArchive);
            sizes << size;
            left -= size;
        }
        qint64 setBytes = 0;
        for (const RecoveryFilePlan &file :
             PlanRecoverySet(job.ZipName + stamp, sizes, recoveryPercent)) {
            //: %1 a file of the recovery set, %2 its estimated bytes
            p.recoveryLines << QCoreApplication::translate("RunPreview", "%1: about %2 bytes")
                                   .arg(file.name, GroupedNumber(file.bytes));
            setBytes += file.bytes;
        }
        //: %1 the percentage, %2 the set's estimated bytes, %3 the archives' estimated bytes
        p.recoveryLines << QCoreApplication::translate(
                               "RunPreview", "%1 %: about %2 bytes beside at most %3 bytes of "
                                             "archives")
                               .arg(recoveryPercent)
                               .arg(GroupedNumber(setBytes), GroupedNumber(outNeeded));
        if (Par2Program().isEmpty())
            refuse(ExitStatusOf(Failure::RecoveryMissing),
                   QCoreApplication::translate("RunPreview", "recovery set"), Par2MissingText());
        else
            ok(QCoreApplication::translate("RunPreview", "recovery set: par2 found"));
    }

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

void PrintCommandReport(const CommandReport &report)
{
    for (int i = 0; i < report.lines.size(); ++i) {
        const QByteArray bytes =
            report.rawLines.contains(i) ? report.rawLines.value(i) : report.lines[i].toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fputc('\n', stdout);
    }
    for (const QString &line : report.errors) {
        const QByteArray bytes = "kesto32: " + line.toLocal8Bit() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    }
    std::fflush(stdout);
}

CommandReport PlanReport(const JobSettings &job, const QString &scriptName, bool dated,
                         const QString &tempDrive, DiskInfo &disks, int recoveryPercent)
{
    CommandReport out;
    const RunPreview p = PreviewRun(job, dated, tempDrive, disks, recoveryPercent);
    QStringList &lines = out.lines;
    lines << QCoreApplication::translate("RunPreview", "Plan of %1").arg(scriptName);
    lines << QCoreApplication::translate("RunPreview",
                                         "source: %1 bytes in %2 file(s), less the skip list")
                 .arg(GroupedNumber(p.sourceBytes), GroupedNumber(p.sourceFiles));
    lines
        << (job.VolumeSizeSetting == 0
                ? QCoreApplication::translate("RunPreview", "volumes: no limit, one archive")
                : QCoreApplication::translate(
                      "RunPreview",
                      "volumes: %1 bytes each, at most %2 archive(s); the archiver may make fewer")
                      .arg(GroupedNumber(volumeBytes(job.VolumeSizeSetting)))
                      .arg(p.archives));
    for (int i = 0; i < p.archiveLines.size(); ++i) {
        lines << p.archiveLines[i];
        if (p.numberedLines.value(i).isEmpty())
            continue;
        // The numbered line byte for byte, as the archive's description will hold it.
        const QString head = QCoreApplication::translate("RunPreview", "  file_id.diz line %1: ")
                                 .arg(p.numberedLine);
        lines << head + QString::fromLatin1(p.numberedLines[i]);
        out.rawLines.insert(int(lines.size() - 1), head.toLocal8Bit() + p.numberedLines[i]);
    }
    for (const QString &line : p.spaceLines)
        lines << QCoreApplication::translate("RunPreview", "space: %1").arg(line);
    for (const QString &line : p.recoveryLines)
        lines << QCoreApplication::translate("RunPreview", "recovery: %1").arg(line);
    for (const QString &line : p.checks)
        lines << QCoreApplication::translate("RunPreview", "check: %1").arg(line);
    for (const QString &line : p.warnings)
        lines << QCoreApplication::translate("RunPreview", "warning: %1").arg(line);
    lines << (p.status == 0
                  ? QCoreApplication::translate("RunPreview", "A run would start.")
                  : QCoreApplication::translate("RunPreview", "A run would end with status %1.")
                        .arg(p.status));
    out.status = p.status;
    return out;
}

CommandReport PlanCommand(const QString &scriptArgument, int recoveryPercent)
{
    CommandReport out;
    Session session;
    const bool dated = scriptArgument.startsWith(QLatin1Char('$'));
    const QString script = dated || scriptArgument.startsWith(QLatin1Char('!'))
                               ? scriptArgument.mid(1)
                               : scriptArgument;
    session.state.BatchRun = true; // no message box
    session.state.ScriptPath = script;
    if (const std::optional<RunFailure> failure = LoadScript(session)) {
        out.errors << script + QStringLiteral(": ") + BatchReason(*failure);
        out.status = ExitStatusOf(failure->kind);
        return out;
    }
    StorageDiskInfo disks;
    return PlanReport(session.job, script, dated, session.state.TempDrive, disks, recoveryPercent);
}

int PrintRunPreview(const QString &scriptArgument, int recoveryPercent)
{
    const CommandReport report = PlanCommand(scriptArgument, recoveryPercent);
    PrintCommandReport(report);
    return report.status;
}

} // namespace kesto
