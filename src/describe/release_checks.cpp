#include "release_checks.h"

#include "system/textlines.h"

#include <QBuffer>
#include <QCoreApplication>

namespace kesto {

namespace {

constexpr int MaxDescriptionColumns = 45;
constexpr int MaxDescriptionLines = 10;

bool isPlaceholder(char c)
{
    return c == 'x' || c == 'X' || c == '#' || c == '_' || c == '-' || c == '.' || c == '/' ||
           c == ' ' || c == '?' || (c >= '0' && c <= '9');
}

} // namespace

QList<QByteArray> TextLines(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QList<QByteArray> lines;
    QByteArray line;
    while (reader.readLine(line))
        lines.append(line);
    return lines;
}

QStringList DescriptionWarnings(const QByteArray &description)
{
    QStringList warnings;
    const QList<QByteArray> lines = TextLines(description);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > MaxDescriptionColumns)
            warnings << QCoreApplication::translate(
                            "ReleaseChecks",
                            "description line %1 is %2 columns wide (at most %3 read well)")
                            .arg(i + 1)
                            .arg(lines[i].size())
                            .arg(MaxDescriptionColumns);
    }
    if (lines.size() > MaxDescriptionLines)
        warnings << QCoreApplication::translate("ReleaseChecks",
                                                "description has %1 lines (at most %2 read well)")
                        .arg(lines.size())
                        .arg(MaxDescriptionLines);
    return warnings;
}

QString StampWarning(const QByteArray &description, qint64 line, qint64 column, int width)
{
    const QList<QByteArray> lines = TextLines(description);
    if (line < 1 || line > lines.size() || column < 1)
        return {};
    const QByteArray &text = lines[line - 1];
    if (column - 1 + width > text.size())
        return {}; // appended after the line's end: nothing is overwritten
    const QByteArray covered = text.mid(column - 1, width);
    for (char c : covered) {
        if (!isPlaceholder(c))
            return QCoreApplication::translate("ReleaseChecks",
                                               "the number at line %1, column %2 overwrites "
                                               "\"%3\", not a placeholder")
                .arg(line)
                .arg(column)
                .arg(QString::fromLatin1(covered));
    }
    return {};
}

QString NameWarning(const QString &archiveName)
{
    static const QString refused = QStringLiteral("\\:*?\"<>|");
    for (QChar c : archiveName) {
        if (refused.contains(c))
            return QCoreApplication::translate("ReleaseChecks",
                                               "archive name %1 holds '%2', which other "
                                               "systems refuse")
                .arg(archiveName, c);
    }
    return {};
}

QString CountWarning(int archives)
{
    if (archives <= 999)
        return {};
    return QCoreApplication::translate("ReleaseChecks",
                                       "%1 archives: release checkers read only three digits")
        .arg(archives);
}

} // namespace kesto
