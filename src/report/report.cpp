// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include "alarms/recurrence.h"

namespace jot {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

QString preparer_rapport(const TaskList& list, const QDate& today) {
    QString r = QStringLiteral("[JOTLK]\t\t\tTasks the ") +
                today.toString(QStringLiteral("MM/dd/yyyy")) + kCrLf + kCrLf + kCrLf;
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
            r += QStringLiteral("Alarm on the ") + alarmDisplay(alarm, list.cell(i, ColFired)) +
                 kCrLf;
        first = false;
    }
    return r;
}

} // namespace jot
