// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace {

constexpr double kReadableContrast = 4.5;

// The relative luminance WCAG defines, from the sRGB components.
double luminance(const QColor& c) {
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor mix(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t));
}

// The palest shade between the background and the text that is still readable on it: a
// placeholder or a disabled text that looks muted yet can be read.
QColor muted(const QColor& background, const QColor& text) {
    for (double t = 0.5; t < 1.0; t += 0.05) {
        const QColor c = mix(background, text, t);
        if (jot::contrast(c, background) >= kReadableContrast)
            return c;
    }
    return text;
}

QPalette whole(const QPalette& source) {
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role != QPalette::NoRole)
                p.setBrush(group, role, source.brush(group, role));
        }
    }
    return p;
}

} // namespace

namespace jot {

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QPalette systemPalette(const QWidget* control) {
    return whole(QApplication::palette(control));
}

QColor mutedText(const QColor& background, const QColor& text) {
    return muted(background, text);
}

QPalette surfacePalette(const QColor& background) {
    QPalette p = whole(QApplication::palette());
    const QColor text = contrast(Qt::black, background) >= contrast(Qt::white, background)
                            ? QColor(Qt::black)
                            : QColor(Qt::white);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor shown = group == QPalette::Disabled ? muted(background, text) : text;
        // Buttons keep the system's face and its text.
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
            p.setColor(group, role, background);
        for (const auto role : {QPalette::WindowText, QPalette::Text})
            p.setColor(group, role, shown);
        p.setColor(group, QPalette::PlaceholderText, muted(background, text));
        // The selection inverts the surface: readable whatever the scheme's highlight.
        p.setColor(group, QPalette::Highlight, shown);
        p.setColor(group, QPalette::HighlightedText, background);
    }
    return p;
}

} // namespace jot
