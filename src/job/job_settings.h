#pragma once
#include <QString>

namespace kesto {

// Check states as the pages hold them.
constexpr qint16 Checked = -1;
constexpr qint16 Unchecked = 0;

// The one packaging job, in the order a script stores it.
struct JobSettings {
    QString SourcePath;
    QString SkipList; // entries, each followed by CR LF
    QString DizPath;
    bool DizAutoNumber = false; // "S&ubsitute at column"
    bool DizNoneSelected = true; // its companion option "&None"
    QString DizColumn;
    QString DizLine;
    QString NfoPath;
    qint16 NfoFirstOnly = 0; // 0 unchecked, 1 checked, 2 greyed
    bool ExtraIsFile = false; // "&File"
    bool ExtraIsDirectory = false; // its companion option "&Directory"
    QString ExtraPath;
    QString ZipDir;
    QString ZipName;
    qint16 VolumeSizeSetting = 3;
    qint16 RarSolid = Unchecked;
    qint16 ZipExtraCompression = Unchecked;

    bool operator==(const JobSettings &) const = default;
};

} // namespace kesto
