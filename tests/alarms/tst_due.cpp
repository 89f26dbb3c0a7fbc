#include "alarms/alarmtext.h"
#include "alarms/due.h"

#include <QtTest>

// Whether an alarm text falls due at a given check; Monday 03/15/2027 unless said otherwise.
class TstDue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isDue_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("alarm");
        QTest::addColumn<QString>("fired");
        QTest::addColumn<bool>("due");
        const auto row = [](const char* name, QDate day, QTime time, const QString& alarm, bool due,
                            const char* fired = "") {
            QTest::newRow(name) << QDateTime(day, time) << alarm << QString(fired) << due;
        };
        const QDate mon(2027, 3, 15);
        const QString nine = QStringLiteral("Monday 03/15 9:00 am");
        row("earlier today", mon, {10, 15}, nine, true);
        row("this very minute", mon, {10, 15}, "Monday 03/15 10:15 am", true);
        row("12 pm at noon", mon, {12, 0}, "Monday 03/15 12:00 pm", true);
        row("12 pm at 11:45", mon, {11, 45}, "Monday 03/15 12:00 pm", false);
        row("0 00 am, first check of its day", mon, {0, 0}, "Monday 03/15 0:00 am", true);
        row("set at 23:50 for 23:45", {2027, 3, 16}, {0, 0}, "Monday 03/15 11:45 pm", true);
        row("fired, days ago", {2027, 3, 20}, {10, 15}, nine, false, "1");
        // Only month and day count: the weekday name is in the locale of its day.
        row("Russian weekday", mon, {10, 15}, "понедельник 03/15 9:00 am", true);
        row("December seen in January", {2027, 1, 3}, {0, 0}, "Thursday 12/30 9:00 am", true);
        for (const char* text : {"garbage", "Monday 03/15 13:00 am", "Monday 02/30 9:00 am"})
            row(("unreadable " + QByteArray(text)).constData(), mon, {23, 45}, text, false);
    }
    void isDue() {
        QFETCH(QDateTime, now);
        QFETCH(QString, alarm);
        QFETCH(QString, fired);
        QFETCH(bool, due);
        QCOMPARE(jot::isDue(alarm, fired, now), due);
    }
    // Ties go to the date behind; a leap day is looked for four years either way.
    void alarmDate_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("date"); // of 01/01, or of 02/29 in a leap-day row
        QTest::newRow("tie") << QDate(2028, 7, 2) << QDate(2028, 1, 1);
        QTest::newRow("leap day 4 years ahead") << QDate(2100, 6, 1) << QDate(2104, 2, 29);
        QTest::newRow("leap day 4 years behind") << QDate(2100, 1, 1) << QDate(2096, 2, 29);
    }
    void alarmDate() {
        QFETCH(QDate, today);
        QFETCH(QDate, date);
        QCOMPARE(jot::alarmDate(date.month(), date.day(), today), date);
    }

    // Every day of the editor's list splits back into its parts and rings, whatever the
    // words of the locale's weekday names.
    void everyDayOfTheList_data() {
        QTest::addColumn<QLocale>("locale");
        for (const auto language : {QLocale::Welsh, QLocale::Vietnamese, QLocale::Irish})
            QTest::newRow(qPrintable(QLocale::languageToString(language))) << QLocale(language);
    }
    void everyDayOfTheList() {
        QFETCH(QLocale, locale);
        const QDate today(2027, 3, 15);
        const QStringList days = jot::dayList(today, locale);
        for (int n = 0; n < days.size(); ++n) {
            const QStringList parts{days[n], QString::number(n % 13), "45", n % 2 ? "pm" : "am"};
            const QString alarm = jot::composeAlarm(parts[0], parts[1], parts[2], parts[3]);
            const jot::AlarmParts p = jot::decouper_alarme(alarm);
            QCOMPARE((QStringList{p.day, p.hour, p.minutes, p.marker}), parts);
            QVERIFY2(jot::isDue(alarm, {}, today.addDays(n + 1).startOfDay()), qPrintable(alarm));
        }
    }
};

QTEST_GUILESS_MAIN(TstDue)
#include "tst_due.moc"
