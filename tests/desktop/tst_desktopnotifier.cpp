// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/desktopnotifier.h"

#include "common/notificationbus.h"
#include "common/table.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QtTest>

using jot::DesktopNotifier;
using Kind = DesktopNotifier::Kind;

struct SendCase {
    QByteArray name;
    Kind kind;
    bool markup, silent; // the server reads the body as markup; never tells what it can
    QString body;
};

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
    }

    // An alarm is critical, rings and stays, with Show and both Snoozes; a warning is neither.
    // The body is escaped for a server that reads it as markup. The capabilities are asked
    // once; a server that never answers gets the notices anyway, within about a second.
    void sends_data() {
        testing::table<SendCase>(
            {{"alarm, body read as markup", Kind::Alarm, true, false, "a &lt;b&gt; &amp; c"},
             {"warning", Kind::Warning, false, false, "a <b> & c"},
             {"capabilities never told", Kind::Alarm, true, true, "a <b> & c"}});
    }
    void sends() {
        QFETCH(SendCase, row);
        const bool alarm = row.kind == Kind::Alarm;
        testing::NotificationServer server(m_address, "server");
        if (row.markup)
            server.capabilities << QStringLiteral("body-markup");
        server.silent = row.silent;
        DesktopNotifier notifier(client());
        QElapsedTimer waited;
        waited.start();
        for (int n = 1; n <= 2; ++n)
            QVERIFY(notifier.notify(row.kind, "row 3", "Buy milk", "a <b> & c"));
        QTRY_COMPARE_WITH_TIMEOUT(server.sent.size(), 2, 4000);
        QVERIFY(waited.elapsed() < 4000); // not D-Bus's 25 s per notice
        const testing::NotificationServer::Notification& n = server.sent.first();
        QCOMPARE(n.icon, JOT_APP_ID);
        QCOMPARE(n.body, row.body);
        // Servers that show few buttons show the first ones.
        const QStringList actions{"default", "Show",        "snooze",
                                  "Snooze",  "snooze-hour", "Snooze 1 hour"};
        QCOMPARE(n.actions, alarm ? actions : QStringList());
        QCOMPARE(n.timeout, alarm ? 0 : -1);
        // Servers read the urgency as a byte only (its value: tst_notices).
        QCOMPARE(n.hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(n.hints.value("sound-name").toString(), alarm ? "alarm-clock-elapsed" : "");
    }

    // What the user does with the program's notifications reaches it by the caller's tag; a
    // new one for a tag replaces the one shown. Other programs' notifications, and one
    // closed, are not the program's. One withdrawn is closed, even while still on its way.
    void answers() {
        testing::NotificationServer server(m_address, "server");
        DesktopNotifier notifier(client());
        QStringList heard;
        connect(&notifier, &DesktopNotifier::activated, this,
                [&](auto tag) { heard << "show " + tag; });
        connect(&notifier, &DesktopNotifier::snoozed, this, [&](auto tag, jot::Snooze how) {
            heard << (how == jot::Snooze::Hour ? "hour " : "snooze ") + tag;
        });
        connect(&notifier, &DesktopNotifier::closed, this,
                [&](auto tag) { heard << "closed " + tag; });
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
        Q_EMIT server.ActionInvoked(102, "snooze-hour");
        QTRY_COMPARE(heard,
                     QStringList({"snooze row 2", "show row 1", "closed row 1", "hour row 2"}));

        notifier.close("row 2");
        notifier.close("row 9"); // none
        QVERIFY(notifier.notify(Kind::Alarm, "row 4", "summary", "body"));
        notifier.close("row 4"); // before its id came
        QTRY_COMPARE(server.closedIds, QList<uint>({102, 104}));
        QVERIFY(notifier.notify(Kind::Alarm, "row 5", "summary", "body"));
        QTRY_COMPARE(server.sent.size(), 5);
        Q_EMIT server.ActionInvoked(102, "default"); // withdrawn: no longer the program's
        Q_EMIT server.ActionInvoked(105, "default");
        QTRY_COMPARE(heard.last(), "show row 5");
        QCOMPARE(heard.size(), 5);
    }
};

QTEST_MAIN(TstDesktopNotifier)
#include "tst_desktopnotifier.moc"
