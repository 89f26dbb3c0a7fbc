// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "calendar/calendarfile.h"
#include "common/table.h"
#include "common/tempdatahome.h"

#include <QtTest>
#include <ctime>
#include <libical/ical.h>

// Tasks to calendar files and back through libical, and calendar files as Thunderbird and
// Tasks.org write them into tasks. Now is Monday 12/07/2026 10:00 in Paris unless said.
using namespace jot;

namespace {

const QDateTime kNow({2026, 12, 7}, {10, 0});

void setZone(const QByteArray& zone) {
    qputenv("TZ", zone);
    tzset();
}

// One task as "stamp | text | alarm | fired".
QString line(const TaskRow& row) {
    return QStringList{row[ColStamp], row[ColText], row[ColAlarm], row[ColFired]}.join(
        QStringLiteral(" | "));
}

// The dates libical's iterator gives the written RRULE from its DUE, over ten years.
QList<QDate> icalOccurrences(const QByteArray& ics) {
    icalcomponent* root = icalparser_parse_string(ics.constData());
    icalcomponent* todo = icalcomponent_get_first_component(root, ICAL_VTODO_COMPONENT);
    icalproperty* rrule = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY);
    icalrecur_iterator* it =
        icalrecur_iterator_new(icalproperty_get_rrule(rrule), icalcomponent_get_due(todo));
    QList<QDate> dates;
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && t.year < 2037;
         t = icalrecur_iterator_next(it))
        dates.append(QDate(t.year, t.month, t.day));
    icalrecur_iterator_free(it);
    icalcomponent_free(root);
    return dates;
}

} // namespace

struct ToCalendarCase {
    QByteArray name, zone;
    QString text, alarm, fired;
    QStringList lines; // in the file; "!" before one it must not hold
};
struct ToTaskCase {
    QByteArray name, file;
    QStringList tasks;
    int flattened;
    QString error;
};

class TstCalendar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { setZone("Europe/Paris"); }

    // A task written as a VTODO: the lines it must hold (unfolded; "!" before one it must not),
    // and read back at the same moment it is the same task. A repeating alarm's RRULE gives
    // libical's iterator the dates Jotlark rings it on, over ten years.
    void taskToCalendar_data() {
        QTest::addColumn<ToCalendarCase>("row");
        const auto row = [](const char* name, const char* alarm, const char* fired,
                            const QStringList& lines, const QString& text = QStringLiteral("Task"),
                            const QByteArray& zone = "Europe/Paris") {
            testing::addRow(
                ToCalendarCase{name, zone, text, QString::fromUtf8(alarm), fired, lines});
        };
        row("line breaks, quotes, ~, ¤ and accents", "", "",
            {"SUMMARY:Appeler « Zoé » ~ ¤ \"ici\"", "DESCRIPTION:2e ligne\\n\\nfin",
             "CREATED:20261201T080000Z", "!DUE", "!BEGIN:VALARM"},
            QStringLiteral("Appeler « Zoé » ~ ¤ \"ici\"\r\n2e ligne\r\n\r\nfin"));
        row("in Paris", "Monday 12/14 9:00 am", "",
            {"DUE;TZID=Europe/Paris:20261214T090000", "TZID:Europe/Paris", "ACTION:DISPLAY",
             "TRIGGER;RELATED=END:PT0S", "!DTSTART;", "!/freeassociation", "!X-MOZ"});
        row("in UTC", "Monday 12/14 9:00 am", "", {"DUE:20261214T090000Z", "!BEGIN:VTIMEZONE"},
            QStringLiteral("Task"), "UTC");
        row("off the quarter hour", "Monday 12/14 10:10 am", "",
            {"DUE;TZID=Europe/Paris:20261214T101000"});
        row("rang", "Friday 12/04 9:00 am", "1",
            {"DUE;TZID=Europe/Paris:20261204T090000", "X-MOZ-LASTACK:20261207T090000Z"});
        row("daily", "Tuesday 12/08 9:00 am", "daily", {"RRULE:FREQ=DAILY"});
        row("weekdays", "Friday 12/11 9:00 am", "weekdays",
            {"RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"});
        row("weekly", "Monday 12/14 9:00 am", "weekly", {"RRULE:FREQ=WEEKLY"});
        row("monthly", "Monday 12/28 9:00 am", "monthly", {"RRULE:FREQ=MONTHLY"});
        row("monthly on the 29th", "Tuesday 12/29 9:00 am", "monthly@29",
            {"RRULE:FREQ=MONTHLY;BYMONTHDAY=28,29;BYSETPOS=-1"});
        row("monthly on the 31st", "Thursday 12/31 9:00 am", "monthly@31",
            {"RRULE:FREQ=MONTHLY;BYMONTHDAY=28,29,30,31;BYSETPOS=-1"});
        row("yearly", "Tuesday 12/15 9:00 am", "yearly", {"RRULE:FREQ=YEARLY"});
        row("yearly on 29 February, in 2027", "Sunday 02/28 9:00 am", "yearly@02-29",
            {"DUE;TZID=Europe/Paris:20270228T090000",
             // libical's order of the parts, which iCalendar leaves free.
             "RRULE:FREQ=YEARLY;BYMONTHDAY=28,29;BYMONTH=2;BYSETPOS=-1"});
        row("snoozed occurrence of a weekly alarm", "Monday 12/07 10:30 am",
            "weekly@2026-12-07T10:00",
            {"DUE;TZID=Europe/Paris:20261207T100000",
             "X-MOZ-SNOOZE-TIME-1796634000000000:20261207T093000Z"});
    }
    void taskToCalendar() {
        QFETCH(ToCalendarCase, row);
        setZone(row.zone);
        const TaskRow task{
            QStringLiteral("Le 12/01 à 09:00 am"), row.text, row.alarm, {}, row.fired};
        const QByteArray ics = writeCalendar({task}, kNow);
        const QString unfolded = "\r\n" + QString::fromUtf8(ics).replace("\r\n ", QString());
        for (const QString& l : row.lines) {
            const bool absent = l.startsWith(u'!');
            QVERIFY2(unfolded.contains("\r\n" + l.mid(absent)) != absent,
                     qPrintable(l + QStringLiteral(" in:") + unfolded));
        }
        const CalendarRead read = readCalendar(ics, kNow);
        QCOMPARE(read.tasks.size(), 1);
        QCOMPARE(line(read.tasks[0].row), line(task));
        QCOMPARE(read.tasks[0].uid, taskUid(task[ColStamp], row.text));

        const RepeatRule rule = parseRepeat(row.fired);
        if (!rule.repeats())
            return;
        const AlarmMoment first = alarmMoment(row.alarm, kNow.date());
        QList<QDate> ours;
        QDate d = rule.ownDate.isValid() ? rule.ownDate : first.date;
        for (; d.year() < 2037; d = nextOccurrence(rule, d, first.time, QDateTime(d, {23, 59})))
            ours.append(d);
        QCOMPARE(icalOccurrences(ics), ours);
    }

    // Calendar files read at kNow: the tasks they give ("stamp | text | alarm | fired"), how
    // many repeat rules became one-time alarms, or why nothing comes from them.
    void calendarToTask_data() {
        QTest::addColumn<ToTaskCase>("row");
        testing::addRow(ToTaskCase{
            "Thunderbird", testing::readFile(JOT_SAMPLES "/thunderbird.ics"),
            QStringList{// Weekly since 11/02: moved on past the occurrences gone by.
                        "Le 11/02 à 10:05 am | Water the plants | Monday 12/14 9:30 am | weekly",
                        "Le 12/05 à 05:44 pm | Call the bank about the “loan” ~ ¤\r\nAsk for Mme "
                        "Lefèvre\r\nBring the contract | Wednesday 12/09 10:10 am | ",
                        "Le 12/01 à 08:00 am | Renew the passport | Tuesday 12/08 9:00 am | ",
                        // Mondays and Wednesdays: the next of them.
                        "Le 10/15 à 10:00 am | Team meeting notes | Monday 12/07 2:00 pm | ",
                        // Every weekday as a daily rule, and the day of the month spelt out.
                        "Le 11/01 à 09:00 am | Stand-up | Tuesday 12/08 9:15 am | weekdays",
                        "Le 11/01 à 09:00 am | Pay the gas bill | Tuesday 12/15 6:00 pm | monthly"},
            1, QString()});
        testing::addRow(ToTaskCase{
            "Tasks.org", testing::readFile(JOT_SAMPLES "/tasksorg.ics"),
            QStringList{"Le 11/20 à 09:15 am | Pay the rent | Thursday 12/31 8:30 am | monthly@31",
                        "Le 12/01 à 01:00 pm | Take out the recycling | Thursday 12/17 8:00 pm | ",
                        "Le 12/02 à 10:00 am | Tax return |  | ",
                        "Le 12/03 à 10:00 am | Dentist | Saturday 12/05 10:00 am | 1",
                        "Le 12/03 à 10:15 am | Visa expires |  | ",
                        // Each of the days 28 to 31, not the last of them.
                        "Le 12/04 à 10:00 am | Read the meter | Monday 12/28 7:00 pm | "},
            2, QString()});
        const QByteArray todo = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:x\r\n"
                                "SUMMARY:a\r\nCREATED:20261203T090000Z\r\n";
        testing::addRow(
            ToTaskCase{"yearly on 29 February from 2028, UTC",
                       todo + "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1\r\n"
                              "DUE:20270228T080000Z\r\nEND:VTODO\r\nEND:VCALENDAR\r\n",
                       QStringList{"Le 12/03 à 10:00 am | a | Sunday 02/28 9:00 am | yearly@02-29"},
                       0, QString()});
        const QByteArray event = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:e\r\n"
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n";
        for (const auto& [name, file, error] :
             {std::tuple{"cut short", todo,
                         "This calendar file is cut short: nothing was imported."},
              {"not iCalendar", "\"Le 12/01 à 09:00 am\",\"a\",\"\",\"\"\r\n",
               "This file is not an iCalendar file."},
              {"no VTODO", event, "This calendar file holds no task."}})
            testing::addRow(ToTaskCase{name, file, {}, 0, error});
    }
    void calendarToTask() {
        QFETCH(ToTaskCase, row);
        const CalendarRead read = readCalendar(row.file, kNow);
        QCOMPARE(read.error, row.error);
        QStringList got;
        int flat = 0;
        for (const CalendarTask& t : read.tasks) {
            got.append(line(t.row));
            flat += t.ruleFlattened;
        }
        QCOMPARE(got, row.tasks);
        QCOMPARE(flat, row.flattened);
    }

    // Tasks already here, by UID or by stamp and text (spaces at the ends aside), are left
    // out; past the task limit, the rest do not fit.
    void importCounts() {
        const QString stamp = QStringLiteral("Le 12/01 à 09:00 am");
        QList<TaskRow> rows;
        for (int k = 0; k < kTaskLimit - 2; ++k)
            rows.append({stamp, QString::number(k), {}, {}, {}});
        TaskList list;
        list.setRows(rows);
        QList<CalendarTask> tasks;
        const QStringList texts{"new", " 1 ", "renamed", "new", "second", "third"},
            uids{"a", "b", taskUid(stamp, "2"), "c", "d", "e"};
        for (int k = 0; k < texts.size(); ++k)
            tasks.append({{stamp, texts[k], {}, {}, {}}, uids[k], false});
        const ImportCount count = importTasks(list, tasks);
        QCOMPARE(QList<int>({count.added, count.alreadyHere, count.didNotFit}),
                 QList<int>({2, 3, 1}));
        QCOMPARE(list.cell(kTaskLimit, ColText), QStringLiteral("second"));
    }
};

QTEST_GUILESS_MAIN(TstCalendar)
#include "tst_calendar.moc"
