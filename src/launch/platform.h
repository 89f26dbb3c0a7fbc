// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Which display platform Qt runs on. A Wayland compositor lets no program place its windows,
// and note placement is the heart of Jotlark: where XWayland is at hand, run on X11.
namespace jot {

// The platform to ask for, given the environment's QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY, or empty to leave Qt's own choice (the user's, or no display at all).
QByteArray platformFor(const QByteArray& chosen, const QByteArray& waylandDisplay,
                       const QByteArray& display);

// Sets QT_QPA_PLATFORM by platformFor(); call it before the application is constructed.
void choosePlatform();

} // namespace jot
