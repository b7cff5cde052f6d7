#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// What a desktop offers on its session bus, played on a private bus by connections of their
// own: a notification service and a dock listening for launcher updates.

// org.freedesktop.Notifications: records Notify calls and answers with ids from 1.
class FakeNotifications final : public QDBusVirtualObject {
public:
    struct Call {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };

    explicit FakeNotifications(const QString& connectionName);
    ~FakeNotifications() override;
    [[nodiscard]] bool registered() const { return registered_; }

    // As the desktop does when the user clicks a notification (or one of its buttons).
    void click(uint id, const QString& action = QStringLiteral("default"));
    // A signal of no meaning to the program, sent after everything sent before it.
    void marker();

    std::vector<Call> calls;

    // QDBusVirtualObject
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusConnection bus_;
    bool registered_ = false;
};

// A dock: every Update signal of the launcher entry. It also counts the fake service's
// markers as they reach the program's own connection: once one is counted, everything the
// service sent before it has been handled there.
class FakeDock final : public QObject {
    Q_OBJECT
public:
    struct Update {
        QString appUri;
        QVariantMap properties;
    };

    FakeDock(const QString& connectionName, QDBusConnection programBus);
    [[nodiscard]] bool listening() const { return listening_; }

    std::vector<Update> updates;
    int markers = 0;

private slots:
    void onUpdate(const QString& appUri, const QVariantMap& properties);
    void onMarker();

private:
    bool listening_ = false;
};
