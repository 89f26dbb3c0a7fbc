#include "common/notificationbus.h"
#include "common/program.h"
#include "desktop/desktopnotifier.h"
#include "mainwin/tray.h"
#include "store/clock.h"

#include <QLabel>
#include <optional>

namespace {

QDateTime g_now;
const QByteArray kQuarter = "Monday 03/15 10:15 am";

QByteArray task(const QByteArray& text, const QByteArray& alarm = {}, const QByteArray& mark = {}) {
    return testing::record("Le 03/15 \xc3\xa0 08:00 am", text, alarm, mark);
}

void at(int h, int m) {
    g_now = QDateTime({2027, 3, 15}, {h, m, 30});
}

bool red(const f_test* note) {
    return note && note->palette().color(QPalette::Window) == Qt::red;
}

} // namespace

// The program's session bus is a private one; a test serves notifications on it or not.
class TstNotices : public QObject {
    Q_OBJECT
    testing::PrivateBus m_bus;
    QString m_address;
    QStringList m_trayMessages;
    std::optional<testing::Served> m_served;
    int m_servers = 0;

    // On a connection of its own: Qt shares connections of the same name.
    testing::NotificationServer& serve() {
        return m_served.emplace(m_address, "server" + QString::number(++m_servers)).server;
    }

private Q_SLOTS:
    void initTestCase() {
        m_address = m_bus.start();
        QVERIFY2(!m_address.isEmpty(), "no private bus: scripts/setup.sh installs dbus-daemon");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        jot::setClockForTests([] { return g_now; });
        jot::setTrayAvailableForTests(true);
        jot::setTrayMessagesForTests([this](const QString& m) { m_trayMessages << m; });
    }
    void init() {
        m_trayMessages.clear();
        m_served.reset();
        at(10, 14);
    }

    // Two rung alarms and the failed save of the tick, as the notification server receives
    // them ("summary|body|urgency"), or as the tray says them without one; the red notes ring
    // in any case.
    void notices_data() {
        QTest::addColumn<QString>("server"); // "serves", "refuses" or "none"
        QTest::addColumn<QStringList>("notifications");
        QTest::addColumn<QStringList>("tray"); // "$w" stands for the warning line
        const QString q(kQuarter);
        QTest::newRow("served") << "serves"
                                << QStringList{"a|" + q + "|2", q + '|' + q + "|2", "Jotlark|$w|1"}
                                << QStringList();
        QTest::newRow("no server") << "none" << QStringList() << QStringList{"a\n" + q, "$w"};
        QTest::newRow("server refuses") << "refuses" << QStringList() << QStringList{"a", q, "$w"};
    }
    void notices() {
        QFETCH(QString, server);
        QFETCH(QStringList, notifications);
        QFETCH(QStringList, tray);
        if (server != "none")
            serve().refuse = server == "refuses";
        // The second task's first line is blank: its alarm stands for it.
        testing::Program p(task("a~more", kQuarter) + task(" ~b", kQuarter));
        QFile::remove(p.home.taskFile()); // a directory in its place: saves fail
        QVERIFY(QDir().mkpath(p.home.taskFile() + "/x"));
        at(10, 15);
        p.tick();
        QVERIFY(red(p.noteOf(1)) && red(p.noteOf(2)));
        const QString warning = p.child<QLabel>("m_warning")->text();
        QTRY_COMPARE(m_trayMessages, tray.replaceInStrings("$w", warning));
        QTRY_COMPARE(m_served ? m_served->server.sent.size() : 0, notifications.size());
        QStringList received;
        for (int i = 0; i < notifications.size(); ++i) {
            const auto& n = m_served->server.sent[i];
            received << n.summary + '|' + n.body + '|' +
                            QString::number(n.hints["urgency"].toInt());
        }
        QCOMPARE(received, notifications.replaceInStrings("$w", warning));
    }

    // A warning from reading the list, or of where the tasks are kept, comes before the tray
    // icon, which follows the main window: without a notification server the tray still gives
    // it. Where the tasks are stays on the warning line when a failed save's warning goes.
    void warningAtStart_data() {
        QTest::addColumn<QByteArray>("taskFile");
        QTest::addColumn<QString>("dataDir"); // in the data home; empty: its usual one
        QTest::newRow("unreadable list") << QByteArray("not a task\r\n") << QString();
        QTest::newRow("data folder beside the program") << QByteArray() << "jotstore";
        QTest::newRow("that folder cannot be made") << QByteArray() << "file/jotstore";
    }
    void warningAtStart() {
        QFETCH(QByteArray, taskFile);
        QFETCH(QString, dataDir);
        TempDataHome elsewhere; // holds the program's folder and a file in the way
        QVERIFY(testing::writeFile(elsewhere.path() + "/file", {}));
        const QString dir = dataDir.isEmpty() ? QString() : elsewhere.path() + '/' + dataDir + '/';
        QVERIFY(dataDir != "jotstore" || QDir().mkpath(dir));
        if (!dataDir.isEmpty()) // and on standard error for a terminal
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(dir)));
        testing::Program p(taskFile, false, false, dir);
        auto* line = p.child<QLabel>("m_warning");
        const QString warning = line->text();
        QVERIFY(!warning.isEmpty());
        QVERIFY(dataDir.isEmpty() || warning.contains(dir));
        QTRY_COMPARE(m_trayMessages, QStringList{warning});
        QMetaObject::invokeMethod(const_cast<jot::TaskFile*>(&p.main->shared().fichier),
                                  "recovered");
        QCOMPARE(line->text(), dataDir.isEmpty() ? QString() : warning);
        QCOMPARE(line->isVisibleTo(p.main.get()), !dataDir.isEmpty());
    }

    // Snooze, answered at 10:20, moves the alarm as the editor would; Show brings the red note
    // to the front; a task changed since is left alone. The file afterwards, the alarm the
    // note shows ("" when none is open).
    void answers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("label");
        const QByteArray later = "Monday 03/15 10:45 am",
                         rung = task("x") + task("a", kQuarter, "1");
        const auto row = [](const char* name, const char* action, const char* meanwhile,
                            const QByteArray& file, const QString& label) {
            QTest::newRow(name) << action << meanwhile << file << label;
        };
        row("snooze, row moved up", "snooze", "task above deleted", task("a", later), later);
        row("snooze, note closed", "snooze", "note closed", task("x") + task("a", later), "");
        row("snooze, text changed", "snooze", "text changed", task("x") + task("a!", kQuarter, "1"),
            "");
        row("show, row moved up", "default", "task above deleted", task("a", kQuarter, "1"),
            kQuarter);
        row("show, note closed", "default", "note closed", rung, kQuarter);
    }
    void answers() {
        QFETCH(QString, action);
        QFETCH(QString, meanwhile);
        serve();
        testing::Program p(task("x") + task("a", kQuarter));
        at(10, 15);
        p.tick();
        QTRY_COMPARE(m_served->server.sent.size(), 1);
        if (meanwhile == "task above deleted") {
            p.select(1);
            p.click("Command3");
        } else { // the rung note closed, after a change to its text or none
            QTest::keyClicks(p.noteOf(2)->findChild<QWidget*>("Text2"),
                             meanwhile == "text changed" ? "!" : "");
            p.noteOf(2)->close();
        }
        p.main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), p.main.get());
        at(10, 20);
        const bool snooze = action == "snooze";
        QSignalSpy done(p.main->findChild<jot::DesktopNotifier*>(),
                        snooze ? &jot::DesktopNotifier::snoozed : &jot::DesktopNotifier::activated);
        Q_EMIT m_served->server.ActionInvoked(101, action);
        QTRY_COMPARE(done.size(), 1);
        QTEST(p.fileBytes(), "file");
        f_test* note = p.noteOf(p.liste().rows() - 1);
        QTEST(note ? note->findChild<QLabel*>("Label1")->text() : "", "label");
        QCOMPARE(red(note), !snooze); // red till closed or snoozed
        if (!snooze)                  // in front
            QTRY_COMPARE(QApplication::activeWindow(), note);
    }
};

QTEST_MAIN(TstNotices)
#include "tst_notices.moc"
