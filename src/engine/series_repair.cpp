#include "series_repair.h"

#include "system/durable_files.h"
#include "system/recovery_tool.h"
#include "system/timings.h"
#include "system/zip_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

bool isArchiveOf(const Series &series, const QString &name)
{
    return series.unlimited ? name == series.base + QStringLiteral(".zip")
                            : SeriesMemberNumber(name, series.base) > 0;
}

// The archive of the series a problem line is about; empty for a line about the whole series.
QString archiveOfProblem(const Series &series, const QString &problem)
{
    if (!problem.startsWith(series.base))
        return {};
    const qsizetype colon = problem.indexOf(QStringLiteral(": "), series.base.size());
    const QString name = colon < 0 ? QString() : problem.left(colon);
    return isArchiveOf(series, name) ? name : QString();
}

const Par2Target *targetNamed(const Par2Report &par2, const QString &name)
{
    const QByteArray bytes = QFile::encodeName(name);
    for (const Par2Target &target : par2.targets) {
        if (target.name == bytes)
            return &target;
    }
    return nullptr;
}

bool isDamage(const Par2Target &target)
{
    return target.state != Par2Target::State::Found;
}

// The recovery blocks the volumes' names promise: the set's blocks run from 0 without a gap, so
// the highest first block + count is the least the whole set holds.
qint64 promisedBlocks(const QStringList &files, const QString &base)
{
    static const QRegularExpression vol(QStringLiteral("\\.vol(\\d+)\\+(\\d+)\\.par2$"));
    qint64 blocks = 0;
    for (const QString &file : files) {
        const QRegularExpressionMatch m = vol.match(file.mid(base.size()));
        if (m.hasMatch())
            blocks = std::max(blocks, m.captured(1).toLongLong() + m.captured(2).toLongLong());
    }
    return blocks;
}

QString mainFileOf(const QString &dir, const QStringList &files, const QString &base)
{
    const QString index = RecoveryIndexName(base);
    return QDir(dir).filePath(files.contains(index) ? index : files.first());
}

// The name our repair directories are made from, as the zip store names its temporary files.
QString repairDirFor(const QString &base)
{
    return base + QStringLiteral(".repair");
}

// Our private directory inside the series' directory, removed with what it holds (our links and
// what par2 wrote) however the repair ends. Links are removed, never followed.
class RepairDir {
public:
    explicit RepairDir(const Series &series)
    {
        QByteArray pattern =
            QFile::encodeName(
                QDir(series.dir).filePath(QLatin1Char('.') + repairDirFor(series.base))) +
            ".kesto32-XXXXXX";
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
        else
            error_ = errno;
    }
    ~RepairDir()
    {
        if (path_.isEmpty())
            return;
        std::error_code error;
        std::filesystem::remove_all(path_.toStdString(), error);
    }
    RepairDir(const RepairDir &) = delete;
    RepairDir &operator=(const RepairDir &) = delete;
    bool valid() const { return !path_.isEmpty(); }
    int error() const { return error_; }
    QString dir() const { return QFile::decodeName(path_); }
    QByteArray path(const QString &name) const { return path_ + '/' + QFile::encodeName(name); }

private:
    QByteArray path_;
    int error_ = 0;
};

} // namespace

bool IsRepairWorkDir(const QString &name, const QString &base)
{
    return IsZipStoreTemporary(QFile::encodeName(name), QFile::encodeName(repairDirFor(base)));
}

bool RemoveRepairWorkDir(const QString &path, const QString &base)
{
    static const QRegularExpression setAside(QStringLiteral("\\.\\d+$"));
    Series names;
    names.base = base;
    for (const QString &name : QDir(path).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                    QDir::NoDotAndDotDot)) {
        const QString original = QString(name).remove(setAside);
        if (!isArchiveOf(names, original) && original != base + QStringLiteral(".zip") &&
            !IsRecoveryFile(original, base))
            continue;
        const QByteArray file = QFile::encodeName(QDir(path).filePath(name));
        struct stat info {};
        if (::lstat(file.constData(), &info) == 0 &&
            (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            ::unlink(file.constData());
    }
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}

RecoveryVerdict AssessRecovery(const Series &series, const VerifyReport &report)
{
    RecoveryVerdict verdict;
    verdict.problems = report.problems;
    verdict.files = RecoveryFiles(series.dir, series.base);
    if (verdict.files.isEmpty())
        return verdict;
    if (Par2Program().isEmpty()) {
        verdict.warnings << QCoreApplication::translate("SeriesRepair",
                                                        "the recovery set cannot be used: %1")
                                .arg(Par2MissingText());
        return verdict;
    }
    timings::mark("recovery-check-par2-start");
    verdict.par2 = RunPar2(Par2Action::Verify, mainFileOf(series.dir, verdict.files, series.base));
    timings::mark("recovery-check-par2-end");
    const Par2Report &par2 = verdict.par2;
    if (par2.stopSignal) {
        verdict.stopSignal = par2.stopSignal;
        return verdict;
    }
    if (!par2.understood) {
        verdict.warnings << QCoreApplication::translate("SeriesRepair",
                                                        "the recovery set cannot be used: %1")
                                .arg(par2.failure);
        return verdict;
    }
    verdict.checked = true;

    // What the set is and covers.
    const qint64 promised = promisedBlocks(verdict.files, series.base);
    if (par2.recoveryBlocks < promised || !par2.unusable.isEmpty() ||
        !verdict.files.contains(RecoveryIndexName(series.base)))
        verdict.warnings << QCoreApplication::translate(
                                "SeriesRepair",
                                "the recovery set is damaged or incomplete: %1 of at least %2 "
                                "recovery blocks usable")
                                .arg(par2.recoveryBlocks)
                                .arg(std::max(promised, par2.recoveryBlocks));
    QSet<QString> problemArchives;
    for (const QString &problem : report.problems)
        problemArchives.insert(archiveOfProblem(series, problem));
    for (const Par2Target &target : par2.targets) {
        const QString name = QFile::decodeName(target.name);
        if (!isArchiveOf(series, name)) {
            verdict.warnings << QCoreApplication::translate(
                                    "SeriesRepair",
                                    "the recovery set covers %1, which is no archive of the series")
                                    .arg(name);
            continue;
        }
        if (!isDamage(target))
            continue;
        if (problemArchives.contains(name)) {
            verdict.damaged << name;
        } else if (target.blocksFound == 0) {
            verdict.refusal =
                QCoreApplication::translate(
                    "SeriesRepair", "the recovery set holds none of the blocks of %1, which reads "
                                    "intact: the set was made for other archives")
                    .arg(name);
        } else if (target.state == Par2Target::State::Damaged) {
            verdict.warnings << QCoreApplication::translate(
                                    "SeriesRepair",
                                    "%1 reads intact but is not the archive the recovery set was "
                                    "made for (%2 of %3 blocks the same); a repair leaves it as it "
                                    "is")
                                    .arg(name)
                                    .arg(target.blocksFound)
                                    .arg(target.blocks);
        }
    }
    if (!verdict.refusal.isEmpty())
        verdict.warnings << verdict.refusal;
    for (const SeriesArchive &archive : series.archives) {
        if (archive.number <= report.length && !targetNamed(par2, archive.name))
            verdict.warnings << QCoreApplication::translate("SeriesRepair",
                                                            "%1 is not covered by the recovery set")
                                    .arg(archive.name);
    }

    // Each problem: damage the set repairs, damage beyond it, or no damage to the bytes at all.
    const bool anyDamage = !verdict.damaged.isEmpty();
    const bool possible = par2.repairPossible && verdict.refusal.isEmpty();
    bool all = true;
    verdict.problems.clear();
    for (const QString &problem : report.problems) {
        const QString archive = archiveOfProblem(series, problem);
        const Par2Target *target = archive.isEmpty() ? nullptr : targetNamed(par2, archive);
        QString tagged;
        bool repairable = false;
        if (!archive.isEmpty() && !target) {
            tagged = QCoreApplication::translate(
                "SeriesRepair",
                "%1 (not repairable: the recovery set does not cover this archive)");
        } else if (archive.isEmpty() ? anyDamage : isDamage(*target)) {
            repairable = possible;
            tagged = possible ? QCoreApplication::translate("SeriesRepair", "%1 (repairable)")
                              : QCoreApplication::translate("SeriesRepair", "%1 (beyond repair)");
        } else {
            tagged =
                archive.isEmpty()
                    ? QCoreApplication::translate(
                          "SeriesRepair", "%1 (not repairable: the recovery set finds no damage)")
                    : QCoreApplication::translate(
                          "SeriesRepair",
                          "%1 (not repairable: the recovery set finds this archive intact)");
        }
        all = all && repairable;
        verdict.problems << tagged.arg(problem);
    }
    verdict.repairable = all && !report.problems.isEmpty() && anyDamage;
    if (anyDamage || par2.repairRequired) {
        const qint64 damagedCount = std::count_if(par2.targets.cbegin(), par2.targets.cend(),
                                                  [](const Par2Target &t) { return isDamage(t); });
        verdict.summary =
            (possible ? QCoreApplication::translate(
                            "SeriesRepair",
                            "repairable: %1 damaged or missing archive(s), recovery blocks needed "
                            "%2 of %3")
                      : QCoreApplication::translate(
                            "SeriesRepair",
                            "beyond repair: %1 damaged or missing archive(s), recovery blocks "
                            "needed %2 of %3"))
                .arg(damagedCount)
                .arg(par2.blocksNeeded())
                .arg(par2.recoveryBlocks);
    }
    return verdict;
}

RepairOutcome RepairArchives(const Series &series, const RecoveryVerdict &verdict)
{
    RepairOutcome outcome;
    const auto fail = [&outcome](const QString &why) {
        outcome.errors << why;
        outcome.par2Failed = true;
        return outcome;
    };
    // What a repair that was killed left: ours by its name and what it holds.
    for (const QString &name :
         QDir(series.dir)
             .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString path = QDir(series.dir).filePath(name);
        if (IsRepairWorkDir(name, series.base) && RemoveRepairWorkDir(path, series.base))
            outcome.lines << QCoreApplication::translate("SeriesRepair",
                                                         "removed %1, left by an earlier repair")
                                 .arg(path);
    }
    RepairDir work(series);
    if (!work.valid())
        return fail(QCoreApplication::translate("SeriesRepair",
                                                "cannot make a temporary directory in %1: %2")
                        .arg(series.dir, QString::fromLocal8Bit(std::strerror(work.error()))));

    // par2 sees the series through links of ours; it reads them, renames a damaged one aside and
    // writes each rebuilt archive as a new file.
    QStringList names = verdict.files;
    for (const SeriesArchive &archive : series.archives)
        names << archive.name;
    for (const QString &name : std::as_const(names)) {
        const QByteArray path = QFile::encodeName(QDir(series.dir).filePath(name));
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
            outcome.errors << QCoreApplication::translate(
                                  "SeriesRepair", "%1 is not a regular file: nothing repaired")
                                  .arg(name);
            return outcome;
        }
        if (::symlink(path.constData(), work.path(name).constData()) != 0)
            return fail(QCoreApplication::translate("SeriesRepair",
                                                    "cannot link %1 in the temporary directory: %2")
                            .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    }
    const QString mainFile = mainFileOf(work.dir(), verdict.files, series.base);
    timings::mark("repair-par2-start");
    const Par2Report par2 = RunPar2(Par2Action::Repair, mainFile);
    timings::mark("repair-par2-end");
    if (par2.stopSignal) {
        outcome.stopSignal = par2.stopSignal;
        return outcome;
    }
    if (!par2.repaired)
        return fail(
            QCoreApplication::translate("SeriesRepair", "par2 could not repair the series: %1")
                .arg(par2.failure));

    for (const QString &name : verdict.damaged) {
        const QByteArray rebuilt = work.path(name);
        const QByteArray target = QFile::encodeName(QDir(series.dir).filePath(name));
        struct stat info {};
        if (::lstat(rebuilt.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            return fail(
                QCoreApplication::translate("SeriesRepair", "par2 did not rebuild %1").arg(name));
        if (!SyncFile(rebuilt))
            return fail(QCoreApplication::translate("SeriesRepair", "cannot write %1 to the disk")
                            .arg(name));
        // A missing archive's name takes nothing that appeared there meanwhile; a damaged one is
        // replaced as a whole.
        const bool missing = ::lstat(target.constData(), &info) != 0 && errno == ENOENT;
        const int renamed = missing ? ::renameat2(AT_FDCWD, rebuilt.constData(), AT_FDCWD,
                                                  target.constData(), RENAME_NOREPLACE)
                                    : ::rename(rebuilt.constData(), target.constData());
        if (renamed != 0)
            return fail(QCoreApplication::translate("SeriesRepair",
                                                    "cannot put the rebuilt %1 in place: %2")
                            .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
        outcome.repaired << name;
        outcome.lines << QCoreApplication::translate("SeriesRepair",
                                                     "%1: rebuilt from the recovery set")
                             .arg(name);
    }
    if (!SyncDirectory(QFile::encodeName(series.dir)))
        return fail(QCoreApplication::translate("SeriesRepair", "cannot write %1 to the disk")
                        .arg(series.dir));
    return outcome;
}

} // namespace kesto
