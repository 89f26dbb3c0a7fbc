// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QDateTime>
#include <QString>
#include <optional>

struct icalcomponent_impl;
typedef struct icalcomponent_impl icalcomponent;

// One task as an iCalendar VTODO, the form phones, Thunderbird, Evolution and CalDAV servers
// keep tasks in, read and written through libical:
// - the text: SUMMARY its first line, DESCRIPTION the rest (LF line ends there, CR LF here);
// - the creation stamp: CREATED, in the latest year not after today that has its month and day;
// - the alarm: DUE in the local zone (TZID the plain zone name) with a VALARM at DUE; a rang
//   one-time alarm keeps DUE with X-MOZ-LASTACK; a repeating one RRULE, its snoozed occurrence
//   X-MOZ-SNOOZE-TIME-<occurrence in microseconds>, as Thunderbird writes them.
namespace jot {

// The task's UID: a name-based UUID of its creation stamp and text, the same at every export.
QString taskUid(const QString& stamp, const QString& text);

// A VTODO as a task here.
struct CalendarTask {
    TaskRow row;                // stamp, text, alarm, fired mark; window slot ""
    QString uid;                // the item's own UID
    bool ruleFlattened = false; // a repeat rule Jotlark cannot express became its next time
};

// The local zone as a calendar names it ("Europe/Paris"), or empty when libical does not know
// it: then alarms are written in UTC.
QString calendarZone();

// The zone's VTIMEZONE under its plain name, as clients look it up, from the first year an
// alarm names on: libical's own reaches back to the 19th century under a longer name. Null
// when libical does not know the zone.
icalcomponent* zoneComponent(const QString& zone, int fromYear);

// The first occurrence after `after` of the VTODO's repeat rule, counted from its DUE by
// libical; invalid when it has no rule, no DUE or no occurrence after.
QDateTime nextRuleOccurrence(icalcomponent* vtodo, const QDateTime& after);

// A new VTODO for a task row (the caller owns it); `now` stamps DTSTAMP and LAST-MODIFIED and
// places the years. Alarms are written in `zone` (see calendarZone()).
icalcomponent* taskToVtodo(const TaskRow& row, const QDateTime& now, const QString& zone);

// The task of a VTODO whose VCALENDAR is its parent (for its VTIMEZONEs), arriving at `now`;
// nothing for a completed or cancelled item.
std::optional<CalendarTask> vtodoToTask(icalcomponent* vtodo, const QDateTime& now);

} // namespace jot
