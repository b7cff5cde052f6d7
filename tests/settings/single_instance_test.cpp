#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

constexpr int kAnotherCopyRuns = 3;
const QString kProbe = QStringLiteral(PELKORA_TEST_BIN_DIR "/single_instance_probe");

// Runs the probe to its end and gives its exit code.
int probeExit(const QString& folder,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p; // kills the probe on the way out if it hangs
    p.setProcessEnvironment(env);
    p.start(kProbe, {folder});
    const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
    return ended ? p.exitCode() : -1;
}

} // namespace

TEST(SingleInstance, SecondCopyEndsWhileTheFirstRunsAndStartsAfterwards) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    {
        platform::SingleInstanceLock first(folder.path());
        ASSERT_TRUE(first.acquired());
        EXPECT_EQ(probeExit(folder.path()), kAnotherCopyRuns);
        // The same folder spelt differently is the same program; another folder is another.
        EXPECT_EQ(probeExit(folder.path() + "/./"), kAnotherCopyRuns);
        QTemporaryDir other;
        EXPECT_EQ(probeExit(other.path()), 0);
    }
    EXPECT_EQ(probeExit(folder.path()), 0);
}

TEST(SingleInstance, LockOfAKilledCopyIsTakenOver) {
    QTemporaryDir folder;
    QProcess holder;
    holder.start(kProbe, {folder.path(), QStringLiteral("hold")});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    ASSERT_EQ(holder.readAll().trimmed(), "held");
    EXPECT_TRUE(platform::SingleInstanceLock(folder.path()).anotherCopyRuns());

    holder.kill(); // no chance to remove its lock file
    holder.waitForFinished(30000);
    EXPECT_TRUE(QFileInfo::exists(platform::SingleInstanceLockPath(folder.path())));
    EXPECT_TRUE(platform::SingleInstanceLock(folder.path()).acquired());
}

TEST(SingleInstance, NoPlaceForTheLockDoesNotStopTheProgram) {
    QTemporaryDir folder, temp;
    QFile plain(temp.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp.filePath("plain/below"));
    EXPECT_EQ(probeExit(folder.path(), env), 0);
}
