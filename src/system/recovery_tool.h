#pragma once
// par2 (Debian's par2cmdline): the outside program that writes, checks and repairs the PAR 2.0
// recovery set beside a series. Started directly with an argument list, like 7-Zip.
#include <QString>

namespace kesto {

// par2 found on PATH; empty when missing.
QString Par2Program();
// Why recovery data cannot be written or used without it, with the remedy.
QString Par2MissingText();

} // namespace kesto
