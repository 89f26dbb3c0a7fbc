// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/compactliststyle.h"

#include <QList>
#include <QStyleOptionComplex>

namespace {

// The one copy of each distinct palette the notes' controls are drawn with: a handful (the
// system's, the note's yellow, the alarm's red).
QPalette sharedPalette(const QPalette& palette) {
    static QList<QPalette> palettes;
    for (const QPalette& p : palettes) {
        if (p == palette)
            return p;
    }
    palettes.append(palette);
    return palette;
}

// Lends the option the shared palette while it is drawn. The option is the caller's own
// object, passed as const only by the style's interface; it gets its palette back.
class SharedPalette {
public:
    explicit SharedPalette(const QStyleOption* option)
        : m_option(const_cast<QStyleOption*>(option)), m_own(option->palette) {
        m_option->palette = sharedPalette(m_own);
    }
    ~SharedPalette() { m_option->palette = m_own; }
    SharedPalette(const SharedPalette&) = delete;
    SharedPalette& operator=(const SharedPalette&) = delete;

private:
    QStyleOption* m_option;
    QPalette m_own;
};

} // namespace

namespace jot {

QRect CompactListStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                       SubControl sub, const QWidget* widget) const {
    if (control != CC_ComboBox || (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField))
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect r = option->rect.adjusted(2, 2, -2, -2);
    const int arrowWidth = 11;
    const QRect zone = sub == SC_ComboBoxArrow
                           ? QRect(r.right() - arrowWidth + 1, r.top(), arrowWidth, r.height())
                           : QRect(r.left(), r.top(), r.width() - arrowWidth - 1, r.height());
    return visualRect(option->direction, option->rect, zone);
}

void CompactListStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const SharedPalette shared(option);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CompactListStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const SharedPalette shared(option);
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CompactListStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                          QPainter* painter, const QWidget* widget) const {
    const SharedPalette shared(option);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

} // namespace jot
