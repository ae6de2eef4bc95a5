#pragma once
// The program's own command line: its options, the script, and Qt's notes when no one watches.
#include <QCommandLineOption>
#include <QList>
#include <QStringList>

namespace kesto {
struct RunState;
}

namespace kesto::ui {

// The arguments as QCommandLineParser is to read them: from the first one that is not among
// the program's own options on, everything is the script, whatever character it begins with
// ("-x.kst" names a script, it is no option).
QStringList ParserArguments(const QStringList &arguments, const QList<QCommandLineOption> &own);

// Unattended (a batch run, or Qt's offscreen platform) Qt's own notes, warnings and errors are
// dropped: standard error then carries only the program's "kesto32: ..." lines. Call before the
// application object exists, so that the platform's notes are caught too.
void DropQtNotesWhenUnattended(bool batchRun);

// The command line's prefix decides batch mode; sets BatchRun, BatchRunDated, CommandLineScript.
void ReadCommandLine(RunState &state, const QString &commandLine);

} // namespace kesto::ui
