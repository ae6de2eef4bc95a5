#pragma once
// A small tmpfs for tests of full or tiny drives. Mounting needs root; tests skip when it fails.
#include <QDir>
#include <QProcess>
#include <QString>

namespace kesto::test {

class SmallMount {
public:
    SmallMount(const QString &dir, const QString &size) : dir(dir)
    {
        QDir().mkpath(dir);
        mounted =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=") + size, QStringLiteral("tmpfs"), dir}) == 0;
    }
    ~SmallMount()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {dir});
    }
    SmallMount(const SmallMount &) = delete;
    SmallMount &operator=(const SmallMount &) = delete;
    bool mounted = false;

private:
    QString dir;
};

} // namespace kesto::test
