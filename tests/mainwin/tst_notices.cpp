// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/notificationbus.h"
#include "common/program.h"
#include "common/table.h"
#include "desktop/desktopnotifier.h"
#include "desktop/soundplayer.h"
#include "mainwin/notices.h"
#include "mainwin/tray.h"
#include "store/clock.h"

#include <QAbstractEventDispatcher>
#include <QLabel>
#include <QSystemTrayIcon>
#include <optional>
#include <xcb/xcb.h>

using namespace testing;

namespace {

const QByteArray kQuarter = "Monday 03/15 10:15 am";

void at(int h, int m) {
    fakeNow = QDateTime({2027, 3, 15}, {h, m, 30});
}

// Counts what it plays.
struct FakePlayer : jot::SoundPlayer {
    explicit FakePlayer(int& plays) : m_plays(plays) {}
    void play() override { ++m_plays; }
    int& m_plays;
};

xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

// A desktop panel's tray (freedesktop System Tray) on the display's first screen, there while
// the connection lasts: it owns the tray selection and says so on the root window. Null when
// it could not.
std::shared_ptr<xcb_connection_t> announceTray(const QString& display) {
    std::shared_ptr<xcb_connection_t> c(xcb_connect(qPrintable(display), nullptr), xcb_disconnect);
    if (xcb_connection_has_error(c.get()))
        return nullptr;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
    const xcb_window_t window = xcb_generate_id(c.get());
    const xcb_atom_t selection = atom(c.get(), "_NET_SYSTEM_TRAY_S0");
    xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(c.get(), window, selection, XCB_CURRENT_TIME);
    const xcb_atom_t type = atom(c.get(), "MANAGER");
    xcb_client_message_event_t manager{XCB_CLIENT_MESSAGE, 32, 0, root, type, {}};
    manager.data.data32[1] = selection; // after the time, XCB_CURRENT_TIME: 0
    manager.data.data32[2] = window;
    xcb_send_event(c.get(), 0, root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    return xcb_flush(c.get()) > 0 ? c : nullptr;
}

// What runs on a timer in the program, but the minute's tick: "owner interval", the owner by
// its object name, else its class.
QStringList pollers() {
    QObjectList objects = QObjectList{qApp} + qApp->findChildren<QObject*>();
    for (QWidget* w : QApplication::topLevelWidgets())
        objects << w << w->findChildren<QObject*>();
    QStringList found;
    for (QObject* o : objects) {
        if (o->objectName() == "Timer1" || o->objectName() == "m_minuteStart")
            continue;
        for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(o))
            found << (o->objectName().isEmpty() ? o->metaObject()->className() : o->objectName()) +
                         ' ' + QString::number(timer.interval);
    }
    return found;
}

} // namespace

// The program's session bus is a private one; a test serves notifications on it or not.
struct NoticeCase {
    QByteArray name;
    QString server;                  // "serves", "refuses" or "none"
    QString capability;              // the server's
    bool sound;                      // "Play a sound"
    QStringList notifications, tray; // "$w" stands for the warning line; "|sound": asked to play
    int plays;                       // by the program
};
struct AnswerCase {
    QByteArray name;
    QString action, meanwhile;
    QByteArray file = {};   // afterwards
    QString label = {};     // of the note
    QByteArray repeat = {}; // the alarm's rule
};

class TstNotices : public QObject {
    Q_OBJECT
    PrivateBus m_bus;
    QString m_address;
    QStringList m_trayMessages;
    std::optional<NotificationServer> m_served;
    int m_plays = 0;

    NotificationServer& serve() { return m_served.emplace(m_address, "server"); }

private Q_SLOTS:
    void initTestCase() {
        m_address = m_bus.start();
        QVERIFY2(!m_address.isEmpty(), "no private bus: scripts/setup.sh installs dbus-daemon");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        useFakeClock();
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

    // Two rung alarms and the tick's failed save, as the server receives them
    // ("summary|body|urgency") or the tray says them without one; the notes ring in any case.
    // The alarms sound once, by the server if it plays sounds, else by the program; never with
    // "Play a sound" off (nosound.txt, private).
    void notices_data() {
        const QString q(kQuarter);
        const QStringList quiet{"a|" + q + "|2", q + '|' + q + "|2", "Jotlark|$w|1"},
            served{quiet[0] + "|sound", quiet[1] + "|sound", quiet[2]};
        testing::table<NoticeCase>(
            {{"served", "serves", "body", true, served, {}, 1},
             {"server plays the sound", "serves", "sound", true, served, {}, 0},
             {"no server", "none", "", true, {}, {"a\n" + q, "$w"}, 1},
             {"server refuses", "refuses", "", true, {}, {"a", q, "$w"}, 1},
             {"sound off", "serves", "body", false, quiet, {}, 0}});
    }
    void notices() {
        QFETCH(NoticeCase, row);
        if (row.server != "none")
            serve().refuse = row.server == "refuses";
        if (m_served)
            m_served->capabilities << row.capability;
        Program p(task("a~more", kQuarter) + task(" ~b", kQuarter));
        if (!row.sound)
            p.trigger("m_sound");
        QFile::remove(p.home.taskFile()); // a directory in its place: saves fail
        QVERIFY(QDir().mkpath(p.home.taskFile() + "/x"));
        at(10, 15);
        p.tick();
        QVERIFY(red(p.noteOf(1)) && red(p.noteOf(2)));
        const QString warning = p.child<QLabel>("m_warning")->text();
        QTRY_COMPARE(m_trayMessages, row.tray.replaceInStrings("$w", warning));
        QTRY_COMPARE(m_served ? m_served->sent.size() : 0, row.notifications.size());
        QStringList received;
        for (int i = 0; i < row.notifications.size(); ++i) {
            const auto& n = m_served->sent[i];
            received << n.summary + '|' + n.body + '|' +
                            QString::number(n.hints["urgency"].toInt()) +
                            (n.hints.contains("sound-name") ? "|sound" : "");
        }
        QCOMPARE(received, row.notifications.replaceInStrings("$w", warning));
        QCOMPARE(m_plays, row.plays); // decided once the capabilities came, before the sends
        p.trigger("m_sound");         // and back
        QCOMPARE(QFile::exists(p.home.dataDir() + "nosound.txt"), row.sound);
    }

    // A warning at start reaches the tray, which comes after it; where the tasks are stays on
    // the warning line when a failed save's warning goes.
    // An unreadable list; the data folder beside the program (in the data home).
    void warningAtStart() {
        for (const bool beside : {false, true}) {
            m_trayMessages.clear();
            TempDataHome elsewhere; // holds the program's folder
            const QString dir = beside ? elsewhere.path() + "/jotstore/" : QString();
            QVERIFY(!beside || QDir().mkpath(dir));
            if (beside) // and on standard error for a terminal
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression(QRegularExpression::escape(dir)));
            Program p(beside ? "" : "not a task\r\n", false, false, dir);
            auto* line = p.child<QLabel>("m_warning");
            const QString warning = line->text();
            QVERIFY(!warning.isEmpty() && warning.contains(dir));
            QTRY_COMPARE(m_trayMessages, QStringList{warning});
            QMetaObject::invokeMethod(const_cast<jot::TaskFile*>(&p.main->shared().file),
                                      "resolved", Q_ARG(QString, warning));
            QCOMPARE(line->text(), beside ? warning : QString());
            QCOMPARE(line->isVisibleTo(p.main.get()), beside);
        }
    }

    // Snooze, answered at 10:20, moves the alarm to the minute; Show brings the red note to the
    // front; a task changed since is left alone. The file afterwards, the note's alarm ("": none
    // open). The notification stays until the alarm is dealt with, here or in the program (no
    // action).
    void answers_data() {
        const QByteArray later = "Monday 03/15 10:30 am", nextWeek = "Monday 03/22 10:15 am",
                         x = task("x");
        testing::table<AnswerCase>(
            {{"snooze, row moved up", "snooze", "task above deleted", task("a", later), later},
             {"snooze, note closed", "snooze", "note closed", x + task("a", later), ""},
             {"snooze 1 hour", "snooze-hour", "note closed", x + task("a", "Monday 03/15 11:20 am"),
              ""},
             {"snooze, text changed", "snooze", "text changed", x + task("a!", kQuarter, "1"), ""},
             {"show, row moved up", "default", "task above deleted", task("a", kQuarter, "1"),
              kQuarter},
             {"show, note closed", "default", "note closed", x + task("a", kQuarter, "1"),
              kQuarter},
             {"snooze, weekly", "snooze", "note closed",
              x + task("a", later, "weekly@2027-03-15T10:15"), "", "weekly"},
             {"show, weekly", "default", "note closed", x + task("a", nextWeek, "weekly"),
              nextWeek + ", every week", "weekly"},
             {"alarm set again", "", "Ok"},
             {"No alarm", "", "No alarm"},
             {"task deleted", "", "task deleted"}});
    }
    void answers() {
        QFETCH(AnswerCase, row);
        serve();
        Program p(task("x") + task("a", kQuarter, row.repeat));
        at(10, 15);
        p.tick();
        QTRY_COMPARE(m_served->sent.size(), 1);
        f_test* rung = p.noteOf(2);
        if (row.meanwhile.startsWith("task")) {
            p.select(row.meanwhile == "task deleted" ? 2 : 1);
            p.click("Command3");
        } else if (row.meanwhile == "Ok") {
            rung->findChild<QPushButton*>("Command1")->click();
            rung->findChild<QPushButton*>("Command3")->click();
        } else if (row.meanwhile == "No alarm") {
            rung->findChild<QPushButton*>("Command2")->click();
        } else { // closed, after a change to its text or none
            QTest::keyClicks(rung->findChild<QWidget*>("Text2"),
                             row.meanwhile == "text changed" ? "!" : "");
            rung->close();
        }
        // A notice after any close: the server has heard everything before it.
        p.main->findChild<jot::Notices*>()->warning("sentinel");
        QTRY_COMPARE(m_served->sent.size(), 2);
        QCOMPARE(m_served->closedIds, row.action.isEmpty() ? QList<uint>{101} : QList<uint>());
        if (row.action.isEmpty())
            return;
        p.main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), p.main.get());
        at(10, 20);
        const bool snooze = row.action.startsWith("snooze");
        Q_EMIT m_served->ActionInvoked(101, row.action);
        QTRY_COMPARE(m_served->closedIds, QList<uint>{101});
        QCOMPARE(p.fileBytes(), row.file);
        f_test* note = p.noteOf(p.list().rows() - 1);
        QCOMPARE(note ? note->findChild<QLabel*>("Label1")->text().replace(u'\n', u' ') : "",
                 row.label);
        QCOMPARE(red(note), !snooze); // red till closed or snoozed
        if (!snooze)                  // in front
            QTRY_COMPARE(QApplication::activeWindow(), note);
    }

    // Without a tray the program waits, polling nothing, for a watcher's name on the bus.
    void trayComesOverDBus() {
        jot::setTrayAvailableForTests(false);
        Program p({}, true);
        QCoreApplication::processEvents();
        QVERIFY(p.main->isMinimized());
        jot::setTrayAvailableForTests(true);
        QDBusConnection tray = QDBusConnection::connectToBus(m_address, "tray");
        QVERIFY(tray.registerService("org.kde.StatusNotifierWatcher"));
        QTRY_VERIFY(p.main->findChild<QSystemTrayIcon*>()->isVisible() && !p.main->isVisible());
        QDBusConnection::disconnectFromBus("tray");
    }

    // On X11 a new tray announces itself to every client: the program, in a child on a private
    // X server (TrayArrival), waits in the tray and this test plays the panel's tray to it.
    void trayComesOverX11() {
        QProcess xvfb; // an X server of the test's own, never the user's display
        const QString name = ':' + startDaemon(xvfb, "Xvfb",
                                               {"-displayfd", "1", "-nolisten", "tcp", "-screen",
                                                "0", "640x480x24"});
        QVERIFY2(name != ":", "no private X server: scripts/test.sh installs Xvfb; " +
                                  xvfb.readAllStandardError());
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        startRole(child, {"--tray-arrival", "-platform", "xcb", "-display", name});
        QByteArray said;
        while (!said.contains("waiting\n") &&
               (child.canReadLine() || child.waitForReadyRead(20000)))
            said += child.readLine();
        const auto tray = announceTray(name);
        QVERIFY2(said.contains("waiting\n") && tray, said);
        child.closeWriteChannel(); // it may end now
        QVERIFY(child.waitForFinished(20000));
        said += child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, said);
    }
};

// Child of trayComesOverX11, on the xcb platform of a display without a tray.
class TrayArrival : public QObject {
    Q_OBJECT
    // What this program listens for on the root window.
    static quint32 rootEventMask() {
        xcb_connection_t* c =
            qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr);
        const quint32 mask = a ? a->your_event_mask : 0;
        free(a);
        return mask;
    }
private Q_SLOTS:
    // Started in the tray it waits minimised, polling nothing, and shows its icon once the
    // tray came; it ends once the test closes its input.
    void comesOverX11() {
        QCOMPARE(QGuiApplication::platformName(), "xcb");
        // The tray watch adds to what Qt listens for on the root window, never in its place.
        const quint32 before = rootEventMask();
        Program p({}, true);
        auto* notices = p.main->findChild<jot::Notices*>();
        QSignalSpy appeared(notices, &jot::Notices::trayAppeared);
        QCoreApplication::processEvents();
        QVERIFY(!notices->hasTray() && p.main->isMinimized());
        QCOMPARE(rootEventMask(), before | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        QVERIFY(before != 0);
        QTRY_VERIFY2(pollers().isEmpty(), qPrintable(pollers().join(", ")));
        say("waiting");
        QVERIFY(!appeared.isEmpty() || appeared.wait(10000));
        QVERIFY(notices->hasTray() && !p.main->isVisible());
        QFile in;
        QVERIFY(in.open(stdin, QIODevice::ReadOnly));
        in.readAll(); // till the test closes it
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    return mainWithRoles<QApplication, TstNotices>(argc, argv,
                                                   {{"--tray-arrival", [](int argc, char** argv) {
                                                         QApplication app(argc, argv);
                                                         TrayArrival child;
                                                         return QTest::qExec(&child, 1, argv);
                                                     }}});
}

#include "tst_notices.moc"
