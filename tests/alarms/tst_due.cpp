// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "alarms/clockwatch.h"
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "alarms/snooze.h"
#include "alarms/ticks.h"
#include "store/clock.h"

#include <QtTest>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/timex.h>
#include <unistd.h>

// When alarms fall due, the quarter hour a snooze picks, and when Timer1 ticks (what late ticks
// and clock jumps miss is checked through Timer1 itself). Monday 03/15/2027 unless said otherwise.
class TstDue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isDue_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("alarm");
        QTest::addColumn<bool>("due");
        const auto row = [](const char* name, QTime time, const char* alarm, bool due,
                            QDate day = {2027, 3, 15}) {
            QTest::newRow(name) << QDateTime(day, time) << QString(alarm) << due;
        };
        row("12 pm at noon", {12, 0}, "Monday 03/15 12:00 pm", true);
        row("12 pm at 11:45", {11, 45}, "Monday 03/15 12:00 pm", false);
        row("0 00 am, first check of its day", {0, 0}, "Monday 03/15 0:00 am", true);
        // Only month and day count: weekday names, of one word or more, are the locale's.
        row("earlier today, in Welsh", {10, 15}, "Dydd Llun 03/15 9:00 am", true);
        // Ties go to the date behind; a leap day is looked for four years either way.
        row("tie: 01/01 behind", {0, 0}, "Saturday 01/01 9:00 am", true, {2028, 7, 2});
        row("leap day 4 years behind", {10, 0}, "Wednesday 02/29 9:00 am", true, {2100, 1, 1});
        row("leap day 4 years ahead", {10, 0}, "Friday 02/29 9:00 am", false, {2100, 6, 1});
        for (const char* text : {"garbage", "Monday 03/15 13:00 am", "Monday 02/30 9:00 am"})
            row(text, {23, 45}, text, false);
    }
    void isDue() {
        QFETCH(QDateTime, now);
        QFETCH(QString, alarm);
        QFETCH(bool, due);
        QCOMPARE(jot::isDue(alarm, {}, now), due);
    }

    // Snooze: 10 minutes or an hour after the answer's minute, as the alarm editor writes it.
    void snooze_data() {
        QTest::addColumn<QDateTime>("chosen");
        QTest::addColumn<jot::Snooze>("how");
        QTest::addColumn<QString>("alarm");
        // 2026-03-15 is a Sunday; the day list of a note opened that day ends on 03/30.
        const auto row = [](const char* name, int day, QTime time, const char* alarm,
                            jot::Snooze how = jot::Snooze::Short) {
            QTest::newRow(name) << QDateTime({2026, 3, day}, time) << how << QString(alarm);
        };
        row("seconds dropped; noon reads 12 am", 15, {11, 50, 59}, "Sunday 03/15 12:00 am");
        row("to pm", 15, {12, 53}, "Sunday 03/15 1:03 pm");
        row("across midnight", 15, {23, 50}, "Monday 03/16 0:00 am");
        row("end of the 16 days", 30, {23, 58}, "Tuesday 03/31 0:08 am");
        const jot::Snooze hour = jot::Snooze::Hour;
        row("an hour, seconds dropped", 15, {16, 45, 18}, "Sunday 03/15 5:45 pm", hour);
        row("an hour, just before a minute", 15, {10, 14, 59, 999}, "Sunday 03/15 11:14 am", hour);
        row("an hour, across midnight", 15, {23, 1}, "Monday 03/16 0:01 am", hour);
    }
    void snooze() {
        QFETCH(QDateTime, chosen);
        QFETCH(jot::Snooze, how);
        QFETCH(QString, alarm);
        QCOMPARE(jot::snoozeAlarm(chosen, how), alarm);
        // The editor opened at that moment offers the day, and the alarm rings then, not before.
        QVERIFY(jot::dayList(chosen.date()).contains(jot::decouper_alarme(alarm).day));
        const QDateTime at = jot::snoozeTime(chosen, how);
        QVERIFY(jot::isDue(alarm, {}, at) && !jot::isDue(alarm, {}, at.addSecs(-60)));
    }

    // An alarm as each locale writes it (its formats, not its words: no translation here),
    // seen on Saturday 12/05/2026; a text that cannot be read stays as stored.
    void shown_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("alarm");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* locale, const char* alarm, const char* field,
                            const char* shown) {
            QTest::addRow("%s: %s", locale, shown) << locale << alarm << field << shown;
        };
        row("en_US", "Monday 12/07 4:15 pm", "", "Monday 12/07 4:15 pm");
        row("en_US", "Monday 12/07 12:00 am", "weekly", "Monday 12/07 12:00 pm, every week");
        row("en_US", "Friday 01/01 0:05 am", "", "Friday 01/01/2027 12:05 am");
        row("fr_FR", "lundi 12/07 4:00 pm", "", "lundi 07/12 16:00");
        row("fr_FR", "Monday 12/07 9:00 am", "", "lundi 07/12 09:00");
        row("de_DE", "Montag 12/07 4:15 pm", "daily", "Montag, 07.12. 16:15, every day");
        row("de_DE", "Freitag 01/01 0:05 am", "", "Freitag, 01.01.2027 00:05");
        row("en_GB", "Monday 12/07 0:00 am", "", "Monday, 07/12 00:00");
        row("de_DE", "Montag 12/07 16:15", "", "Montag 12/07 16:15");
    }
    void shown() {
        QFETCH(QString, locale);
        QFETCH(QString, alarm);
        QFETCH(QString, field);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString shown = jot::alarmDisplay(alarm, field, {2026, 12, 5});
        QLocale::setDefault(before);
        QTEST(shown, "shown");
    }

    // The tick comes half a second after the next minute begins; a timer counts as on the
    // minute when it comes in that minute's first second, never before it.
    void nextMinute() {
        const QDateTime now({2027, 3, 15}, {10, 14, 59, 800});
        QCOMPARE(jot::msToNextMinute(now), 700);
        for (int late : {0, 1, 1000, 1001})
            QCOMPARE(jot::tickOnTheMinute(200 + late, now), late == 1 || late == 1000);
    }

    // The kernel tells of every clock set: here the clock is set a microsecond forward and
    // back, which only root may do. Without a timer descriptor to spare, the two clocks are
    // compared every 3 s (shortened here) and a step of the wall clock is told once.
    void clockWatch() {
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

QTEST_GUILESS_MAIN(TstDue)
#include "tst_due.moc"
