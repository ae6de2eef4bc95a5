#pragma once
// Paths, drives and the fixed file places of the program.
#include <QString>
#include <QStringList>

namespace kesto::paths {

// Root of the private system drive "c:": $KESTO32_SYSTEM_DIR, else $XDG_CACHE_HOME/kesto32
// (~/.cache/kesto32); made with mode 0700 when missing, never changed when it exists.
QString systemDir();
// Empty when the system directory is private: it exists, is the user's own and no one else can
// write it. Else why not, naming it.
QString SystemDirProblem();
// The same path, without making the directory (for what must write nothing).
QString systemDirPath();
// A fixed file on the system drive: systemFile("skip.txt").
QString systemFile(const QString &name);
// Before a file is replaced with QSaveFile, which writes through a link at its name: a link
// there is removed, so the new file takes the name and nothing else is written. False when a
// link stays.
bool dropLink(const QString &path);
// Directory of the running program.
QString programDir();
// A helper program (wrar, size): in programDir()/../libexec/kesto32, else in programDir(); never
// from PATH. Empty when none is found.
QString helperProgram(const QString &name);
// Where helperProgram() looks, in order.
QStringList helperPlaces();
// Where the working copies go: $XDG_DATA_HOME/kesto32 (~/.local/share/kesto32), made on use.
QString appDir();
// Chosen paths are lower-cased on a case-insensitive system; names here are case-sensitive.
QString lowerPath(const QString &path);
// The path as one word of a command line that SplitCommandLine reads back as the path itself:
// unchanged when nothing in it splits or redirects, else quoted. Empty when it does not exist.
QString GetShortFileName(const QString &fileName);
// dir + "/" + name, without doubling a trailing separator.
QString join(const QString &dir, const QString &name);
// Names in dir matching a listing pattern where "*.*" matches every name.
enum class Listing { Files, FilesAndDirs };
QStringList list(const QString &dir, const QString &pattern, Listing what);
// Files in dir whose names begin with prefix, compared literally and case-sensitively.
QStringList filesStartingWith(const QString &dir, const QString &prefix);
// Does a listing pattern such as "/src/old/*.*" or "/src/a.txt*" match anything?
bool patternMatches(const QString &pathPattern, Listing what);

} // namespace kesto::paths
