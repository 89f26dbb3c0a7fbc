// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/platform.h"

#include <QByteArrayList>
#include <QtGlobal>
#include <cstdio>
#include <cstring>

namespace jot {

QByteArray platformFor(const QByteArray& chosen, const QByteArray& waylandDisplay,
                       const QByteArray& display) {
    if (!chosen.isEmpty() || waylandDisplay.isEmpty())
        return {};
    // Wayland alone: named, because Qt's default is X11 unless the session says Wayland.
    return display.isEmpty() ? QByteArrayLiteral("wayland") : QByteArrayLiteral("xcb");
}

bool displayMissing(const QByteArray& platformArgument, const QByteArray& chosen,
                    const QByteArray& waylandDisplay, const QByteArray& display) {
    if (!waylandDisplay.isEmpty() || !display.isEmpty())
        return false;
    const QByteArray platforms = platformArgument.isEmpty() ? chosen : platformArgument;
    // A list tried in turn ("xcb;offscreen"), each with options after a colon.
    for (const QByteArray& entry : platforms.split(';')) {
        const QByteArray name = entry.split(':').constFirst().trimmed();
        if (!name.isEmpty() && name != "xcb" && !name.startsWith("wayland"))
            return false;
    }
    return true;
}

std::optional<int> refuseWithoutDisplay(int argc, char* argv[]) {
    QByteArray argument;
    for (int k = 1; k + 1 < argc; ++k) {
        if (!std::strcmp(argv[k], "-platform") || !std::strcmp(argv[k], "--platform"))
            argument = argv[k + 1];
    }
    if (!displayMissing(argument, qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                        qgetenv("DISPLAY")))
        return {};
    std::fputs("jotlark: no graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
               "start Jotlark from an X11 or Wayland desktop.\n",
               stderr);
    return 1;
}

void choosePlatform() {
    const QByteArray platform =
        platformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace jot
