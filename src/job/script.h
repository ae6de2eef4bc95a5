#pragma once
// Script files (.kst): the job record as positional 8-bit text with CR LF line ends.
#include "job_settings.h"
#include "run_failure.h"
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
// "&Save script...": asks for a name, writes the job, sets the window title.
void SaveScript(Session &session);

// The open and save dialogs for scripts differ only in their title.
FileDialogSetup ScriptDialogSetup(const QString &title, const QString &appDir);
// Window title "Kesto32 - " + the file name of state.ScriptPath.
void ShowScriptTitle(Session &session);

} // namespace kesto
