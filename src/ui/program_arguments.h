#pragma once
// The program's own command line: its options, the script, and Qt's notes when no one watches.
#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include <optional>

namespace kesto {
struct RunState;
}

namespace kesto::ui {

// The program's command line, sorted out before anything else happens.
struct ArrangedArguments {
    // For QCommandLineParser: the program, the options (with their values), "--", the words of
    // the script.
    QStringList arguments;
    // The script's words as given, joined by blanks: its name may hold any byte.
    QByteArray scriptBytes;
    bool batch = false;         // the script begins with "!" or "$"
    bool helpOrVersion = false; // --help, --help-all, -h, --version or -v
    QString error;              // "unrecognized option '-V'": nothing is to be done
};

// Options may stand before or after the script; "--" ends them, so that "-- -x.kst" (or
// "./-x.kst") names a script. Any other word beginning with "-" that is not one of own is an
// error, as is an option lacking its value.
ArrangedArguments ArrangeArguments(const QList<QByteArray> &arguments,
                                   const QList<QCommandLineOption> &own);
// The status for a command line that cannot be followed (sysexits' EX_USAGE), and for output
// that cannot be written (EX_IOERR).
constexpr int ExitUsage = 64;
constexpr int ExitOutputError = 74;
// The help and version options of QCommandLineParser, by name, for ArrangeArguments.
QList<QCommandLineOption> HelpAndVersionOptions();
// --quiet, for a batch run.
QCommandLineOption QuietOption();
// Every option of the program, as main arranges its command line.
QList<QCommandLineOption> ProgramOptions();
// What main does before any application object exists: the status to end with at once, else
// nullopt; each says why on standard error. A command line that cannot be followed:
std::optional<int> RefuseCommandLine(const ArrangedArguments &arranged);
// The window without a display (none of the series commands, no batch run, no --help):
std::optional<int> RefuseWindowWithoutDisplay(const ArrangedArguments &arranged);
// Writes text to standard output; false when it cannot be written (a full disk, a closed pipe).
bool WriteStandardOutput(const QByteArray &text);

// Unattended (a batch run, or Qt's offscreen platform) Qt's own notes, warnings and errors are
// dropped: standard error then carries only the program's "kesto32: ..." lines. Call before the
// application object exists, so that the platform's notes are caught too.
void DropQtNotesWhenUnattended(bool batchRun);

// The command line's prefix decides batch mode; sets BatchRun, BatchRunDated, CommandLineScript.
void ReadCommandLine(RunState &state, const QString &commandLine);

} // namespace kesto::ui
