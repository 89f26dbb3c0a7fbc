#include "notes/alarmtext.h"
// STUB: to be written.
namespace jot {
AlarmParts decouper_alarme(const QString&) { return {}; }
QString composeAlarm(const QString& d, const QString& h, const QString& m, const QString& k) {
    return d + QLatin1Char(' ') + h + QLatin1Char(':') + m + QLatin1Char(' ') + k;
}
QString dayText(const QDate& date, const QLocale&) { return date.toString(QStringLiteral("MM/dd")); }
QStringList dayList(const QDate&, const QLocale&) { return {}; }
} // namespace jot
