// Not yet built: placeholder so the layers link.
#include "output_settings.h"
#include "job/session.h"
namespace kesto {
QString SizeDisplayText(int) { return {}; }
qint64 FreeSpaceMB(qint64) { return 0; }
void ChooseZipDir(Session &) {}
void ShowZipFreeSpace(Session &) {}
void VScroll1_Change(Session &) {}
} // namespace kesto
