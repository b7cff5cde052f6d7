// The run on the taskbar entry and in a notification, against a fake desktop on a private bus.
#include "platform/fake_desktop_bus.h"
#include "platform/run_face.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QWidget>

namespace {

constexpr int kDeadlineMs = 60'000;
const QString kUri = QStringLiteral("application://org.pelkora.Pelkora.desktop");

double Number(const FakeDock::Update& u, const char* key) {
    return u.properties.value(QLatin1String(key)).toDouble();
}

bool Cleared(const FakeDock::Update& u) {
    return !u.properties.value(QStringLiteral("progress-visible"), true).toBool() &&
           !u.properties.value(QStringLiteral("count-visible"), true).toBool();
}

class DesktopBus : public testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariable("PELKORA_PRIVATE_BUS") != QLatin1String("1") ||
            !QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs the private session bus ctest starts with dbus-run-session";
        ASSERT_TRUE(notifications.registered && dock.listening && face.ok);
    }

    static void makeActive(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // A run that ended, with the taskbar entry cleared after it.
    void runToEnd(std::initializer_list<const char*> names) {
        const std::size_t before = dock.updates.size();
        face.add(names);
        ASSERT_TRUE(face.run(kDeadlineMs));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dock.updates.size() > before && Cleared(dock.updates.back()); },
            kDeadlineMs));
    }

    FakeNotifications notifications;
    FakeDock dock;
    RunFace face;
};

} // namespace

TEST_F(DesktopBus, TheTaskbarEntryFollowsTheRunAndIsClearedAtItsEnd) {
    makeActive(face.window);
    runToEnd({"slow-1.wav", "slow-2.wav", "slow-3.wav", "slow-4.wav"});
    const auto& updates = dock.updates;
    ASSERT_GE(updates.size(), 3u);
    EXPECT_EQ(Number(updates.front(), "count"), 4);
    EXPECT_EQ(Number(updates.front(), "progress"), 0.0);
    for (std::size_t i = 1; i + 1 < updates.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(updates[i].appUri, kUri);
        EXPECT_TRUE(Number(updates[i], "progress-visible") && Number(updates[i], "count-visible"));
        EXPECT_GE(Number(updates[i], "progress"), Number(updates[i - 1], "progress"));
        EXPECT_LE(Number(updates[i], "progress"), 1.0);
        EXPECT_LE(Number(updates[i], "count"), Number(updates[i - 1], "count"));
        // The files no longer left are done: the bar shows at least their share of the run.
        EXPECT_GE(Number(updates[i], "progress"), (4 - Number(updates[i], "count")) / 4 - 1e-6);
    }
    const auto& last = updates[updates.size() - 2];
    EXPECT_TRUE(Number(last, "count") < 4 && Number(last, "progress") > 0) << "no progress shown";
    EXPECT_EQ(updates.back().appUri, kUri);
}

TEST_F(DesktopBus, AStoppedRunClearsTheTaskbarEntryAndSaysNothing) {
    makeActive(face.window);
    face.add({"slow-1.wav", "slow-2.wav", "slow-3.wav"});
    face.controller.Start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return face.controller.batch().runningCount() > 0 && !dock.updates.empty() &&
                   Number(dock.updates.back(), "progress-visible");
        },
        kDeadlineMs));
    face.controller.Stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Cleared(dock.updates.back()); }, kDeadlineMs))
        << "the bar stays on the taskbar after Stop";
    EXPECT_TRUE(notifications.calls.empty()) << "a stop is no end to announce";
}

TEST_F(DesktopBus, OneNotificationWhenTheUserLooksElsewhereAndItsClickBringsTheWindowBack) {
    makeActive(face.window);
    runToEnd({"one.wav", "two.wav"});
    QWidget other;
    makeActive(other);
    runToEnd({"a.wav", "b.wav", "broken.wav", "c.wav"});
    // Notifications from one connection arrive in order: the first run sent none.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notifications.calls.empty(); }, kDeadlineMs));
    ASSERT_EQ(notifications.calls.size(), 1u);
    const FakeNotifications::Call& call = notifications.calls[0];
    EXPECT_EQ(call.body, QLatin1String("3 files converted, 1 failed"));
    // A real desktop offers the click only for a default action.
    EXPECT_TRUE(call.actions.contains(QLatin1String("default")));
    EXPECT_EQ(call.hints.value(QStringLiteral("desktop-entry")).toString(),
              QLatin1String("org.pelkora.Pelkora"));
    notifications.click(1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&face.window));

    face.window.showMinimized();
    runToEnd({"only.wav"});
    ASSERT_TRUE(QTest::qWaitFor([this] { return notifications.calls.size() == 2; }, kDeadlineMs));
    // The failed file stayed in the list and is tried again.
    EXPECT_EQ(notifications.calls[1].body, QLatin1String("1 file converted, 1 failed"));
    notifications.click(2);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !face.window.isMinimized(); }, kDeadlineMs));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&face.window));
}

// Where no session bus exists, the run works and nothing is printed.
TEST(NoSessionBus, TheRunEndsAndNothingIsSaid) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    for (const QString& address :
         {QStringLiteral("unix:path=") + home.filePath("no-bus"), QString()}) {
        SCOPED_TRACE(address.toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), home.path());
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        if (!address.isEmpty())
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(DESKTOP_RUN_PROBE), {});
        ASSERT_TRUE(probe.waitForFinished(kDeadlineMs));
        EXPECT_EQ(probe.exitCode(), 0);
        EXPECT_EQ(probe.readAllStandardOutput() + probe.readAllStandardError(), QByteArray());
    }
}
