#include "help/about.h"
// STUB: to be written.
namespace jot {
void m_apropos(QWidget*) {}
} // namespace jot
