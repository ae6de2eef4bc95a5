#include "batch_run.h"

#include "describe/source_size.h"
#include "job/script.h"
#include "job/session.h"
#include "packaging_run.h"
#include "run_plan.h"
#include "system/command_runner.h"
#include "system/figures.h"
#include "system/paths.h"
#include "system/run_lock.h"
#include "system/stop_signals.h"
#include "validation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace kesto {

namespace {

void removePlainFile(const QString &path)
{
    if (QFileInfo(path).isFile())
        QFile::remove(path);
}

// Hands every display on to the window the run had before (the main window on a desktop, else
// one that shows nothing).
class ForwardingWindow : public Window {
public:
    explicit ForwardingWindow(Window &shown) : shown_(shown) {}
    void hideAllPages() override { shown_.hideAllPages(); }
    void showPage(Page page) override { shown_.showPage(page); }
    void focusField(Field field) override { shown_.focusField(field); }
    void setTitleText(const QString &caption) override { shown_.setTitleText(caption); }
    void setWindowTitle(const QString &title) override { shown_.setWindowTitle(title); }
    void setStatusText(const QString &text) override { shown_.setStatusText(text); }
    void setArchiveText(const QString &text) override { shown_.setArchiveText(text); }
    void setVolumeText(const QString &text) override { shown_.setVolumeText(text); }
    int progress() const override { return shown_.progress(); }
    void setProgress(int percent) override { shown_.setProgress(percent); }
    void setSourceSizeText(const QString &text) override { shown_.setSourceSizeText(text); }
    void setMeasuring(bool busy) override { shown_.setMeasuring(busy); }
    void setTempFreeSpaceText(const QString &text) override { shown_.setTempFreeSpaceText(text); }
    void setZipFreeSpaceText(const QString &text) override { shown_.setZipFreeSpaceText(text); }
    void setSizeDisplayText(const QString &text) override { shown_.setSizeDisplayText(text); }
    void jobChanged() override { shown_.jobChanged(); }
    void serveEvents() override { shown_.serveEvents(); }
    void repaint() override { shown_.repaint(); }
    void closeMainWindow() override {}

private:
    Window &shown_;
};

// The run as seen from standard error: the window's displays become progress lines. On a
// terminal one line updates itself; elsewhere each archive written gets a line of its own.
// A window shown meanwhile gets every display as well.
class BatchReport : public ForwardingWindow {
public:
    BatchReport(Session &session, bool quiet, Window &shown)
        : ForwardingWindow(shown), s_(session), quiet_(quiet), terminal_(isatty(STDERR_FILENO) == 1)
    {
        prefix_ = BatchLinePrefix(session.state);
        clock_.start();
    }

    // What the run left out or removed, before its outcome.
    void notes(const QStringList &texts)
    {
        if (quiet_ || texts.isEmpty())
            return;
        clearLine();
        for (const QString &text : texts)
            line(text);
    }
    void failed(const RunFailure &failure)
    {
        clearLine();
        // A name or path may hold any character: a NUL or a line break is shown, never written.
        line(EscapedName(BatchReason(failure)));
    }
    void summary()
    {
        clearLine();
        if (!quiet_)
            //: %1 the number of archives, %2 their bytes, %3 the zip directory, %4 the seconds
            line(
                (archives_ == 1
                     ? QCoreApplication::translate("BatchRun", "%1 archive, %2 bytes in %3, %4 s")
                     : QCoreApplication::translate("BatchRun", "%1 archives, %2 bytes in %3, %4 s"))
                    .arg(archives_)
                    .arg(GroupedNumber(bytes_))
                    .arg(s_.job.ZipDir)
                    .arg(double(clock_.elapsed()) / 1000.0, 0, 'f', 1));
    }

    void setStatusText(const QString &text) override
    {
        ForwardingWindow::setStatusText(text);
        if (text == QCoreApplication::translate("Run", "Running 7-Zip...")) {
            step_ = QCoreApplication::translate("BatchRun", "archiving");
            show();
        } else if (text == QCoreApplication::translate("Run", "Kesting complete")) {
            archiveDone();
        } else if (text ==
                   QCoreApplication::translate("PackagingRun", "Writing the recovery set...")) {
            // par2 runs quietly: the line names the step, without a percentage.
            archiveDone();
            step_ = QCoreApplication::translate("BatchRun", "writing the recovery set");
            percent_ = -1;
            show();
        }
    }
    void setArchiveText(const QString &text) override
    {
        ForwardingWindow::setArchiveText(text);
        archiveDone();
        archive_ = text;
        volume_ = s_.state.VolumeIndex;
        if (!text.isEmpty())
            //: %1 the volume's number, %2 the number of volumes, %3 the archive's name
            step_ = QCoreApplication::translate("BatchRun", "wrapping %1 of %2: %3")
                        .arg(s_.state.VolumeIndex)
                        .arg(s_.state.VolumeCount)
                        .arg(text);
        percent_ = 0;
        show();
    }
    int progress() const override { return percent_; }
    // Each entry of an archive (volume, description, nfo, extra) counts from 0 again: the line
    // shows the archive's percentage, which only grows.
    void setProgress(int percent) override
    {
        ForwardingWindow::setProgress(percent);
        if (percent <= percent_ && step_ != QCoreApplication::translate("BatchRun", "archiving"))
            return;
        percent_ = percent;
        show();
    }

private:
    void line(const QString &text)
    {
        const QByteArray bytes = (prefix_ + text).toLocal8Bit() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }
    void show()
    {
        if (quiet_ || !terminal_ || step_.isEmpty())
            return;
        QString text =
            prefix_ + step_ + (percent_ >= 0 ? QStringLiteral(" %1%").arg(percent_) : QString());
        if (archives_ > 0)
            text += QCoreApplication::translate("BatchRun", ", %1 bytes written")
                        .arg(GroupedNumber(bytes_));
        if (text == shown_)
            return;
        shown_ = text;
        const QByteArray bytes = "\r\033[K" + text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }
    void clearLine()
    {
        if (shown_.isEmpty())
            return;
        std::fputs("\r\033[K", stderr);
        shown_.clear();
    }
    // The archive named last is complete once the next one starts or the run completes.
    void archiveDone()
    {
        if (archive_.isEmpty())
            return;
        const QString path = OutputBase(s_.job.ZipDir) + QLatin1Char('/') + archive_;
        const qint64 size = QFileInfo(path).size();
        ++archives_;
        bytes_ += size;
        if (!quiet_ && !terminal_)
            //: %1 the archive's path, %2 its number, %3 the number of volumes, %4 its bytes
            line(QCoreApplication::translate("BatchRun", "wrote %1 (%2 of %3, %4 bytes)")
                     .arg(path)
                     .arg(volume_)
                     .arg(s_.state.VolumeCount)
                     .arg(GroupedNumber(size)));
        archive_.clear();
    }

    Session &s_;
    const bool quiet_;
    const bool terminal_;
    QString prefix_, step_, archive_, shown_;
    int percent_ = 0;
    int volume_ = 0;
    int archives_ = 0;
    qint64 bytes_ = 0;
    QElapsedTimer clock_;
};

} // namespace

QString BatchLinePrefix(const RunState &state)
{
    if (state.ScriptPath.isEmpty())
        return QStringLiteral("kesto32: ");
    const QString name = ScriptFileName(state.ScriptPath);
    return QStringLiteral("kesto32: ") + EscapedName(name.isEmpty() ? state.ScriptPath : name) +
           QStringLiteral(": ");
}

void RemoveFixedFiles(const RunState &state)
{
    // Without the lock the fixed files are another instance's (a batch run beside a window).
    if (!runlock::acquire())
        return;
    removePlainFile(paths::systemFile(QStringLiteral("skip.txt")));
    if (!state.NfoWorkName.isEmpty())
        removePlainFile(state.AppDir + QLatin1Char('/') + state.NfoWorkName);
    removePlainFile(state.AppDir + QStringLiteral("/file_id.diz"));
    removePlainFile(paths::systemFile(QStringLiteral("size.txt")));
    removePlainFile(paths::systemFile(QStringLiteral("~kesto.diz")));
}

int RunBatch(Session &session, bool quiet)
{
    SetReportPrefix(BatchLinePrefix(session.state));
    Window *const earlierWindow = session.svc.window;
    BatchReport report(session, quiet, *earlierWindow);
    session.svc.window = &report;
    const auto finish = [&](std::optional<RunFailure> failure) {
        session.svc.window = earlierWindow;
        report.notes(session.state.RunNotes);
        if (failure) {
            report.failed(*failure);
            return ExitStatusOf(failure->kind);
        }
        report.summary();
        return 0;
    };

    // A refused start touches nothing: the fixed files are another instance's, or none exist.
    if (paths::programDir() == QLatin1String("/"))
        return finish(RunFailure{Failure::RootDirectory, {}});
    if (const QString problem = paths::SystemDirProblem(); !problem.isEmpty())
        return finish(RunFailure{Failure::SystemDirNotPrivate, problem});
    qint64 holder = 0;
    QString why;
    switch (runlock::take(&holder, &why)) {
    case runlock::Outcome::Held: break;
    case runlock::Outcome::Busy:
        return finish(
            RunFailure{Failure::AnotherInstance,
                       QCoreApplication::translate("BatchRun", "process %1").arg(holder)});
    case runlock::Outcome::NotPlain: return finish(RunFailure{Failure::SystemDirNotPrivate, why});
    case runlock::Outcome::Unusable: return finish(RunFailure{Failure::SystemDirFailed, why});
    }
    // Left by a killed run: named and removed at the start, whatever becomes of this run.
    for (const QString &line : runlock::removeLeftWorkDirs())
        ReportLine(line);

    std::optional<RunFailure> failure = LoadScript(session);
    if (!failure)
        failure = ValidateJob(session);
    if (!failure) {
        CalculateSourceSize(session);
        failure = RunPackaging(session);
    }
    if (StopRequested())
        failure = RunFailure{Failure::Stopped, {}};
    RemoveFixedFiles(session.state);
    return finish(failure);
}

} // namespace kesto
