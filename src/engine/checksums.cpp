#include "checksums.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace kesto {

namespace {

QByteArray crcText(quint32 crc)
{
    return QByteArray::number(crc, 16).rightJustified(8, '0').toUpper();
}

// A new hidden file of ours beside the manifest, renamed over its name: a link at that name is
// replaced, never written through.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *why)
{
    const QFileInfo info(path);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".kesto32-XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    const auto fail = [&](int error) {
        *why = QCoreApplication::translate("Checksums", "cannot write %1: %2")
                   .arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return false;
    };
    if (fd < 0)
        return fail(errno);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    const bool ok = written == bytes.size() && ::fchmod(fd, 0666 & ~mask) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok || ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        const int renameError = ok ? errno : error;
        ::unlink(temporary.constData());
        return fail(renameError);
    }
    return true;
}

// Manifest lines as name -> the sum's text; nullopt when the file is not there.
std::optional<QHash<QString, QByteArray>> readManifest(const QString &path, bool sfv)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    QHash<QString, QByteArray> sums;
    if (!file.open(QIODevice::ReadOnly))
        return sums;
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (sfv) {
            const qsizetype blank = line.lastIndexOf(' ');
            if (blank > 0)
                sums.insert(QFile::decodeName(line.left(blank).trimmed()),
                            line.mid(blank + 1).toUpper());
        } else {
            const qsizetype blank = line.indexOf(' ');
            if (blank > 0 && blank + 2 <= line.size()) {
                // "<sum>  <name>", or "<sum> *<name>" for binary mode.
                sums.insert(QFile::decodeName(line.mid(blank + 2)), line.left(blank).toLower());
            }
        }
    }
    return sums;
}

} // namespace

bool SumFile(const QString &path, FileSums &sums)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash sha(QCryptographicHash::Sha256);
    uLong crc = crc32(0L, Z_NULL, 0);
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(got));
        sha.addData(QByteArrayView(block.constData(), got));
    }
    sums.crc32 = quint32(crc);
    sums.sha256 = sha.result();
    return true;
}

QString SfvPath(const Series &series)
{
    return QDir(series.dir).filePath(series.base + QStringLiteral(".sfv"));
}

QString Sha256Path(const Series &series)
{
    return QDir(series.dir).filePath(series.base + QStringLiteral(".sha256"));
}

bool WriteManifests(const Series &series, QString *why)
{
    QByteArray sfv = "; " + QFile::encodeName(series.base) + " - CRC32 of each archive\r\n";
    QByteArray sha;
    for (const SeriesArchive &archive : series.archives) {
        FileSums sums;
        if (!SumFile(archive.path, sums)) {
            *why = QCoreApplication::translate("Checksums", "cannot read %1").arg(archive.path);
            return false;
        }
        const QByteArray name = QFile::encodeName(archive.name);
        sfv += name + ' ' + crcText(sums.crc32) + "\r\n";
        sha += sums.sha256.toHex() + "  " + name + '\n';
    }
    return writeAtomically(SfvPath(series), sfv, why) &&
           writeAtomically(Sha256Path(series), sha, why);
}

QStringList CheckManifests(const Series &series)
{
    const auto sfv = readManifest(SfvPath(series), true);
    const auto sha = readManifest(Sha256Path(series), false);
    if (!sfv && !sha)
        return {};
    QStringList problems;
    const QString sfvName = series.base + QStringLiteral(".sfv");
    const QString shaName = series.base + QStringLiteral(".sha256");
    QSet<QString> inSeries;
    for (const SeriesArchive &archive : series.archives) {
        inSeries.insert(archive.name);
        FileSums sums;
        if (!SumFile(archive.path, sums)) {
            problems << QCoreApplication::translate("Checksums",
                                                    "%1: cannot be read for its checksums")
                            .arg(archive.name);
            continue;
        }
        if (sfv) {
            if (!sfv->contains(archive.name))
                problems << QCoreApplication::translate("Checksums", "%1: not listed in %2")
                                .arg(archive.name, sfvName);
            else if (sfv->value(archive.name) != crcText(sums.crc32))
                problems << QCoreApplication::translate(
                                "Checksums", "%1: CRC32 %2 disagrees with %3, which says %4")
                                .arg(archive.name, QString::fromLatin1(crcText(sums.crc32)),
                                     sfvName, QString::fromLatin1(sfv->value(archive.name)));
        }
        if (sha) {
            if (!sha->contains(archive.name))
                problems << QCoreApplication::translate("Checksums", "%1: not listed in %2")
                                .arg(archive.name, shaName);
            else if (sha->value(archive.name) != sums.sha256.toHex())
                problems << QCoreApplication::translate("Checksums",
                                                        "%1: SHA-256 disagrees with %2")
                                .arg(archive.name, shaName);
        }
    }
    for (const auto &[manifest, name] : {std::pair(&sfv, sfvName), std::pair(&sha, shaName)}) {
        if (!*manifest)
            continue;
        for (auto it = (*manifest)->cbegin(); it != (*manifest)->cend(); ++it) {
            if (!inSeries.contains(it.key()))
                problems << QCoreApplication::translate("Checksums",
                                                        "%1: listed in %2 but not found")
                                .arg(it.key(), name);
        }
    }
    return problems;
}

} // namespace kesto
