// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/controles.h"

#include "notes/listecompacte.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

// Every role set explicitly, so that a colour given to the window cannot reach the controls
// that keep the system's colours (a child inherits every role it has not set). A control's
// palette is its own copy whatever it is given: the shared style is what draws every control
// with one copy of each distinct palette.
QPalette paletteComplete(const QPalette& source) {
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto groupe = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role != QPalette::NoRole)
                p.setBrush(groupe, role, source.brush(groupe, role));
        }
    }
    return p;
}

} // namespace

namespace jot {

void placer(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QLatin1String(nom));
    l->setTextFormat(Qt::PlainText); // an alarm text from the file is never markup
    l->setAutoFillBackground(true);
    return l;
}

QPushButton* bouton(QWidget* parent, const char* nom, const QString& texte) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

QStyle* styleDesControles() {
    static QPointer<ListeCompacte> style;
    if (!style) {
        style = new ListeCompacte;
        style->setParent(qApp);
    }
    return style;
}

void systemLook(QWidget* control) {
    // The system's colours for its kind of control: buttons and lists may differ.
    control->setPalette(paletteComplete(QApplication::palette(control)));
    control->setStyle(styleDesControles());
}

void peindre(QWidget* surface, const QColor& couleur) {
    QPalette p = paletteComplete(QApplication::palette());
    p.setColor(QPalette::Window, couleur);
    p.setColor(QPalette::Base, couleur);
    surface->setPalette(p);
}

} // namespace jot
