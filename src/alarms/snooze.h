// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace jot {

// The two ways a ringing alarm is put off.
enum class Snooze {
    Short, // to the first quarter hour more than kSnoozeMinutes ahead: chosen at 10:16, 10:30
    Hour,  // to the first quarter hour at least an hour ahead: chosen at 10:16, 11:30
};

// Snooze moves a ringing alarm to the first quarter hour more than this long after the moment
// it is chosen: chosen at 10:16, it rings again at 10:30.
constexpr int kSnoozeMinutes = 10;

// The quarter hour a snooze chosen at `chosen` moves the alarm to.
QDateTime snoozeTime(const QDateTime& chosen, Snooze how = Snooze::Short);

// The alarm text of a snooze chosen at `chosen`, composed as the alarm editor composes it.
QString snoozeAlarm(const QDateTime& chosen, Snooze how = Snooze::Short,
                    const QLocale& locale = QLocale());

// The alarm text of the quarter hour `at`, composed as the alarm editor's "Ok" composes it.
QString alarmTextAt(const QDateTime& at, const QLocale& locale = QLocale());

} // namespace jot
