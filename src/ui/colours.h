// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QPalette;
class QWidget;

namespace jot {

// The background of every window of the program.
inline const QColor kPaleYellow(255, 255, 128);

// WCAG's contrast ratio of two colours, 1 to 21.
double contrast(const QColor& a, const QColor& b);

// What the user's colour scheme gives a control of this kind, every role set, so that a
// colour given to its window cannot reach it (a child inherits every role it has not set).
QPalette systemPalette(const QWidget* control);

// The system's palette on a surface of the program's own colour: its background, and the
// text, placeholder and selection that go on it, dark or light as the colour needs whatever
// the scheme (a dark scheme's white text is unreadable on the yellow). Each pair contrasts at
// least 4.5:1, as WCAG AA asks of text.
QPalette surfacePalette(const QColor& background);

// The text greyed toward the background, yet still read at 4.5:1 on it.
QColor mutedText(const QColor& background, const QColor& text);

} // namespace jot
