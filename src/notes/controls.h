// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <qnamespace.h>

class QColor;
class QLabel;
class QPushButton;
class QString;
class QStyle;
class QWidget;

// How a note and its alarm panel make their controls: placed in twips, and drawn either in
// the system's colours or in the note's colour.
namespace jot {

// In twips, through notePx().
void placeControl(QWidget* w, int left, int top, int width, int height);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text);
// A button whose text is longer or taller than the room its style leaves it grows to hold it,
// keeping `keep` in place (the left or right edge) and its top.
void growToText(QPushButton* b, Qt::Edge keep);
// Twips in pixels for a note's window, larger by as much as the screen's fonts are set larger
// than 96 dots per inch (QT_FONT_DPI=144: by half), so that its texts keep their room.
int notePx(const QWidget* w, int twips);

// The style every note's controls share (see CompactListStyle).
QStyle* noteControlStyle();
// A control that keeps the system's colours, whatever colour the note takes, drawn by the
// shared style.
void systemLook(QWidget* control);
// A surface of the note in its colour: its background, and for the text box its editing area
// too.
void paintSurface(QWidget* surface, const QColor& colour);

} // namespace jot
