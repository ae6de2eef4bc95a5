// Not yet built: placeholder so the layers link.
#include "source_size.h"
#include "job/session.h"
namespace kesto {
void BrowseSource(Session &) {}
void CalculateSourceSize(Session &) {}
} // namespace kesto
