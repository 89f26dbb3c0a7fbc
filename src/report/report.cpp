// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include "alarms/alarmtext.h"
#include "alarms/recurrence.h"

#include <QCoreApplication>

namespace jot {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

QString preparer_rapport(const TaskList& list, const QDate& today) {
    // In the user's language and formats; in US English, "Tasks the 12/05/2026".
    QString r = QStringLiteral("[JOTLK]\t\t\t") +
                QCoreApplication::translate("jot::report", "Tasks the %1").arg(shownDate(today)) +
                kCrLf + kCrLf + kCrLf;
    const QString separator = QString(106, QLatin1Char('-')) + kCrLf;
    bool first = true;
    const int rows = list.rows();
    for (int i = 1; i < rows; ++i) {
        const QString text = list.cell(i, ColText);
        if (isBlank(text))
            continue;
        if (!first)
            r += separator;
        r += text + kCrLf;
        const QString alarm = list.cell(i, ColAlarm);
        if (!isBlank(alarm))
            r += QCoreApplication::translate("jot::report", "Alarm on the %1")
                     .arg(alarmDisplay(alarm, list.cell(i, ColFired), today)) +
                 kCrLf;
        first = false;
    }
    return r;
}

} // namespace jot
