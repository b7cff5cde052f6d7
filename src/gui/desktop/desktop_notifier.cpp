#include "gui/desktop/desktop_notifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace platform {
namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected())
        return;
    bus_.connect(QLatin1String(kService), QLatin1String(kPath), kInterface,
                 QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus_.connect(QLatin1String(kService), QLatin1String(kPath), kInterface,
                 QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
}

void DesktopNotifier::notify(const QString& summary, const QString& body) {
    if (!bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kPath), kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QLatin1String(kAppIcon)}};
    call << QLatin1String(kAppName) << uint(0) << QLatin1String(kAppIcon) << summary << body
         << QStringList{kDefaultAction, QCoreApplication::translate("DesktopNotifier", "Show")}
         << hints << int(-1);
    // Asynchronous: a desktop without a notification service must not hold the window up.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isValid())
                    shown_.insert(reply.value());
                finished->deleteLater();
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action) {
    if (shown_.count(id) != 0 && action == kDefaultAction)
        emit activated();
}

void DesktopNotifier::onClosed(uint id, uint) {
    shown_.erase(id);
}

} // namespace platform
