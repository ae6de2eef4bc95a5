#pragma once
// What a run of a job would do, worked out without writing anything.
#include <QHash>
#include <QString>
#include <QStringList>

namespace kesto {

struct JobSettings;
class DiskInfo;

// What a command reports: lines for standard output, lines for standard error (each printed after
// "kesto32: "), and the exit status. The window's dialogs show the same reports.
struct CommandReport {
    QStringList lines;
    QHash<int, QByteArray> rawLines; // lines printed as these exact bytes (text files' own bytes)
    QStringList errors;
    int status = 0;
};

// Prints a report: its lines on standard output, its errors on standard error.
void PrintCommandReport(const CommandReport &report);

struct RunPreview {
    int status = 0;         // 0: a run would start; else the status the run would end with
    QStringList checks;     // "ok      what" / "refused what: why"
    qint64 sourceBytes = 0; // the source less the skip list
    int sourceFiles = 0;
    int archives = 0;         // the most archives the run can write
    QStringList archiveLines; // "archive NAME: entries"
    // Per archive line, the numbered description line as it will be written; empty without one.
    QList<QByteArray> numberedLines;
    qint64 numberedLine = 0;
    QStringList spaceLines;
    QStringList recoveryLines; // "NAME: about N bytes", then the set's total
    QStringList warnings;
};

// The preview of a loaded job; dated with the $ prefix's date stamp; recoveryPercent: the
// --recovery of the run, 0 for none.
RunPreview PreviewRun(const JobSettings &job, bool dated, const QString &tempDrive, DiskInfo &disks,
                      int recoveryPercent = 0);
// The preview as --plan reports it, for the job of the script named (the window's current job
// included); status: the status the run would end with, 0 when a run would start.
CommandReport PlanReport(const JobSettings &job, const QString &scriptName, bool dated,
                         const QString &tempDrive, DiskInfo &disks, int recoveryPercent = 0);
// --plan: loads the script ("job.kst", or "$job.kst" for dated names) and reports the preview
// with its status (the run's status when the script cannot be read).
CommandReport PlanCommand(const QString &scriptArgument, int recoveryPercent = 0);
// PlanCommand, printed; returns its status.
int PrintRunPreview(const QString &scriptArgument, int recoveryPercent = 0);

} // namespace kesto
