// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "common/table.h"
#include "store/clock.h"

#include <QRandomGenerator>

using testing::fakeNow;
using testing::red;
using testing::task;

namespace {

const QByteArray kNine = "Monday 03/15 9:00 am", kHalf = "Monday 03/15 9:30 am",
                 kQuarter = "Monday 03/15 10:15 am";
const QByteArray k1145 = task("a", "Monday 03/15 11:45 pm");

} // namespace

struct TickCase {
    QByteArray name;
    QList<QDateTime> moments;
    QString events;
    int writes;
    QByteArray file = task("a", kQuarter);
};

class TstAlarmTimer : public QObject {
    Q_OBJECT
    static QDateTime at(int h, int m, int s = 30, int d = 15) { return {{2027, 3, d}, {h, m, s}}; }
    // A tick of Timer1 ('t'), of the timer set on the minute ('m'), or a clock change ('w').
    static void happen(const testing::Program& p, char event) {
        if (event == 'w')
            QMetaObject::invokeMethod(p.child<QObject>("m_clockWatch"), "clockChanged");
        else
            p.tick(event == 't' ? "Timer1" : "m_minuteStart");
    }
    // Whether the timer running now comes in the first second of a minute of the wall clock
    // (half a second in), within a minute; a busy machine's timers run a little behind.
    static bool nextTickOnTheMinute(const testing::Program& p) {
        auto* timer =
            p.child<QTimer>(p.child<QTimer>("Timer1")->isActive() ? "Timer1" : "m_minuteStart");
        const int left = timer->remainingTime();
        const int inMinute = (fakeNow.time().msecsSinceStartOfDay() + left + 1000) % 60000;
        return timer->isActive() && left <= 60500 && inMinute > 600 && inMinute <= 1500;
    }

private Q_SLOTS:
    void initTestCase() {
        testing::quietOffscreen();
        testing::useFakeClock();
    }

    // The program started at the first moment ('s'), then ticks of Timer1 ('t'), clock
    // changes told by the kernel ('w'), the timer set on the minute starting Timer1 ('m'),
    // and "Ok" pressed in the note ('o'), at moments of the wall clock; in capitals those that
    // bring up the task's alarm. Then the saves of the last; the next tick on the minute (by
    // Timer1 once the minute timer started it).
    void ticks_data() {
        const QByteArray tenTen = task("a", "Monday 03/15 10:10 am");
        testing::table<TickCase>(
            {{"back and forth", {at(10, 15), at(10, 16), at(10, 14), at(10, 16, 10)}, "Stww", 1},
             {"yesterday's, over midnight", {at(23, 44), at(0, 5, 30, 16)}, "sW", 1, k1145},
             // Missed while not running: rings at the start, in a quarter-hour minute or not.
             {"started at 10:31", {at(10, 31)}, "S", 1},
             {"started at 10:15:30", {at(10, 15)}, "S", 1},
             // Checked at every tick: set at 10:07 for 9:00, it rings at 10:08; a 10:10 alarm
             // (from a calendar) rings at 10:10, and a tick between quarter hours writes only
             // when one rang.
             {"set at 10:07 for 9:00",
              {at(10, 7), at(10, 7, 40), at(10, 8, 0), at(10, 15, 0)},
              "soTt",
              1,
              task("a", kNine, "1")},
             {"the minute timer starts Timer1", {at(10, 14), at(10, 15, 0).addMSecs(500)}, "sM", 1},
             {"10:10, tick at 10:09", {at(10, 0), at(10, 9, 0)}, "st", 0, tenTen},
             {"10:10, tick at 10:10", {at(10, 0), at(10, 9, 0), at(10, 10, 0)}, "stT", 1, tenTen}});
    }
    void ticks() {
        QFETCH(TickCase, row);
        fakeNow = row.moments.first();
        testing::Program p(row.file);
        p.main->hide(); // in the tray all along: no note waits for the main window
        QCoreApplication::processEvents(); // the check at start
        QString seen;
        for (qsizetype k = 0; k < row.moments.size(); ++k) {
            const QChar event = row.events[k].toLower();
            if (k > 0) {
                if (f_test* note = p.noteOf(1))
                    note->close(); // so that a second ring would show
                fakeNow = row.moments[k];
                p.saves->clear();
            }
            if (event == u'o') {
                p.show(1);
                p.noteOf(1)->findChild<QPushButton*>("Command1")->click();
                p.noteOf(1)->findChild<QPushButton*>("Command3")->click();
                p.noteOf(1)->close();
            } else if (event != u's') {
                happen(p, event.toLatin1());
            }
            seen += red(p.noteOf(1)) ? event.toUpper() : event;
        }
        QCOMPARE(seen, row.events);
        QCOMPARE(p.saves->count(), row.writes);
        QVERIFY(nextTickOnTheMinute(p));
        QVERIFY(!row.events.endsWith(u'M') || p.child<QTimer>("Timer1")->isActive());
    }

    // Seeded random walks of ticks, wake-ups, the minute timer and clock steps of a second to
    // an hour either way: a one-time alarm rings once, at the first moment past it, and the
    // next tick always comes in a minute's first second.
    void randomWalk() {
        QRandomGenerator random(35);
        const QDateTime alarm = at(9, 30, 0);
        for (int walk = 0; walk < 12; ++walk) {
            fakeNow = alarm.addSecs(-random.bounded(1, 3600));
            testing::Program p(task("a", kHalf));
            QCoreApplication::processEvents();
            QString trail = "start " + fakeNow.toString("HH:mm:ss");
            bool rung = false;
            for (int k = 0; k < 40; ++k) {
                if (f_test* note = p.noteOf(1))
                    note->close();
                const int step = random.bounded(2)
                                     ? random.bounded(55, 66)
                                     : (random.bounded(2) ? 1 : -1) * random.bounded(1, 3601);
                fakeNow = fakeNow.addSecs(step).addMSecs(random.bounded(1000) - 500);
                const char event = "twm"[random.bounded(3)];
                happen(p, event);
                trail += fakeNow.toString(QStringLiteral(", %1 HH:mm:ss.zzz")).arg(event);
                const bool rings = !rung && fakeNow >= alarm;
                QVERIFY2(red(p.noteOf(1)) == rings, qPrintable(trail));
                QVERIFY2(nextTickOnTheMinute(p), qPrintable(trail));
                rung = rung || rings;
            }
        }
    }

    // With every slot taken, a due alarm stays unfired until a slot is free.
    void waitsForAFreeSlot() {
        fakeNow = at(8, 14);
        testing::Program p(testing::records(100) + task("the 101st", kNine));
        p.trigger("m_toutafficher");
        fakeNow = at(10, 15);
        p.tick();
        p.note(7)->close();
        fakeNow = at(10, 30);
        p.tick();
        QVERIFY(red(p.note(7)) && p.note(7)->row() == 101);
        QVERIFY(p.fileBytes().endsWith(task("the 101st", kNine, "1")));
    }
};

QTEST_MAIN(TstAlarmTimer)
#include "tst_alarmtimer.moc"
