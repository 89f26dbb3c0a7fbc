#include "notes/listecompacte.h"

#include <QStyleOptionComplex>

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
