// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

namespace jot {

// The desktop's notification server, org.freedesktop.Notifications on the session bus.
// Sends a notification for an alarm or a warning and tells which of the program's own
// notifications the user acted on. Each notification carries a tag of the caller's choosing
// (the task it is about); a new one with the tag of one still shown replaces it.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Alarm,   // critical, stays until dismissed, with sound, "Show" and "Snooze"
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

Q_SIGNALS:
    void activated(const QString& tag); // the default action: bring what it is about to front
    void snoozed(const QString& tag);
    void closed(const QString& tag); // dismissed, expired or closed by the server
    void failed(const QString& tag);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    void send(Kind kind, const QString& tag, const QString& summary, const QString& body,
              const QStringList& capabilities);

    QDBusConnection m_bus;
    QHash<uint, QString> m_tags; // the server's ids of the program's notifications still shown
};

} // namespace jot
