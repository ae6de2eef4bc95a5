#pragma once
// A read-only report (a run's plan, a series' check) with Copy and Close.
#include <QDialog>

class QPlainTextEdit;

namespace kesto::ui {

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    ReportDialog(const QString &title, const QStringList &lines, QWidget *parent = nullptr);
    QString text() const;

private:
    QPlainTextEdit *report = nullptr;
};

} // namespace kesto::ui
