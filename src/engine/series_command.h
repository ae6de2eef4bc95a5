#pragma once
// The commands that work on a job or a finished series without opening a window:
//   kesto32 --plan [$]job.kst
//   kesto32 --verify PATH [--name ZIPNAME] [--against SOURCE] [--job job.kst]
//   kesto32 --repair PATH [--name ZIPNAME]
//   kesto32 --checksums PATH [--name ZIPNAME]
//   kesto32 --recovery N PATH [--name ZIPNAME]
// and the --checksums and --recovery N switches of a batch run (kesto32 --checksums '!job.kst').
#include "recovery_set.h"
#include "verify_series.h"

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include "run_preview.h"

#include <optional>

namespace kesto {

class Session;

// --verify's status for damage the recovery set beside the series can repair.
inline constexpr int VerifyRepairableStatus = 2;

// --verify PATH [--name NAME] [--against SOURCE] [--job SCRIPT]; empty texts for options not given.
CommandReport VerifyCommand(const QString &path, const QString &name, const QString &against,
                            const QString &jobScript);
// --verify's report on a series found (the window's Verify dialog shows it too).
CommandReport VerifySeriesReport(const Series &series, const VerifyOptions &options);
// --repair PATH [--name NAME].
CommandReport RepairCommand(const QString &path, const QString &name);
// --repair's work on a series found: the damaged and missing archives rebuilt from the recovery
// set, then the whole check of the result (the window's Verify dialog runs it too).
CommandReport RepairSeriesReport(const Series &series);
// --checksums PATH [--name NAME]: the manifests of exactly one series.
CommandReport ChecksumsCommand(const QString &path, const QString &name);
// --recovery N PATH [--name NAME]: the recovery set of exactly one series, once the whole check
// of --verify has found it complete and intact.
CommandReport RecoveryCommand(const QString &path, const QString &name, int percent);
// The line that says what a recovery set written for the series holds.
QString RecoverySummary(const Series &series, const RecoveryWritten &written, int percent);

// The options, for the program's --help.
QList<QCommandLineOption> SeriesCommandOptions();
// Whether the arguments hold one of these commands (or one of their options): no window then.
bool IsSeriesCommand(const QStringList &arguments);
// Runs the command and returns its exit status; nullopt when the arguments (the program's name
// first) hold none of these commands, or a batch run with --checksums: the program goes on.
// Makes its own QCoreApplication from argc and argv when there is none.
// arguments: the command line as QCommandLineParser is to read it.
std::optional<int> RunSeriesCommand(int &argc, char **argv, const QStringList &arguments);
// The series a completed run wrote: its volumeCount archives, not those of an earlier, longer run
// of the same name.
std::optional<Series> RunWrittenSeries(const Session &session, int volumeCount, QString *why);
// After a completed run with --checksums: the manifests for the volumeCount archives the run
// wrote. False with why when they cannot be written.
bool WriteRunManifests(Session &session, int volumeCount, QString *why);
// The percentage of a --recovery option on the program's command line: 0 without one; nullopt
// (said on standard error) when it is out of range or no number.
std::optional<int> RecoveryPercentOption(const QStringList &arguments);

} // namespace kesto
