// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/taskformat.h"
#include "store/tasklist.h"

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>

namespace jot {

inline const QString kTaskFileName = QStringLiteral("planifs.txt");

// planifs.txt in the data directory: read once at start, rewritten whole at every save.
class TaskFile : public QObject {
    Q_OBJECT
public:
    explicit TaskFile(QObject* parent = nullptr);

    void setDirectory(const QString& dataDir); // with a trailing '/'
    QString path() const;

    // Loads the file into the list; a missing or empty file leaves the placeholder row.
    // A file that is not read completely, or that mixes UTF-8 and Windows-1252 lines, is
    // first copied aside unchanged (warning()). Temporary files a killed save left behind
    // are removed first: only one Jotlark runs per data directory.
    void lire_liste(TaskList& liste);

    // When the file is no longer the version last read or written (a synced folder, an
    // edit by hand), keeps it aside and merges it into the list by whole records: added
    // there is appended here, removed there and unchanged here is removed here, changed on
    // both sides is kept twice. Returns whether the list changed.
    bool mergeOtherWriter(TaskList& liste);

    // Replaces the file by the whole list, atomically: on failure the old file stays whole.
    bool sauver_liste(const TaskList& liste);
    QString lastError() const;
    // Where the last unreadable file was copied aside; empty when none was.
    QString unreadableCopy() const;

Q_SIGNALS:
    // Something the user must hear about without being stopped: a failed save (once per
    // run of failures) or a file that could not be read completely.
    void warning(const QString& message);
    // The first successful save after failed ones.
    void recovered();
    // Every successful save.
    void saved();
    // The merge is about to remove this row: its note must close without saving.
    void removingTask(int row);

protected:
    // The bytes of a save; tests override it to make a write fail part-way.
    virtual bool writeTo(QIODevice& device, const TaskList& liste);

private:
    // The identity of the file on disk, for a cheap check whether it changed.
    struct Version {
        bool exists = false;
        qint64 size = 0, inode = 0, modifiedNs = 0;
        bool operator==(const Version& o) const {
            return exists == o.exists && size == o.size && inode == o.inode &&
                   modifiedNs == o.modifiedNs;
        }
    };
    Version versionOnDisk() const;
    QString keepCopy(const QString& kind);
    bool keepUnreadableCopy();
    void fail(const QString& error);

    // The version last read or written: its records and its identity on disk.
    QList<TaskRow> m_base;
    Version m_version;
    bool m_known = false; // false until the file has been read or written

    QString m_dir;
    QString m_error;
    QString m_copy;
    bool m_failing = false;
    bool m_copyPending = false; // an unreadable file not yet copied aside
};

} // namespace jot
