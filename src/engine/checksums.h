#pragma once
// Checksum manifests beside a series: base + ".sfv" (CRC32 of each archive, the format release
// sites check) and base + ".sha256" (the format of sha256sum -c).
#include "series.h"

#include <QByteArray>
#include <QStringList>

namespace kesto {

struct FileSums {
    quint32 crc32 = 0;
    QByteArray sha256; // raw bytes
};

// Both sums of a file in one read; false when it cannot be read.
bool SumFile(const QString &path, FileSums &sums);
// Writes both manifests for the archives of the series; false with why when one fails.
bool WriteManifests(const Series &series, QString *why);
// The manifests' paths for a series.
QString SfvPath(const Series &series);
QString Sha256Path(const Series &series);
// One line per disagreement between the series and the manifests present beside it; none when
// there are none.
QStringList CheckManifests(const Series &series);

} // namespace kesto
