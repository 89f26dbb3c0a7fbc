// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <optional>

// Which display platform Qt runs on. A Wayland compositor lets no program place its windows,
// and note placement is the heart of Jotlark: where XWayland is at hand, run on X11.
namespace jot {

// The platform to ask for, given the environment's QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY, or empty to leave Qt's own choice (the user's, or no display at all).
QByteArray platformFor(const QByteArray& chosen, const QByteArray& waylandDisplay,
                       const QByteArray& display);

// Whether Qt would look for a display where there is none: no DISPLAY, no WAYLAND_DISPLAY,
// and the platform chosen (by -platform, else QT_QPA_PLATFORM; Qt's own choice when both are
// empty) needs one. Qt would abort there; offscreen and the like need none.
bool displayMissing(const QByteArray& platformArgument, const QByteArray& chosen,
                    const QByteArray& waylandDisplay, const QByteArray& display);

// Ends the start with one line on stderr when displayMissing() says so for this process;
// returns the status to end with, or nothing to go on.
std::optional<int> refuseWithoutDisplay(int argc, char* argv[]);

// Sets QT_QPA_PLATFORM by platformFor(); call it before the application is constructed.
void choosePlatform();

} // namespace jot
