#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariantMap>
#include <csignal>
#include <sys/prctl.h>

namespace testing {

// A notification server that records what it is sent and answers as the user would.
class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString app, icon, summary, body;
        uint replaces = 0;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };
    QList<Notification> sent;
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("sound")};
    bool refuse = false;

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    // Ids count from 101, in the order of the notifications received.
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        if (refuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
        else
            sent.append({app, icon, summary, body, replaces, actions, hints, timeout});
        return replaces ? replaces : uint(sent.size()) + 100;
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);
};

// The server registered on a connection of its own, gone with it.
struct Served {
    Served(const QString& address, const QString& name)
        : bus(QDBusConnection::connectToBus(address, name)) {
        if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                QDBusConnection::ExportAllContents) ||
            !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
            qFatal("cannot serve the notifications on the private bus");
    }
    ~Served() { QDBusConnection::disconnectFromBus(bus.name()); }
    NotificationServer server;
    QDBusConnection bus;
};

// A private session bus of the test's own, ended with it (even when the test crashes): never
// the user's. No service files: a server exists only while a test serves one.
class PrivateBus {
public:
    // Its address, or empty when it could not start (dbus-daemon missing: scripts/setup.sh
    // installs it).
    QString start() {
        const QString config = m_dir.filePath(QStringLiteral("session.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("<busconfig><type>session</type><listen>unix:dir=" + m_dir.path().toUtf8() +
                   "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                   "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                   "<allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return {};
        m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_daemon.start(daemon, {"--config-file=" + config, "--print-address", "--nofork"});
        if (!m_daemon.waitForStarted())
            return {};
        while (!m_daemon.canReadLine())
            if (!m_daemon.waitForReadyRead(10000))
                return {};
        return QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
};

} // namespace testing
