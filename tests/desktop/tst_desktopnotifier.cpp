// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktopnotifier.h"

#include "common/notificationbus.h"

#include <QGuiApplication>
#include <QtTest>

using jot::DesktopNotifier;
using Kind = DesktopNotifier::Kind;

// A notifier and a recording server on a private bus, each on a connection of its own.
class TstDesktopNotifier : public QObject {
    Q_OBJECT
    testing::PrivateBus m_bus;
    QString m_address;
    QDBusConnection client() { return QDBusConnection::connectToBus(m_address, "client"); }

private Q_SLOTS:
    void initTestCase() {
        m_address = m_bus.start();
        QVERIFY2(!m_address.isEmpty(), "no private bus: scripts/setup.sh installs dbus-daemon");
        QGuiApplication::setDesktopFileName(QStringLiteral("org.jotlark.Jotlark"));
    }

    // An alarm is critical, rings and stays, with Show and Snooze; a warning is neither. The
    // body is escaped for a server that reads it as markup.
    void sends_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("markup");
        QTest::addColumn<QString>("body");
        QTest::newRow("alarm, body read as markup") << Kind::Alarm << true << "a &lt;b&gt; &amp; c";
        QTest::newRow("warning") << Kind::Warning << false << "a <b> & c";
    }
    void sends() {
        QFETCH(Kind, kind);
        QFETCH(bool, markup);
        const bool alarm = kind == Kind::Alarm;
        testing::Served served(m_address, "server");
        if (markup)
            served.server.capabilities << QStringLiteral("body-markup");
        DesktopNotifier notifier(client());
        QVERIFY(notifier.notify(kind, "row 3", "Buy milk", "a <b> & c"));
        QTRY_COMPARE(served.server.sent.size(), 1);
        const testing::NotificationServer::Notification& n = served.server.sent.first();
        QCOMPARE(n.icon, JOT_APP_ID);
        QTEST(n.body, "body");
        const QStringList actions{"default", "Show", "snooze", "Snooze"};
        QCOMPARE(n.actions, alarm ? actions : QStringList());
        QCOMPARE(n.timeout, alarm ? 0 : -1);
        // Servers read the urgency as a byte only.
        QCOMPARE(n.hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(n.hints.value("urgency").value<uchar>(), alarm ? 2 : 1);
        QCOMPARE(n.hints.value("sound-name").toString(), alarm ? "alarm-clock-elapsed" : "");
        QCOMPARE(n.hints.value("desktop-entry").toString(), "org.jotlark.Jotlark");
    }

    // What the user does with the program's notifications reaches it by the caller's tag; a
    // new one for a tag replaces the one shown. Other programs' notifications, and one
    // closed, are not the program's.
    void answers() {
        testing::Served served(m_address, "server");
        testing::NotificationServer& server = served.server;
        DesktopNotifier notifier(client());
        QStringList heard;
        const auto hear = [&heard](const char* word) {
            return [&heard, word](const QString& tag) { heard << word + tag; };
        };
        connect(&notifier, &DesktopNotifier::activated, this, hear("show "));
        connect(&notifier, &DesktopNotifier::snoozed, this, hear("snooze "));
        connect(&notifier, &DesktopNotifier::closed, this, hear("closed "));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(notifier.notify(Kind::Alarm, n == 2 ? "row 2" : "row 1", "summary", "body"));
            QTRY_COMPARE(server.sent.size(), n);
        }
        QCOMPARE(server.sent[2].replaces, 101u); // the one still shown for row 1

        Q_EMIT server.ActionInvoked(999, "default"); // another program's
        Q_EMIT server.ActionInvoked(102, "snooze");
        Q_EMIT server.ActionInvoked(101, "default");
        Q_EMIT server.NotificationClosed(101, 2);
        Q_EMIT server.ActionInvoked(101, "snooze"); // closed: no longer the program's
        Q_EMIT server.ActionInvoked(102, "default");
        QTRY_COMPARE(heard,
                     QStringList({"snooze row 2", "show row 1", "closed row 1", "show row 2"}));
    }
};

QTEST_MAIN(TstDesktopNotifier)
#include "tst_desktopnotifier.moc"
