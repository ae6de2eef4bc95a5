#include "zip_step.h"

#include "describe/diz_numbering.h"
#include "job/session.h"
#include "packaging_run.h"
#include "series_command.h"
#include "system/paths.h"
#include "system/zip_component.h"

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

    // False when the run has ended through the failure path.
    bool wrapVolume(const QString &volume);
    void complete();

private:
    bool add(const QString &fileSpec);
    bool failed(const char *what)
    {
        FailRun(s_, what);
        return false;
    }

    Session &s_;
    ZipComponent &zip_;
    QString archivePath_;
};

bool ZipStep::add(const QString &fileSpec)
{
    zip_.FileList = fileSpec + QLatin1Char('\r');
    zip_.ArchivePath = archivePath_;
    if (zip_.RunCommand(0) == 0)
        return true;
    if (s_.svc.window)
        s_.svc.window->setProgress(0);
    const QByteArray why = "zip operation failed: " + zip_.errorText().toLocal8Bit();
    return failed(why.constData());
}

bool ZipStep::wrapVolume(const QString &volume)
{
    const JobSettings &job = s_.job;
    RunState &state = s_.state;
    Window *window = s_.svc.window;

    const QString number = VolumeNumberText(job.VolumeSizeSetting, state.VolumeIndex);
    if (!QDir::setCurrent(state.WorkDir))
        return failed("the work directory cannot be entered");
    const QString stamp = state.BatchRunDated ? DateStamp(QDate::currentDate()) : QString();
    const QString archiveName = job.ZipName + stamp + number;
    if (window) {
        window->setArchiveText(archiveName + QStringLiteral(".zip"));
        window->setVolumeText(QStringLiteral(" ") + QString::number(state.VolumeIndex) +
                              QStringLiteral(" of") + QStringLiteral(" ") +
                              QString::number(state.VolumeCount));
    }
    archivePath_ = OutputBase(job.ZipDir) + QLatin1Char('/') + archiveName;

    if (!add(volume))
        return false;

    const bool describedVolume = job.DizAutoNumber
                                     ? WriteNumberedDiz(s_, state.VolumeIndex, state.VolumeCount)
                                     : copyDescription(s_);
    if (!describedVolume)
        return failed("the description cannot be copied");
    if (!add(state.AppDir + QStringLiteral("/file_id.diz")))
        return false;

    if (job.NfoFirstOnly != 1 || state.VolumeIndex == 1) {
        if (!WriteVolumeNfo(s_))
            return failed("the nfo cannot be copied");
        if (!add(paths::join(state.AppDir, state.NfoWorkName)))
            return false;
    }

    if (!job.ExtraPath.isEmpty()) {
        QString fileSpec;
        if (job.ExtraIsFile) {
            // Reading is all the add needs: the user's own file keeps its permissions.
            fileSpec = job.ExtraPath;
        } else {
            fileSpec = job.ExtraPath.endsWith(QLatin1Char('/'))
                                ? job.ExtraPath + QStringLiteral("*.*")
                                : job.ExtraPath + QStringLiteral("/*.*");
        }
        if (!add(fileSpec))
            return false;
    }

    if (!QFile::remove(paths::join(state.WorkDir, volume)))
        return failed("a volume cannot be deleted");
    if (window)
        window->setProgress(0);
    return true;
}

void ZipStep::complete()
{
    RunState &state = s_.state;
    Window *window = s_.svc.window;
    QString why;
    if (state.WriteChecksums && !WriteRunManifests(s_, &why)) {
        FailRun(s_, qPrintable(why));
        return;
    }
    if (!s_.batchMode() && s_.svc.sound)
        s_.svc.sound->play(state.AppDir + QStringLiteral("/kst.wav"));
    if (window) {
        window->setProgress(0);
        window->setStatusText(QStringLiteral("Kesting complete"));
        window->setArchiveText(QString());
    }
    s_.serveEvents();
    if (QFileInfo(state.WorkDir).isDir()) {
        QDir::setCurrent(QFileInfo(state.WorkDir).absolutePath());
        if (!QDir().rmdir(state.WorkDir)) {
            FailRun(s_, "the work directory cannot be removed");
            return;
        }
        QDir::setCurrent(paths::systemDir());
    }
    state.DizTestPassed = false;
    state.VolumeIndex = 0;
    state.VolumeCount = 0;
    state.RunInProgress = false;
    s_.serveEvents();
    if (s_.batchMode() && window)
        window->closeMainWindow();
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

void RunZipStep(Session &session, const RunPlan &)
{
    ZipComponent *zip = session.svc.zip;
    if (!zip) {
        FailRun(session, "no zip component");
        return;
    }
    RunState &state = session.state;
    Window *window = session.svc.window;
    if (state.WorkDir.isEmpty()) {
        FailRun(session, "no work directory");
        return;
    }

    zip->CompressionLevel = session.job.ZipExtraCompression != 0 ? 9 : 6;
    // A request left over (Abort clicked with no run under way, or too late to stop the last add
    // of the previous run) must not stop this run's first add.
    zip->AbortRequest = false;
    auto earlierHook = std::exchange(zip->serveEvents, [&session] { session.serveEvents(); });
    const QMetaObject::Connection adding =
        QObject::connect(zip, &ZipComponent::Adding, [window](const QString &fileName) {
            if (window)
                window->setStatusText(fileName.toLower());
        });
    const QMetaObject::Connection status =
        QObject::connect(zip, &ZipComponent::Status, [window](int completion) {
            if (window && window->progress() != completion)
                window->setProgress(completion);
        });
    const auto detach = qScopeGuard([&] {
        QObject::disconnect(adding);
        QObject::disconnect(status);
        zip->serveEvents = std::move(earlierHook);
    });

    const QStringList volumes =
        InVolumeOrder(paths::list(state.WorkDir, QStringLiteral("*.*"), paths::Listing::Files));
    if (volumes.size() > std::numeric_limits<qint16>::max()) {
        FailRun(session, "too many volumes");
        return;
    }
    state.VolumeCount = qint16(volumes.size());
    state.VolumeIndex = 1;
    ZipStep step(session, *zip);
    for (const QString &volume : volumes) {
        if (!step.wrapVolume(volume))
            return;
        ++state.VolumeIndex;
    }
    step.complete();
}

void Command12_Click(Session &session)
{
    if (session.svc.zip)
        session.svc.zip->AbortRequest = true;
}

void Command13_Click(Session &session)
{
    if (session.svc.zip)
        session.svc.zip->AbortRequest = true;
    if (session.svc.window)
        session.svc.window->closeMainWindow();
}

} // namespace kesto
