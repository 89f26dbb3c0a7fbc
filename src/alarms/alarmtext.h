// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace jot {

// An alarm text: "<weekday> mm/dd h:mm am|pm", e.g. "Monday 03/15 2:30 pm"; "" is no alarm.
// The weekday name may be several words ("Dydd Llun" in Welsh).
struct AlarmParts {
    QString day;     // "Monday 03/15"
    QString hour;    // "0" to "12"
    QString minutes; // "00" to "59"
    QString marker;  // "am" or "pm"
    bool ok = false; // false when the text does not have the shape above
};
AlarmParts decouper_alarme(const QString& alarmText);

QString composeAlarm(const QString& day, const QString& hour, const QString& minutes,
                     const QString& marker);
// The alarm text of a minute, as the alarm editor composes it: hours 0 to 12 with "am"
// (so noon reads "12 am"), later ones less 12 with "pm".
QString alarmTextAt(const QDate& date, const QTime& time, const QLocale& locale = QLocale());

// "dddd mm/dd": the locale's full weekday name, a space, month/day.
QString dayText(const QDate& date, const QLocale& locale = QLocale());
// The day list of the alarm editor: today and the 15 days after it.
QStringList dayList(const QDate& today, const QLocale& locale = QLocale());
constexpr int kDayListLength = 16;

// What the user sees, never what is stored: a date and a time as the user's locale writes
// them. The day and month are the locale's short date without its year, two digits each
// ("12/07", "07/12", "07.12."), after the full weekday name ("Montag, 07.12." where the
// locale writes a comma there and the day first); the time is its short time with am/pm in
// lower case ("4:15 pm", "16:15").
bool twelveHourClock(const QLocale& locale = QLocale()); // its time has am/pm
// With the year where it is not `today`'s.
QString shownDay(const QDate& date, const QDate& today, const QLocale& locale = QLocale());
QString shownTime(const QTime& time, const QLocale& locale = QLocale());
// The locale's short date with a four-digit year ("12/07/2026", "07.12.2026").
QString shownDate(const QDate& date, const QLocale& locale = QLocale());
// An alarm text so written; one that cannot be read is shown as it is stored.
QString shownAlarm(const QString& alarmText, const QDate& today, const QLocale& locale = QLocale());

// A new note's caption, "The mm/dd at hh:nn am/pm" (12-hour clock, hours 01 to 12).
QString newNoteCaption(const QDateTime& moment);
// The creation stamp of column 0, "Le mm/dd à hh:nn am/pm".
QString creationStamp(const QDateTime& moment);

} // namespace jot
