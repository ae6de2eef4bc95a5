#pragma once
// What a run of a job would do, worked out without writing anything.
#include <QString>
#include <QStringList>

namespace kesto {

struct JobSettings;
class DiskInfo;

struct RunPreview {
    int status = 0;         // 0: a run would start; else the batch status of the refusal
    QStringList checks;     // "ok      what" / "refused what: why"
    qint64 sourceBytes = 0; // the source less the skip list
    int sourceFiles = 0;
    int archives = 0;         // the most archives the run can write
    QStringList archiveLines; // "archive NAME: entries"
    QStringList spaceLines;
    QStringList warnings;
};

// The preview of a loaded job; dated with the $ prefix's date stamp.
RunPreview PreviewRun(const JobSettings &job, bool dated, const QString &tempDrive,
                      DiskInfo &disks);
// The preview as --plan prints it, one line each, for the job of the script named; status: the
// batch status of the refusal, 0 when a run would start.
QStringList RunPreviewReport(const JobSettings &job, const QString &scriptName, bool dated,
                             const QString &tempDrive, DiskInfo &disks, int *status);
// --plan: loads the script ("job.kst", or "$job.kst" for dated names), prints the preview and
// returns its status (1 when the script cannot be read).
int PrintRunPreview(const QString &scriptArgument);

} // namespace kesto
