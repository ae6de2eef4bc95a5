#pragma once
// A read-only report (a run's plan, a series' check) with Copy and Close.
#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QPlainTextEdit;
class QPushButton;

namespace kesto::ui {

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    ReportDialog(const QString &title, const QStringList &lines, QWidget *parent = nullptr);
    QString text() const;
    // A button that does more with what the report is about (Repair after a check); it goes once
    // clicked, and what it returns replaces the report.
    void addAction(const QString &text, const QString &objectName, const QString &newTitle,
                   const std::function<QStringList()> &action);

private:
    QPlainTextEdit *report = nullptr;
    QDialogButtonBox *buttons = nullptr;
};

} // namespace kesto::ui
