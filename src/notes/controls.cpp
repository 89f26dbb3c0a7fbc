// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/controls.h"

#include "notes/compactliststyle.h"
#include "ui/colours.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace jot {

void placeControl(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(notePx(w, left), notePx(w, top), notePx(w, width), notePx(w, height));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText); // an alarm text from the file is never markup
    l->setAutoFillBackground(true);
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

void growToText(QPushButton* b, Qt::Edge keep) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    const QFontMetrics fm = b->fontMetrics();
    const int wider = fm.horizontalAdvance(QString(b->text()).remove(u'&')) - room.width();
    const int taller = fm.height() - room.height();
    QRect r = b->geometry();
    if (wider > 0) {
        if (keep == Qt::RightEdge)
            r.setLeft(r.left() - wider);
        else
            r.setRight(r.right() + wider);
    }
    if (taller > 0)
        r.setBottom(r.bottom() + taller);
    b->setGeometry(r);
}

int notePx(const QWidget* w, int twips) {
    const qreal scale = qMax(96, w->logicalDpiY()) / 96.0;
    return qRound(twips * scale / kTwipsPerPixel);
}

QStyle* noteControlStyle() {
    static QPointer<CompactListStyle> style;
    if (!style) {
        style = new CompactListStyle;
        style->setParent(qApp);
    }
    return style;
}

void systemLook(QWidget* control) {
    // The system's colours for its kind of control: buttons and lists may differ.
    control->setPalette(systemPalette(control));
    control->setStyle(noteControlStyle());
}

void paintSurface(QWidget* surface, const QColor& colour) {
    surface->setPalette(surfacePalette(colour));
}

} // namespace jot
