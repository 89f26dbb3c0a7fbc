#pragma once

#include "store/tasklist.h"

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>

namespace jot {

inline const QString kTaskFileName = QStringLiteral("planifs.txt");

// Field 2 of a record. "~" stands for a line break and "¤" for a double quote, as in every
// file ever written; a literal "~", "¤" or U+241B is written behind a U+241B marker so that
// it comes back as typed. Lone CR or LF are stored as line breaks.
QString escapeTaskText(const QString& text);
QString unescapeTaskText(const QString& field);

// Writes every data row as one record: "stamp","text","alarm","fired" CR LF, in UTF-8.
// Returns false when the device refuses a write.
bool writeTasks(const TaskList& liste, QIODevice& device);

// UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise (files brought from Windows).
QString decodeTaskFile(const QByteArray& bytes);

struct ParsedTasks {
    QList<TaskRow> rows;  // every record understood, window slot ""
    bool complete = true; // false when some line could not be understood
    int badLines = 0;     // lines left out
};
// Never fails: a line that is not a record of four quoted fields is left out and clears
// `complete`. Empty lines and a missing last CR LF are no error.
ParsedTasks parseTasks(const QString& text);

// planifs.txt in the data directory: read once at start, rewritten whole at every save.
class TaskFile : public QObject {
    Q_OBJECT
public:
    explicit TaskFile(QObject* parent = nullptr);

    void setDirectory(const QString& dataDir); // with a trailing '/'
    QString path() const;

    // Loads the file into the list; a missing or empty file leaves the placeholder row.
    // A file that is not read completely is first copied aside unchanged (warning()).
    void lire_liste(TaskList& liste);

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

protected:
    // The bytes of a save; tests override it to make a write fail part-way.
    virtual bool writeTo(QIODevice& device, const TaskList& liste);

private:
    bool keepUnreadableCopy();
    void fail(const QString& error);

    QString m_dir;
    QString m_error;
    QString m_copy;
    bool m_failing = false;
    bool m_copyPending = false; // an unreadable file not yet copied aside
};

} // namespace jot
