#include "store/taskfile.h"

#include "store/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace jot {

namespace {
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;

QString linesOf(int n, const QString& file) {
    return n == 1 ? TaskFile::tr("One line of %1").arg(file)
                  : TaskFile::tr("%1 lines of %2").arg(n).arg(file);
}
} // namespace

TaskFile::TaskFile(QObject* parent) : QObject(parent) {}

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

void TaskFile::lire_liste(TaskList& liste) {
    const QString name = QDir::toNativeSeparators(path());
    const QFileInfo info(path());
    if (!info.exists())
        return;

    QFile file(path());
    // Only a plain file is opened: a pipe or device of that name would block the start.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        m_copyPending = true;
        Q_EMIT warning(tr("Your tasks in %1 could not be read (%2). The list starts empty, and "
                          "the file will not be replaced until it can be copied aside.")
                           .arg(name, info.isFile() ? file.errorString() : tr("not a file")));
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    const ParsedTasks parsed = parseTasks(decodeTaskFile(bytes));
    if (!parsed.rows.isEmpty())
        liste.setRows(parsed.rows);
    if (parsed.complete)
        return;

    m_copyPending = true;
    if (keepUnreadableCopy()) {
        Q_EMIT warning(tr("%1 could not be read. Every task that could be read is in the list, "
                          "and the file as it was is kept in %2.")
                           .arg(linesOf(parsed.badLines, name), QDir::toNativeSeparators(m_copy)));
    } else {
        Q_EMIT warning(tr("%1 could not be read, and the file could not be copied aside (%2). "
                          "It will not be replaced until a copy can be made.")
                           .arg(linesOf(parsed.badLines, name), m_error));
    }
}

// Copies the file that could not be read completely, unchanged, beside it, so that saving
// the list never destroys what could not be understood.
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
    const QString base = path() + QStringLiteral(".unreadable-") +
                         maintenant().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = base;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = base + QLatin1Char('-') + QString::number(n);

    QFile file(path());
    if (!file.copy(copy)) {
        m_error = file.errorString();
        return false;
    }
    QFile::setPermissions(copy, kPrivate);
    m_copy = copy;
    m_copyPending = false;
    return true;
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
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return false;
    }
    // Private before the first byte goes in. A file system without Unix permissions refuses
    // this; the data directory is private anyway, and saving matters more.
    file.setPermissions(kPrivate);
    // flush() as well as commit(): a full disk is not always noticed before the buffer is
    // written out.
    if (!writeTo(file, liste) || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        fail(error);
        return false;
    }
    if (!file.commit()) {
        fail(file.errorString());
        return false;
    }

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
