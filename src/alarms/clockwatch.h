// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

class QSocketNotifier;
class QTimer;

namespace jot {

// Tells when the wall clock was set or the machine woke from a sleep, whatever the step: the
// alarm timer sleeps on the monotonic clock and would miss a quarter hour passed that way.
// On Linux the kernel says so (a timerfd cancelled on any clock set, resume included), with
// no wake-up meanwhile; elsewhere the two clocks are compared every few seconds.
class ClockWatch : public QObject {
    Q_OBJECT
public:
    explicit ClockWatch(QObject* parent = nullptr);
    ~ClockWatch() override;

    // Whether the kernel tells (false: the clocks are compared at intervals).
    bool toldByKernel() const { return m_fd >= 0; }

Q_SIGNALS:
    void clockChanged();

private:
    bool arm();
    void readTimer();
    void compareClocks();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_poll = nullptr;
    QDateTime m_wall; // at the last comparison
    QElapsedTimer m_monotonic;
};

} // namespace jot
