#include "alarms/due.h"
#include "notes/alarmtext.h"

#include <QtTest>

// Dates from 2027 on: Monday 03/15/2027, 2028 a leap year.
namespace {
QDateTime at(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi));
}
} // namespace

class TstDue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isDue_data();
    void isDue();
    void alarmDate_data();
    void alarmDate();
};

void TstDue::isDue_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QString>("fired");
    QTest::addColumn<bool>("due");

    const QString nine = QStringLiteral("Monday 03/15 9:00 am");
    // Set at 10:07 for a time already gone: the 10:15 check makes it up.
    QTest::newRow("passed time, next check") << at(2027, 3, 15, 10, 15) << nine << "" << true;
    QTest::newRow("time to come") << at(2027, 3, 15, 8, 45) << nine << "" << false;
    QTest::newRow("exact quarter") << at(2027, 3, 15, 10, 15) << "Monday 03/15 10:15 am"
                                   << "" << true;
    QTest::newRow("quarter before") << at(2027, 3, 15, 10, 0) << "Monday 03/15 10:15 am"
                                    << "" << false;

    // The three ways to write noon, and the afternoon.
    for (const char* noon : {"12:00 pm", "12:00 am", "0:00 pm"}) {
        const QString alarm = QStringLiteral("Monday 03/15 ") + QLatin1String(noon);
        QTest::addRow("%s at noon", noon) << at(2027, 3, 15, 12, 0) << alarm << "" << true;
        QTest::addRow("%s before noon", noon) << at(2027, 3, 15, 11, 45) << alarm << "" << false;
    }
    QTest::newRow("1 pm at 13:00") << at(2027, 3, 15, 13, 0) << "Monday 03/15 1:00 pm"
                                   << "" << true;
    QTest::newRow("1 pm at 12:45") << at(2027, 3, 15, 12, 45) << "Monday 03/15 1:00 pm"
                                   << "" << false;
    QTest::newRow("11:45 pm at 23:30") << at(2027, 3, 15, 23, 30) << "Monday 03/15 11:45 pm"
                                       << "" << false;
    QTest::newRow("11:45 pm at 23:45") << at(2027, 3, 15, 23, 45) << "Monday 03/15 11:45 pm"
                                       << "" << true;

    const QString midnight = QStringLiteral("Monday 03/15 0:00 am");
    QTest::newRow("midnight, first check of its day")
        << at(2027, 3, 15, 0, 0) << midnight << "" << true;
    QTest::newRow("midnight, last check of the day before")
        << at(2027, 3, 14, 23, 45) << midnight << "" << false;

    // Days gone by unnoticed ring at the first check after them.
    QTest::newRow("set at 23:50 for 23:45") << at(2027, 3, 16, 0, 0) << "Monday 03/15 11:45 pm"
                                            << "" << true;
    QTest::newRow("last Tuesday, first check after start")
        << at(2027, 3, 15, 0, 15) << "Tuesday 03/09 3:00 pm"
        << "" << true;
    QTest::newRow("next week") << at(2027, 3, 15, 23, 45) << "Monday 03/22 9:00 am"
                               << "" << false;
    QTest::newRow("last day of the list") << at(2027, 3, 15, 23, 45) << "Tuesday 03/30 0:00 am"
                                          << "" << false;

    QTest::newRow("fired, today") << at(2027, 3, 15, 10, 15) << nine << "1" << false;
    QTest::newRow("fired, days ago") << at(2027, 3, 20, 10, 15) << nine << "1" << false;

    // Only month and day count: a weekday name of another locale, or a wrong one, is no bar.
    QTest::newRow("French weekday") << at(2027, 3, 15, 10, 15) << "lundi 03/15 9:00 am"
                                    << "" << true;
    QTest::newRow("German weekday, past day") << at(2027, 3, 17, 0, 0) << "Montag 03/15 9:00 am"
                                              << "" << true;
    QTest::newRow("French weekday, ahead") << at(2027, 3, 15, 10, 15) << "lundi 03/22 9:00 am"
                                           << "" << false;
    // Written as the editor writes it, under other locales.
    for (const char* name : {"fr_FR", "de_DE", "ru_RU", "el_GR"}) {
        const QString day = jot::dayText(QDate(2027, 3, 15), QLocale(QLatin1String(name)));
        QTest::addRow("written under %s", name)
            << at(2027, 3, 15, 10, 15) << jot::composeAlarm(day, "9", "00", "am") << "" << true;
    }
    QTest::newRow("wrong weekday") << at(2027, 3, 15, 10, 15) << "Friday 03/15 9:00 am"
                                   << "" << true;

    // The text holds no year: the date nearest to today is meant.
    QTest::newRow("January seen in December") << at(2026, 12, 28, 12, 0) << "Saturday 01/02 9:00 am"
                                              << "" << false;
    QTest::newRow("December seen in January") << at(2027, 1, 3, 0, 0) << "Thursday 12/30 9:00 am"
                                              << "" << true;
    QTest::newRow("New Year's Eve at the first check of the year")
        << at(2027, 1, 1, 0, 0) << "Thursday 12/31 11:45 pm"
        << "" << true;

    const QString leapDay = QStringLiteral("Tuesday 02/29 9:00 am");
    QTest::newRow("02/29 on the day") << at(2028, 2, 29, 9, 0) << leapDay << "" << true;
    QTest::newRow("02/29 the day before") << at(2028, 2, 28, 23, 45) << leapDay << "" << false;
    QTest::newRow("02/29 missed") << at(2028, 3, 1, 0, 0) << leapDay << "" << true;
    QTest::newRow("02/29 in a common year") << at(2027, 3, 1, 0, 0) << leapDay << "" << false;

    // Texts that cannot be read are never due, whatever the time.
    const QDateTime late = at(2027, 3, 15, 23, 45);
    const char* unreadable[] = {"",
                                "   ",
                                "garbage",
                                "Monday 03/15",
                                "Monday 03/15 x:00 am",
                                "Monday 03/15 :00 am",
                                "Monday 03/15 13:00 am",
                                "Monday 03/15 -1:00 am",
                                "Monday 03/15 9:xx am",
                                "Monday 03/15 9:75 am",
                                "Monday 0315 9:00 am",
                                "Monday 103/15 9:00 am",
                                "Monday 13/15 9:00 am",
                                "Monday 02/30 9:00 am",
                                "Monday 00/10 9:00 am"};
    for (const char* text : unreadable)
        QTest::addRow("unreadable \"%s\"", text)
            << late << QString::fromLatin1(text) << "" << false;
}

void TstDue::isDue() {
    QFETCH(QDateTime, now);
    QFETCH(QString, alarm);
    QFETCH(QString, fired);
    QFETCH(bool, due);
    QCOMPARE(jot::isDue(alarm, fired, now), due);
}

void TstDue::alarmDate_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("date");

    QTest::newRow("today") << 3 << 15 << QDate(2027, 3, 15) << QDate(2027, 3, 15);
    QTest::newRow("ahead across the year") << 1 << 2 << QDate(2026, 12, 28) << QDate(2027, 1, 2);
    QTest::newRow("behind across the year") << 12 << 30 << QDate(2027, 1, 3) << QDate(2026, 12, 30);
    QTest::newRow("half a year ahead") << 9 << 10 << QDate(2027, 3, 15) << QDate(2027, 9, 10);
    QTest::newRow("half a year behind") << 9 << 20 << QDate(2027, 3, 15) << QDate(2026, 9, 20);
    // 183 days either way: the missed date rather than a ring a year late.
    QTest::newRow("tie") << 12 << 1 << QDate(2028, 6, 1) << QDate(2027, 12, 1);
    QTest::newRow("leap day ahead") << 2 << 29 << QDate(2027, 3, 1) << QDate(2028, 2, 29);
    QTest::newRow("leap day behind") << 2 << 29 << QDate(2029, 1, 10) << QDate(2028, 2, 29);
    // 2100 has no leap day: the nearest ones are four years away.
    QTest::newRow("leap day across 2100") << 2 << 29 << QDate(2100, 3, 1) << QDate(2104, 2, 29);
    QTest::newRow("no such day") << 2 << 30 << QDate(2027, 3, 15) << QDate();
    QTest::newRow("no such month") << 13 << 1 << QDate(2027, 3, 15) << QDate();
    QTest::newRow("month 0") << 0 << 5 << QDate(2027, 3, 15) << QDate();
}

void TstDue::alarmDate() {
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QDate, today);
    QFETCH(QDate, date);
    QCOMPARE(jot::alarmDate(month, day, today), date);
}

QTEST_GUILESS_MAIN(TstDue)
#include "tst_due.moc"
