#include "script_commands.h"

#include "describe/source_size.h"
#include "job/script.h"
#include "job/session.h"
#include "output_settings.h"
#include "system/paths.h"
#include "validation.h"

#include <QCoreApplication>

namespace kesto {

void OpenScriptCommand(Session &session)
{
    const auto chosen = session.svc.dialogs->openFile(ScriptDialogSetup(
        //: Designed text: the caption of the dialog that opens a script
        QCoreApplication::translate("ScriptCommands", "Open script"), session.state));
    if (!chosen || chosen->isEmpty())
        return;
    OpenScript(session, *chosen);
}

void OpenScript(Session &session, const QString &path)
{
    session.state.JobValid = false;
    session.job.SkipList.clear();
    session.jobChanged();
    session.state.ScriptPath = paths::lowerPath(path);
    // A script that fails to load still leaves the fields it did read to be checked and shown.
    LoadScript(session);
    ValidateJob(session);
    CalculateSourceSize(session);
    ShowZipFreeSpace(session);
    ShowScriptTitle(session);
}

} // namespace kesto
