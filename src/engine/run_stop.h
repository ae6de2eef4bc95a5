#pragma once
// Ending the program on a stop signal, and a run stopped part-way (signal or window closed).
namespace kesto {

class Session;

// A stop signal: a run under way is stopped at its next step (the archiver is already ended and
// the add in progress abandoned) and ends the program from there; with none the program ends now.
void StopForSignal(Session &session);
// Called where a stopped run comes to an end: removes its files and, after a signal, ends the
// program with 128 + the signal's number. False when no stop was requested.
bool EndStoppedRun(Session &session);

} // namespace kesto
