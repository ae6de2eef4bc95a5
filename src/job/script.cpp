// Not yet built: placeholder so the layers link.
#include "script.h"
#include "session.h"
namespace kesto {
QByteArray ScriptText(const JobSettings &, const QDateTime &) { return {}; }
bool LoadScript(Session &) { return false; }
QString ScriptFileName(const QString &) { return {}; }
void SaveScript(Session &) {}
} // namespace kesto
