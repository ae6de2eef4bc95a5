#include "validation.h"

#include "describe/diz_numbering.h"
#include "job/session.h"
#include "system/paths.h"
#include "system/textlines.h"
#include "system/zip_store.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include <climits>
#include <unistd.h>

namespace kesto {

namespace {

// Lines of a text when split at its line breaks: one entry with its break makes two.
qsizetype lineCount(const QString &text)
{
    qsizetype lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (text[i] == QLatin1Char('\n')) {
            ++lines;
        }
    }
    return lines;
}

bool skipEntryExists(const QString &entry)
{
    if (!entry.endsWith(QLatin1Char('*')))
        return QFileInfo(entry).isFile();
    if (paths::patternMatches(entry, paths::Listing::FilesAndDirs))
        return true;
    // A directory entry of a directory that is still there but empty: a listing with
    // directories would still have found the directory's own "." entry.
    const qsizetype slash = entry.lastIndexOf(QLatin1Char('/'));
    const QString pattern = entry.mid(slash + 1);
    return slash >= 0 && (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) &&
           QFileInfo(entry.left(slash + 1)).isDir();
}

// Reads the skip list back line by line, through the scratch file when there is one; false at
// the first entry naming nothing.
bool skipEntriesExist(const QString &list, const QString &scratchPath)
{
    const qsizetype lines = lineCount(list);
    if (lines <= 1)
        return true;

    QByteArray bytes = QFile::encodeName(list);
    QFile scratch(scratchPath);
    const bool written = !scratchPath.isEmpty() &&
                         scratch.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         scratch.write(bytes) == bytes.size() && scratch.flush();
    scratch.close();
    // Without a scratch file the entries are still checked, from memory.
    QBuffer memory(&bytes);
    QIODevice *source = &scratch;
    if (!written || !scratch.open(QIODevice::ReadOnly)) {
        memory.open(QIODevice::ReadOnly);
        source = &memory;
    }

    LineReader reader(*source);
    bool allExist = true;
    QByteArray line;
    for (qsizetype read = 0; read < lines && reader.readLine(line) && !line.isEmpty(); ++read) {
        if (!skipEntryExists(QFile::decodeName(line))) {
            allExist = false;
            break;
        }
    }
    scratch.close();
    if (!scratchPath.isEmpty())
        QFile::remove(scratchPath);
    return allExist;
}

using Verdict = std::optional<RunFailure>;
using J = JobSettings;

Verdict invalid(const char *what, const QString &path = {})
{
    const QString text = QCoreApplication::translate("validation", what);
    return RunFailure{Failure::JobInvalid, path.isEmpty() ? text : text + QLatin1Char(' ') + path};
}

// The path is set and names what it should.
Verdict named(const QString &path, bool (QFileInfo::*names)() const, const char *what)
{
    if (path.isEmpty() || !(QFileInfo(path).*names)())
        return invalid(what, path);
    return std::nullopt;
}

Verdict filled(const QString &value, const char *what)
{
    return value.isEmpty() ? invalid(what) : std::nullopt;
}

const JobCheck columnCheck{
    QT_TRANSLATE_NOOP("validation", "description numbering column"),
    [](const J &j, const QString &) {
        return j.DizAutoNumber ? filled(j.DizColumn,
                                        QT_TRANSLATE_NOOP("validation", "no column for the number"))
                               : std::nullopt;
    },
    Page::Diz, Field::DizColumn};
const JobCheck lineCheck{
    QT_TRANSLATE_NOOP("validation", "description numbering line"),
    [](const J &j, const QString &) {
        return j.DizAutoNumber
                   ? filled(j.DizLine, QT_TRANSLATE_NOOP("validation", "no line for the number"))
                   : std::nullopt;
    },
    Page::Diz, Field::DizLine};
const JobCheck nameFilledCheck{QT_TRANSLATE_NOOP("validation", "zip name given"),
                               [](const J &j, const QString &) {
                                   return filled(j.ZipName,
                                                 QT_TRANSLATE_NOOP("validation", "no zip name"));
                               },
                               Page::Zip, Field::ZipName};
const JobCheck nameCheck{
    QT_TRANSLATE_NOOP("validation", "zip name"),
    [](const J &j, const QString &) { return ZipNameFailure(j.ZipName, j.ZipDir); }, Page::Zip,
    Field::ZipName, &J::ZipName};

const JobCheck validationChecks[] = {
    {QT_TRANSLATE_NOOP("validation", "source directory"),
     [](const J &j, const QString &) {
         return named(j.SourcePath, &QFileInfo::exists,
                      QT_TRANSLATE_NOOP("validation", "no source directory"));
     },
     Page::Source, std::nullopt, &J::SourcePath, &J::SkipList},
    {QT_TRANSLATE_NOOP("validation", "skip list"),
     [](const J &j, const QString &scratch) {
         // A NUL would end the name where the archiver reads it: another file would be skipped.
         if (j.SkipList.contains(QChar(0)))
             return invalid(QT_TRANSLATE_NOOP("validation", "a skip entry holds a NUL byte"));
         return skipEntriesExist(j.SkipList, scratch)
                    ? std::nullopt
                    : invalid(QT_TRANSLATE_NOOP("validation", "a skip entry names nothing"));
     },
     Page::Skip, std::nullopt, nullptr, &J::SkipList},
    {QT_TRANSLATE_NOOP("validation", "description file"),
     [](const J &j, const QString &) {
         return named(j.DizPath, &QFileInfo::isFile,
                      QT_TRANSLATE_NOOP("validation", "no description file"));
     },
     Page::Diz, std::nullopt, &J::DizPath},
    columnCheck,
    lineCheck,
    {QT_TRANSLATE_NOOP("validation", "nfo file"),
     [](const J &j, const QString &) {
         return named(j.NfoPath, &QFileInfo::isFile,
                      QT_TRANSLATE_NOOP("validation", "no nfo file"));
     },
     Page::Nfo, std::nullopt, &J::NfoPath},
    {QT_TRANSLATE_NOOP("validation", "extra"),
     [](const J &j, const QString &) -> Verdict {
         if (j.ExtraPath.isEmpty())
             return std::nullopt;
         if (j.ExtraIsFile)
             return named(j.ExtraPath, &QFileInfo::isFile,
                          QT_TRANSLATE_NOOP("validation", "no extra file"));
         if (j.ExtraIsDirectory)
             return named(j.ExtraPath, &QFileInfo::isDir,
                          QT_TRANSLATE_NOOP("validation", "no extra directory"));
         return std::nullopt;
     },
     Page::Nfo, std::nullopt, &J::ExtraPath},
    {QT_TRANSLATE_NOOP("validation", "zip directory"),
     [](const J &j, const QString &) {
         return named(j.ZipDir, &QFileInfo::isDir,
                      QT_TRANSLATE_NOOP("validation", "no zip directory"));
     },
     Page::Zip, std::nullopt, &J::ZipDir},
    nameFilledCheck,
    nameCheck,
};

const JobCheck runChecksBeforeClash[] = {
    {QT_TRANSLATE_NOOP("validation", "source directory"),
     [](const J &j, const QString &) {
         return filled(j.SourcePath, QT_TRANSLATE_NOOP("validation", "no source directory"));
     },
     Page::Source},
    {QT_TRANSLATE_NOOP("validation", "description file"),
     [](const J &j, const QString &) {
         return filled(j.DizPath, QT_TRANSLATE_NOOP("validation", "no description file"));
     },
     Page::Diz},
    columnCheck,
    lineCheck,
    {QT_TRANSLATE_NOOP("validation", "nfo file"),
     [](const J &j, const QString &) {
         return filled(j.NfoPath, QT_TRANSLATE_NOOP("validation", "no nfo file"));
     },
     Page::Nfo},
    {QT_TRANSLATE_NOOP("validation", "zip directory"),
     [](const J &j, const QString &) {
         return filled(j.ZipDir, QT_TRANSLATE_NOOP("validation", "no zip directory"));
     },
     Page::Zip},
    nameFilledCheck,
    nameCheck,
};

// Found out before the run rather than after the archiver has run for minutes.
const JobCheck runChecksAfterClash[] = {
    {QT_TRANSLATE_NOOP("validation", "zip directory writable"),
     [](const J &j, const QString &) -> Verdict {
         const QFileInfo zipDir(j.ZipDir);
         if (!zipDir.isDir() || !zipDir.isWritable())
             return RunFailure{Failure::OutputNotWritable, j.ZipDir};
         return std::nullopt;
     },
     Page::Zip, std::nullopt, &J::ZipDir},
};

} // namespace

std::span<const JobCheck> ValidationChecks()
{
    return validationChecks;
}

std::span<const JobCheck> RunChecksBeforeClash()
{
    return runChecksBeforeClash;
}

std::span<const JobCheck> RunChecksAfterClash()
{
    return runChecksAfterClash;
}

std::optional<RunFailure> ValidateJob(Session &session)
{
    JobSettings &job = session.job;
    session.state.JobValid = false;
    const QString scratch = session.state.AppDir + QStringLiteral("/text.tmp");
    for (const JobCheck &check : validationChecks) {
        const Verdict failure = check.test(job, scratch);
        if (!failure)
            continue;
        // A batch run ends here: it keeps the job as loaded and shows no page.
        if (session.batchMode())
            return failure;
        session.report(*failure);
        bool changed = false;
        for (QString J::*cleared : {check.shown, check.alsoCleared}) {
            if (cleared && !(job.*cleared).isEmpty()) {
                (job.*cleared).clear();
                changed = true;
            }
        }
        if (changed)
            session.jobChanged();
        session.showPage(check.page);
        if (check.focus)
            session.focusField(*check.focus);
        return failure;
    }

    if (job.DizAutoNumber) {
        const QString why = TestDizNumbering(session, false);
        if (!session.state.DizTestPassed && SampleUnwritable(why))
            return RunFailure{Failure::SystemDirFailed, paths::systemDirPath()};
        if (!session.state.DizTestPassed) {
            session.showPage(Page::Diz);
            return RunFailure{Failure::JobInvalid,
                              //: %1 why the description test failed, %2 the description's path
                              QCoreApplication::translate("validation", "%1, description %2")
                                  .arg(why, job.DizPath)};
        }
    }
    session.state.JobValid = true;
    return std::nullopt;
}

std::optional<RunFailure> ZipNameFailure(const QString &zipName, const QString &zipDir)
{
    //: %1 the zip name as given
    const QString shown = QCoreApplication::translate("validation", "zip name \"%1\"").arg(zipName);
    if (zipName.contains(QChar(0)))
        return RunFailure{Failure::NameHasNul, shown};
    if (zipName.contains(QLatin1Char(' ')))
        return RunFailure{Failure::NameHasBlank, shown};
    if (zipName.contains(QLatin1Char('/')))
        return RunFailure{Failure::NameHasSeparator, shown};
    // The longest archive name of the series: the name, a date stamp (mmddyy), the volume
    // number and ".zip"; while it is written, its temporary name is longer still.
    long nameMax =
        zipDir.isEmpty() ? -1 : ::pathconf(QFile::encodeName(zipDir).constData(), _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = NAME_MAX;
    const qsizetype longest = QFile::encodeName(zipName).size() + 6 + 3 + 4;
    if (longest + ZipStoreTemporaryOverhead > nameMax)
        return RunFailure{Failure::NameTooLong,
                          QCoreApplication::translate("validation",
                                                      "%1 bytes with date, number and .zip, "
                                                      "where the file system allows %2")
                              .arg(longest)
                              .arg(nameMax - ZipStoreTemporaryOverhead)};
    return std::nullopt;
}

} // namespace kesto
