#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QObject>
#include <QVariantMap>

#include <vector>

// A desktop's notification service on a private bus: records Notify calls, answers ids from 1.
class FakeNotifications final : public QDBusVirtualObject {
public:
    struct Call {
        QString body;
        QStringList actions;
        QVariantMap hints;
    };

    FakeNotifications() {
        registered = bus_.isConnected() && bus_.registerService(kService) &&
                     bus_.registerVirtualObject(kPath, this);
    }
    ~FakeNotifications() override {
        bus_.unregisterObject(kPath);
        bus_.unregisterService(kService);
        QDBusConnection::disconnectFromBus(bus_.name());
    }
    // As the desktop does when the user clicks a notification.
    void click(uint id) {
        QDBusMessage signal =
            QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        signal << id << QStringLiteral("default");
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != kService || message.member() != QLatin1String("Notify") ||
            message.signature() != "susssasa{sv}i")
            return false;
        const QVariantList a = message.arguments();
        Call call{a[4].toString(), a[5].toStringList(), {}};
        a[6].value<QDBusArgument>() >> call.hints;
        calls.push_back(call);
        connection.send(message.createReply(uint(calls.size())));
        return true;
    }

    std::vector<Call> calls;
    bool registered = false;

private:
    const QString kService = QStringLiteral("org.freedesktop.Notifications");
    const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
    QDBusConnection bus_ =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("notifications"));
};

// A dock: every Update signal of the launcher entry.
class FakeDock final : public QObject {
    Q_OBJECT
public:
    struct Update {
        QString appUri;
        QVariantMap properties;
    };

    FakeDock() {
        listening =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("dock"))
                .connect(QString(), QStringLiteral("/org/pelkora/Pelkora"),
                         QStringLiteral("com.canonical.Unity.LauncherEntry"),
                         QStringLiteral("Update"), this, SLOT(onUpdate(QString, QVariantMap)));
    }
    std::vector<Update> updates;
    bool listening = false;

private slots:
    void onUpdate(const QString& appUri, const QVariantMap& properties) {
        updates.push_back({appUri, properties});
    }
};
