#pragma once
namespace kesto {

class Session;

// The packaging run: checks, planning, the archiver step, the zip step and completion.
void kesto_Click(Session &session);
// The run's general error handling: the run ends where it stands (batch mode: program ends).
void FailRun(Session &session, const char *what);
// Removes the run's work directory with whatever it holds.
void RemoveRunFiles(Session &session);

} // namespace kesto
