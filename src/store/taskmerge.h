// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QHash>
#include <QList>
#include <QString>
#include <utility>

namespace jot {

// A record as the file stores it, so that texts that only differ in how a line break was
// typed count as one.
QString recordKey(const TaskRow& row);

// The data rows as the file keeps them: no window slot.
QList<TaskRow> storedRows(const TaskList& list);

// Whether two versions hold the same records, in any order.
bool sameRecords(const QList<TaskRow>& a, const QList<TaskRow>& b);

// How many times each record occurs, by recordKey.
QHash<QString, int> recordCounts(const QList<TaskRow>& rows);

// The records both versions hold, as many times as both hold them, in the order of `a`.
QList<TaskRow> commonRecords(const QList<TaskRow>& a, const QList<TaskRow>& b);

// What merging other versions of the file into the list does, by whole records.
struct MergePlan {
    QList<int> removals;                    // task rows, from the bottom up
    QList<std::pair<int, TaskRow>> updates; // task rows whose alarm's state changes
    QList<TaskRow> additions;               // appended in this order
};

// `base` is the version last read or written here. `theirs`, when given, is the file another
// writer put in its place: a record it added is added here, and a record it removed is removed
// here when the list still holds it unchanged (with `removals` only: a file that could not be
// read whole removes nothing). `conflicts` are this machine's versions that a sync tool set
// aside: a record of theirs is added when it is in neither the list nor `base`, and a record
// one of them holds is never removed, since the two sides diverged. No record the list holds
// is ever added a second time, and no blank record is added. A record that differs from one
// of the list's only in its alarm's state updates that task instead of adding another.
MergePlan planMerge(const TaskList& list, const QList<TaskRow>& base, const QList<TaskRow>* theirs,
                    bool removals, const QList<QList<TaskRow>>& conflicts);

} // namespace jot
