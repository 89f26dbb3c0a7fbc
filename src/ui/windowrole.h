// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace jot {

// Screen readers announce a window made of a plain widget (a note, Help) as a pane, a
// "filler", instead of a window. Once this has run they find it as a frame, as the main
// window is. Call it before such a window is shown; it acts once.
void announceWidgetWindowsAsFrames();

} // namespace jot
