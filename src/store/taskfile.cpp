// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/taskfile.h"

#include "store/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jot {

namespace {
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;

QString linesOf(int n, const QString& file) {
    return n == 1 ? TaskFile::tr("One line of %1").arg(file)
                  : TaskFile::tr("%1 lines of %2").arg(n).arg(file);
}

// A record as the file stores it, so that texts that only differ in how a line break was
// typed count as one.
QString keyOf(const TaskRow& row) {
    QString key;
    for (const QString& f :
         {row[ColStamp], escapeTaskText(row[ColText]), row[ColAlarm], row[ColFired]})
        key += QString::number(f.size()) + u':' + f;
    return key;
}

// A row as the file keeps it: no window slot.
TaskRow storedRow(const TaskList& liste, int r) {
    return {liste.cell(r, ColStamp), liste.cell(r, ColText), liste.cell(r, ColAlarm), QString(),
            liste.cell(r, ColFired)};
}

QHash<QString, int> countOf(const QList<TaskRow>& rows) {
    QHash<QString, int> counts;
    for (const TaskRow& row : rows)
        ++counts[keyOf(row)];
    return counts;
}

QList<TaskRow> rowsOf(const TaskList& liste) {
    QList<TaskRow> rows;
    rows.reserve(liste.rows() - 1);
    for (int r = 1; r < liste.rows(); ++r)
        rows.append(storedRow(liste, r));
    return rows;
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

// The rename is durable only once the directory itself is on disk.
void syncDirectory(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return; // the file is saved; only its survival of a power loss is less sure
    ::fsync(fd);
    ::close(fd);
}

// The temporary files of a save ("planifs.txt.XXXXXX") that a kill left behind.
void removeLeftovers(const QString& dir) {
    static const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(kTaskFileName) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QStringList names =
        QDir(dir).entryList({kTaskFileName + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir + name);
    }
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

QString TaskFile::lastError() const {
    return m_error;
}

QString TaskFile::unreadableCopy() const {
    return m_copy;
}

TaskFile::Version TaskFile::versionOnDisk() const {
    struct stat st {};
    if (::stat(QFile::encodeName(path()).constData(), &st) != 0)
        return {};
    return {true, qint64(st.st_size), qint64(st.st_ino),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void TaskFile::lire_liste(TaskList& liste) {
    removeLeftovers(m_dir);
    const QString name = QDir::toNativeSeparators(path());
    const QFileInfo info(path());
    m_version = versionOnDisk();
    if (!info.exists()) {
        m_known = true;
        return;
    }

    QFile file(path());
    ParsedTasks parsed;
    // Only a plain file is opened: a pipe or device of that name would block the start.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) || !readTasks(file, parsed)) {
        m_copyPending = true;
        Q_EMIT warning(tr("Your tasks in %1 could not be read (%2). The list starts empty, and "
                          "the file will not be replaced until it can be copied aside.")
                           .arg(name, info.isFile() ? file.errorString() : tr("not a file")));
        return;
    }
    file.close();
    if (!parsed.rows.isEmpty())
        liste.setRows(parsed.rows);
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
                           .arg(QDir::toNativeSeparators(m_copy)));
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
    const QString base =
        path() + u'.' + kind + u'-' + maintenant().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = base;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = base + QLatin1Char('-') + QString::number(n);

    QFile file(path());
    if (!file.copy(copy)) {
        m_error = file.errorString();
        return {};
    }
    QFile::setPermissions(copy, kPrivate);
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
        m_error = tr("%1 is not a file").arg(QDir::toNativeSeparators(path()));
        return false;
    }
    const QString copy = keepCopy(QStringLiteral("unreadable"));
    if (copy.isEmpty())
        return false;
    m_copy = copy;
    m_copyPending = false;
    return true;
}

bool TaskFile::mergeOtherWriter(TaskList& liste) {
    // A file that went away is written again at the next save; one that could not be read
    // at start is still waiting to be copied aside.
    const Version now = versionOnDisk();
    if (!m_known || m_copyPending || now == m_version || !now.exists)
        return false;
    QFile file(path());
    ParsedTasks theirs;
    if (!QFileInfo(path()).isFile() || !file.open(QIODevice::ReadOnly) || !readTasks(file, theirs))
        return false; // tried again at the next tick
    file.close();
    QHash<QString, int> base = countOf(m_base);
    if (theirs.complete && !theirs.mixed && base == countOf(theirs.rows) &&
        theirs.rows.size() == m_base.size()) {
        m_version = now; // touched, or written again with the same records
        return false;
    }

    const QString copy = keepCopy(QStringLiteral("changed"));
    if (copy.isEmpty())
        m_copyPending = true; // the next save copies it aside first, or fails

    bool changed = false;
    // Removed there (more in the version last seen than in theirs) and unchanged here.
    QHash<QString, int> left = base;
    for (const TaskRow& row : theirs.rows)
        --left[keyOf(row)];
    for (auto it = left.cbegin(); it != left.cend(); ++it) {
        for (int n = it.value(), r = liste.rows() - 1; n > 0 && r >= 1; --r) {
            if (liste.isPlaceholder(r) || keyOf(storedRow(liste, r)) != it.key())
                continue;
            Q_EMIT removingTask(r);
            liste.removeTask(r);
            changed = true;
            --n;
        }
    }
    // Added there: every record of theirs beyond those of the version last seen.
    for (const TaskRow& row : theirs.rows) {
        int& seen = base[keyOf(row)];
        if (seen > 0) {
            --seen;
            continue;
        }
        int r = 1;
        if (liste.rows() != 2 || !liste.isPlaceholder(1)) {
            liste.appendRow();
            r = liste.rows() - 1;
        }
        for (int c = 0; c < kColumns; ++c)
            liste.setCell(r, c, row[c]);
        changed = true;
    }
    m_base = theirs.rows;
    m_version = now;
    Q_EMIT warning(
        copy.isEmpty()
            ? tr("%1 was changed by another program; its tasks were merged into "
                 "the list.")
                  .arg(QDir::toNativeSeparators(path()))
            : tr("%1 was changed by another program; its tasks were merged into "
                 "the list, and that version is kept in %2.")
                  .arg(QDir::toNativeSeparators(path()), QDir::toNativeSeparators(copy)));
    return changed;
}

bool TaskFile::sauver_liste(const TaskList& liste) {
    if (m_copyPending) {
        if (!keepUnreadableCopy()) {
            fail(tr("the file could not be read completely at start and could not be copied "
                    "aside (%1)")
                     .arg(m_error));
            return false;
        }
        if (!m_copy.isEmpty())
            Q_EMIT warning(
                tr("%1 could not be read completely; the file as it was is kept "
                   "in %2.")
                    .arg(QDir::toNativeSeparators(path()), QDir::toNativeSeparators(m_copy)));
    }

    QSaveFile file(path());
    // Unbuffered: every write reaches the file at once, so that a full disk fails the
    // write that met it, with its errno, instead of a later flush that reports nothing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(file.errorString());
        return false;
    }
    // Private before the first byte goes in. A file system without Unix permissions refuses
    // this; the data directory is private anyway, and saving matters more.
    file.setPermissions(kPrivate);
    if (!writeTo(file, liste)) {
        const QString error = file.errorString();
        file.cancelWriting();
        fail(error);
        return false;
    }
    if (!file.commit()) {
        fail(file.errorString());
        return false;
    }
    syncDirectory(m_dir);
    m_base = rowsOf(liste);
    m_version = versionOnDisk();
    m_known = true;

    m_error.clear();
    if (m_failing) {
        m_failing = false;
        Q_EMIT recovered();
    }
    Q_EMIT saved();
    return true;
}

void TaskFile::fail(const QString& error) {
    m_error = error.isEmpty() ? tr("unknown error") : error;
    if (m_failing)
        return;
    m_failing = true;
    Q_EMIT warning(tr("Your tasks could not be saved to %1: %2. The list is kept, and saving "
                      "will be retried.")
                       .arg(QDir::toNativeSeparators(path()), m_error));
}

bool TaskFile::writeTo(QIODevice& device, const TaskList& liste) {
    return writeTasks(liste, device);
}

} // namespace jot
