#pragma once
// The recovery set beside a series: base + ".par2" and its volume files, written by par2 for
// exactly the series' archives, so that any PAR 2.0 client can rebuild a damaged or missing
// archive from the others.
#include "job/run_failure.h"
#include "series.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace kesto {

// The lowest and highest percentage of recovery data --recovery takes.
inline constexpr int RecoveryPercentMin = 1;
inline constexpr int RecoveryPercentMax = 100;
// The percentage in text; 0 when it is not a whole number in range.
int RecoveryPercentOf(const QString &text);
// Why a --recovery value is refused, with what is allowed.
QString RecoveryPercentRefusal(const QString &text);

// par2's block size for archives of these sizes: at least 16 KiB, and large enough that they
// make at most 2000 blocks.
qint64 RecoveryBlockSize(const QList<qint64> &archiveSizes);
// What par2 create is told besides its files: the block size, the percentage and one volume file,
// so that the set stays close to percent of the archives' bytes at every size.
QStringList RecoveryCreateSettings(const QList<qint64> &archiveSizes, int percent);

struct RecoveryFilePlan {
    QString name;
    qint64 bytes = 0;
};
// The files par2 writes at percent for archives of these sizes, given the settings above, named
// as it names them, with their sizes (exact for archive names of one length, as a series' are).
QList<RecoveryFilePlan> PlanRecoverySet(const QString &base, const QList<qint64> &archiveSizes,
                                        int percent);

struct RecoveryWritten {
    QStringList files;   // names, in the series' directory
    qint64 bytes = 0;    // all of them
    QStringList removed; // paths of earlier recovery files that were not rewritten
};
// Writes the set for exactly the series' archives: par2 writes into a private directory of ours
// inside the series' directory; each file is synced and renamed into place (replacing the name,
// never written through), then the earlier recovery files not rewritten are removed. The private
// directory goes however it ends. Failures: par2 missing or failing (status 6), a stop.
std::optional<RunFailure> WriteRecoverySet(const Series &series, int percent,
                                           RecoveryWritten *written);

// Whether name (in a series' directory) is a private directory where par2 wrote base's set.
bool IsRecoveryWorkDir(const QString &name, const QString &base);
// Removes such a directory: the recovery files in it and in its directory of earlier files moved
// aside, then the directory itself. False when anything else keeps it there.
bool RemoveRecoveryWorkDir(const QString &path, const QString &base);

} // namespace kesto
