// Not yet built: placeholder so the layers link.
#include "archiver_step.h"
#include "job/session.h"
namespace kesto {
QString ArchiverOptions(const QString &, bool) { return {}; }
QString ArchiverCommand(const QString &, const QString &, const QString &, const QString &) { return {}; }
bool PrepareArchiverStep(Session &, RunPlan &) { return true; }
void RunArchiverStep(Session &, const RunPlan &) {}
} // namespace kesto
