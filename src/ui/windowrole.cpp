// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowrole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// Asked for each class of the object, from its own up: a window that is no more than a
// QWidget is a frame; anything else is left to Qt.
QAccessibleInterface* widgetWindow(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("QWidget") || !w || !w->isWindow())
        return nullptr;
    return new QAccessibleWidget(w, QAccessible::Window);
}

} // namespace

namespace jot {

void announceWidgetWindowsAsFrames() {
    static const bool installed = (QAccessible::installFactory(widgetWindow), true);
    Q_UNUSED(installed);
}

} // namespace jot
