// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/clockwatch.h"

#include "alarms/ticks.h"
#include "store/clock.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace jot {

namespace {
// The timer only waits to be cancelled: it is set a year ahead, and set again if it comes.
constexpr time_t kFarAheadS = 365 * 24 * 3600;
// Without the kernel's word: often enough to bring the check within seconds.
constexpr int kPollMs = 3000;
} // namespace

ClockWatch::ClockWatch(QObject* parent) : QObject(parent) {
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0 && arm()) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &ClockWatch::readTimer);
        return;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_wall = now();
    m_monotonic.start();
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &ClockWatch::compareClocks);
    m_poll->start();
}

ClockWatch::~ClockWatch() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ClockWatch::arm() {
    itimerspec at{};
    at.it_value.tv_sec = std::time(nullptr) + kFarAheadS;
    return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &at, nullptr) == 0;
}

void ClockWatch::readTimer() {
    quint64 expirations = 0;
    // ECANCELED: the clock was set (or the machine resumed); either way the timer is set
    // again, and the reader told.
    if (::read(m_fd, &expirations, sizeof expirations) < 0 && errno == EAGAIN)
        return;
    if (!arm())
        m_notifier->setEnabled(false); // cannot happen with a valid time; never spin on it
    Q_EMIT clockChanged();
}

void ClockWatch::compareClocks() {
    const QDateTime wall = now();
    const bool jumped = clockJumped(m_wall.msecsTo(wall), m_monotonic.restart());
    m_wall = wall;
    if (jumped)
        Q_EMIT clockChanged();
}

} // namespace jot
