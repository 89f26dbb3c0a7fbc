#include "report/report.h"
// STUB: to be written.
namespace jot {
QString preparer_rapport(const TaskList&, const QDate&) { return {}; }
} // namespace jot
