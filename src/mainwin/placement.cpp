#include "mainwin/placement.h"
// STUB: to be written.
namespace jot {
WorkArea mesurer_bureau(const QRect& p, double, double) {
    return {p.left() * 15, p.top() * 15, p.width() * 15, p.height() * 15};
}
QPoint cellOf(const WorkArea& a, int) { return {a.left, a.top}; }
} // namespace jot
