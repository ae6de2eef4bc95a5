#include "paths.h"

#include "command_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace kesto::paths {

namespace {

// Made 0700 when missing; an existing directory keeps its mode (it may be shared, and its mode
// is its owner's choice): SystemDirProblem() refuses it when it is not private.
QString ensurePrivateDir(const QString &dir)
{
    const QByteArray path = QFile::encodeName(dir);
    struct stat info;
    if (::stat(path.constData(), &info) != 0) {
        QDir().mkpath(QFileInfo(dir).absolutePath());
        ::mkdir(path.constData(), 0700);
    }
    return dir;
}

// "*.*" is every name, as on the system the listing patterns come from.
QString nativePattern(const QString &pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

// $VAR when set to an absolute path (as the XDG rules ask), else ~/fallback.
QString xdgDir(const char *variable, const char *fallback)
{
    const QString fromEnv = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(fromEnv))
        return QDir::cleanPath(fromEnv);
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
}

} // namespace

QString systemDirPath()
{
    const QString fromEnv = qEnvironmentVariable("KESTO32_SYSTEM_DIR");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    return xdgDir("XDG_CACHE_HOME", ".cache") + QStringLiteral("/kesto32");
}

QString systemDir()
{
    return ensurePrivateDir(systemDirPath());
}

QString SystemDirProblem()
{
    const QString dir = systemDir();
    struct stat info;
    if (::stat(QFile::encodeName(dir).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return QCoreApplication::translate("paths", "%1 cannot be made").arg(dir);
    if (info.st_uid != ::geteuid())
        return QCoreApplication::translate("paths", "%1 belongs to another user").arg(dir);
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return QCoreApplication::translate("paths", "others can write %1").arg(dir);
    return {};
}

QString systemFile(const QString &name)
{
    return join(systemDir(), name);
}

QString programDir()
{
    const QString dir = QCoreApplication::applicationDirPath();
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

QString helperProgram(const QString &name)
{
    // Installed, bin/../libexec/kesto32 comes first: bin/ itself holds binutils' size. In a
    // build tree the helpers lie beside the program.
    for (const QString &dir : helperPlaces()) {
        const QFileInfo candidate(join(dir, name));
        if (candidate.isFile() && candidate.isExecutable())
            return QDir::cleanPath(candidate.filePath());
    }
    // Never from PATH: a program of the same name there is someone else's (binutils' size).
    return {};
}

QStringList helperPlaces()
{
    return {QDir::cleanPath(programDir() + QStringLiteral("/../libexec/kesto32")), programDir()};
}

QString appDir()
{
    // Never the program's own directory: installed, that is /usr/bin.
    const QString data = xdgDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("/kesto32");
    QDir().mkpath(data);
    return data;
}

QString lowerPath(const QString &path)
{
    return path;
}

bool dropLink(const QString &path)
{
    return !QFileInfo(path).isSymLink() || QFile::remove(path);
}

QString GetShortFileName(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return {};
    // Quoted when a blank, tab, quote or '>' would otherwise split or redirect it.
    return CommandLineWord(fileName);
}

QString join(const QString &dir, const QString &name)
{
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

QStringList list(const QString &dir, const QString &pattern, Listing what)
{
    QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
    if (what == Listing::FilesAndDirs)
        filters |= QDir::Dirs | QDir::NoDotAndDotDot;
    QDir d(dir.isEmpty() ? QStringLiteral("/") : dir);
    return d.entryList({nativePattern(pattern)}, filters, QDir::Name);
}

QStringList filesStartingWith(const QString &dir, const QString &prefix)
{
    QStringList names = list(dir, QStringLiteral("*"), Listing::Files);
    names.removeIf([&prefix](const QString &name) { return !name.startsWith(prefix); });
    return names;
}

bool patternMatches(const QString &pathPattern, Listing what)
{
    const int slash = pathPattern.lastIndexOf(QLatin1Char('/'));
    const QString dir = slash < 0 ? QDir::currentPath() : pathPattern.left(slash + 1);
    const QString pattern = slash < 0 ? pathPattern : pathPattern.mid(slash + 1);
    if (pattern.isEmpty())
        return false;
    if (!pattern.contains(QLatin1Char('*')) && !pattern.contains(QLatin1Char('?'))) {
        const QFileInfo info(pathPattern);
        return what == Listing::Files ? info.isFile() : info.exists();
    }
    return !list(dir, pattern, what).isEmpty();
}

} // namespace kesto::paths
