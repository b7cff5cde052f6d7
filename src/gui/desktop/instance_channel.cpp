#include "gui/desktop/instance_channel.h"

#include "app/system/single_instance.h"
#include "core/system/path_message.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <memory>

namespace platform {

InstanceServer::InstanceServer(Limits limits, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), limits_(limits) {
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
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (pending_ >= limits_.maxPending) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

void InstanceServer::serve(QLocalSocket* socket) {
    ++pending_;
    // Counted once, when the sender is done with, whichever way that happens.
    auto done = std::make_shared<bool>(false);
    const auto finish = [this, done] {
        if (!*done) {
            *done = true;
            --pending_;
        }
    };
    connect(socket, &QLocalSocket::disconnected, this, finish);
    connect(socket, &QObject::destroyed, this, finish);
    // One deadline for the whole message: a byte now and then does not put it off.
    QTimer::singleShot(limits_.deadlineMs, socket, [socket, finish] {
        finish();
        socket->abort();
    });

    auto reader = std::make_shared<PathMessageReader>();
    auto received = std::make_shared<std::size_t>(0);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader, received, finish] {
        if (reader->state() != PathMessageReader::State::Reading)
            return;
        const QByteArray bytes = socket->readAll();
        *received += static_cast<std::size_t>(bytes.size());
        const auto state = *received > limits_.maxMessageBytes
                               ? PathMessageReader::State::Invalid
                               : reader->feed(std::string_view(bytes.constData(), bytes.size()));
        if (state == PathMessageReader::State::Invalid) {
            finish();
            socket->abort();
            return;
        }
        if (state != PathMessageReader::State::Complete)
            return;
        finish();
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
