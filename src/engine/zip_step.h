#pragma once
#include "run_plan.h"

namespace kesto {

class Session;

// Wraps every volume of the work directory into its zip archive, then completes the run.
void RunZipStep(Session &session, const RunPlan &plan);
// The Kesto page's "&Abort" and "E&xit".
void Command12_Click(Session &session);
void Command13_Click(Session &session);

} // namespace kesto
