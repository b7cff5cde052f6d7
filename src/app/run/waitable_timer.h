#pragma once

#include <QObject>
#include <QPointer>

class QEventLoop;

// A wait of a given number of milliseconds during which the window keeps processing events.
// Wake() ends a running wait early, so a caller waiting for a process returns as soon as the
// process has output or has ended.
class clsWaitableTimer final : public QObject {
    Q_OBJECT
public:
    explicit clsWaitableTimer(QObject* parent = nullptr);
    ~clsWaitableTimer() override;

    void Wait(int milliSeconds);
    [[nodiscard]] bool isWaiting() const { return loop_ != nullptr; }

public slots:
    void Wake();

private:
    QEventLoop* loop_ = nullptr;
    bool wakePending_ = false;
};
