// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace jot {

// The program's icon, the same for every window and the tray. Its sizes are the ones drawn
// for their pixel grids (16 to 48 px, as installed), so the platform sends a window these few
// instead of the drawing rendered at every size it knows; larger sizes come from the drawing.
QIcon programIcon();

} // namespace jot
