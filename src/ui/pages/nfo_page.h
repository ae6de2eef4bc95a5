#pragma once
// The Nfo page: the nfo, whether only the first zip carries it, and the extra file or directory.
#include "controls.h"
#include "job/session.h"

namespace kesto::ui {

class NfoPage : public PageFrame {
public:
    NfoPage(Session &session, QWidget *parent);

    void showJob(const JobSettings &job);

    void Command7_Click();
    void Command11_Click();
    void Command8_Click();
    void Check1_Click();
    void Option2_Click();
    void Option4_Click();
    void Command9_Click();

private:
    Session &session_;
    QLabel *SSPanel3 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command8 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *SSPanel4 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option4 = nullptr;
    QPushButton *Command9 = nullptr;
};

} // namespace kesto::ui
