#pragma once
#include <QString>

namespace kesto {

class Session;

// "002/005": volume and count, each with at least three digits.
QString NumberText(int volume, int volumeCount);
// The numbered copy of the description in AppDir + "/file_id.diz". False when a file fails.
bool WriteNumberedDiz(Session &session, int volume, int volumeCount);
// Checks that line and column fit the description; sets DizTestPassed.
void TestDizNumbering(Session &session, bool showResult);
// The nfo copy in AppDir, closed by the tag line; sets NfoWorkName. False when a file fails.
bool WriteVolumeNfo(Session &session);

} // namespace kesto
