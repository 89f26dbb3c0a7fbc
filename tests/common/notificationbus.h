// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/tempdatahome.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QProcess>
#include <QVariantMap>

namespace testing {

// A notification server that records what it is sent; a test answers as the user would by
// emitting its signals. It serves on a connection of its own to the bus, gone with it.
class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    NotificationServer(const QString& address, const QString& name)
        : m_bus(QDBusConnection::connectToBus(address, name)) {
        if (!m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                  QDBusConnection::ExportAllContents) ||
            !m_bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
            qFatal("cannot serve the notifications on the private bus");
    }
    ~NotificationServer() override { QDBusConnection::disconnectFromBus(m_bus.name()); }
    struct Notification {
        QString icon, summary, body;
        uint replaces = 0;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };
    QList<Notification> sent;
    QStringList capabilities;
    bool refuse = false;
    bool silent = false;   // GetCapabilities is never answered
    QList<uint> closedIds; // CloseNotification's, in order

public Q_SLOTS:
    QStringList GetCapabilities() {
        if (silent)
            setDelayedReply(true); // and no reply ever comes
        return capabilities;
    }
    void CloseNotification(uint id) { closedIds << id; }
    // Ids count from 101, in the order of the notifications received.
    uint Notify([[maybe_unused]] const QString& app, uint replaces, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout) {
        if (refuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
        else
            sent.append({icon, summary, body, replaces, actions, hints, timeout});
        return replaces ? replaces : uint(sent.size()) + 100;
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
};

// Starts a daemon that prints its address on its first line, ended with the test even when
// it crashes; that line, or empty when it did not start.
inline QString startDaemon(QProcess& daemon, const QString& program, const QStringList& args) {
    daemon.setChildProcessModifier(endWithParent);
    daemon.start(program, args);
    while (!daemon.canReadLine())
        if (!daemon.waitForReadyRead(10000))
            return {};
    return QString::fromUtf8(daemon.readLine()).trimmed();
}

// A private session bus of the test's own: never the user's. No service files: a server
// exists only while a test serves one.
class PrivateBus {
public:
    // Its address, or empty when dbus-daemon did not start (scripts/setup.sh installs it).
    QString start() {
        const QString config = m_dir.filePath(QStringLiteral("session.conf"));
        if (!writeFile(config, "<busconfig><listen>unix:dir=" + m_dir.path().toUtf8() +
                                   "</listen><policy context=\"default\"><allow own=\"*\"/>"
                                   "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                   "<allow eavesdrop=\"true\"/></policy></busconfig>\n"))
            return {};
        return startDaemon(m_daemon, QStringLiteral("dbus-daemon"),
                           {"--config-file=" + config, "--print-address", "--nofork"});
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon; // killed by its destructor, before the directory goes
};

} // namespace testing
