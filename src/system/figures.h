#pragma once
// Figures as the program's lines show them to the user.
#include <QString>

namespace kesto {

// A whole number with the digit grouping of the user's locale (1.234.567 in German); the C
// locale, which groups nothing, writes it as English does (1,234,567).
QString GroupedNumber(qint64 number);

} // namespace kesto
