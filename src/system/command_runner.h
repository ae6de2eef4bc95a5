#pragma once
// Runs one command line, split at blanks with double quotes grouping, without a shell.
#include "platform.h"

#include <QString>
#include <QStringList>

namespace kesto {

// A command line taken apart: blanks separate words, double quotes group (a quote inside a word
// joins, "" inside quotes is one quote), an unquoted '>' sends standard output to the next word.
struct SplitCommand {
    QString program; // without a leading "command.com /c" and a trailing ".exe"
    QStringList arguments;
    QString outputFile; // empty: standard output stays the program's own
};

SplitCommand SplitCommandLine(const QString &commandLine);

// The text as one word of a command line: in double quotes (inner quotes doubled).
QString QuotedWord(const QString &text);
// Unchanged when it splits as one word as it stands, else QuotedWord(text).
QString CommandLineWord(const QString &text);

// The program's path: a word with a '/' is a path; a bare name is looked up in the program's
// directory, then on PATH. Empty when nothing executable is found.
QString FindProgram(const QString &program);

// The start of every line the program writes to standard error ("kesto32: job.kst: " in a batch
// run); "kesto32: " until set.
void SetReportPrefix(const QString &prefix);
// One line on standard error, after that prefix.
void ReportLine(const QString &text);

class SystemCommandRunner : public CommandRunner {
public:
    // Waits without limit; the window is repainted meanwhile but user input waits until the end.
    void execCmd(const QString &commandLine) override;

    // Diagnostics of the last execCmd: whether the program started, and its exit status
    // (-1 when it did not start or was killed by a signal).
    bool lastStarted() const { return lastStarted_; }
    int lastExitStatus() const override { return lastExitStatus_; }

private:
    bool lastStarted_ = false;
    int lastExitStatus_ = -1;
};

} // namespace kesto
