#pragma once
// The drive for temporary files on the Source page and its free-space text.
#include <QString>

namespace kesto {

class Session;

// "Free space on - " + CR + " " + n + " Meg."; below the minimum "... less than 2 Meg.".
QString TempFreeSpaceText(qint64 freeBytes);

// Start-up: "c" becomes TempDrive and its free space is shown (even when below the minimum).
// Returns the letter the drive list is to select.
QString TempDriveStartup(Session &session);

// The drive list's selection changed to driveText ("d", "d:" or "d: label"). Returns the letter
// the list must show: the letter itself when accepted (its free space is then shown), else "c"
// with the text left as it is: a, an unknown letter, an unreadable or unwritable root, or less
// than 2,000,000 bytes free. When "c" differs from the list's selection, selecting it runs this
// again for "c", which shows the free space of "c". listedRoot: the root the list showed for the
// letter when it was made; mounts since may have moved the letters, so that root is the one
// taken, and refused like an unreadable drive when it is no longer mounted.
QString TempDriveChanged(Session &session, const QString &driveText,
                         const QString &listedRoot = {});

// Where the run makes its work directory: the root TempDrive had when it was chosen, even when
// mounts made since have moved the letters. Empty when that file system is no longer mounted
// there.
QString TempDriveRoot(Session &session);

} // namespace kesto
