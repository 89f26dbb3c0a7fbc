// SPDX-License-Identifier: GPL-3.0-or-later
// Another writer's changes to the task file, as the main window answers them.
#include "mainwin/f_iir.h"
#include "notes/f_test.h"

// The row goes right after this: its note closes as Delete would close it, and the notes
// of the rows below follow their tasks up.
void f_iir::closeRemovedTask(int row) {
    if (f_test* w = noteOfRow(row)) {
        const jot::NoAutoSave noSave(m_shared);
        w->closeForRemoval();
    }
    if (m_shared.list.rows() == 2)
        return; // the only row stays, as the placeholder
    for (int r = row + 1; r < m_shared.list.rows(); ++r) {
        if (f_test* w = noteOfRow(r))
            w->setRow(r - 1);
    }
}
