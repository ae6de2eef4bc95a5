#include "validation.h"

#include "describe/diz_numbering.h"
#include "job/session.h"
#include "system/paths.h"
#include "system/textlines.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <initializer_list>
#include <optional>

namespace kesto {

namespace {

// Ends the validation at the page that needs the user, clearing the fields that name nothing.
void stopAt(Session &session, Page page, std::initializer_list<QString *> cleared = {},
            std::optional<Field> focus = std::nullopt)
{
    bool changed = false;
    for (QString *field : cleared) {
        if (!field->isEmpty()) {
            field->clear();
            changed = true;
        }
    }
    if (changed)
        session.jobChanged();
    session.showPage(page);
    if (focus)
        session.focusField(*focus);
}

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

// Reads the skip list back through the scratch file; false at the first entry naming nothing.
bool skipEntriesExist(Session &session)
{
    const QString &list = session.job.SkipList;
    const qsizetype lines = lineCount(list);
    if (lines <= 1)
        return true;

    const QString scratchPath = session.state.AppDir + QStringLiteral("/text.tmp");
    QByteArray bytes = QFile::encodeName(list);
    QFile scratch(scratchPath);
    const bool written = scratch.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
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
    QFile::remove(scratchPath);
    return allExist;
}

} // namespace

std::optional<RunFailure> ValidateJob(Session &session)
{
    JobSettings &job = session.job;
    session.state.JobValid = false;
    const auto invalid = [](const QString &what, const QString &path = {}) {
        return RunFailure{Failure::JobInvalid,
                          path.isEmpty() ? what : what + QLatin1Char(' ') + path};
    };

    if (job.SourcePath.isEmpty() || !QFileInfo::exists(job.SourcePath)) {
        const RunFailure failure = invalid(QStringLiteral("no source directory"), job.SourcePath);
        stopAt(session, Page::Source, {&job.SourcePath, &job.SkipList});
        return failure;
    }
    if (!skipEntriesExist(session)) {
        stopAt(session, Page::Skip, {&job.SkipList});
        return invalid(QStringLiteral("a skip entry names nothing"));
    }

    if (job.DizPath.isEmpty()) {
        stopAt(session, Page::Diz);
        return invalid(QStringLiteral("no description file"));
    }
    if (!QFileInfo(job.DizPath).isFile()) {
        const RunFailure failure = invalid(QStringLiteral("no description file"), job.DizPath);
        stopAt(session, Page::Diz, {&job.DizPath});
        return failure;
    }
    if (job.DizAutoNumber) {
        const std::pair<const QString *, Field> numberFields[] = {
            {&job.DizColumn, Field::DizColumn}, {&job.DizLine, Field::DizLine}};
        for (const auto &[text, field] : numberFields) {
            if (!text->isEmpty())
                continue;
            const RunFailure failure =
                invalid(field == Field::DizColumn ? QStringLiteral("no column for the number")
                                                  : QStringLiteral("no line for the number"));
            if (!session.batchMode())
                stopAt(session, Page::Diz, {}, field);
            return failure;
        }
    }

    if (job.NfoPath.isEmpty()) {
        stopAt(session, Page::Nfo);
        return invalid(QStringLiteral("no nfo file"));
    }
    if (!QFileInfo(job.NfoPath).isFile()) {
        const RunFailure failure = invalid(QStringLiteral("no nfo file"), job.NfoPath);
        stopAt(session, Page::Nfo, {&job.NfoPath});
        return failure;
    }
    if (!job.ExtraPath.isEmpty()) {
        const QFileInfo extra(job.ExtraPath);
        if ((job.ExtraIsFile && !extra.isFile()) || (job.ExtraIsDirectory && !extra.isDir())) {
            const RunFailure failure =
                invalid(job.ExtraIsFile ? QStringLiteral("no extra file")
                                        : QStringLiteral("no extra directory"),
                        job.ExtraPath);
            stopAt(session, Page::Nfo, {&job.ExtraPath});
            return failure;
        }
    }

    if (job.ZipDir.isEmpty()) {
        stopAt(session, Page::Zip);
        return invalid(QStringLiteral("no zip directory"));
    }
    if (!QFileInfo(job.ZipDir).isDir()) {
        const RunFailure failure = invalid(QStringLiteral("no zip directory"), job.ZipDir);
        stopAt(session, Page::Zip, {&job.ZipDir});
        return failure;
    }
    if (job.ZipName.isEmpty()) {
        stopAt(session, Page::Zip, {}, Field::ZipName);
        return invalid(QStringLiteral("no zip name"));
    }
    if (const auto bad = ZipNameFailure(job.ZipName)) {
        // A batch run keeps the name; the window clears it for the user to type anew.
        if (!session.batchMode()) {
            session.report(*bad);
            stopAt(session, Page::Zip, {&job.ZipName}, Field::ZipName);
        }
        return bad;
    }

    if (job.DizAutoNumber) {
        const QString why = TestDizNumbering(session, false);
        if (!session.state.DizTestPassed) {
            session.showPage(Page::Diz);
            return invalid(why + QStringLiteral(", description"), job.DizPath);
        }
    }
    session.state.JobValid = true;
    return std::nullopt;
}

std::optional<RunFailure> ZipNameFailure(const QString &zipName)
{
    if (zipName.contains(QLatin1Char(' ')))
        return RunFailure{Failure::NameHasBlank, QStringLiteral("zip name \"%1\"").arg(zipName)};
    if (zipName.contains(QLatin1Char('/')) || zipName.contains(QChar(0)))
        return RunFailure{Failure::NameHasSeparator,
                          QStringLiteral("zip name \"%1\"").arg(zipName)};
    return std::nullopt;
}

} // namespace kesto
