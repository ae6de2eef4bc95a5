#pragma once
#include "job/run_failure.h"

#include <optional>

namespace kesto {

class Session;

// Checks a just-loaded job page by page; clears what no longer exists; sets JobValid. Returns
// why the job is not valid.
std::optional<RunFailure> ValidateJob(Session &session);
// A zip name holding a blank, or anything that would put the archives elsewhere ('/' or NUL).
std::optional<RunFailure> ZipNameFailure(const QString &zipName);

} // namespace kesto
