#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace platform {

// What one sender may take up of the running copy: a sender trickling bytes, or many at
// once, must not hold the window's descriptors or memory.
struct InstanceServerLimits {
    int deadlineMs = 10'000;                 // from the connection, however it trickles
    int maxPending = 8;                      // connections still sending; more are refused
    std::size_t maxMessageBytes = 16u << 20; // far above any command line's paths
};

// The running copy's end: takes the paths a second start hands over. The socket lies in the
// user's private runtime folder, so only the user's own programs reach it.
class InstanceServer final : public QObject {
    Q_OBJECT
public:
    using Limits = InstanceServerLimits;

    explicit InstanceServer(Limits limits = {}, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Only the holder of the single-copy lock listens, so a socket found there is a leftover
    // of a copy that died: it is replaced (the socket is made aside, closed to others, and
    // renamed into place).
    bool listen(const QString& socketPath);

signals:
    // One complete message; its paths in the order sent, bytes exact.
    void pathsReceived(const std::vector<QByteArray>& paths);

private:
    void accept();
    void serve(QLocalSocket* socket);

    QLocalServer* server_;
    Limits limits_;
    int pending_ = 0;
};

class SingleInstanceLock;

// The second start's end: hands the paths to the copy listening on socketPath and waits for
// its answer. False when no copy took them within `deadlineMs`.
[[nodiscard]] bool SendPaths(const QString& socketPath, const std::vector<QByteArray>& paths,
                             int deadlineMs);

enum class HandOver { Delivered, LockFreed, NotTaken };

// A second start with files: hands them over, trying again while the running copy is still
// starting up. Should that copy end meanwhile, `lock` is replaced by a held one and the caller
// carries on as the first copy (LockFreed).
[[nodiscard]] HandOver HandToRunningCopy(const QString& settingsFolder,
                                         std::unique_ptr<SingleInstanceLock>& lock,
                                         const std::vector<QByteArray>& paths, int deadlineMs);

} // namespace platform
