// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/snooze.h"

#include "alarms/alarmtext.h"

namespace jot {

QDateTime snoozeTime(const QDateTime& chosen) {
    // The quarter hour at or before the edge, then the next one: strictly after the edge.
    const QDateTime edge = chosen.addSecs(kSnoozeMinutes * 60);
    const QTime t = edge.time();
    return QDateTime(edge.date(), QTime(t.hour(), t.minute() - t.minute() % 15)).addSecs(15 * 60);
}

QString snoozeAlarm(const QDateTime& chosen, const QLocale& locale) {
    const QDateTime at = snoozeTime(chosen);
    // The editor's hours: 0 to 12 with "am" (so noon reads "12 am"), later ones less 12 "pm".
    const int hour = at.time().hour();
    const bool pm = hour > 12;
    return composeAlarm(dayText(at.date(), locale), QString::number(pm ? hour - 12 : hour),
                        QString::asprintf("%02d", at.time().minute()),
                        pm ? QStringLiteral("pm") : QStringLiteral("am"));
}

} // namespace jot
