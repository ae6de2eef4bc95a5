#pragma once
#include "platform.h"

namespace kesto {

// The drive model over the mounted file systems: "c" is the private system drive, then "d",
// "e", ... the other mounted, ready, writable file systems that hold files, in mount-point
// order. Kernel and runtime file systems (/proc, /sys, /dev, /run, cgroups, ...) are left out.
class StorageDiskInfo : public DiskInfo {
public:
    // Free bytes available to this user on the file system holding path; 0 when it cannot be
    // read. An empty path means the current directory.
    qint64 freeBytes(const QString &path) override;
    QList<Drive> drives() override;
};

} // namespace kesto
