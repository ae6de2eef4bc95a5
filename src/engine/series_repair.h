#pragma once
// The recovery set beside a series (ZIPNAME.par2 and its volumes): what it can repair of the
// problems the check finds, and the repair itself.
#include "system/recovery_check.h"
#include "verify_series.h"

#include <QStringList>

namespace kesto {

struct RecoveryVerdict {
    QStringList files;    // the recovery files beside the series; none: nothing below applies
    bool checked = false; // par2 read the set and gave its verdict
    Par2Report par2;
    // The check's problems, each saying whether the set repairs it.
    QStringList problems;
    QStringList warnings;
    QString summary; // "repairable: ..." or "beyond repair: ..."; empty when the set has no say
    // Every problem is damage to archives' bytes that the set can undo.
    bool repairable = false;
    // The archives to rebuild: missing, or damaged by the check's and par2's account.
    QStringList damaged;
    // Why a repair must not run although par2 would: it would rebuild an archive that reads
    // intact and in which the set finds none of its blocks (a set made for other archives).
    QString refusal;
    int stopSignal = 0;
};

// Checks the recovery set beside the series with par2 and weighs the check's report against it.
// Without recovery files (or without par2, said in a warning) the problems stay as they are.
RecoveryVerdict AssessRecovery(const Series &series, const VerifyReport &report);

struct RepairOutcome {
    QStringList lines;    // what was done, one line each (earlier repairs' leftovers removed too)
    QStringList errors;   // why nothing (more) was done
    QStringList repaired; // the archives renamed into place
    int stopSignal = 0;
    bool par2Failed = false; // par2 could not do the repair, or its result could not be placed
};

// Whether name (in a series' directory) is the private directory of a repair of base's series:
// "." + base + ".repair.kesto32-" + six letters or digits.
bool IsRepairWorkDir(const QString &name, const QString &base);
// Removes such a directory left by a repair that was killed: the links, archives and recovery
// files of base in it (a name par2 set aside with ".1" included), then the directory itself.
// False when anything else keeps it there.
bool RemoveRepairWorkDir(const QString &path, const QString &base);

// Rebuilds the verdict's damaged archives with par2 in a private directory of ours inside the
// series' directory (links we make to the archives and recovery files), then renames each
// rebuilt archive into place; the directory goes however it ends.
RepairOutcome RepairArchives(const Series &series, const RecoveryVerdict &verdict);

} // namespace kesto
