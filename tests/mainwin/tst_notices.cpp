#include "common/notificationbus.h"
#include "common/program.h"
#include "desktop/desktopnotifier.h"
#include "mainwin/tray.h"
#include "store/clock.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <optional>

using testing::Served;

namespace {

QDateTime g_now;
const QByteArray kQuarter = "Monday 03/15 10:15 am";

QByteArray task(const QByteArray& text, const QByteArray& alarm = {}, const QByteArray& mark = {}) {
    return testing::record("Le 03/15 \xc3\xa0 08:00 am", text, alarm, mark);
}

void at(int h, int m, int s = 30) {
    g_now = QDateTime({2027, 3, 15}, {h, m, s});
}

struct Program : testing::Program {
    using testing::Program::Program;
    bool red(int row) const {
        return noteOf(row) && noteOf(row)->palette().color(QPalette::Window) == Qt::red;
    }
    // Created at the first notice.
    jot::DesktopNotifier* notifier() const { return main->findChild<jot::DesktopNotifier*>(); }
};

} // namespace

// The program's session bus is a private one; a test serves notifications on it or not.
class TstNotices : public QObject {
    Q_OBJECT
    testing::PrivateBus m_bus;
    QString m_address;
    QStringList m_trayMessages;
    int m_servers = 0;

    void serve(std::optional<Served>& served) {
        served.emplace(m_address, QStringLiteral("server") + QString::number(++m_servers));
    }

private Q_SLOTS:
    void initTestCase() {
        testing::quietOffscreen();
        m_address = m_bus.start();
        QVERIFY2(!m_address.isEmpty(), "no private bus: scripts/setup.sh installs dbus-daemon");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        jot::setClockForTests([] { return g_now; });
        jot::setTrayAvailableForTests(true);
        jot::setTrayMessagesForTests([this](const QString& m) { m_trayMessages << m; });
    }
    void init() {
        m_trayMessages.clear();
        at(10, 14);
    }

    // Two rung alarms, or a failed save, as the notification server receives them
    // ("summary|body|urgency|sound|actions"), or as the tray says them without one.
    void notices_data() {
        QTest::addColumn<QString>("server"); // "serves", "refuses" or "none"
        QTest::addColumn<bool>("failedSave");
        QTest::addColumn<QStringList>("notifications");
        QTest::addColumn<QStringList>("tray"); // "$w" stands for the warning line
        const QString ringing =
            QString(kQuarter) + "|2|alarm-clock-elapsed|default,Show,snooze,Snooze";
        QTest::newRow("alarms") << "serves" << false
                                << QStringList{"a|" + ringing, QString(kQuarter) + '|' + ringing}
                                << QStringList();
        QTest::newRow("alarms, no server")
            << "none" << false << QStringList() << QStringList{"a\n" + QString(kQuarter)};
        QTest::newRow("alarms, server refuses")
            << "refuses" << false << QStringList() << QStringList{"a", QString(kQuarter)};
        QTest::newRow("failed save")
            << "serves" << true << QStringList{"Jotlark|$w|1||"} << QStringList();
        QTest::newRow("failed save, no server")
            << "none" << true << QStringList() << QStringList{"$w"};
    }
    void notices() {
        QFETCH(QString, server);
        QFETCH(bool, failedSave);
        QFETCH(QStringList, notifications);
        QFETCH(QStringList, tray);
        std::optional<Served> served;
        if (server != "none")
            serve(served);
        if (server == "refuses")
            served->server.refuse = true;
        // The second task's first line is blank: its alarm stands for it.
        Program p(failedSave ? task("a") : task("a~more", kQuarter) + task(" ~b", kQuarter));
        if (failedSave) {
            QFile::remove(p.home.taskFile());
            QVERIFY(QDir().mkpath(p.home.taskFile() + QStringLiteral("/x")));
        }
        at(10, 15);
        p.tick();
        QVERIFY(failedSave || p.red(2)); // the red note rings as well
        const QString warning = p.child<QLabel>("m_warning")->text();
        notifications.replaceInStrings("$w", warning);
        tray.replaceInStrings("$w", warning);
        QTRY_COMPARE(m_trayMessages, tray);
        const QList<testing::NotificationServer::Notification> none;
        QTRY_COMPARE(served ? served->server.sent.size() : 0, notifications.size());
        QStringList received;
        for (const auto& n : served ? served->server.sent : none)
            received << QStringList{n.summary, n.body, QString::number(n.hints["urgency"].toInt()),
                                    n.hints["sound-name"].toString(), n.actions.join(',')}
                            .join('|');
        QCOMPARE(received, notifications);
    }

    // A warning from reading the list comes before the tray icon, which follows the main
    // window: without a notification server the tray still gives it.
    void warningAtStart() {
        Program p("not a task\r\n");
        const QString warning = p.child<QLabel>("m_warning")->text();
        QVERIFY(!warning.isEmpty());
        QTRY_COMPARE(m_trayMessages, QStringList{warning});
    }

    // Snooze, answered some minutes after the ring, moves the alarm as the editor would; Show
    // brings the red note to the front, wherever it is; a task changed or deleted since is
    // left alone. The file afterwards, the alarm the note shows ("" when none is open).
    void answers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QTime>("answered");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("label");
        const QByteArray later = "Monday 03/15 10:30 am",
                         rung = task("x") + task("a", kQuarter, "1");
        const auto row = [](const char* name, const char* action, const char* meanwhile,
                            QTime answered, const QByteArray& file, const QString& label) {
            QTest::newRow(name) << action << meanwhile << answered << file << label;
        };
        row("snooze, note open", "snooze", "", {10, 16}, task("x") + task("a", later), later);
        row("snooze at the 10-minute edge, row moved up", "snooze", "task above deleted", {10, 20},
            task("a", "Monday 03/15 10:45 am"), "Monday 03/15 10:45 am");
        row("snooze, note closed", "snooze", "note closed", {10, 16}, task("x") + task("a", later),
            "");
        row("snooze, text changed", "snooze", "text changed", {10, 16},
            task("x") + task("a!", kQuarter, "1"), "");
        row("snooze, alarm removed", "snooze", "No alarm", {10, 16}, task("x") + task("a"), "");
        row("snooze, deleted", "snooze", "deleted", {10, 16}, rung, ""); // not written
        row("show, behind the main window", "default", "", {10, 16}, rung, kQuarter);
        row("show, minimised", "default", "minimised", {10, 16}, rung, kQuarter);
        row("show, closed", "default", "note closed", {10, 16}, rung, kQuarter);
        row("show, deleted", "default", "deleted", {10, 16}, rung, "");
    }
    void answers() {
        QFETCH(QString, action);
        QFETCH(QString, meanwhile);
        QFETCH(QTime, answered);
        QFETCH(QByteArray, file);
        QFETCH(QString, label);
        std::optional<Served> served;
        serve(served);
        Program p(task("x") + task("a", kQuarter));
        at(10, 15);
        p.tick();
        QTRY_COMPARE(served->server.sent.size(), 1);
        if (meanwhile == "task above deleted" || meanwhile == "deleted") {
            p.select(meanwhile == "deleted" ? 2 : 1);
            p.click("Command3");
        } else if (meanwhile == "note closed" || meanwhile == "text changed") {
            if (meanwhile == "text changed")
                QTest::keyClicks(p.noteOf(2)->findChild<QPlainTextEdit*>("Text2"), "!");
            p.noteOf(2)->close();
        } else if (meanwhile == "minimised") {
            p.noteOf(2)->showMinimized();
        } else if (meanwhile == "No alarm") {
            QTest::mouseClick(p.noteOf(2)->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        }
        p.main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), p.main.get());
        at(answered.hour(), answered.minute(), 0);
        const bool snooze = action == "snooze";
        QSignalSpy done(p.notifier(),
                        snooze ? &jot::DesktopNotifier::snoozed : &jot::DesktopNotifier::activated);
        Q_EMIT served->server.ActionInvoked(101, action);
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(p.fileBytes(), file);
        const int row = p.liste().rows() - 1;
        f_test* note = p.noteOf(row);
        QCOMPARE(note ? note->findChild<QLabel*>("Label1")->text() : "", label);
        QCOMPARE(p.red(row), note && (label.isEmpty() || !snooze)); // red till closed or snoozed
        if (note && !snooze) {
            QVERIFY(!note->isMinimized());
            QTRY_COMPARE(QApplication::activeWindow(), note);
        }
    }
};

QTEST_MAIN(TstNotices)
#include "tst_notices.moc"
