#include "description_files.h"

#include "job/session.h"
#include "system/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace kesto {

namespace {

const QString Editor = QStringLiteral("Notepad.exe ");

void edit(Session &session, const QString &commandLine)
{
    session.svc.launcher->start(commandLine, WindowMode::ShowNoActivate);
}

// AppDir/temp/name, made empty when missing; an existing file keeps its text.
bool makeWorkingFile(Session &session, const QString &path)
{
    const QString dir = QFileInfo(path).path();
    if (!QFileInfo(dir).isDir() && !QDir().mkdir(dir)) {
        session.error(
            QCoreApplication::translate("DescriptionFiles", "Can't create the directory ") + dir,
            Icon::Stop);
        return false;
    }
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        session.error(QCoreApplication::translate("DescriptionFiles", "Can't create ") + path,
                      Icon::Stop);
        return false;
    }
    return true;
}

// Creates (or reopens) a working file and opens it in the editor; the path the field takes.
std::optional<QString> createAndEdit(Session &session, const QString &name)
{
    const QString path = session.state.AppDir + QStringLiteral("/temp/") + name;
    if (!makeWorkingFile(session, path))
        return std::nullopt;
    session.serveEvents();
    edit(session, Editor + path + QLatin1Char(' '));
    return paths::lowerPath(path);
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// Replaces target by a copy of source; target stays as it was on failure.
bool copyReplacing(const QString &source, const QString &target)
{
    if (sameFile(source, target))
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (out.write(buffer, got) != got)
            return false;
    }
    return out.commit();
}

// Cancelling keeps the file the job has; "Remove" takes it out of the job.
std::optional<QString> openFile(Session &session, FileDialogSetup setup)
{
    setup.noneCaption = QCoreApplication::translate("FileDialog", "&Remove");
    return session.svc.dialogs->openFile(setup);
}

} // namespace

void CreateDescription(Session &session)
{
    session.message(
        QCoreApplication::translate("DescriptionFiles",
                                    "Choose 'Save' when finished in notepad, not 'save as'"),
        QStringLiteral("Kesto32"), Icon::None);
    if (const auto path = createAndEdit(session, QStringLiteral("file_id.diz"))) {
        session.job.DizPath = *path;
        session.jobChanged();
    }
}

void CreateNfo(Session &session)
{
    if (const auto path = createAndEdit(session, QStringLiteral("About.nfo"))) {
        session.job.NfoPath = *path;
        session.jobChanged();
    }
}

void EditDescription(Session &session)
{
    if (!session.job.DizPath.isEmpty())
        edit(session, Editor + session.job.DizPath);
}

void EditNfo(Session &session)
{
    if (!session.job.NfoPath.isEmpty())
        edit(session, Editor + session.job.NfoPath);
}

void ChooseDescription(Session &session)
{
    JobSettings &job = session.job;
    const std::optional<QString> chosen = openFile(
        session, {QCoreApplication::translate("DescriptionFiles", "Add file_id.diz"),
                  QStringLiteral("File_id.diz (file_id.diz)|file_id.diz|"), QStringLiteral("*.diz"),
                  job.DizPath.isEmpty() ? job.SourcePath : job.DizPath});
    if (!chosen)
        return;
    job.DizPath = paths::lowerPath(*chosen);
    if (!job.DizPath.isEmpty() &&
        !copyReplacing(job.DizPath, session.state.AppDir + QStringLiteral("/file_id.diz"))) {
        session.error(
            QCoreApplication::translate("DescriptionFiles",
                                        "The file_id.diz can't be from your application directory"),
            Icon::Stop);
        job.DizPath.clear();
    }
    session.jobChanged();
}

void ChooseNfo(Session &session)
{
    JobSettings &job = session.job;
    const std::optional<QString> chosen = openFile(
        session, {QCoreApplication::translate("DescriptionFiles", "Add *.nfo"),
                  QStringLiteral("A nfo (*.nfo)|*.nfo|"), QStringLiteral("*.nfo"), job.DizPath});
    if (!chosen)
        return;
    job.NfoPath = paths::lowerPath(*chosen);
    session.jobChanged();
}

void NumberDescriptionOff(Session &session)
{
    JobSettings &job = session.job;
    job.DizColumn.clear();
    job.DizLine.clear();
    job.DizAutoNumber = false;
    job.DizNoneSelected = true;
    session.jobChanged();
}

void NumberDescriptionOn(Session &session)
{
    session.job.DizAutoNumber = true;
    session.job.DizNoneSelected = false;
    session.jobChanged();
}

void SelectExtraFileKind(Session &session)
{
    session.job.ExtraIsFile = true;
    session.job.ExtraIsDirectory = false;
    session.jobChanged();
}

void SelectExtraDirectoryKind(Session &session)
{
    session.job.ExtraIsFile = false;
    session.job.ExtraIsDirectory = true;
    session.jobChanged();
}

void ChooseExtra(Session &session)
{
    JobSettings &job = session.job;
    if (job.ExtraIsFile) {
        const std::optional<QString> chosen = openFile(
            session, {QCoreApplication::translate("DescriptionFiles", "Add extra file"),
                      QStringLiteral("Extra file (*.*)|*.*|"), QStringLiteral("*.*"), job.NfoPath});
        if (!chosen)
            return;
        job.ExtraPath = paths::lowerPath(*chosen);
        session.jobChanged();
    } else if (job.ExtraIsDirectory) {
        const std::optional<QString> chosen = session.svc.dialogs->pickFolder(
            QCoreApplication::translate("DescriptionFiles",
                                        "Extra directory of files to add to Zip"),
            QString());
        if (!chosen)
            return;
        job.ExtraPath = paths::lowerPath(*chosen);
        session.jobChanged();
    }
}

bool DizNumberingEnabled(const JobSettings &job)
{
    return job.DizAutoNumber;
}

bool ExtraBrowseEnabled(const JobSettings &job)
{
    return job.ExtraIsFile || job.ExtraIsDirectory;
}

} // namespace kesto
