#include "wrar_plan.h"

#include <QRegularExpression>

namespace wrar {

namespace {

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\r' || c == '\n') {
            lines << line;
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace

bool ParseArguments(const QStringList &arguments, Request &request, QString &error)
{
    request = {};
    qsizetype at = 0;
    const auto next = [&]() -> QString {
        return at < arguments.size() ? arguments.at(at++) : QString();
    };
    const auto peek = [&]() -> QString {
        return at < arguments.size() ? arguments.at(at) : QString();
    };

    if (next() != QLatin1String("a")) {
        error = QStringLiteral("only the command \"a\" is understood");
        return false;
    }
    if (next() != QLatin1String("-r")) {
        error = QStringLiteral("\"-r\" must follow \"a\"");
        return false;
    }
    static const QRegularExpression sizeSwitch(QStringLiteral("^-v([0-9]{1,18})b$"));
    const QRegularExpressionMatch size = sizeSwitch.match(next());
    if (!size.hasMatch()) {
        error = QStringLiteral("a volume size \"-v<bytes>b\" must follow \"-r\"");
        return false;
    }
    request.volumeSize = size.captured(1).toLongLong();
    if (peek() == QLatin1String("-m5")) {
        request.bestCompression = true;
        ++at;
    }
    if (peek() == QLatin1String("-s")) {
        request.solid = true;
        ++at;
    }
    if (next() != QLatin1String("-y")) {
        error = QStringLiteral("\"-y\" must come before the archive");
        return false;
    }
    request.archive = next();
    request.source = next();
    if (request.archive.isEmpty() || request.source.isEmpty()) {
        error = QStringLiteral("an archive and a source are needed");
        return false;
    }
    if (at < arguments.size()) {
        const QString list = next();
        if (!list.startsWith(QLatin1String("-x@")) || list.size() == 3) {
            error = QStringLiteral("only \"-x@<list>\" may follow the source");
            return false;
        }
        request.listFile = list.mid(3);
    }
    if (at < arguments.size()) {
        error = QStringLiteral("nothing may follow the list");
        return false;
    }
    if (request.volumeSize > 0 && !request.archive.endsWith(QLatin1String(".001"))) {
        error = QStringLiteral("with a volume size the archive's name must end in \".001\"");
        return false;
    }
    return true;
}

QString SevenZipArchiveName(const Request &request)
{
    if (request.volumeSize > 0)
        return request.archive.chopped(4);
    return request.archive;
}

QStringList SevenZipArguments(const Request &request, const QString &translatedList)
{
    // -sae: the name exactly as given. -spd: names are never wildcards, so "a?b" or "[x]" in the
    // tree and in the list mean only themselves. -snl: a symbolic link is stored as a link, so
    // nothing outside the tree gets in and a loop ends. No -r: in 7-Zip it searches every folder
    // for the source's name. -ms is always given: 7-Zip's own default is solid.
    QStringList arguments{QStringLiteral("a"),
                          QStringLiteral("-t7z"),
                          QStringLiteral("-sae"),
                          QStringLiteral("-spd"),
                          QStringLiteral("-snl"),
                          request.bestCompression ? QStringLiteral("-mx=9")
                                                  : QStringLiteral("-mx=5"),
                          request.solid ? QStringLiteral("-ms=on") : QStringLiteral("-ms=off")};
    if (request.volumeSize > 0)
        arguments << QStringLiteral("-v%1b").arg(request.volumeSize);
    arguments << QStringLiteral("-y");
    if (!translatedList.isEmpty()) {
        // The list is read with the conversion 7-Zip applies to names on disk, so any bytes match.
        arguments << QStringLiteral("-scsWIN") << QStringLiteral("-x@") + translatedList;
    }
    // Names after "--" are never switches, even when they begin with '-'.
    arguments << QStringLiteral("--") << SevenZipArchiveName(request) << request.source;
    return arguments;
}

QByteArray TranslateExclusions(const QByteArray &skipFile, const QByteArray &sourcePath,
                               const QByteArray &packedPath)
{
    const QByteArray &packed = packedPath.isEmpty() ? sourcePath : packedPath;
    const QByteArray top = packed.mid(packed.lastIndexOf('/') + 1);
    const QByteArray inside = sourcePath + '/';
    QByteArray list;
    for (QByteArray entry : splitLines(skipFile)) {
        if (entry.endsWith("/*.*"))
            entry.chop(4);
        while (entry.size() > 1 && entry.endsWith('/'))
            entry.chop(1);
        if (entry != sourcePath && !entry.startsWith(inside))
            continue;
        // 7-Zip trims each line and then takes off one pair of enclosing quotes: quoting every
        // entry keeps blanks and quotes at the ends of a name.
        list += '"' + top + entry.mid(sourcePath.size()) + "\"\n";
    }
    return list;
}

} // namespace wrar
