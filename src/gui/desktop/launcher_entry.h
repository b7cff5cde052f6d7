#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>

namespace platform {

// The program's entry on the taskbar or dock: a progress bar and a count, sent as the
// com.canonical.Unity.LauncherEntry Update signal that docks and task managers listen for.
// Without a session bus nothing is sent and nothing is said.
class LauncherEntry final : public QObject {
    Q_OBJECT
public:
    static constexpr char kObjectPath[] = "/org/pelkora/Pelkora";
    static constexpr char kInterface[] = "com.canonical.Unity.LauncherEntry";
    static constexpr char kAppUri[] = "application://org.pelkora.Pelkora.desktop";
    // Docks redraw on every signal: at most one per this interval.
    static constexpr int kMinIntervalMs = 250;

    explicit LauncherEntry(QDBusConnection bus, QObject* parent = nullptr);

    // Shows the bar at `progress` (0 to 1) and the count of files left. Updates coming faster
    // than the interval are merged: the latest is sent when it is over.
    void show(double progress, qint64 filesLeft);
    // Hides bar and count at once; a merged update still waiting is dropped.
    void clear();

private:
    void sendPending();
    void send(const QVariantMap& properties);

    QDBusConnection bus_;
    QTimer interval_;
    bool pending_ = false;
    double progress_ = 0.0;
    qint64 filesLeft_ = 0;
};

} // namespace platform
