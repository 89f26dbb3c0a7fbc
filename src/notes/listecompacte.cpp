// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/listecompacte.h"

#include <QList>
#include <QStyleOptionComplex>

namespace {

// The one copy of each distinct palette the notes' controls are drawn with: a handful (the
// system's, the note's yellow, the alarm's red).
QPalette paletteCommune(const QPalette& palette) {
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
class PaletteCommune {
public:
    explicit PaletteCommune(const QStyleOption* option)
        : m_option(const_cast<QStyleOption*>(option)), m_propre(option->palette) {
        m_option->palette = paletteCommune(m_propre);
    }
    ~PaletteCommune() { m_option->palette = m_propre; }
    PaletteCommune(const PaletteCommune&) = delete;
    PaletteCommune& operator=(const PaletteCommune&) = delete;

private:
    QStyleOption* m_option;
    QPalette m_propre;
};

} // namespace

QRect ListeCompacte::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl sub, const QWidget* widget) const {
    if (control != CC_ComboBox || (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField))
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect r = option->rect.adjusted(2, 2, -2, -2);
    const int fleche = 11;
    const QRect zone = sub == SC_ComboBoxArrow
                           ? QRect(r.right() - fleche + 1, r.top(), fleche, r.height())
                           : QRect(r.left(), r.top(), r.width() - fleche - 1, r.height());
    return visualRect(option->direction, option->rect, zone);
}

void ListeCompacte::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    const PaletteCommune commune(option);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ListeCompacte::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const PaletteCommune commune(option);
    QProxyStyle::drawControl(element, option, painter, widget);
}

void ListeCompacte::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const PaletteCommune commune(option);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
