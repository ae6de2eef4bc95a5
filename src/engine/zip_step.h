#pragma once
#include "job/run_failure.h"
#include "run_plan.h"

#include <QStringList>
#include <optional>

namespace kesto {

class Session;

// Wraps every volume of the work directory into its zip archive, then completes the run; stops
// at the first failure, which it returns.
std::optional<RunFailure> RunZipStep(Session &session, const RunPlan &plan);
// The Kesto page's "&Abort" and "E&xit".
void RequestZipAbort(Session &session);
void AbortAndClose(Session &session);

// Volume file names in the archiver's order of creation: ".001" < ".002" < ... < ".999" < ".1000";
// a name without a numeric extension (the one ".rar" of an unlimited archive) comes first.
QStringList InVolumeOrder(QStringList names);

} // namespace kesto
