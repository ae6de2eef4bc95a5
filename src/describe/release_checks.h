#pragma once
// Release warnings: what release sites and other systems refuse or read badly. They never stop a
// run; the plan and the series check print them.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kesto {

// The lines of a text file's bytes, split at CR LF, a lone CR or a lone LF.
QList<QByteArray> TextLines(const QByteArray &bytes);
// A description wider than 45 columns or longer than 10 lines.
QStringList DescriptionWarnings(const QByteArray &description);
// The number text (width characters) at line and column would overwrite more than a
// placeholder ("xxx/xxx", "###", blanks, digits); empty when it would not.
QString StampWarning(const QByteArray &description, qint64 line, qint64 column, int width);
// An archive name holding \ : * ? " < > |, which other systems refuse; empty when none.
QString NameWarning(const QString &archiveName);
// More than 999 archives: release checkers read three digits. Empty up to 999.
QString CountWarning(int archives);

} // namespace kesto
