// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtag.h"
#include "mainwin/f_iir.h"
#include "mainwin/synccontroller.h"
#include "notes/f_test.h"

#include <QAction>
#include <QScopedValueRollback>

// Notes where the user put them, above other windows and on every workspace as the options
// say, and a ringing note in sight.

QList<f_test*> f_iir::openNotes() const {
    QList<f_test*> notes;
    // A closed note lingers until its deletion: hidden, it is no longer open.
    for (const QPointer<f_test>& n : m_notes)
        if (n && n->isVisible())
            notes.append(n.data());
    return notes;
}

void f_iir::prepareNote(f_test* w) {
    w->setStacking(m_ontop->isChecked(), m_workspaces->isChecked());
    if (m_sync && m_sync->hasForeignRule(m_shared.list.task(w->row())))
        w->setForeignRule(true);
    w->setAttribute(Qt::WA_ShowWithoutActivating, m_openQuietly);
    connect(w, &f_test::closing, this,
            [this](f_test* note) { m_keeper.closing(note, m_shared.list, openNotes()); });
}

void f_iir::reopenNotes() {
    // At a start in the tray too: the keyboard stays where the user is typing.
    const QScopedValueRollback quietly(m_openQuietly, true);
    for (const int row : m_keeper.openAtStart(m_shared.list)) {
        creer_fenetre(row);
        if (f_test* w = noteOfRow(row)) {
            positionner_fenetre(w->slot());
            w->reinit();
        }
    }
}

void f_iir::applyStacking() {
    for (f_test* w : openNotes())
        w->setStacking(m_ontop->isChecked(), m_workspaces->isChecked());
}

bool f_iir::rowRinging(int row) const {
    for (const Ringing& r : m_ringing)
        if (jot::rowOfAlarmTag(m_shared.list, r.state) == row)
            return true;
    return false;
}
