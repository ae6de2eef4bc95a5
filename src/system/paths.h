#pragma once
// Paths, drives and the fixed file places of the program.
#include <QString>
#include <QStringList>

namespace kesto::paths {

// Root of the private system drive "c:": $KESTO32_SYSTEM_DIR, else ~/.cache/kesto32; made 0700.
QString systemDir();
// The same path, without making the directory (for what must write nothing).
QString systemDirPath();
// A fixed file on the system drive: systemFile("skip.txt").
QString systemFile(const QString &name);
// Directory of the running program (where wrar and size lie).
QString programDir();
// Where the working copies go: programDir() when writable, else ~/.local/share/kesto32.
QString appDir();
// Chosen paths are lower-cased on a case-insensitive system; names here are case-sensitive.
QString lowerPath(const QString &path);
// Path usable unquoted in a command line split at blanks; empty when it does not exist.
QString GetShortFileName(const QString &fileName);
// dir + "/" + name, without doubling a trailing separator.
QString join(const QString &dir, const QString &name);
// Names in dir matching a listing pattern where "*.*" matches every name.
enum class Listing { Files, FilesAndDirs };
QStringList list(const QString &dir, const QString &pattern, Listing what);
// Does a listing pattern such as "/src/old/*.*" or "/src/a.txt*" match anything?
bool patternMatches(const QString &pathPattern, Listing what);

} // namespace kesto::paths
