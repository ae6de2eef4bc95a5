#pragma once
// The check of a finished series: complete, intact, and (optionally) the source it came from.
#include "series.h"

#include <QStringList>

namespace kesto {

struct JobSettings;

struct VerifyOptions {
    // With a source, the series is unpacked and compared with it byte for byte.
    QString against;
    // The job that made the series: its skip list, its description numbering and its nfo.
    const JobSettings *job = nullptr;
};

struct VerifyReport {
    QStringList problems; // one line each; none for a complete, intact series
    QStringList warnings; // release warnings: they never make a series fail
};

VerifyReport VerifySeries(const Series &series, const VerifyOptions &options);

// 7-Zip's program: 7zz, else 7z; empty when neither is on PATH.
QString SevenZipProgram();

} // namespace kesto
