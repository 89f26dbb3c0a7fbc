// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/signalwatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace jot {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int s_pipe[2] = {-1, -1}; // [0] written by the handler, [1] read on the event loop

extern "C" void onSignal(int signal) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    // Non-blocking: when the pipe is full, signals are already waiting to be read.
    [[maybe_unused]] const ssize_t n = ::write(s_pipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    Q_ASSERT(s_pipe[0] < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_pipe) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(s_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readPending);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

SignalWatcher::~SignalWatcher() {
    if (!m_notifier)
        return;
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

void SignalWatcher::readPending() {
    char byte = 0;
    while (::read(s_pipe[1], &byte, 1) == 1)
        Q_EMIT received(static_cast<unsigned char>(byte));
}

} // namespace jot
