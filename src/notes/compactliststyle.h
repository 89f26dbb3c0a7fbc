// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace jot {

// The style of a note's controls. The lists are only a few characters wide: a narrower
// drop-down arrow leaves their text room to show ("12", "pm") instead of clipping it.
// Every control is drawn with one shared copy of each distinct palette: the style keeps what
// it draws in Qt's pixmap cache under the palette's identity, and a control given a palette
// gets one of its own even when the colours are the same, so each note drew, and the cache
// kept, its own set of pixmaps.
class CompactListStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

} // namespace jot
