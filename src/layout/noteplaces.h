// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

namespace jot {

// Where the user left a note, and whether it was open when the program ended. A note is
// known by its task's creation stamp and text; a note the user never moved or resized has
// neither place nor size, and opens at its slot's cell.
struct NotePlace {
    QString stamp;
    QString text;
    bool placed = false; // `place` holds the inner top-left corner, in pixels
    QPoint place;
    QSize size; // the inner size in pixels; invalid when never resized
    bool open = false;

    bool operator==(const NotePlace& o) const {
        return stamp == o.stamp && text == o.text && placed == o.placed && place == o.place &&
               size == o.size && open == o.open;
    }
};

// "$XDG_STATE_HOME/jotlark/notes-HASH.ini" (~/.local/state when the variable is unset or not
// an absolute path), HASH naming the data directory as its lock does.
QString notePlacesPath(const QString& dataDir);

// What the file says; nothing for a missing or unreadable file. Entries it cannot read are
// skipped.
QList<NotePlace> readNotePlaces(const QString& path);
// Replaces the file whole (mode 0600, through a temporary file), making its folder if need be.
bool writeNotePlaces(const QString& path, const QList<NotePlace>& places);

// For each task (creation stamp, text), the index of its entry in `places`, or -1. Among
// equal tasks and equal entries, the nth task takes the nth entry.
QList<int> matchNotePlaces(const QList<NotePlace>& places,
                           const QList<std::pair<QString, QString>>& tasks);

} // namespace jot
