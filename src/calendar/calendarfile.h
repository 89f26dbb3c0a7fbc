// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/vtodo.h"
#include "store/tasklist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

// Calendar files in and out: the whole list as one .ics, and the open tasks of an .ics that
// Thunderbird, Tasks.org or any calendar program exports brought into the list.
namespace jot {

// Every task as a VTODO in one VCALENDAR, with the VTIMEZONE its alarms name.
QByteArray writeCalendar(const QList<TaskRow>& rows, const QDateTime& now);

struct CalendarRead {
    QList<CalendarTask> tasks; // the open VTODOs, in file order
    QString error;             // why nothing can be taken from the file; empty when read
};

// Reads a whole .ics: a file that is not iCalendar, is cut short, or holds no VTODO says so
// in `error` and gives no task.
CalendarRead readCalendar(QByteArrayView bytes, const QDateTime& now);

struct ImportCount {
    int added = 0;
    int alreadyHere = 0; // the same UID, or the same creation stamp and text
    int didNotFit = 0;   // past the task limit
    int flattened = 0;   // repeat rules that came in as one-time alarms
};

// Adds the tasks not in the list yet, up to the task limit.
ImportCount importTasks(TaskList& list, const QList<CalendarTask>& tasks);

// The one line that tells how an import went, in the user's language.
QString importSummary(const ImportCount& count);

// The task file of `dataDir` as a calendar written to `target` ("-": standard output), for
// --export. Returns false with the reason in `why`.
bool exportTaskFile(const QString& dataDir, const QString& target, QString* why);

// --export from the user's data directory: the status to end with, the reason on stderr.
int exportForCommandLine(const QString& target);

} // namespace jot
