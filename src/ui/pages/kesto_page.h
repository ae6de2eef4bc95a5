#pragma once
// The Kesto page: the run's progress, with Abort and Exit.
#include "controls.h"
#include "job/session.h"

#include <functional>

class QProgressBar;
class QTimer;

namespace kesto::ui {

class KestoPage : public PageFrame {
public:
    KestoPage(Session &session, QWidget *parent);

    void setStatusText(const QString &text);
    void setArchiveText(const QString &text);
    void setVolumeText(const QString &text);
    int progress() const { return progressValue_; }
    void setProgress(int percent);
    // Around a run: Abort serves the run only; a completed run names where its archives went.
    void runStarts();
    void runEnded(bool completed, const QString &outputDir, int archives);
    // The page's "Plan..." link.
    std::function<void()> showPlan;

private:
    void offerPlan();

    Session &session_;
    QLabel *Label1 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QProgressBar *PVProgressBar1 = nullptr;
    // The completion last set; the bar shows it at the latest when progressFrame_ ends.
    int progressValue_ = 0;
    QTimer *progressFrame_ = nullptr;
    QPushButton *Command12 = nullptr;
    QPushButton *Command13 = nullptr;
    QLabel *outputLink = nullptr;
};

} // namespace kesto::ui
