#include "app/system/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kAnotherCopyRuns = 3;
// No one, not even root, can make a file here: a settings folder that cannot take the lock.
const QString kUnwritableFolder = QStringLiteral("/proc");

class SingleInstance : public testing::Test {
protected:
    // A user with only a temporary folder, or also a runtime folder.
    QProcessEnvironment env(const QString& runtime = {}, const QString& temp = {}) const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!runtime.isEmpty())
            e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        e.insert(QStringLiteral("TMPDIR"), temp.isEmpty() ? tmp.path() : temp);
        return e;
    }
    QString ownFolder() const {
        return tmp.filePath(QStringLiteral("pelkora-%1").arg(::geteuid()));
    }
    QString makeFolder(const QString& name, mode_t mode) const {
        const QByteArray path = QFile::encodeName(tmp.filePath(name));
        ::mkdir(path.constData(), mode);
        ::chmod(path.constData(), mode);
        return tmp.filePath(name);
    }

    // Runs the probe: it ends with its exit code, or with "hold" keeps the lock and gives
    // its path ("" without a lock file) until `p` kills it.
    static int probe(QProcess& p, const QString& folder, const QProcessEnvironment& e,
                     QString* held = nullptr) {
        p.setProcessEnvironment(e);
        p.start(QStringLiteral(PELKORA_TEST_BIN_DIR "/single_instance_probe"),
                {folder, held != nullptr ? QStringLiteral("hold") : QString()});
        if (held != nullptr) {
            const QByteArray line = p.waitForReadyRead(30000) ? p.readLine().trimmed() : "";
            *held = QFile::decodeName(line.mid(5));
            return line.startsWith("held") ? 0 : -1;
        }
        const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
        return ended ? p.exitCode() : -1;
    }
    int probeExit(const QString& folder, const QProcessEnvironment& e) const {
        QProcess p; // kills the probe on the way out if it hangs
        return probe(p, folder, e);
    }

    QTemporaryDir folder; // the settings folder
    QTemporaryDir tmp;    // the user's temporary folder
};

} // namespace

TEST_F(SingleInstance, UnwritableSettingsFolderLocksInAPrivateRuntimeFolder) {
    const QString run = makeFolder("run", 0700);
    QProcess first, second;
    QString held;
    ASSERT_EQ(probe(first, kUnwritableFolder, env(run), &held), 0);
    EXPECT_EQ(QFileInfo(held).absolutePath(), run);
    EXPECT_EQ(probeExit(kUnwritableFolder, env(run)), kAnotherCopyRuns);
    // Another user has another runtime folder and runs a copy of their own.
    EXPECT_EQ(probeExit(kUnwritableFolder, env(makeFolder("run2", 0700))), 0);

    // Without a runtime folder a private one is made; one others can enter is not private.
    ASSERT_EQ(probe(second, kUnwritableFolder, env(), &held), 0);
    EXPECT_EQ(QFileInfo(held).absolutePath(), ownFolder());
    struct stat st = {};
    ASSERT_EQ(::lstat(QFile::encodeName(ownFolder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(probeExit(kUnwritableFolder, env(makeFolder("open", 0755))), kAnotherCopyRuns);
}

// Root started with a user's settings folder leaves no root-owned lock in it.
TEST_F(SingleInstance, SomeoneElsesSettingsFolderGetsNoLock) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder away";
    ASSERT_EQ(::chown(QFile::encodeName(folder.path()).constData(), 65534, 65534), 0);
    const QString run = makeFolder("run", 0700);
    QProcess first;
    QString held;
    ASSERT_EQ(probe(first, folder.path(), env(run), &held), 0);
    EXPECT_EQ(QFileInfo(held).absolutePath(), run);
    EXPECT_EQ(probeExit(folder.path(), env(run)), kAnotherCopyRuns);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(SingleInstance, FoldersOthersPlantedAreNotUsedAndNoPlaceStillRuns) {
    // Planted open to everyone, or as a link to a folder of someone else's choice.
    const QString elsewhere = makeFolder("elsewhere", 0700);
    const QByteArray own = QFile::encodeName(ownFolder());
    for (bool link : {false, true}) {
        if (link)
            ASSERT_EQ(::symlink(QFile::encodeName(elsewhere).constData(), own.constData()), 0);
        else
            makeFolder(QFileInfo(ownFolder()).fileName(), 0777);
        QProcess first;
        QString held;
        ASSERT_EQ(probe(first, kUnwritableFolder, env(), &held), 0);
        EXPECT_EQ(held, "");
        EXPECT_EQ(probeExit(kUnwritableFolder, env()), 0);
        link ? ::unlink(own.constData()) : ::rmdir(own.constData());
    }
    EXPECT_TRUE(QDir(elsewhere).isEmpty());

    // No temporary folder to make one in either.
    QFile plain(tmp.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(probeExit(kUnwritableFolder, env({}, plain.fileName() + "/below")), 0);
}

TEST_F(SingleInstance, LockBesideTheSettingsIsTheSameForTheSameFolderSpeltDifferently) {
    platform::SingleInstanceLock first(folder.path());
    ASSERT_TRUE(first.acquired());
    // Beside the settings it protects, whoever runs the program from there.
    EXPECT_EQ(first.path(), QDir(folder.path()).filePath(".pelkora.lock"));
    EXPECT_EQ(probeExit(folder.path() + "/./", env()), kAnotherCopyRuns);
    EXPECT_EQ(probeExit(tmp.path(), env()), 0) << "another folder is another program";
}

// A second copy ends while the first runs, and starts once it is gone, even killed.
TEST_F(SingleInstance, LockOfAKilledCopyIsTakenOverInEveryPlace) {
    const QString run = makeFolder("run", 0700);
    const std::pair<QString, QProcessEnvironment> places[] = {
        {folder.path(), env()}, {kUnwritableFolder, env(run)}, {kUnwritableFolder, env()}};
    for (const auto& [settingsFolder, environment] : places) {
        QProcess holder;
        QString held;
        ASSERT_EQ(probe(holder, settingsFolder, environment, &held), 0);
        ASSERT_FALSE(held.isEmpty());
        EXPECT_EQ(probeExit(settingsFolder, environment), kAnotherCopyRuns) << held.toStdString();
        holder.kill(); // no chance to remove its lock file
        holder.waitForFinished(30000);
        EXPECT_TRUE(QFileInfo::exists(held));
        EXPECT_EQ(probeExit(settingsFolder, environment), 0) << held.toStdString();
    }
}
