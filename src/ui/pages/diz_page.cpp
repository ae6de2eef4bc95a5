#include "diz_page.h"

#include "describe/description_files.h"
#include "describe/diz_numbering.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace kesto::ui {

namespace {

// The numbering fields look disabled (button face) while numbering is off, and take no typing
// then: what cannot be used should not seem to work.
void setGreyed(QLineEdit *edit, bool greyed)
{
    edit->setReadOnly(greyed);
    QPalette palette = edit->palette();
    const QPalette normal = QApplication::palette(edit);
    palette.setColor(QPalette::Base,
                     greyed ? normal.color(QPalette::Button) : normal.color(QPalette::Base));
    edit->setPalette(palette);
}

} // namespace

DizPage::DizPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture4", 1190, 580, 3900, 2910), session_(session)
{
    QFrame *diz = makeFrame(this, "Frame3", twipsRect(0, 0, 3780, 2850));
    makeLabel(diz, "Label5", QStringLiteral("File_id.diz"), twipsRect(120, 90, 1500, 240));
    SSPanel2 = makePathDisplay(diz, "SSPanel2", twipsRect(120, 360, 3540, 315));
    Command4 = makeButton(diz, "Command4", QCoreApplication::translate("DizPage", "&Create"),
                          twipsRect(120, 780, 840, 345));
    Command5 = makeButton(diz, "Command5", QCoreApplication::translate("DizPage", "&Edit"),
                          twipsRect(1060, 780, 780, 345));
    Command6 = makeButton(diz, "Command6", QCoreApplication::translate("DizPage", "&Browse"),
                          twipsRect(1940, 780, 840, 345));
    Command3 = makeButton(diz, "Command3", QCoreApplication::translate("DizPage", "&Test"),
                          twipsRect(2880, 780, 780, 345));
    makeLabel(diz, "Label6", QCoreApplication::translate("DizPage", "Auto numbering"),
              twipsRect(120, 1320, 2000, 240));
    Option1 = makeOption(diz, "Option1", QCoreApplication::translate("DizPage", "&None"),
                         twipsRect(120, 1620, 1800, 285));
    //: Put the volume number into the description at the column given beside it
    Option3 =
        makeOption(diz, "Option3", QCoreApplication::translate("DizPage", "S&ubsitute at column"),
                   twipsRect(120, 1980, 2280, 285));
    Text2 = makeEdit(diz, "Text2", twipsRect(2460, 1965, 600, 315));
    //: The line of the description the volume number goes into; the field follows
    makeLabel(diz, "Label7", QCoreApplication::translate("DizPage", "Line -"),
              twipsRect(1500, 2385, 900, 240), Qt::AlignRight | Qt::AlignVCenter);
    Text6 = makeEdit(diz, "Text6", twipsRect(2460, 2355, 600, 315));

    connect(Command4, &QPushButton::clicked, this, &DizPage::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &DizPage::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &DizPage::Command6_Click);
    connect(Command3, &QPushButton::clicked, this, &DizPage::Command3_Click);
    connect(Option1, &QRadioButton::clicked, this, &DizPage::Option1_Click);
    connect(Option3, &QRadioButton::clicked, this, &DizPage::Option3_Click);
    connect(Text2, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.DizColumn = text;
    });
    connect(Text6, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.DizLine = text;
    });
}

void DizPage::showJob(const JobSettings &job)
{
    const QScopedValueRollback guard(refreshing_, true);
    SSPanel2->setText(job.DizPath);
    Option1->setChecked(job.DizNoneSelected);
    Option3->setChecked(job.DizAutoNumber);
    setEditText(Text2, job.DizColumn);
    setEditText(Text6, job.DizLine);
    const bool numbered = DizNumberingEnabled(job);
    setGreyed(Text2, !numbered);
    setGreyed(Text6, !numbered);
    Command3->setEnabled(numbered);
}

void DizPage::focusField(Field field)
{
    (field == Field::DizLine ? Text6 : Text2)->setFocus();
}

void DizPage::Command4_Click()
{
    kesto::CreateDescription(session_);
}

void DizPage::Command5_Click()
{
    kesto::EditDescription(session_);
}

void DizPage::Command6_Click()
{
    kesto::ChooseDescription(session_);
}

void DizPage::Command3_Click()
{
    // The test serves window events after each line: a second click must not start another.
    if (testingDiz_)
        return;
    const QScopedValueRollback guard(testingDiz_, true);
    TestDizNumbering(session_, true);
}

void DizPage::Option1_Click()
{
    kesto::NumberDescriptionOff(session_);
}

void DizPage::Option3_Click()
{
    kesto::NumberDescriptionOn(session_);
}

} // namespace kesto::ui
