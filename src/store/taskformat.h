// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>

namespace jot {

// Field 2 of a record. "~" stands for a line break and "¤" for a double quote, as in every
// file ever written; a literal "~", "¤" or U+241B is written behind a U+241B marker so that
// it comes back as typed. Lone CR or LF are stored as line breaks.
QString escapeTaskText(const QString& text);
QString unescapeTaskText(const QString& field);

// Writes every data row as one record: "stamp","text","alarm","fired" CR LF, in UTF-8.
// Returns false when the device refuses a write; a short write is retried, so that the
// device's error names the cause.
bool writeTasks(const TaskList& list, QIODevice& device);

struct ParsedTasks {
    QList<TaskRow> rows;  // every record understood, window slot ""
    bool complete = true; // false when some line could not be understood
    int badLines = 0;     // lines left out
    bool mixed = false;   // UTF-8 lines and Windows-1252 lines in one file
};

// Reads the bytes of planifs.txt as they come, in chunks of any size, so that a large file
// is never held whole. Each line is decoded on its own: UTF-8 when it is valid UTF-8,
// Windows-1252 otherwise (lines brought from Windows). A line that is not a record of four
// quoted fields is left out and clears `complete`; empty lines and a missing last CR LF are
// no error.
class TaskReader {
public:
    TaskReader();
    void addBytes(QByteArrayView chunk);
    ParsedTasks finish();

private:
    void addLine(QByteArrayView line);
    void parsePending(bool atEnd);

    QStringDecoder m_ansi;
    QByteArray m_partial; // the bytes of a line not yet ended
    QString m_pending;    // decoded lines not yet parsed: a field may hold a lone LF
    // The pending text ends inside a field: only a quote or a CR LF can end it, so lines
    // without either wait instead of parsing the whole record again (a stray quote would
    // otherwise make reading quadratic).
    bool m_inField = false;
    ParsedTasks m_out;
    bool m_utf8Seen = false;
    bool m_ansiSeen = false;
};

// The whole of a file's bytes at once.
ParsedTasks parseTasks(QByteArrayView bytes);

} // namespace jot
