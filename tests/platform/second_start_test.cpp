// A second start of the real program hands its files to the copy that runs: here the test
// process plays the running copy (its lock, its channel, its list) and starts a private copy
// of the program as the second one.
#include "filelist/file_list.h"
#include "platform/instance_channel.h"
#include "platform/program_copy.h"
#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kDeadlineMs = 60'000;

void touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ::close(fd);
}

class SecondStart : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(copy.ok);
        ASSERT_TRUE(home.isValid() && work.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0700), 0);
        // The test's own runtime folder, for itself and the program it starts.
        savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
        lock = std::make_unique<platform::SingleInstanceLock>(copy.path());
        ASSERT_TRUE(lock->acquired());
        QObject::connect(&server, &platform::InstanceServer::pathsReceived,
                         [this](const std::vector<QByteArray>& paths) { list.AddPaths(paths); });
        second.setProcessEnvironment(PrivateEnvironment(home.path(), home.path()));
        second.setWorkingDirectory(work.path());
    }
    void TearDown() override {
        if (second.state() != QProcess::NotRunning) {
            second.kill();
            second.waitForFinished(kDeadlineMs);
        }
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }

    bool listen() { return server.listen(platform::InstanceSocketPath(copy.path())); }
    // Starts the second copy through the shell, so that arguments can be any bytes.
    void start(const QByteArray& shellArguments) {
        second.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec \"$0\" ") + QString::fromLatin1(shellArguments),
                      copy.program()});
    }
    // Its exit code once it has ended; -1 when it did not end in time.
    int waitForEnd() {
        const bool ended =
            QTest::qWaitFor([this] { return second.state() == QProcess::NotRunning; }, kDeadlineMs);
        output = second.readAllStandardOutput() + second.readAllStandardError();
        return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }
    QByteArray workPath(const char* name) const {
        return QFile::encodeName(work.path()) + '/' + name;
    }

    ProgramCopy copy;
    QTemporaryDir home, work;
    QByteArray savedRuntime;
    std::unique_ptr<platform::SingleInstanceLock> lock;
    platform::InstanceServer server;
    FileList list;
    QProcess second;
    QByteArray output;
};

} // namespace

TEST_F(SecondStart, FilesAndFoldersJoinTheRunningCopysListAsExactAbsolutePaths) {
    ASSERT_TRUE(listen());
    touch(workPath("a.wav"));
    touch(workPath("caf\xe9.wav")); // not UTF-8
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("sub/deeper")));
    touch(workPath("sub/one.mp3"));
    touch(workPath("sub/deeper/two.ogg"));

    start(R"sh(a.wav ./sub/ "$(printf 'caf\351.wav')")sh");
    EXPECT_EQ(waitForEnd(), 0) << output.constData();
    EXPECT_EQ(output, QByteArray());
    ASSERT_TRUE(QTest::qWaitFor([this] { return list.count() == 4; }, kDeadlineMs)) << list.count();
    EXPECT_EQ(list.path(0), workPath("a.wav"));
    EXPECT_EQ(list.path(1), workPath("sub/one.mp3"));
    EXPECT_EQ(list.root(1), workPath("sub"));
    EXPECT_EQ(list.path(2), workPath("sub/deeper/two.ogg"));
    EXPECT_EQ(list.path(3), workPath("caf\xe9.wav"));
}

TEST_F(SecondStart, WithoutFilesOrWithBadOnesItEndsAndHandsNothingOver) {
    ASSERT_TRUE(listen());
    start("");
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(output, QByteArray());

    start("missing.wav");
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(output, "pelkora: " + workPath("missing.wav") + ": no such file or folder\n");

    touch(workPath("a.wav"));
    start("a.wav --format flac");
    EXPECT_EQ(waitForEnd(), 2);
    EXPECT_TRUE(output.startsWith("pelkora: unknown option --format")) << output.constData();

    // Nothing arrived meanwhile; a good start afterwards is the first to arrive.
    start("a.wav");
    EXPECT_EQ(waitForEnd(), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list.count() > 0; }, kDeadlineMs));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.path(0), workPath("a.wav"));
}

TEST_F(SecondStart, ACopyStillStartingUpGetsTheFilesOnceItListens) {
    touch(workPath("a.wav"));
    start("a.wav");
    ASSERT_TRUE(second.waitForStarted(kDeadlineMs));
    QTest::qWait(500); // let it find no one listening first
    ASSERT_TRUE(listen());
    EXPECT_EQ(waitForEnd(), 0) << output.constData();
    EXPECT_TRUE(QTest::qWaitFor([this] { return list.count() == 1; }, kDeadlineMs));
}

TEST_F(SecondStart, WhenTheRunningCopyEndsMeanwhileTheSecondStartCarriesOn) {
    touch(workPath("a.wav"));
    start("a.wav");
    ASSERT_TRUE(second.waitForStarted(kDeadlineMs));
    QTest::qWait(500);
    lock.reset(); // the first copy ends without ever listening
    // The second start is now the running copy: it holds the lock and takes files itself.
    const QString socket = platform::InstanceSocketPath(copy.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, kDeadlineMs));
    EXPECT_TRUE(platform::SingleInstanceLock(copy.path()).anotherCopyRuns());
    EXPECT_TRUE(platform::SendPaths(socket, {workPath("a.wav")}, kDeadlineMs));
    EXPECT_EQ(second.state(), QProcess::Running);
}

TEST_F(SecondStart, ARunningCopyThatNeverTakesTheFilesIsReported) {
    touch(workPath("a.wav"));
    start("a.wav");
    EXPECT_EQ(waitForEnd(), 1);
    EXPECT_EQ(output, "pelkora: another copy is running but did not take the files\n");
}

// Where the session has no runtime folder, the program makes its own and Qt has nothing to
// warn about.
TEST(FirstStart, WithoutARuntimeFolderAPrivateOneIsUsedQuietly) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok);
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess first;
    first.setProcessEnvironment(PrivateEnvironment(home.path(), QString()));
    first.start(copy.program(), {});
    const QString own = home.filePath(QStringLiteral("pelkora-%1").arg(::geteuid()));
    // The channel is opened once the window is made.
    const bool listening = QTest::qWaitFor(
        [&] {
            return !QDir(own).entryList({QStringLiteral("*.sock")}, QDir::System).isEmpty() ||
                   first.state() == QProcess::NotRunning;
        },
        kDeadlineMs);
    ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().constData();
    ASSERT_TRUE(listening);
    QTest::qWait(500); // a warning printed soon after start-up is caught too
    first.terminate();
    first.waitForFinished(kDeadlineMs);
    const QByteArray errors = first.readAllStandardError();
    EXPECT_FALSE(errors.contains("XDG_RUNTIME_DIR")) << errors.constData();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}
