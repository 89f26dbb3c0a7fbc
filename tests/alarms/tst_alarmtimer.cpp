#include "common/program.h"
#include "store/clock.h"

namespace {

QDateTime g_now;
const QByteArray kNine = "Monday 03/15 9:00 am";

QByteArray task(const QByteArray& text, const QByteArray& alarm = {}, const QByteArray& mark = {}) {
    return testing::record("Le 03/15 \xc3\xa0 08:00 am", text, alarm, mark);
}

struct Program : testing::Program {
    using testing::Program::Program;
    // A tick of the one-minute timer at hh:mm on Monday 03/15/2027.
    void tick(int h, int m) {
        g_now = QDateTime({2027, 3, 15}, {h, m, 30});
        testing::Program::tick();
    }
    bool red(int s) const { return note(s)->palette().color(QPalette::Window) == Qt::red; }
};

} // namespace

class TstAlarmTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testing::quietOffscreen();
        jot::setClockForTests([] { return g_now; });
    }

    // Ticks of Timer1 ('t') and runs of the clock watch ('w') at moments of the wall clock,
    // the program started at the first: the ones that bring up a 10:15 alarm ('R'), the saves
    // of the last, and when the tick after it comes.
    void ticks_data() {
        QTest::addColumn<QList<QDateTime>>("moments");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QString>("rings");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("nextMs");
        const auto row = [](const char* name, const QList<QDateTime>& moments, const char* kinds,
                            const char* rings, int writes, int nextMs, bool unsaved = false) {
            QTest::newRow(name) << moments << QString(kinds) << unsaved << QString(rings) << writes
                                << nextMs;
        };
        const auto at = [](int h, int m, int s, int day = 15) {
            return QDateTime({2027, 3, day}, {h, m, s});
        };
        row("quarter, pending edits", {at(10, 15, 30)}, "t", "R", 2, 30500, true);
        row("minute, nothing pending", {at(10, 16, 30)}, "t", "-", 0, 30500);
        row("late tick straddles 10:15", {at(10, 14, 59), at(10, 16, 0)}, "tt", "-R", 1, 60500);
        row("watch, clock running", {at(10, 14, 59), at(10, 15, 1)}, "tw", "--", 0, 1500);
        row("slept 10:14 to 10:47", {at(10, 14, 30), at(10, 47, 0)}, "tw", "-R", 1, 60500);
        row("set back 10:16 to 10:14, then forward",
            {at(10, 15, 30), at(10, 16, 30), at(10, 14, 30), at(10, 16, 10)}, "ttww", "R---", 1,
            50500);
        row("over midnight, yesterday's alarm", {at(23, 50, 30), at(0, 5, 30, 16)}, "tw", "-R", 1,
            30500);
    }
    void ticks() {
        QFETCH(QList<QDateTime>, moments);
        QFETCH(QString, kinds);
        QFETCH(bool, unsaved);
        QFETCH(QString, rings);
        QFETCH(int, writes);
        QFETCH(int, nextMs);
        g_now = moments.first();
        Program p(task("a", "Monday 03/15 10:15 am") + (unsaved ? task("b") : ""));
        if (unsaved) { // deleted, so that the next tick writes the list
            p.select(2);
            p.click("Command3");
        }
        QString rung;
        qsizetype saves = 0;
        for (qsizetype k = 0; k < moments.size(); ++k) {
            g_now = moments[k];
            p.saves->clear();
            p.testing::Program::tick(kinds[k] == u't' ? "Timer1" : "m_clockWatch");
            saves = p.saves->count();
            f_test* note = p.noteOf(1);
            rung += note && p.red(1) ? u'R' : u'-';
            if (note)
                note->close(); // so that a second ring would show
        }
        QCOMPARE(rung, rings);
        QCOMPARE(saves, writes);
        const int next = p.child<QTimer>("m_minuteStart")->remainingTime();
        QVERIFY2(next > nextMs - 250 && next <= nextMs, QByteArray::number(next));
    }

    // The tick set for just after the minute starts Timer1 for every minute after it.
    void ticksOnTheMinute() {
        g_now = QDateTime({2027, 3, 15}, {10, 14, 59, 800});
        Program p(task("a", "Monday 03/15 10:15 am"));
        g_now = QDateTime({2027, 3, 15}, {10, 15, 0, 500});
        QTRY_VERIFY_WITH_TIMEOUT(p.note(1), 2000);
        const auto* timer1 = p.child<QTimer>("Timer1");
        QVERIFY(timer1->isActive());
        QCOMPARE(timer1->interval(), 60000);
    }

    void dueAlarmsOpenRedNotesInRowOrder() {
        const QByteArray later = "Monday 03/15 11:00 am", quarter = "Monday 03/15 10:15 am";
        const QByteArray past = "Sunday 03/14 11:45 pm";
        Program p(task("a", kNine) + task("b", later) + task("c", past) + task("d", quarter));
        p.main->hide(); // in the tray all along
        p.tick(10, 15);
        const int rows[] = {0, 1, 3, 4}; // by slot
        for (int s = 1; s <= 3; ++s)
            QVERIFY(p.note(s)->row() == rows[s] && p.red(s));
        QCOMPARE(p.fileBytes(), task("a", kNine, "1") + task("b", later) + task("c", past, "1") +
                                    task("d", quarter, "1"));
    }

    void waitsForAFreeSlot() {
        Program p(testing::records(100) + task("the 101st", kNine));
        p.trigger("m_toutafficher");
        p.tick(10, 15);
        QVERIFY(!p.red(100)); // the last opened note belongs to another task
        p.note(7)->close();
        p.tick(10, 30);
        QCOMPARE(p.note(7)->row(), 101);
        QVERIFY(p.red(7));
        QVERIFY(p.fileBytes().endsWith(task("the 101st", kNine, "1")));
    }
};

QTEST_MAIN(TstAlarmTimer)
#include "tst_alarmtimer.moc"
