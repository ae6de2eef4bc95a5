#pragma once
// The Zip page: where the archives go, their name, their size and the two compression options.
#include "controls.h"
#include "job/session.h"

class QScrollBar;

namespace kesto::ui {

class ZipPage : public PageFrame {
public:
    ZipPage(Session &session, QWidget *parent);

    void showJob(const JobSettings &job);
    void focusName();
    void setZipFreeSpaceText(const QString &text);
    void setSizeDisplayText(const QString &text);

    void Command10_Click();
    void VScroll1_Change();
    void SSCheck1_Click();
    void SSCheck2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Session &session_;
    bool refreshing_ = false; // the controls are being filled from the job
    QLabel *SSPanel5 = nullptr;
    QPushButton *Command10 = nullptr;
    QLabel *Label14 = nullptr;
    QLineEdit *Text3 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *SSPanel6 = nullptr;
    QCheckBox *SSCheck1 = nullptr;
    QCheckBox *SSCheck2 = nullptr;
};

} // namespace kesto::ui
