// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"

#include <QCoreApplication>

namespace jot {

AlarmParts decouper_alarme(const QString& text) {
    // Split from the end: the marker and the time are single words, while the day may hold
    // spaces of its own ("Dydd Sul 03/15" in Welsh, "Chủ Nhật 03/15" in Vietnamese).
    const QString t = text.trimmed();
    const qsizetype s3 = t.lastIndexOf(QLatin1Char(' '));
    const qsizetype s2 = s3 <= 0 ? -1 : t.lastIndexOf(QLatin1Char(' '), s3 - 1);
    const qsizetype c = s2 < 0 ? -1 : t.indexOf(QLatin1Char(':'), s2 + 1);
    if (c < 0 || c > s3)
        return {};

    AlarmParts p;
    p.day = t.left(s2).trimmed();
    p.hour = t.mid(s2 + 1, c - s2 - 1);
    p.minutes = t.mid(c + 1, s3 - c - 1);
    p.marker = t.mid(s3 + 1);
    if (p.day.isEmpty() || p.hour.isEmpty() || p.minutes.isEmpty() || p.marker.isEmpty())
        return {};
    p.ok = true;
    return p;
}

QString composeAlarm(const QString& day, const QString& hour, const QString& minutes,
                     const QString& marker) {
    return day + QLatin1Char(' ') + hour + QLatin1Char(':') + minutes + QLatin1Char(' ') + marker;
}

QString alarmTextAt(const QDate& date, const QTime& time, const QLocale& locale) {
    const int hour = time.hour();
    const bool pm = hour > 12;
    return composeAlarm(dayText(date, locale), QString::number(pm ? hour - 12 : hour),
                        QString::asprintf("%02d", time.minute()),
                        pm ? QStringLiteral("pm") : QStringLiteral("am"));
}

QString dayText(const QDate& date, const QLocale& locale) {
    return locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QLatin1Char(' ') +
           QString::asprintf("%02d/%02d", date.month(), date.day());
}

QStringList dayList(const QDate& today, const QLocale& locale) {
    QStringList days;
    days.reserve(kDayListLength);
    for (int n = 0; n < kDayListLength; ++n)
        days.append(dayText(today.addDays(n), locale));
    return days;
}

namespace {
// "mm/dd <at> hh:nn am/pm", built by hand so that no locale changes digits or markers.
QString moment12(const QDateTime& t, const QString& at) {
    const int h = t.time().hour();
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QString::asprintf("%02d/%02d ", t.date().month(), t.date().day()) + at +
           QString::asprintf(" %02d:%02d ", h12, t.time().minute()) +
           (h < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}
} // namespace

QString newNoteCaption(const QDateTime& moment) {
    // Only shown, never stored: in the user's language.
    return QStringLiteral("%1 ").arg(QCoreApplication::translate("jot::newNoteCaption", "The")) +
           moment12(moment, QCoreApplication::translate("jot::newNoteCaption", "at"));
}

QString creationStamp(const QDateTime& moment) {
    return QStringLiteral("Le ") + moment12(moment, QStringLiteral("à"));
}

} // namespace jot
