#pragma once
#include "system/free_space.h"

#include <QString>

namespace kesto {

class Session;

// "1 Max file", "1.44 M", ".5 M", "1. M", "2.5 M", "100. M" for the positions 0 to 200.
QString SizeDisplayText(int volumeSizeSetting);
// The Zip page's "&Browse".
void ChooseZipDir(Session &session);
// "Free space " + " " + n + " M" for the drive of ZipDir.
void ShowZipFreeSpace(Session &session);
// The size display follows VolumeSizeSetting.
void ShowSizeDisplay(Session &session);

} // namespace kesto
