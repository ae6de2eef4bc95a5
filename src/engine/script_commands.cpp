// Not yet built: placeholder so the layers link.
#include "script_commands.h"
#include "job/session.h"
namespace kesto {
void OpenScriptCommand(Session &) {}
} // namespace kesto
