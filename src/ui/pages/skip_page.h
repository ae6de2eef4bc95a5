#pragma once
// The Skip page: the sub-directories and files of the source left out of the archives.
#include "controls.h"
#include "job/session.h"

class QPlainTextEdit;

namespace kesto::ui {

class SkipPage : public PageFrame {
public:
    SkipPage(Session &session, QWidget *parent);

    void showJob(const JobSettings &job);

    void Command1_Click();
    void Command14_Click();

private:
    Session &session_;
    QPlainTextEdit *Text1 = nullptr;
    QRadioButton *Option6 = nullptr;
    QRadioButton *Option5 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command14 = nullptr;
};

} // namespace kesto::ui
