// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/due.h"
#include "store/tasklist.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace jot {

enum class Repeat { Never, Daily, Weekdays, Weekly, Monthly, Yearly };

// A repeating alarm, as the fired-mark field stores it in place of "" or "1": "daily",
// "weekdays" (Monday to Friday), "weekly", "monthly" or "yearly", followed by "@" and what the
// alarm text alone cannot carry: the day of month of a monthly alarm past the 28th
// ("monthly@31"), 29 February for a yearly one ("yearly@02-29"), and the occurrence's own date
// and time while the alarm text holds another, a snoozed time or the minute after a
// daylight-saving gap ("weekly@2026-12-14T09:00"). Plain ASCII, never "1": a program that
// knows only "" and "1" takes it for an alarm not fired yet.
struct RepeatRule {
    Repeat repeat = Repeat::Never;
    int monthDay = 0;     // monthly: 29 to 31, or 0 for the day of the alarm text
    bool leapDay = false; // yearly: on 29 February
    QDate ownDate;        // invalid while the alarm text is the occurrence's own moment
    QTime ownTime;

    bool repeats() const { return repeat != Repeat::Never; }
};

// "" and "1", and anything not understood, are no repeat.
RepeatRule parseRepeat(const QString& field);
QString repeatField(const RepeatRule& rule);

// The rule that repeats an alarm set for `date`: a monthly one keeps a day past the 28th and a
// yearly one 29 February, which shorter months and years cannot show.
RepeatRule ruleFor(Repeat repeat, const QDate& date);

// What the rule says after the time, in the user's language ("every week"); empty for none.
QString repeatSuffix(Repeat repeat);

// The moment an alarm set for `date` at `time` rings: then, or where local time skips that
// moment (the spring daylight-saving gap), the first minute after it.
QDateTime ringingMoment(const QDate& date, const QTime& time);

// The rule's next own occurrence whose ringing moment comes after `after`; `date` is one of
// its own occurrences, whose time is the rule's. A monthly alarm on a day a month lacks falls
// on its last day; a yearly one on 29 February on 28 February.
QDate nextOccurrence(const RepeatRule& rule, const QDate& date, const QTime& time,
                     const QDateTime& after);

// A due alarm of a repeating task rings: its alarm text moves on to the rule's next occurrence
// after `now` (those missed meanwhile ring this once), and the rule stays. Returns the own
// date and time of the occurrence that rang; invalid for a task that does not repeat.
AlarmMoment moveOn(TaskList& list, int row, const QDateTime& now);

// The fired-mark field of a repeating alarm once the occurrence that rang (`rang`, its own
// date and time) is snoozed: the occurrences after it keep the rule's own day and time.
QString snoozedField(const QString& field, const AlarmMoment& rang);

// Of two records of one task that differ only in their alarm's state, the one further along:
// a fired one-time alarm over the same alarm not fired, and of two occurrences of one
// repeating rule the later (by the rule's own date, else by the alarm text). 1 for `a`, -1 for
// `b`, 0 when their alarms differ in more than that.
int furtherAlarmState(const TaskRow& a, const TaskRow& b, const QDate& today);

// The alarm as the list, the note, the notices and the report show it: as the user's locale
// writes it (see shownAlarm()), with its rule after the time ("Monday 12/14 9:00 am, every
// week"). `today`, for the year, is the clock's when not given.
QString alarmDisplay(const QString& alarmText, const QString& field, const QDate& today = {});

} // namespace jot
