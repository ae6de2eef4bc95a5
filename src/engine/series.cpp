#include "series.h"

#include "run_plan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace kesto {

namespace {

const QString ZipSuffix = QStringLiteral(".zip");

QStringList zipFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.zip")}, QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

int SeriesMemberNumber(const QString &file, const QString &base)
{
    if (!file.startsWith(base) || !file.endsWith(ZipSuffix))
        return 0;
    const QString digits = file.mid(base.size(), file.size() - base.size() - ZipSuffix.size());
    if (digits.size() < 3 || digits.size() > 5 ||
        !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); }))
        return 0;
    const int number = digits.toInt();
    return number >= 1 && VolumeNumberText(1, number) == digits ? number : 0;
}

QString RecoveryIndexName(const QString &base)
{
    return base + QStringLiteral(".par2");
}

bool IsRecoveryFile(const QString &file, const QString &base)
{
    if (file == RecoveryIndexName(base))
        return true;
    const QString vol = base + QStringLiteral(".vol");
    const QString suffix = QStringLiteral(".par2");
    if (!file.startsWith(vol) || !file.endsWith(suffix))
        return false;
    const QStringView blocks =
        QStringView(file).mid(vol.size(), file.size() - vol.size() - suffix.size());
    const qsizetype plus = blocks.indexOf(QLatin1Char('+'));
    const auto digits = [](QStringView part) {
        return !part.isEmpty() && std::all_of(part.cbegin(), part.cend(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
    };
    return plus > 0 && digits(blocks.left(plus)) && digits(blocks.mid(plus + 1));
}

QStringList RecoveryFiles(const QString &dir, const QString &base)
{
    QStringList found;
    const QStringList names = QDir(dir).entryList(
        {QStringLiteral("*.par2")}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        if (IsRecoveryFile(name, base))
            found << name;
    }
    return found;
}

namespace {

// tool1001.zip reads as archive 1001 of tool or archive 1 of tool1: numbers from 1000 on belong
// to a series only when it holds archive 999 too.
QList<SeriesArchive> members(const QString &dir, const QStringList &files, const QString &base)
{
    QList<SeriesArchive> found;
    for (const QString &file : files) {
        if (const int number = SeriesMemberNumber(file, base))
            found.append({number, file, QDir(dir).filePath(file)});
    }
    std::sort(found.begin(), found.end(),
              [](const SeriesArchive &a, const SeriesArchive &b) { return a.number < b.number; });
    const bool reaches999 = std::any_of(found.cbegin(), found.cend(),
                                        [](const SeriesArchive &a) { return a.number == 999; });
    if (!reaches999)
        found.removeIf([](const SeriesArchive &a) { return a.number >= 1000; });
    return found;
}

Series unlimitedSeries(const QString &dir, const QString &base)
{
    const QString name = base + ZipSuffix;
    return Series{dir, base, true, {SeriesArchive{1, name, QDir(dir).filePath(name)}}};
}

// Of several ways to read the names, the one with the first archive and the most members; with
// a file named, only a series that holds it.
std::optional<Series> best(const QString &dir, const QStringList &files, const QStringList &bases,
                           const QString &named = {})
{
    std::optional<Series> chosen;
    for (const QString &base : bases) {
        Series series{dir, base, false, members(dir, files, base)};
        if (series.archives.isEmpty())
            continue;
        if (!named.isEmpty() &&
            std::none_of(series.archives.cbegin(), series.archives.cend(),
                         [&](const SeriesArchive &a) { return a.name == named; }))
            continue;
        const auto rank = [](const Series &s) {
            return std::pair(s.archives.first().number == 1, s.archives.size());
        };
        if (!chosen || rank(series) > rank(*chosen))
            chosen = series;
    }
    return chosen;
}

} // namespace

std::optional<Series> FindSeries(const QString &path, const QString &name, QString *why)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        if (name.isEmpty()) {
            *why = QCoreApplication::translate("series",
                                               "%1 is a directory: name the series with --name")
                       .arg(path);
            return std::nullopt;
        }
        const QString dir = info.absoluteFilePath();
        const QStringList files = zipFiles(dir);
        // The name as given is its own series; a dated one only when there is none undated.
        if (std::optional<Series> exact = best(dir, files, {name}))
            return exact;
        if (files.contains(name + ZipSuffix))
            return unlimitedSeries(dir, name);
        QStringList bases;
        // A dated series: the name, a date stamp of five or six digits, the number.
        for (const QString &file : files) {
            for (int stamp : {5, 6}) {
                const QString base = file.left(name.size() + stamp);
                if (file.startsWith(name) && SeriesMemberNumber(file, base) &&
                    std::all_of(base.cbegin() + name.size(), base.cend(),
                                [](QChar c) { return c.isDigit(); }))
                    bases << base;
            }
        }
        bases.removeDuplicates();
        if (std::optional<Series> series = best(dir, files, bases))
            return series;
        *why = QCoreApplication::translate("series", "no series %1 in %2").arg(name, path);
        return std::nullopt;
    }
    if (!info.isFile() || !info.fileName().endsWith(ZipSuffix)) {
        *why = QCoreApplication::translate("series", "%1 is not an archive of a series").arg(path);
        return std::nullopt;
    }
    const QString dir = info.absolutePath();
    const QString stem = info.fileName().chopped(ZipSuffix.size());
    qsizetype digits = 0;
    while (digits < stem.size() && stem[stem.size() - 1 - digits].isDigit())
        ++digits;
    QStringList bases;
    for (qsizetype k = 3; k <= std::min<qsizetype>(digits, 5); ++k) {
        if (SeriesMemberNumber(info.fileName(), stem.chopped(k)))
            bases << stem.chopped(k);
    }
    if (std::optional<Series> series = best(dir, zipFiles(dir), bases, info.fileName()))
        return series;
    return unlimitedSeries(dir, stem);
}

} // namespace kesto
