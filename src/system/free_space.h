#pragma once
// Free-space figures and the folder pickers' status text.
#include <QString>

namespace kesto {

class DiskInfo;

// Less than this on the temporary drive and the list returns to "c".
constexpr qint64 MinimumTempFreeBytes = 2'000'000;

// Free bytes in decimal millions, rounded half to even: 2,500,000 gives 2, 3,500,000 gives 4.
qint64 FreeSpaceMB(qint64 freeBytes);

// Status text of a folder picker for the highlighted folder: the path itself, or "Invalid
// drive" when its file system reports no free bytes; empty for an empty path.
QString FolderPickerSelectionChanged(DiskInfo &disks, const QString &path);

} // namespace kesto
