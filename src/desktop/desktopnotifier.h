// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/snooze.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

namespace jot {

// The desktop's notification server, org.freedesktop.Notifications on the session bus.
// Sends a notification for an alarm or a warning, withdraws it, and tells which of the
// program's own notifications the user acted on. Each notification carries a tag of the
// caller's choosing (the task it is about); a new one with the tag of one still shown
// replaces it.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Alarm,   // critical, stays until dismissed, with "Show", "Snooze" and "Snooze 1 hour"
        Warning, // normal urgency, no sound, no actions
    };

    explicit DesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    // Whether a server is on the bus, running or started on demand; asked anew each time,
    // since servers come and go with the desktop.
    bool isAvailable() const;
    // False at once when there is no bus or no server, so that the caller falls back (to the
    // tray); a server that refuses it afterwards is told by failed().
    bool notify(Kind kind, const QString& tag, const QString& summary, const QString& body);
    // Whether an alarm asks the server for its sound.
    void setSound(bool on) { m_sound = on; }
    // Withdraws the tag's notification, shown or still on its way; nothing if there is none.
    void close(const QString& tag);
    // Runs `then` once the server's capabilities are known: asked once, at the first notice.
    void whenCapabilitiesKnown(std::function<void()> then);
    // Whether the server plays the sounds it is asked for; false until known.
    bool playsSound() const;

Q_SIGNALS:
    void activated(const QString& tag); // the default action: bring what it is about to front
    void snoozed(const QString& tag, jot::Snooze how);
    void closed(const QString& tag); // dismissed, expired or closed by the server
    void failed(const QString& tag);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    void send(Kind kind, const QString& tag, const QString& summary, const QString& body);

    QDBusConnection m_bus;
    bool m_sound = true;
    std::optional<QStringList> m_capabilities; // known once the server answered or not in time
    bool m_asked = false;
    QList<std::function<void()>> m_waiting; // for the capabilities
    QHash<uint, QString> m_tags;            // the server's ids of the program's notifications
    QHash<QString, int> m_coming;           // tags on their way to the server, with how many
    QSet<QString> m_withdrawn;              // tags closed while on their way
};

} // namespace jot
