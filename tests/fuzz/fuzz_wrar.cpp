// wrar's command line and exclusion list on any bytes. The input is NUL-separated words: the
// command line; its last word is also read as a skip file for the source it names.
#include "wrar/wrar_plan.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> words = input.split('\0');
    QStringList arguments;
    for (const QByteArray &word : words)
        arguments << QFile::decodeName(word);

    wrar::Request request;
    QString error;
    if (wrar::ParseArguments(arguments, request, error)) {
        if (request.archive.isEmpty() || request.source.isEmpty())
            std::abort();
        const QStringList sevenZip = wrar::SevenZipArguments(request, QStringLiteral("LIST"));
        // The names come last, after "--": never taken as switches.
        if (sevenZip.size() < 3 || sevenZip.at(sevenZip.size() - 3) != QLatin1String("--") ||
            sevenZip.last() != request.source)
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }

    // Every translated entry is one quoted line inside the source's own folder.
    const QByteArray source = words.size() > 1 ? words.at(words.size() - 2) : QByteArray("/p/src");
    const QByteArray list = wrar::TranslateExclusions(words.last(), source);
    const QByteArray top = source.mid(source.lastIndexOf('/') + 1);
    for (const QByteArray &line : list.split('\n').mid(0, list.count('\n'))) {
        if (line.size() < top.size() + 2 || !line.startsWith('"' + top) || !line.endsWith('"') ||
            line.contains('\r'))
            std::abort();
    }
    if (!list.isEmpty() && !list.endsWith('\n'))
        std::abort();
    return 0;
}
