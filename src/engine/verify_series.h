#pragma once
// The check of a finished series: complete, intact, and (optionally) the source it came from.
#include "series.h"

#include <QStringList>

namespace kesto {

struct JobSettings;

struct VerifyOptions {
    // With a source, the series is unpacked in a stream and compared with it byte for byte.
    QString against;
    // The job that made the series: its skip list, its description numbering, its nfo and extra.
    const JobSettings *job = nullptr;
};

struct VerifyReport {
    QStringList problems; // one line each; none for a complete, intact series
    QStringList warnings; // release warnings: they never make a series fail
    int length = 0;       // the archives the series needs (its volumes' own record), else found
    int stopSignal = 0;   // the stop signal that ended the check early; 0 when none
};

// Checks the series; a stop signal (SIGINT, SIGTERM, SIGHUP caught by StopSignals) ends it early
// with its private copies removed.
VerifyReport VerifySeries(const Series &series, const VerifyOptions &options);

// The number of archives the series needs, read from the 7-Zip set's own record in the first
// archive's volume; 0 when it cannot be read.
int SeriesLength(const Series &series);

// 7-Zip's program: 7zz, else 7z; empty when neither is on PATH.
QString SevenZipProgram();

} // namespace kesto
