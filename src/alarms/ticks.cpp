#include "alarms/ticks.h"

#include <QTime>

namespace jot {

namespace {
constexpr qint64 kJumpMs = 90000;
} // namespace

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
