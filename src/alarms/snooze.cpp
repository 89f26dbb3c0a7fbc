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
    return alarmTextAt(snoozeTime(chosen, how), locale);
}

QString alarmTextAt(const QDateTime& at, const QLocale& locale) {
    // The editor's hours: 0 to 12 with "am" (so noon reads "12 am"), later ones less 12 "pm".
    const int hour = at.time().hour();
    const bool pm = hour > 12;
    return composeAlarm(dayText(at.date(), locale), QString::number(pm ? hour - 12 : hour),
                        QString::asprintf("%02d", at.time().minute()),
                        pm ? QStringLiteral("pm") : QStringLiteral("am"));
}

} // namespace jot
