#include "recovery_tool.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace kesto {

QString Par2Program()
{
    return QStandardPaths::findExecutable(QStringLiteral("par2"));
}

QString Par2MissingText()
{
    return QCoreApplication::translate("recovery",
                                       "par2 not found on PATH; install the package par2");
}

} // namespace kesto
