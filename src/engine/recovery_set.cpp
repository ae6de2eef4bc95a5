#include "recovery_set.h"

#include "system/paths.h"
#include "system/recovery_tool.h"
#include "system/stop_signals.h"
#include "system/timings.h"
#include "system/zip_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto {

namespace {

// par2's own choices when it is given only a percentage: it aims at this many source blocks and
// spreads the recovery blocks over files of doubling size.
constexpr qint64 SourceBlockTarget = 2000;
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

// The block size par2 picks: the smallest multiple of 4 bytes that cuts the files into no more
// than the target number of blocks.
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

QString lastOutputLine(const QByteArray &output)
{
    // Progress rewrites its line after a carriage return: the last piece is what was shown.
    const QList<QByteArray> pieces = output.split('\n');
    for (auto piece = pieces.crbegin(); piece != pieces.crend(); ++piece) {
        const QList<QByteArray> parts = piece->split('\r');
        for (auto part = parts.crbegin(); part != parts.crend(); ++part) {
            if (!part->trimmed().isEmpty())
                return QString::fromLocal8Bit(part->trimmed());
        }
    }
    return {};
}

bool syncPath(const QByteArray &path, int flags)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QStringList plainNames(const QString &dir)
{
    QStringList names;
    DIR *listing = ::opendir(QFile::encodeName(dir).constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << QFile::decodeName(name);
    }
    ::closedir(listing);
    names.sort();
    return names;
}

bool isRegularFile(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// par2's output, the last 4 KiB of it: its last line says why it failed.
class Par2Run {
public:
    explicit Par2Run(const QString &program, const QStringList &arguments)
    {
        process_.setProgram(program);
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardInputFile(QProcess::nullDevice());
        // Given as a process setting, like every outside program's: never the user's directory.
        process_.setWorkingDirectory(paths::systemDir());
        StartInOwnGroup(process_);
    }
    ~Par2Run()
    {
        SetChildProcessGroup(0);
        if (process_.state() != QProcess::NotRunning) {
            ::kill(-pid_t(process_.processId()), SIGTERM);
            process_.waitForFinished(-1);
        }
    }
    // False when it could not start or a stop came first.
    bool run()
    {
        process_.start();
        if (!process_.waitForStarted(-1))
            return false;
        SetChildProcessGroup(pid_t(process_.processId()));
        if (StopRequested())
            RequestStop();
        while (!process_.waitForFinished(100)) {
            keepTail();
            if (process_.state() == QProcess::NotRunning)
                break;
            if (StopRequested())
                return false;
        }
        keepTail();
        SetChildProcessGroup(0);
        return true;
    }
    const QProcess &process() const { return process_; }
    QString lastLine() const { return lastOutputLine(tail_); }

private:
    void keepTail()
    {
        tail_ += process_.readAll();
        if (tail_.size() > 4096)
            tail_ = tail_.right(4096);
    }
    QProcess process_;
    QByteArray tail_;
};

RunFailure par2Failed(const QString &why)
{
    return RunFailure{Failure::RecoveryFailed, why};
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

QList<RecoveryFilePlan> PlanRecoverySet(const QString &base, const QList<qint64> &archiveSizes,
                                        int percent)
{
    if (archiveSizes.isEmpty() || percent <= 0)
        return {};
    const qint64 blockSize = blockSizeFor(archiveSizes);
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
    const qint64 critical = (PacketHeader + 12 + 16 * files) + files * (PacketHeader + 56 + 16) +
                            nameBytes + (PacketHeader + 16) * files + 20 * sourceBlocks;
    const qint64 creator = PacketHeader + 40;

    QList<RecoveryFilePlan> plan;
    // Volumes of doubling block counts, the smallest as small as their number allows.
    const int volumes = bitLength(recoveryBlocks);
    qint64 smallest = 1;
    while (((qint64(1) << volumes) - 1) * smallest < recoveryBlocks)
        smallest <<= 1;
    QList<std::pair<qint64, qint64>> allocation; // first block, count
    qint64 first = 0, left = recoveryBlocks;
    for (int v = 0; v < volumes; ++v, smallest <<= 1) {
        const qint64 count = std::min(smallest, left);
        allocation.append({first, count});
        first += count;
        left -= count;
    }
    qint64 widestFirst = 0, widestCount = 0;
    for (const auto &[from, count] : allocation) {
        widestFirst = std::max(widestFirst, from);
        widestCount = std::max(widestCount, count);
    }
    widestFirst = std::max(widestFirst, first);
    const int firstDigits = int(QString::number(widestFirst).size());
    const int countDigits = int(QString::number(widestCount).size());
    plan.append({RecoveryIndexName(base), critical + creator});
    for (const auto &[from, count] : allocation) {
        const QString name = base + QStringLiteral(".vol%1+%2.par2")
                                        .arg(from, firstDigits, 10, QLatin1Char('0'))
                                        .arg(count, countDigits, 10, QLatin1Char('0'));
        plan.append(
            {name, count * (PacketHeader + 4 + blockSize) + bitLength(count) * critical + creator});
    }
    return plan;
}

bool IsRecoveryWorkDir(const QString &name, const QString &base)
{
    return IsZipStoreTemporary(QFile::encodeName(name), QFile::encodeName(RecoveryIndexName(base)));
}

bool RemoveRecoveryWorkDir(const QString &path, const QString &base)
{
    for (const QString &name : plainNames(path)) {
        const QByteArray file = QFile::encodeName(QDir(path).filePath(name));
        if (IsRecoveryFile(name, base) && isRegularFile(file))
            ::unlink(file.constData());
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
        ~WorkDirRemover() { RemoveRecoveryWorkDir(path, base); }
    } remover{work, series.base};

    QStringList arguments{QStringLiteral("create"),
                          QStringLiteral("-q"),
                          QStringLiteral("-q"),
                          QStringLiteral("-r%1").arg(percent),
                          QStringLiteral("-B") + series.dir,
                          QDir(work).filePath(index),
                          QStringLiteral("--")};
    for (const SeriesArchive &archive : series.archives)
        arguments << QDir(series.dir).absoluteFilePath(archive.name);
    {
        Par2Run par2(program, arguments);
        // par2's own run inside the step: the benchmark takes what the step adds from these.
        timings::mark("recovery-par2-start");
        const bool ended = par2.run();
        timings::mark("recovery-par2-end");
        if (StopRequested())
            return RunFailure{Failure::Stopped, {}};
        const QProcess &process = par2.process();
        const QString said = par2.lastLine();
        const QString tail = said.isEmpty() ? QString() : QStringLiteral(": ") + said;
        if (!ended)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 cannot be started: %1")
                    .arg(program));
        if (process.exitStatus() != QProcess::NormalExit)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 was killed%1").arg(tail));
        if (process.exitCode() != 0)
            return par2Failed(
                QCoreApplication::translate("RecoverySet", "par2 ended with status %1%2")
                    .arg(process.exitCode())
                    .arg(tail));
    }

    QStringList made;
    for (const QString &name : plainNames(work)) {
        if (IsRecoveryFile(name, series.base) &&
            isRegularFile(QFile::encodeName(QDir(work).filePath(name))))
            made << name;
    }
    if (!made.contains(index))
        return par2Failed(
            QCoreApplication::translate("RecoverySet", "par2 wrote no %1").arg(index));
    for (const QString &name : std::as_const(made)) {
        const QByteArray from = QFile::encodeName(QDir(work).filePath(name));
        const QByteArray to = QFile::encodeName(QDir(series.dir).filePath(name));
        struct stat info {};
        if (!syncPath(from, O_NOFOLLOW) || ::lstat(from.constData(), &info) != 0 ||
            ::rename(from.constData(), to.constData()) != 0)
            return par2Failed(QCoreApplication::translate("RecoverySet", "cannot write %1: %2")
                                  .arg(QFile::decodeName(to), systemError()));
        written->files << name;
        written->bytes += info.st_size;
    }
    if (!syncPath(QFile::encodeName(series.dir), O_DIRECTORY))
        return par2Failed(QCoreApplication::translate("RecoverySet", "cannot sync %1: %2")
                              .arg(series.dir, systemError()));
    // The set replaces the earlier one as a whole: its files describe other archives.
    for (const QString &name : RecoveryFiles(series.dir, series.base)) {
        if (made.contains(name))
            continue;
        const QString path = QDir(series.dir).filePath(name);
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            return par2Failed(QCoreApplication::translate("RecoverySet",
                                                          "cannot remove %1, left by an earlier "
                                                          "run: %2")
                                  .arg(path, systemError()));
        written->removed << path;
    }
    return std::nullopt;
}

} // namespace kesto
