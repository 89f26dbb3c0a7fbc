// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/calendaritem.h"

#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "calendar/calendarfile.h"

#include <libical/ical.h>
#include <memory>

namespace jot {

namespace {

struct FreeComponent {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

Component parse(QByteArrayView ics) {
    // A malformed item is an answer to skip, not a reason to end the program.
    icalerror_set_errors_are_fatal(0);
    if (ics.isEmpty() || ics.contains('\0'))
        return nullptr;
    Component root(icalparser_parse_string(ics.toByteArray().constData()));
    if (root && icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        return nullptr;
    return root;
}

// The item's main VTODO: the one that is not a changed occurrence.
icalcomponent* masterTodo(icalcomponent* calendar) {
    icalcomponent* first = nullptr;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VTODO_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VTODO_COMPONENT)) {
        if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            return c;
        if (!first)
            first = c;
    }
    return first;
}

QByteArray text(icalcomponent* root) {
    char* out = icalcomponent_as_ical_string_r(root);
    const QByteArray bytes(out);
    icalmemory_free_buffer(out);
    return bytes;
}

QDateTime utcMoment(icaltimetype t) {
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return {};
    return QDateTime::fromSecsSinceEpoch(
        icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone()));
}

icaltimetype utcTime(const QDateTime& moment) {
    return icaltime_from_timet_with_zone(moment.toSecsSinceEpoch(), 0,
                                         icaltimezone_get_utc_timezone());
}

void removeAll(icalcomponent* c, icalproperty_kind kind) {
    while (icalproperty* p = icalcomponent_get_first_property(c, kind)) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

// Thunderbird's marks of a rung or snoozed alarm, which belong to the old DUE.
bool isAlarmMark(icalproperty* p) {
    const QByteArray name = icalproperty_get_x_name(p);
    return name.compare("X-MOZ-LASTACK", Qt::CaseInsensitive) == 0 ||
           name.startsWith("X-MOZ-SNOOZE-TIME");
}

void removeAlarmMarks(icalcomponent* c) {
    QList<icalproperty*> marks;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        if (isAlarmMark(p))
            marks.append(p);
    }
    for (icalproperty* p : marks) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

// An alarm counted from DUE: it has nothing to ring at without one.
bool relatedToDue(icalcomponent* valarm) {
    icalproperty* trigger = icalcomponent_get_first_property(valarm, ICAL_TRIGGER_PROPERTY);
    if (!trigger)
        return false;
    icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    return related && icalparameter_get_related(related) == ICAL_RELATED_END &&
           icaltime_is_null_time(icalproperty_get_trigger(trigger).time);
}

void copyProperties(icalcomponent* from, icalcomponent* to, icalproperty_kind kind) {
    for (icalproperty* p = icalcomponent_get_first_property(from, kind); p;
         p = icalcomponent_get_next_property(from, kind)) {
        if (kind != ICAL_X_PROPERTY || isAlarmMark(p))
            icalcomponent_add_property(to, icalproperty_new_clone(p));
    }
}

bool sameRule(const RepeatRule& a, const RepeatRule& b) {
    return a.repeat == b.repeat && a.monthDay == b.monthDay && a.leapDay == b.leapDay;
}

void stamp(icalcomponent* todo, const QDateTime& now) {
    removeAll(todo, ICAL_LASTMODIFIED_PROPERTY);
    removeAll(todo, ICAL_DTSTAMP_PROPERTY);
    icalcomponent_add_property(todo, icalproperty_new_dtstamp(utcTime(now)));
    icalcomponent_add_property(todo, icalproperty_new_lastmodified(utcTime(now)));
}

// The VTIMEZONE a DUE names, where the calendar lacks it.
void addZone(icalcomponent* calendar, icalcomponent* todo, const QString& zone,
             const QDateTime& now) {
    if (zone.isEmpty() || !icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY))
        return;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
         c; c = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
        if (id && zone == QString::fromUtf8(icalproperty_get_tzid(id)))
            return;
    }
    if (icalcomponent* vtz = zoneComponent(zone, now.date().year() - 1))
        icalcomponent_add_component(calendar, vtz);
}

} // namespace

CalendarItem readItem(QByteArrayView ics, const QDateTime& now) {
    CalendarItem item;
    const Component root = parse(ics);
    icalcomponent* todo = root ? masterTodo(root.get()) : nullptr;
    if (!todo)
        return item;
    item.todo = true;
    item.uid = QString::fromUtf8(icalcomponent_get_uid(todo));
    item.task = vtodoToTask(todo, now);
    for (const icalproperty_kind kind : {ICAL_LASTMODIFIED_PROPERTY, ICAL_DTSTAMP_PROPERTY}) {
        icalproperty* p = icalcomponent_get_first_property(todo, kind);
        if (p && !item.modified.isValid())
            item.modified = utcMoment(icalproperty_get_datetime_with_component(p, todo));
    }
    if (icalproperty* p = icalcomponent_get_first_property(todo, ICAL_CREATED_PROPERTY))
        item.created = utcMoment(icalproperty_get_datetime_with_component(p, todo));
    if (item.task) {
        const AlarmMoment alarm = alarmMoment(item.task->row[ColAlarm], now.date());
        if (alarm.isValid())
            item.due = QDateTime(alarm.date, alarm.time);
    }
    return item;
}

QByteArray changeItem(QByteArrayView ics, const TaskRow& before, const TaskRow& row, int fields,
                      const QDateTime& now, const QString& zone) {
    const Component root = parse(ics);
    icalcomponent* todo = root ? masterTodo(root.get()) : nullptr;
    if (!todo)
        return {};
    // What Jotlark itself would write for the row: its properties are copied over.
    const Component own(taskToVtodo(row, now, zone));
    if (fields & ItemText) {
        removeAll(todo, ICAL_SUMMARY_PROPERTY);
        removeAll(todo, ICAL_DESCRIPTION_PROPERTY);
        copyProperties(own.get(), todo, ICAL_SUMMARY_PROPERTY);
        copyProperties(own.get(), todo, ICAL_DESCRIPTION_PROPERTY);
    }
    if (fields & ItemAlarm) {
        const bool ruleChanged =
            !sameRule(parseRepeat(before[ColFired]), parseRepeat(row[ColFired]));
        const bool hasAlarm = icalcomponent_get_first_property(own.get(), ICAL_DUE_PROPERTY);
        removeAll(todo, ICAL_DUE_PROPERTY);
        removeAlarmMarks(todo);
        if (ruleChanged || !hasAlarm) {
            removeAll(todo, ICAL_RRULE_PROPERTY);
            removeAll(todo, ICAL_EXDATE_PROPERTY);
            removeAll(todo, ICAL_RDATE_PROPERTY);
            copyProperties(own.get(), todo, ICAL_RRULE_PROPERTY);
        }
        copyProperties(own.get(), todo, ICAL_DUE_PROPERTY);
        copyProperties(own.get(), todo, ICAL_X_PROPERTY);
        QList<icalcomponent*> alarms;
        for (icalcomponent* a = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(todo, ICAL_VALARM_COMPONENT))
            alarms.append(a);
        if (!hasAlarm) {
            for (icalcomponent* a : alarms) {
                if (relatedToDue(a)) {
                    icalcomponent_remove_component(todo, a);
                    icalcomponent_free(a);
                }
            }
        } else if (alarms.isEmpty()) {
            if (icalcomponent* a =
                    icalcomponent_get_first_component(own.get(), ICAL_VALARM_COMPONENT))
                icalcomponent_add_component(todo, icalcomponent_new_clone(a));
        }
        addZone(root.get(), todo, zone, now);
    }
    stamp(todo, now);
    return text(root.get());
}

QByteArray completeItem(QByteArrayView ics, const QDateTime& now) {
    const Component root = parse(ics);
    icalcomponent* todo = root ? masterTodo(root.get()) : nullptr;
    if (!todo)
        return {};
    removeAll(todo, ICAL_STATUS_PROPERTY);
    removeAll(todo, ICAL_COMPLETED_PROPERTY);
    removeAll(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
    icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    icalcomponent_add_property(todo, icalproperty_new_completed(utcTime(now)));
    icalcomponent_add_property(todo, icalproperty_new_percentcomplete(100));
    stamp(todo, now);
    return text(root.get());
}

QByteArray newItem(const TaskRow& row, const QString& uid, const QDateTime& now) {
    const QByteArray written = writeCalendar({row}, now);
    if (uid == taskUid(row[ColStamp], row[ColText]))
        return written;
    const Component root = parse(written);
    icalcomponent* todo = root ? masterTodo(root.get()) : nullptr;
    if (!todo)
        return {};
    icalcomponent_set_uid(todo, uid.toUtf8().constData());
    return text(root.get());
}

std::optional<QDateTime> nextItemOccurrence(QByteArrayView ics, const QDateTime& after) {
    const Component root = parse(ics);
    icalcomponent* todo = root ? masterTodo(root.get()) : nullptr;
    const QDateTime next = todo ? nextRuleOccurrence(todo, after) : QDateTime();
    if (!next.isValid())
        return {};
    return next;
}

} // namespace jot
