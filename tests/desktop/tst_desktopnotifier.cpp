#include "desktop/desktopnotifier.h"

#include "common/notificationbus.h"

#include <QGuiApplication>
#include <QtTest>

using Kind = jot::DesktopNotifier::Kind;
using testing::NotificationServer;
using testing::Served;

class TstDesktopNotifier : public QObject {
    Q_OBJECT
    testing::PrivateBus m_bus;
    QString m_address;
    int m_connections = 0;

    // Each connection has a name of its own: Qt shares connections of the same name.
    QString name() { return QString::number(++m_connections); }
    QDBusConnection client(const QString& address) {
        return QDBusConnection::connectToBus(address, name());
    }

private Q_SLOTS:
    void initTestCase() {
        m_address = m_bus.start();
        QVERIFY2(!m_address.isEmpty(), "no private bus: scripts/setup.sh installs dbus-daemon");
        QGuiApplication::setDesktopFileName(QStringLiteral("org.jotlark.Jotlark"));
    }

    void sends_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("markup"); // the server reads bodies as markup
        QTest::addColumn<QString>("body");
        QTest::newRow("alarm") << Kind::Alarm << false << "a <b> & c";
        QTest::newRow("alarm, body read as markup") << Kind::Alarm << true << "a &lt;b&gt; &amp; c";
        QTest::newRow("warning") << Kind::Warning << false << "a <b> & c";
    }
    // An alarm is critical, rings and stays, with Show and Snooze; a warning is neither.
    void sends() {
        QFETCH(Kind, kind);
        QFETCH(bool, markup);
        QFETCH(QString, body);
        const bool alarm = kind == Kind::Alarm;
        Served served(m_address, name());
        if (markup)
            served.server.capabilities << QStringLiteral("body-markup");
        jot::DesktopNotifier notifier(client(m_address));
        QVERIFY(notifier.isAvailable());
        QVERIFY(notifier.notify(kind, "row 3", "Buy milk", "a <b> & c"));
        QTRY_COMPARE(served.server.sent.size(), 1);
        const NotificationServer::Notification& n = served.server.sent.first();
        QCOMPARE(n.icon, JOT_APP_ID);
        QCOMPARE(n.summary, "Buy milk");
        QCOMPARE(n.body, body);
        const QStringList actions{"default", "Show", "snooze", "Snooze"};
        QCOMPARE(n.actions, alarm ? actions : QStringList());
        QCOMPARE(n.timeout, alarm ? 0 : -1);
        // Servers read the urgency as a byte only.
        QCOMPARE(n.hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(n.hints.value("urgency").value<uchar>(), alarm ? 2 : 1);
        QCOMPARE(n.hints.value("sound-name").toString(), alarm ? "alarm-clock-elapsed" : "");
        QCOMPARE(n.hints.value("desktop-entry").toString(), "org.jotlark.Jotlark");
    }

    // What the user does with a notification reaches the program by the caller's tag; what
    // is done with other programs' notifications does not.
    void answers() {
        Served served(m_address, name());
        NotificationServer& server = served.server;
        jot::DesktopNotifier notifier(client(m_address));
        QSignalSpy activated(&notifier, &jot::DesktopNotifier::activated);
        QSignalSpy snoozed(&notifier, &jot::DesktopNotifier::snoozed);
        QSignalSpy closed(&notifier, &jot::DesktopNotifier::closed);
        for (const char* tag : {"row 1", "row 2", "row 1"}) {
            const qsizetype before = server.sent.size();
            QVERIFY(notifier.notify(Kind::Alarm, tag, "summary", "body"));
            QTRY_COMPARE(server.sent.size(), before + 1);
        }
        QCOMPARE(server.sent[2].replaces, 101u); // the one still shown for row 1

        Q_EMIT server.ActionInvoked(999, "default"); // another program's
        Q_EMIT server.ActionInvoked(102, "snooze");
        Q_EMIT server.ActionInvoked(101, "default");
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first(), "row 1");
        QCOMPARE(snoozed.size(), 1);
        QCOMPARE(snoozed.first().first(), "row 2");

        Q_EMIT server.NotificationClosed(101, 2);
        QTRY_COMPARE(closed.size(), 1);
        QCOMPARE(closed.first().first(), "row 1");
        Q_EMIT server.ActionInvoked(101, "snooze"); // closed: no longer the program's
        Q_EMIT server.ActionInvoked(102, "default");
        QTRY_COMPARE(activated.size(), 2);
        QCOMPARE(snoozed.size(), 1);
    }
};

QTEST_MAIN(TstDesktopNotifier)
#include "tst_desktopnotifier.moc"
