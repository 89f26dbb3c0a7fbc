// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/notekeeper.h"

#include "notes/f_test.h"
#include "notes/stacking.h"
#include "store/tasklist.h"

#include <QGuiApplication>
#include <QScreen>

namespace jot {

namespace {

using Task = std::pair<QString, QString>;

Task taskOf(const TaskList& list, int row) {
    return {list.cell(row, ColStamp), list.cell(row, ColText)};
}

// A task whose note is open matches no kept entry: its place is the note's own.
const Task kNoTask = {QStringLiteral("\x01"), {}};

const f_test* noteOf(const QList<f_test*>& notes, int row) {
    for (const f_test* n : notes)
        if (n && n->row() == row)
            return n;
    return nullptr;
}

bool onSomeScreen(const QRect& r) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&r](const QScreen* s) { return s->geometry().intersects(r); });
}

} // namespace

void NoteKeeper::load(const QString& path) {
    m_path = path;
    m_closed = readNotePlaces(path);
    m_written = m_closed;
    m_ended = false;
}

QList<int> NoteKeeper::openAtStart(const TaskList& list) const {
    QList<Task> tasks;
    for (int r = 1; r < list.rows(); ++r)
        tasks.append(list.isPlaceholder(r) ? kNoTask : taskOf(list, r));
    const QList<int> match = matchNotePlaces(m_closed, tasks);
    QList<int> rows;
    for (int i = 0; i < match.size(); ++i)
        if (match[i] >= 0 && m_closed[match[i]].open)
            rows.append(i + 1);
    return rows;
}

bool NoteKeeper::place(f_test* note, const TaskList& list, const QList<f_test*>& open) {
    QList<Task> tasks;
    for (int r = 1; r < list.rows(); ++r) {
        const bool other = r != note->row() && noteOf(open, r);
        tasks.append(other || list.isPlaceholder(r) ? kNoTask : taskOf(list, r));
    }
    const int i = matchNotePlaces(m_closed, tasks).value(note->row() - 1, -1);
    if (i < 0)
        return false;
    const NotePlace kept = m_closed.takeAt(i);
    if (kept.size.isValid())
        note->resize(kept.size.expandedTo(note->designedSize()));
    if (!kept.placed || !canAskStacking() || !onSomeScreen(QRect(kept.place, note->size())))
        return false;
    note->placeAsBefore(kept.place);
    return true;
}

QList<NotePlace> NoteKeeper::snapshot(const TaskList& list, const QList<f_test*>& open,
                                      const f_test* closingNote) const {
    QList<Task> tasks;
    for (int r = 1; r < list.rows(); ++r)
        tasks.append(noteOf(open, r) || list.isPlaceholder(r) ? kNoTask : taskOf(list, r));
    const QList<int> match = matchNotePlaces(m_closed, tasks);
    QList<NotePlace> places;
    for (int r = 1; r < list.rows(); ++r) {
        if (const f_test* n = noteOf(open, r)) {
            NotePlace p;
            std::tie(p.stamp, p.text) = taskOf(list, r);
            p.placed = canAskStacking() && n->movedByUser();
            p.place = n->geometry().topLeft();
            if (n->size() != n->designedSize())
                p.size = n->size();
            p.open = n != closingNote;
            if (p.open || p.placed || p.size.isValid())
                places.append(p);
        } else if (match[r - 1] >= 0) {
            places.append(m_closed[match[r - 1]]);
            places.last().open = false;
        }
    }
    return places;
}

void NoteKeeper::closing(const f_test* note, const TaskList& list, const QList<f_test*>& open) {
    if (m_ended || m_path.isEmpty())
        return;
    const QList<NotePlace> places = snapshot(list, open, note);
    m_closed.clear();
    for (const NotePlace& p : places)
        if (!p.open)
            m_closed.append(p);
    write(places);
}

void NoteKeeper::write(const QList<NotePlace>& places) {
    if (places == m_written)
        return;
    // A failed write loses only where notes were; the next tick tries again.
    if (writeNotePlaces(m_path, places))
        m_written = places;
}

void NoteKeeper::save(const TaskList& list, const QList<f_test*>& open, bool ending) {
    if (m_ended || m_path.isEmpty())
        return;
    m_ended = ending;
    write(snapshot(list, open, nullptr));
}

} // namespace jot
