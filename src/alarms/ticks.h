#pragma once

#include <QDateTime>
#include <QtGlobal>

// When the alarm timer ticks, measured against the wall clock. Timers run on the monotonic
// clock, which stops while the machine sleeps and ignores changes of the wall clock.
namespace jot {

// Whether a quarter hour began after `previous` and at or before `now`: a check that no tick
// saw, because a tick came late, the machine slept or the clock was set forward.
bool quarterHourPassed(const QDateTime& previous, const QDateTime& now);

// Whether the wall clock moved more than 90 s away from the monotonic clock over the same
// stretch: the machine slept or the clock was set, forward or back.
bool clockJumped(qint64 wallMs, qint64 monotonicMs);

} // namespace jot
