#pragma once
// Why a run (or a job's loading) ended without its archives: one kind, and the field, path or
// figure concerned. The kind alone decides the exit status of a batch run and the message the
// window shows; the detail only adds to the batch run's line.
#include "system/platform.h"

#include <QString>

namespace kesto {

enum class Failure {
    // Status 1: the script could not be read, or the job it holds is not valid.
    ScriptUnreadable,
    ScriptBadValue,
    JobInvalid,
    NameHasBlank,
    NameHasSeparator,
    NameHasNul,
    NameTooLong,
    // Status 2: the run's own checks refused the job.
    NameClash,
    OutputNotWritable,
    DescriptionTest,
    // Status 3: the run failed on the way, or could not start at all.
    FileFailed,
    ZipFailed,
    RootDirectory,
    SystemDirNotPrivate,
    SystemDirFailed,
    SizeHelperMissing,
    // Status 4: the archiver did not deliver a complete series.
    ArchiverMissing,
    SevenZipMissing,
    ArchiverFailed,
    ArchiverWarned,
    NoVolumes,
    // Status 5: another instance holds the run lock.
    AnotherInstance,
    // Status 6: the run completed and its archives are written, but not its recovery set.
    RecoveryMissing,
    RecoveryFailed,
    // Status 128 + the signal: a stop signal ended the run.
    Stopped,
};

struct RunFailure {
    Failure kind;
    QString detail;
};

// Exit status of a batch run that ends so.
int ExitStatusOf(Failure kind);
// The message box the window shows for it; empty where the window only shows the page at fault.
// A run that fails on the way or in the archiver says what failed.
QString WindowMessage(Failure kind);
// Beneath the window's message: the detail, then the remedy where there is one.
QString WindowReason(const RunFailure &failure);
Icon WindowIcon(Failure kind);
// The reason on a batch run's standard error: the window's text where it has one, else what
// went wrong, then the detail and, where there is one, the remedy.
QString BatchReason(const RunFailure &failure);
// "SIGTERM" for SIGTERM.
QString StopSignalName(int signal);

} // namespace kesto
