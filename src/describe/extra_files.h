#pragma once
// What the extra puts into every archive: the extra file, or the regular files directly in the
// extra directory. The description and the nfo the run writes always win over the extra's own.
#include <QByteArrayList>
#include <QStringList>

namespace kesto {

struct JobSettings;

struct ExtraFiles {
    QByteArrayList paths; // absolute paths as the file system has them, in name order
    QStringList warnings; // one line per entry left out
};

// A file named "file_id.diz" or like the nfo is left out, and so is a symbolic link in the
// extra directory (it is never followed); each with a warning. Nothing when there is no extra.
ExtraFiles ListExtraFiles(const JobSettings &job);

} // namespace kesto
