#include "notes/alarmtext.h"

#include <QtTest>

class Tstalarmtext : public QObject {
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void composeThenSplit_data();
    void composeThenSplit();
    void dayText_data();
    void dayText();
    void dayList_data();
    void dayList();
    void stamps_data();
    void stamps();
};

void Tstalarmtext::split_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("marker");

    QTest::newRow("afternoon") << "Monday 03/15 2:30 pm" << true << "Monday 03/15"
                               << "2"
                               << "30"
                               << "pm";
    QTest::newRow("two-digit hour") << "mercredi 12/31 12:45 am" << true << "mercredi 12/31"
                                    << "12"
                                    << "45"
                                    << "am";
    QTest::newRow("midnight") << "Friday 01/01 0:00 am" << true << "Friday 01/01"
                              << "0"
                              << "00"
                              << "am";
    QTest::newRow("extra blanks are trimmed") << "Monday 03/15  2:30  pm " << true << "Monday 03/15"
                                              << "2"
                                              << "30"
                                              << "pm";
    QTest::newRow("colon inside the day is not the time's")
        << "Mon 03:15 2:30 pm" << true << "Mon 03:15"
        << "2"
        << "30"
        << "pm";
    QTest::newRow("non-ASCII weekday") << "sábado 07/04 11:15 pm" << true << "sábado 07/04"
                                       << "11"
                                       << "15"
                                       << "pm";

    const QString none;
    QTest::newRow("empty") << "" << false << none << none << none << none;
    QTest::newRow("blank") << "   " << false << none << none << none << none;
    QTest::newRow("one word") << "Monday" << false << none << none << none << none;
    QTest::newRow("day only") << "Monday 03/15" << false << none << none << none << none;
    QTest::newRow("no colon") << "Monday 03/15 2.30 pm" << false << none << none << none << none;
    QTest::newRow("no marker") << "Monday 03/15 2:30" << false << none << none << none << none;
    QTest::newRow("blank marker") << "Monday 03/15 2:30 " << false << none << none << none << none;
    QTest::newRow("no hour") << "Monday 03/15 :30 pm" << false << none << none << none << none;
    QTest::newRow("no minutes") << "Monday 03/15 2: pm" << false << none << none << none << none;
    QTest::newRow("colon before the day's space")
        << "2:30 Monday 03/15" << false << none << none << none << none;
}

void Tstalarmtext::split() {
    QFETCH(QString, text);
    const jot::AlarmParts p = jot::decouper_alarme(text);
    QTEST(p.ok, "ok");
    QTEST(p.day, "day");
    QTEST(p.hour, "hour");
    QTEST(p.minutes, "minutes");
    QTEST(p.marker, "marker");
}

// Every alarm the editor can compose must split back into the entries it was made of,
// whatever the locale's weekday names.
void Tstalarmtext::composeThenSplit_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("English") << QLocale(QLocale::English);
    QTest::newRow("French") << QLocale(QLocale::French);
    QTest::newRow("German") << QLocale(QLocale::German);
}

void Tstalarmtext::composeThenSplit() {
    QFETCH(QLocale, locale);
    const QStringList minutes{"00", "15", "30", "45"};
    for (const QString& day : jot::dayList(QDate(2026, 12, 25), locale)) {
        for (int h = 0; h <= 12; ++h) {
            for (const QString& m : minutes) {
                for (const char* k : {"am", "pm"}) {
                    const QString text =
                        jot::composeAlarm(day, QString::number(h), m, QLatin1String(k));
                    const jot::AlarmParts p = jot::decouper_alarme(text);
                    QVERIFY2(p.ok, qPrintable(text));
                    QCOMPARE(p.day, day);
                    QCOMPARE(p.hour, QString::number(h));
                    QCOMPARE(p.minutes, m);
                    QCOMPARE(p.marker, QLatin1String(k));
                }
            }
        }
    }
}

void Tstalarmtext::dayText_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    const QLocale en(QLocale::English), fr(QLocale::French);
    QTest::newRow("en Sunday") << en << QDate(2026, 3, 15) << "Sunday 03/15";
    QTest::newRow("en two-digit month") << en << QDate(2026, 12, 25) << "Friday 12/25";
    QTest::newRow("en leap day") << en << QDate(2028, 2, 29) << "Tuesday 02/29";
    QTest::newRow("fr dimanche") << fr << QDate(2026, 3, 15) << "dimanche 03/15";
    QTest::newRow("fr samedi") << fr << QDate(2027, 1, 9) << "samedi 01/09";
}

void Tstalarmtext::dayText() {
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);
    QTEST(jot::dayText(date, locale), "expected");
}

void Tstalarmtext::dayList_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    const QLocale en(QLocale::English), fr(QLocale::French);
    QTest::newRow("en mid-month") << en << QDate(2026, 3, 15) << "Sunday 03/15"
                                  << "Monday 03/30";
    QTest::newRow("en over the year's end") << en << QDate(2026, 12, 25) << "Friday 12/25"
                                            << "Saturday 01/09";
    QTest::newRow("fr over February") << fr << QDate(2027, 2, 20) << "samedi 02/20"
                                      << "dimanche 03/07";
}

void Tstalarmtext::dayList() {
    QFETCH(QLocale, locale);
    QFETCH(QDate, today);
    const QStringList days = jot::dayList(today, locale);
    QCOMPARE(days.size(), 16);
    QTEST(days.first(), "first");
    QTEST(days.last(), "last");
    // The editor selects a stored day by its text: entries must all differ.
    QCOMPARE(QSet<QString>(days.begin(), days.end()).size(), days.size());
}

void Tstalarmtext::stamps_data() {
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("stamp");
    const QDate d(2026, 3, 15);
    QTest::newRow("afternoon") << QDateTime(d, QTime(14, 30)) << "The 03/15 at 02:30 pm"
                               << "Le 03/15 à 02:30 pm";
    QTest::newRow("after midnight") << QDateTime(d, QTime(0, 20)) << "The 03/15 at 12:20 am"
                                    << "Le 03/15 à 12:20 am";
    QTest::newRow("after noon") << QDateTime(d, QTime(12, 40)) << "The 03/15 at 12:40 pm"
                                << "Le 03/15 à 12:40 pm";
    QTest::newRow("before noon") << QDateTime(d, QTime(11, 59, 59)) << "The 03/15 at 11:59 am"
                                 << "Le 03/15 à 11:59 am";
    QTest::newRow("late evening") << QDateTime(QDate(2026, 12, 5), QTime(22, 15))
                                  << "The 12/05 at 10:15 pm"
                                  << "Le 12/05 à 10:15 pm";
}

void Tstalarmtext::stamps() {
    QFETCH(QDateTime, moment);
    QTEST(jot::newNoteCaption(moment), "caption");
    QTEST(jot::creationStamp(moment), "stamp");
}

QTEST_GUILESS_MAIN(Tstalarmtext)
#include "tst_alarmtext.moc"
