// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/taskmerge.h"

#include "store/taskformat.h"

#include <QHash>
#include <QSet>

namespace jot {

namespace {

QHash<QString, int> countOf(const QList<TaskRow>& rows) {
    QHash<QString, int> counts;
    for (const TaskRow& row : rows)
        ++counts[recordKey(row)];
    return counts;
}

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

bool sameRecords(const QList<TaskRow>& a, const QList<TaskRow>& b) {
    return a.size() == b.size() && countOf(a) == countOf(b);
}

QList<TaskRow> commonRecords(const QList<TaskRow>& a, const QList<TaskRow>& b) {
    QHash<QString, int> inB = countOf(b);
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
    MergePlan plan;
    QHash<QString, int> held; // the list's records, as it will be after the removals
    for (int r = 1; r < list.rows(); ++r) {
        if (!list.isPlaceholder(r))
            ++held[recordKey(storedRow(list, r))];
    }
    QSet<QString> keptElsewhere;
    for (const QList<TaskRow>& copy : conflicts) {
        for (const TaskRow& row : copy)
            keptElsewhere.insert(recordKey(row));
    }

    if (theirs && removals) {
        // Removed there: more of it in the version last seen than in theirs.
        QHash<QString, int> gone = countOf(base);
        for (const TaskRow& row : *theirs)
            --gone[recordKey(row)];
        for (int r = list.rows() - 1; r >= 1; --r) {
            if (list.isPlaceholder(r))
                continue;
            const QString key = recordKey(storedRow(list, r));
            const auto it = gone.find(key);
            if (it == gone.end() || *it <= 0 || keptElsewhere.contains(key))
                continue;
            --*it;
            --held[key];
            plan.removals.append(r);
        }
    }

    if (theirs) {
        // Added there: every record beyond those of the version last seen, unless the list
        // already has it (both sides made the same change).
        QHash<QString, int> seen = countOf(base);
        QHash<QString, int> spare = held;
        for (const TaskRow& row : *theirs) {
            const QString key = recordKey(row);
            if (int& n = seen[key]; n > 0) {
                --n;
            } else if (int& m = spare[key]; m > 0) {
                --m;
            } else if (!isBlankRecord(row)) {
                plan.additions.append(row);
                ++held[key];
            }
        }
    }

    const QHash<QString, int> inBase = countOf(base);
    for (const QList<TaskRow>& copy : conflicts) {
        for (const TaskRow& row : copy) {
            const QString key = recordKey(row);
            if (held.value(key) > 0 || inBase.contains(key) || isBlankRecord(row))
                continue;
            plan.additions.append(row);
            ++held[key];
        }
    }
    return plan;
}

} // namespace jot
