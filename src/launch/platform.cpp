// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/platform.h"

#include <QtGlobal>

namespace jot {

QByteArray platformFor(const QByteArray& chosen, const QByteArray& waylandDisplay,
                       const QByteArray& display) {
    if (!chosen.isEmpty() || waylandDisplay.isEmpty())
        return {};
    // Wayland alone: named, because Qt's default is X11 unless the session says Wayland.
    return display.isEmpty() ? QByteArrayLiteral("wayland") : QByteArrayLiteral("xcb");
}

void choosePlatform() {
    const QByteArray platform =
        platformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace jot
