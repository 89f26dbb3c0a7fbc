// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/deletedtasks.h"

#include "store/taskformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace jot {

void DeletedTasks::setDirectory(const QString& dataDir) {
    m_dir = dataDir;
}

QString DeletedTasks::path() const {
    return m_dir + kDeletedFileName;
}

bool DeletedTasks::add(const QList<TaskRow>& tasks) {
    if (tasks.isEmpty())
        return true;
    m_undo.append(tasks);
    if (m_undo.size() > kUndoDepth)
        m_undo.removeFirst();
    return append(tasks);
}

QList<TaskRow> DeletedTasks::takeLast(int room) {
    if (m_undo.isEmpty() || room <= 0)
        return {};
    QList<TaskRow>& last = m_undo.last();
    const QList<TaskRow> back = last.mid(0, room);
    last.remove(0, back.size());
    if (last.isEmpty())
        m_undo.removeLast();
    return back;
}

int DeletedTasks::lastSize() const {
    return m_undo.isEmpty() ? 0 : static_cast<int>(m_undo.last().size());
}

// The file is rewritten whole, through a temporary file that replaces it only once written
// and synced: a failed write leaves the records kept so far.
bool DeletedTasks::append(const QList<TaskRow>& tasks) {
    QList<TaskRow> kept;
    QFile old(path());
    if (old.exists()) {
        // Only a plain file is opened: a pipe of that name would block. One that cannot be
        // read is not replaced, which would lose its records.
        if (!QFileInfo(old).isFile()) {
            m_error = QCoreApplication::translate("jot::DeletedTasks", "not a file");
            return false;
        }
        if (!old.open(QIODevice::ReadOnly)) {
            m_error = old.errorString();
            return false;
        }
        kept = parseTasks(old.readAll()).rows;
    }
    kept += tasks;
    if (kept.size() > kKeptRecords)
        kept.remove(0, kept.size() - kKeptRecords);

    TaskList records;
    records.setRows(kept);
    QSaveFile file(path());
    // Private before the first byte is written.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || !writeTasks(records, file) ||
        !file.commit()) {
        m_error = file.errorString();
        file.cancelWriting();
        return false;
    }
    // The rename is not followed by a sync of the folder: a power loss may cost the newest
    // records of this aid to recovery, never the list itself.
    m_error.clear();
    return true;
}

} // namespace jot
