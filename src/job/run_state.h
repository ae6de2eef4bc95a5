#pragma once
#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace kesto {

inline QString ErrorTitle()
{
    //: Designed text: the caption of the program's error messages
    return QCoreApplication::translate("RunState", "Kesto32 error");
}

// Program-wide values shared by the window, the scripts and the packaging run.
struct RunState {
    QString AppDir;
    QString TempDrive = QStringLiteral("c");
    QString TempDriveRoot; // the root TempDrive had when chosen; empty: look the letter up
    QString ScriptPath;
    QString CommandLineScript;
    bool BatchRun = false;
    bool BatchRunDated = false;
    bool JobValid = false;
    QString NfoWorkName;
    QString VersionText = QStringLiteral("v2.20");
    bool SplashAboutMode = false;
    // --checksums on a batch run: manifests beside the series once it is complete.
    bool WriteChecksums = false;
    // --recovery N on a batch run: a recovery set of N percent once the series is complete; 0:
    // none.
    int RecoveryPercent = 0;

    // The packaging run.
    qint16 VolumeIndex = 0;
    qint16 VolumeCount = 0;
    QString WorkDir;
    bool DizTestPassed = false;
    // A run is under way (the window is served during the zip step; a second run must not start).
    bool RunInProgress = false;
    // What a run tells its user beyond progress (files of the extra left out, an earlier run's
    // files removed), and how many archives it has written so far.
    QStringList RunNotes;
    int ArchivesWritten = 0;

    bool batchMode() const { return BatchRun || BatchRunDated; }
};

} // namespace kesto
