// A second start of the real program hands its files to the copy that runs: the test process
// plays the running copy (its lock, its channel, its list) and starts the second one.
#include "app/files/file_list.h"
#include "app/system/single_instance.h"
#include "core/system/path_message.h"
#include "gui/desktop/instance_channel.h"
#include "platform/program_copy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(SecondStart, FilesAndFoldersJoinTheRunningCopysListAsExactAbsolutePaths) {
    constexpr int kDeadlineMs = 60'000;
    ProgramCopy copy;
    QTemporaryDir home, work;
    ASSERT_TRUE(copy.ok && home.isValid() && work.isValid());
    // The runtime folder of the test and of the program it starts.
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0700), 0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    platform::SingleInstanceLock lock(copy.path());
    ASSERT_TRUE(lock.acquired());
    FileList list;
    platform::InstanceServer server;
    QObject::connect(&server, &platform::InstanceServer::pathsReceived,
                     [&](const std::vector<QByteArray>& paths) { list.AddPaths(paths); });

    const auto path = [&](const char* name) { return QFile::encodeName(work.path()) + '/' + name; };
    ASSERT_TRUE(QDir(work.path()).mkpath("sub"));
    for (const char* name : {"a.wav", "b.wav", "caf\xe9.wav", "sub/one.mp3"}) // not all UTF-8
        ::close(::open(path(name).constData(), O_WRONLY | O_CREAT, 0644));
    // Through the shell, so that the arguments can be any bytes.
    QByteArray output;
    const auto secondStart = [&](const char* shellArguments) {
        QProcess second;
        second.setProcessEnvironment(PrivateEnvironment(home.path(), home.path()));
        second.setWorkingDirectory(work.path());
        second.start("/bin/sh",
                     {"-c", QStringLiteral("exec \"$0\" ") + shellArguments, copy.program()});
        // The event loop runs meanwhile: the test is the copy that takes the files.
        const bool ended =
            QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, kDeadlineMs);
        output = second.readAllStandardOutput() + second.readAllStandardError();
        return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    };

    EXPECT_EQ(secondStart("a.wav"), 1) << "no one listens yet";
    EXPECT_EQ(output, "pelkora: another copy is running but did not take the files\n");
    const QString socket = platform::InstanceSocketPath(copy.path());
    ASSERT_TRUE(QFile(socket).open(QIODevice::WriteOnly)) << "a leftover of a copy that died";
    ASSERT_TRUE(server.listen(socket));
    EXPECT_EQ(secondStart(R"sh(a.wav ./sub/ "$(printf 'caf\351.wav')")sh"), 0) << output.data();
    EXPECT_EQ(output, QByteArray());
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() == 3; }, kDeadlineMs)) << list.count();
    EXPECT_EQ(list.path(0), path("a.wav"));
    EXPECT_EQ(list.path(1), path("sub/one.mp3"));
    EXPECT_EQ(list.root(1), path("sub"));
    EXPECT_EQ(list.path(2), path("caf\xe9.wav"));

    // Bad arguments hand nothing over.
    EXPECT_EQ(secondStart("missing.wav"), 0);
    EXPECT_EQ(output, "pelkora: " + path("missing.wav") + ": no such file or folder\n");
    EXPECT_EQ(secondStart("a.wav --format flac"), 2);
    EXPECT_TRUE(output.startsWith("pelkora: unknown option --format")) << output.data();
    EXPECT_EQ(list.count(), 3);

    // Strangers that send garbage or stall halfway hold nothing up.
    QLocalSocket garbage, stalled;
    garbage.connectToServer(socket);
    garbage.write("GET / HTTP/1.0\r\n\r\n");
    stalled.connectToServer(socket);
    stalled.write(platform::EncodePathMessage({"/x.wav"}).substr(0, 9).c_str(), 9);
    EXPECT_EQ(secondStart("b.wav"), 0) << output.data();
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() == 4; }, kDeadlineMs));
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}
