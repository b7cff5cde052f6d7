#include "platform/instance_channel.h"

#include "platform/path_message.h"
#include "platform/single_instance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <memory>

namespace platform {

InstanceServer::InstanceServer(int idleLimitMs, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), idleLimitMs_(idleLimitMs) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& socketPath) {
    if (socketPath.isEmpty())
        return false;
    return server_->listen(socketPath);
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection())
        serve(socket);
}

void InstanceServer::serve(QLocalSocket* socket) {
    auto reader = std::make_shared<PathMessageReader>();
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(idleLimitMs_);
    connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader, idle] {
        const QByteArray bytes = socket->readAll();
        const auto state = reader->feed(std::string_view(bytes.constData(), bytes.size()));
        if (state == PathMessageReader::State::Invalid) {
            socket->abort();
            return;
        }
        idle->start(idleLimitMs_);
        if (state != PathMessageReader::State::Complete)
            return;
        std::vector<QByteArray> paths;
        for (std::string& path : reader->takePaths())
            if (path.front() == '/') // a relative one would be taken against our folder
                paths.push_back(QByteArray::fromStdString(path));
        // The sender may end before a large folder has been searched.
        socket->write(&kPathMessageAck, 1);
        socket->flush();
        socket->disconnectFromServer();
        if (!paths.empty())
            emit pathsReceived(paths);
    });
}

bool SendPaths(const QString& socketPath, const std::vector<QByteArray>& paths, int deadlineMs) {
    if (socketPath.isEmpty())
        return false;
    const QDeadlineTimer deadline(deadlineMs);
    std::vector<std::string> texts;
    for (const QByteArray& path : paths)
        texts.push_back(path.toStdString());
    const std::string message = EncodePathMessage(texts);

    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    socket.write(message.data(), static_cast<qint64>(message.size()));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kPathMessageAck;
}

HandOver HandToRunningCopy(const QString& settingsFolder, std::unique_ptr<SingleInstanceLock>& lock,
                           const std::vector<QByteArray>& paths, int deadlineMs) {
    const QString socketPath = InstanceSocketPath(settingsFolder);
    const QDeadlineTimer deadline(deadlineMs);
    for (;;) {
        if (SendPaths(socketPath, paths, static_cast<int>(deadline.remainingTime())))
            return HandOver::Delivered;
        if (deadline.hasExpired())
            return HandOver::NotTaken;
        // Not listening yet, or gone: the lock tells which.
        auto again = std::make_unique<SingleInstanceLock>(settingsFolder);
        if (!again->anotherCopyRuns()) {
            lock = std::move(again);
            return HandOver::LockFreed;
        }
        QThread::msleep(50);
    }
}

} // namespace platform
