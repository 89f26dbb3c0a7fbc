// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"

#include "alarms/due.h"

#include <QCoreApplication>
#include <QList>

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

// A date or time format cut into its fields (a run of one letter) and the text between them.
struct FormatPart {
    QString text;
    QChar field; // the letter, or null for literal text (quoted text included)
};

QList<FormatPart> formatParts(const QString& format) {
    QList<FormatPart> parts;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype j = i + 1;
        if (c == u'\'') {
            j = format.indexOf(u'\'', i + 1);
            j = j < 0 ? format.size() : j + 1;
        } else if (c.isLetter()) {
            while (j < format.size() && format.at(j) == c)
                ++j;
            // "AP" and "ap" are one field.
            if (c.toLower() == u'a' && j < format.size() && format.at(j).toLower() == u'p')
                ++j;
        } else {
            while (j < format.size() && !format.at(j).isLetter() && format.at(j) != u'\'')
                ++j;
        }
        parts.append({format.mid(i, j - i), c.isLetter() ? c : QChar()});
        i = j;
    }
    return parts;
}

QString joined(const QList<FormatPart>& parts) {
    QString s;
    for (const FormatPart& p : parts)
        s += p.text;
    return s;
}

qsizetype fieldIndex(const QList<FormatPart>& parts, QChar field) {
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts[i].field == field)
            return i;
    }
    return -1;
}

// The short date, two digits to the day and month and four to the year; without the year, the
// separator that joined it goes too, but for the dot after the month of a locale that writes
// its days as ordinals ("d." in its long date, German "07.12.").
QString numericDateFormat(const QLocale& locale, bool withYear) {
    QList<FormatPart> parts = formatParts(locale.dateFormat(QLocale::ShortFormat));
    for (FormatPart& p : parts) {
        if (p.field == u'd' && p.text.size() <= 2)
            p.text = QStringLiteral("dd");
        else if (p.field == u'M' && p.text.size() <= 2)
            p.text = QStringLiteral("MM");
        else if (p.field == u'y')
            p.text = QStringLiteral("yyyy");
    }
    const qsizetype y = fieldIndex(parts, u'y');
    if (withYear || y < 0)
        return joined(parts);
    const bool ordinalDays = locale.dateFormat(QLocale::LongFormat).contains(QLatin1String("d."));
    const auto literal = [&](qsizetype i) {
        return i >= 0 && i < parts.size() && parts[i].field.isNull();
    };
    if (y == parts.size() - 1 && literal(y - 1)) {
        parts.removeAt(y);
        if (!(ordinalDays && parts[y - 1].text == u"."))
            parts.removeAt(y - 1);
    } else {
        if (literal(y + 1))
            parts.removeAt(y + 1);
        parts.removeAt(y);
    }
    return joined(parts);
}

// A comma after the weekday where the long date has one and the day comes before the month
// ("Montag, 07.12."); month-first locales keep the space ("Monday 12/07").
QString weekdaySeparator(const QLocale& locale) {
    const QList<FormatPart> parts = formatParts(locale.dateFormat(QLocale::ShortFormat));
    const bool dayFirst = fieldIndex(parts, u'd') < fieldIndex(parts, u'M');
    return dayFirst && locale.dateFormat(QLocale::LongFormat).startsWith(QLatin1String("dddd,"))
               ? QStringLiteral(", ")
               : QStringLiteral(" ");
}

QString timeFormat(const QLocale& locale) {
    QList<FormatPart> parts = formatParts(locale.timeFormat(QLocale::ShortFormat));
    for (FormatPart& p : parts) {
        if (p.field == u'A')
            p.text = p.text.toLower();
    }
    return joined(parts);
}

// The C locale (LANG=C) has a date format of its own ("15 Mar 2026") and seconds in its time;
// it reads alarms as they have always read, in US English.
QLocale formatsOf(const QLocale& locale) {
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}

// "mm/dd <at> hh:nn am/pm", built by hand so that no locale changes digits or markers.
QString moment12(const QDateTime& t, const QString& at) {
    const int h = t.time().hour();
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QString::asprintf("%02d/%02d ", t.date().month(), t.date().day()) + at +
           QString::asprintf(" %02d:%02d ", h12, t.time().minute()) +
           (h < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}
} // namespace

bool twelveHourClock(const QLocale& userLocale) {
    const QLocale locale = formatsOf(userLocale);
    for (const FormatPart& p : formatParts(locale.timeFormat(QLocale::ShortFormat))) {
        if (p.field == u'a' || p.field == u'A')
            return true;
    }
    return false;
}

QString shownDay(const QDate& date, const QDate& today, const QLocale& userLocale) {
    const QLocale locale = formatsOf(userLocale);
    return locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + weekdaySeparator(locale) +
           locale.toString(date, numericDateFormat(locale, date.year() != today.year()));
}

QString shownTime(const QTime& time, const QLocale& userLocale) {
    const QLocale locale = formatsOf(userLocale);
    return locale.toString(time, timeFormat(locale));
}

QString shownDate(const QDate& date, const QLocale& userLocale) {
    const QLocale locale = formatsOf(userLocale);
    return locale.toString(date, numericDateFormat(locale, true));
}

QString shownAlarm(const QString& alarmText, const QDate& today, const QLocale& locale) {
    const AlarmMoment at = alarmMoment(alarmText, today);
    return at.isValid() ? shownDay(at.date, today, locale) + u' ' + shownTime(at.time, locale)
                        : alarmText;
}

QString newNoteCaption(const QDateTime& moment) {
    // Only shown, never stored: in the user's language.
    return QStringLiteral("%1 ").arg(QCoreApplication::translate("jot::newNoteCaption", "The")) +
           moment12(moment, QCoreApplication::translate("jot::newNoteCaption", "at"));
}

QString creationStamp(const QDateTime& moment) {
    return QStringLiteral("Le ") + moment12(moment, QStringLiteral("à"));
}

} // namespace jot
