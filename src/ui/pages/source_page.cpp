#include "source_page.h"

#include "describe/source_size.h"
#include "engine/temp_drive.h"
#include "system/paths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>

namespace kesto::ui {

namespace {

QString driveItemText(const Drive &drive)
{
    const QString name = QFileInfo(drive.root).fileName();
    return QStringLiteral("%1: [%2]").arg(drive.letter, name.isEmpty() ? drive.root : name);
}

} // namespace

SourcePage::SourcePage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture1", 1185, 660, 3720, 2850), session_(session)
{
    QFrame *source = makeFrame(this, "SSFrame1", twipsRect(0, 0, 3720, 1650));
    makeLabel(source, "Label2",
              QCoreApplication::translate("SourcePage", "Source drive or directory"),
              twipsRect(120, 90, 3480, 240));
    SSPanel8 = makePathDisplay(source, "SSPanel8", twipsRect(120, 360, 3480, 315));
    Command2 = makeButton(source, "Command2", QCoreApplication::translate("SourcePage", "&Browse"),
                          twipsRect(120, 780, 900, 345));
    //: Shown until the source has been measured; then the size replaces it
    Label9 =
        makeLabel(source, "Label9", QCoreApplication::translate("SourcePage", "- Source size -"),
                  twipsRect(120, 1170, 3480, 420), Qt::AlignCenter);
    // The size tool's summary may run longer than one line.
    Label9->setWordWrap(true);

    auto *temporary = named(
        new QGroupBox(QCoreApplication::translate("SourcePage", "Drive for temporary files"), this),
        "Frame7", twipsRect(0, 1740, 3720, 1080));
    Drive1 = named(new QComboBox(temporary), "Drive1", twipsRect(120, 360, 1500, 330));
    const QList<Drive> drives = session_.svc.disks->drives();
    if (drives.isEmpty() || drives.first().letter != QLatin1String("c")) {
        const Drive system{QStringLiteral("c"), paths::systemDir()};
        Drive1->addItem(driveItemText(system), system.letter);
        Drive1->setItemData(0, system.root, Qt::ToolTipRole);
    }
    for (const Drive &drive : drives) {
        // Every letter shows its root's own name after it, "c:" (the program's own drive)
        // included; every item's tool-tip is the whole root path.
        Drive1->addItem(driveItemText(drive), drive.letter);
        Drive1->setItemData(Drive1->count() - 1, drive.root, Qt::ToolTipRole);
    }
    Drive1->view()->setMinimumWidth(Drive1->view()->sizeHintForColumn(0) + 8);
    //: Before a drive is chosen; then the free space of the drive replaces it
    Label3 =
        makeLabel(temporary, "Label3", QCoreApplication::translate("SourcePage", "Free space on -"),
                  twipsRect(1740, 300, 1860, 480));

    connect(Command2, &QPushButton::clicked, this, &SourcePage::Command2_Click);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &SourcePage::Drive1_Change);
}

void SourcePage::showJob(const JobSettings &job)
{
    SSPanel8->setText(job.SourcePath);
}

void SourcePage::setSourceSizeText(const QString &text)
{
    Label9->setText(text);
}

void SourcePage::setTempFreeSpaceText(const QString &text)
{
    // A carriage return breaks the label's line.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Label3->setText(shown);
}

void SourcePage::setMeasuring(bool busy)
{
    Command2->setEnabled(!busy);
}

void SourcePage::setDisplayTips()
{
    Label9->setToolTip(QCoreApplication::translate("SourcePage", "Total source size"));
    Label3->setToolTip(QCoreApplication::translate("SourcePage", "Drive free space"));
}

QString SourcePage::selectedDrive() const
{
    return Drive1->currentData().toString();
}

void SourcePage::selectDrive(const QString &letter)
{
    const int index = Drive1->findData(letter);
    if (index >= 0)
        Drive1->setCurrentIndex(index);
}

void SourcePage::Command2_Click()
{
    BrowseSource(session_);
}

void SourcePage::Drive1_Change()
{
    const QString selected = selectedDrive();
    const QString accepted =
        TempDriveChanged(session_, selected, Drive1->currentData(Qt::ToolTipRole).toString());
    // Refused: back to c, whose own change (if the list was elsewhere) shows c's free space.
    if (accepted != selected)
        selectDrive(accepted);
}

} // namespace kesto::ui
