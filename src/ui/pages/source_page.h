#pragma once
// The Source page: the source directory and its size, and the drive for temporary files.
#include "controls.h"
#include "job/session.h"

class QComboBox;

namespace kesto::ui {

class SourcePage : public PageFrame {
public:
    SourcePage(Session &session, QWidget *parent);

    void showJob(const JobSettings &job);
    void setSourceSizeText(const QString &text);
    void setTempFreeSpaceText(const QString &text);
    // The size tool runs: no second Browse meanwhile.
    void setMeasuring(bool busy);
    void setDisplayTips();
    // The temporary drive list: the selected drive's letter, and selecting one by its letter.
    QString selectedDrive() const;
    void selectDrive(const QString &letter);

    void Command2_Click();
    void Drive1_Change();

private:
    Session &session_;
    QLabel *SSPanel8 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label9 = nullptr;
    QComboBox *Drive1 = nullptr;
    QLabel *Label3 = nullptr;
};

} // namespace kesto::ui
