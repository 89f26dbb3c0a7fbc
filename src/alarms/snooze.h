// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace jot {

// The two ways a ringing alarm is put off, to the minute: chosen at 16:45:18, the alarm rings
// again at 16:55 or 17:45.
enum class Snooze {
    Short, // kSnoozeMinutes later
    Hour,  // an hour later
};

constexpr int kSnoozeMinutes = 10;

// The minute a snooze chosen at `chosen` moves the alarm to.
QDateTime snoozeTime(const QDateTime& chosen, Snooze how = Snooze::Short);

// The alarm text of a snooze chosen at `chosen`, composed as the alarm editor composes it.
QString snoozeAlarm(const QDateTime& chosen, Snooze how = Snooze::Short,
                    const QLocale& locale = QLocale());

} // namespace jot
