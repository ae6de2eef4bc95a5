#pragma once
// A finished series of archives in a directory: base + number + ".zip", or one archive
// base + ".zip" when the volume size had no limit.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kesto {

struct SeriesArchive {
    int number = 0; // 1-based place in the series
    QString name;   // file name
    QString path;
};

struct Series {
    QString dir;
    QString base; // the zip name with its date stamp, if any
    bool unlimited = false;
    QList<SeriesArchive> archives; // by number; gaps are possible
    // The highest number found (1 for an unlimited archive).
    int last() const { return archives.isEmpty() ? 0 : archives.last().number; }
};

// The number of file when it is exactly base + the number as a run writes it + ".zip" (three
// digits, the number's own from 1000 on); 0 when it is no member of that series.
int SeriesMemberNumber(const QString &file, const QString &base);

// The recovery set beside a series, as par2 names it: base + ".par2", and its volumes
// base + ".vol" + first block + "+" + block count + ".par2" (digits only, any width).
QString RecoveryIndexName(const QString &base);
bool IsRecoveryFile(const QString &file, const QString &base);
// The names of the recovery files of base in dir (regular files and links alike), sorted.
QStringList RecoveryFiles(const QString &dir, const QString &base);

// The series an archive belongs to (name empty), or the series called name in a directory: the
// numbered one, else the one unlimited archive name + ".zip", else the dated series of that name
// (the one with archive 1 and the most archives). An archive whose name reads two ways
// (tool1001.zip) belongs to the series that holds it and archive 1, the longer one when both do.
std::optional<Series> FindSeries(const QString &path, const QString &name, QString *why);

} // namespace kesto
