#include "platform/fake_desktop_bus.h"

#include <QDBusArgument>
#include <QDBusMessage>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kMarkerInterface = QStringLiteral("org.pelkora.Test");

} // namespace

FakeNotifications::FakeNotifications(const QString& connectionName)
    : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)) {
    registered_ = bus_.isConnected() && bus_.registerService(kService) &&
                  bus_.registerVirtualObject(kPath, this);
}

FakeNotifications::~FakeNotifications() {
    bus_.unregisterObject(kPath);
    bus_.unregisterService(kService);
    QDBusConnection::disconnectFromBus(bus_.name());
}

void FakeNotifications::click(uint id, const QString& action) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
    signal << id << action;
    bus_.send(signal);
}

void FakeNotifications::marker() {
    bus_.send(QDBusMessage::createSignal(kPath, kMarkerInterface, QStringLiteral("Marker")));
}

QString FakeNotifications::introspect(const QString&) const {
    return {};
}

bool FakeNotifications::handleMessage(const QDBusMessage& message,
                                      const QDBusConnection& connection) {
    if (message.interface() != kService)
        return false;
    if (message.member() == QLatin1String("GetCapabilities")) {
        connection.send(
            message.createReply(QStringList{QStringLiteral("actions"), QStringLiteral("body")}));
        return true;
    }
    const QVariantList a = message.arguments();
    if (message.member() != QLatin1String("Notify") || message.signature() != "susssasa{sv}i")
        return false;
    Call call;
    call.appName = a[0].toString();
    call.replacesId = a[1].toUInt();
    call.appIcon = a[2].toString();
    call.summary = a[3].toString();
    call.body = a[4].toString();
    call.actions = a[5].toStringList();
    a[6].value<QDBusArgument>() >> call.hints;
    call.timeout = a[7].toInt();
    calls.push_back(call);
    connection.send(message.createReply(uint(calls.size())));
    return true;
}

FakeDock::FakeDock(const QString& connectionName, QDBusConnection programBus) {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    listening_ =
        bus.connect(QString(), QStringLiteral("/org/pelkora/Pelkora"),
                    QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"),
                    this, SLOT(onUpdate(QString, QVariantMap))) &&
        programBus.connect(QString(), kPath, kMarkerInterface, QStringLiteral("Marker"), this,
                           SLOT(onMarker()));
}

void FakeDock::onUpdate(const QString& appUri, const QVariantMap& properties) {
    updates.push_back({appUri, properties});
}

void FakeDock::onMarker() {
    ++markers;
}
