#include "report/print.h"
// STUB: to be written.
namespace jot {
void imprimer_rapport(QWidget*, const QString&) {}
bool printReport(QPrinter&, const QString&) { return false; }
} // namespace jot
