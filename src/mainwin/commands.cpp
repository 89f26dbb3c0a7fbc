// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "alarms/snooze.h"
#include "mainwin/f_iir.h"
#include "mainwin/gridcolumns.h"
#include "mainwin/notices.h"
#include "notes/f_test.h"
#include "ui/messagebox.h"
#include "ui/twips.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

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
        w->setRinging(rowRinging(row));
        w->activateWindow(); // without a window manager nothing else gives it the keyboard
    }
}

// The note clears the cell and frees its slot.
void f_iir::closeNote(int row) {
    if (f_test* w = noteOfRow(row))
        w->close();
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
    return i.isValid() ? jot::TaskList::gridRow(i.row()) : 1;
}

void f_iir::selectRow(int row) {
    if (row < 1 || row >= m_shared.list.rows())
        return;
    const QModelIndex i = gri->model()->index(jot::TaskList::viewRow(row), jot::GridColumns::kText);
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
            w->fill(request.text, request.alarm.isValid()
                                      ? jot::alarmTextAt(request.alarm.date(), request.alarm.time())
                                      : QString());
        }
        m_shared.sauver_liste();
        bringToFront(w);
        break;
    }
    }
    return jot::Answer::Done;
}

void f_iir::mPopNew_Click() {
    Command1_Click();
}

void f_iir::Command2_Click() {
    showNote(currentRow());
}

void f_iir::gri_DblClick() {
    Command2_Click();
}

// Delete: no question asked. The note is closed (and so saves) while its row still exists;
// the removal itself is saved by the next timer tick, so that a deleted task does not come
// back after a crash.
void f_iir::Command3_Click() {
    const BusyPointer busy;
    const int r = currentRow();
    if (m_shared.list.isPlaceholder(r))
        return;
    closeNote(r);
    m_shared.list.removeTask(r);
    m_shared.unsavedChanges = true;
    // The rows below moved up: every open note follows its task.
    for (int i = 1; i < m_shared.list.rows(); ++i) {
        if (f_test* w = noteOfRow(i))
            w->setRow(i);
    }
    // The view now makes current, and selects, the row that took its place (or the new
    // last one): the current cell is in a visible column, so Delete again takes the next.
}

void f_iir::m_toutafficher_Click() {
    const int n = m_shared.list.rows() - 1;
    for (int i = 1; i <= n; ++i)
        showNote(i);
    focusNewTask();
}

void f_iir::m_toutmasquer_Click() {
    const int n = m_shared.list.rows() - 1;
    for (int i = 1; i <= n; ++i)
        closeNote(i);
    focusNewTask();
}

// Delete all: the notes are closed without saving, and the emptied list is saved once.
// Rows go from the last one up, so the rows still to be handled, and their notes' f_pos,
// keep their numbers.
void f_iir::m_reinit_Click() {
    if (jot::askUser(this, QMessageBox::Question, QStringLiteral("Jotlark"),
                     tr("Do you realy want to delete all tasks"),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    {
        const jot::NoAutoSave noSave(m_shared);
        for (int d = m_shared.list.rows() - 1; d >= 1; --d) {
            if (m_shared.list.isPlaceholder(d))
                continue;
            closeNote(d);
            m_shared.list.removeTask(d);
        }
    }
    m_shared.sauver_liste();
}
