#include "alarms/due.h"
// STUB: to be written.
namespace jot {
bool isQuarterHour(const QTime& t) { return t.minute() % 15 == 0; }
QDate alarmDate(int, int, const QDate&) { return {}; }
bool isDue(const QString&, const QString&, const QDateTime&) { return false; }
} // namespace jot
