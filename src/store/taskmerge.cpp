// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/taskmerge.h"

#include "alarms/recurrence.h"
#include "store/clock.h"
#include "store/taskformat.h"

#include <QHash>
#include <QSet>

namespace jot {

namespace {

bool isBlankRecord(const TaskRow& row) {
    return isBlank(row[ColStamp]) && isBlank(row[ColText]) && isBlank(row[ColAlarm]);
}

TaskRow storedRow(const TaskList& list, int r) {
    return {list.cell(r, ColStamp), list.cell(r, ColText), list.cell(r, ColAlarm), QString(),
            list.cell(r, ColFired)};
}

} // namespace

QString recordKey(const TaskRow& row) {
    QString key;
    for (const QString& f :
         {row[ColStamp], escapeTaskText(row[ColText]), row[ColAlarm], row[ColFired]})
        key += QString::number(f.size()) + u':' + f;
    return key;
}

QList<TaskRow> storedRows(const TaskList& list) {
    QList<TaskRow> rows;
    rows.reserve(list.rows() - 1);
    for (int r = 1; r < list.rows(); ++r)
        rows.append(storedRow(list, r));
    return rows;
}

QHash<QString, int> recordCounts(const QList<TaskRow>& rows) {
    QHash<QString, int> counts;
    for (const TaskRow& row : rows)
        ++counts[recordKey(row)];
    return counts;
}

bool sameRecords(const QList<TaskRow>& a, const QList<TaskRow>& b) {
    return a.size() == b.size() && recordCounts(a) == recordCounts(b);
}

QList<TaskRow> commonRecords(const QList<TaskRow>& a, const QList<TaskRow>& b) {
    QHash<QString, int> inB = recordCounts(b);
    QList<TaskRow> common;
    for (const TaskRow& row : a) {
        if (int& n = inB[recordKey(row)]; n > 0) {
            --n;
            common.append(row);
        }
    }
    return common;
}

MergePlan planMerge(const TaskList& list, const QList<TaskRow>& base, const QList<TaskRow>* theirs,
                    bool removals, const QList<QList<TaskRow>>& conflicts) {
    // The list as the merge leaves it: its task rows, then the additions (row 0).
    struct Entry {
        int row;
        TaskRow record;
        bool removed = false, updated = false;
    };
    QList<Entry> entries;
    QHash<QString, int> held; // the records it holds
    for (int r = 1; r < list.rows(); ++r) {
        if (!list.isPlaceholder(r)) {
            entries.append({r, storedRow(list, r)});
            ++held[recordKey(entries.last().record)];
        }
    }
    QSet<QString> keptElsewhere;
    for (const QList<TaskRow>& copy : conflicts) {
        for (const TaskRow& row : copy)
            keptElsewhere.insert(recordKey(row));
    }
    const QHash<QString, int> inBase = recordCounts(base);

    if (theirs && removals) {
        // Removed there: more of it in the version last seen than in theirs.
        QHash<QString, int> gone = inBase;
        for (const TaskRow& row : *theirs)
            --gone[recordKey(row)];
        for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
            const QString key = recordKey(e->record);
            const auto it = gone.find(key);
            if (it == gone.end() || *it <= 0 || keptElsewhere.contains(key))
                continue;
            --*it;
            --held[key];
            e->removed = true;
        }
    }

    // A record of a task the list keeps with another state of the same alarm (fired or not,
    // another occurrence of its rule) is no second task, or the alarm would ring twice: the
    // side that changed since `base` wins, else the alarm further along. A conflict copy has
    // no known base: both sides count as changed.
    const QDate today = now().date();
    const auto add = [&](const TaskRow& row, bool fromTheirs) {
        const QString key = recordKey(row);
        for (Entry& e : entries) {
            if ((e.removed && !fromTheirs) || e.record[ColStamp] != row[ColStamp] ||
                escapeTaskText(e.record[ColText]) != escapeTaskText(row[ColText]))
                continue;
            const int further = furtherAlarmState(e.record, row, today);
            if (further == 0)
                continue;
            const bool unchangedHere =
                fromTheirs && (e.removed || inBase.contains(recordKey(e.record)));
            if (unchangedHere || further < 0) {
                if (!e.removed)
                    --held[recordKey(e.record)];
                e.record = row;
                e.removed = false;
                e.updated = true;
                ++held[key];
            }
            return;
        }
        entries.append({0, row});
        ++held[key];
    };

    if (theirs) {
        // Added there: every record beyond those of the version last seen, unless the list
        // already has it (both sides made the same change).
        QHash<QString, int> seen = inBase;
        QHash<QString, int> spare = held;
        for (const TaskRow& row : *theirs) {
            const QString key = recordKey(row);
            if (int& n = seen[key]; n > 0)
                --n;
            else if (int& m = spare[key]; m > 0)
                --m;
            else if (!isBlankRecord(row))
                add(row, true);
        }
    }
    for (const QList<TaskRow>& copy : conflicts) {
        for (const TaskRow& row : copy) {
            const QString key = recordKey(row);
            if (held.value(key) == 0 && !inBase.contains(key) && !isBlankRecord(row))
                add(row, false);
        }
    }

    MergePlan plan;
    for (auto e = entries.crbegin(); e != entries.crend(); ++e) {
        if (e->row > 0 && e->removed)
            plan.removals.append(e->row);
    }
    for (const Entry& e : entries) {
        if (e.row == 0)
            plan.additions.append(e.record);
        else if (e.updated && !e.removed)
            plan.updates.append({e.row, e.record});
    }
    return plan;
}

} // namespace jot
