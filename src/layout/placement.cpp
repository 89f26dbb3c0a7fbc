// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/placement.h"

#include <algorithm>
#include <cmath>

namespace jot {

namespace {
// The nearest whole twip; an exact half goes to the even neighbour, so that the result does
// not depend on the floating-point rounding mode in force.
int toTwips(int pixels, double twipsPerPixel) {
    const double v = pixels * twipsPerPixel;
    double whole = std::floor(v);
    const double rest = v - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int>(whole);
}
} // namespace

WorkArea mesurer_bureau(const QRect& pixels, double twipsPerPixelX, double twipsPerPixelY) {
    return {toTwips(pixels.left(), twipsPerPixelX), toTwips(pixels.top(), twipsPerPixelY),
            toTwips(pixels.width(), twipsPerPixelX), toTwips(pixels.height(), twipsPerPixelY)};
}

QPoint cellOf(const WorkArea& area, int slot) {
    // A work area lower than one cell still has one cell per column.
    const int rows = std::max(1, area.height / kCellHeight);
    const int column = (slot - 1) / rows;   // from the right, from 0
    const int cell = (slot - 1) % rows + 1; // from the bottom, from 1
    const int x = area.left + area.width - kCellWidth - column * kCellWidth;
    const int y = area.top + area.height - cell * kCellHeight;
    return {std::max(x, area.left), std::max(y, area.top)};
}

} // namespace jot
