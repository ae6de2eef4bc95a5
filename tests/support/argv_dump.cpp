#include "argv_dump.h"

#include <QFile>

#include <cstdio>

namespace kesto::test {

std::optional<int> runAsArgvDump(int argc, char **argv)
{
    const QString dumpPath = qEnvironmentVariable("KESTO_ARGV_DUMP");
    if (dumpPath.isEmpty())
        return std::nullopt;
    QFile dump(dumpPath);
    if (!dump.open(QIODevice::WriteOnly))
        return 98;
    for (int i = 1; i < argc; ++i) {
        dump.write(argv[i], qstrlen(argv[i]) + 1);
        std::printf("%s\n", argv[i]);
    }
    dump.close();
    std::fflush(stdout);

    const QString touch = qEnvironmentVariable("KESTO_ARGV_TOUCH");
    QFile touched(touch);
    if (!touch.isEmpty() && (!touched.open(QIODevice::WriteOnly) || touched.write("partial") < 0))
        return 97;
    return qEnvironmentVariableIntValue("KESTO_ARGV_STATUS");
}

QList<QByteArray> readArgvDump(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> arguments = file.readAll().split('\0');
    arguments.removeLast(); // after the last NUL
    return arguments;
}

} // namespace kesto::test
