// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtag.h"

#include "alarms/recurrence.h"

namespace jot {

QString alarmTag(const TaskList& liste, int row) {
    // Lengths before the stamp and the alarm, so that no text can pass for another split.
    const QString stamp = liste.cell(row, ColStamp);
    const QString alarm = liste.cell(row, ColAlarm);
    return QString::number(stamp.size()) + u':' + stamp + QString::number(alarm.size()) + u':' +
           alarm + liste.cell(row, ColText);
}

int rowOfAlarmTag(const TaskList& liste, const QString& tag) {
    for (int r = 1; r < liste.rows(); ++r)
        if (!liste.isPlaceholder(r) && alarmTag(liste, r) == tag)
            return r;
    return -1;
}

bool stillRinging(const TaskList& liste, const QString& tag) {
    for (int r = 1; r < liste.rows(); ++r) {
        const QString full = alarmTag(liste, r);
        const QString withoutText = full.left(full.size() - liste.cell(r, ColText).size());
        const QString fired = liste.cell(r, ColFired);
        if (!liste.isPlaceholder(r) &&
            (fired == QLatin1String("1") || parseRepeat(fired).repeats()) &&
            tag.startsWith(withoutText))
            return true;
    }
    return false;
}

} // namespace jot
