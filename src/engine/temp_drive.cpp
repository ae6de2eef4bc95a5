#include "temp_drive.h"

#include "run_plan.h"

#include "job/session.h"
#include "system/free_space.h"
#include "system/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <unistd.h>

namespace kesto {

namespace {

const QString SystemDrive = QStringLiteral("c");

// The work directory is made in the root: the user must be able to list and write it.
bool rootUsable(const QString &root)
{
    return !root.isEmpty() && QFileInfo(root).isDir() &&
           ::access(QFile::encodeName(root).constData(), R_OK | W_OK | X_OK) == 0;
}

qint64 freeBytesOf(Session &session, const QString &root)
{
    return session.svc.disks->freeBytes(root);
}

void showTempFreeSpace(Session &session, qint64 freeBytes)
{
    session.svc.window->setTempFreeSpaceText(TempFreeSpaceText(freeBytes));
}

} // namespace

QString TempFreeSpaceText(qint64 freeBytes)
{
    //: Designed text, on two lines: the free space of the drive for the working files
    if (freeBytes < MinimumTempFreeBytes)
        return QCoreApplication::translate("TempDrive", "Free space on - \rless than 2 Meg.");
    //: Designed text, on two lines: %1 the free space in millions of bytes
    return QCoreApplication::translate("TempDrive", "Free space on - \r %1 Meg.")
        .arg(FreeSpaceMB(freeBytes));
}

QString TempDriveStartup(Session &session)
{
    session.state.TempDrive = SystemDrive;
    session.state.TempDriveRoot.clear();
    showTempFreeSpace(session, freeBytesOf(session, DriveRoot(session, SystemDrive)));
    return SystemDrive;
}

QString TempDriveChanged(Session &session, const QString &driveText, const QString &listedRoot)
{
    const QString letter = driveText.left(1).toLower();
    QString root = DriveRoot(session, letter);
    if (!listedRoot.isEmpty() && letter != SystemDrive) {
        const QList<Drive> mounted = session.svc.disks->drives();
        const bool stillMounted = std::any_of(mounted.cbegin(), mounted.cend(),
                                              [&](const Drive &d) { return d.root == listedRoot; });
        root = stillMounted ? listedRoot : QString();
    }
    const bool refused = letter.isEmpty() || letter == QLatin1String("a") || !rootUsable(root);
    const qint64 freeBytes = refused ? 0 : freeBytesOf(session, root);
    if (refused || freeBytes < MinimumTempFreeBytes) {
        session.state.TempDrive = SystemDrive;
        session.state.TempDriveRoot.clear();
        return SystemDrive;
    }
    session.state.TempDrive = letter;
    session.state.TempDriveRoot = root;
    showTempFreeSpace(session, freeBytes);
    return letter;
}

QString TempDriveRoot(Session &session)
{
    const RunState &state = session.state;
    if (state.TempDriveRoot.isEmpty())
        return DriveRoot(session, state.TempDrive);
    // Unmounted since it was chosen: what is left there is a directory of another file system,
    // refused like an unreadable drive.
    if (QStorageInfo(state.TempDriveRoot).rootPath() != state.TempDriveRoot)
        return {};
    return state.TempDriveRoot;
}

} // namespace kesto
