// The running copy's end of the hand-over, fed by raw senders in the test.
#include "platform/instance_channel.h"
#include "platform/path_message.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

namespace {

constexpr int kDeadlineMs = 30'000;
constexpr int kIdleLimitMs = 300;

class InstanceServerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QObject::connect(
            &server, &platform::InstanceServer::pathsReceived,
            [this](const std::vector<QByteArray>& paths) { received.push_back(paths); });
    }

    // Sends the pieces one event-loop turn apart and gives what came back before the server
    // closed the connection; "<open>" when it never did.
    QByteArray send(const std::vector<std::string>& pieces, bool waitForClose = true) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(kDeadlineMs))
            return "<not connected>";
        for (const std::string& piece : pieces) {
            socket.write(piece.data(), static_cast<qint64>(piece.size()));
            socket.flush();
            QTest::qWait(1);
        }
        if (!waitForClose)
            return {};
        QByteArray answer;
        const bool closed = QTest::qWaitFor(
            [&] {
                answer += socket.readAll();
                return socket.state() == QLocalSocket::UnconnectedState;
            },
            kDeadlineMs);
        answer += socket.readAll();
        return closed ? answer : QByteArray("<open>");
    }

    QTemporaryDir dir;
    QString socketPath = dir.filePath(QStringLiteral("channel.sock"));
    platform::InstanceServer server{kIdleLimitMs};
    std::vector<std::vector<QByteArray>> received;
};

const std::vector<std::string> kPaths = {"/music/a.mp3", std::string("/m/caf\xe9 \xff.wav"),
                                         "/music/folder"};

std::vector<QByteArray> bytesOf(const std::vector<std::string>& paths) {
    std::vector<QByteArray> out;
    for (const std::string& p : paths)
        out.push_back(QByteArray::fromStdString(p));
    return out;
}

} // namespace

TEST_F(InstanceServerTest, AMessageInPiecesIsAnsweredAndHandedOnWhole) {
    ASSERT_TRUE(server.listen(socketPath));
    const std::string message = platform::EncodePathMessage(kPaths);
    EXPECT_EQ(send({message.substr(0, 3), message.substr(3, 9), message.substr(12)}),
              QByteArray(1, platform::kPathMessageAck));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], bytesOf(kPaths));

    // A relative path would be taken against the wrong folder: it is dropped.
    EXPECT_EQ(send({platform::EncodePathMessage({"rel.mp3", "/abs.mp3"})}),
              QByteArray(1, platform::kPathMessageAck));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1], std::vector<QByteArray>{"/abs.mp3"});
}

TEST_F(InstanceServerTest, BadOrStalledSendersAreDroppedAndTheNextOneIsServed) {
    ASSERT_TRUE(server.listen(socketPath));
    const std::string message = platform::EncodePathMessage(kPaths);
    EXPECT_EQ(send({"GET / HTTP/1.0\r\n\r\n"}), QByteArray());
    EXPECT_EQ(send({message + "trailing"}), QByteArray());
    // Half a message, then silence: dropped once the idle limit is over.
    EXPECT_EQ(send({message.substr(0, message.size() - 1)}), QByteArray());
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(send({message}), QByteArray(1, platform::kPathMessageAck));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(InstanceServerTest, ALeftoverSocketFileIsReplaced) {
    {
        QFile leftover(socketPath);
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(server.listen(socketPath));
    EXPECT_EQ(send({platform::EncodePathMessage(kPaths)}),
              QByteArray(1, platform::kPathMessageAck));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_FALSE(server.listen(QString())); // no private folder: no channel
}
