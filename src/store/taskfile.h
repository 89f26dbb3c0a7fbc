// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/taskformat.h"
#include "store/tasklist.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>

struct stat;

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
    void lire_liste(TaskList& list);

    // Merges what other programs left since the version last read or written, by whole
    // records (see planMerge): a new planifs.txt (a synced folder, an edit by hand), kept aside
    // as a "changed" copy; and the copies a sync tool makes of this machine's version when both
    // machines changed the file, moved aside as "conflict" copies. A file another program is
    // still writing is waited for until it reads whole, at most ten minutes, and saves wait
    // with it; one that does not read whole then is kept as an "unreadable" copy and only its
    // added records are merged. Returns whether the list changed.
    bool mergeOtherWriter(TaskList& list);

    // The program ends: a save no longer waits for another program still writing the file.
    void stopWaitingForWriter();

    // Replaces the file by the whole list, atomically: on failure the old file stays whole.
    // The new file is swapped with the one on disk in one step, so that a version another
    // writer put there meanwhile comes out whole: it is kept aside, merged into the list, and
    // the list saved again.
    bool sauver_liste(TaskList& list);
    // The list holds records merged during the last save that are not on disk yet.
    bool aheadOfFile() const { return m_ahead; }
    QString lastError() const;
    // Where the last unreadable file was copied aside; empty when none was.
    QString unreadableCopy() const;

Q_SIGNALS:
    // Something the user must hear about without being stopped: a failed save (once per
    // run of failures), a file that could not be read completely, a merge.
    void warning(const QString& message);
    // That warning no longer holds: a save went through after failed ones, or the list has
    // been saved since a merge without needing another.
    void resolved(const QString& message);
    // Every successful save.
    void saved();
    // The merge is about to remove this row: its note must close without saving.
    void removingTask(int row);

protected:
    // The bytes of a save; tests override it to make a write fail part-way.
    virtual bool writeTo(QIODevice& device, const TaskList& list);
    // The steps of a save, for tests that slow it down as a slow disk would.
    enum class SaveStep { Written, Synced };
    virtual void stepDone(SaveStep step);
    // renameat2(2) in the current directory: 0, or the errno of its failure. Tests play a file
    // system that refuses its flags.
    virtual int renameFile(const QByteArray& from, const QByteArray& to, unsigned flags);

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
    enum class Written { Failed, Saved, OtherVersionFirst };
    // A file looked at for another program still writing it.
    struct Look {
        Version last;    // as it was at the last look
        QDateTime since; // when it was first seen being written; invalid while it is not
    };
    struct Copies {
        QStringList names;
        QList<QList<TaskRow>> rows;
    };
    static constexpr int kWriterMinutes = 10;
    static Version versionOf(const struct stat& st);
    static Version versionOf(const QString& path);
    QString realPath() const;
    Written writeAndSwap(const TaskList& list, QString& cameOut);
    bool mergeVersion(TaskList& list, const QString& file, const QList<TaskRow>& base);
    bool applyMerge(TaskList& list, const QList<TaskRow>& base, const ParsedTasks* theirs,
                    const QList<QList<TaskRow>>& conflicts);
    bool stillWritten(Look& look, const Version& before, const Version& after, bool complete,
                      bool firstSightCounts);
    bool waitForWriter(const Look& look, bool taskFile);
    Copies readConflictCopies();
    QStringList moveCopiesAside(const TaskList& list, const Copies& copies);
    void setBase(const QList<TaskRow>& rows);
    static QString copiesMessage(const QStringList& moved);
    QString keepCopy(const QString& kind);
    bool keepUnreadableCopy();
    void announceMerge(const QString& message);
    void fail(const QString& error);

    // The version last read or written: its records and its identity on disk.
    QList<TaskRow> m_base;
    Version m_version;
    bool m_known = false; // false until the file has been read or written
    // Records that came from conflict copies and that no version of the other writer has
    // held since: kept out of the base, so that a version without them removes none.
    QHash<QString, int> m_fromCopies;
    Look m_look; // planifs.txt
    QHash<QString, Look> m_copyLooks;
    bool m_writerWaiting = false; // another program is writing planifs.txt: saves wait
    bool m_ending = false;
    QString m_writerNotice;

    QString m_dir;
    QString m_error;
    QString m_copy;
    QString m_failure;     // the warning of the failed saves, while they go on
    QString m_mergeNotice; // the warning of the last merge, until settled
    int m_savesSinceMerge = 0;
    bool m_copyPending = false; // an unreadable file not yet copied aside
    bool m_ahead = false;
};

} // namespace jot
