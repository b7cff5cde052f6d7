// The running copy's end of the hand-over, against senders that trickle, crowd in or send
// too much: each is dropped, and a proper second start is still served.
#include "core/system/path_message.h"
#include "gui/desktop/instance_channel.h"

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDeadlineMs = 60'000; // for waits on what the server does; never reached when right
constexpr int kLongMs = 600'000;    // a server deadline the test never waits for

// A message with one long path, of which senders here send only the start.
std::string longMessage() {
    return platform::EncodePathMessage({"/" + std::string(60'000, 'a')});
}

class InstanceServerTest : public testing::Test {
protected:
    void start(platform::InstanceServer::Limits limits) {
        server = std::make_unique<platform::InstanceServer>(limits);
        QObject::connect(server.get(), &platform::InstanceServer::pathsReceived,
                         [this](const std::vector<QByteArray>& paths) { received = paths; });
        ASSERT_TRUE(server->listen(socketPath));
    }
    std::unique_ptr<QLocalSocket> connectClient() {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(socketPath);
        EXPECT_TRUE(socket->waitForConnected(kDeadlineMs));
        return socket;
    }
    static bool dropped(QLocalSocket& socket) {
        return QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                               kDeadlineMs);
    }
    // A second start's message, answered while the server runs in this thread.
    bool handOver(const QByteArray& path) { return handOver(*connectClient(), path); }
    bool handOver(QLocalSocket& socket, const QByteArray& path) {
        const std::string message = platform::EncodePathMessage({path.toStdString()});
        socket.write(message.data(), static_cast<qint64>(message.size()));
        const bool answered =
            QTest::qWaitFor([&] { return socket.bytesAvailable() > 0; }, kDeadlineMs);
        return answered && socket.read(1) == QByteArray(1, platform::kPathMessageAck) &&
               QTest::qWaitFor([&] { return received == std::vector{path}; }, kDeadlineMs);
    }

    QTemporaryDir dir;
    QString socketPath = dir.filePath(QStringLiteral("pelkora.sock"));
    std::unique_ptr<platform::InstanceServer> server;
    std::vector<QByteArray> received;
};

} // namespace

TEST_F(InstanceServerTest, ASenderThatTricklesIsDroppedAtItsDeadline) {
    start({500, 8, 16u << 20});
    const std::string message = longMessage();
    auto trickler = connectClient();
    std::size_t sent = 0;
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&] {
        if (trickler->state() == QLocalSocket::ConnectedState && sent < message.size())
            trickler->write(&message[sent++], 1);
    });
    drip.start(20);
    EXPECT_TRUE(dropped(*trickler)) << sent << " bytes sent";
    EXPECT_GT(sent, 4u) << "it was heard from before being dropped";
    EXPECT_TRUE(handOver("/music/a.wav"));
}

TEST_F(InstanceServerTest, SendersBeyondTheLimitAreRefusedUntilOneIsDone) {
    start({kLongMs, 2, 16u << 20});
    auto first = connectClient();
    auto second = connectClient();
    auto third = connectClient();
    EXPECT_TRUE(dropped(*third));
    EXPECT_EQ(first->state(), QLocalSocket::ConnectedState);
    EXPECT_EQ(second->state(), QLocalSocket::ConnectedState);

    // Once one is served, its place serves the next.
    EXPECT_TRUE(handOver(*first, "/music/b.wav"));
    EXPECT_TRUE(handOver("/music/c.wav"));
    EXPECT_TRUE(handOver("/music/e.wav"));
    EXPECT_EQ(second->state(), QLocalSocket::ConnectedState);
}

TEST_F(InstanceServerTest, AMessageLargerThanTheLimitIsDropped) {
    start({kLongMs, 8, 1000});
    const std::string message = longMessage();
    auto large = connectClient();
    large->write(message.data(), 2000); // a well-formed start, too long already
    EXPECT_TRUE(dropped(*large));
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(handOver("/music/d.wav"));
}
