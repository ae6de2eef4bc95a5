#pragma once
// The lock that keeps two instances from sharing the fixed files and work directories of the
// system drive: a file lock on a file there that names its holder's process id.
#include <QtGlobal>

namespace kesto::runlock {

// Takes the lock for the rest of the process's life (true again once held). False, with the
// holder's process id (0 when unknown), when another process holds it.
bool acquire(qint64 *holder = nullptr);

} // namespace kesto::runlock
