#pragma once
// Looks into written zip archives the way a recipient would: with unzip, and by reading the
// central directory's own bytes where unzip does not tell (name flags).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kesto::test {

struct CentralEntry {
    QByteArray name;   // as stored
    quint16 flags = 0; // general purpose bits
    quint16 method = 0;
};

// The central directory of an archive without an archive comment; empty when it cannot be read.
QList<CentralEntry> centralDirectory(const QString &archive);
// Stored names, as `unzip -Z1` lists them.
QStringList unzipNames(const QString &archive);
// `unzip -tq` succeeds.
bool unzipTests(const QString &archive);
// One entry's bytes, through `unzip -p`.
QByteArray unzipContent(const QString &archive, const QString &name);
// Repeatable incompressible bytes.
QByteArray randomBytes(qsizetype size, quint32 seed);
// Names in a directory, hidden ones included.
QStringList entriesOf(const QString &dir);

} // namespace kesto::test
