#pragma once
#include "job/run_failure.h"

#include <optional>

namespace kesto {

class Session;

// The packaging run: checks, planning, the archiver step, the zip step and completion. Returns
// why it did not deliver the whole series; a failed run has removed its work directory unless
// volumes not yet wrapped are left there (the detail then says where).
std::optional<RunFailure> RunPackaging(Session &session);
// The window's "&Kesto": the run, with the window's message where a failure has one.
std::optional<RunFailure> kesto_Click(Session &session);

} // namespace kesto
