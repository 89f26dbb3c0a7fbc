// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktopnotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace jot {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
// The installed icon, named after the application id.
const QString kIconName = QStringLiteral(JOT_APP_ID);
const QString kSnoozeAction = QStringLiteral("snooze");

enum Urgency : uchar { Normal = 1, Critical = 2 };

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus) {
    // The service name, not the sender: Qt follows its owner as servers come and go.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

bool DesktopNotifier::isAvailable() const {
    const QDBusConnectionInterface* bus = m_bus.isConnected() ? m_bus.interface() : nullptr;
    if (!bus)
        return false;
    const QDBusReply<bool> running = bus->isServiceRegistered(kService);
    if (running.isValid() && running.value())
        return true;
    const QDBusReply<QStringList> onDemand = bus->activatableServiceNames();
    return onDemand.isValid() && onDemand.value().contains(kService);
}

bool DesktopNotifier::notify(Kind kind, const QString& tag, const QString& summary,
                             const QString& body) {
    if (!isAvailable())
        return false;
    // Asked each time, without blocking: whether the body is read as markup depends on the
    // server, which may also be slow to start on demand.
    auto* watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, kind, tag, summary, body] {
                watcher->deleteLater();
                // A server without the call is still sent the plain notification.
                const QDBusPendingReply<QStringList> capabilities = *watcher;
                send(kind, tag, summary, body,
                     capabilities.isError() ? QStringList() : capabilities.value());
            });
    return true;
}

void DesktopNotifier::send(Kind kind, const QString& tag, const QString& summary,
                           const QString& body, const QStringList& capabilities) {
    const bool alarm = kind == Kind::Alarm;
    QVariantMap hints{{QStringLiteral("urgency"),
                       QVariant::fromValue<uchar>(alarm ? Urgency::Critical : Urgency::Normal)}};
    if (alarm)
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("alarm-clock-elapsed"));
    if (!QGuiApplication::desktopFileName().isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    const QStringList actions =
        alarm ? QStringList{QStringLiteral("default"), tr("Show"), kSnoozeAction, tr("Snooze")}
              : QStringList();

    QDBusMessage notify = call(QStringLiteral("Notify"));
    // A task's text shown as markup could vanish or break the notification.
    notify << QStringLiteral("Jotlark") << m_tags.key(tag, 0u) << kIconName << summary
           << (capabilities.contains(QLatin1String("body-markup")) ? body.toHtmlEscaped() : body)
           << actions << hints << (alarm ? 0 : -1); // an alarm never expires on its own
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, tag] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            Q_EMIT failed(tag);
            return;
        }
        m_tags.remove(m_tags.key(tag, 0u));
        m_tags.insert(reply.value(), tag);
    });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action) {
    // The server tells every client of every notification: only the program's own count.
    const auto it = m_tags.constFind(id);
    if (it == m_tags.constEnd())
        return;
    if (action == QLatin1String("default"))
        Q_EMIT activated(*it);
    else if (action == kSnoozeAction)
        Q_EMIT snoozed(*it);
}

void DesktopNotifier::onNotificationClosed(uint id, uint /*reason*/) {
    const auto it = m_tags.constFind(id);
    if (it == m_tags.constEnd())
        return;
    const QString tag = *it;
    m_tags.erase(it);
    Q_EMIT closed(tag);
}

} // namespace jot
