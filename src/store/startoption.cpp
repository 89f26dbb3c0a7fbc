#include "store/startoption.h"
// STUB: to be written.
namespace jot {
bool startInTray(const QString&) { return false; }
bool setStartInTray(const QString&, bool) { return true; }
} // namespace jot
