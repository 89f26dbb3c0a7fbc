// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/tempdatahome.h"
#include "store/clock.h"

#include <QtTest>
#include <csignal>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <sys/resource.h>
#include <utility>

// What the test programs share: task files written by hand, a full disk, a clock the test
// sets, and a main() that also plays the program's child processes.
namespace testing {

// One record of planifs.txt.
inline QByteArray record(const QByteArray& stamp, const QByteArray& text,
                         const QByteArray& alarm = {}, const QByteArray& fired = {}) {
    return '"' + stamp + "\",\"" + text + "\",\"" + alarm + "\",\"" + fired + "\"\r\n";
}

// n tasks "task 1" to "task n", without alarms.
inline QByteArray records(int n, const QByteArray& stamp = "Le 03/14 \xc3\xa0 09:00 am") {
    QByteArray bytes;
    for (int k = 1; k <= n; ++k)
        bytes += record(stamp, "task " + QByteArray::number(k));
    return bytes;
}

// While it lasts no file grows past `bytes`, as on a full disk: a write fails (SIGXFSZ is
// ignored) instead of the program being killed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes, bool on = true) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit limit{bytes, m_saved.rlim_max};
        if (on)
            ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

// The wall clock the program reads, once useFakeClock() is called: the test sets it.
inline QDateTime fakeNow;
inline void useFakeClock() {
    jot::setClockForTests([] { return fakeNow; });
}

// A test program that is also the child processes its tests start: run with a role's option
// first (startRole()), it plays that role instead of running its tests.
using Role = std::pair<const char*, std::function<int(int argc, char** argv)>>;
template <class Application, class Test>
int mainWithRoles(int argc, char** argv, std::initializer_list<Role> roles) {
    for (const auto& [option, role] : roles)
        if (argc >= 2 && std::strcmp(argv[1], option) == 0)
            return role(argc, argv);
    Application application(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
inline void startRole(QProcess& child, const QStringList& arguments) {
    child.setChildProcessModifier(endWithParent);
    child.start(QCoreApplication::applicationFilePath(), arguments);
}

} // namespace testing
