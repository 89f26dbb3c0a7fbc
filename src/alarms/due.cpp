// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/due.h"

#include "alarms/alarmtext.h"

#include <QRegularExpression>

namespace jot {

namespace {

// The alarm's hour on the 24-hour clock, or -1 when the hour cannot be read. "pm" adds 12,
// but "12" is noon with either marker, as the editor offers it with both.
int hourOfDay(const QString& hour, const QString& marker) {
    bool ok = false;
    const int h = hour.toInt(&ok);
    if (!ok || h < 0 || h > 12)
        return -1;
    return marker == QLatin1String("pm") && h < 12 ? h + 12 : h;
}

int minuteOfHour(const QString& minutes) {
    bool ok = false;
    const int m = minutes.toInt(&ok);
    return ok && m >= 0 && m < 60 ? m : -1;
}

// The month/day at the end of a day text. The weekday name is left aside: it is written in
// the locale of the moment and would not match under another one.
QDate dateOfDay(const QString& dayText, const QDate& today) {
    static const QRegularExpression monthDay(
        QStringLiteral("(?:^|\\s)(\\d{1,2})[^\\d\\s](\\d{1,2})$"));
    const QRegularExpressionMatch m = monthDay.match(dayText.trimmed());
    if (!m.hasMatch())
        return {};
    return alarmDate(m.captured(1).toInt(), m.captured(2).toInt(), today);
}

} // namespace

bool isQuarterHour(const QTime& time) {
    return time.minute() % 15 == 0;
}

QDate alarmDate(int month, int day, const QDate& today) {
    // Leap days lie at most eight years apart, so the nearest 02/29 is within four years.
    // Years are tried in order and only a strictly nearer date replaces the one found, so a
    // tie goes to the date behind: a missed alarm rings rather than waits a year.
    QDate nearest;
    for (int year = today.year() - 4; year <= today.year() + 4; ++year) {
        const QDate date(year, month, day);
        if (date.isValid() &&
            (!nearest.isValid() || qAbs(today.daysTo(date)) < qAbs(today.daysTo(nearest))))
            nearest = date;
    }
    return nearest;
}

bool isDue(const QString& alarmText, const QString& firedMark, const QDateTime& now) {
    if (firedMark == QLatin1String("1") || alarmText.trimmed().isEmpty())
        return false;
    const AlarmParts parts = decouper_alarme(alarmText);
    if (!parts.ok)
        return false;
    const int hour = hourOfDay(parts.hour, parts.marker);
    const int minute = minuteOfHour(parts.minutes);
    const QDate today = now.date();
    const QDate date = dateOfDay(parts.day, today);
    if (hour < 0 || minute < 0 || !date.isValid())
        return false;
    // A day that has passed unnoticed (program not running, machine asleep, alarm set after
    // the day's last check) rings at the first check after it.
    if (date != today)
        return date < today;
    const QTime time = now.time();
    return QTime(time.hour(), time.minute()) >= QTime(hour, minute);
}

QList<int> dueRows(const TaskList& liste, const QDateTime& now) {
    QList<int> rows;
    for (int r = 1; r < liste.rows(); ++r) {
        if (!liste.isPlaceholder(r) && isDue(liste.cell(r, ColAlarm), liste.cell(r, ColFired), now))
            rows.append(r);
    }
    return rows;
}

QString dueSummary(const TaskList& liste, int row) {
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    const QString text = liste.cell(row, ColText);
    const qsizetype end = text.indexOf(lineBreak);
    const QString line = (end < 0 ? text : text.left(end)).trimmed();
    return line.isEmpty() ? liste.cell(row, ColAlarm).trimmed() : line;
}

} // namespace jot
