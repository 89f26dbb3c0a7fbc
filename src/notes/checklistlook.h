// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSyntaxHighlighter>

class QPlainTextEdit;

namespace jot {

// A note's done checklist items, struck through and greyed on whatever surface the note has,
// yellow or red, and still read at 4.5:1 on it. Only the look changes: the text stays plain.
class ChecklistLook : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ChecklistLook(QPlainTextEdit* box);

protected:
    void highlightBlock(const QString& text) override;

private:
    QPlainTextEdit* m_box;
};

} // namespace jot
