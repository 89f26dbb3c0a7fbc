// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace jot {

// SIGTERM, SIGINT and SIGHUP brought onto the event loop: the handler only writes the signal's
// number into a socket pair (all it may safely do), and a notifier reads it there.
// One watcher at a time; the previous dispositions come back when it is destroyed.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

Q_SIGNALS:
    void received(int signal);

private:
    void readPending();

    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previous[3];
};

} // namespace jot
