// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/recurrence.h"

#include "alarms/alarmtext.h"
#include "store/clock.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace jot {

namespace {

const char* const kWords[] = {"", "daily", "weekdays", "weekly", "monthly", "yearly"};

// The date in `year` and `month` on `day`, or the month's last day when it is shorter.
QDate clampedDate(int year, int month, int day) {
    const QDate first(year, month, 1);
    return QDate(year, month, qMin(day, first.daysInMonth()));
}

} // namespace

RepeatRule parseRepeat(const QString& field) {
    const QStringList parts = field.split(u'@');
    RepeatRule rule;
    for (int r = 1; r < 6; ++r) {
        if (parts.first() == QLatin1String(kWords[r]))
            rule.repeat = static_cast<Repeat>(r);
    }
    if (!rule.repeats())
        return {};
    static const QRegularExpression own(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})T(\\d{2}:\\d{2})$"));
    for (const QString& part : parts.mid(1)) {
        const QRegularExpressionMatch m = own.match(part);
        if (rule.repeat == Repeat::Monthly && (part == u"29" || part == u"30" || part == u"31")) {
            rule.monthDay = part.toInt();
        } else if (rule.repeat == Repeat::Yearly && part == u"02-29") {
            rule.leapDay = true;
        } else if (m.hasMatch()) {
            rule.ownDate = QDate::fromString(m.captured(1), Qt::ISODate);
            rule.ownTime = QTime::fromString(m.captured(2), QStringLiteral("HH:mm"));
        }
    }
    return rule;
}

QString repeatField(const RepeatRule& rule) {
    if (!rule.repeats())
        return {};
    QString field = QLatin1String(kWords[static_cast<int>(rule.repeat)]);
    if (rule.repeat == Repeat::Monthly && rule.monthDay >= 29)
        field += u'@' + QString::number(rule.monthDay);
    if (rule.repeat == Repeat::Yearly && rule.leapDay)
        field += QStringLiteral("@02-29");
    if (rule.ownDate.isValid() && rule.ownTime.isValid())
        field += u'@' + rule.ownDate.toString(Qt::ISODate) + u'T' +
                 rule.ownTime.toString(QStringLiteral("HH:mm"));
    return field;
}

RepeatRule ruleFor(Repeat repeat, const QDate& date) {
    RepeatRule rule;
    rule.repeat = repeat;
    if (repeat == Repeat::Monthly && date.day() >= 29)
        rule.monthDay = date.day();
    if (repeat == Repeat::Yearly && date.month() == 2 && date.day() == 29)
        rule.leapDay = true;
    return rule;
}

int furtherAlarmState(const TaskRow& a, const TaskRow& b, const QDate& today) {
    const RepeatRule ra = parseRepeat(a[ColFired]), rb = parseRepeat(b[ColFired]);
    if (!ra.repeats() && !rb.repeats()) {
        if (a[ColAlarm] != b[ColAlarm] || a[ColFired] == b[ColFired])
            return 0;
        if (a[ColFired] == u"1" && b[ColFired].isEmpty())
            return 1;
        return b[ColFired] == u"1" && a[ColFired].isEmpty() ? -1 : 0;
    }
    if (ra.repeat != rb.repeat || ra.monthDay != rb.monthDay || ra.leapDay != rb.leapDay)
        return 0;
    const AlarmMoment ta = alarmMoment(a[ColAlarm], today), tb = alarmMoment(b[ColAlarm], today);
    if (!ta.isValid() || !tb.isValid())
        return 0;
    const auto own = [](const RepeatRule& rule, const AlarmMoment& text) {
        return rule.ownDate.isValid() ? QDateTime(rule.ownDate, rule.ownTime)
                                      : QDateTime(text.date, text.time);
    };
    const QDateTime oa = own(ra, ta), ob = own(rb, tb);
    const QDateTime shownA(ta.date, ta.time), shownB(tb.date, tb.time);
    if (oa != ob)
        return oa > ob ? 1 : -1;
    return shownA == shownB ? 0 : shownA > shownB ? 1 : -1;
}

QString repeatSuffix(Repeat repeat) {
    switch (repeat) {
    case Repeat::Never:
        return {};
    case Repeat::Daily:
        return QCoreApplication::translate("jot::Repeat", "every day");
    case Repeat::Weekdays:
        return QCoreApplication::translate("jot::Repeat", "every weekday");
    case Repeat::Weekly:
        return QCoreApplication::translate("jot::Repeat", "every week");
    case Repeat::Monthly:
        return QCoreApplication::translate("jot::Repeat", "every month");
    case Repeat::Yearly:
        return QCoreApplication::translate("jot::Repeat", "every year");
    }
    return {};
}

QDateTime ringingMoment(const QDate& date, const QTime& time) {
    // Local time skips at most a few hours; the minutes after the gap are tried in turn.
    for (QTime t = time; t.isValid() && t >= time; t = t.addSecs(60)) {
        const QDateTime at(date, t);
        if (at.isValid() && at.date() == date && at.time() == t)
            return at;
    }
    return QDateTime(date.addDays(1), QTime(0, 0));
}

QDate nextOccurrence(const RepeatRule& rule, const QDate& date, const QTime& time,
                     const QDateTime& after) {
    const auto later = [&](const QDate& d) { return ringingMoment(d, time) > after; };
    // The search starts near `after`: an alarm missed for months moves on in a few steps.
    const QDate from = qMax(date.addDays(1), after.date().addDays(-1));
    switch (rule.repeat) {
    case Repeat::Never:
        return {};
    case Repeat::Daily:
    case Repeat::Weekdays:
        for (QDate d = from;; d = d.addDays(1)) {
            if ((rule.repeat == Repeat::Daily || d.dayOfWeek() <= 5) && later(d))
                return d;
        }
    case Repeat::Weekly: {
        for (QDate d = date.addDays((date.daysTo(from) / 7) * 7);; d = d.addDays(7)) {
            if (d > date && later(d))
                return d;
        }
    }
    case Repeat::Monthly: {
        const int day = rule.monthDay ? rule.monthDay : date.day();
        for (int months = (from.year() - date.year()) * 12 + from.month() - date.month() - 1;;
             ++months) {
            const QDate month = QDate(date.year(), date.month(), 1).addMonths(months);
            const QDate d = clampedDate(month.year(), month.month(), day);
            if (d > date && later(d))
                return d;
        }
    }
    case Repeat::Yearly: {
        const int day = rule.leapDay ? 29 : date.day();
        for (int year = from.year() - 1;; ++year) {
            const QDate d = clampedDate(year, date.month(), day);
            if (d > date && later(d))
                return d;
        }
    }
    }
    return {};
}

AlarmMoment moveOn(TaskList& list, int row, const QDateTime& now) {
    RepeatRule rule = parseRepeat(list.cell(row, ColFired));
    if (!rule.repeats())
        return {};
    const AlarmMoment rang = rule.ownDate.isValid()
                                 ? AlarmMoment{rule.ownDate, rule.ownTime}
                                 : alarmMoment(list.cell(row, ColAlarm), now.date());
    if (!rang.isValid())
        return {};
    const QDate next = nextOccurrence(rule, rang.date, rang.time, now);
    const QDateTime rings = ringingMoment(next, rang.time);
    // Where local time skips the rule's time, the text says when it rings; the rule keeps its own.
    const bool own = rings.date() == next && rings.time() == rang.time;
    rule.ownDate = own ? QDate() : next;
    rule.ownTime = own ? QTime() : rang.time;
    list.setCell(row, ColAlarm, alarmTextAt(rings.date(), rings.time()));
    list.setCell(row, ColFired, repeatField(rule));
    return rang;
}

QString snoozedField(const QString& field, const AlarmMoment& rang) {
    RepeatRule rule = parseRepeat(field);
    if (!rule.repeats() || !rang.isValid())
        return repeatField(rule);
    rule.ownDate = rang.date;
    rule.ownTime = rang.time;
    return repeatField(rule);
}

QString alarmDisplay(const QString& alarmText, const QString& field, const QDate& today) {
    const QString shown = shownAlarm(alarmText, today.isValid() ? today : now().date());
    const QString suffix = repeatSuffix(parseRepeat(field).repeat);
    return suffix.isEmpty() || alarmText.trimmed().isEmpty()
               ? shown
               : shown + QStringLiteral(", ") + suffix;
}

} // namespace jot
