#include "run_plan.h"

#include "job/session.h"
#include "system/paths.h"

#include <QDir>
#include <QFileInfo>

namespace kesto {

QString SizeSwitch(int volumeSizeSetting)
{
    if (volumeSizeSetting == 0)
        return QStringLiteral("-v0000b");
    // Position 3 is the floppy: 1,440,000 bytes, not 1,500,000. Only that position; a
    // replacement inside the text would also turn 15,000,000 into 14,400,000.
    const qint64 bytes = volumeSizeSetting == 3 ? 1'440'000 : qint64(volumeSizeSetting) * 500'000;
    return QStringLiteral("-v%1b").arg(bytes);
}

QString RarExtension(int volumeSizeSetting)
{
    return volumeSizeSetting == 0 ? QStringLiteral(".rar") : QStringLiteral(".001");
}

QString DateStamp(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day())
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'));
}

QString VolumeNumberText(int volumeSizeSetting, int volumeIndex)
{
    if (volumeSizeSetting == 0)
        return {};
    return QStringLiteral("%1").arg(volumeIndex, 3, 10, QLatin1Char('0'));
}

QString OutputBase(const QString &zipDir)
{
    return zipDir.endsWith(QLatin1Char('/')) ? zipDir.chopped(1) : zipDir;
}

QString DriveRoot(Session &session, const QString &letter)
{
    if (letter.compare(QLatin1String("c"), Qt::CaseInsensitive) == 0)
        return paths::systemDir();
    const auto drives = session.svc.disks->drives();
    for (const Drive &drive : drives) {
        if (drive.letter.compare(letter, Qt::CaseInsensitive) == 0)
            return drive.root;
    }
    return {};
}

QString MakeWorkDir(const QString &driveRoot)
{
    if (driveRoot.isEmpty())
        return {};
    for (int counter = 1; counter < 1000000; ++counter) {
        const QString candidate =
            paths::join(driveRoot, QStringLiteral("Kesto%1").arg(counter, 3, 10, QLatin1Char('0')));
        // A file of that name counts as taken too; a link is never followed.
        if (QFileInfo(candidate).exists() || QFileInfo(candidate).isSymLink())
            continue;
        // mkdir fails if another process took the name meanwhile: try the next one.
        if (QDir().mkdir(candidate))
            return candidate;
        if (!QFileInfo(candidate).exists() && !QFileInfo(candidate).isSymLink())
            return {}; // not a race: the root cannot be written
    }
    return {};
}

} // namespace kesto
