// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/phrase.h"

#include <QRegularExpression>
#include <QStringList>

namespace jot {

namespace {

// Lower case, without accents or apostrophes, single spaces: "Aujourd'hui" is "aujourdhui".
QString folded(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.category() != QChar::Mark_NonSpacing && c != u'\'' && c != u'\u2019')
            out += c;
    }
    return out.simplified();
}

// Monday to Sunday in English, French and German: the weekday 1 to 7, or 0.
int weekdayNamed(const QString& word) {
    static const QStringList names[] = {
        {QStringLiteral("monday"), QStringLiteral("lundi"), QStringLiteral("montag")},
        {QStringLiteral("tuesday"), QStringLiteral("mardi"), QStringLiteral("dienstag")},
        {QStringLiteral("wednesday"), QStringLiteral("mercredi"), QStringLiteral("mittwoch")},
        {QStringLiteral("thursday"), QStringLiteral("jeudi"), QStringLiteral("donnerstag")},
        {QStringLiteral("friday"), QStringLiteral("vendredi"), QStringLiteral("freitag")},
        {QStringLiteral("saturday"), QStringLiteral("samedi"), QStringLiteral("samstag")},
        {QStringLiteral("sunday"), QStringLiteral("dimanche"), QStringLiteral("sonntag")}};
    for (int d = 0; d < 7; ++d) {
        if (names[d].contains(word))
            return d + 1;
    }
    return 0;
}

// "9am", "9:30 pm", "21:30", "9h", "9h30", "9 Uhr", "9:30 Uhr"; invalid when it is none.
QTime timeOfDay(const QString& text, bool evening) {
    static const QRegularExpression clock(
        QStringLiteral("^(\\d{1,2})(?:(?::|h)(\\d{2}))?(?: ?(am|pm|h|uhr))?$"));
    const QRegularExpressionMatch m = clock.match(text);
    if (!m.hasMatch())
        return {};
    const QString marker = m.captured(3);
    // A bare hour is no time: "9" could be a day.
    if (marker.isEmpty() && !text.contains(u':') && !text.contains(u'h'))
        return {};
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    if (marker == u"am" || marker == u"pm") {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (marker == u"pm" ? 12 : 0);
    } else if (evening && hour < 12) {
        hour += 12; // "ce soir 9h" is nine at night
    }
    return QTime(hour, minute);
}

// The day and month of a date in the locale's short order ("07/12" in France and "12/07" in
// the United States are 7 December, "7.12." in Germany), with an optional year: the next
// such date when it names no year.
QDate dateInLocale(const QString& text, const QDate& today, const QLocale& locale) {
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})[./-](\\d{1,2})(?:[./-](\\d{2}|\\d{4})?)?\\.?$"));
    const QRegularExpressionMatch m = numeric.match(text);
    if (!m.hasMatch())
        return {};
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const bool monthFirst = format.indexOf(u'M') < format.indexOf(u'd');
    const int month = m.captured(monthFirst ? 1 : 2).toInt();
    const int day = m.captured(monthFirst ? 2 : 1).toInt();
    if (!m.captured(3).isEmpty()) {
        int year = m.captured(3).toInt();
        if (year < 100)
            year += 2000;
        return QDate(year, month, day);
    }
    const QDate thisYear(today.year(), month, day);
    if (thisYear.isValid() && thisYear >= today)
        return thisYear;
    for (int y = 1; y <= 4; ++y) { // 29 February comes back within four years
        const QDate later(today.year() + y, month, day);
        if (later.isValid())
            return later;
    }
    return {};
}

std::optional<QDateTime> fromNow(const QString& text, const QDateTime& now) {
    static const QRegularExpression span(
        QStringLiteral("^(?:in|dans) (\\d{1,7}) (minutes?|minuten|hours?|heures?|stunden?|"
                       "days?|jours?|tage?n?)$"));
    const QRegularExpressionMatch m = span.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    // From the next whole minute: "in 20 minutes" at 10:00:30 is 10:21, never sooner.
    QDateTime start(now.date(), QTime(now.time().hour(), now.time().minute()));
    if (start < now)
        start = start.addSecs(60);
    const qint64 n = m.captured(1).toLongLong();
    const QChar unit = m.captured(2).at(0);
    if (unit == u'm')
        return start.addSecs(n * 60);
    if (unit == u'h' || unit == u's')
        return start.addSecs(n * 3600);
    return start.addDays(n);
}

} // namespace

std::optional<QDateTime> parsePhrase(const QString& phrase, const QDateTime& now,
                                     const QLocale& locale) {
    const QString text = folded(phrase);
    if (const std::optional<QDateTime> span = fromNow(text, now))
        return span;

    static const QRegularExpression split(QStringLiteral(
        "^(today|tomorrow|tonight|aujourdhui|demain|ce soir|heute abend|heute|morgen|"
        "[a-z]+day|lundi|mardi|mercredi|jeudi|vendredi|samedi|dimanche|montag|dienstag|"
        "mittwoch|donnerstag|freitag|samstag|sonntag|\\d{1,2}[./-]\\d{1,2}(?:[./-]\\d{0,4})?\\.?)"
        "?(?: ?,? ?(.*))?$"));
    const QRegularExpressionMatch m = split.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString dayWord = m.captured(1), timeWord = m.captured(2);
    const bool evening =
        dayWord == u"tonight" || dayWord == u"ce soir" || dayWord == u"heute abend";
    QTime time;
    if (!timeWord.isEmpty()) {
        time = timeOfDay(timeWord, evening);
        if (!time.isValid())
            return std::nullopt;
    } else if (dayWord.isEmpty()) {
        return std::nullopt;
    } else {
        time = evening ? QTime(20, 0) : QTime(9, 0);
    }

    const QDate today = now.date();
    const QTime nowMinute(now.time().hour(), now.time().minute());
    QDate date = today;
    if (dayWord.isEmpty()) {
        if (time < nowMinute)
            date = today.addDays(1);
    } else if (dayWord == u"tomorrow" || dayWord == u"demain" || dayWord == u"morgen") {
        date = today.addDays(1);
    } else if (const int weekday = weekdayNamed(dayWord)) {
        date = today.addDays((weekday - today.dayOfWeek() + 7) % 7);
        if (date == today && time < nowMinute)
            date = date.addDays(7);
    } else if (dayWord.front().isDigit()) {
        if (timeWord.isEmpty())
            return std::nullopt; // a date goes with a time
        date = dateInLocale(dayWord, today, locale);
        if (!date.isValid())
            return std::nullopt;
    } else if (!evening && dayWord != u"today" && dayWord != u"aujourdhui" && dayWord != u"heute") {
        return std::nullopt; // "someday"
    }
    return QDateTime(date, time);
}

} // namespace jot
