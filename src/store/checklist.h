// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace jot {

// Checklist items inside a task's text: a line that begins with "[ ] " (open) or "[x] "
// (done). They stay plain text, so the file, a calendar and the report carry them as typed.
inline const QString kOpenItem = QStringLiteral("[ ] ");
inline const QString kDoneItem = QStringLiteral("[x] ");

bool isItem(const QString& line);
bool isDoneItem(const QString& line);
// The line with its item ticked or unticked; any other line as it is.
QString toggledItem(const QString& line);
// The line made an open item, or an item made a plain line again (Ctrl+Shift+L).
QString itemOrBack(const QString& line);

// How many items a text holds and how many of them are done; its lines end in CR LF or LF.
struct ItemCount {
    int done = 0;
    int total = 0;
};
ItemCount countItems(const QString& text);

// The text as a search compares it: without case and accents, so "ecole" finds "École".
QString searchForm(const QString& text);

} // namespace jot
