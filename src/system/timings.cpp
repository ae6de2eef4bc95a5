#include "timings.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace kesto::timings {

namespace {

QElapsedTimer &clock()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool enabled()
{
    static const bool on = qEnvironmentVariableIsSet("KESTO32_TIMINGS");
    return on;
}

} // namespace

void mark(const char *phase)
{
    if (!enabled())
        return;
    std::fprintf(stderr, "kesto32-timing %s %lld %lld\n", phase,
                 static_cast<long long>(clock().elapsed()),
                 static_cast<long long>(peakResidentKiB()));
    std::fflush(stderr);
}

} // namespace kesto::timings
