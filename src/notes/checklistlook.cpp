// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/checklistlook.h"

#include "store/checklist.h"
#include "ui/colours.h"

#include <QEvent>
#include <QPlainTextEdit>

namespace jot {

ChecklistLook::ChecklistLook(QPlainTextEdit* box)
    : QSyntaxHighlighter(box->document()), m_box(box) {}

void ChecklistLook::highlightBlock(const QString& text) {
    if (!isDoneItem(text))
        return;
    // Read at each pass: the note turns red, and back, after the text was laid out.
    const QPalette& p = m_box->palette();
    QTextCharFormat done;
    done.setFontStrikeOut(true);
    done.setForeground(mutedText(p.color(QPalette::Base), p.color(QPalette::Text)));
    setFormat(0, static_cast<int>(text.size()), done);
}

} // namespace jot
