// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/f_iir.h"

#include "help/about.h"
#include "help/f_help.h"
#include "mainwin/notices.h"
#include "mainwin/synccontroller.h"
#include "notes/f_test.h"
#include "notes/stacking.h"
#include "report/print.h"
#include "report/report.h"
#include "store/autostart.h"
#include "store/clock.h"
#include "store/startoption.h"
#include "syncdialog/keychainstore.h"
#include "syncdialog/syncdialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QTimer>
#include <utility>

// The menu bar, and the items that hand over to another part: the report, the start options,
// Help and About.

void f_iir::createMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption,
                       void (f_iir::*handler)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };

    QMenu* fileMenu = menu("m_fichier", tr("&File"));
    item(fileMenu, "m_tache", tr("Minimize"), &f_iir::m_tache_Click);
    item(fileMenu, "m_imprimer", tr("&Print"), &f_iir::m_imprimer_Click)
        ->setShortcut(QKeySequence::Print);
    item(fileMenu, "m_exportCalendar", tr("&Export to calendar file…"),
         &f_iir::m_exportCalendar_Click);
    item(fileMenu, "m_importCalendar", tr("I&mport calendar file…"),
         &f_iir::m_importCalendar_Click);
    fileMenu->addSeparator()->setObjectName(QStringLiteral("m_t2"));
    // Not QKeySequence::Quit: some platform themes (qt6ct, Windows-like schemes) bind nothing.
    item(fileMenu, "m_quitter", tr("Exit"), &f_iir::m_quitter_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* editMenu = menu("m_edit", tr("&Edit"));
    m_undo = item(editMenu, "m_undo", tr("&Undo delete"), &f_iir::m_undo_Click);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z)); // as Exit's: whatever the theme
    m_undo->setEnabled(false);

    QMenu* listMenu = menu("m_fenetre", tr("&List"));
    item(listMenu, "m_toutafficher", tr("Show all"), &f_iir::m_toutafficher_Click);
    item(listMenu, "m_toutmasquer", tr("Hide all"), &f_iir::m_toutmasquer_Click);
    // As Exit's: the same key whatever the theme binds to Find.
    item(listMenu, "m_find", tr("&Find…"), &f_iir::m_find_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    listMenu->addSeparator()->setObjectName(QStringLiteral("m_t1"));
    item(listMenu, "m_reinit", tr("Delete all"), &f_iir::m_reinit_Click);

    QMenu* options = menu("m_options", tr("&Options"));
    m_tb = item(options, "m_tb", tr("&Start in the task bar"), &f_iir::m_tb_Click);
    m_tb->setCheckable(true);
    m_sound = item(options, "m_sound", tr("Play a so&und"), &f_iir::m_sound_Click);
    m_sound->setCheckable(true);
    m_login = item(options, "m_login", tr("Start at &log-in"), &f_iir::m_login_Click);
    m_login->setCheckable(true);
    m_ontop = item(options, "m_ontop", tr("Notes on &top"), &f_iir::m_ontop_Click);
    m_ontop->setCheckable(true);
    m_workspaces =
        item(options, "m_workspaces", tr("Notes on every &workspace"), &f_iir::m_workspaces_Click);
    m_workspaces->setCheckable(true);
    options->addSeparator()->setObjectName(QStringLiteral("m_t3"));
    m_syncNow = item(options, "m_syncNow", tr("Sync &now"), &f_iir::m_syncNow_Click);
    m_syncNow->setEnabled(false);
    // sync.conf is written by hand, perhaps while the program runs.
    connect(options, &QMenu::aboutToShow, this,
            [this] { m_syncNow->setEnabled(m_sync && m_sync->configured()); });
    item(options, "m_syncSetUp", tr("Sync with a &CalDAV server…"), &f_iir::m_syncSetUp_Click);
    if (!jot::canAskStacking()) {
        options->setToolTipsVisible(true);
        m_ontop->setEnabled(false);
        m_ontop->setToolTip(tr("Under Wayland a program cannot keep its windows above others"));
        m_workspaces->setEnabled(false);
        m_workspaces->setToolTip(
            tr("Under Wayland a program cannot show its windows on every workspace"));
    }

    QMenu* interro = menu("m_interro", tr("&?"));
    item(interro, "m_aide", tr("Help..."), &f_iir::m_aide_Click)
        ->setShortcut(QKeySequence::HelpContents);
    item(interro, "m_apropos", tr("&About..."), &f_iir::m_apropos_Click);
}

void f_iir::m_imprimer_Click() {
    jot::printWithDialog(this, jot::preparer_rapport(m_shared.list, jot::now().date()));
}

void f_iir::m_tb_Click() {
    // The item has already turned its check mark; the file follows it, and the mark then
    // shows what the file says, so a failed write leaves both as they were.
    jot::setStartInTray(m_dataDir, m_tb->isChecked());
    m_tb->setChecked(jot::startInTray(m_dataDir));
}

void f_iir::m_sound_Click() {
    // As with the start option: the file follows the check mark, the mark what is on disk.
    jot::setPlaysSound(m_dataDir, m_sound->isChecked());
    m_sound->setChecked(jot::playsSound(m_dataDir));
    m_notices->setSound(m_sound->isChecked());
}

void f_iir::m_login_Click() {
    // As with the start option: the entry follows the check mark, the mark what is on disk.
    jot::setStartAtLogIn(m_login->isChecked(), QCoreApplication::applicationFilePath());
    m_login->setChecked(jot::startsAtLogIn());
}

void f_iir::m_ontop_Click() {
    // As with the start option: the file follows the check mark, the mark what is on disk.
    jot::setMarker(m_dataDir, jot::kOnTopFile, m_ontop->isChecked());
    m_ontop->setChecked(jot::hasMarker(m_dataDir, jot::kOnTopFile));
    applyStacking();
}

void f_iir::m_workspaces_Click() {
    jot::setMarker(m_dataDir, jot::kAllWorkspacesFile, m_workspaces->isChecked());
    m_workspaces->setChecked(jot::hasMarker(m_dataDir, jot::kAllWorkspacesFile));
    applyStacking();
}

void f_iir::m_syncSetUp_Click() {
    if (!m_syncDialog) {
        QList<jot::TaskRow> here;
        for (int row = 1; row < m_shared.list.rows(); ++row)
            here.append(m_shared.list.task(row));
        m_syncDialog = new SyncDialog(m_dataDir, here, &jot::desktopKeyring(), this);
        m_syncDialog->setAttribute(Qt::WA_DeleteOnClose);
        // A new set-up syncs at once; a stopped one clears what the warning line said of it.
        if (m_sync) {
            connect(m_syncDialog, &SyncDialog::configured, m_sync, &jot::SyncController::syncNow);
            connect(m_syncDialog, &SyncDialog::stopped, m_sync, &jot::SyncController::syncNow);
        }
    }
    m_syncDialog->show();
    m_syncDialog->raise();
    m_syncDialog->activateWindow();
}

void f_iir::m_syncNow_Click() {
    if (m_sync)
        m_sync->syncNow();
}

void f_iir::startSync() {
    m_sync = new jot::SyncController(m_shared, m_dataDir, this);
    m_syncNow->setEnabled(m_sync->configured());
    connect(&m_shared.file, &jot::TaskFile::saved, m_sync, &jot::SyncController::listSaved);
    connect(m_sync, &jot::SyncController::lineChanged, this, [this](const QString& text) {
        const QString was = std::exchange(m_syncLine, text);
        if (!text.isEmpty())
            showWarning(text);
        else
            clearWarning(was);
    });
    connect(m_sync, &jot::SyncController::notice, m_notices, &jot::Notices::warning);
    connect(m_sync, &jot::SyncController::removingTask, this, &f_iir::closeRemovedTask);
    connect(m_sync, &jot::SyncController::changingTask, this, [this](int row) {
        if (f_test* w = noteOfRow(row)) {
            const jot::NoAutoSave noSave(m_shared);
            w->closeForRemoval();
        }
    });
    // Once the window is up: the first round never delays it.
    QTimer::singleShot(0, m_sync, &jot::SyncController::begin);
}

void f_iir::m_aide_Click() {
    if (!m_help)
        m_help = new f_help;
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void f_iir::m_apropos_Click() {
    jot::m_apropos(this);
}
