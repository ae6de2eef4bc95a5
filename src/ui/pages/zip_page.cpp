#include "zip_page.h"

#include "engine/output_settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace kesto::ui {

ZipPage::ZipPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture6", 1190, 680, 3915, 2910), session_(session)
{
    QFrame *zip = makeFrame(this, "Frame6", twipsRect(0, 0, 3780, 2850));
    makeLabel(zip, "Label12", QCoreApplication::translate("ZipPage", "Zip storage"),
              twipsRect(120, 90, 1500, 240));
    SSPanel5 = makePathDisplay(zip, "SSPanel5", twipsRect(120, 360, 3540, 315));
    Command10 = makeButton(zip, "Command10", QCoreApplication::translate("ZipPage", "&Browse"),
                           twipsRect(120, 780, 840, 345));
    //: Followed by the free space of the zip directory in millions of bytes
    Label14 = makeLabel(zip, "Label14", QCoreApplication::translate("ZipPage", "Free space: "),
                        twipsRect(1080, 825, 2580, 240));
    makeLabel(zip, "Label13", QCoreApplication::translate("ZipPage", "Filename"),
              twipsRect(120, 1335, 900, 240));
    Text3 = makeEdit(zip, "Text3", twipsRect(1080, 1290, 2580, 315));
    makeLabel(zip, "Label15", QCoreApplication::translate("ZipPage", "Archive size"),
              twipsRect(120, 1830, 1110, 240));
    SSPanel6 = makePanel(zip, "SSPanel6", twipsRect(1260, 1785, 1140, 330), Qt::AlignCenter);
    SSPanel6->setText(QStringLiteral("1.44 M"));
    VScroll1 =
        named(new QScrollBar(Qt::Vertical, zip), "VScroll1", twipsRect(2430, 1710, 255, 480));
    VScroll1->setRange(0, 200);
    VScroll1->setValue(3);
    // The upper arrow makes the archives bigger.
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(true);
    SSCheck1 =
        makeCheck(zip, "SSCheck1", QCoreApplication::translate("ZipPage", "Rar &solid compression"),
                  twipsRect(120, 2250, 3000, 255));
    SSCheck2 =
        makeCheck(zip, "SSCheck2", QCoreApplication::translate("ZipPage", "Zip e&xtra compression"),
                  twipsRect(120, 2520, 3000, 255));

    connect(Command10, &QPushButton::clicked, this, &ZipPage::Command10_Click);
    connect(Text3, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.ZipName = text;
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, &ZipPage::VScroll1_Change);
    connect(SSCheck1, &QCheckBox::clicked, this, &ZipPage::SSCheck1_Click);
    connect(SSCheck2, &QCheckBox::clicked, this, &ZipPage::SSCheck2_Click);
    // The name box's tip is its whole text, taken when the pointer moves over it.
    Text3->installEventFilter(this);
    Text3->setMouseTracking(true);
}

void ZipPage::showJob(const JobSettings &job)
{
    const QScopedValueRollback guard(refreshing_, true);
    SSPanel5->setText(job.ZipDir);
    setEditText(Text3, job.ZipName);
    if (VScroll1->value() != job.VolumeSizeSetting) {
        VScroll1->setValue(job.VolumeSizeSetting);
        kesto::ShowSizeDisplay(session_);
    }
    SSCheck1->setChecked(job.RarSolid != Unchecked);
    SSCheck2->setChecked(job.ZipExtraCompression != Unchecked);
}

void ZipPage::focusName()
{
    Text3->setFocus();
}

void ZipPage::setZipFreeSpaceText(const QString &text)
{
    Label14->setText(text);
}

void ZipPage::setSizeDisplayText(const QString &text)
{
    SSPanel6->setText(text);
}

bool ZipPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text3 && event->type() == QEvent::MouseMove)
        Text3->setToolTip(Text3->text());
    return PageFrame::eventFilter(watched, event);
}

void ZipPage::Command10_Click()
{
    ChooseZipDir(session_);
}

void ZipPage::VScroll1_Change()
{
    if (refreshing_)
        return;
    session_.job.VolumeSizeSetting = qint16(VScroll1->value());
    kesto::ShowSizeDisplay(session_);
}

void ZipPage::SSCheck1_Click()
{
    session_.job.RarSolid = SSCheck1->isChecked() ? Checked : Unchecked;
}

void ZipPage::SSCheck2_Click()
{
    session_.job.ZipExtraCompression = SSCheck2->isChecked() ? Checked : Unchecked;
}

} // namespace kesto::ui
