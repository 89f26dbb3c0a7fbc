// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

// What the sync remembers between rounds, in its own 0700 folder (never the data folder, which
// a file-sync tool may carry to another machine), each file 0600 and replaced whole: per item
// its UID, address, ETag, the server's last copy and the task as last synced; the list's sync
// token; and the deletions here not yet told to the server.
namespace jot::sync {

class SyncState {
public:
    // Reads the state kept in `dir`; a missing folder is an empty state.
    explicit SyncState(const QString& dir);
    ~SyncState();

    QString dir() const;
    // Delete or Delete all here: the tasks' items are completed at the next round. Kept on disk
    // at once, so a round after a kill still completes them.
    void markDeleted(const QList<TaskRow>& rows);
    // Changes here the server has not taken yet.
    int waiting() const;
    // A task whose repeat rule only the server's copy can express ("As set elsewhere"), and
    // the rule's next occurrence after `after`.
    bool hasForeignRule(const TaskRow& row) const;
    std::optional<QDateTime> nextForeignOccurrence(const TaskRow& row,
                                                   const QDateTime& after) const;
    // Writes what changed; false with the reason when it cannot.
    bool save(QString* why);

    struct Data;
    Data& data(); // for the engine

private:
    std::unique_ptr<Data> d;
};

} // namespace jot::sync
