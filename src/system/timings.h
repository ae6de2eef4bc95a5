#pragma once
// Phase timings for measurements: with KESTO32_TIMINGS set, each mark writes one line
// "kesto32-timing <phase> <ms since start> <peak resident KiB>" to standard error.
#include <QString>

namespace kesto::timings {

void mark(const char *phase);

} // namespace kesto::timings
