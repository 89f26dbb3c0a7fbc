// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSet>
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
    // The item last synced as this task: by stamp and text, else by stamp alone when one
    // item only has it.
    const struct SyncRecord* recordOf(const TaskRow& row) const;

    QString m_dir;
    std::unique_ptr<Data> d;
};

// A write to the server that was about to be made when the state was saved last.
enum class Intent { None, Create, Update, Complete };

// One item of the list as the sync knows it.
struct SyncRecord {
    QString uid;
    QString href;    // its path on the server, decoded
    QByteArray etag; // empty while the server has not confirmed it
    QByteArray ics;  // the server's copy as last read or taken
    TaskRow synced;  // the task as last synced; all empty before the first time
    Intent intent = Intent::None;
    TaskRow pending;      // the task the write in flight carries
    bool outside = false; // open there, but the list here had no room for it
};

struct SyncState::Data {
    QString list;                      // the address the records are about
    QString token;                     // the list's sync token after the last complete round
    QMap<QString, SyncRecord> records; // by UID
    QList<TaskRow> deleted;            // deleted here, not yet completed there

    // What save() writes: records changed or dropped, and the list's own file.
    QSet<QString> dirty;
    bool listDirty = false;
    void put(const SyncRecord& record) {
        records.insert(record.uid, record);
        dirty.insert(record.uid);
    }
    void drop(const QString& uid) {
        records.remove(uid);
        dirty.insert(uid);
    }
};

} // namespace jot::sync
