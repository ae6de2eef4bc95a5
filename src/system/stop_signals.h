#pragma once
// SIGINT, SIGTERM and SIGHUP stop the program cleanly. The handler itself only notes the signal,
// stops the outside program that runs and wakes the event loop; the rest happens there.
#include <QObject>

#include <sys/types.h>

class QSocketNotifier;

class QProcess;

namespace kesto {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Catches the three signals from now on; one object per program.
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    // From the event loop, once per signal caught.
    void received(int signal);

private:
    QSocketNotifier *notifier_ = nullptr;
};

// The first stop signal caught; 0 when none.
int CaughtStopSignal();
// A signal was caught or RequestStop was called: nothing new may start.
bool StopRequested();
// A stop without a signal (the window closed during a run): stops the outside program too.
void RequestStop();

// The process group of the outside program that runs now (0: none); a stop ends the whole group.
void SetChildProcessGroup(pid_t group);

// The process will start in a group of its own, so that a stop reaches everything it starts, and
// will end with this program, even when this one is killed.
void StartInOwnGroup(QProcess &process);

} // namespace kesto
