// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/f_iir.h"

#include "alarms/clockwatch.h"
#include "mainwin/notices.h"
#include "notes/f_test.h"
#include "ui/messagebox.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <utility>

// Ending the program: only Exit does it, writing the list before the notes close. New tasks
// left blank go first, as their notes' close would take them.

void f_iir::m_quitter_Click() {
    if (m_ended)
        return;
    dropBlankTasks();
    m_quitting = true;
    close();
}

void f_iir::mPopExit_Click() {
    dropBlankTasks();
    if (m_shared.autoSave)
        m_shared.sauver_liste();
    m_quitter_Click();
}

// Not through close(): while Exit's own question is open the window is already closing and
// a second close() does nothing. Whatever dialog or menu is open, its loop ends with ours.
void f_iir::endNow() {
    if (m_ended)
        return;
    m_shared.file.stopWaitingForWriter();
    dropBlankTasks();
    m_shared.sauver_liste(); // once; a failure cannot be helped with nobody to ask
    shutDown();
}

void f_iir::closeEvent(QCloseEvent* event) {
    if (!m_quitting) {
        // The close box puts the window away; only Exit ends the program.
        event->ignore();
        m_tache_Click();
        return;
    }
    if (m_shared.autoSave && !saveBeforeExit()) {
        m_quitting = false;
        event->ignore();
        return;
    }
    event->accept();
    shutDown();
}

void f_iir::shutDown() {
    // The notes open now open again at the next start, where they are.
    m_keeper.save(m_shared.list, openNotes(), true);
    closeNotes();
    hide();
    m_notices->removeIcon();
    Timer1->stop();
    m_minuteStart->stop();
    delete std::exchange(m_clockWatch, nullptr);
    m_ended = true;
    QCoreApplication::quit();
}

bool f_iir::saveBeforeExit() {
    m_shared.file.stopWaitingForWriter(); // the list is not left behind in memory
    while (!m_shared.sauver_liste()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Jotlark"),
                        tr("Your tasks could not be saved to %1:\n%2\n\n"
                           "Quit without saving, and the changes since the last save are lost.")
                            .arg(m_shared.file.path(), m_shared.file.lastError()),
                        QMessageBox::Retry | QMessageBox::Discard | QMessageBox::Cancel,
                        isVisible() ? this : nullptr);
        box.setDefaultButton(QMessageBox::Retry);
        box.button(QMessageBox::Discard)->setText(tr("Quit without saving"));
        switch (jot::showBox(box)) {
        case QMessageBox::Retry:
            continue;
        case QMessageBox::Discard:
            return true;
        default:
            return false;
        }
    }
    return true;
}

void f_iir::closeNotes() {
    // The notes closed now must not each write the file again.
    const jot::NoAutoSave noSave(m_shared);
    for (int r = m_shared.list.rows() - 1; r >= 1; --r) {
        if (f_test* note = noteOfRow(r))
            note->close();
    }
}
