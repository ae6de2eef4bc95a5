#include "nfo_page.h"

#include "describe/description_files.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

namespace kesto::ui {

NfoPage::NfoPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture5", 1190, 580, 3840, 2955), session_(session)
{
    QFrame *nfo = makeFrame(this, "Frame4", twipsRect(0, 0, 3780, 1530));
    makeLabel(nfo, "Label8", QStringLiteral("Nfo"), twipsRect(120, 90, 1500, 240));
    SSPanel3 = makePathDisplay(nfo, "SSPanel3", twipsRect(120, 360, 3540, 315));
    Command7 = makeButton(nfo, "Command7", QCoreApplication::translate("NfoPage", "&Create"),
                          twipsRect(120, 780, 840, 345));
    Command11 = makeButton(nfo, "Command11", QCoreApplication::translate("NfoPage", "&Edit"),
                           twipsRect(1060, 780, 780, 345));
    Command8 = makeButton(nfo, "Command8", QCoreApplication::translate("NfoPage", "&Browse"),
                          twipsRect(1940, 780, 840, 345));
    //: The nfo goes into the first archive of the series only
    Check1 = makeCheck(nfo, "Check1", QCoreApplication::translate("NfoPage", "&In 1st zip only"),
                       twipsRect(120, 1185, 2400, 285));

    QFrame *extra = makeFrame(this, "Frame5", twipsRect(0, 1620, 3780, 1290));
    makeLabel(extra, "Label16", QCoreApplication::translate("NfoPage", "Extra to add  (optional)"),
              twipsRect(120, 90, 3000, 240));
    SSPanel4 = makePathDisplay(extra, "SSPanel4", twipsRect(120, 360, 3540, 315));
    Option2 = makeOption(extra, "Option2", QCoreApplication::translate("NfoPage", "&File"),
                         twipsRect(120, 825, 900, 285));
    Option4 = makeOption(extra, "Option4", QCoreApplication::translate("NfoPage", "&Directory"),
                         twipsRect(1080, 825, 1380, 285));
    Command9 = makeButton(extra, "Command9", QCoreApplication::translate("NfoPage", "B&rowse"),
                          twipsRect(2820, 795, 840, 345));

    connect(Command7, &QPushButton::clicked, this, &NfoPage::Command7_Click);
    connect(Command11, &QPushButton::clicked, this, &NfoPage::Command11_Click);
    connect(Command8, &QPushButton::clicked, this, &NfoPage::Command8_Click);
    connect(Check1, &QCheckBox::clicked, this, &NfoPage::Check1_Click);
    connect(Option2, &QRadioButton::clicked, this, &NfoPage::Option2_Click);
    connect(Option4, &QRadioButton::clicked, this, &NfoPage::Option4_Click);
    connect(Command9, &QPushButton::clicked, this, &NfoPage::Command9_Click);
}

void NfoPage::showJob(const JobSettings &job)
{
    SSPanel3->setText(job.NfoPath);
    Check1->setTristate(job.NfoFirstOnly == Greyed);
    Check1->setCheckState(job.NfoFirstOnly == Checked  ? Qt::Checked
                          : job.NfoFirstOnly == Greyed ? Qt::PartiallyChecked
                                                       : Qt::Unchecked);
    Option2->setChecked(job.ExtraIsFile);
    Option4->setChecked(job.ExtraIsDirectory);
    Command9->setEnabled(ExtraBrowseEnabled(job));
    SSPanel4->setText(job.ExtraPath);
}

void NfoPage::Command7_Click()
{
    kesto::CreateNfo(session_);
}

void NfoPage::Command11_Click()
{
    kesto::EditNfo(session_);
}

void NfoPage::Command8_Click()
{
    kesto::ChooseNfo(session_);
}

void NfoPage::Check1_Click()
{
    // A click checks or clears; only a script can leave the box greyed.
    session_.job.NfoFirstOnly = session_.job.NfoFirstOnly == Checked ? Unchecked : Checked;
    showJob(session_.job);
}

void NfoPage::Option2_Click()
{
    kesto::SelectExtraFileKind(session_);
}

void NfoPage::Option4_Click()
{
    kesto::SelectExtraDirectoryKind(session_);
}

void NfoPage::Command9_Click()
{
    kesto::ChooseExtra(session_);
}

} // namespace kesto::ui
