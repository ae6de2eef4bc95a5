#include "script_commands.h"

#include "describe/source_size.h"
#include "job/script.h"
#include "job/session.h"
#include "output_settings.h"
#include "system/paths.h"
#include "validation.h"

namespace kesto {

void OpenScriptCommand(Session &session)
{
    // Emptied before the dialog, so the list stays empty even when the user cancels.
    session.state.JobValid = false;
    session.job.SkipList.clear();
    session.jobChanged();
    const auto chosen = session.svc.dialogs->openFile(
        ScriptDialogSetup(QStringLiteral("Open script"), session.state.AppDir));
    if (!chosen || chosen->isEmpty())
        return;
    session.state.ScriptPath = paths::lowerPath(*chosen);
    // A script that fails to load still leaves the fields it did read to be checked and shown.
    LoadScript(session);
    ValidateJob(session);
    CalculateSourceSize(session);
    ShowZipFreeSpace(session);
    ShowScriptTitle(session);
}

} // namespace kesto
