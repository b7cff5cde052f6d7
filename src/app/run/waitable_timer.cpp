#include "app/run/waitable_timer.h"

#include <QEventLoop>
#include <QTimer>

clsWaitableTimer::clsWaitableTimer(QObject* parent) : QObject(parent) {}

clsWaitableTimer::~clsWaitableTimer() {
    if (loop_)
        loop_->quit();
}

void clsWaitableTimer::Wait(int milliSeconds) {
    if (milliSeconds <= 0 || loop_)
        return;
    // A wake that arrived between two waits still counts: the caller has work to do.
    if (wakePending_) {
        wakePending_ = false;
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliSeconds);
    loop_ = &loop;
    const QPointer<clsWaitableTimer> self(this);
    loop.exec();
    if (!self)
        return; // destroyed by a handler that ran during the wait
    loop_ = nullptr;
    wakePending_ = false;
}

void clsWaitableTimer::Wake() {
    if (loop_)
        loop_->quit();
    else
        wakePending_ = true;
}
