// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/shared.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBlock;
namespace jot {
class AlarmPanel;
class ChecklistLook;
} // namespace jot

// A task's sticky note. It keeps no copy of its task: every change goes straight into its
// row of the task list. Deletes itself when closed.
class f_test : public QWidget {
    Q_OBJECT
public:
    f_test(jot::Shared& shared, int row, int slot);

    int row() const { return f_pos; }
    int slot() const { return f_monindice; }
    void setRow(int row) { f_pos = row; } // the rows above it went

    void init();   // a task just created: caption, creation stamp, alarm preset
    void reinit(); // an existing task: filled from its row
    // A task just created from elsewhere: its text typed in, its alarm set as "Ok" sets it.
    void fill(const QString& text, const QString& alarm);
    void en_rouge(); // the alarm has fallen due
    // Snooze moved the alarm: set as "Ok" sets it, with the repeat rule's field, and the note
    // no longer red.
    void snooze(const QString& alarm, const QString& repeat);
    // The alarm timer moved a repeating alarm on: the label and the lists follow the row.
    void alarmMoved();
    // The task repeats by a rule only another program can express ("As set elsewhere").
    void setForeignRule(bool foreign);
    // A task made by New task whose note has had neither text nor an alarm: closed so, it
    // is not kept (blankClosed()).
    bool isBlankNew() const;
    // The task goes anyway (Delete, another writer's removal): closed as any other note.
    void closeForRemoval();

    // The designed size, the smallest a note gets; the text box takes what the user adds.
    QSize designedSize() const;
    // Moves the note to where the program puts it (its cell, the outer top-left corner); a
    // place other than this one later on was the user's.
    void placeAt(const QPoint& outer);
    // Moves the note back to where the user left it before: the inner top-left corner, which
    // stays where it is whatever frame the window manager puts around it.
    void placeAsBefore(const QPoint& inner);
    bool movedByUser() const { return m_placedByUser || geometry().topLeft() != m_givenPlace; }

    // Above other windows and on every workspace, as the options say ("Notes on top", "Notes
    // on every workspace"); asked before the note is mapped, or at once when it is.
    void setStacking(bool onTop, bool onAllWorkspaces);
    // A ringing note comes and stays above other windows, without the keyboard, and asks for
    // the user's attention; until Show, a snooze, a new alarm or "No alarm".
    void setRinging(bool ringing);
    bool ringing() const { return m_ringing; }
    bool keptAbove() const { return m_onTop || m_ringing; }
    bool onAllWorkspaces() const { return m_onAllWorkspaces; }

Q_SIGNALS:
    // Closed blank and new: the window that owns the list removes its row, which is no Delete.
    void blankClosed(int row);
    // "Ok", "No alarm" or a snooze: a ringing alarm has been dealt with.
    void alarmSet(int row);
    void closing(f_test* note); // before its row lets go of it

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The task list keeps CR LF line breaks; the text box shows plain line breaks.
    static QString toBox(const QString& cellText);
    static QString toCell(const QString& boxText);

    void createControls();
    void Text2_Change();
    void Command1_Click(); // Alarm
    void Command2_Click(); // No alarm
    void Command3_Click(); // Ok
    // What "Ok" does with the alarm text and its repeat rule's field.
    void applyAlarm(const QString& alarm, const QString& repeat);
    void takeAlarm(const QString& alarm, const QString& repeat);
    void paintSurfaces(const QColor& colour);
    void closePanel();
    void showAlarm(const QString& alarm, const QString& repeat = {});
    void setCell(int col, const QString& text);
    // The line's first characters, a checklist item's mark, changed by the given rule.
    void changeItem(const QTextBlock& line, QString (*rule)(const QString&));
    bool clickedItem(const QPoint& at); // on the brackets of an item: ticked or unticked
    bool itemKey(const QKeyEvent& key); // Ctrl+Return and Ctrl+Shift+L

    jot::Shared& m_shared;
    int f_pos = 0;               // the task's row
    int f_monindice = 0;         // the window's slot
    bool m_closed = false;       // closing saves already: no second save on the last focus-out
    bool m_fresh = false;        // made by New task, without text or an alarm so far
    QPoint m_givenPlace;         // where the program last put it, inner top-left
    bool m_placedByUser = false; // put back where the user had left it
    bool m_onTop = false;
    bool m_onAllWorkspaces = false;
    bool m_ringing = false;

    QPushButton* Command1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    jot::AlarmPanel* Frame1 = nullptr;
    jot::ChecklistLook* m_checklist = nullptr;
};
