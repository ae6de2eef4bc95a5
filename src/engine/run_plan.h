#pragma once
// Volume planning and naming for one packaging run.
#include <QDate>
#include <QString>

namespace kesto {

class Session;

// "-v" + size in bytes + "b"; "-v0000b" for one unlimited archive, "-v1440000b" for position 3.
QString SizeSwitch(int volumeSizeSetting);
// ".rar" for position 0, else ".001".
QString RarExtension(int volumeSizeSetting);
// "mmdyy": 14 June 1998 gives 061498.
QString DateStamp(const QDate &date);
// Empty for position 0, else the volume with at least three digits.
QString VolumeNumberText(int volumeSizeSetting, int volumeIndex);
// ZipDir without the trailing separator of a root ("/" gives "").
QString OutputBase(const QString &zipDir);
// Root directory of a drive letter ("c" is the private system drive).
QString DriveRoot(Session &session, const QString &letter);
// Creates the first free root + "/Kesto" + NNN; empty on failure.
QString MakeWorkDir(const QString &driveRoot);

// What planning fixes for the archiver and zip steps.
struct RunPlan {
    QString sizeSwitch;
    QString archiverOptions; // size switch, then " -m5 -s" for a solid archive
    QString skipSwitch; // "-x@" + the skip file, or empty
    QString rarArchivePath; // WorkDir + "/" + ZipName + extension
};

} // namespace kesto
