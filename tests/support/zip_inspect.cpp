#include "zip_inspect.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

namespace kesto::test {

namespace {

QByteArray runUnzip(const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), arguments);
    unzip.closeWriteChannel();
    unzip.waitForFinished(-1);
    if (exitCode)
        *exitCode = unzip.exitStatus() == QProcess::NormalExit ? unzip.exitCode() : -1;
    return unzip.readAllStandardOutput();
}

} // namespace

QList<CentralEntry> centralDirectory(const QString &archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const char *d = data.constData();
    const auto u16 = [d](qsizetype at) { return qFromLittleEndian<quint16>(d + at); };
    const auto u32 = [d](qsizetype at) { return qFromLittleEndian<quint32>(d + at); };
    constexpr qsizetype endRecordSize = 22;
    if (data.size() < endRecordSize)
        return {};
    const qsizetype end = data.size() - endRecordSize;
    if (u32(end) != 0x06054b50)
        return {};
    const quint16 count = u16(end + 10);
    qsizetype at = u32(end + 16);
    QList<CentralEntry> entries;
    for (int i = 0; i < count; ++i) {
        if (at + 46 > data.size() || u32(at) != 0x02014b50)
            return {};
        const quint16 nameLength = u16(at + 28);
        entries.append({data.mid(at + 46, nameLength), u16(at + 8), u16(at + 10)});
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    }
    return entries;
}

QStringList unzipNames(const QString &archive)
{
    int exitCode = 0;
    const QByteArray out = runUnzip({QStringLiteral("-Z1"), archive}, &exitCode);
    if (exitCode != 0)
        return {};
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool unzipTests(const QString &archive)
{
    int exitCode = -1;
    runUnzip({QStringLiteral("-tq"), archive}, &exitCode);
    return exitCode == 0;
}

QByteArray unzipContent(const QString &archive, const QString &name)
{
    return runUnzip({QStringLiteral("-p"), archive, name});
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace kesto::test
