// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QList>
#include <QString>

namespace jot {

inline const QString kDeletedFileName = QStringLiteral("planifs.txt.deleted");

// What Delete and Delete all took away: the last deletions, each brought back whole by Undo
// while the program runs, and planifs.txt.deleted beside the list, where a task deleted by a
// slip can still be found after the program ended (private, whole records as in planifs.txt,
// the newest last).
class DeletedTasks {
public:
    static constexpr int kUndoDepth = 10;    // deletions Undo can bring back
    static constexpr int kKeptRecords = 100; // tasks planifs.txt.deleted keeps

    void setDirectory(const QString& dataDir); // with a trailing '/'
    QString path() const;

    // One deletion, its tasks in list order. Undo holds it whatever the file's outcome; false
    // when the file could not be written, and lastError() says why.
    bool add(const QList<TaskRow>& tasks);
    bool canUndo() const { return !m_undo.isEmpty(); }
    // Undo: the first `room` tasks of the last deletion. Those that do not fit stay the last
    // deletion, for an Undo once there is room.
    QList<TaskRow> takeLast(int room);
    // The tasks of the last deletion, 0 when there is none.
    int lastSize() const;
    QString lastError() const { return m_error; }

private:
    bool append(const QList<TaskRow>& tasks);

    QString m_dir;
    QList<QList<TaskRow>> m_undo; // the oldest first
    QString m_error;
};

} // namespace jot
