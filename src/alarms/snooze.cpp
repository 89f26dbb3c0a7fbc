// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/snooze.h"

#include "alarms/alarmtext.h"

namespace jot {

QDateTime snoozeTime(const QDateTime& chosen, Snooze how) {
    const QDateTime edge = chosen.addSecs(how == Snooze::Short ? kSnoozeMinutes * 60 : 3600);
    const QTime t = edge.time();
    const QDateTime quarter(edge.date(), QTime(t.hour(), t.minute() - t.minute() % 15));
    // An hour's edge may itself be a quarter hour ("at least"); the short one never is
    // ("more than"): otherwise the quarter hour after it.
    return how == Snooze::Hour && quarter == edge ? quarter : quarter.addSecs(15 * 60);
}

QString snoozeAlarm(const QDateTime& chosen, Snooze how, const QLocale& locale) {
    const QDateTime at = snoozeTime(chosen, how);
    return alarmTextAt(at.date(), at.time(), locale);
}

} // namespace jot
