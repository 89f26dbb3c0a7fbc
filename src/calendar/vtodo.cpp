// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/vtodo.h"

#include "alarms/alarmtext.h"
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "launch/request.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <QUuid>
#include <algorithm>
#include <libical/ical.h>

namespace jot {

namespace {

// Jotlark's own namespace for name-based UIDs.
const QUuid kUidNamespace(QStringLiteral("{5f0c7f2e-8a3b-4d6e-9c41-2b7d1e0a6f93}"));

const QRegularExpression& lineBreak() {
    static const QRegularExpression re(QStringLiteral("\r\n|\r|\n"));
    return re;
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

QString fromIcal(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// A moment in UTC, as CREATED, DTSTAMP, LAST-MODIFIED and Thunderbird's own times are kept.
icaltimetype utcTime(const QDateTime& moment) {
    return icaltime_from_timet_with_zone(moment.toSecsSinceEpoch(), 0,
                                         icaltimezone_get_utc_timezone());
}

// A local moment as a DUE: plain fields under the zone's TZID, or UTC without a zone.
icalproperty* dueProperty(const QDateTime& local, const QString& zone) {
    if (zone.isEmpty())
        return icalproperty_new_due(utcTime(local));
    icaltimetype t = icaltime_null_time();
    t.year = local.date().year();
    t.month = local.date().month();
    t.day = local.date().day();
    t.hour = local.time().hour();
    t.minute = local.time().minute();
    icalproperty* due = icalproperty_new_due(t);
    icalproperty_add_parameter(due, icalparameter_new_tzid(utf8(zone).constData()));
    return due;
}

// A time read from a file in the local zone, or invalid: floating times are local already.
QDateTime localMoment(icaltimetype t) {
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t) || t.is_date)
        return {};
    if (t.zone) {
        const time_t secs = icaltime_as_timet_with_zone(t, t.zone);
        return QDateTime::fromSecsSinceEpoch(secs).toLocalTime();
    }
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

void addX(icalcomponent* c, const QByteArray& name, const QByteArray& value) {
    icalproperty* p = icalproperty_new_x(value.constData());
    icalproperty_set_x_name(p, name.constData());
    icalcomponent_add_property(c, p);
}

// "Le mm/dd à hh:nn am/pm" in the latest year not after today with that month and day.
QDateTime stampMoment(const QString& stamp, const QDate& today) {
    static const QRegularExpression re(
        QStringLiteral("^Le (\\d\\d)/(\\d\\d) à (\\d\\d):(\\d\\d) (am|pm)$"));
    const QRegularExpressionMatch m = re.match(stamp);
    if (!m.hasMatch())
        return {};
    const int month = m.captured(1).toInt(), day = m.captured(2).toInt();
    const int hour = m.captured(3).toInt() % 12 + (m.captured(5) == u"pm" ? 12 : 0);
    const QTime time(hour, m.captured(4).toInt());
    for (int year = today.year(); year > today.year() - 8; --year) {
        const QDate date(year, month, day);
        if (date.isValid() && date <= today && time.isValid())
            return QDateTime(date, time);
    }
    return {};
}

QByteArray ruleText(const RepeatRule& rule, const QDate& date) {
    switch (rule.repeat) {
    case Repeat::Never:
        return {};
    case Repeat::Daily:
        return "FREQ=DAILY";
    case Repeat::Weekdays:
        return "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    case Repeat::Weekly:
        return "FREQ=WEEKLY";
    case Repeat::Monthly: {
        // The month's last day where the day is missing, as the alarm rings here: a plain
        // monthly rule from the 31st skips the shorter months.
        const int day = rule.monthDay ? rule.monthDay : date.day();
        if (day <= 28)
            return "FREQ=MONTHLY";
        QByteArray days = "28";
        for (int d = 29; d <= day; ++d)
            days += ',' + QByteArray::number(d);
        return "FREQ=MONTHLY;BYMONTHDAY=" + days + ";BYSETPOS=-1";
    }
    case Repeat::Yearly:
        return rule.leapDay ? "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1" : "FREQ=YEARLY";
    }
    return {};
}

QList<int> byList(const short* values, int size) {
    QList<int> out;
    for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        out.append(values[i]);
    return out;
}

// The rule as Jotlark repeats, for an item due on `due`; none when it cannot say it the same.
RepeatRule ownRule(const icalrecurrencetype& r, const QDate& due) {
    const bool plain = r.interval <= 1 && r.count == 0 && icaltime_is_null_time(r.until);
    const QList<int> days = byList(r.by_day, ICAL_BY_DAY_SIZE);
    const QList<int> monthDays = byList(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const QList<int> months = byList(r.by_month, ICAL_BY_MONTH_SIZE);
    const QList<int> setPos = byList(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
    const bool others = r.by_second[0] != ICAL_RECURRENCE_ARRAY_MAX ||
                        r.by_minute[0] != ICAL_RECURRENCE_ARRAY_MAX ||
                        r.by_hour[0] != ICAL_RECURRENCE_ARRAY_MAX ||
                        r.by_year_day[0] != ICAL_RECURRENCE_ARRAY_MAX ||
                        r.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX;
    if (!plain || others)
        return {};
    QList<int> weekdays; // ISO, Monday 1; a position (1MO, -1FR) is none of Jotlark's rules
    for (const int d : days) {
        if (icalrecurrencetype_day_position(d) != 0)
            return {};
        weekdays.append((int(icalrecurrencetype_day_day_of_week(d)) + 5) % 7 + 1);
    }
    std::sort(weekdays.begin(), weekdays.end());
    const bool workweek = weekdays == QList<int>{1, 2, 3, 4, 5} && due.dayOfWeek() <= 5;
    const bool noMonthParts = monthDays.isEmpty() && months.isEmpty() && setPos.isEmpty();
    // The long forms: the last of the days 28 to D, where D is missing from shorter months.
    const auto lastOf = [&](int last) {
        QList<int> want;
        for (int d = 28; d <= last; ++d)
            want.append(d);
        return monthDays == want && setPos == QList<int>{-1};
    };
    const bool lastDayOfMonth = due.day() == due.daysInMonth();
    // Clients may spell out the day DUE gives already (BYDAY=MO, BYMONTHDAY=15): the same rule.
    const auto dueOrNone = [](const QList<int>& parts, int value) {
        return parts.isEmpty() || parts == QList<int>{value};
    };
    RepeatRule rule;
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE:
        if (!noMonthParts)
            break;
        if (workweek)
            rule.repeat = Repeat::Weekdays;
        else if (r.freq == ICAL_DAILY_RECURRENCE && weekdays.isEmpty())
            rule.repeat = Repeat::Daily;
        else if (r.freq == ICAL_WEEKLY_RECURRENCE && dueOrNone(weekdays, due.dayOfWeek()))
            rule.repeat = Repeat::Weekly;
        break;
    case ICAL_MONTHLY_RECURRENCE:
        if (!weekdays.isEmpty() || !months.isEmpty())
            break;
        if (setPos.isEmpty() && dueOrNone(monthDays, due.day()) && due.day() <= 28)
            rule.repeat = Repeat::Monthly;
        for (int d = 29; d <= 31; ++d) {
            if (lastOf(d) && (due.day() == d || (due.day() < d && lastDayOfMonth))) {
                rule.repeat = Repeat::Monthly;
                rule.monthDay = d;
            }
        }
        break;
    case ICAL_YEARLY_RECURRENCE:
        if (!weekdays.isEmpty())
            break;
        if (setPos.isEmpty() && dueOrNone(months, due.month()) && dueOrNone(monthDays, due.day()) &&
            !(due.month() == 2 && due.day() == 29)) {
            rule.repeat = Repeat::Yearly;
        } else if (months == QList<int>{2} && lastOf(29) && due.month() == 2 && lastDayOfMonth) {
            rule.repeat = Repeat::Yearly;
            rule.leapDay = true;
        }
        break;
    default:
        break;
    }
    return rule;
}

// The first occurrence of a rule Jotlark cannot express after `now`, by libical's iterator;
// the last one when none comes after.
QDateTime nextByIterator(icalcomponent* vtodo, icaltimetype due, const QDateTime& now) {
    icalproperty* rrule = icalcomponent_get_first_property(vtodo, ICAL_RRULE_PROPERTY);
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), due);
    if (!it)
        return {};
    QList<qint64> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(vtodo, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(vtodo, ICAL_EXDATE_PROPERTY)) {
        icaltimetype t = icalproperty_get_datetime_with_component(p, vtodo);
        if (!t.zone && !t.is_date)
            t.zone = due.zone;
        excluded.append(localMoment(t).toSecsSinceEpoch());
    }
    QDateTime found;
    // A bound on the steps: a rule of every second reaches a year no sooner.
    const QDateTime horizon = now.addDays(kMaxAlarmDays + 1);
    for (int step = 0; step < 100000; ++step) {
        icaltimetype t = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(t))
            break;
        t.zone = due.zone;
        const QDateTime at = localMoment(t);
        if (!at.isValid() || excluded.contains(at.toSecsSinceEpoch()))
            continue;
        found = at;
        if (at > now || at > horizon)
            break;
    }
    icalrecur_iterator_free(it);
    return found;
}

// An X- property's time; libical's parser asserts on a property without a value.
icaltimetype xTimeValue(icalproperty* p) {
    const char* text = icalproperty_get_x(p);
    return text ? icaltime_from_string(text) : icaltime_null_time();
}

// The snooze Thunderbird keeps for an occurrence of a repeating item: the occurrence, in
// microseconds since 1970 in the name, and the time it rings again.
struct OccurrenceSnooze {
    QDateTime occurrence, until;
};

std::optional<OccurrenceSnooze> occurrenceSnooze(icalcomponent* vtodo) {
    std::optional<OccurrenceSnooze> latest;
    for (icalproperty* p = icalcomponent_get_first_property(vtodo, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(vtodo, ICAL_X_PROPERTY)) {
        const QString name = fromIcal(icalproperty_get_x_name(p));
        static const QString prefix = QStringLiteral("X-MOZ-SNOOZE-TIME-");
        if (!name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const qint64 micro = name.mid(prefix.size()).toLongLong(&ok);
        const QDateTime until = localMoment(xTimeValue(p));
        if (!ok || !until.isValid())
            continue;
        const QDateTime occurrence = QDateTime::fromMSecsSinceEpoch(micro / 1000).toLocalTime();
        if (!latest || occurrence > latest->occurrence)
            latest = OccurrenceSnooze{occurrence, until};
    }
    return latest;
}

QDateTime xTime(icalcomponent* vtodo, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(vtodo, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(vtodo, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), name) == 0)
            return localMoment(xTimeValue(p));
    }
    return {};
}

QDateTime minuteOf(const QDateTime& moment) {
    return QDateTime(moment.date(), QTime(moment.time().hour(), moment.time().minute()));
}

// The alarm and fired mark of a VTODO's DUE, as they arrive at `now`.
void readAlarm(icalcomponent* vtodo, const QDateTime& now, CalendarTask& task) {
    icalproperty* dueProp = icalcomponent_get_first_property(vtodo, ICAL_DUE_PROPERTY);
    if (!dueProp)
        return;
    const icaltimetype due = icalproperty_get_datetime_with_component(dueProp, vtodo);
    // A date without a time is a deadline, not a reminder.
    const QDateTime dueAt = minuteOf(localMoment(due));
    if (!dueAt.isValid())
        return;
    QDateTime alarm = dueAt;
    QString fired;
    if (icalproperty* rrule = icalcomponent_get_first_property(vtodo, ICAL_RRULE_PROPERTY)) {
        RepeatRule rule = ownRule(icalproperty_get_rrule(rrule), dueAt.date());
        if (icalcomponent_get_first_property(vtodo, ICAL_EXDATE_PROPERTY) ||
            icalcomponent_get_first_property(vtodo, ICAL_RDATE_PROPERTY))
            rule = {};
        if (!rule.repeats()) {
            task.ruleFlattened = true;
            alarm = minuteOf(nextByIterator(vtodo, due, now));
            if (!alarm.isValid())
                return;
            fired = alarm <= now ? QStringLiteral("1") : QString();
        } else {
            // Occurrences gone by are not rung all at once: the alarm moves on past them.
            QDate date = dueAt.date();
            const QTime time = dueAt.time();
            if (ringingMoment(date, time) <= now)
                date = nextOccurrence(rule, date, time, now);
            alarm = ringingMoment(date, time);
            const bool own = alarm.date() == date && alarm.time() == time;
            rule.ownDate = own ? QDate() : date;
            rule.ownTime = own ? QTime() : time;
            const std::optional<OccurrenceSnooze> snooze = occurrenceSnooze(vtodo);
            if (snooze && snooze->until > now) {
                alarm = minuteOf(snooze->until);
                rule.ownDate = snooze->occurrence.date();
                rule.ownTime = minuteOf(snooze->occurrence).time();
            }
            fired = repeatField(rule);
        }
    } else {
        const QDateTime acknowledged = xTime(vtodo, "X-MOZ-LASTACK");
        const QDateTime snoozed = xTime(vtodo, "X-MOZ-SNOOZE-TIME");
        if (snoozed.isValid() && snoozed > now) {
            alarm = minuteOf(snoozed);
        } else if (alarm <= now || (acknowledged.isValid() && acknowledged >= dueAt)) {
            // A phone's list of overdue tasks must not ring all at once.
            fired = QStringLiteral("1");
        }
    }
    // Alarm texts name no year: one further away than that cannot be told apart.
    if (qAbs(now.date().daysTo(alarm.date())) > kMaxAlarmDays)
        return;
    task.row[ColAlarm] = alarmTextAt(alarm.date(), alarm.time());
    task.row[ColFired] = fired;
}

} // namespace

QString taskUid(const QString& stamp, const QString& text) {
    return QUuid::createUuidV5(kUidNamespace, stamp + u'\n' + text).toString(QUuid::WithoutBraces);
}

QString calendarZone() {
    const QString id = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    if (id.isEmpty() || id == u"UTC" || id == u"Etc/UTC")
        return {};
    return icaltimezone_get_builtin_timezone(utf8(id).constData()) ? id : QString();
}

icalcomponent* zoneComponent(const QString& zone, int fromYear) {
    icaltimezone* tz = icaltimezone_get_builtin_timezone(zone.toUtf8().constData());
    icalcomponent* own = tz ? icaltimezone_get_component(tz) : nullptr;
    if (!own)
        return nullptr;
    icalcomponent* vtz = icalcomponent_new_clone(own);
    if (icalproperty* id = icalcomponent_get_first_property(vtz, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(id, zone.toUtf8().constData());
    icaltimetype start = icaltime_null_time();
    start.year = fromYear;
    start.month = 1;
    start.day = 1;
    start.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtz, start, icaltime_null_time(), 0);
    return vtz;
}

QDateTime nextRuleOccurrence(icalcomponent* vtodo, const QDateTime& after) {
    icalproperty* dueProp = icalcomponent_get_first_property(vtodo, ICAL_DUE_PROPERTY);
    if (!dueProp || !icalcomponent_get_first_property(vtodo, ICAL_RRULE_PROPERTY))
        return {};
    const icaltimetype due = icalproperty_get_datetime_with_component(dueProp, vtodo);
    if (!localMoment(due).isValid())
        return {};
    const QDateTime next = minuteOf(nextByIterator(vtodo, due, after));
    return next > after ? next : QDateTime();
}

icalcomponent* taskToVtodo(const TaskRow& row, const QDateTime& now, const QString& zone) {
    icalcomponent* todo = icalcomponent_new_vtodo();
    const QString& text = row[ColText];
    icalcomponent_add_property(
        todo, icalproperty_new_uid(utf8(taskUid(row[ColStamp], text)).constData()));
    icalcomponent_add_property(todo, icalproperty_new_dtstamp(utcTime(now)));
    const QDateTime created = stampMoment(row[ColStamp], now.date());
    if (created.isValid())
        icalcomponent_add_property(todo, icalproperty_new_created(utcTime(created)));
    icalcomponent_add_property(todo, icalproperty_new_lastmodified(utcTime(now)));
    const QRegularExpressionMatch br = lineBreak().match(text);
    const QString summary = br.hasMatch() ? text.left(br.capturedStart()) : text;
    icalcomponent_add_property(todo, icalproperty_new_summary(utf8(summary).constData()));
    if (br.hasMatch()) {
        QString rest = text.mid(br.capturedEnd());
        rest.replace(lineBreak(), QStringLiteral("\n"));
        if (!rest.isEmpty())
            icalcomponent_add_property(todo, icalproperty_new_description(utf8(rest).constData()));
    }

    const AlarmMoment alarm = alarmMoment(row[ColAlarm], now.date());
    if (row[ColAlarm].trimmed().isEmpty() || !alarm.isValid())
        return todo;
    const RepeatRule rule = parseRepeat(row[ColFired]);
    const QDateTime rings(alarm.date, alarm.time);
    // A repeating alarm is due at its occurrence's own time; a snooze of it is kept aside.
    const QDateTime own = rule.ownDate.isValid() ? QDateTime(rule.ownDate, rule.ownTime) : rings;
    icalcomponent_add_property(todo, dueProperty(own, zone));
    if (rule.repeats()) {
        icalcomponent_add_property(todo, icalproperty_new_rrule(icalrecurrencetype_from_string(
                                             ruleText(rule, own.date()).constData())));
        if (ringingMoment(own.date(), own.time()) != rings)
            addX(todo, "X-MOZ-SNOOZE-TIME-" + QByteArray::number(own.toMSecsSinceEpoch() * 1000),
                 icaltime_as_ical_string(utcTime(rings)));
    } else if (row[ColFired] == u"1") {
        addX(todo, "X-MOZ-LASTACK", icaltime_as_ical_string(utcTime(now)));
    }
    icalcomponent* valarm = icalcomponent_new_valarm();
    icalcomponent_add_property(valarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_null_duration();
    icalproperty* triggerProp = icalproperty_new_trigger(trigger);
    icalproperty_add_parameter(triggerProp, icalparameter_new_related(ICAL_RELATED_END));
    icalcomponent_add_property(valarm, triggerProp);
    icalcomponent_add_property(valarm,
                               icalproperty_new_description(
                                   utf8(summary.isEmpty() ? row[ColAlarm] : summary).constData()));
    icalcomponent_add_component(todo, valarm);
    return todo;
}

std::optional<CalendarTask> vtodoToTask(icalcomponent* vtodo, const QDateTime& now) {
    const icalproperty_status status = icalcomponent_get_status(vtodo);
    if (status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_CANCELLED ||
        icalcomponent_get_first_property(vtodo, ICAL_COMPLETED_PROPERTY))
        return {};
    CalendarTask task;
    task.uid = fromIcal(icalcomponent_get_uid(vtodo));
    QString text = fromIcal(icalcomponent_get_summary(vtodo));
    if (icalproperty* d = icalcomponent_get_first_property(vtodo, ICAL_DESCRIPTION_PROPERTY)) {
        const QString rest = fromIcal(icalproperty_get_description(d));
        if (!rest.isEmpty())
            text += u'\n' + rest;
    }
    task.row[ColText] = text.replace(lineBreak(), QStringLiteral("\r\n"));
    QDateTime created;
    for (const icalproperty_kind kind : {ICAL_CREATED_PROPERTY, ICAL_DTSTAMP_PROPERTY}) {
        if (icalproperty* p = icalcomponent_get_first_property(vtodo, kind);
            p && !created.isValid())
            created = localMoment(icalproperty_get_datetime_with_component(p, vtodo));
    }
    task.row[ColStamp] = creationStamp(created.isValid() ? created : now);
    readAlarm(vtodo, now, task);
    return task;
}

} // namespace jot
