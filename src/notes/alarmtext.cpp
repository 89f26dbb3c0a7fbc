#include "notes/alarmtext.h"

namespace jot {

AlarmParts decouper_alarme(const QString& text) {
    // The split walks the separators in order: the space inside the day ("Monday 03/15"),
    // the space before the hour, the ':' and the space before the marker.
    const qsizetype s1 = text.indexOf(QLatin1Char(' '));
    const qsizetype s2 = s1 < 0 ? -1 : text.indexOf(QLatin1Char(' '), s1 + 1);
    const qsizetype c = s2 < 0 ? -1 : text.indexOf(QLatin1Char(':'), s2 + 1);
    const qsizetype s3 = c < 0 ? -1 : text.indexOf(QLatin1Char(' '), c + 1);
    if (s3 < 0)
        return {};

    AlarmParts p;
    p.day = text.left(s2).trimmed();
    p.hour = text.mid(s2 + 1, c - s2 - 1).trimmed();
    p.minutes = text.mid(c + 1, s3 - c - 1).trimmed();
    p.marker = text.mid(s3 + 1).trimmed();
    if (p.day.isEmpty() || p.hour.isEmpty() || p.minutes.isEmpty() || p.marker.isEmpty())
        return {};
    p.ok = true;
    return p;
}

QString composeAlarm(const QString& day, const QString& hour, const QString& minutes,
                     const QString& marker) {
    return day + QLatin1Char(' ') + hour + QLatin1Char(':') + minutes + QLatin1Char(' ') + marker;
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
    return QStringLiteral("The ") + moment12(moment, QStringLiteral("at"));
}

QString creationStamp(const QDateTime& moment) {
    return QStringLiteral("Le ") + moment12(moment, QStringLiteral("à"));
}

} // namespace jot
