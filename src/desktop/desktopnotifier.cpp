// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktopnotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QGuiApplication>
#include <QVariantMap>
#include <utility>

namespace jot {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
// The installed icon, named after the application id.
const QString kIconName = QStringLiteral(JOT_APP_ID);
const QString kSnoozeAction = QStringLiteral("snooze");
const QString kSnoozeHourAction = QStringLiteral("snooze-hour");
// A server that never answers would otherwise hold every notice for D-Bus's 25 s.
constexpr int kCapabilitiesTimeoutMs = 1000;

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
    ++m_coming[tag];
    m_withdrawn.remove(tag);
    whenCapabilitiesKnown([this, kind, tag, summary, body] { send(kind, tag, summary, body); });
    return true;
}

void DesktopNotifier::whenCapabilitiesKnown(std::function<void()> then) {
    if (m_capabilities) {
        then();
        return;
    }
    m_waiting.append(std::move(then));
    if (std::exchange(m_asked, true))
        return;
    // Asked once, without blocking: whether the body is read as markup and whether the server
    // plays sounds. No answer in time counts as neither; the notice goes anyway.
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call(QStringLiteral("GetCapabilities")), kCapabilitiesTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        m_capabilities = reply.isError() ? QStringList() : reply.value();
        for (const std::function<void()>& then : std::exchange(m_waiting, {}))
            then();
    });
}

bool DesktopNotifier::playsSound() const {
    return m_capabilities && m_capabilities->contains(QLatin1String("sound"));
}

void DesktopNotifier::close(const QString& tag) {
    if (m_coming.contains(tag))
        m_withdrawn.insert(tag); // closed as soon as its id comes, or never sent
    const uint id = m_tags.key(tag, 0u);
    if (id == 0)
        return;
    m_tags.remove(id);
    // No answer awaited: a notification already gone is no fault.
    m_bus.call(call(QStringLiteral("CloseNotification")) << id, QDBus::NoBlock);
}

void DesktopNotifier::send(Kind kind, const QString& tag, const QString& summary,
                           const QString& body) {
    const bool alarm = kind == Kind::Alarm;
    if (m_withdrawn.contains(tag)) {
        if (--m_coming[tag] == 0) {
            m_coming.remove(tag);
            m_withdrawn.remove(tag);
        }
        return;
    }
    QVariantMap hints{{QStringLiteral("urgency"),
                       QVariant::fromValue<uchar>(alarm ? Urgency::Critical : Urgency::Normal)}};
    if (alarm && m_sound)
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("alarm-clock-elapsed"));
    if (!QGuiApplication::desktopFileName().isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    // Servers that show few buttons show the first ones.
    const QStringList actions = alarm ? QStringList{QStringLiteral("default"),
                                                    tr("Show"),
                                                    kSnoozeAction,
                                                    tr("Snooze"),
                                                    kSnoozeHourAction,
                                                    tr("Snooze 1 hour")}
                                      : QStringList();

    QDBusMessage notify = call(QStringLiteral("Notify"));
    // A task's text shown as markup could vanish or break the notification.
    notify << QStringLiteral("Jotlark") << m_tags.key(tag, 0u) << kIconName << summary
           << (m_capabilities->contains(QLatin1String("body-markup")) ? body.toHtmlEscaped() : body)
           << actions << hints << (alarm ? 0 : -1); // an alarm never expires on its own
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, tag] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        const bool withdrawn = m_withdrawn.contains(tag);
        if (--m_coming[tag] == 0) {
            m_coming.remove(tag);
            m_withdrawn.remove(tag);
        }
        if (reply.isError()) {
            if (!withdrawn)
                Q_EMIT failed(tag);
            return;
        }
        m_tags.remove(m_tags.key(tag, 0u));
        m_tags.insert(reply.value(), tag);
        if (withdrawn)
            close(tag);
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
        Q_EMIT snoozed(*it, Snooze::Short);
    else if (action == kSnoozeHourAction)
        Q_EMIT snoozed(*it, Snooze::Hour);
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
