#include "free_space.h"

#include "paths.h"
#include "platform.h"

#include <QCoreApplication>

namespace kesto {

qint64 FreeSpaceMB(qint64 freeBytes)
{
    constexpr qint64 million = 1'000'000;
    if (freeBytes <= 0)
        return 0;
    const qint64 whole = freeBytes / million;
    const qint64 rest = freeBytes % million;
    if (rest > million / 2 || (rest == million / 2 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

QString FolderPickerSelectionChanged(DiskInfo &disks, const QString &path)
{
    if (path.isEmpty())
        return {};
    if (disks.freeBytes(path) == 0)
        //: Designed text: shown in the folder dialog for a folder with no free space
        return QCoreApplication::translate("FreeSpace", "Invalid drive");
    return paths::lowerPath(path);
}

} // namespace kesto
