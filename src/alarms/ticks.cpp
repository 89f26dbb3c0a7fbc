// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/ticks.h"

#include <QTime>

namespace jot {

namespace {
constexpr int kMinuteMs = 60000;
// A step of the wall clock against the monotonic one that passes a quarter hour must bring
// the check within seconds, however small; drift over a few seconds is far below this.
constexpr qint64 kJumpMs = 1000;
} // namespace

int msToNextMinute(const QDateTime& now) {
    const QTime t = now.time();
    return kMinuteMs - (t.second() * 1000 + t.msec()) + kAfterMinuteMs;
}

bool tickOnTheMinute(int msToTimeout, const QDateTime& now) {
    const int wanted = msToNextMinute(now);
    return msToTimeout > wanted - kAfterMinuteMs && msToTimeout <= wanted + kAfterMinuteMs;
}

bool quarterHourPassed(const QDateTime& previous, const QDateTime& now) {
    // The last quarter hour begun at or before now: if it began after the previous tick, that
    // tick did not see it. A clock set back sees none, and none is due again.
    QDateTime quarter = now;
    quarter.setTime(QTime(now.time().hour(), now.time().minute() / 15 * 15));
    return previous < quarter;
}

bool clockJumped(qint64 wallMs, qint64 monotonicMs) {
    return qAbs(wallMs - monotonicMs) > kJumpMs;
}

} // namespace jot
