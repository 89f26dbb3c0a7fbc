// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace jot {

// Snooze moves a ringing alarm to the first quarter hour more than this long after the moment
// it is chosen: chosen at 10:16, it rings again at 10:30.
constexpr int kSnoozeMinutes = 10;

// The quarter hour a Snooze chosen at `chosen` moves the alarm to.
QDateTime snoozeTime(const QDateTime& chosen);

// The alarm text of a Snooze chosen at `chosen`, composed as the alarm editor composes it.
QString snoozeAlarm(const QDateTime& chosen, const QLocale& locale = QLocale());

} // namespace jot
