#pragma once
#include <QString>

namespace kesto {

class Session;

// "002/005": volume and count, each with at least three digits ("1000/1000" beyond 999).
QString NumberText(int volume, int volumeCount);
// The numbered copy of the description in AppDir + "/file_id.diz". False when a file fails.
// The number overwrites as many characters as it is long from the column on, or is appended
// when it does not fit the line; a column below 1 counts as 1.
bool WriteNumberedDiz(Session &session, int volume, int volumeCount);
// Checks that line and column fit the description; sets DizTestPassed. A column below 1 on the
// numbered line fails like one that is too high ("Column number too low"). With showResult the
// sample is opened in the editor and left in place for it; otherwise it is deleted. Returns what
// failed ("Line number too high"), empty when the test passed.
QString TestDizNumbering(Session &session, bool showResult);
// Did the test fail because the sample could not be written (the system directory, not the job)?
bool SampleUnwritable(const QString &why);
// The description test's verdict on a description's bytes: "Column number too low", "Column
// number too high", "Line number too high" (lineAtFault set), or empty when the number fits.
QString DizNumberingProblem(const QByteArray &description, qint64 lineNumber, qint64 column,
                            bool *lineAtFault = nullptr);
// The nfo copy in AppDir, closed by the tag line; sets NfoWorkName. False when a file fails.
bool WriteVolumeNfo(Session &session);

} // namespace kesto
