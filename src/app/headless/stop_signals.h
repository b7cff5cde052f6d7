#pragma once

#include <QObject>

class QSocketNotifier;

// Until a StopSignals listens, SIGINT, SIGTERM, SIGHUP and SIGQUIT end the program at once with
// status 128 + the signal: nothing has been started that needs stopping, and a start that
// blocks (a settings file that is a FIFO, a full pipe on standard error) cannot keep the
// program from ending. A signal ignored at start (nohup, a background job) stays ignored.
// Called first thing in main; StopSignals calls it too.
void CatchStopSignals();

// Turns the stop signals into a signal of the event loop, so that a run can stop its
// converters in order (each removes its temporary file). Only one instance at a time.
class StopSignals final : public QObject {
    Q_OBJECT
public:
    StopSignals();
    ~StopSignals() override;

    // Needs the application object. From now on a stop signal is reported by the event loop
    // instead of ending the program; nothing may block between this and running the loop.
    void listen();

signals:
    // The status to end with: 128 + the signal (130 after SIGINT, 143 after SIGTERM).
    void stopRequested(int exitStatus);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
