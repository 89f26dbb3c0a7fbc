#pragma once

#include <QDateTime>
#include <QtGlobal>

// When the alarm timer ticks, measured against the wall clock.
namespace jot {

// Whether a quarter hour began after `previous` and at or before `now`: a check that no tick
// saw, because a tick came late, the machine slept or the clock was set forward.
bool quarterHourPassed(const QDateTime& previous, const QDateTime& now);

} // namespace jot
