#include "figures.h"

#include <QLocale>

namespace kesto {

QString GroupedNumber(qint64 number)
{
    QLocale locale;
    // The C locale leaves out its separator unless told: 1,234,567 then.
    locale.setNumberOptions({});
    return locale.toString(number);
}

} // namespace kesto
