// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace jot {

// Whether the program may ask for a window to stay above others or show on every workspace:
// under X11 (and XWayland) it may; under Wayland alone no protocol lets a program ask.
bool canAskStacking();

// What a top-level window asks the window manager (EWMH): _NET_WM_STATE_ABOVE, or
// _NET_WM_STATE_STICKY with _NET_WM_DESKTOP 0xFFFFFFFF. Before the window is mapped the
// properties are set on it; once mapped, the client messages go to the root window, so that
// the window is neither hidden nor moved. Nothing happens outside X11.
void askAbove(QWidget* window, bool on, bool mapped);
void askOnAllWorkspaces(QWidget* window, bool on, bool mapped);

} // namespace jot
