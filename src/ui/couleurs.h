// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace jot {

// The background of every window of the program.
inline const QColor kJaunePale(255, 255, 128);

} // namespace jot
