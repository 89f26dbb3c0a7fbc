// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The help window: a fixed text and "Ok". Deletes itself when closed.
class f_help : public QWidget {
    Q_OBJECT
public:
    f_help();

    static const QString& helpText();      // CR LF lines
    static const QString& moreText();      // snooze, repeats, --new: after it, in the same style
    static const QString& undoText();      // undo, what rang, blank tasks
    static const QString& calendarText();  // calendar files in and out
    static const QString& checklistText(); // checklists in a note, and finding a task
    static const QString& syncText();      // sync with a CalDAV server
    static const QString& notesText();     // notes resized, kept in place, on top: last

    void Command1_Click(); // "Ok": closes and discards the window

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter presses "Ok", Escape closes

private:
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
};
