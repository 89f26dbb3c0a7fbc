// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer over the calendar file reader: whatever it takes in must write out as a calendar
// that reads back as as many tasks, without error.
#include "calendar/calendarfile.h"

#include <cstdlib>
#include <ctime>

namespace {
const QDateTime kNow({2026, 12, 7}, {10, 0});
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with daylight saving: its gaps and overlaps are where times go wrong.
    setenv("TZ", "Europe/Paris", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const jot::CalendarRead read = jot::readCalendar(QByteArrayView(data, qsizetype(size)), kNow);
    if (!read.error.isEmpty() && !read.tasks.isEmpty())
        qFatal("a file that cannot be read gave tasks");
    QList<jot::TaskRow> rows;
    for (const jot::CalendarTask& task : read.tasks)
        rows.append(task.row);
    if (rows.isEmpty())
        return 0;
    const jot::CalendarRead again = jot::readCalendar(jot::writeCalendar(rows, kNow), kNow);
    if (!again.error.isEmpty() || again.tasks.size() != rows.size())
        qFatal("the tasks read did not write back as a calendar of as many tasks");
    return 0;
}
