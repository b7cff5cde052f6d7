#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <set>

namespace platform {

// Desktop notifications through org.freedesktop.Notifications, with a default action: a
// click on the notification asks for the window. Without a session bus, or without a
// notification service on it, nothing is shown and nothing is said.
class DesktopNotifier final : public QObject {
    Q_OBJECT
public:
    static constexpr char kService[] = "org.freedesktop.Notifications";
    static constexpr char kPath[] = "/org/freedesktop/Notifications";
    static constexpr char kAppName[] = "Pelkora";
    static constexpr char kAppIcon[] = "org.pelkora.Pelkora";

    explicit DesktopNotifier(QDBusConnection bus, QObject* parent = nullptr);

    void notify(const QString& summary, const QString& body);

signals:
    // One of our notifications was clicked.
    void activated();

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    std::set<uint> shown_; // ids of ours still on screen
};

} // namespace platform
