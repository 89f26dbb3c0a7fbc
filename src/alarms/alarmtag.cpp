// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtag.h"

#include "alarms/recurrence.h"

namespace jot {

QString alarmTag(const TaskList& list, int row) {
    // Lengths before the stamp and the alarm, so that no text can pass for another split.
    const QString stamp = list.cell(row, ColStamp);
    const QString alarm = list.cell(row, ColAlarm);
    return QString::number(stamp.size()) + u':' + stamp + QString::number(alarm.size()) + u':' +
           alarm + list.cell(row, ColText);
}

int rowOfAlarmTag(const TaskList& list, const QString& tag) {
    for (int r = 1; r < list.rows(); ++r)
        if (!list.isPlaceholder(r) && alarmTag(list, r) == tag)
            return r;
    return -1;
}

bool stillRinging(const TaskList& list, const QString& tag) {
    for (int r = 1; r < list.rows(); ++r) {
        if (ringsWith(list, r, tag))
            return true;
    }
    return false;
}

bool ringsWith(const TaskList& list, int row, const QString& tag) {
    const QString full = alarmTag(list, row);
    const QString withoutText = full.left(full.size() - list.cell(row, ColText).size());
    const QString fired = list.cell(row, ColFired);
    return !list.isPlaceholder(row) &&
           (fired == QLatin1String("1") || parseRepeat(fired).repeats()) &&
           tag.startsWith(withoutText);
}

} // namespace jot
