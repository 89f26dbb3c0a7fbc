// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/snooze.h"

#include "alarms/alarmtext.h"

namespace jot {

QDateTime snoozeTime(const QDateTime& chosen, Snooze how) {
    // Alarms name whole minutes: the seconds of the answer are dropped, not rounded up.
    const QTime t = chosen.time();
    const QDateTime minute(chosen.date(), QTime(t.hour(), t.minute()));
    return minute.addSecs(how == Snooze::Short ? kSnoozeMinutes * 60 : 3600);
}

QString snoozeAlarm(const QDateTime& chosen, Snooze how, const QLocale& locale) {
    const QDateTime at = snoozeTime(chosen, how);
    return alarmTextAt(at.date(), at.time(), locale);
}

} // namespace jot
