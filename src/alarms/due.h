// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

namespace jot {

// The quarter-hour checks run in the minutes 00, 15, 30 and 45.
bool isQuarterHour(const QTime& time);

// The date with this month and day nearest to today, ahead or behind (alarm texts hold no
// year): among the years from one back to seven ahead where it falls on `weekday` (1 to 7),
// or among all, when that is 0 or none does; invalid when no year gives such a date.
QDate alarmDate(int month, int day, const QDate& today, int weekday = 0);

// The date and time an alarm text names, as the due test reads it (a time local time skips
// is still named); both invalid when it cannot be read.
struct AlarmMoment {
    QDate date;
    QTime time;
    bool isValid() const { return date.isValid() && time.isValid(); }
};
AlarmMoment alarmMoment(const QString& alarmText, const QDate& today);

// Whether a row's alarm falls due at `now`: unfired, and its date before today, or today
// with its time come. Texts that cannot be read are never due.
bool isDue(const QString& alarmText, const QString& firedMark, const QDateTime& now);

// The task rows whose alarm falls due at `now`, in row order; the placeholder row and fired
// alarms are left out.
QList<int> dueRows(const TaskList& list, const QDateTime& now);

// What a notice says of a due task: its first line, or its alarm as the user reads it when
// that line is blank.
QString dueSummary(const TaskList& list, int row);

} // namespace jot
