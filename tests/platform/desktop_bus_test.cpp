// The run on the taskbar entry and in a notification, against a fake desktop on a private
// session bus.
#include "platform/fake_desktop_bus.h"
#include "platform/launcher_entry.h"
#include "platform/run_face.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QWidget>

#include <memory>

namespace {

constexpr int kDeadlineMs = 60'000;

bool onPrivateBus() {
    return qEnvironmentVariable("PELKORA_PRIVATE_BUS") == QLatin1String("1") &&
           QDBusConnection::sessionBus().isConnected();
}

class DesktopBus : public testing::Test {
protected:
    void SetUp() override {
        if (!onPrivateBus())
            GTEST_SKIP() << "needs a private session bus: run through ctest, which starts it "
                            "with dbus-run-session";
        notifications = std::make_unique<FakeNotifications>(QStringLiteral("notifications"));
        dock = std::make_unique<FakeDock>(QStringLiteral("dock"), QDBusConnection::sessionBus());
        ASSERT_TRUE(notifications->registered());
        ASSERT_TRUE(dock->listening());
        face = std::make_unique<RunFace>();
        ASSERT_TRUE(face->ok);
    }

    QWidget& window() { return face->window; }
    void makeActive(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // A run that ended, with the taskbar entry cleared after it.
    void runToEnd(std::initializer_list<const char*> names) {
        const std::size_t before = dock->updates.size();
        face->add(names);
        ASSERT_TRUE(face->run(kDeadlineMs));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dock->updates.size() > before && cleared(dock->updates.back()); },
            kDeadlineMs));
    }
    static bool cleared(const FakeDock::Update& u) {
        return !u.properties.value(QStringLiteral("progress-visible"), true).toBool() &&
               !u.properties.value(QStringLiteral("count-visible"), true).toBool();
    }
    // Waits until everything the fake service sent before now has reached the program.
    void sync() {
        const int before = dock->markers;
        notifications->marker();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dock->markers > before; }, kDeadlineMs));
        QCoreApplication::processEvents();
    }

    std::unique_ptr<FakeNotifications> notifications;
    std::unique_ptr<FakeDock> dock;
    std::unique_ptr<RunFace> face;
};

} // namespace

TEST_F(DesktopBus, TheTaskbarEntryFollowsTheRunAndIsClearedAtItsEnd) {
    makeActive(window());
    runToEnd({"slow-1.wav", "slow-2.wav", "slow-3.wav", "slow-4.wav"});

    const auto& updates = dock->updates;
    ASSERT_GE(updates.size(), 3u);
    qint64 lastCount = 4;
    double lastProgress = 0.0;
    for (std::size_t i = 0; i + 1 < updates.size(); ++i) {
        const QVariantMap& p = updates[i].properties;
        EXPECT_EQ(updates[i].appUri, QLatin1String("application://org.pelkora.Pelkora.desktop"));
        ASSERT_EQ(p.value(QStringLiteral("progress")).typeId(), QMetaType::Double) << i;
        ASSERT_EQ(p.value(QStringLiteral("count")).typeId(), QMetaType::LongLong) << i;
        EXPECT_TRUE(p.value(QStringLiteral("progress-visible")).toBool()) << i;
        EXPECT_TRUE(p.value(QStringLiteral("count-visible")).toBool()) << i;
        const double progress = p.value(QStringLiteral("progress")).toDouble();
        const qint64 count = p.value(QStringLiteral("count")).toLongLong();
        EXPECT_GE(progress, lastProgress) << i; // no file joined this run
        EXPECT_LE(progress, 1.0) << i;
        EXPECT_LE(count, lastCount) << i;
        lastProgress = progress;
        lastCount = count;
    }
    EXPECT_EQ(updates.front().properties.value(QStringLiteral("count")).toLongLong(), 4);
    EXPECT_EQ(updates.front().properties.value(QStringLiteral("progress")).toDouble(), 0.0);
    EXPECT_LT(lastCount, 4); // files were seen to leave
    EXPECT_GT(lastProgress, 0.0);
    EXPECT_EQ(updates.back().appUri, QLatin1String("application://org.pelkora.Pelkora.desktop"));
}

TEST_F(DesktopBus, ANotificationOnlyWhenTheUserLooksElsewhereAndItsClickBringsTheWindowBack) {
    makeActive(window());
    runToEnd({"one.wav", "two.wav"});

    QWidget other;
    makeActive(other);
    ASSERT_FALSE(window().isActiveWindow());
    runToEnd({"a.wav", "b.wav", "broken.wav", "c.wav"});
    // Notifications from one connection arrive in order: the first run sent none.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notifications->calls.empty(); }, kDeadlineMs));
    ASSERT_EQ(notifications->calls.size(), 1u);
    const FakeNotifications::Call& call = notifications->calls[0];
    EXPECT_EQ(call.appName, QLatin1String("Pelkora"));
    EXPECT_EQ(call.appIcon, QLatin1String("org.pelkora.Pelkora"));
    EXPECT_EQ(call.summary, QLatin1String("Pelkora"));
    EXPECT_EQ(call.body, QLatin1String("3 files converted, 1 failed"));
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_TRUE(call.actions.contains(QLatin1String("default")));
    EXPECT_EQ(call.hints.value(QStringLiteral("desktop-entry")).toString(),
              QLatin1String("org.pelkora.Pelkora"));

    // Someone else's notification, or another action of ours, does not concern the window.
    notifications->click(99);
    notifications->click(1, QStringLiteral("other"));
    sync();
    EXPECT_FALSE(window().isActiveWindow());
    notifications->click(1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
}

TEST_F(DesktopBus, AMinimisedWindowIsToldOfTheEndAndRestoredByTheClick) {
    window().showMinimized();
    runToEnd({"only.wav"});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notifications->calls.empty(); }, kDeadlineMs));
    EXPECT_EQ(notifications->calls[0].body, QLatin1String("1 file converted"));
    notifications->click(1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window().isMinimized(); }, kDeadlineMs));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
}

TEST_F(DesktopBus, UpdatesFasterThanTheIntervalAreMergedIntoTheLatest) {
    platform::LauncherEntry entry(QDBusConnection::sessionBus());
    const std::size_t before = dock->updates.size();
    for (int i = 0; i < 100; ++i)
        entry.show(i / 100.0, 100 - i);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock->updates.size() >= before + 2; }, kDeadlineMs));
    const QVariantMap first = dock->updates[before].properties;
    const QVariantMap second = dock->updates[before + 1].properties;
    EXPECT_EQ(first.value(QStringLiteral("count")).toLongLong(), 100);
    EXPECT_EQ(second.value(QStringLiteral("progress")).toDouble(), 0.99);
    EXPECT_EQ(second.value(QStringLiteral("count")).toLongLong(), 1);

    // Clearing goes out at once and drops what waits.
    entry.show(0.5, 7);
    entry.clear();
    entry.show(0.25, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock->updates.size() >= before + 4; }, kDeadlineMs));
    EXPECT_TRUE(cleared(dock->updates[before + 2]));
    EXPECT_EQ(dock->updates[before + 3].properties.value(QStringLiteral("count")).toLongLong(), 3);
}

// Where no session bus exists, the run works and nothing is printed.
TEST(NoSessionBus, TheRunEndsAndNothingIsSaid) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString nowhere = QStringLiteral("unix:path=") + home.filePath(QStringLiteral("no-bus"));
    for (const QString& address : {nowhere, QString()}) {
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
        ASSERT_TRUE(probe.waitForFinished(kDeadlineMs)) << address.toStdString();
        EXPECT_EQ(probe.exitCode(), 0) << address.toStdString();
        EXPECT_EQ(probe.readAllStandardOutput() + probe.readAllStandardError(), QByteArray())
            << address.toStdString();
    }
}
