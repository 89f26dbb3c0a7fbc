// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "alarms/snooze.h"
#include "mainwin/f_iir.h"
#include "mainwin/gridcolumns.h"
#include "mainwin/notices.h"
#include "mainwin/synccontroller.h"
#include "notes/f_test.h"
#include "ui/messagebox.h"
#include "ui/twips.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

// The slot named by a row's window slot cell; 0 for "", the placeholder's "-1" or junk.
int slotOf(const jot::TaskList& list, int row) {
    bool ok = false;
    const int s = list.cell(row, jot::ColSlot).toInt(&ok);
    return ok && s >= 1 && s <= jot::kSlots ? s : 0;
}

// The busy pointer for as long as a command runs.
struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

f_test* f_iir::noteInSlot(int slot) const {
    return slot >= 1 && slot <= jot::kSlots ? m_notes[slot].data() : nullptr;
}

f_test* f_iir::noteOfRow(int row) const {
    return noteInSlot(slotOf(m_shared.list, row));
}

// Brings a note to the front with the keyboard focus, showing it again if it was minimised.
void f_iir::bringToFront(f_test* w) {
    if (!w)
        return;
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

// Show for one row: its open note comes to the front, or a note is opened, placed and
// filled. When every slot is taken the row is skipped: the last opened slot then belongs
// to another task's note, which must not be moved or refilled.
void f_iir::showNote(int row) {
    if (m_shared.list.isPlaceholder(row))
        return;
    if (!m_shared.list.cell(row, jot::ColSlot).isEmpty()) {
        bringToFront(noteOfRow(row));
        return;
    }
    creer_fenetre(row);
    const int s = slotOf(m_shared.list, row);
    if (f_test* w = noteInSlot(s)) {
        positionner_fenetre(s);
        w->reinit();
        if (ringsRed(row))
            w->en_rouge();
        w->setRinging(rowRinging(row));
        w->activateWindow(); // without a window manager nothing else gives it the keyboard
    }
}

// The note clears the cell and frees its slot.
void f_iir::closeNote(int row) {
    if (f_test* w = noteOfRow(row))
        w->close();
}

void f_iir::closeBeforeRemoval(int row) {
    if (f_test* w = noteOfRow(row))
        w->closeForRemoval();
}

// The rows below a removed one moved up: every open note follows its task.
void f_iir::followRows() {
    for (int i = 1; i < m_shared.list.rows(); ++i) {
        if (f_test* w = noteOfRow(i))
            w->setRow(i);
    }
}

// A task made by New task and closed without text or alarm is no task: it goes without a
// trace, as if never made.
void f_iir::removeBlankTask(int row) {
    m_shared.list.removeTask(row);
    m_shared.unsavedChanges = true;
    followRows();
}

void f_iir::dropBlankTasks() {
    const jot::NoAutoSave once(m_shared); // the exit saves next
    for (int r = m_shared.list.rows() - 1; r >= 1; --r) {
        if (f_test* w = noteOfRow(r); w && w->isBlankNew())
            w->close();
    }
}

// Back to the main window, ready for Enter to add a task.
void f_iir::focusNewTask() {
    if (isVisible())
        activateWindow();
    Command1->setFocus();
}

void f_iir::creer_fenetre(int row) {
    if (row < 1 || row >= m_shared.list.rows())
        return;
    const int s = m_shared.takeFreeSlot();
    if (s == 0)
        return;
    auto* w = new f_test(m_shared, row, s);
    connect(w, &f_test::blankClosed, this, &f_iir::removeBlankTask);
    connect(w, &f_test::alarmSet, this, &f_iir::forgetRed);
    m_notes[s] = w;
    m_shared.lastOpenedSlot = s;
    m_shared.list.setCell(row, jot::ColSlot, QString::number(s));
    prepareNote(w);
    w->show();
}

void f_iir::positionner_fenetre(int slot) {
    f_test* w = noteInSlot(slot);
    if (w && !m_keeper.place(w, m_shared.list, openNotes())) {
        const QPoint cell = jot::cellOf(m_workArea, slot);
        w->placeAt({jot::px(cell.x()), jot::px(cell.y())});
    }
}

int f_iir::currentRow() const {
    const QModelIndex i = gri->currentIndex();
    if (i.isValid())
        return m_columns->listRow(i);
    // None selected among those a find shows: no task, rather than one out of sight.
    return m_findLine->text().isEmpty() ? 1 : 0;
}

void f_iir::selectRow(int row) {
    if (row < 1 || row >= m_shared.list.rows())
        return;
    const QModelIndex i = m_columns->shownRow(row);
    if (!i.isValid())
        return; // out of the find
    gri->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
}

// New task: a reused or appended row, and its note set up for a new task.
f_test* f_iir::newTaskNote() {
    const int row = m_shared.list.addTask();
    if (row == 0)
        return nullptr;
    creer_fenetre(row);
    const int s = slotOf(m_shared.list, row);
    f_test* w = noteInSlot(s);
    if (w) {
        w->init();
        positionner_fenetre(s);
    }
    return w;
}

void f_iir::Command1_Click() {
    if (f_test* w = newTaskNote())
        w->activateWindow(); // the new note takes the typing, window manager or not
}

jot::Answer f_iir::carryOut(const jot::Request& request) {
    switch (request.action) {
    case jot::Request::Action::Show:
        restaurer_fenetre_principale();
        break;
    case jot::Request::Action::ShowAll:
        m_toutafficher_Click();
        break;
    case jot::Request::Action::HideAll:
        m_toutmasquer_Click();
        break;
    case jot::Request::Action::New: {
        f_test* w = newTaskNote();
        if (!w) {
            // Asked from a key binding, perhaps: no terminal shows the start's reason.
            m_notices->warning(tr("Jotlark already holds 100 tasks; the task was not added."));
            return jot::Answer::Full;
        }
        {
            // Saved once, below, whatever the note would save on the way.
            const jot::NoAutoSave once(m_shared);
            const QDateTime at = request.alarm.value_or(QDateTime());
            w->fill(request.text,
                    at.isValid() ? jot::alarmTextAt(at.date(), at.time()) : QString());
        }
        const bool saved = m_shared.sauver_liste();
        bringToFront(w);
        // The task stays, and the next minute's save retries it; the start says it is not on
        // disk yet, since a signal or a crash would lose it.
        if (!saved)
            return {jot::Answer::Unsaved, m_shared.file.lastError()};
        break;
    }
    }
    return jot::Answer::Done;
}

void f_iir::mPopNew_Click() {
    Command1_Click();
}

void f_iir::Command2_Click() {
    if (const int r = currentRow(); r >= 1)
        showNote(r);
}

void f_iir::gri_DblClick() {
    Command2_Click();
}

// Delete: no question asked, but Undo brings the task back. The note is closed (and so
// saves) while its row still exists; the removal itself is saved by the next timer tick, so
// that a deleted task does not come back after a crash.
void f_iir::Command3_Click() {
    const BusyPointer busy;
    const int r = currentRow();
    if (r < 1 || m_shared.list.isPlaceholder(r))
        return;
    if (f_test* w = noteOfRow(r); w && w->isBlankNew()) {
        w->close(); // nothing to undo: its note takes it away
        return;
    }
    closeBeforeRemoval(r);
    const jot::TaskRow task = m_shared.list.task(r);
    m_shared.list.removeTask(r);
    m_shared.unsavedChanges = true;
    followRows();
    recordDeletion({task});
    sayOnLine(tr("Task deleted") + QStringLiteral(" <a href=\"undo\">") + tr("Undo") +
              QStringLiteral("</a>"));
    // The view now makes current, and selects, the row that took its place (or the new
    // last one): the current cell is in a visible column, so Delete again takes the next.
}

void f_iir::recordDeletion(const QList<jot::TaskRow>& tasks) {
    // Only a deletion here completes the tasks' items on the server.
    if (m_sync)
        m_sync->deleted(tasks);
    if (!m_deleted.add(tasks))
        showWarning(tr("Deleted tasks could not be kept in %1: %2")
                        .arg(QDir::toNativeSeparators(m_deleted.path()), m_deleted.lastError()));
    m_undo->setEnabled(m_deleted.canUndo());
}

// Undo delete: the last deletion's tasks back at the end of the list, with their alarms; an
// alarm that passed meanwhile rings at the next check, as a missed one does. Those that the
// task limit leaves no room for wait for the next Undo.
void f_iir::m_undo_Click() {
    if (!m_deleted.canUndo())
        return;
    const int first = m_shared.list.rows() - (m_shared.list.isPlaceholder(1) ? 1 : 0);
    const int wanted = m_deleted.lastSize();
    const QList<jot::TaskRow> back = m_deleted.takeLast(m_shared.list.room());
    m_shared.list.appendTasks(back);
    m_undo->setEnabled(m_deleted.canUndo());
    m_lineNoteTimer->stop();
    m_lineNote.clear();
    const int left = wanted - static_cast<int>(back.size());
    if (left > 0)
        sayOnLine((left == 1 ? tr("One task could not be brought back: the list already holds "
                                  "100 tasks.")
                             : tr("%1 tasks could not be brought back: the list already holds "
                                  "100 tasks.")
                                   .arg(left))
                      .toHtmlEscaped());
    else
        updateLine();
    if (back.isEmpty())
        return;
    selectRow(first);
    gri->scrollTo(gri->currentIndex());
    m_shared.sauver_liste();
}

void f_iir::m_toutafficher_Click() {
    const int n = m_shared.list.rows() - 1;
    for (int i = 1; i <= n; ++i)
        showNote(i);
    focusNewTask();
}

// From the last row up: a new task's note closed blank takes its row away.
void f_iir::m_toutmasquer_Click() {
    for (int i = m_shared.list.rows() - 1; i >= 1; --i)
        closeNote(i);
    focusNewTask();
}

// Delete all: the notes are closed without saving, and the emptied list is saved once; Undo
// brings the whole list back. Rows go from the last one up, so the rows still to be handled,
// and their notes' f_pos, keep their numbers.
void f_iir::m_reinit_Click() {
    if (jot::askUser(this, QMessageBox::Question, QStringLiteral("Jotlark"),
                     tr("Do you realy want to delete all tasks"),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QList<jot::TaskRow> gone;
    {
        const jot::NoAutoSave noSave(m_shared);
        for (int d = m_shared.list.rows() - 1; d >= 1; --d) {
            if (m_shared.list.isPlaceholder(d))
                continue;
            if (f_test* w = noteOfRow(d); w && w->isBlankNew()) {
                w->close(); // its row goes with it, and nothing is there to undo
                continue;
            }
            closeBeforeRemoval(d);
            gone.prepend(m_shared.list.task(d));
            m_shared.list.removeTask(d);
        }
    }
    recordDeletion(gone);
    m_shared.sauver_liste();
}
