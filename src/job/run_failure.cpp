#include "run_failure.h"

#include "system/stop_signals.h"

#include <QCoreApplication>

#include <cstring>

namespace kesto {

namespace {

struct FailureText {
    int status;
    const char *window; // the window's message, or nullptr
    const char *batch;  // what a batch run says when the window has no message
    const char *remedy; // nullptr when there is nothing to do but read the detail
};

FailureText textOf(Failure kind)
{
    switch (kind) {
    case Failure::ScriptUnreadable:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "Error in Kesto script"), nullptr, nullptr};
    case Failure::ScriptBadValue:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "Error in Kesto script"), nullptr, nullptr};
    case Failure::JobInvalid:
        return {1, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the job is not valid"), nullptr};
    case Failure::NameHasBlank:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "Spaces aren't allowed in filename"), nullptr,
                nullptr};
    case Failure::NameHasSeparator:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "Slashes aren't allowed in filename"), nullptr,
                nullptr};
    case Failure::NameHasNul:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "NUL characters aren't allowed in filename"),
                nullptr, nullptr};
    case Failure::NameTooLong:
        return {1, QT_TRANSLATE_NOOP("RunFailure", "Filename too long"), nullptr,
                QT_TRANSLATE_NOOP("RunFailure", "shorten the zip name")};
    case Failure::NameClash:
        return {2, nullptr, QT_TRANSLATE_NOOP("RunFailure", "Duplicate zip name in zip directory"),
                nullptr};
    case Failure::OutputNotWritable:
        return {2, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the zip directory cannot be written"),
                nullptr};
    case Failure::DescriptionTest:
        return {2, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the description test failed"),
                nullptr};
    case Failure::FileFailed:
        return {3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "a file operation failed"), nullptr};
    case Failure::ZipFailed:
        return {3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "a zip operation failed"), nullptr};
    case Failure::RootDirectory:
        return {
            3,
            QT_TRANSLATE_NOOP("RunFailure",
                              "Kesto32 can not be run from\r\na root directory, please reinstall."),
            nullptr, nullptr};
    case Failure::SystemDirNotPrivate:
        return {3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the system directory is not private"),
                QT_TRANSLATE_NOOP("RunFailure",
                                  "make it your own, writable by you alone, or set "
                                  "KESTO32_SYSTEM_DIR to a directory that is; nothing was done")};
    case Failure::SystemDirFailed:
        return {
            3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the system directory cannot be written"),
            QT_TRANSLATE_NOOP("RunFailure",
                              "free space there, or set KESTO32_SYSTEM_DIR to another directory")};
    case Failure::SizeHelperMissing:
        return {3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "size helper not found"),
                QT_TRANSLATE_NOOP("RunFailure", "reinstall Kesto32")};
    case Failure::ArchiverMissing:
        return {4, nullptr, QT_TRANSLATE_NOOP("RunFailure", "wrar helper not found"),
                QT_TRANSLATE_NOOP("RunFailure", "reinstall Kesto32")};
    case Failure::SevenZipMissing:
        return {4, nullptr, QT_TRANSLATE_NOOP("RunFailure", "7-Zip not found"),
                QT_TRANSLATE_NOOP("RunFailure", "install the package 7zip")};
    case Failure::ArchiverFailed:
        return {
            4, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the archiver failed"),
            QT_TRANSLATE_NOOP("RunFailure",
                              "the volumes it left are wrapped, but the series is not complete")};
    case Failure::ArchiverWarned:
        return {
            4, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the archiver could not read every file"),
            QT_TRANSLATE_NOOP("RunFailure", "the series leaves them out; see its messages above")};
    case Failure::NoVolumes:
        return {4, nullptr, QT_TRANSLATE_NOOP("RunFailure", "the archiver left no volume"),
                nullptr};
    case Failure::AnotherInstance:
        return {5, QT_TRANSLATE_NOOP("RunFailure", "Another instance of Kesto32 is running"),
                nullptr, QT_TRANSLATE_NOOP("RunFailure", "nothing was done")};
    case Failure::RecoveryMissing:
    case Failure::RecoveryFailed:
        return {6, nullptr,
                QT_TRANSLATE_NOOP("RunFailure", "the archives are complete and written, but the "
                                                "recovery set is not"),
                nullptr};
    case Failure::Stopped:
        return {128 + CaughtStopSignal(), nullptr, QT_TRANSLATE_NOOP("RunFailure", "stopped"),
                nullptr};
    }
    return {3, nullptr, QT_TRANSLATE_NOOP("RunFailure", "failed"), nullptr};
}

} // namespace

int ExitStatusOf(Failure kind)
{
    return textOf(kind).status;
}

QString WindowMessage(Failure kind)
{
    const FailureText text = textOf(kind);
    if (text.window)
        return QCoreApplication::translate("RunFailure", text.window);
    if ((text.status != 3 && text.status != 4 && text.status != 6) || !text.batch)
        return {};
    QString said = QCoreApplication::translate("RunFailure", text.batch);
    said[0] = said[0].toUpper();
    return said;
}

QString WindowReason(const RunFailure &failure)
{
    QStringList lines;
    if (!failure.detail.isEmpty())
        lines << failure.detail;
    if (const char *remedy = textOf(failure.kind).remedy)
        lines << QCoreApplication::translate("RunFailure", remedy);
    for (QString &line : lines)
        line[0] = line[0].toUpper();
    return lines.join(QLatin1Char('\n'));
}

Icon WindowIcon(Failure kind)
{
    switch (kind) {
    case Failure::NameHasBlank:
    case Failure::NameHasSeparator:
    case Failure::NameHasNul:
    case Failure::NameTooLong: return Icon::Exclamation;
    default: return Icon::Stop;
    }
}

QString StopSignalName(int signal)
{
    const char *abbreviation = ::sigabbrev_np(signal);
    return abbreviation ? QStringLiteral("SIG") + QString::fromLatin1(abbreviation)
                        : QCoreApplication::translate("RunFailure", "signal %1").arg(signal);
}

QString BatchReason(const RunFailure &failure)
{
    if (failure.kind == Failure::Stopped)
        return QCoreApplication::translate("RunFailure", "stopped by %1")
            .arg(StopSignalName(CaughtStopSignal()));
    const FailureText text = textOf(failure.kind);
    QString reason =
        QCoreApplication::translate("RunFailure", text.window ? text.window : text.batch);
    reason.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (!failure.detail.isEmpty())
        reason += QStringLiteral(": ") + failure.detail;
    if (text.remedy)
        reason += QStringLiteral("; ") + QCoreApplication::translate("RunFailure", text.remedy);
    return reason;
}

} // namespace kesto
