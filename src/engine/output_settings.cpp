#include "output_settings.h"

#include "job/session.h"
#include "system/free_space.h"
#include "system/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <cstdlib>

namespace kesto {

QString SizeDisplayText(int volumeSizeSetting)
{
    if (volumeSizeSetting == 0)
        //: Designed text: the volume size when the whole tree goes into one volume
        return QCoreApplication::translate("OutputSettings", "1 Max file");
    // The decimal point is the user's locale's.
    const QString point = QLocale().decimalPoint();
    if (volumeSizeSetting == 3)
        return QStringLiteral("1") + point + QStringLiteral("44 M");
    // Millions of bytes with at most two decimals; trailing zeros and a leading zero are dropped,
    // the point always stays ("1. M", ".5 M").
    const qint64 hundredths = qint64(volumeSizeSetting) * 500 / 10;
    const qint64 whole = std::abs(hundredths) / 100;
    QString decimals =
        QString::number(std::abs(hundredths) % 100).rightJustified(2, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    const QString sign = hundredths < 0 ? QStringLiteral("-") : QString();
    const QString wholeText = whole == 0 ? QString() : QString::number(whole);
    return sign + wholeText + point + decimals + QStringLiteral(" M");
}

void ChooseZipDir(Session &session)
{
    const std::optional<QString> chosen = session.svc.dialogs->pickFolder(
        //: Designed text: the caption of the folder dialog for the output directory
        QCoreApplication::translate("OutputSettings", "Directory for zip's"), QString());
    if (!chosen)
        return;
    session.job.ZipDir = paths::lowerPath(*chosen);
    session.jobChanged();
    if (!session.job.ZipDir.isEmpty())
        ShowZipFreeSpace(session);
}

void ShowZipFreeSpace(Session &session)
{
    // No output directory yet: the free space where the program stands.
    const QString &zipDir = session.job.ZipDir;
    const QString where = zipDir.isEmpty() ? QDir::currentPath() : zipDir;
    const qint64 freeBytes = session.svc.disks->freeBytes(where);
    //: Designed text: the free space of the output directory in millions of bytes
    session.svc.window->setZipFreeSpaceText(
        QCoreApplication::translate("OutputSettings", "Free space  %1 M")
            .arg(FreeSpaceMB(freeBytes)));
}

void ShowSizeDisplay(Session &session)
{
    session.svc.window->setSizeDisplayText(SizeDisplayText(session.job.VolumeSizeSetting));
}

} // namespace kesto
