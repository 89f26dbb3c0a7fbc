// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/due.h"

#include "alarms/alarmtext.h"
#include "store/clock.h"

#include <QLocale>
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

// The weekday a day text names in the user's language, 1 to 7, or 0 when it names none of
// them (a file written under another language).
int weekdayOf(const QString& name) {
    const QLocale locale;
    for (int d = 1; d <= 7; ++d) {
        if (locale.dayName(d, QLocale::LongFormat) == name)
            return d;
    }
    return 0;
}

// The date of a day text, "weekday mm/dd": the text names no year.
QDate dateOfDay(const QString& dayText, const QDate& today) {
    static const QRegularExpression monthDay(
        QStringLiteral("^(.*?)\\s*(?:^|\\s)(\\d{1,2})[^\\d\\s](\\d{1,2})$"));
    const QRegularExpressionMatch m = monthDay.match(dayText.trimmed());
    if (!m.hasMatch())
        return {};
    return alarmDate(m.captured(2).toInt(), m.captured(3).toInt(), today, weekdayOf(m.captured(1)));
}

} // namespace

bool isQuarterHour(const QTime& time) {
    return time.minute() % 15 == 0;
}

QDate alarmDate(int month, int day, const QDate& today, int weekday) {
    // The weekday tells the year: of those from one back to seven ahead, the nearest in which
    // the date falls on it (an alarm set for next December, read in March, is not taken for
    // last December's). Without it, the nearest date: leap days lie at most eight years apart,
    // so the nearest 02/29 is within four years. Years are tried in order and only a strictly
    // nearer date replaces the one found, so a tie goes to the date behind: a missed alarm
    // rings rather than waits a year.
    QDate nearest;
    const auto consider = [&](const QDate& date) {
        if (date.isValid() &&
            (!nearest.isValid() || qAbs(today.daysTo(date)) < qAbs(today.daysTo(nearest))))
            nearest = date;
    };
    if (weekday > 0) {
        for (int year = today.year() - 1; year <= today.year() + 7; ++year) {
            const QDate date(year, month, day);
            if (date.isValid() && date.dayOfWeek() == weekday)
                consider(date);
        }
        if (nearest.isValid())
            return nearest;
    }
    for (int year = today.year() - 4; year <= today.year() + 4; ++year)
        consider(QDate(year, month, day));
    return nearest;
}

AlarmMoment alarmMoment(const QString& alarmText, const QDate& today) {
    const AlarmParts parts = decouper_alarme(alarmText);
    if (!parts.ok)
        return {};
    const int hour = hourOfDay(parts.hour, parts.marker);
    const int minute = minuteOfHour(parts.minutes);
    const QDate date = dateOfDay(parts.day, today);
    if (hour < 0 || minute < 0 || !date.isValid())
        return {};
    return {date, QTime(hour, minute)};
}

bool isDue(const QString& alarmText, const QString& firedMark, const QDateTime& now) {
    if (firedMark == QLatin1String("1") || alarmText.trimmed().isEmpty())
        return false;
    const QDate today = now.date();
    const AlarmMoment alarm = alarmMoment(alarmText, today);
    if (!alarm.isValid())
        return false;
    // A day that has passed unnoticed (program not running, machine asleep, alarm set after
    // the day's last check) rings at the first check after it.
    if (alarm.date != today)
        return alarm.date < today;
    const QTime time = now.time();
    return QTime(time.hour(), time.minute()) >= alarm.time;
}

QList<int> dueRows(const TaskList& list, const QDateTime& now) {
    QList<int> rows;
    for (int r = 1; r < list.rows(); ++r) {
        if (!list.isPlaceholder(r) && isDue(list.cell(r, ColAlarm), list.cell(r, ColFired), now))
            rows.append(r);
    }
    return rows;
}

QString dueSummary(const TaskList& list, int row) {
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    const QString text = list.cell(row, ColText);
    const qsizetype end = text.indexOf(lineBreak);
    const QString line = (end < 0 ? text : text.left(end)).trimmed();
    return line.isEmpty() ? shownAlarm(list.cell(row, ColAlarm).trimmed(), now().date()) : line;
}

} // namespace jot
