// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "alarms/clockwatch.h"
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "alarms/snooze.h"
#include "alarms/ticks.h"
#include "common/table.h"
#include "layout/noteplaces.h"
#include "layout/placement.h"
#include "report/report.h"
#include "store/clock.h"
#include "store/datadir.h"

#include <QRandomGenerator>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/timex.h>
#include <unistd.h>

using namespace jot;

struct DueCase {
    QByteArray name;
    QTime time;
    QString alarm;
    bool due;
    QDate day = {2027, 3, 15};
    QDate date = {}; // the alarm's, when checked
};
struct SnoozeCase {
    QByteArray name;
    int day;
    QTime time;
    QString alarm;
    Snooze how = Snooze::Short;
};
struct ShownCase {
    QByteArray name; // the locale's, first
    QString alarm, field, shown;
};
struct NextCase { // the rule as stored; its own occurrence, a moment after, the next ringing
    QByteArray name, zone;
    QString rule;
    QDateTime own, after, rings;
};
struct MoveCase {
    QByteArray name, zone;
    QString alarm, field;
    QDateTime now;
    QString movedAlarm, movedField;
};
struct CellCase {
    QByteArray name;
    QRect pixels;
    int slot;
    QPoint cell;
    QPointF scale = {15, 15}; // twips per pixel, across and down
};
struct ReportCase {
    QByteArray name;
    QStringList tasks, lines; // text and alarm of each task in turn; the lines after the header
};

namespace {

void setZone(const QByteArray& zone) {
    qputenv("TZ", zone);
    ::tzset();
}

QDateTime at(int y, int m, int d, int h, int n) {
    return QDateTime(QDate(y, m, d), QTime(h, n));
}

// Whether `d` is an occurrence of the rule whose own occurrence is `date`, said without the
// code's search: the day of month or year a shorter month or year lacks falls on its last day.
bool occurs(const RepeatRule& rule, const QDate& date, const QDate& d) {
    const auto clamped = [&](int day) { return qMin(day, d.daysInMonth()); };
    switch (rule.repeat) {
    case Repeat::Never:
        return false;
    case Repeat::Daily:
        return true;
    case Repeat::Weekdays:
        return d.dayOfWeek() <= 5;
    case Repeat::Weekly:
        return date.daysTo(d) % 7 == 0;
    case Repeat::Monthly:
        return d.day() == clamped(rule.monthDay ? rule.monthDay : date.day());
    case Repeat::Yearly:
        return d.month() == date.month() && d.day() == clamped(rule.leapDay ? 29 : date.day());
    }
    return false;
}

} // namespace

// The core's rules: when alarms fall due and repeat, the quarter hour a snooze picks, when
// Timer1 ticks, where notes land, and the report. Monday 03/15/2027 unless said otherwise.
class TstCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { setZone("UTC"); }

    void isDue_data() {
        testing::table<DueCase>(
            {{"12 pm at noon", {12, 0}, "Monday 03/15 12:00 pm", true},
             {"12 pm at 11:45", {11, 45}, "Monday 03/15 12:00 pm", false},
             {"0 00 am, first check of its day", {0, 0}, "Monday 03/15 0:00 am", true},
             // Only month and day count: weekday names, of one word or more, are the locale's.
             {"earlier today, in Welsh", {10, 15}, "Dydd Llun 03/15 9:00 am", true},
             // Ties go to the date behind; a leap day is looked for four years either way.
             {"tie: 01/01 behind", {0, 0}, "Saturday 01/01 9:00 am", true, {2028, 7, 2}},
             {"leap day 4 years behind", {10, 0}, "Wednesday 02/29 9:00 am", true, {2100, 1, 1}},
             {"leap day 4 years ahead", {10, 0}, "Friday 02/29 9:00 am", false, {2100, 6, 1}}});
        // No year is named: the weekday places it, so that an alarm for next December is not
        // taken in March for last December's and rung at once.
        const auto year = [](const char* name, const char* alarm, bool due, QDate day, QDate is) {
            testing::addRow(DueCase{name, {10, 0}, alarm, due, day, is});
        };
        year("next December", "Wednesday 12/02 9:00 am", false, {2026, 3, 15}, {2026, 12, 2});
        year("last December", "Tuesday 12/02 9:00 am", true, {2026, 3, 15}, {2025, 12, 2});
        year("year end, behind", "Thursday 01/01 9:00 am", true, {2026, 12, 31}, {2026, 1, 1});
        year("year end, ahead", "Friday 01/01 9:00 am", false, {2026, 12, 31}, {2027, 1, 1});
        year("no year near: nearest", "Thursday 02/29 9:00 am", false, {2026, 6, 1}, {2028, 2, 29});
        year("02/29 six years ahead", "Sunday 02/29 9:00 am", false, {2026, 6, 1}, {2032, 2, 29});
        year("French: nearest", "Mercredi 12/02 9:00 am", true, {2026, 3, 15}, {2025, 12, 2});
        for (const char* text : {"garbage", "Monday 03/15 13:00 am", "Monday 02/30 9:00 am"})
            testing::addRow(DueCase{text, {23, 45}, text, false});
    }
    void isDue() {
        QFETCH(DueCase, row);
        QCOMPARE(jot::isDue(row.alarm, {}, QDateTime(row.day, row.time)), row.due);
        QVERIFY(row.date.isNull() || alarmMoment(row.alarm, row.day).date == row.date);
    }

    // Snooze: 10 minutes or an hour after the answer's minute, as the alarm editor writes it.
    // 2026-03-15 is a Sunday; the day list of a note opened that day ends on 03/30.
    void snooze_data() {
        const Snooze hour = Snooze::Hour;
        testing::table<SnoozeCase>(
            {{"seconds dropped; noon reads 12 am", 15, {11, 50, 59}, "Sunday 03/15 12:00 am"},
             {"to pm", 15, {12, 53}, "Sunday 03/15 1:03 pm"},
             {"across midnight", 15, {23, 50}, "Monday 03/16 0:00 am"},
             {"end of the 16 days", 30, {23, 58}, "Tuesday 03/31 0:08 am"},
             {"an hour, 999 ms", 15, {10, 14, 59, 999}, "Sunday 03/15 11:14 am", hour},
             {"an hour, across midnight", 15, {23, 1}, "Monday 03/16 0:01 am", hour}});
    }
    void snooze() {
        QFETCH(SnoozeCase, row);
        const QDateTime chosen({2026, 3, row.day}, row.time);
        QCOMPARE(snoozeAlarm(chosen, row.how), row.alarm);
        // The editor opened at that moment offers the day, and the alarm rings then, not before.
        QVERIFY(dayList(chosen.date()).contains(decouper_alarme(row.alarm).day));
        const QDateTime at = snoozeTime(chosen, row.how);
        QVERIFY(jot::isDue(row.alarm, {}, at) && !jot::isDue(row.alarm, {}, at.addSecs(-60)));
    }

    // An alarm as each locale writes it (its formats, not its words: no translation here),
    // seen on Saturday 12/05/2026; a text that cannot be read stays as stored.
    void shown_data() {
        testing::table<ShownCase>(
            {{"en_US", "Monday 12/07 4:15 pm", "", "Monday 12/07 4:15 pm"},
             {"en_US noon", "Monday 12/07 12:00 am", "weekly", "Monday 12/07 12:00 pm, every week"},
             {"en_US next year", "Friday 01/01 0:05 am", "", "Friday 01/01/2027 12:05 am"},
             {"fr_FR", "lundi 12/07 4:00 pm", "", "lundi 07/12 16:00"},
             {"fr_FR from English", "Monday 12/07 9:00 am", "", "lundi 07/12 09:00"},
             {"de_DE daily", "Montag 12/07 4:15 pm", "daily", "Montag, 07.12. 16:15, every day"},
             {"de_DE next year", "Freitag 01/01 0:05 am", "", "Freitag, 01.01.2027 00:05"},
             {"en_GB", "Monday 12/07 0:00 am", "", "Monday, 07/12 00:00"},
             {"de_DE unreadable", "Montag 12/07 16:15", "", "Montag 12/07 16:15"}});
    }
    void shown() {
        QFETCH(ShownCase, row);
        const QLocale before;
        QLocale::setDefault(QLocale(QString::fromLatin1(row.name.left(5))));
        const QString shown = alarmDisplay(row.alarm, row.field, {2026, 12, 5});
        QLocale::setDefault(before);
        QCOMPARE(shown, row.shown);
    }

    // The tick comes half a second after the next minute begins; a timer counts as on the
    // minute when it comes in that minute's first second, never before it.
    void nextMinute() {
        const QDateTime now({2027, 3, 15}, {10, 14, 59, 800});
        QCOMPARE(msToNextMinute(now), 700);
        for (int late : {0, 1, 1000, 1001})
            QCOMPARE(tickOnTheMinute(200 + late, now), late == 1 || late == 1000);
    }

    // The cases people report; random rules, starts and zones check the rest below.
    void next_data() {
        testing::table<NextCase>(
            {{"weekdays, Thursday to Friday", "UTC", "weekdays", at(2026, 12, 10, 9, 0),
              at(2026, 12, 10, 9, 0), at(2026, 12, 11, 9, 0)},
             {"monthly, back to the 29th", "UTC", "monthly@29", at(2027, 2, 28, 9, 0),
              at(2027, 2, 28, 9, 0), at(2027, 3, 29, 9, 0)},
             // Spring: 02:00 becomes 03:00; autumn: 02:30 comes twice and rings the first time.
             {"Paris, into the gap", "Europe/Paris", "daily", at(2027, 3, 27, 2, 30),
              at(2027, 3, 27, 2, 30), at(2027, 3, 28, 3, 0)},
             {"Paris, past the gap", "Europe/Paris", "daily", at(2027, 3, 28, 2, 30),
              at(2027, 3, 28, 3, 0), at(2027, 3, 29, 2, 30)},
             {"Paris, autumn", "Europe/Paris", "weekly", at(2027, 10, 24, 2, 30),
              at(2027, 10, 24, 2, 30), at(2027, 10, 31, 2, 30)}});
    }
    void next() {
        QFETCH(NextCase, row);
        setZone(row.zone);
        const QDateTime after(row.after.date(), row.after.time()); // in the zone set now
        const QDate date =
            nextOccurrence(parseRepeat(row.rule), row.own.date(), row.own.time(), after);
        QCOMPARE(ringingMoment(date, row.own.time()),
                 QDateTime(row.rings.date(), row.rings.time()));
    }

    // For random rules, own occurrences and moments after them: the next occurrence is one of
    // the rule's, rings after the moment, and no occurrence between rings after it.
    void nextProperty() {
        QRandomGenerator random(35);
        for (int i = 0; i < 2000; ++i) {
            setZone(i % 2 ? "Europe/Paris" : "UTC");
            RepeatRule rule;
            rule.repeat = Repeat(1 + random.bounded(5));
            QDate date = QDate(2026, 1, 1).addDays(random.bounded(3000));
            if (rule.repeat == Repeat::Monthly && random.bounded(2)) {
                rule.monthDay = 29 + random.bounded(3);
                date.setDate(date.year(), date.month(), qMin(rule.monthDay, date.daysInMonth()));
            } else if (rule.repeat == Repeat::Yearly && random.bounded(2)) {
                rule.leapDay = true;
                date.setDate(date.year(), 2, QDate::isLeapYear(date.year()) ? 29 : 28);
            }
            const QTime time(random.bounded(24), random.bounded(60));
            const QDateTime after = QDateTime(date, time).addSecs(random.bounded(400 * 24 * 3600));
            const QDate next = nextOccurrence(rule, date, time, after);
            const QString what = QStringLiteral("%1 from %2 %3 after %4: ")
                                     .arg(repeatField(rule), date.toString(Qt::ISODate),
                                          time.toString(), after.toString(Qt::ISODate));
            QVERIFY2(next > date && occurs(rule, date, next) && ringingMoment(next, time) > after,
                     qPrintable(what + next.toString(Qt::ISODate)));
            for (QDate d = qMax(date.addDays(1), after.date().addDays(-1)); d < next;
                 d = d.addDays(1))
                QVERIFY2(!occurs(rule, date, d) || ringingMoment(d, time) <= after,
                         qPrintable(what + d.toString(Qt::ISODate)));
        }
    }

    // A due repeating alarm moves on from its own occurrence, not from a snoozed time, and
    // keeps its own time where local time skips it.
    void moveOn_data() {
        testing::table<MoveCase>(
            {{"snoozed: back to its own time", "UTC", "Monday 12/14 9:10 am",
              "daily@2026-12-14T09:00", at(2026, 12, 14, 9, 10), "Tuesday 12/15 9:00 am", "daily"},
             {"into the gap: its time kept", "Europe/Paris", "Saturday 03/27 2:30 am", "daily",
              at(2027, 3, 27, 2, 30), "Sunday 03/28 3:00 am", "daily@2027-03-28T02:30"},
             {"past the gap: its time again", "Europe/Paris", "Sunday 03/28 3:00 am",
              "daily@2027-03-28T02:30", at(2027, 3, 28, 3, 0), "Monday 03/29 2:30 am", "daily"}});
    }
    void moveOn() {
        QFETCH(MoveCase, row);
        setZone(row.zone);
        TaskList list;
        list.setRows({{"Le 12/01 à 09:00 am", "t", row.alarm, QString(), row.field}});
        jot::moveOn(list, 1, QDateTime(row.now.date(), row.now.time()));
        QCOMPARE(list.cell(1, ColAlarm), row.movedAlarm);
        QCOMPARE(list.cell(1, ColFired), row.movedField);
    }

    // Where a slot's note lands in the measured work area, in twips: six cells a column,
    // filled upward from the bottom right.
    void cell_data() {
        testing::table<CellCase>(
            {{"slot 8, second column, second cell", {0, 0, 1024, 738}, 8, {5430, 7710}},
             {"panel on the left, held at its edge", {48, 0, 976, 738}, 13, {720, 9390}},
             {"lower than a cell, held at the top", {0, 20, 1024, 100}, 2, {5430, 300}},
             {"halves to even", {-3, 5, 1365, 1023}, 1, {5251, 11170}, {7.5, 12.5}}});
    }
    void cell() {
        QFETCH(CellCase, row);
        QCOMPARE(cellOf(mesurer_bureau(row.pixels, row.scale.x(), row.scale.y()), row.slot),
                 row.cell);
    }

    // The state file gives back what was written, texts of many lines and entries alike
    // included, in the state folder under the lock's name for the data directory. Each task
    // takes a kept entry by creation stamp and text, the nth of equal tasks the nth of equal
    // entries.
    void notePlaces() {
        QTemporaryDir dir;
        qputenv("XDG_STATE_HOME", dir.path().toLocal8Bit());
        const QString path = notePlacesPath(dir.path());
        QCOMPARE(path, dir.path() + "/jotlark/notes-" + dataDirHash(dir.path()) + ".ini");
        const NotePlace a{
            "Le 03/14 à 09:00 am", "two\r\nlines\\n [note]\r\n=", true, {-40, 7}, {400, 120}, true},
            b{"Le 03/15 à 10:00 am", "", false, {}, {331, 90}, false},
            c{b.stamp, "placed", true, {0, 0}, {}, false};
        QVERIFY(writeNotePlaces(path, {a, b, c, a}));
        const QList<NotePlace> places = readNotePlaces(path);
        QCOMPARE(places, QList({a, b, c, a}));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
                 QStringList{QFileInfo(path).fileName()});
        const std::pair<QString, QString> taskA{a.stamp, a.text}, taskC{c.stamp, c.text};
        QCOMPARE(matchNotePlaces(places, {taskC, taskA, taskA, taskA, {c.stamp, "placed!"}}),
                 QList({2, 0, 3, -1, -1})); // the last one's text changed
    }

    // The report: every task that is not blank, its alarm beneath, dashes between tasks; only
    // spaces are blank.
    void report_data() {
        const QString dashes(106, u'-'), alarm = "Monday 12/07 9:30 am", on = "Alarm on the ";
        testing::table<ReportCase>(
            {{"empty list", {}, {}},
             {"blanks", {"a", "", "   ", alarm, "  b", "  "}, {"a", dashes, "  b"}},
             {"three lines",
              {"a\r\nb\r\nc", "", "d", alarm},
              {"a", "b", "c", dashes, "d", on + alarm}},
             {"tab task, line-break alarm", {"\t", "\r\n"}, {"\t", on + "\r\n"}}});
    }
    void report() {
        QFETCH(ReportCase, row);
        QList<TaskRow> rows;
        for (int i = 0; i < row.tasks.size(); i += 2)
            rows.append({"Le 12/01 à 09:00 am", row.tasks[i], row.tasks[i + 1], QString(), "1"});
        TaskList list;
        list.setRows(rows);
        QCOMPARE(preparer_rapport(list, QDate(2026, 12, 5)),
                 "[JOTLK]\t\t\tTasks the 12/05/2026\r\n\r\n\r\n" + (row.lines << "").join("\r\n"));
    }

    // The kernel tells of every clock set: here the clock is set a microsecond forward and
    // back, which only root may do. Without a timer descriptor to spare, the two clocks are
    // compared every 3 s (shortened here) and a step of the wall clock is told once.
    void clockWatch() {
#ifndef __SANITIZE_ADDRESS__ // the sanitizers need descriptors of their own to check a call
        {
            const auto offset = std::make_shared<int>(0); // outlives a failed check
            jot::setClockForTests(
                [offset] { return QDateTime::currentDateTime().addSecs(*offset); });
            rlimit files{};
            ::getrlimit(RLIMIT_NOFILE, &files);
            const int spare = ::open("/dev/null", O_RDONLY);
            ::close(spare);
            const rlimit none{rlim_t(spare), files.rlim_max};
            ::setrlimit(RLIMIT_NOFILE, &none);
            jot::ClockWatch watch;
            ::setrlimit(RLIMIT_NOFILE, &files);
            QSignalSpy changed(&watch, &jot::ClockWatch::clockChanged);
            auto* poll = watch.findChild<QTimer*>();
            QVERIFY(!watch.toldByKernel() && poll && poll->interval() == 3000);
            poll->setInterval(20);
            *offset = -3600;
            QTRY_COMPARE(changed.count(), 1);
            QTest::qWait(200);
            QCOMPARE(changed.count(), 1);
            jot::setClockForTests({});
        }
#endif
        jot::ClockWatch watch;
        QSignalSpy changed(&watch, &jot::ClockWatch::clockChanged);
        QVERIFY(watch.toldByKernel());
        for (const timeval step : {timeval{0, 1}, timeval{-1, 999999}}) {
            timex set{};
            set.modes = ADJ_SETOFFSET;
            set.time = step;
            if (::adjtimex(&set) < 0)
                QSKIP("setting the clock needs root");
            QVERIFY(changed.wait(5000));
        }
    }
};

QTEST_GUILESS_MAIN(TstCore)
#include "tst_core.moc"
