#include "report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kesto::ui {

ReportDialog::ReportDialog(const QString &title, const QStringList &lines, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(title);
    report = new QPlainTextEdit(this);
    report->setObjectName(QStringLiteral("report"));
    report->setReadOnly(true);
    report->setLineWrapMode(QPlainTextEdit::NoWrap);
    report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report->setPlainText(lines.join(QLatin1Char('\n')));

    buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(report);
    layout->addWidget(buttons);
    const QFontMetrics metrics(report->font());
    const int shownLines = std::clamp(int(lines.size()) + 4, 8, 26);
    resize(metrics.horizontalAdvance(QString(100, QLatin1Char('n'))),
           metrics.lineSpacing() * shownLines);
}

void ReportDialog::addAction(const QString &text, const QString &objectName,
                             const QString &newTitle, const std::function<QStringList()> &action)
{
    QPushButton *button = buttons->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(objectName);
    connect(button, &QPushButton::clicked, this, [this, button, newTitle, action] {
        button->setEnabled(false);
        const QStringList lines = action();
        setWindowTitle(newTitle);
        report->setPlainText(lines.join(QLatin1Char('\n')));
        button->hide();
    });
}

QString ReportDialog::text() const
{
    return report->toPlainText();
}

} // namespace kesto::ui
