#pragma once
// What makes a file put in place by rename durable, and the names a directory holds.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kesto {

// A file's bytes reach the disk; never through a link at its name. False with errno set.
bool SyncFile(const QByteArray &path);
// A directory's entries (a rename into it) reach the disk; the path may be the user's link to it.
bool SyncDirectory(const QByteArray &path);
// The names in dir as the file system has them, sorted; a name that is not text in the file name
// encoding is left out (no file of ours has one).
QStringList DirectoryNames(const QString &dir);

} // namespace kesto
