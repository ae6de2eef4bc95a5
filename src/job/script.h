#pragma once
// Script files (.kst): the job record as positional 8-bit text with CR LF line ends.
#include "job_settings.h"
#include "run_failure.h"
#include "run_state.h"
#include "system/platform.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace kesto {

class Session;

// The script bytes for a job, saved at the given local time.
QByteArray ScriptText(const JobSettings &job, const QDateTime &savedAt);
// Loads state.ScriptPath into the job; on any failure "Error in Kesto script" (not in batch mode)
// and the failure, naming the line (the fields read before the bad line keep their new values).
std::optional<RunFailure> LoadScript(Session &session);
// The script named on the command line, as the bytes the program was given: its name may hold
// any byte, and LoadScript opens it by them.
void SetCommandLineScriptBytes(const QByteArray &name);
// The text with control characters (a NUL among them) as \xHH and backslashes doubled, fit for
// a line of text.
QString EscapedName(const QString &text);
// The part of a script path after its last separator; the path itself when it has none.
QString ScriptFileName(const QString &scriptPath);
// "&Save script...": writes the job to the script it came from or was last saved to; asks for a
// name only when there is none yet (or always, with askName: "Save script &as...").
void SaveScript(Session &session, bool askName = false);

// The open and save dialogs for scripts differ only in their title. They open in the directory
// of the script last opened or saved, else in the user's documents directory.
FileDialogSetup ScriptDialogSetup(const QString &title, const RunState &state);
// The name typed in the save dialog; one without an extension gets ".kst".
QString ScriptSaveName(const QString &chosen);
// Window title "Kesto32 - " + the file name of state.ScriptPath.
void ShowScriptTitle(Session &session);

} // namespace kesto
