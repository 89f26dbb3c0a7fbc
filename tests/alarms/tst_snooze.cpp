#include "alarms/alarmtext.h"
#include "alarms/due.h"
#include "alarms/snooze.h"

#include <QtTest>

class TstSnooze : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void snooze_data() {
        QTest::addColumn<QDateTime>("chosen");
        QTest::addColumn<QString>("alarm");
        // 2026-03-15 is a Sunday; the day list of a note opened that day ends on 03/30.
        auto row = [](const char* name, QDate date, QTime time, const char* alarm) {
            QTest::newRow(name) << QDateTime(date, time) << QString::fromUtf8(alarm);
        };
        const QDate sunday(2026, 3, 15);
        row("before the edge", sunday, {10, 4, 59}, "Sunday 03/15 10:15 am");
        row("at the edge", sunday, {10, 5}, "Sunday 03/15 10:30 am");
        row("after the edge", sunday, {10, 5, 1}, "Sunday 03/15 10:30 am");
        row("noon reads 12 am", sunday, {11, 50}, "Sunday 03/15 12:15 am");
        row("afternoon reads pm", sunday, {13, 20}, "Sunday 03/15 1:45 pm");
        row("across midnight", sunday, {23, 45}, "Monday 03/16 0:00 am");
        row("end of the 16 days", sunday.addDays(15), {23, 58}, "Tuesday 03/31 0:15 am");
        row("across the year", QDate(2026, 12, 31), {23, 50}, "Friday 01/01 0:15 am");
    }
    void snooze() {
        QFETCH(QDateTime, chosen);
        QFETCH(QString, alarm);
        QCOMPARE(jot::snoozeAlarm(chosen), alarm);
        // The editor opened at that moment offers the day, and the alarm rings then, not before.
        QVERIFY(jot::dayList(chosen.date()).contains(jot::decouper_alarme(alarm).day));
        const QDateTime at = jot::snoozeTime(chosen);
        QVERIFY(jot::isDue(alarm, {}, at));
        QVERIFY(!jot::isDue(alarm, {}, at.addSecs(-60)));
    }
};

QTEST_GUILESS_MAIN(TstSnooze)
#include "tst_snooze.moc"
