// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QString>

namespace jot {

// What the notification of a ringing alarm remembers of its task: its creation stamp, alarm
// and text. An answer that comes later (Show, Snooze) finds the task by it wherever its row
// has moved, and finds nothing once the task was deleted or changed.
QString alarmTag(const TaskList& list, int row);

// The task row that still carries this tag, or -1.
int rowOfAlarmTag(const TaskList& list, const QString& tag);

// Whether a task still rings with the alarm of this tag: the same creation stamp and alarm,
// fired (or repeating, moved on at its ring) and not set again since; its text may have been
// edited meanwhile.
bool stillRinging(const TaskList& list, const QString& tag);
// The same of one row.
bool ringsWith(const TaskList& list, int row, const QString& tag);

} // namespace jot
