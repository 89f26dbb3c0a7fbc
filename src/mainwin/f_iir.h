// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/due.h"
#include "launch/request.h"
#include "layout/placement.h"
#include "mainwin/notekeeper.h"
#include "store/datadir.h"
#include "store/deletedtasks.h"
#include "store/shared.h"

#include <QDateTime>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class SyncDialog;
class f_help;
class f_test;
namespace jot {
class ClockWatch;
class GridColumns;
class Notices;
class SyncController;
enum class Snooze;
} // namespace jot

// The main window: owns the task list, the shared values, the tray icon, the alarm timer
// and, through the note window table, every open note.
class f_iir : public QMainWindow {
    Q_OBJECT
public:
    explicit f_iir(QWidget* parent = nullptr);
    ~f_iir() override;

    // What the windows hold, to read: tests check the list and count the saves through it.
    const jot::Shared& shared() const { return m_shared; }
    // The program has ended (Exit went through): what a test sees instead of the process end.
    bool ended() const { return m_ended; }

    // The start-up sequence: shared values, work area, data directory, start options, tray
    // icon (just after the window unless the program starts in the tray), grid, task file,
    // row 1 selected, then shown or left in the tray. The data directory is the one the start
    // already found and locked, when there is one.
    void Form_Load(const QString& dataDir = jot::dossier_donnees());

    void restaurer_fenetre_principale(); // normal, in front, centred on the screen

    // What a later start asks, or this one: New task, with the text and alarm given, the task
    // saved and its note in front (Full with 100 tasks already); Show all; Hide all; Show.
    jot::Answer carryOut(const jot::Request& request);

public Q_SLOTS:
    // Exit without any question, for a termination signal, whatever dialog is open: the list
    // is written once, the notes closed, the program ended.
    void endNow();

protected:
    void closeEvent(QCloseEvent* event) override;               // the close decision
    void changeEvent(QEvent* event) override;                   // hides the window when minimised
    void keyPressEvent(QKeyEvent* event) override;              // Enter presses the default button
    bool eventFilter(QObject* watched, QEvent* event) override; // grid keys, resizes, first show

private Q_SLOTS:
    void Command1_Click(); // New task
    void Command2_Click(); // Show
    void Command3_Click(); // Delete
    void gri_DblClick();
    void m_toutafficher_Click();
    void m_toutmasquer_Click();
    void m_reinit_Click();
    void m_find_Click(); // Find: the find line over the grid, with the keyboard
    void m_undo_Click(); // Undo delete
    void m_tache_Click();
    void m_imprimer_Click();
    void m_exportCalendar_Click(); // the list as a calendar file
    void m_importCalendar_Click(); // the open tasks of a calendar file into the list
    void m_quitter_Click();
    void m_tb_Click();
    void m_sound_Click();      // Play a sound
    void m_login_Click();      // Start at log-in
    void m_ontop_Click();      // Notes on top
    void m_workspaces_Click(); // Notes on every workspace
    void m_syncNow_Click();    // Sync now
    void m_syncSetUp_Click();  // Sync with a CalDAV server
    void m_aide_Click();
    void m_apropos_Click();
    void mPopNew_Click();
    void mPopRestore_Click();
    void mPopExit_Click();
    void Timer1_Timer();
    void showRungNote(const QString& tag); // a ringing alarm's notification: Show
    void snoozeRungTask(const QString& tag, jot::Snooze how); // and the Snoozes
    void closeRemovedTask(int row); // another writer removed the row's task
    void removeBlankTask(int row);  // a new task's note closed blank
    void forgetRed(int row);        // the row's alarm was dealt with in its note
    void m_clockWatch_Timer();      // a sleep or a clock change brings the tick at once

private:
    // Note windows.
    void creer_fenetre(int row);         // lowest free slot; last opened slot names it
    void positionner_fenetre(int slot);  // moves the note to its slot's cell
    f_test* noteInSlot(int slot) const;  // the note window table
    f_test* noteOfRow(int row) const;    // the row's open note, or null
    f_test* noteForDueRow(int row);      // opened and filled if need be; null if no slot
    f_test* newTaskNote();               // New task's row and note; null with 100 tasks
    static void bringToFront(f_test* w); // in front, restored, with the keyboard
    void showNote(int row);              // Show for one row
    void closeNote(int row);             // closes the row's note, if it has one
    void closeBeforeRemoval(int row);    // the same, for a task about to go
    void dropBlankTasks();               // new tasks left blank go before the exit's save
    void followRows();                   // every open note to its task's row again
    // Deleted tasks, for Undo and in planifs.txt.deleted.
    void recordDeletion(const QList<jot::TaskRow>& tasks);
    bool ringsRed(int row) const; // its alarm rang and has not been dealt with
    QList<f_test*> openNotes() const;
    void prepareNote(f_test* w);    // before it shows: stacking, focus, its place kept at closing
    void reopenNotes();             // those open when the program last ended
    void applyStacking();           // the options, to every open note
    bool rowRinging(int row) const; // rang, and not yet shown, snoozed, set or cleared
    void focusNewTask();
    int currentRow() const; // the grid's current row, 1 or more
    void selectRow(int row);

    void closeFind(); // Escape: every task shown again
    void findChanged();
    void updateFindHidden();

    void createGrid(QWidget* frame);
    void createFind(QWidget* frame);
    void createButtons(QWidget* frame);
    void layOut(const QSize& frame); // the grid takes the room the window is given
    void createMenus();
    void startSync(); // the sync with a CalDAV list, when sync.conf sets one up
    void showMinimised();
    void centre();
    bool hasTray() const;
    void showWarning(const QString& message);
    void clearWarning(const QString& message);
    // A passing note on the warning line, rich text, for 10 seconds.
    void sayOnLine(const QString& html);
    void updateLine();
    bool saveBeforeExit();
    void closeNotes();
    void shutDown(); // notes closed, tray icon and timers gone, event loops left
    void rearmTimer1(const QDateTime& now);
    // The check at each tick: due alarms brought up in red and told; true if any rang.
    bool checkAlarms(const QDateTime& now);
    void withdrawDealtWith(); // notifications of alarms since snoozed, set, cleared or deleted

    jot::Shared m_shared;
    jot::WorkArea m_workArea;
    jot::NoteKeeper m_keeper;
    bool m_openQuietly = false; // a note the alarm opens leaves the keyboard where it is
    std::array<QPointer<f_test>, jot::kSlots + 1> m_notes{}; // note window table
    bool m_quitting = false;
    bool m_ended = false;
    QString m_dataDir;
    QString m_dataDirNotice; // where the tasks are, when the user must know it

    QTableView* gri = nullptr;
    jot::GridColumns* m_columns = nullptr; // the grid's model
    QLineEdit* m_findLine = nullptr;
    QLabel* m_findHidden = nullptr; // how many tasks the find hides
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* m_minuteStart = nullptr; // starts Timer1 just after a wall-clock minute begins
    jot::ClockWatch* m_clockWatch = nullptr;
    // The alarms whose notifications may be shown, by tag: the task as it stood once it rang
    // (a repeating alarm has moved on by then), and the own moment of the occurrence that rang.
    struct Ringing {
        QString state;
        jot::AlarmMoment occurrence; // invalid for an alarm that does not repeat
    };
    QHash<QString, Ringing> m_ringing;
    // The tasks whose notes stay red, opened again or not, until their alarm is dealt with:
    // each as it stood once it rang, as in m_ringing.
    QStringList m_red;
    jot::DeletedTasks m_deleted;
    QDateTime m_lastTick;              // on the wall clock
    jot::Notices* m_notices = nullptr; // the tray and its messages
    QAction* m_tb = nullptr;
    QAction* m_sound = nullptr;
    QAction* m_login = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_ontop = nullptr;
    QAction* m_workspaces = nullptr;
    QAction* m_syncNow = nullptr;
    jot::SyncController* m_sync = nullptr;
    QString m_syncLine; // what the sync last said on the warning line
    QLabel* m_warning = nullptr;
    QString m_lineWarning; // what the warning line says, passing notes aside
    QString m_lineNote;    // a passing note over it, while m_lineNoteTimer runs
    QTimer* m_lineNoteTimer = nullptr;
    QPointer<f_help> m_help;
    QPointer<SyncDialog> m_syncDialog;
};
