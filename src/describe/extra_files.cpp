#include "extra_files.h"

#include "job/job_settings.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace kesto {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ExtraFiles", text);
}

QByteArray fileName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The names the run writes itself into every archive.
bool reservedName(const QByteArray &name, const JobSettings &job)
{
    return name == "file_id.diz" ||
           (!job.NfoPath.isEmpty() && name == fileName(QFile::encodeName(job.NfoPath)));
}

} // namespace

ExtraFiles ListExtraFiles(const JobSettings &job)
{
    ExtraFiles extra;
    if (job.ExtraPath.isEmpty())
        return extra;
    const auto leftOut = [&extra](const QByteArray &path, const char *why) {
        extra.warnings << QCoreApplication::translate("ExtraFiles", "extra %1 left out: %2")
                              .arg(QFile::decodeName(path), tr(why));
    };
    const QByteArray chosen = QFile::encodeName(job.ExtraPath);
    if (job.ExtraIsFile) {
        if (reservedName(fileName(chosen), job))
            leftOut(chosen,
                    QT_TRANSLATE_NOOP("ExtraFiles", "the run writes its own file of that name"));
        else
            extra.paths << chosen;
        return extra;
    }
    const QByteArray dir = chosen.endsWith('/') && chosen.size() > 1 ? chosen.chopped(1) : chosen;
    DIR *listing = ::opendir(dir.constData());
    if (!listing)
        return extra;
    QByteArrayList names;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names) {
        const QByteArray path = dir == "/" ? dir + name : dir + '/' + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            continue;
        if (S_ISLNK(info.st_mode))
            leftOut(path, QT_TRANSLATE_NOOP("ExtraFiles", "a symbolic link is never followed"));
        else if (!S_ISREG(info.st_mode))
            continue; // subdirectories and special files were never part of the extra
        else if (reservedName(name, job))
            leftOut(path,
                    QT_TRANSLATE_NOOP("ExtraFiles", "the run writes its own file of that name"));
        else
            extra.paths << path;
    }
    return extra;
}

} // namespace kesto
