#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace kesto::paths {

namespace {

QString ensurePrivateDir(const QString &dir)
{
    QDir().mkpath(dir);
    ::chmod(QFile::encodeName(dir).constData(), 0700);
    return dir;
}

// "*.*" is every name, as on the system the listing patterns come from.
QString nativePattern(const QString &pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

} // namespace

QString systemDirPath()
{
    const QString fromEnv = qEnvironmentVariable("KESTO32_SYSTEM_DIR");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    return QDir::homePath() + QStringLiteral("/.cache/kesto32");
}

QString systemDir()
{
    return ensurePrivateDir(systemDirPath());
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

QString appDir()
{
    const QString program = programDir();
    if (::access(QFile::encodeName(program).constData(), W_OK) == 0)
        return program;
    const QString data = QDir::homePath() + QStringLiteral("/.local/share/kesto32");
    QDir().mkpath(data);
    return data;
}

QString lowerPath(const QString &path)
{
    return path;
}

QString GetShortFileName(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return {};
    if (fileName.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + fileName + QLatin1Char('"');
    return fileName;
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
