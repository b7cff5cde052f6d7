#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop, so that a run can stop its
// converters in order (each removes its temporary file). Only one instance at a time.
class StopSignals final : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; they are reported once listen() has been called.
    StopSignals();
    ~StopSignals() override;

    // Needs the application object: reports a signal caught before, and every later one.
    void listen();

signals:
    // The status to end with: 130 after SIGINT, 143 after SIGTERM.
    void stopRequested(int exitStatus);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
