#include "engine/waitable_timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace {

// Set by a zero timer; true once the event loop has run at least once.
struct EventProbe {
    EventProbe() {
        QTimer::singleShot(0, &context, [this] { ran = true; });
    }
    QObject context;
    bool ran = false;
};

TEST(WaitableTimer, ZeroReturnsWithoutRunningEventsALongerWaitKeepsThemFlowing) {
    clsWaitableTimer timer;
    EventProbe probe;
    timer.Wait(0);
    EXPECT_FALSE(probe.ran) << "a wait of 0 enters no event loop";

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);
    QElapsedTimer clock;
    clock.start();
    timer.Wait(120);
    EXPECT_GE(clock.elapsed(), 115) << "waited its time";
    EXPECT_TRUE(probe.ran);
    EXPECT_GE(ticks, 3) << "events ran during the wait";
    EXPECT_FALSE(timer.isWaiting());
}

TEST(WaitableTimer, WakeEndsAWaitEarlyAndAWakeBetweenWaitsIsNotLost) {
    clsWaitableTimer timer;
    bool wokeWhileWaiting = false;
    QTimer::singleShot(30, &timer, [&] {
        wokeWhileWaiting = timer.isWaiting();
        timer.Wake();
    });
    QElapsedTimer clock;
    clock.start();
    timer.Wait(60000);
    EXPECT_TRUE(wokeWhileWaiting);
    EXPECT_LT(clock.elapsed(), 30000) << "ended by the wake, not by its time";

    // The pending wake ends the next wait before it runs any event, and only that one.
    timer.Wake();
    EventProbe probe;
    timer.Wait(60000);
    EXPECT_FALSE(probe.ran) << "the wake between waits was lost";
    timer.Wait(50);
    EXPECT_TRUE(probe.ran) << "a wake counts once";
}

TEST(WaitableTimer, DestroyedDuringItsOwnWaitEndsTheWait) {
    auto* timer = new clsWaitableTimer;
    const QPointer<clsWaitableTimer> alive(timer);
    QTimer::singleShot(10, [timer] { delete timer; });
    QElapsedTimer clock;
    clock.start();
    timer->Wait(60000);
    EXPECT_TRUE(alive.isNull());
    EXPECT_LT(clock.elapsed(), 30000) << "the destructor ends a wait in progress";
}

} // namespace
