// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "store/clock.h"

using testing::red;
using testing::task;

namespace {

QDateTime g_now;
const QByteArray kNine = "Monday 03/15 9:00 am", kHalf = "Monday 03/15 9:30 am",
                 kQuarter = "Monday 03/15 10:15 am";

} // namespace

class TstAlarmTimer : public QObject {
    Q_OBJECT
    QDateTime at(int h, int m, int s = 30, int day = 15) { return {{2027, 3, day}, {h, m, s}}; }

private Q_SLOTS:
    void initTestCase() {
        testing::quietOffscreen();
        jot::setClockForTests([] { return g_now; });
    }

    // The program started at the first moment ('s'), then ticks of Timer1 ('t'), clock
    // changes told by the kernel ('w'), the timer set on the minute starting Timer1 ('m'),
    // and "Ok" pressed in the note ('o'), at moments of the wall clock; in capitals those that
    // bring up the task's alarm. Then the saves of the last, and when the tick after it comes.
    void ticks_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<QDateTime>>("moments");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("nextMs");
        const auto row = [](const char* name, const QList<QDateTime>& moments, const char* events,
                            int writes, int nextMs, const QByteArray& file = task("a", kQuarter)) {
            QTest::newRow(name) << file << moments << QString(events) << writes << nextMs;
        };
        row("late tick straddles 10:15", {at(10, 14, 59), at(10, 16, 0)}, "sT", 1, 60500);
        row("slept 10:14 to 10:47", {at(10, 14), at(10, 47, 0)}, "sW", 1, 60500);
        row("set back 10:16 to 10:14, then forward",
            {at(10, 15), at(10, 16), at(10, 14), at(10, 16, 10)}, "Stww", 1, 50500);
        row("yesterday's alarm over midnight", {at(23, 44), at(0, 5, 30, 16)}, "sW", 1, 30500,
            task("a", "Monday 03/15 11:45 pm"));
        // Missed while not running: rings at the start, in a quarter-hour minute or not.
        row("started at 10:31", {at(10, 31)}, "S", 1, 30500);
        row("started at 10:15:30", {at(10, 15)}, "S", 1, 30500);
        // Checked at every tick: set at 10:07 for 9:00, it rings at 10:08; a 10:10 alarm (from a
        // calendar) rings at 10:10, and a tick between quarter hours writes only when one rang.
        row("set at 10:07 for 9:00", {at(10, 7), at(10, 7, 40), at(10, 8, 0), at(10, 15, 0)},
            "soTt", 1, 60500, task("a", kNine, "1"));
        const QByteArray tenTen = task("a", "Monday 03/15 10:10 am");
        row("10:10 alarm, tick at 10:09", {at(10, 0), at(10, 9, 0)}, "st", 0, 60500, tenTen);
        row("10:10 alarm, tick at 10:10", {at(10, 0), at(10, 9, 0), at(10, 10, 0)}, "stT", 1, 60500,
            tenTen);
        // A drifted Timer1 is set on the minute again.
        row("Timer1 drifted",
            {at(10, 13, 59).addMSecs(500), at(10, 14, 0).addMSecs(500),
             at(10, 14, 20).addMSecs(500)},
            "smt", 0, 40000);
        // Clock steps over 9:30 either way: forward it rings at once, back it never rings
        // twice; either way the tick comes on the minute again.
        for (const int step : {20, 80, 200}) {
            const QDateTime before = at(9, 30, 0).addSecs(-step / 2 - 5);
            const QByteArray n = QByteArray::number(step);
            const QList<QDateTime> forward{before, before.addSecs(step)};
            row("forward " + n + " s", forward, "sW", 1, 60500 - forward[1].time().second() * 1000,
                task("a", kHalf));
            const QList<QDateTime> back{before.addSecs(step), before};
            row("back " + n + " s", back, "Sw", 0, 60500 - before.time().second() * 1000,
                task("a", kHalf));
        }
    }
    void ticks() {
        QFETCH(QByteArray, file);
        QFETCH(QList<QDateTime>, moments);
        QFETCH(QString, events);
        QFETCH(int, writes);
        QFETCH(int, nextMs);
        g_now = moments.first();
        testing::Program p(file);
        QCoreApplication::processEvents(); // the check at start
        QString seen;
        for (qsizetype k = 0; k < moments.size(); ++k) {
            const QChar event = events[k].toLower();
            if (k > 0) {
                if (f_test* note = p.noteOf(1))
                    note->close(); // so that a second ring would show
                g_now = moments[k];
                p.saves->clear();
            }
            if (event == u'o') {
                p.show(1);
                p.noteOf(1)->findChild<QPushButton*>("Command1")->click();
                p.noteOf(1)->findChild<QPushButton*>("Command3")->click();
                p.noteOf(1)->close();
            } else if (event == u'w') {
                QMetaObject::invokeMethod(p.child<QObject>("m_clockWatch"), "clockChanged");
            } else if (event != u's') {
                p.tick(event == u't' ? "Timer1" : "m_minuteStart");
            }
            seen += red(p.noteOf(1)) ? event.toUpper() : event;
        }
        QCOMPARE(seen, events);
        QCOMPARE(p.saves->count(), writes);
        const int next = p.child<QTimer>("m_minuteStart")->remainingTime();
        QVERIFY2(next > nextMs - 900 && next <= nextMs, QByteArray::number(next)); // a busy machine
    }

    // The tick set for just after the minute starts Timer1 for every minute after it.
    void ticksOnTheMinute() {
        g_now = at(10, 14, 59).addMSecs(800);
        testing::Program p(task("a", kQuarter));
        QCoreApplication::processEvents(); // the check at start finds nothing due
        g_now = at(10, 15, 0).addMSecs(500);
        QTRY_VERIFY_WITH_TIMEOUT(p.note(1), 10000);
        QVERIFY(p.child<QTimer>("Timer1")->isActive());
        QCOMPARE(p.child<QTimer>("Timer1")->interval(), 60000);
    }

    // At a quarter hour every due alarm, of today or a day before, comes up in red, by rows,
    // and is marked fired; a later one waits. No note waits for the main window.
    void dueAlarmsOpenRedNotesInRowOrder() {
        const QByteArray later = "Monday 03/15 11:00 am", past = "Sunday 03/14 11:45 pm",
                         weeksAgo = "Monday 03/01 9:00 am";
        g_now = at(10, 14);
        testing::Program p(task("a", kNine) + task("b", later) + task("c", past) +
                           task("d", weeksAgo, "daily"));
        p.main->hide(); // in the tray all along
        g_now = at(10, 15);
        p.tick();
        QVERIFY(red(p.note(1)) && p.note(1)->row() == 1 && red(p.note(2)) && p.note(2)->row() == 3);
        // A repeating one missed for two weeks rings once and moves on past now.
        QVERIFY(red(p.note(3)) && p.note(3)->row() == 4);
        QCOMPARE(p.fileBytes(), task("a", kNine, "1") + task("b", later) + task("c", past, "1") +
                                    task("d", "Tuesday 03/16 9:00 am", "daily"));
    }

    // With every slot taken, a due alarm stays unfired until a slot is free.
    void waitsForAFreeSlot() {
        g_now = at(8, 14);
        testing::Program p(testing::records(100) + task("the 101st", kNine));
        p.trigger("m_toutafficher");
        g_now = at(10, 15);
        p.tick();
        p.note(7)->close();
        g_now = at(10, 30);
        p.tick();
        QVERIFY(red(p.note(7)) && p.note(7)->row() == 101);
        QVERIFY(p.fileBytes().endsWith(task("the 101st", kNine, "1")));
    }
};

QTEST_MAIN(TstAlarmTimer)
#include "tst_alarmtimer.moc"
