#include "argv_dump.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto::test {

std::optional<int> runAsArgvDump(int argc, char **argv)
{
    const char *dumpPath = std::getenv("KESTO_ARGV_DUMP");
    if (!dumpPath || !*dumpPath)
        return std::nullopt;

    FILE *dump = std::fopen(dumpPath, "wb");
    if (!dump)
        return 98;
    for (int i = 1; i < argc; ++i) {
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, dump);
        std::printf("%s\n", argv[i]);
    }
    std::fclose(dump);
    std::fflush(stdout);

    if (const char *waitFor = std::getenv("KESTO_ARGV_WAIT_FOR")) {
        struct stat info;
        int tries = 0;
        while (::stat(waitFor, &info) != 0) {
            if (++tries > 6000)
                return 99;
            ::usleep(10'000);
        }
    }
    if (const char *touch = std::getenv("KESTO_ARGV_TOUCH")) {
        FILE *file = std::fopen(touch, "wb");
        if (!file)
            return 97;
        std::fputs("partial volume", file);
        std::fclose(file);
    }
    const char *status = std::getenv("KESTO_ARGV_STATUS");
    return status ? std::atoi(status) : 0;
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

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (had_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

} // namespace kesto::test
