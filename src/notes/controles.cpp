// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/controles.h"

#include "notes/listecompacte.h"
#include "ui/colours.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

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
    control->setPalette(systemPalette(control));
    control->setStyle(styleDesControles());
}

void peindre(QWidget* surface, const QColor& couleur) {
    surface->setPalette(surfacePalette(couleur));
}

} // namespace jot
