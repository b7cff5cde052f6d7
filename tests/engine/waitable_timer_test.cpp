#include "app/run/waitable_timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace {

// Set by a zero timer: true once the event loop has run.
struct EventProbe {
    EventProbe() {
        QTimer::singleShot(0, &context, [this] { ran = true; });
    }
    QObject context;
    bool ran = false;
};

// Ended early means before a generous deadline that fails the test, never a tight budget.
TEST(WaitableTimer, ZeroReturnsAtOnceWakeEndsAWaitEarlyAlsoOneSentBetweenWaits) {
    clsWaitableTimer timer;
    EventProbe first;
    timer.Wait(0);
    EXPECT_FALSE(first.ran) << "a wait of 0 enters no event loop";

    bool wokeWhileWaiting = false;
    QTimer::singleShot(10, &timer, [&] {
        wokeWhileWaiting = timer.isWaiting();
        timer.Wake();
    });
    QElapsedTimer clock;
    clock.start();
    timer.Wait(60000);
    EXPECT_TRUE(wokeWhileWaiting);
    EXPECT_LT(clock.elapsed(), 30000) << "ended by its time, not by the wake";

    // The pending wake ends the next wait before it runs any event, and only that one.
    timer.Wake();
    EventProbe probe;
    timer.Wait(60000);
    EXPECT_FALSE(probe.ran) << "the wake between waits was lost";
    timer.Wait(50);
    EXPECT_TRUE(probe.ran) << "a wake counts once";

    auto* doomed = new clsWaitableTimer;
    const QPointer<clsWaitableTimer> alive(doomed);
    QTimer::singleShot(10, [doomed] { delete doomed; });
    clock.restart();
    doomed->Wait(60000);
    EXPECT_TRUE(alive.isNull());
    EXPECT_LT(clock.elapsed(), 30000) << "deleting the timer did not end its wait";
}

} // namespace
