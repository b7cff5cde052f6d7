#include "gui/desktop/launcher_entry.h"

#include <QDBusMessage>

#include <algorithm>

namespace platform {

LauncherEntry::LauncherEntry(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    interval_.setSingleShot(true);
    interval_.setInterval(kMinIntervalMs);
    connect(&interval_, &QTimer::timeout, this, &LauncherEntry::sendPending);
}

void LauncherEntry::show(double progress, qint64 filesLeft) {
    progress_ = std::clamp(progress, 0.0, 1.0);
    filesLeft_ = std::max<qint64>(0, filesLeft);
    pending_ = true;
    if (!interval_.isActive())
        sendPending();
}

void LauncherEntry::clear() {
    interval_.stop();
    pending_ = false;
    send({{QStringLiteral("progress-visible"), false}, {QStringLiteral("count-visible"), false}});
}

void LauncherEntry::sendPending() {
    if (!pending_)
        return;
    pending_ = false;
    send({{QStringLiteral("progress"), progress_},
          {QStringLiteral("progress-visible"), true},
          {QStringLiteral("count"), filesLeft_},
          {QStringLiteral("count-visible"), true}});
    interval_.start();
}

void LauncherEntry::send(const QVariantMap& properties) {
    if (!bus_.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(kObjectPath), QLatin1String(kInterface), QStringLiteral("Update"));
    signal << QLatin1String(kAppUri) << properties;
    (void)bus_.send(signal);
}

} // namespace platform
