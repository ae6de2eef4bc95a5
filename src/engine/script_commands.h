#pragma once
namespace kesto {

class Session;

// "&Open script...": empties the skip list, asks for a script, loads, validates and measures it.
void OpenScriptCommand(Session &session);

} // namespace kesto
