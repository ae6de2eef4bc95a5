#pragma once
#include <QString>

namespace kesto {

// A check box's state; a three-state box is stored as 0, 1, 2 in this order (script.cpp).
enum class CheckState : qint8 { Unchecked, Checked, Greyed };
using enum CheckState;

// The one packaging job, in the order a script stores it.
struct JobSettings {
    QString SourcePath;
    QString SkipList; // entries, each followed by CR LF
    QString DizPath;
    bool DizAutoNumber = false;  // "S&ubsitute at column"
    bool DizNoneSelected = true; // its companion option "&None"
    QString DizColumn;
    QString DizLine;
    QString NfoPath;
    CheckState NfoFirstOnly = Unchecked;
    bool ExtraIsFile = false;      // "&File"
    bool ExtraIsDirectory = false; // its companion option "&Directory"
    QString ExtraPath;
    QString ZipDir;
    QString ZipName;
    qint16 VolumeSizeSetting = 3;
    CheckState RarSolid = Unchecked;
    CheckState ZipExtraCompression = Unchecked;

    bool operator==(const JobSettings &) const = default;
};

} // namespace kesto
