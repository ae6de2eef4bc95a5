#include "skip_list.h"

#include "job/session.h"
#include "system/paths.h"

#include <QCoreApplication>

namespace kesto {

namespace {

const QString EntryEnd = QStringLiteral("\r\n");

void sendToSourcePage(Session &session)
{
    session.svc.window->hideAllPages();
    session.showPage(Page::Source);
}

void addSubDirectory(Session &session)
{
    JobSettings &job = session.job;
    const std::optional<QString> chosen = session.svc.dialogs->pickFolder(
        QCoreApplication::translate("SkipList", "Directory to skip"), job.SourcePath);
    // An empty choice would become an entry for the whole file system.
    if (!chosen || chosen->isEmpty())
        return;
    if (paths::lowerPath(*chosen) == paths::lowerPath(job.SourcePath))
        return;
    job.SkipList = paths::lowerPath(job.SkipList + *chosen);
    job.SkipList +=
        job.SkipList.endsWith(QLatin1Char('/')) ? QStringLiteral("*.*") : QStringLiteral("/*.*");
    job.SkipList += EntryEnd;
    session.jobChanged();
}

void addFile(Session &session)
{
    JobSettings &job = session.job;
    const std::optional<QString> chosen = session.svc.dialogs->openFile(
        {QCoreApplication::translate("SkipList", "Add skip file"),
         QStringLiteral("Skip file (*.*)|*.*|"), QStringLiteral("*.*"), job.SourcePath});
    if (!chosen)
        return;
    const QString path = paths::lowerPath(*chosen);
    if (path.isEmpty())
        return;
    // Leading characters only, as designed: "/src2/a" counts as within "/src".
    if (path.left(job.SourcePath.size()) != paths::lowerPath(job.SourcePath)) {
        session.error(QCoreApplication::translate("SkipList", "Path isn't within source path"),
                      Icon::Stop);
        return;
    }
    job.SkipList = paths::lowerPath(job.SkipList + path) + EntryEnd;
    session.jobChanged();
}

} // namespace

void AddSkipEntry(Session &session, bool subDir)
{
    if (session.job.SourcePath.isEmpty()) {
        session.error(QCoreApplication::translate(
                          "SkipList", "You must pick a source drive or directory first"),
                      Icon::Stop);
        sendToSourcePage(session);
        return;
    }
    if (subDir)
        addSubDirectory(session);
    else
        addFile(session);
}

void ClearSkipList(Session &session)
{
    session.job.SkipList.clear();
    session.jobChanged();
}

} // namespace kesto
