#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

constexpr int kAnotherCopyRuns = 3;

QString probe() {
    return QStringLiteral(PELKORA_TEST_BIN_DIR "/single_instance_probe");
}

// Runs the probe to its end and gives its exit code.
int probeExit(const QString& folder,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(probe(), {folder});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

} // namespace

TEST(SingleInstance, SecondCopyEndsWhileTheFirstRunsAndStartsAfterwards) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    {
        platform::SingleInstanceLock first(folder.path());
        ASSERT_TRUE(first.acquired());
        EXPECT_EQ(probeExit(folder.path()), kAnotherCopyRuns);

        // Another program folder is another program.
        QTemporaryDir other;
        EXPECT_EQ(probeExit(other.path()), 0);

        // The same folder spelt differently is the same program.
        EXPECT_EQ(probeExit(folder.path() + "/./"), kAnotherCopyRuns);
    }
    EXPECT_EQ(probeExit(folder.path()), 0);
}

TEST(SingleInstance, LockOfAKilledCopyIsTakenOver) {
    QTemporaryDir folder;
    QProcess holder;
    holder.start(probe(), {folder.path(), QStringLiteral("hold")});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    ASSERT_EQ(holder.readAll().trimmed(), "held");

    platform::SingleInstanceLock whileHeld(folder.path());
    EXPECT_FALSE(whileHeld.acquired());
    EXPECT_TRUE(whileHeld.anotherCopyRuns());

    holder.kill(); // no chance to remove its lock file
    holder.waitForFinished(30000);
    EXPECT_TRUE(QFileInfo::exists(platform::SingleInstanceLockPath(folder.path())));

    platform::SingleInstanceLock after(folder.path());
    EXPECT_TRUE(after.acquired());
}

TEST(SingleInstance, NoPlaceForTheLockDoesNotStopTheProgram) {
    QTemporaryDir folder;
    QTemporaryDir temp;
    QFile plain(temp.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp.filePath("plain/below"));
    EXPECT_EQ(probeExit(folder.path(), env), 0);
}
