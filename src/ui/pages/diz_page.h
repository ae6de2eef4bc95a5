#pragma once
// The Diz page: the description, its editing and test, and where the volume number goes.
#include "controls.h"
#include "job/session.h"

namespace kesto::ui {

class DizPage : public PageFrame {
public:
    DizPage(Session &session, QWidget *parent);

    void showJob(const JobSettings &job);
    void focusField(Field field);

    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command3_Click();
    void Option1_Click();
    void Option3_Click();

private:
    Session &session_;
    bool refreshing_ = false; // the fields are being filled from the job
    bool testingDiz_ = false;
    QLabel *SSPanel2 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text6 = nullptr;
};

} // namespace kesto::ui
