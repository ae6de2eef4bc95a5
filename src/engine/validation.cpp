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

void ValidateJob(Session &session)
{
    JobSettings &job = session.job;
    session.state.JobValid = false;

    if (job.SourcePath.isEmpty() || !QFileInfo::exists(job.SourcePath)) {
        stopAt(session, Page::Source, {&job.SourcePath, &job.SkipList});
        return;
    }
    if (!skipEntriesExist(session)) {
        stopAt(session, Page::Skip, {&job.SkipList});
        return;
    }

    if (job.DizPath.isEmpty()) {
        stopAt(session, Page::Diz);
        return;
    }
    if (!QFileInfo(job.DizPath).isFile()) {
        stopAt(session, Page::Diz, {&job.DizPath});
        return;
    }
    if (job.DizAutoNumber) {
        const std::pair<const QString *, Field> numberFields[] = {
            {&job.DizColumn, Field::DizColumn}, {&job.DizLine, Field::DizLine}};
        for (const auto &[text, field] : numberFields) {
            if (!text->isEmpty())
                continue;
            if (session.batchMode()) {
                session.endBatch(ExitInvalidJob,
                                 field == Field::DizColumn
                                     ? QStringLiteral("no column for the description's number")
                                     : QStringLiteral("no line for the description's number"));
                return;
            }
            stopAt(session, Page::Diz, {}, field);
            return;
        }
    }

    if (job.NfoPath.isEmpty()) {
        stopAt(session, Page::Nfo);
        return;
    }
    if (!QFileInfo(job.NfoPath).isFile()) {
        stopAt(session, Page::Nfo, {&job.NfoPath});
        return;
    }
    if (!job.ExtraPath.isEmpty()) {
        const QFileInfo extra(job.ExtraPath);
        if ((job.ExtraIsFile && !extra.isFile()) || (job.ExtraIsDirectory && !extra.isDir())) {
            stopAt(session, Page::Nfo, {&job.ExtraPath});
            return;
        }
    }

    if (job.ZipDir.isEmpty()) {
        stopAt(session, Page::Zip);
        return;
    }
    if (!QFileInfo(job.ZipDir).isDir()) {
        stopAt(session, Page::Zip, {&job.ZipDir});
        return;
    }
    if (job.ZipName.isEmpty()) {
        stopAt(session, Page::Zip, {}, Field::ZipName);
        return;
    }
    if (job.ZipName.contains(QLatin1Char(' '))) {
        if (session.batchMode())
            return;
        session.error(QStringLiteral("Spaces aren't allowed in filename"), Icon::Exclamation);
        stopAt(session, Page::Zip, {&job.ZipName}, Field::ZipName);
        return;
    }

    if (job.DizAutoNumber) {
        TestDizNumbering(session, false);
        if (!session.state.DizTestPassed) {
            session.showPage(Page::Diz);
            return;
        }
    }
    session.state.JobValid = true;
}

} // namespace kesto
