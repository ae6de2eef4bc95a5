#include "skip_page.h"

#include "describe/skip_list.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kesto::ui {

SkipPage::SkipPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture2", 1190, 580, 3855, 2940), session_(session)
{
    QFrame *skip = makeFrame(this, "SSFrame2", twipsRect(0, 0, 3780, 2880));
    makeLabel(
        skip, "Label4",
        QCoreApplication::translate("SkipPage", "Sub-directories or files to skip   (optional)"),
        twipsRect(120, 90, 3540, 240));
    Text1 = named(new QPlainTextEdit(skip), "Text1", twipsRect(120, 360, 3540, 1920));
    // Entries come from Browse and go with Clear; a hand-made line would lack its line end.
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    //: Browse picks a sub-directory of the source to leave out
    Option6 = named(new QRadioButton(QCoreApplication::translate("SkipPage", "&Sub-dir"), skip),
                    "Option6", twipsRect(120, 2430, 1020, 285));
    Option5 = named(new QRadioButton(QCoreApplication::translate("SkipPage", "&File"), skip),
                    "Option5", twipsRect(1140, 2430, 780, 285));
    Option6->setChecked(true);
    Command1 = makeButton(skip, "Command1", QCoreApplication::translate("SkipPage", "&Browse"),
                          twipsRect(1950, 2400, 840, 345));
    Command14 = makeButton(skip, "Command14", QCoreApplication::translate("SkipPage", "&Clear"),
                           twipsRect(2850, 2400, 810, 345));

    connect(Command1, &QPushButton::clicked, this, &SkipPage::Command1_Click);
    connect(Command14, &QPushButton::clicked, this, &SkipPage::Command14_Click);
}

void SkipPage::showJob(const JobSettings &job)
{
    QString skipList = job.SkipList;
    skipList.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (Text1->toPlainText() != skipList)
        Text1->setPlainText(skipList);
}

void SkipPage::Command1_Click()
{
    AddSkipEntry(session_, Option6->isChecked());
}

void SkipPage::Command14_Click()
{
    ClearSkipList(session_);
}

} // namespace kesto::ui
