#include "zip_step.h"

#include "describe/diz_numbering.h"
#include "describe/extra_files.h"
#include "job/session.h"
#include "system/paths.h"
#include "system/stop_signals.h"
#include "system/zip_component.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <limits>
#include <utility>

namespace kesto {

namespace {

// The digits of a numeric extension without leading zeros ("0" stays), or a null text.
QString volumeNumber(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot + 1 == name.size())
        return {};
    QString digits = name.mid(dot + 1);
    if (!std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); }))
        return {};
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return digits;
}

// Owner read and write, as a normal file has; other bits stay.
bool makeNormal(const QString &path)
{
    const QFileDevice::Permissions normal = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions now = QFile::permissions(path);
    return (now & normal) == normal || QFile::setPermissions(path, now | normal);
}

// A plain copy of the description, replacing the last one.
bool copyDescription(Session &session)
{
    const QString copy = session.state.AppDir + QStringLiteral("/file_id.diz");
    // A job may name the working copy itself: removing it first would lose the description.
    const QString source = QFileInfo(session.job.DizPath).canonicalFilePath();
    if (!source.isEmpty() && source == QFileInfo(copy).canonicalFilePath())
        return makeNormal(copy);
    if (QFileInfo(copy).exists() || QFileInfo(copy).isSymLink()) {
        if (!QFile::remove(copy))
            return false;
    }
    return QFile::copy(session.job.DizPath, copy) && makeNormal(copy);
}

class ZipStep {
public:
    ZipStep(Session &session, ZipComponent &zip) : s_(session), zip_(zip) {}

    std::optional<RunFailure> listExtra();
    std::optional<RunFailure> wrapVolume(const QString &volume);
    std::optional<RunFailure> complete();

private:
    std::optional<RunFailure> write(const QStringList &fileSpecs, const QByteArrayList &extra);
    RunFailure zipFailed(ZipResult result, const QString &fileSpec) const;
    static RunFailure failed(const QString &what) { return {Failure::FileFailed, what}; }

    Session &s_;
    ZipComponent &zip_;
    QString archivePath_;
    ExtraFiles extra_;
    QByteArrayList volumeNamesInExtra_; // already warned of
};

// The extra's files, once for the run: each archive gets the same ones.
std::optional<RunFailure> ZipStep::listExtra()
{
    const JobSettings &job = s_.job;
    if (job.ExtraPath.isEmpty())
        return std::nullopt;
    if (!job.ExtraIsFile && !QFileInfo(job.ExtraPath).isDir()) {
        const QString pattern = job.ExtraPath.endsWith(QLatin1Char('/'))
                                    ? job.ExtraPath + QStringLiteral("*.*")
                                    : job.ExtraPath + QStringLiteral("/*.*");
        return zipFailed(ZipResult::NotFound, pattern);
    }
    extra_ = ListExtraFiles(job);
    s_.state.RunNotes << extra_.warnings;
    return std::nullopt;
}

// The archive, written afresh in one go: it never holds anything of an earlier run's archive.
std::optional<RunFailure> ZipStep::write(const QStringList &fileSpecs, const QByteArrayList &extra)
{
    zip_.FileList = fileSpecs.join(QLatin1Char('\r')) + QLatin1Char('\r');
    zip_.FilePaths = extra;
    zip_.ArchivePath = archivePath_;
    const ZipResult result = zip_.RunCommand(0);
    zip_.FilePaths.clear();
    if (result == ZipResult::Ok)
        return std::nullopt;
    s_.svc.window->setProgress(0);
    return zipFailed(result, zip_.failedPath());
}

RunFailure ZipStep::zipFailed(ZipResult result, const QString &fileSpec) const
{
    if (result == ZipResult::Aborted && StopRequested())
        return {Failure::Stopped, {}};
    const QString archive = archivePath_ + QStringLiteral(".zip");
    if (fileSpec.isEmpty() || fileSpec == archive)
        return {Failure::ZipFailed, QStringLiteral("%1: %2").arg(archive, ZipResultText(result))};
    //: %1 the file added, %2 the archive, %3 why it failed
    return {Failure::ZipFailed, QCoreApplication::translate("ZipStep", "%1 into %2: %3")
                                    .arg(fileSpec, archive, ZipResultText(result))};
}

std::optional<RunFailure> ZipStep::wrapVolume(const QString &volume)
{
    const JobSettings &job = s_.job;
    RunState &state = s_.state;
    Window *window = s_.svc.window;

    const QString number = VolumeNumberText(job.VolumeSizeSetting, state.VolumeIndex);
    const QString stamp = state.BatchRunDated ? DateStamp(QDate::currentDate()) : QString();
    const QString archiveName = job.ZipName + stamp + number;
    window->setArchiveText(archiveName + QStringLiteral(".zip"));
    //: Designed text: " 3 of 12", the volume's number of the number of volumes
    window->setVolumeText(QCoreApplication::translate("ZipStep", " %1 of %2")
                              .arg(state.VolumeIndex)
                              .arg(state.VolumeCount));
    archivePath_ = OutputBase(job.ZipDir) + QLatin1Char('/') + archiveName;

    // By its full path: the program's current directory stays the user's.
    QStringList fileSpecs{paths::join(state.WorkDir, volume)};
    const bool describedVolume = job.DizAutoNumber
                                     ? WriteNumberedDiz(s_, state.VolumeIndex, state.VolumeCount)
                                     : copyDescription(s_);
    if (!describedVolume)
        return failed(QCoreApplication::translate("ZipStep", "cannot copy the description %1")
                          .arg(job.DizPath));
    fileSpecs << state.AppDir + QStringLiteral("/file_id.diz");

    if (job.NfoFirstOnly != Checked || state.VolumeIndex == 1) {
        if (!WriteVolumeNfo(s_))
            return failed(
                QCoreApplication::translate("ZipStep", "cannot copy the nfo %1").arg(job.NfoPath));
        fileSpecs << paths::join(state.AppDir, state.NfoWorkName);
    }

    // Nor does the extra replace the volume.
    QByteArrayList extra = extra_.paths;
    const QByteArray volumeName = QFile::encodeName(volume);
    extra.removeIf([&](const QByteArray &path) {
        if (path.mid(path.lastIndexOf('/') + 1) != volumeName)
            return false;
        if (!volumeNamesInExtra_.contains(volumeName)) {
            volumeNamesInExtra_ << volumeName;
            state.RunNotes << QCoreApplication::translate("ExtraFiles", "extra %1 left out: %2")
                                  .arg(QFile::decodeName(path),
                                       QCoreApplication::translate(
                                           "ExtraFiles",
                                           "the run writes its own file of that name"));
        }
        return true;
    });
    if (auto failure = write(fileSpecs, extra))
        return failure;
    ++state.ArchivesWritten;

    // The volume is the only other copy of what the archive holds.
    if (zip_.SyncArchive() != ZipResult::Ok)
        return failed(QCoreApplication::translate("ZipStep", "an archive cannot be synced: %1")
                          .arg(zip_.failedPath()));
    if (!QFile::remove(paths::join(state.WorkDir, volume)))
        return failed(QCoreApplication::translate("ZipStep", "cannot delete %1")
                          .arg(paths::join(state.WorkDir, volume)));
    window->setProgress(0);
    return std::nullopt;
}

std::optional<RunFailure> ZipStep::complete()
{
    RunState &state = s_.state;
    Window *window = s_.svc.window;
    if (!s_.batchMode())
        s_.svc.sound->play(state.AppDir + QStringLiteral("/kst.wav"));
    window->setProgress(0);
    //: Designed text: the status line when the last archive is written
    window->setStatusText(QCoreApplication::translate("Run", "Kesting complete"));
    window->setArchiveText(QString());
    s_.serveEvents();
    if (QFileInfo(state.WorkDir).isDir()) {
        if (!QDir().rmdir(state.WorkDir))
            return failed(
                QCoreApplication::translate("ZipStep", "cannot remove %1").arg(state.WorkDir));
    }
    state.DizTestPassed = false;
    state.VolumeIndex = 0;
    state.VolumeCount = 0;
    state.RunInProgress = false;
    s_.serveEvents();
    return std::nullopt;
}

} // namespace

QStringList InVolumeOrder(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const QString na = volumeNumber(a);
        const QString nb = volumeNumber(b);
        if (na.isNull() != nb.isNull())
            return na.isNull();
        if (na.size() != nb.size())
            return na.size() < nb.size();
        if (na != nb)
            return na < nb;
        return a < b;
    });
    return names;
}

std::optional<RunFailure> RunZipStep(Session &session, const RunPlan &)
{
    ZipComponent *zip = session.svc.zip;
    RunState &state = session.state;
    Window *window = session.svc.window;
    if (state.WorkDir.isEmpty())
        return RunFailure{Failure::ZipFailed,
                          QCoreApplication::translate("ZipStep", "nothing to wrap with")};

    zip->CompressionLevel = session.job.ZipExtraCompression != Unchecked ? 9 : 6;
    // A request left over (Abort clicked with no run under way, or too late to stop the last add
    // of the previous run) must not stop this run's first add.
    zip->AbortRequest = false;
    auto earlierHook = std::exchange(zip->serveEvents, [&session] { session.serveEvents(); });
    const QMetaObject::Connection adding =
        QObject::connect(zip, &ZipComponent::Adding, [window](const QString &fileName) {
            window->setStatusText(fileName.toLower());
        });
    const QMetaObject::Connection status =
        QObject::connect(zip, &ZipComponent::Status, [window](int completion) {
            if (window->progress() != completion)
                window->setProgress(completion);
        });
    const auto detach = qScopeGuard([&] {
        QObject::disconnect(adding);
        QObject::disconnect(status);
        zip->serveEvents = std::move(earlierHook);
    });

    const QStringList volumes =
        InVolumeOrder(paths::list(state.WorkDir, QStringLiteral("*.*"), paths::Listing::Files));
    if (volumes.size() > std::numeric_limits<qint16>::max())
        return RunFailure{Failure::ZipFailed,
                          QCoreApplication::translate("ZipStep", "more than 32767 volumes")};
    state.VolumeCount = qint16(volumes.size());
    state.VolumeIndex = 1;
    ZipStep step(session, *zip);
    if (auto failure = step.listExtra())
        return failure;
    for (const QString &volume : volumes) {
        if (StopRequested())
            return RunFailure{Failure::Stopped, {}};
        if (auto failure = step.wrapVolume(volume))
            return failure;
        ++state.VolumeIndex;
    }
    return step.complete();
}

void RequestZipAbort(Session &session)
{
    session.svc.zip->AbortRequest = true;
}

void AbortAndClose(Session &session)
{
    session.svc.zip->AbortRequest = true;
    session.svc.window->closeMainWindow();
}

} // namespace kesto
