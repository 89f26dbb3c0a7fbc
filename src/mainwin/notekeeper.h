// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/noteplaces.h"

#include <QList>
#include <QString>

class f_test;
namespace jot {
class TaskList;

// Remembers where the user put each note and how large, and which notes were open when the
// program ended, in a state file of its own (never the task file). A note never moved keeps
// its slot's cell; a place off every screen falls back to it; under Wayland alone, where a
// program cannot place its windows, only sizes are kept.
class NoteKeeper {
public:
    void load(const QString& path);
    // The rows whose notes were open when the program last ended, in order.
    QList<int> openAtStart(const TaskList& list) const;
    // Gives the note the place and size it had; false when it is to go to its cell. `open`
    // are the other notes open now.
    bool place(f_test* note, const TaskList& list, const QList<f_test*>& open);
    // The note closes: its place is kept with the others'.
    void closing(const f_test* note, const TaskList& list, const QList<f_test*>& open);
    // Writes what is known when it changed, the notes open now as open: at each tick, so that
    // an edit's new key and a move survive a crash. At the end of the run, the notes that then
    // close are left open for the next start.
    void save(const TaskList& list, const QList<f_test*>& open, bool ending = false);

private:
    QList<NotePlace> snapshot(const TaskList& list, const QList<f_test*>& open,
                              const f_test* closingNote) const;
    void write(const QList<NotePlace>& places);

    QString m_path;
    QList<NotePlace> m_closed; // of the notes not open now, in the order of their rows
    QList<NotePlace> m_written;
    bool m_ended = false;
};

} // namespace jot
