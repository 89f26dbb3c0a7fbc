// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/taskfile.h"

#include "store/clock.h"
#include "store/keptcopies.h"
#include "store/taskmerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jot {

namespace {
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
// A save's temporary file: a name of the program's own, which no user would give a file.
const QString kTemporaryPrefix = QStringLiteral(".jotlark-save-");
// A save that keeps meeting new versions of another writer leaves the rest to the next one.
constexpr int kSaveRounds = 10;

QString linesOf(int n, const QString& file) {
    return n == 1 ? TaskFile::tr("One line of %1").arg(file)
                  : TaskFile::tr("%1 lines of %2").arg(n).arg(file);
}

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Streams the file through the reader: a large file is never held whole.
bool readTasks(QFile& file, ParsedTasks& out) {
    TaskReader reader;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 n = 0;
    while ((n = file.read(chunk.data(), chunk.size())) > 0)
        reader.addBytes(QByteArrayView(chunk.constData(), n));
    out = reader.finish();
    return n == 0;
}

// Only a plain file is opened: a pipe or device of that name would block.
bool readTasks(const QString& path, ParsedTasks& out) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) && readTasks(file, out);
}

// The rename is durable only once the directory itself is on disk.
void syncDirectory(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return; // the file is saved; only its survival of a power loss is less sure
    ::fsync(fd);
    ::close(fd);
}

// The temporary files of saves that a kill left behind, and nothing else.
void removeLeftovers(const QString& dir) {
    static const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(kTemporaryPrefix) + QStringLiteral("[A-Za-z0-9]{6}")));
    const QStringList names =
        QDir(dir).entryList({kTemporaryPrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir + name);
    }
}

QString folderOf(const QString& file) {
    return QFileInfo(file).path() + u'/';
}
} // namespace

TaskFile::TaskFile(QObject* parent) : QObject(parent) {
    // A file size limit then fails the write (EFBIG) instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TaskFile::setDirectory(const QString& dataDir) {
    m_dir = dataDir;
}

QString TaskFile::path() const {
    return m_dir + kTaskFileName;
}

// planifs.txt, or the file it links to: the save replaces that file and keeps the link.
QString TaskFile::realPath() const {
    const QFileInfo info(path());
    if (!info.isSymLink())
        return path();
    const QString target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    return target.isEmpty() ? path() : target;
}

QString TaskFile::lastError() const {
    return m_error;
}

QString TaskFile::unreadableCopy() const {
    return m_copy;
}

TaskFile::Version TaskFile::versionOf(const struct stat& st) {
    return {true, qint64(st.st_size), qint64(st.st_ino),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

TaskFile::Version TaskFile::versionOf(const QString& file) {
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? versionOf(st) : Version();
}

void TaskFile::lire_liste(TaskList& list) {
    removeLeftovers(m_dir);
    removeLeftovers(folderOf(realPath()));
    const QString name = native(path());
    const QFileInfo info(path());
    m_version = versionOf(path());
    m_look.last = m_version;
    if (!info.exists()) {
        m_known = true;
        return;
    }

    QFile file(path());
    ParsedTasks parsed;
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) || !readTasks(file, parsed)) {
        m_copyPending = true;
        Q_EMIT warning(tr("Your tasks in %1 could not be read (%2). The list starts empty, and "
                          "the file will not be replaced until it can be copied aside.")
                           .arg(name, info.isFile() ? file.errorString() : tr("not a file")));
        return;
    }
    file.close();
    if (!parsed.rows.isEmpty())
        list.setRows(parsed.rows);
    m_base = parsed.rows;
    m_known = true;
    if (parsed.complete && !parsed.mixed)
        return;

    m_copyPending = true;
    const QString what = !parsed.complete
                             ? tr("%1 could not be read.").arg(linesOf(parsed.badLines, name))
                             : tr("%1 mixes UTF-8 and Windows-1252 lines; each line was read "
                                  "in its own encoding.")
                                   .arg(name);
    if (keepUnreadableCopy()) {
        Q_EMIT warning(what + u' ' +
                       tr("Every task that could be read is in the list, and the file as it "
                          "was is kept in %1.")
                           .arg(native(m_copy)));
    } else {
        Q_EMIT warning(what + u' ' +
                       tr("The file could not be copied aside (%1). It will not be replaced "
                          "until a copy can be made.")
                           .arg(m_error));
    }
}

// Copies the file as it is now, unchanged and private, beside it; the copy's path, or
// empty (and m_error) when it could not be made.
QString TaskFile::keepCopy(const QString& kind) {
    const QString copy = keptCopyPath(m_dir, kind, now());
    QFile file(path());
    if (!file.copy(copy)) {
        m_error = file.errorString();
        return {};
    }
    QFile::setPermissions(copy, kPrivate);
    pruneKeptCopies(m_dir, kind);
    return copy;
}

// Copies the file that could not be read completely, so that saving the list never
// destroys what could not be understood.
bool TaskFile::keepUnreadableCopy() {
    const QFileInfo info(path());
    if (!info.exists()) {
        m_copyPending = false; // gone meanwhile: nothing left to lose
        return true;
    }
    if (!info.isFile()) {
        m_error = tr("%1 is not a file").arg(native(path()));
        return false;
    }
    const QString copy = keepCopy(QStringLiteral("unreadable"));
    if (copy.isEmpty())
        return false;
    m_copy = copy;
    m_copyPending = false;
    return true;
}

bool TaskFile::applyMerge(TaskList& list, const QList<TaskRow>& base, const ParsedTasks* theirs,
                          const QList<QList<TaskRow>>& conflicts) {
    const MergePlan plan = planMerge(list, base, theirs ? &theirs->rows : nullptr,
                                     theirs && theirs->complete, conflicts);
    for (const auto& [r, row] : plan.updates) {
        list.setCell(r, ColAlarm, row[ColAlarm]);
        list.setCell(r, ColFired, row[ColFired]);
    }
    for (const int r : plan.removals) {
        Q_EMIT removingTask(r);
        list.removeTask(r);
    }
    for (const TaskRow& row : plan.additions) {
        int r = 1;
        if (list.rows() != 2 || !list.isPlaceholder(1)) {
            list.appendRow();
            r = list.rows() - 1;
        }
        for (int c = 0; c < kColumns; ++c)
            list.setCell(r, c, row[c]);
    }
    return !plan.removals.isEmpty() || !plan.updates.isEmpty() || !plan.additions.isEmpty();
}

void TaskFile::announceMerge(const QString& message) {
    m_mergeNotice = message;
    m_savesSinceMerge = 0;
    Q_EMIT warning(message);
}

// Whether another program is still writing a file: changed in place since the last look (the
// same inode, another size or time), or while it was read. One caught so, or a copy seen
// first cut off, is waited for until it reads whole. Notes this look.
bool TaskFile::stillWritten(Look& look, const Version& before, const Version& after, bool complete,
                            bool firstSightCounts) {
    const bool inPlace =
        look.last.exists && before.inode == look.last.inode && !(before == look.last);
    const bool firstSight = !look.last.exists;
    look.last = after;
    if (!inPlace && before == after &&
        (complete || (!look.since.isValid() && !(firstSight && firstSightCounts)))) {
        look.since = {};
        return false;
    }
    if (!look.since.isValid())
        look.since = now();
    return true;
}

// A writer gets ten minutes; after five, the warning line says that the saves wait for the
// writer of the task file.
bool TaskFile::waitForWriter(const Look& look, bool taskFile) {
    const qint64 waited = look.since.secsTo(now());
    if (waited >= kWriterMinutes * 60)
        return false;
    if (taskFile && waited >= kWriterMinutes * 30 && m_writerNotice.isEmpty()) {
        m_writerNotice = tr("Another program has been writing %1 for five minutes; Jotlark "
                            "saves your tasks once it is done, and keeps its file as it is "
                            "after ten minutes.")
                             .arg(native(path()));
        Q_EMIT warning(m_writerNotice);
    }
    return true;
}

// The sync tools' conflict copies that can be read now; those still being written are left
// for a later look.
TaskFile::Copies TaskFile::readConflictCopies() {
    Copies copies;
    const QStringList names = conflictCopies(m_dir);
    for (const QString& name : names) {
        const QString file = m_dir + name;
        const Version before = versionOf(file);
        ParsedTasks copy;
        readTasks(file, copy); // what could be read of it counts
        Look& look = m_copyLooks[name];
        if (stillWritten(look, before, versionOf(file), copy.complete, true) &&
            waitForWriter(look, false))
            continue;
        copies.names.append(name);
        copies.rows.append(copy.rows);
    }
    for (auto it = m_copyLooks.begin(); it != m_copyLooks.end();)
        it = names.contains(it.key()) ? std::next(it) : m_copyLooks.erase(it);
    return copies;
}

// Out of the sync tool's way: it would copy them again, and they are merged now. The tasks
// they hold stay out of the base, so that a later version without them removes none.
QStringList TaskFile::moveCopiesAside(const TaskList& list, const Copies& copies) {
    if (copies.names.isEmpty())
        return {};
    const QHash<QString, int> held = recordCounts(storedRows(list));
    for (const QList<TaskRow>& copy : copies.rows) {
        for (auto [key, n] : recordCounts(copy).asKeyValueRange()) {
            n = qMin(n, held.value(key));
            if (n > m_fromCopies.value(key))
                m_fromCopies[key] = n;
        }
    }
    setBase(m_base);
    QStringList moved;
    for (const QString& name : copies.names) {
        m_copyLooks.remove(name);
        const QString to = moveToKeptCopy(m_dir, m_dir + name, QStringLiteral("conflict"), now());
        if (!to.isEmpty())
            moved << native(to);
    }
    return moved;
}

// The base without the tasks that came from conflict copies and no version of the other
// writer has held since.
void TaskFile::setBase(const QList<TaskRow>& rows) {
    QHash<QString, int> left = m_fromCopies;
    QList<TaskRow> base; // `rows` may be the base itself
    for (const TaskRow& row : rows) {
        if (int& n = left[recordKey(row)]; n > 0)
            --n;
        else
            base.append(row);
    }
    m_base = std::move(base);
}

QString TaskFile::copiesMessage(const QStringList& moved) {
    return tr("A sync tool set this computer's version of your tasks aside; its tasks were "
              "merged into the list, and it is kept in %1.")
        .arg(moved.join(QStringLiteral(", ")));
}

bool TaskFile::mergeOtherWriter(TaskList& list) {
    // A file that went away is written again at the next save; one that could not be read
    // at start is still waiting to be copied aside.
    if (!m_known || m_copyPending)
        return false;
    const Version onDisk = versionOf(path());
    const bool changed = onDisk.exists && !(onDisk == m_version);
    ParsedTasks theirs;
    if (changed) {
        if (!readTasks(path(), theirs))
            return false; // tried again at the next call
        if (stillWritten(m_look, onDisk, versionOf(path()), theirs.complete, false) &&
            waitForWriter(m_look, true)) {
            m_writerWaiting = true; // saves wait, and copies are left alone
            return false;
        }
    } else {
        m_look.last = onDisk;
        m_look.since = {};
    }
    m_writerWaiting = false;
    if (!m_writerNotice.isEmpty())
        Q_EMIT resolved(std::exchange(m_writerNotice, QString()));

    const Copies copies = readConflictCopies();
    if (!changed && copies.names.isEmpty())
        return false;
    if (changed && theirs.complete && !theirs.mixed && copies.names.isEmpty() &&
        sameRecords(m_base, theirs.rows)) {
        m_version = onDisk; // touched, or written again with the same records
        return false;
    }

    QStringList kept;
    if (changed) {
        const QString copy =
            keepCopy(theirs.complete ? QStringLiteral("changed") : QStringLiteral("unreadable"));
        if (copy.isEmpty())
            m_copyPending = true; // the next save copies it aside first, or fails
        else
            kept << native(copy);
    }

    const bool listChanged = applyMerge(list, m_base, changed ? &theirs : nullptr, copies.rows);
    if (changed) {
        if (theirs.complete) { // a file not read whole is no version to merge against
            for (const auto& [key, n] : recordCounts(theirs.rows).asKeyValueRange())
                m_fromCopies.remove(key); // the other writer has them now
            setBase(theirs.rows);
        }
        m_version = onDisk;
    }
    const QStringList moved = moveCopiesAside(list, copies);

    if (!changed && moved.isEmpty())
        return listChanged;
    QString message;
    if (changed) {
        message = theirs.complete
                      ? tr("%1 was changed by another program; its tasks were merged into the "
                           "list.")
                            .arg(native(path()))
                      : tr("%1 was changed by another program and could not be read "
                           "completely; its new tasks were added to the list, and none was "
                           "removed.")
                            .arg(native(path()));
    }
    if (!moved.isEmpty())
        message += (message.isEmpty() ? QString() : QStringLiteral(" ")) + copiesMessage(moved);
    if (!kept.isEmpty())
        message += u' ' + tr("The other version is kept in %1.").arg(kept.join(QString()));
    announceMerge(message);
    return listChanged;
}

// Merges the version a save took off the disk, now in `file`, unless it only repeats `base`,
// with the conflict copies that came with it.
bool TaskFile::mergeVersion(TaskList& list, const QString& file, const QList<TaskRow>& base) {
    ParsedTasks theirs;
    const bool read = readTasks(file, theirs);
    const Copies copies = readConflictCopies();
    if (read && theirs.complete && !theirs.mixed && copies.names.isEmpty() &&
        sameRecords(base, theirs.rows)) {
        QFile::remove(file);
        return false;
    }
    const QString copy = moveToKeptCopy(
        m_dir, file,
        read && theirs.complete ? QStringLiteral("changed") : QStringLiteral("unreadable"), now());
    const bool changed = applyMerge(list, base, read ? &theirs : nullptr, copies.rows);
    const QStringList moved = moveCopiesAside(list, copies);
    QString message =
        tr("%1 was replaced by another program while Jotlark saved; its tasks were merged into "
           "the list, and that version is kept in %2.")
            .arg(native(path()), native(copy.isEmpty() ? file : copy));
    if (!moved.isEmpty())
        message += u' ' + copiesMessage(moved);
    announceMerge(message);
    return changed;
}

void TaskFile::stopWaitingForWriter() {
    m_ending = true;
}

bool TaskFile::sauver_liste(TaskList& list) {
    if (m_copyPending) {
        if (!keepUnreadableCopy()) {
            fail(tr("the file could not be read completely at start and could not be copied "
                    "aside (%1)")
                     .arg(m_error));
            return false;
        }
        if (!m_copy.isEmpty())
            Q_EMIT warning(tr("%1 could not be read completely; the file as it was is kept "
                              "in %2.")
                               .arg(native(path()), native(m_copy)));
    }

    if (m_writerWaiting && !m_ending) {
        m_ahead = true; // kept in memory until the other program is done
        return true;
    }
    // Ending, the save goes ahead: the swap takes the half-written file out whole, and it is
    // kept as an unreadable copy.
    m_ahead = false;
    bool merged = false;
    for (int round = 1;; ++round) {
        const QList<TaskRow> base = m_base;
        QString cameOut;
        const Written written = writeAndSwap(list, cameOut);
        if (written == Written::Failed)
            return false;
        if (written == Written::OtherVersionFirst) {
            merged = mergeOtherWriter(list) || merged;
            if (round == kSaveRounds) {
                fail(tr("another program keeps replacing the file"));
                return false;
            }
            continue;
        }
        if (cameOut.isEmpty() || !mergeVersion(list, cameOut, base))
            break;
        merged = true;
        // The next version is weighed against what was both written and merged: a version
        // built on an older file must not undo the merge, nor a later one that corrects it
        // read as unchanged.
        m_base = commonRecords(m_base, storedRows(list));
        if (round == kSaveRounds) {
            m_ahead = true; // the file is whole; the next save adds what came since
            break;
        }
    }

    m_error.clear();
    if (!m_failure.isEmpty())
        Q_EMIT resolved(std::exchange(m_failure, QString()));
    if (merged) {
        m_savesSinceMerge = 1; // the merged list is on disk
    } else if (!m_mergeNotice.isEmpty() && ++m_savesSinceMerge >= 2) {
        // The save of the merged list, then one that needed no merge.
        Q_EMIT resolved(std::exchange(m_mergeNotice, QString()));
    }
    Q_EMIT saved();
    return true;
}

// Writes the list to a temporary file beside the real one, syncs it and swaps it in. What
// the swap took out is left in `cameOut` when it is not the version last read or written.
TaskFile::Written TaskFile::writeAndSwap(const TaskList& list, QString& cameOut) {
    const QString target = realPath();
    const QString dir = folderOf(target);
    QByteArray temporary = QFile::encodeName(dir + kTemporaryPrefix + QStringLiteral("XXXXXX"));
    const int fd = ::mkstemp(temporary.data()); // private from the start
    if (fd < 0) {
        fail(tr("cannot create a file in %1: %2").arg(native(dir), errnoText(errno)));
        return Written::Failed;
    }
    QFile file;
    // Unbuffered: every write reaches the file at once, so that a full disk fails the write
    // that met it, with its errno, instead of a later flush that reports nothing.
    file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    const auto discard = [&](const QString& error) {
        file.close();
        ::unlink(temporary.constData());
        fail(error);
        return Written::Failed;
    };
    if (!writeTo(file, list))
        return discard(tr("writing failed: %1").arg(file.errorString()));
    stepDone(SaveStep::Written);
    struct stat st {};
    if (::fdatasync(fd) != 0 || ::fstat(fd, &st) != 0)
        return discard(tr("syncing to disk failed: %1").arg(errnoText(errno)));
    const Version written = versionOf(st);
    file.close();
    stepDone(SaveStep::Synced);

    const QByteArray to = QFile::encodeName(target);
    struct stat old {};
    const bool there = ::stat(to.constData(), &old) == 0;
    // A symlink loop (ELOOP), say: its own cause, not a file another program made meanwhile.
    if (!there && errno != ENOENT)
        return discard(tr("replacing the file failed: %1").arg(errnoText(errno)));
    if (there && !S_ISREG(old.st_mode))
        return discard(tr("replacing the file failed: %1")
                           .arg(S_ISDIR(old.st_mode) ? errnoText(EISDIR) : tr("not a file")));
    // One step that leaves no moment without a whole file and no version of another writer
    // overwritten unseen: swapped with the file there, or put where none is.
    int error = renameFile(temporary, to, there ? RENAME_EXCHANGE : RENAME_NOREPLACE);
    if (error == ENOENT && there)
        error = renameFile(temporary, to, RENAME_NOREPLACE);
    if (error == EEXIST) { // made meanwhile
        ::unlink(temporary.constData());
        return Written::OtherVersionFirst;
    }
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
        // A file system without the swap: renamed over, right after a last look.
        if (m_known && !(versionOf(target) == m_version)) {
            ::unlink(temporary.constData());
            return Written::OtherVersionFirst;
        }
        error = ::rename(temporary.constData(), to.constData()) == 0 ? 0 : errno;
    }
    if (error != 0)
        return discard(tr("replacing the file failed: %1").arg(errnoText(error)));
    syncDirectory(dir);

    const Version tookOut = there ? versionOf(QFile::decodeName(temporary)) : Version();
    if (tookOut.exists) {
        // What the swap took out: the file as it was on disk this instant.
        // A file never read is replaced, as asked.
        if (!m_known || tookOut == m_version)
            ::unlink(temporary.constData());
        else
            cameOut = QFile::decodeName(temporary);
    }
    const QList<TaskRow> rows = storedRows(list);
    if (!m_fromCopies.isEmpty()) {
        const QHash<QString, int> held = recordCounts(rows);
        for (auto it = m_fromCopies.begin(); it != m_fromCopies.end();)
            it = held.contains(it.key()) ? std::next(it) : m_fromCopies.erase(it); // removed here
    }
    setBase(rows);
    m_version = written;
    m_look = {written, {}};
    m_known = true;
    return Written::Saved;
}

void TaskFile::fail(const QString& error) {
    m_error = error.isEmpty() ? tr("unknown error") : error;
    if (!m_failure.isEmpty())
        return;
    m_failure = tr("Your tasks could not be saved to %1: %2. The list is kept, and saving "
                   "will be retried.")
                    .arg(native(path()), m_error);
    Q_EMIT warning(m_failure);
}

bool TaskFile::writeTo(QIODevice& device, const TaskList& list) {
    return writeTasks(list, device);
}

void TaskFile::stepDone(SaveStep) {}

int TaskFile::renameFile(const QByteArray& from, const QByteArray& to, unsigned flags) {
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), flags) == 0 ? 0
                                                                                         : errno;
}

} // namespace jot
