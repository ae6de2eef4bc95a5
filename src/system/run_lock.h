#pragma once
// The lock that keeps two instances from sharing the fixed files and work directories of the
// system drive: a file lock on a file there that names its holder's process id.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace kesto::runlock {

enum class Outcome {
    Held,     // ours, for the rest of the process's life
    Busy,     // another process holds it
    NotPlain, // a link or something else than a file stands at the lock's name
    Unusable, // the lock file cannot be made (a full or read-only directory)
};

// Takes the lock (Held again once held). holder: the process id of the one that holds it (0
// when unknown); why: what makes the lock unusable, naming the file.
Outcome take(qint64 *holder = nullptr, QString *why = nullptr);
bool acquire(qint64 *holder = nullptr);

// With the lock held: the work directories (Kesto + digits) in the system directory are left by
// runs that ended without cleaning up (a kill). Removes them; returns one line per directory,
// naming it and the bytes it held.
QStringList removeLeftWorkDirs();

} // namespace kesto::runlock
