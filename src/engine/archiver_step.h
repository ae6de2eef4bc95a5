#pragma once
#include "job/run_failure.h"
#include "run_plan.h"

#include <QString>
#include <optional>

namespace kesto {

class Session;

// Size switch, then " -m5 -s" for a solid archive.
QString ArchiverOptions(const QString &sizeSwitch, bool rarSolid);
// "wrar.exe a -r " + options + " -y " + archive + " \"" + source + "\" " + skip switch; an archive
// path with a blank or a quote is quoted, a quote in the source doubled.
QString ArchiverCommand(const QString &options, const QString &rarArchivePath,
                        const QString &sourcePath, const QString &skipSwitch);
// Fills plan.archiverOptions and plan.skipSwitch and writes the skip file when the list is not
// empty; the failure when the skip file could not be written.
std::optional<RunFailure> PrepareArchiverStep(Session &session, RunPlan &plan);
// The archiver (wrar) or 7-Zip cannot be found: nothing can run. The plan of a run asks too.
std::optional<RunFailure> ArchiverProgramsMissing();
// Runs the archiver on the planned command line and waits until it has ended. Returns what went
// wrong with it: not found (nothing ran), or an ending other than success (what it left is
// still to be wrapped).
std::optional<RunFailure> RunArchiverStep(Session &session, const RunPlan &plan);

} // namespace kesto
