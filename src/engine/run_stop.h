#pragma once
// A stop signal in the window: a run under way is stopped at its next step (the archiver is
// already ended and the add in progress abandoned); the window then closes and the program ends
// with 128 + the signal's number. An unattended run has no window: its run returns the failure.
namespace kesto {

class Session;

// From the event loop, for each stop signal caught.
void StopForSignal(Session &session);
// Where a stopped run has come to an end: after a signal, closes the window.
void EndStoppedRun(Session &session);
// The program's line on standard error for the signal that ended it.
void ReportStopped(const Session &session);

} // namespace kesto
