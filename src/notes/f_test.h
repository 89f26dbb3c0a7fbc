#pragma once

#include "store/shared.h"

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// A task's sticky note. It keeps no copy of its task: every change goes straight into row
// f_pos of the task list. Deletes itself when closed.
class f_test : public QWidget {
    Q_OBJECT
public:
    explicit f_test(jot::Shared& shared);

    int f_pos = 0;       // the task's row
    int f_monindice = 0; // the window's slot

    void init();     // a task just created: caption, creation stamp, alarm preset
    void reinit();   // an existing task: filled from its row
    void en_rouge(); // the alarm has fallen due

    // The task list keeps CR LF line breaks; the text box shows plain line breaks.
    static QString toBox(const QString& cellText);
    static QString toCell(const QString& boxText);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    jot::Shared& m_shared;
};
