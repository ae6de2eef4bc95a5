#pragma once
#include <QString>

namespace kesto {

class Session;

// "&Open script...": asks for a script, then opens it as OpenScript does. Cancelling the dialog
// leaves the job as it was.
void OpenScriptCommand(Session &session);
// Empties the skip list, loads, validates and measures the script at path.
void OpenScript(Session &session, const QString &path);

} // namespace kesto
