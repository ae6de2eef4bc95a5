#include "recovery_set.h"

#include "system/durable_files.h"
#include "system/paths.h"
#include "system/recovery_check.h"
#include "system/recovery_tool.h"
#include "system/stop_signals.h"
#include "system/timings.h"
#include "system/zip_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

// par2 would cut the archives into at most this many blocks: each damaged spot costs one block.
constexpr qint64 SourceBlockTarget = 2000;
// Below this a block's checksums, repeated in every file, outweigh what small blocks save.
constexpr qint64 BlockSizeFloor = 16 * 1024;
constexpr qint64 PacketHeader = 64;

int bitLength(qint64 value)
{
    int bits = 0;
    for (; value > 0; value >>= 1)
        ++bits;
    return bits;
}

qint64 blocksOf(const QList<qint64> &sizes, qint64 words)
{
    qint64 count = 0;
    for (qint64 size : sizes)
        count += ((size + 3) / 4 + words - 1) / words;
    return count;
}

// The smallest multiple of 4 bytes that cuts the files into no more than the target number of
// blocks.
qint64 blockSizeFor(const QList<qint64> &sizes)
{
    const qint64 files = sizes.size();
    if (files >= SourceBlockTarget)
        return (*std::max_element(sizes.cbegin(), sizes.cend()) + 3) & ~qint64(3);
    qint64 words = 0;
    for (qint64 size : sizes)
        words += (size + 3) / 4;
    if (words <= SourceBlockTarget)
        return 4;
    qint64 low = words / SourceBlockTarget;
    qint64 high = (words + SourceBlockTarget - files - 1) / (SourceBlockTarget - files);
    while (low < high) {
        const qint64 middle = (low + high) / 2;
        if (blocksOf(sizes, middle) > SourceBlockTarget)
            low = middle + 1;
        else
            high = middle;
    }
    return low * 4;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isRegularFile(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

RunFailure par2Failed(const QString &why)
{
    return RunFailure{Failure::RecoveryFailed, why};
}

constexpr char EarlierDir[] = "earlier";

bool sameFile(const QByteArray &path, const struct stat &known)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && info.st_dev == known.st_dev &&
           info.st_ino == known.st_ino;
}

// Whether an earlier file moved aside could not be put back: the work directory then stays.
bool keepWorkDir(const QString &work)
{
    return !DirectoryNames(QDir(work).filePath(QLatin1String(EarlierDir))).isEmpty();
}

// Puts the new set in place of the earlier one as a whole, never a mix of both: the earlier
// recovery files go aside into the work directory first, then each new file is renamed into
// place. When a rename fails, the new files already in place go and the earlier ones come back.
// Returns why it failed, and in what state it left the directory.
std::optional<QString> installSet(const Series &series, const QString &work,
                                  const QStringList &made, RecoveryWritten *written)
{
    const QDir dir(series.dir);
    const QDir aside(QDir(work).filePath(QLatin1String(EarlierDir)));
    const QStringList earlier = RecoveryFiles(series.dir, series.base);
    QStringList movedAside;
    QList<std::pair<QString, struct stat>> placed;
    QString why;
    if (!earlier.isEmpty() && ::mkdir(QFile::encodeName(aside.path()).constData(), 0700) != 0)
        why = QCoreApplication::translate("RecoverySet", "cannot create %1: %2")
                  .arg(aside.path(), systemError());
    for (const QString &name : earlier) {
        if (!why.isEmpty())
            break;
        if (::rename(QFile::encodeName(dir.filePath(name)).constData(),
                     QFile::encodeName(aside.filePath(name)).constData()) != 0)
            why = QCoreApplication::translate("RecoverySet", "cannot move %1 aside: %2")
                      .arg(dir.filePath(name), systemError());
        else
            movedAside << name;
    }
    qint64 bytes = 0;
    for (const QString &name : made) {
        if (!why.isEmpty())
            break;
        const QByteArray from = QFile::encodeName(QDir(work).filePath(name));
        const QByteArray to = QFile::encodeName(dir.filePath(name));
        struct stat info {};
        if (!SyncFile(from) || ::lstat(from.constData(), &info) != 0 ||
            ::rename(from.constData(), to.constData()) != 0)
            why = QCoreApplication::translate("RecoverySet", "cannot write %1: %2")
                      .arg(QFile::decodeName(to), systemError());
        else {
            placed.append({name, info});
            bytes += info.st_size;
        }
    }
    if (why.isEmpty() && !SyncDirectory(QFile::encodeName(series.dir)))
        why = QCoreApplication::translate("RecoverySet", "cannot sync %1: %2")
                  .arg(series.dir, systemError());
    if (why.isEmpty()) {
        written->files = made;
        written->bytes = bytes;
        // The set replaces the earlier one as a whole: its files describe other archives.
        for (const QString &name : earlier) {
            if (!made.contains(name))
                written->removed << dir.filePath(name);
        }
        return std::nullopt;
    }

    // Back to the earlier set: only files this call put in place are removed.
    QStringList stuck;
    for (auto file = placed.crbegin(); file != placed.crend(); ++file) {
        const QByteArray path = QFile::encodeName(dir.filePath(file->first));
        if (!sameFile(path, file->second) || ::unlink(path.constData()) != 0)
            stuck << dir.filePath(file->first);
    }
    for (const QString &name : std::as_const(movedAside)) {
        const QByteArray to = QFile::encodeName(dir.filePath(name));
        struct stat info {};
        // Never over a name something else took meanwhile.
        if (::lstat(to.constData(), &info) == 0 ||
            ::rename(QFile::encodeName(aside.filePath(name)).constData(), to.constData()) != 0)
            stuck << aside.filePath(name);
    }
    SyncDirectory(QFile::encodeName(series.dir));
    ::rmdir(QFile::encodeName(aside.path()).constData());
    if (!stuck.isEmpty())
        //: %1 why the set could not be written, %2 the files left where they should not be
        return QCoreApplication::translate("RecoverySet",
                                           "%1; the directory could not be restored, left: %2")
            .arg(why, stuck.join(QStringLiteral(", ")));
    if (!movedAside.isEmpty())
        return QCoreApplication::translate("RecoverySet",
                                           "%1; the earlier recovery set is left as it was")
            .arg(why);
    return QCoreApplication::translate("RecoverySet", "%1; no file of the new set is left")
        .arg(why);
}

} // namespace

int RecoveryPercentOf(const QString &text)
{
    bool number = false;
    const int percent = text.trimmed().toInt(&number);
    return number && percent >= RecoveryPercentMin && percent <= RecoveryPercentMax ? percent : 0;
}

QString RecoveryPercentRefusal(const QString &text)
{
    //: %1 the value given; %2 and %3 the lowest and highest percentage allowed
    return QCoreApplication::translate(
               "RecoverySet", "--recovery takes a percentage, a whole number from %2 to %3, not %1")
        .arg(text, QString::number(RecoveryPercentMin), QString::number(RecoveryPercentMax));
}

qint64 RecoveryBlockSize(const QList<qint64> &archiveSizes)
{
    if (archiveSizes.isEmpty())
        return BlockSizeFloor;
    // A block beyond the largest archive would be padding only.
    const qint64 largest =
        (*std::max_element(archiveSizes.cbegin(), archiveSizes.cend()) + 3) & ~qint64(3);
    return std::max(std::min(BlockSizeFloor, std::max<qint64>(largest, 4)),
                    blockSizeFor(archiveSizes));
}

QStringList RecoveryCreateSettings(const QList<qint64> &archiveSizes, int percent)
{
    return {QStringLiteral("-s%1").arg(RecoveryBlockSize(archiveSizes)),
            QStringLiteral("-r%1").arg(percent), QStringLiteral("-n1")};
}

QList<RecoveryFilePlan> PlanRecoverySet(const QString &base, const QList<qint64> &archiveSizes,
                                        int percent)
{
    if (archiveSizes.isEmpty() || percent <= 0)
        return {};
    const qint64 blockSize = RecoveryBlockSize(archiveSizes);
    qint64 sourceBlocks = 0;
    qint64 nameBytes = 0;
    for (qsizetype i = 0; i < archiveSizes.size(); ++i) {
        sourceBlocks += (archiveSizes[i] + blockSize - 1) / blockSize;
        nameBytes += (base.size() + 3 + 4 + 3) & ~3; // base + number + ".zip", padded
    }
    const qint64 recoveryBlocks = std::max<qint64>(1, (sourceBlocks * percent + 50) / 100);
    // One copy of every critical packet: the main packet, per archive its description and its
    // block checksums; the creator packet closes each file.
    const qint64 files = archiveSizes.size();
    const qint64 critical = (PacketHeader + 12 + 16 * files) + files * (PacketHeader + 56) +
                            nameBytes + (PacketHeader + 16) * files + 20 * sourceBlocks;
    const qint64 creator = PacketHeader + 40;

    // One volume file: par2 repeats the critical packets in every file it writes.
    const int digits = int(QString::number(recoveryBlocks).size());
    return {{RecoveryIndexName(base), critical + creator},
            {base + QStringLiteral(".vol%1+%2.par2")
                        .arg(0, digits, 10, QLatin1Char('0'))
                        .arg(recoveryBlocks),
             recoveryBlocks * (PacketHeader + 4 + blockSize) +
                 bitLength(recoveryBlocks) * critical + creator}};
}

bool IsRecoveryWorkDir(const QString &name, const QString &base)
{
    return IsZipStoreTemporary(QFile::encodeName(name), QFile::encodeName(RecoveryIndexName(base)));
}

bool RemoveRecoveryWorkDir(const QString &path, const QString &base)
{
    for (const QString &name : DirectoryNames(path)) {
        const QByteArray file = QFile::encodeName(QDir(path).filePath(name));
        if (IsRecoveryFile(name, base) && isRegularFile(file)) {
            ::unlink(file.constData());
        } else if (name == QLatin1String(EarlierDir)) {
            // The earlier set's files moved aside, links among them (unlinked, never followed).
            const QString earlier = QDir(path).filePath(name);
            for (const QString &moved : DirectoryNames(earlier)) {
                const QByteArray movedPath = QFile::encodeName(QDir(earlier).filePath(moved));
                struct stat info {};
                if (IsRecoveryFile(moved, base) && ::lstat(movedPath.constData(), &info) == 0 &&
                    !S_ISDIR(info.st_mode))
                    ::unlink(movedPath.constData());
            }
            ::rmdir(QFile::encodeName(earlier).constData());
        }
    }
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}

std::optional<RunFailure> WriteRecoverySet(const Series &series, int percent,
                                           RecoveryWritten *written)
{
    const QString program = Par2Program();
    if (program.isEmpty())
        return RunFailure{Failure::RecoveryMissing, Par2MissingText()};
    const QString index = RecoveryIndexName(series.base);
    // Private to us (mkdtemp makes it 0700), so par2 writes nothing through a planted link.
    QByteArray pattern = QFile::encodeName(
        QDir(series.dir).filePath(QLatin1Char('.') + index + QStringLiteral(".kesto32-XXXXXX")));
    if (!::mkdtemp(pattern.data()))
        return par2Failed(QCoreApplication::translate("RecoverySet", "cannot create %1: %2")
                              .arg(QFile::decodeName(pattern), systemError()));
    const QString work = QFile::decodeName(pattern);
    struct WorkDirRemover {
        QString path, base;
        bool keep = false;
        ~WorkDirRemover()
        {
            if (!keep)
                RemoveRecoveryWorkDir(path, base);
        }
    } remover{work, series.base};

    QList<qint64> sizes;
    for (const SeriesArchive &archive : series.archives)
        sizes << QFileInfo(archive.path).size();
    QStringList arguments{QStringLiteral("create"), QStringLiteral("-q"), QStringLiteral("-q")};
    arguments << RecoveryCreateSettings(sizes, percent);
    arguments << QStringLiteral("-B") + series.dir << QDir(work).filePath(index)
              << QStringLiteral("--");
    for (const SeriesArchive &archive : series.archives)
        arguments << QDir(series.dir).absoluteFilePath(archive.name);
    {
        // par2's own run inside the step: the benchmark takes what the step adds from these.
        timings::mark("recovery-par2-start");
        const Par2Run par2 = RunPar2Program(arguments);
        timings::mark("recovery-par2-end");
        if (StopRequested())
            return RunFailure{Failure::Stopped, {}};
        const QString said = Par2LastWords(par2.output);
        const QString tail = said.isEmpty() ? QString() : QStringLiteral(": ") + said;
        if (!par2.started)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 cannot be started: %1")
                    .arg(program));
        if (par2.exitStatus < 0)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 was killed%1").arg(tail));
        if (par2.exitStatus != 0)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 ended with status %1%2")
                    .arg(par2.exitStatus)
                    .arg(tail));
    }

    QStringList made;
    for (const QString &name : DirectoryNames(work)) {
        if (IsRecoveryFile(name, series.base) &&
            isRegularFile(QFile::encodeName(QDir(work).filePath(name))))
            made << name;
    }
    if (!made.contains(index))
        return par2Failed(
            QCoreApplication::translate("RecoverySet", "par2 wrote no %1").arg(index));
    if (const std::optional<QString> why = installSet(series, work, made, written)) {
        remover.keep = keepWorkDir(work);
        return par2Failed(*why);
    }
    return std::nullopt;
}

} // namespace kesto
