#include "standin_services.h"

#include "system/paths.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStorageInfo>
#include <cstdio>
#include <cstdlib>

namespace kesto::standin {

namespace {

// "Description|pattern|..." pairs as a Qt name filter.
QString nameFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> chosen(const QString &path)
{
    if (path.isNull())
        return std::nullopt;
    return path;
}

} // namespace

Answer QtMessageBoxes::show(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(icon == Icon::Stop          ? QMessageBox::Critical
                    : icon == Icon::Exclamation ? QMessageBox::Warning
                                                : QMessageBox::NoIcon,
                    title, text,
                    buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                 : QMessageBox::Ok);
    return box.exec() == QMessageBox::Cancel ? Answer::Cancel : Answer::Ok;
}

std::optional<QString> QtDialogs::openFile(const FileDialogSetup &setup)
{
    return chosen(QFileDialog::getOpenFileName(nullptr, setup.title, setup.startDir,
                                               nameFilter(setup.filter)));
}

std::optional<QString> QtDialogs::saveFile(const FileDialogSetup &setup)
{
    return chosen(QFileDialog::getSaveFileName(nullptr, setup.title, setup.startDir,
                                               nameFilter(setup.filter)));
}

std::optional<QString> QtDialogs::pickFolder(const QString &prompt, const QString &startDir)
{
    return chosen(QFileDialog::getExistingDirectory(nullptr, prompt, startDir));
}

qint64 StorageDiskInfo::freeBytes(const QString &path)
{
    const QStorageInfo storage(path);
    return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : 0;
}

QList<Drive> StorageDiskInfo::drives()
{
    return {{QStringLiteral("c"), paths::systemDir()}};
}

void ProcessLifetime::endProgram(int exitStatus, const QString &reason)
{
    std::fprintf(stderr, "kesto32: %s\n", qPrintable(reason));
    std::exit(exitStatus);
}

} // namespace kesto::standin
