// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/due.h"
#include "alarms/recurrence.h"

#include <QtTest>
#include <ctime>

using namespace jot;

// Repeating alarms: how the fired-mark field keeps the rule, and when each rule's next
// occurrence rings, across month and year ends, leap years and daylight-saving days.
class TstRecurrence : public QObject {
    Q_OBJECT
    static void setZone(const QByteArray& zone) {
        qputenv("TZ", zone);
        ::tzset();
    }

private Q_SLOTS:
    void cleanup() { setZone("UTC"); }

    void field_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored"); // written back; "" for no repeat
        for (const char* same :
             {"daily", "weekdays", "weekly", "monthly", "yearly", "monthly@31", "yearly@02-29",
              "weekly@2026-12-14T09:00", "monthly@30@2027-02-28T09:00"})
            QTest::newRow(same) << QString(same) << QString(same);
        for (const auto& [name, field, stored] :
             {std::tuple{"not fired", "", ""},
              {"fired", "1", ""},
              {"unknown word", "hourly", ""},
              {"a day only months keep", "weekly@31", "weekly"}})
            QTest::newRow(name) << QString(field) << QString(stored);
    }
    void field() {
        QFETCH(QString, field);
        QTEST(repeatField(parseRepeat(field)), "stored");
    }

    void next_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("rule"); // as stored, with the alarm's own date and time
        QTest::addColumn<QDateTime>("own");
        QTest::addColumn<QDateTime>("after");
        QTest::addColumn<QDateTime>("rings"); // the next occurrence's ringing moment
        const auto row = [](const char* name, const char* zone, const char* rule,
                            const QDateTime& own, const QDateTime& after, const QDateTime& rings) {
            QTest::newRow(name) << QByteArray(zone) << QString(rule) << own << after << rings;
        };
        const auto at = [](int y, int m, int d, int h, int n) {
            return QDateTime(QDate(y, m, d), QTime(h, n));
        };
        row("daily", "UTC", "daily", at(2026, 12, 7, 9, 0), at(2026, 12, 7, 9, 0),
            at(2026, 12, 8, 9, 0));
        row("daily, missed for a week", "UTC", "daily", at(2026, 12, 7, 9, 0),
            at(2026, 12, 14, 10, 0), at(2026, 12, 15, 9, 0));
        row("weekdays, Friday to Monday", "UTC", "weekdays", at(2026, 12, 11, 9, 0),
            at(2026, 12, 11, 9, 0), at(2026, 12, 14, 9, 0));
        row("weekly, over the year end", "UTC", "weekly", at(2026, 12, 28, 9, 0),
            at(2026, 12, 28, 9, 0), at(2027, 1, 4, 9, 0));
        row("weekly, missed for months", "UTC", "weekly", at(2026, 12, 14, 9, 0),
            at(2027, 3, 15, 9, 30), at(2027, 3, 22, 9, 0));
        row("monthly, the 31st in February", "UTC", "monthly@31", at(2027, 1, 31, 9, 0),
            at(2027, 1, 31, 9, 0), at(2027, 2, 28, 9, 0));
        row("monthly, back to the 31st", "UTC", "monthly@31", at(2027, 2, 28, 9, 0),
            at(2027, 2, 28, 9, 0), at(2027, 3, 31, 9, 0));
        row("monthly, over the year end", "UTC", "monthly", at(2026, 12, 15, 9, 0),
            at(2026, 12, 15, 9, 0), at(2027, 1, 15, 9, 0));
        row("yearly, 29 February in a common year", "UTC", "yearly@02-29", at(2028, 2, 29, 9, 0),
            at(2028, 2, 29, 9, 0), at(2029, 2, 28, 9, 0));
        row("yearly, 29 February again", "UTC", "yearly@02-29", at(2031, 2, 28, 9, 0),
            at(2031, 2, 28, 9, 0), at(2032, 2, 29, 9, 0));
        row("yearly, over the year end", "UTC", "yearly", at(2026, 12, 31, 23, 45),
            at(2026, 12, 31, 23, 45), at(2027, 12, 31, 23, 45));
        // Spring: 02:00 becomes 03:00; autumn: 02:30 comes twice and rings the first time.
        row("Paris, into the gap", "Europe/Paris", "daily", at(2027, 3, 27, 2, 30),
            at(2027, 3, 27, 2, 30), at(2027, 3, 28, 3, 0));
        row("Paris, past the gap", "Europe/Paris", "daily", at(2027, 3, 28, 2, 30),
            at(2027, 3, 28, 3, 0), at(2027, 3, 29, 2, 30));
        row("Paris, autumn", "Europe/Paris", "weekly", at(2027, 10, 24, 2, 30),
            at(2027, 10, 24, 2, 30), at(2027, 10, 31, 2, 30));
        row("New York, into the gap", "America/New_York", "weekly", at(2027, 3, 7, 2, 15),
            at(2027, 3, 7, 2, 15), at(2027, 3, 14, 3, 0));
    }
    void next() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, rule);
        QFETCH(QDateTime, own);
        QFETCH(QDateTime, after);
        QFETCH(QDateTime, rings);
        setZone(zone);
        const QDate date = nextOccurrence(parseRepeat(rule), own.date(), own.time(),
                                          QDateTime(after.date(), after.time()));
        QCOMPARE(ringingMoment(date, own.time()), QDateTime(rings.date(), rings.time()));
    }

    // An alarm text names no year: its weekday places it, so that one for next December is
    // not taken in March for last December's and rung at once.
    void year_data() {
        QTest::addColumn<QString>("alarm");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("date");
        QTest::newRow("next December")
            << "Wednesday 12/02 9:00 am" << QDate(2026, 3, 15) << QDate(2026, 12, 2);
        QTest::newRow("last December")
            << "Tuesday 12/02 9:00 am" << QDate(2026, 3, 15) << QDate(2025, 12, 2);
        QTest::newRow("a year behind, at the year end")
            << "Thursday 01/01 9:00 am" << QDate(2026, 12, 31) << QDate(2026, 1, 1);
        QTest::newRow("the next day, over the year end")
            << "Friday 01/01 9:00 am" << QDate(2026, 12, 31) << QDate(2027, 1, 1);
        QTest::newRow("no year near on that weekday: the nearest")
            << "Thursday 02/29 9:00 am" << QDate(2026, 6, 1) << QDate(2028, 2, 29);
        QTest::newRow("29 February on a Sunday, six years ahead")
            << "Sunday 02/29 9:00 am" << QDate(2026, 6, 1) << QDate(2032, 2, 29);
        QTest::newRow("another language: the nearest")
            << "Mercredi 12/02 9:00 am" << QDate(2026, 3, 15) << QDate(2025, 12, 2);
    }
    void year() {
        QFETCH(QString, alarm);
        QFETCH(QDate, today);
        QTEST(alarmMoment(alarm, today).date, "date");
    }
};

QTEST_GUILESS_MAIN(TstRecurrence)
#include "tst_recurrence.moc"
