#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <ostream>

#include <sys/stat.h>
#include <unistd.h>

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}

namespace {

constexpr int kAnotherCopyRuns = 3;
const QString kProbe = QStringLiteral(PELKORA_TEST_BIN_DIR "/single_instance_probe");
// No one, not even root, can make a file here: a program folder that cannot take the lock.
const QString kUnwritableFolder = QStringLiteral("/proc");

// Runs the probe to its end and gives its exit code.
int probeExit(const QString& folder,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p; // kills the probe on the way out if it hangs
    p.setProcessEnvironment(env);
    p.start(kProbe, {folder});
    const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
    return ended ? p.exitCode() : -1;
}

// A probe that holds the lock until it is killed or destroyed.
class Holder {
public:
    Holder(const QString& folder, const QProcessEnvironment& env) {
        process_.setProcessEnvironment(env);
        process_.start(kProbe, {folder, QStringLiteral("hold")});
        if (process_.waitForReadyRead(30000)) {
            const QByteArray line = process_.readLine().trimmed();
            held_ = line.startsWith("held");
            path_ = QFile::decodeName(line.mid(5));
        }
    }
    ~Holder() { kill(); }
    void kill() {
        process_.kill(); // no chance to remove its lock file
        process_.waitForFinished(30000);
    }
    bool held() const { return held_; }
    const QString& path() const { return path_; }

private:
    QProcess process_;
    bool held_ = false;
    QString path_;
};

QString makeFolder(const QString& path, mode_t mode) {
    ::mkdir(QFile::encodeName(path).constData(), mode);
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

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

    QTemporaryDir folder; // the program folder
    QTemporaryDir tmp;    // the user's temporary folder
};

} // namespace

TEST_F(SingleInstance, SecondCopyEndsWhileTheFirstRunsAndStartsAfterwards) {
    {
        platform::SingleInstanceLock first(folder.path());
        ASSERT_TRUE(first.acquired());
        // Beside the settings it protects, whoever runs the program from there.
        EXPECT_EQ(first.path(), QDir(folder.path()).filePath(".pelkora.lock"));
        EXPECT_EQ(probeExit(folder.path(), env()), kAnotherCopyRuns);
        EXPECT_EQ(probeExit(folder.path(), env(makeFolder(tmp.filePath("run"), 0700))),
                  kAnotherCopyRuns);
        // The same folder spelt differently is the same program; another folder is another.
        EXPECT_EQ(probeExit(folder.path() + "/./"), kAnotherCopyRuns);
        QTemporaryDir other;
        EXPECT_EQ(probeExit(other.path()), 0);
    }
    EXPECT_EQ(probeExit(folder.path()), 0);
}

TEST_F(SingleInstance, ReadOnlyProgramFolderLocksInTheRuntimeFolder) {
    const QString run = makeFolder(tmp.filePath("run"), 0700);
    Holder first(kUnwritableFolder, env(run));
    ASSERT_TRUE(first.held());
    EXPECT_EQ(QFileInfo(first.path()).absolutePath(), run);
    EXPECT_EQ(probeExit(kUnwritableFolder, env(run)), kAnotherCopyRuns);
    // Another user has another runtime folder and runs a copy of their own.
    EXPECT_EQ(probeExit(kUnwritableFolder, env(makeFolder(tmp.filePath("run2"), 0700))), 0);
}

TEST_F(SingleInstance, WithoutARuntimeFolderAPrivateOneIsMade) {
    Holder first(kUnwritableFolder, env());
    ASSERT_TRUE(first.held());
    EXPECT_EQ(QFileInfo(first.path()).absolutePath(), ownFolder());
    EXPECT_EQ(modeOf(ownFolder()), 0700u);
    EXPECT_EQ(probeExit(kUnwritableFolder, env()), kAnotherCopyRuns);
    // A runtime folder others can enter is not private: the own folder serves instead.
    EXPECT_EQ(probeExit(kUnwritableFolder, env(makeFolder(tmp.filePath("open"), 0755))),
              kAnotherCopyRuns);
}

TEST_F(SingleInstance, FoldersOthersPlantedAreNotUsedAndTheProgramStillRuns) {
    // Planted open to everyone, or as a link to a folder of someone else's choice.
    makeFolder(ownFolder(), 0777);
    {
        Holder first(kUnwritableFolder, env());
        ASSERT_TRUE(first.held());
        EXPECT_TRUE(first.path().isEmpty()) << first.path();
        EXPECT_EQ(probeExit(kUnwritableFolder, env()), 0);
    }
    ASSERT_TRUE(QDir(ownFolder()).removeRecursively());

    const QString elsewhere = makeFolder(tmp.filePath("elsewhere"), 0700);
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere).constData(),
                        QFile::encodeName(ownFolder()).constData()),
              0);
    Holder first(kUnwritableFolder, env());
    ASSERT_TRUE(first.held());
    EXPECT_TRUE(first.path().isEmpty());
    EXPECT_EQ(probeExit(kUnwritableFolder, env()), 0);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

TEST_F(SingleInstance, NoPlaceForTheLockDoesNotStopTheProgram) {
    QFile plain(tmp.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(probeExit(kUnwritableFolder, env({}, tmp.filePath("plain/below"))), 0);
}

TEST_F(SingleInstance, LockOfAKilledCopyIsTakenOverInEveryPlace) {
    const QString run = makeFolder(tmp.filePath("run"), 0700);
    const std::pair<QString, QProcessEnvironment> places[] = {
        {folder.path(), env()}, {kUnwritableFolder, env(run)}, {kUnwritableFolder, env()}};
    for (const auto& [programFolder, environment] : places) {
        Holder holder(programFolder, environment);
        ASSERT_TRUE(holder.held());
        ASSERT_FALSE(holder.path().isEmpty());
        EXPECT_EQ(probeExit(programFolder, environment), kAnotherCopyRuns) << holder.path();
        holder.kill();
        EXPECT_TRUE(QFileInfo::exists(holder.path()));
        EXPECT_EQ(probeExit(programFolder, environment), 0) << holder.path();
    }
}
