#pragma once
// The commands that work on a job or a finished series without opening a window:
//   kesto32 --plan [$]job.kst
//   kesto32 --verify PATH [--name ZIPNAME] [--against SOURCE] [--job job.kst]
//   kesto32 --checksums PATH [--name ZIPNAME]
// and the --checksums switch of a batch run (kesto32 --checksums '!job.kst').
#include "verify_series.h"

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include <optional>

namespace kesto {

class Session;

// The options, for the program's --help.
QList<QCommandLineOption> SeriesCommandOptions();
// Runs the command and returns its exit status; nullopt when the arguments (the program's name
// first) hold none of these commands, or a batch run with --checksums: the program goes on.
// Makes its own QCoreApplication from argc and argv when there is none.
std::optional<int> RunSeriesCommand(int &argc, char **argv);
// --verify's report on a series found, one line each; status 0 when complete and intact, else 1.
QStringList VerifySeriesReport(const Series &series, const VerifyOptions &options, int *status);
// After a completed run with --checksums: the manifests for the volumeCount archives the run
// wrote. False with why when they cannot be written.
bool WriteRunManifests(Session &session, int volumeCount, QString *why);

} // namespace kesto
