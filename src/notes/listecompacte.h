#pragma once

#include <QProxyStyle>

// The note's lists are only a few characters wide: a narrower drop-down arrow leaves their
// text room to show ("12", "pm") instead of clipping it.
class ListeCompacte : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
};
