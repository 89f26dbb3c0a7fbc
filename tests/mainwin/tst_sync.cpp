// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "common/program.h"
#include "common/radicaleserver.h"
#include "common/table.h"
#include "mainwin/synccontroller.h"
#include "net/davtransport.h"
#include "store/clock.h"
#include "sync/passwordstore.h"
#include "sync/syncsettings.h"

#include <QtWidgets>
#include <csignal>
#include <unistd.h>

using testing::Program;

namespace {

// sync.conf as a user writes it, the command quoted as the README shows.
QByteArray syncConf(const RadicaleServer& server, const QByteArray& password) {
    return "[caldav]\nlist=" + server.list().toEncoded() +
           "\nuser=" + RadicaleServer::user().toUtf8() + "\npasswordCommand=\"sh -c \\\"echo " +
           password + "\\\"\"\n";
}

// An item as another client writes it.
QByteArray vtodo(const QByteArray& uid, const QByteArray& summary, const QByteArray& more = {}) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Another client//EN\r\nBEGIN:VTODO\r\nUID:" +
           uid + "\r\nDTSTAMP:20260301T080000Z\r\nCREATED:20260301T080000Z\r\nSUMMARY:" + summary +
           "\r\n" + more + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

jot::SyncController* syncOf(const Program& p) {
    return p.main->findChild<jot::SyncController*>();
}

// Waits for the round the timer's timeout or the action starts to end; without either, the
// round under way or about to start.
bool roundAfter(const Program& p, const char* start = nullptr) {
    QSignalSpy ended(syncOf(p), &jot::SyncController::roundEnded);
    if (start && p.child<QTimer>(start))
        p.tick(start);
    else if (start)
        p.trigger(start);
    return ended.wait(20000);
}

// A new task, row `row`, typed in its note, which saves it as it closes.
void typeNewTask(const Program& p, int row, const char* text) {
    p.click("Command1");
    QTest::keyClicks(p.noteOf(row)->findChild<QWidget*>("Text2"), text);
    p.noteOf(row)->close();
}

// The tasks' texts, sorted.
QStringList textsHere(const Program& p) {
    QStringList texts;
    for (int r = 1; r < p.list().rows(); ++r)
        if (!p.list().isPlaceholder(r))
            texts.append(p.list().cell(r, jot::ColText));
    texts.sort();
    return texts;
}

// The open items' summaries on the server, sorted.
QStringList textsThere(RadicaleServer& server) {
    QStringList texts;
    for (const QByteArray& ics : server.items()) {
        if (ics.contains("STATUS:COMPLETED") || ics.contains("STATUS:CANCELLED"))
            continue;
        const qsizetype at = ics.indexOf("SUMMARY:") + 8;
        texts.append(QString::fromUtf8(ics.mid(at, ics.indexOf("\r\n", at) - at)));
    }
    texts.sort();
    return texts;
}

// The child's role: the program on the test's data home syncs, and is killed (as by power
// loss) once as many answers as the argument says have come in.
int syncUntilKilled(int argc, char* argv[]) {
    QApplication app(argc, argv);
    testing::quietOffscreen();
    f_iir main;
    main.Form_Load();
    // Queued after the first round's start, which makes the transport; before any answer.
    QTimer::singleShot(0, [&main, answers = std::atoi(argv[2])] {
        QObject::connect(main.findChild<DavTransport*>(), &DavTransport::answered,
                         [answers, seen = 0]() mutable {
                             if (++seen == answers)
                                 ::kill(::getpid(), SIGKILL);
                         });
    });
    return app.exec();
}

// The rows of a test cut after each of the first answers.
void answersUpTo(int most) {
    QTest::addColumn<int>("answers");
    for (int n = 1; n <= most; ++n)
        QTest::addRow("after %d answers", n) << n;
}

// A row of bothWays: the item there edited, `from` made `to`; without `from`, another added.
struct ThereCase {
    QByteArray name, from, to;
    QStringList here;
};

} // namespace

class TstSync : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        SKIP_WITHOUT_RADICALE();
        m_server = std::make_unique<RadicaleServer>();
        QVERIFY2(m_server->start(), qPrintable(m_server->error()));
    }
    void cleanup() { m_server.reset(); }

    // A task typed here reaches the server after its save; what another client does there
    // comes here at the next round.
    void bothWays_data() {
        testing::table<ThereCase>({
            {"added there", {}, {}, {"Buy bread", "Call Anna"}},
            {"changed there", "SUMMARY:Call Anna", "SUMMARY:Call Anna at 5", {"Call Anna at 5"}},
            {"completed there", "END:VTODO", "STATUS:COMPLETED\r\nEND:VTODO", {}},
        });
    }
    void bothWays() {
        QFETCH(ThereCase, row);
        Program p({}, false, false, {}, syncConf(*m_server, "s3cret"));
        QVERIFY(roundAfter(p)); // the one at start
        QCOMPARE(p.main->findChild<QTimer*>("m_syncPeriodic")->interval(), 5 * 60 * 1000);
        typeNewTask(p, 1, "Call Anna");
        QVERIFY(p.child<QTimer>("m_syncAfterSave")->isActive());
        QVERIFY(roundAfter(p, "m_syncAfterSave"));
        QCOMPARE(textsThere(*m_server), QStringList{"Call Anna"});

        const QString name = row.from.isEmpty() ? "phone.ics" : m_server->items().firstKey();
        const QByteArray ics = row.from.isEmpty()
                                   ? vtodo("phone-1", "Buy bread")
                                   : m_server->items().first().replace(row.from, row.to);
        QCOMPARE(m_server->put(name, ics).status / 100, 2);
        p.show(1);
        const QPointer<f_test> note = p.noteOf(1);
        QVERIFY(roundAfter(p, "m_syncNow"));
        QCOMPARE(textsHere(p), row.here);
        // The note of a task that went or changed there closes, unsaved.
        QCOMPARE(note && note->isVisible(), textsHere(p).contains("Call Anna"));
        QCOMPARE(p.child<QLabel>("m_warning")->text(), QString());
        // And the list is saved with it.
        for (const QString& text : textsHere(p))
            QVERIFY(p.fileBytes().contains(text.toUtf8()));
    }

    // A rule only the server's copy can express: the task rings at its next occurrence, moves
    // on at the ring and says "As set elsewhere".
    void foreignRule() {
        QDateTime now({2026, 3, 9}, {8, 0});
        jot::setClockForTests([&now] { return now; });
        const auto realClock = qScopeGuard([] { jot::setClockForTests({}); });
        const QByteArray ics = vtodo("rule-1", "Water the plants",
                                     "DTSTART:20260310T090000\r\nDUE:20260310T090000\r\n"
                                     "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=TU\r\n");
        QCOMPARE(m_server->put("rule-1.ics", ics).status / 100, 2);
        Program p({}, false, false, {}, syncConf(*m_server, "s3cret"));
        QVERIFY(roundAfter(p));
        QCOMPARE(textsHere(p), QStringList{"Water the plants"});
        QCOMPARE(p.list().cell(1, jot::ColAlarm), jot::alarmTextAt({2026, 3, 10}, {9, 0}));
        p.show(1);
        QTest::mouseClick(p.noteOf(1)->findChild<QWidget*>("Command1"), Qt::LeftButton);
        QCOMPARE(p.noteOf(1)->findChild<QComboBox*>("Combo5")->currentText(),
                 QString("As set elsewhere"));
        p.noteOf(1)->close();

        now = QDateTime({2026, 3, 10}, {9, 1});
        p.tick();
        QCOMPARE(p.list().cell(1, jot::ColAlarm), jot::alarmTextAt({2026, 3, 24}, {9, 0}));
    }

    // Settings that cannot sync say why on the line, and nothing is tried again.
    void cannotSync() {
        for (const auto& [conf, said] :
             {std::pair<QByteArray, QString>{
                  "[caldav]\nlist=http://127.0.0.1:9/alice/tasks/\nuser=alice\n", "no password"},
              {"[caldav]\nlist=http://example.org/alice/tasks/\nuser=alice\npasswordCommand=x\n",
               "not an https address"}}) {
            Program p(testing::records(1), false, false, {}, conf);
            QTRY_VERIFY2(p.child<QLabel>("m_warning")->text().contains(said),
                         qPrintable(p.child<QLabel>("m_warning")->text()));
            QVERIFY(!p.main->findChild<QTimer*>("m_syncRetry")->isActive());
            QVERIFY(!p.main->findChild<DavTransport*>()->busy());
        }
    }

    // A refused password is said once and not retried until sync.conf changes, here to the
    // dialog's settings: no command, the password kept by the keyring or for this run. Then
    // Delete here completes the item, and Delete all every item; the server keeps them.
    void wrongPasswordThenDelete() {
        Program p(testing::records(3), false, false, {}, syncConf(*m_server, "wrong"));
        QSignalSpy notices(syncOf(p), &jot::SyncController::notice);
        QVERIFY(roundAfter(p));
        QVERIFY(p.child<QLabel>("m_warning")->text().startsWith("Not synced since "));
        QVERIFY(!p.main->findChild<QTimer*>("m_syncRetry")->isActive());
        QSignalSpy ended(syncOf(p), &jot::SyncController::roundEnded);
        p.tick("m_syncPeriodic");
        QVERIFY(!ended.wait(500)); // nothing asked of the server
        QCOMPARE(notices.size(), 1);
        const QString key = jot::sync::passwordKey(RadicaleServer::user(), m_server->list());
        jot::sync::keepForThisRun(key, "s3cret");
        const auto forget = qScopeGuard([&key] { jot::sync::forgetForThisRun(key); });
        testing::writeFile(p.home.path() + "/config/jotlark/sync.conf",
                           "[caldav]\nlist=" + m_server->list().toEncoded() + "\nuser=alice\n");
        QVERIFY(roundAfter(p, "m_syncPeriodic"));
        QCOMPARE(p.child<QLabel>("m_warning")->text(), QString());
        QCOMPARE(textsThere(*m_server), (QStringList{"task 1", "task 2", "task 3"}));
        jot::setMessageResponderForTests([](QMessageBox&) { return QMessageBox::Yes; });
        p.select(1);
        p.click("Command3");
        p.tick();
        QVERIFY(roundAfter(p, "m_syncNow"));
        QCOMPARE(textsThere(*m_server), (QStringList{"task 2", "task 3"}));
        p.trigger("m_reinit");
        p.tick();
        QVERIFY(roundAfter(p, "m_syncNow"));
        QCOMPARE(textsThere(*m_server), QStringList{});
        QCOMPARE(m_server->items().size(), 3);
    }

    // The server stops after an answer of the round: the line says so and the changes wait;
    // the retry, once it is back, takes them without doubling any.
    void serverStopped_data() { answersUpTo(3); }
    void serverStopped() {
        QFETCH(int, answers);
        Program p(testing::records(3), false, false, {}, syncConf(*m_server, "s3cret"));
        QTest::qWait(0); // the transport is made as the first round starts
        connect(p.main->findChild<DavTransport*>(), &DavTransport::answered, this,
                [&, seen = 0]() mutable {
                    if (++seen == answers)
                        m_server->stop();
                });
        QVERIFY(roundAfter(p));
        // The three tasks wait, or those of them the server has not taken yet.
        const QString line = p.child<QLabel>("m_warning")->text();
        QVERIFY2(line.startsWith("Not synced since ") && line.contains(" changes waiting)"),
                 qPrintable(line));
        QVERIFY(p.main->findChild<QTimer*>("m_syncRetry")->isActive());
        QCOMPARE(p.main->findChild<QTimer*>("m_syncRetry")->interval(), 60 * 1000);
        QVERIFY(m_server->start());
        QVERIFY(roundAfter(p, "m_syncRetry"));
        QCOMPARE(p.child<QLabel>("m_warning")->text(), QString());
        QCOMPARE(textsThere(*m_server), (QStringList{"task 1", "task 2", "task 3"}));
        QCOMPARE(m_server->items().size(), 3);
    }

    // Killed after n answers of its first round, the program starts again: nothing lost or
    // doubled on either side.
    void killed_data() { answersUpTo(5); }
    void killed() {
        QFETCH(int, answers);
        TempDataHome home;
        testing::writeFile(home.taskFile(), testing::records(3));
        testing::writeFile(home.path() + "/config/jotlark/sync.conf",
                           syncConf(*m_server, "s3cret"));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        testing::startRole(child, {"--sync-until-killed", QString::number(answers)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        // The next start, on the same data, settings and state, moved into a home of its
        // own: the state goes under the new data folder's name. Read at the first round, once
        // the event loop runs.
        const QString state = jot::sync::syncStateDir(home.dataDir());
        Program p(testing::readFile(home.taskFile()), false, false, {},
                  testing::readFile(home.path() + "/config/jotlark/sync.conf"));
        const QString moved = jot::sync::syncStateDir(p.home.dataDir());
        QVERIFY(QDir().mkpath(moved));
        for (const QString& name : QDir(state).entryList(QDir::Files | QDir::Hidden))
            QVERIFY(QFile::copy(state + '/' + name, moved + '/' + name));
        QVERIFY(roundAfter(p));
        const QStringList all{"task 1", "task 2", "task 3"};
        QCOMPARE(textsHere(p), all);
        QCOMPARE(textsThere(*m_server), all);
        QCOMPARE(m_server->items().size(), 3);
    }

    // Two programs on one planifs.txt, which a sync tool carries between them, sync one list:
    // their creations meet on the server, and a task typed on one reaches the other both ways
    // without doubling.
    void sharedTaskFile() {
        Program first(testing::records(2), false, false, {}, syncConf(*m_server, "s3cret"));
        Program second(testing::records(2), false, false, {}, syncConf(*m_server, "s3cret"));
        QSignalSpy firstEnded(syncOf(first), &jot::SyncController::roundEnded);
        QSignalSpy secondEnded(syncOf(second), &jot::SyncController::roundEnded);
        QTRY_VERIFY_WITH_TIMEOUT(firstEnded.size() == 1 && secondEnded.size() == 1, 20000);
        QCOMPARE(m_server->items().size(), 2);
        typeNewTask(first, 3, "typed on the first");
        QVERIFY(roundAfter(first, "m_syncAfterSave"));
        QVERIFY(testing::writeFile(second.home.taskFile(), first.fileBytes()));
        second.tick(); // merges the file and saves
        QVERIFY(roundAfter(second, "m_syncNow"));
        QVERIFY(roundAfter(first, "m_syncNow"));
        const QStringList all{"task 1", "task 2", "typed on the first"};
        QCOMPARE(textsHere(first), all);
        QCOMPARE(textsHere(second), all);
        QCOMPARE(textsThere(*m_server), all);
        QCOMPARE(m_server->items().size(), 3);
    }

    // A state lost (a new machine, a cleaned home): the tasks link to their items again.
    void lostState() {
        QByteArray file;
        {
            Program first(testing::records(2), false, false, {}, syncConf(*m_server, "s3cret"));
            QVERIFY(roundAfter(first));
            file = first.fileBytes();
        }
        Program again(file, false, false, {}, syncConf(*m_server, "s3cret"));
        QVERIFY(roundAfter(again));
        QCOMPARE(textsHere(again), (QStringList{"task 1", "task 2"}));
        QCOMPARE(m_server->items().size(), 2);
    }

private:
    std::unique_ptr<RadicaleServer> m_server;
};

int main(int argc, char* argv[]) {
    return testing::mainWithRoles<QApplication, TstSync>(
        argc, argv, {{"--sync-until-killed", syncUntilKilled}});
}

#include "tst_sync.moc"
