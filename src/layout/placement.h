// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

namespace jot {

// The desktop minus its panels, in twips, measured once at start-up.
struct WorkArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

constexpr int kCellWidth = 4965;  // twips
constexpr int kCellHeight = 1680; // twips

// Pixels to twips, each product rounded to the nearest whole twip, halves to even.
WorkArea mesurer_bureau(const QRect& pixels, double twipsPerPixelX = 15.0,
                        double twipsPerPixelY = 15.0);

// Outer top-left corner, in twips, of the note window in `slot` (1 to 100): slot 1 in the
// bottom-right cell, columns filling upward, then leftward; held at the left and top edges.
QPoint cellOf(const WorkArea& area, int slot);

} // namespace jot
