#include "engine/waitable_timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

namespace {

TEST(WaitableTimer, ZeroReturnsAtOnceAndWaitsKeepEventsFlowing) {
    clsWaitableTimer timer;
    QElapsedTimer clock;
    clock.start();
    timer.Wait(0);
    EXPECT_LT(clock.elapsed(), 20);

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);
    clock.restart();
    timer.Wait(120);
    EXPECT_GE(clock.elapsed(), 115);
    EXPECT_GE(ticks, 3) << "events ran during the wait";
    EXPECT_FALSE(timer.isWaiting());
}

TEST(WaitableTimer, WakeEndsAWaitEarlyAndAWakeBetweenWaitsIsNotLost) {
    clsWaitableTimer timer;
    QTimer::singleShot(30, &timer, &clsWaitableTimer::Wake);
    QElapsedTimer clock;
    clock.start();
    timer.Wait(10000);
    EXPECT_LT(clock.elapsed(), 5000);

    timer.Wake();
    clock.restart();
    timer.Wait(10000);
    EXPECT_LT(clock.elapsed(), 100);
}

TEST(WaitableTimer, DestroyedDuringItsOwnWait) {
    auto* timer = new clsWaitableTimer;
    QTimer::singleShot(10, [timer] { delete timer; });
    timer->Wait(50);
    SUCCEED();
}

} // namespace
