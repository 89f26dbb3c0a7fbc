// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/notificationbus.h"
#include "common/program.h"
#include "desktop/desktopnotifier.h"
#include "desktop/soundplayer.h"
#include "mainwin/notices.h"
#include "mainwin/tray.h"
#include "store/clock.h"

#include <QLabel>
#include <QSystemTrayIcon>
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

// Counts what it plays.
struct FakePlayer : jot::SoundPlayer {
    explicit FakePlayer(int& plays) : m_plays(plays) {}
    void play() override { ++m_plays; }
    int& m_plays;
};

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
    int m_plays = 0;

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
        jot::setSoundPlayerForTests([this] { return std::make_unique<FakePlayer>(m_plays); });
    }
    void init() {
        m_trayMessages.clear();
        m_plays = 0;
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
        QMetaObject::invokeMethod(const_cast<jot::TaskFile*>(&p.main->shared().file), "resolved",
                                  Q_ARG(QString, warning));
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
        QTest::addColumn<QByteArray>("repeat"); // the alarm's rule
        const QByteArray later = "Monday 03/15 10:45 am", nextWeek = "Monday 03/22 10:15 am",
                         rung = task("x") + task("a", kQuarter, "1");
        const auto row = [](const char* name, const char* action, const char* meanwhile,
                            const QByteArray& file, const QString& label,
                            const QByteArray& repeat = {}) {
            QTest::newRow(name) << action << meanwhile << file << label << repeat;
        };
        row("snooze, row moved up", "snooze", "task above deleted", task("a", later), later);
        row("snooze, note closed", "snooze", "note closed", task("x") + task("a", later), "");
        row("snooze 1 hour", "snooze-hour", "note closed",
            task("x") + task("a", "Monday 03/15 11:30 am"), "");
        row("snooze, text changed", "snooze", "text changed", task("x") + task("a!", kQuarter, "1"),
            "");
        row("show, row moved up", "default", "task above deleted", task("a", kQuarter, "1"),
            kQuarter);
        row("show, note closed", "default", "note closed", rung, kQuarter);
        // Moved on to next week as it rang; the notification acts on the occurrence that rang.
        row("snooze, weekly", "snooze", "note closed",
            task("x") + task("a", later, "weekly@2027-03-15T10:15"), "", "weekly");
        row("show, weekly", "default", "note closed", task("x") + task("a", nextWeek, "weekly"),
            nextWeek + ", every week", "weekly");
    }
    void answers() {
        QFETCH(QString, action);
        QFETCH(QString, meanwhile);
        QFETCH(QByteArray, repeat);
        serve();
        testing::Program p(task("x") + task("a", kQuarter, repeat));
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
        const bool snooze = action.startsWith("snooze");
        QVERIFY(m_served->server.closedIds.isEmpty()); // not dealt with yet
        Q_EMIT m_served->server.ActionInvoked(101, action);
        // Dealt with: withdrawn, once the answer was handled.
        QTRY_COMPARE(m_served->server.closedIds, QList<uint>{101});
        QTEST(p.fileBytes(), "file");
        f_test* note = p.noteOf(p.list().rows() - 1);
        QTEST(note ? note->findChild<QLabel*>("Label1")->text() : "", "label");
        QCOMPARE(red(note), !snooze); // red till closed or snoozed
        if (!snooze)                  // in front
            QTRY_COMPARE(QApplication::activeWindow(), note);
    }

    // Two alarms of one tick sound once: by the server when it says it plays sounds, else by
    // the program; never with "Play a sound" off, which nosound.txt keeps.
    void sound_data() {
        QTest::addColumn<QString>("server"); // its capabilities, or "none"
        QTest::addColumn<bool>("option");
        QTest::addColumn<int>("plays");
        QTest::addColumn<bool>("hint");
        QTest::newRow("server plays it") << "sound" << true << 0 << true;
        QTest::newRow("server without sound") << "body" << true << 1 << true;
        QTest::newRow("no server") << "none" << true << 1 << false;
        QTest::newRow("option off") << "body" << false << 0 << false;
        QTest::newRow("option off, no server") << "none" << false << 0 << false;
    }
    void sound() {
        QFETCH(QString, server);
        QFETCH(bool, option);
        if (server != "none")
            serve().capabilities << server;
        testing::Program p(task("a", kQuarter) + task("b", kQuarter));
        QVERIFY(p.child<QAction>("m_sound")->isChecked());
        const QString marker = p.home.dataDir() + "nosound.txt";
        if (!option) {
            p.trigger("m_sound");
            const QFile::Permissions mode = QFile::permissions(marker);
            QVERIFY(mode.testFlags(QFile::ReadOwner | QFile::WriteOwner) && !(mode & 0x0077));
        }
        QCOMPARE(p.child<QAction>("m_sound")->isChecked(), option);
        at(10, 15);
        p.tick();
        if (server != "none") {
            QTRY_COMPARE(m_served->server.sent.size(), 2);
            QTEST(m_served->server.sent[0].hints.contains("sound-name"), "hint");
        }
        QTEST(m_plays, "plays"); // decided once the capabilities came, before the sends

        p.trigger("m_sound"); // and back
        QCOMPARE(QFile::exists(marker), option);
    }

    // A notification stays until its alarm is dealt with in the note or the list; "Show" and
    // the Snoozes are in answers().
    void withdrawn_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closed");
        QTest::newRow("alarm set again") << "Ok" << true;
        QTest::newRow("No alarm") << "No alarm" << true;
        QTest::newRow("task deleted") << "Delete" << true;
        QTest::newRow("text edited only") << "typing" << false;
    }
    void withdrawn() {
        QFETCH(QString, how);
        testing::NotificationServer& server = serve();
        testing::Program p(task("x") + task("a", kQuarter));
        at(10, 15);
        p.tick();
        QTRY_COMPARE(server.sent.size(), 1);
        f_test* note = p.noteOf(2);
        if (how == "Ok") {
            note->findChild<QPushButton*>("Command1")->click();
            note->findChild<QPushButton*>("Command3")->click();
        } else if (how == "No alarm") {
            note->findChild<QPushButton*>("Command2")->click();
        } else if (how == "Delete") {
            p.select(2);
            p.click("Command3");
        } else {
            QTest::keyClicks(note->findChild<QWidget*>("Text2"), "!");
        }
        // A notice that comes after any close: the server has heard everything before it.
        p.main->findChild<jot::Notices*>()->warning("sentinel");
        QTRY_COMPARE(server.sent.size(), 2);
        QTEST(server.closedIds == QList<uint>{101}, "closed");
    }

    // Without a tray the program waits for one without asking at intervals: a tray over
    // D-Bus comes with its watcher's name on the session bus.
    void trayComesOverDBus() {
        jot::setTrayAvailableForTests(false);
        testing::Program p({}, true);
        QCoreApplication::processEvents();
        QVERIFY(p.main->isMinimized());
        for (const QTimer* t : p.main->findChild<jot::Notices*>()->findChildren<QTimer*>())
            QVERIFY(!t->isActive());
        jot::setTrayAvailableForTests(true);
        QDBusConnection tray = QDBusConnection::connectToBus(m_address, "tray");
        QVERIFY(tray.registerService("org.kde.StatusNotifierWatcher"));
        QTRY_VERIFY(p.main->findChild<QSystemTrayIcon*>()->isVisible() && !p.main->isVisible());
        QDBusConnection::disconnectFromBus("tray");
    }
};

QTEST_MAIN(TstNotices)
#include "tst_notices.moc"
