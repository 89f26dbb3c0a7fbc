// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QtGlobal>

// When the alarm timer ticks, measured against the wall clock. Timers run on the monotonic
// clock, which stops while the machine sleeps and ignores changes of the wall clock.
namespace jot {

// A tick comes this long after a minute begins: late enough to lie in that minute, early
// enough for an alarm to ring within a second of its minute.
constexpr int kAfterMinuteMs = 500;

// How long from `now` until kAfterMinuteMs after the next wall-clock minute begins.
int msToNextMinute(const QDateTime& now);

// Whether a timer due in `msToTimeout` from `now` comes in the first second of the next
// minute: never before the minute, never a second late.
bool tickOnTheMinute(int msToTimeout, const QDateTime& now);

// Whether a quarter hour began after `previous` and at or before `now`: a check that no tick
// saw, because a tick came late, the machine slept or the clock was set forward.
bool quarterHourPassed(const QDateTime& previous, const QDateTime& now);

// Whether the wall clock moved more than a second away from the monotonic clock over the same
// stretch: the machine slept or the clock was set, forward or back.
bool clockJumped(qint64 wallMs, qint64 monotonicMs);

} // namespace jot
