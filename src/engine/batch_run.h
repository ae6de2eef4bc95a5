#pragma once
// An unattended run, for cron and scripts: no window, no question; progress, the outcome and
// every failure go to standard error, and the exit status says how it ended.
#include <QString>

namespace kesto {

class Session;
struct RunState;

// Runs the job of state.ScriptPath; returns the exit status. quiet leaves only failures.
int RunBatch(Session &session, bool quiet);
// "kesto32: <script name>: ", the start of every line an unattended run writes.
QString BatchLinePrefix(const RunState &state);
// Removes the fixed files of the system drive and the working copies, as at shut-down.
void RemoveFixedFiles(const RunState &state);

} // namespace kesto
