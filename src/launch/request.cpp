// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/request.h"

#include "launch/phrase.h"

#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>

namespace jot {

namespace {
const QByteArray kShow = QByteArrayLiteral("show");
const QByteArray kShown = QByteArrayLiteral("ok\n");
const QByteArray kVersion = QByteArrayLiteral("jotlark/2");
const QByteArray kRefusedFull = kVersion + " refused full\n";
const QByteArray kRefusedUnknown = kVersion + " refused unknown\n";
// Followed by the verb and a percent-encoded text: the reason, or the save's cause.
const QByteArray kRefused = kVersion + " refused ";
const QByteArray kUnsaved = kVersion + " unsaved ";
// A request takes a moment to arrive: an alarm on the minute just begun is still good.
constexpr int kLateSecs = 60;
// Local time, no zone: both ends are the same user's programs on the same machine. Never a
// weekday name, which is in the sender's language.
const QString kAlarmFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm");
constexpr int kAlarmFormatLength = 16;

QByteArray verb(Request::Action action) {
    switch (action) {
    case Request::Action::New:
        return QByteArrayLiteral("new");
    case Request::Action::ShowAll:
        return QByteArrayLiteral("show-all");
    case Request::Action::HideAll:
        return QByteArrayLiteral("hide-all");
    case Request::Action::Show:
        break;
    }
    return kShow;
}

std::optional<QString> strictUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The text after `prefix` and the verb of `request` in `answer`, or nothing.
std::optional<QString> detail(const QByteArray& answer, const QByteArray& prefix,
                              const Request& request) {
    const QByteArray head = prefix + verb(request.action) + ' ';
    if (!answer.startsWith(head) || !answer.endsWith('\n'))
        return std::nullopt;
    return strictUtf8(QByteArray::fromPercentEncoding(answer.sliced(head.size()).chopped(1)));
}
} // namespace

QByteArray encodeRequest(const Request& request) {
    if (request.action == Request::Action::Show)
        return kShow + '\n';
    QByteArray line = kVersion + ' ' + verb(request.action);
    if (request.action == Request::Action::New) {
        if (request.alarm)
            line += " at=" + request.alarm->toString(kAlarmFormat).toLatin1();
        // Percent-encoded, the text holds no space or line break to end the field early.
        if (!request.text.isEmpty())
            line += " text=" + request.text.toUtf8().toPercentEncoding();
    }
    line += '\n';
    return line.size() <= kMaxRequestBytes ? line : QByteArray();
}

std::optional<Request> decodeRequest(const QByteArray& line) {
    if (line == kShow)
        return Request{};
    if (line.size() >= kMaxRequestBytes)
        return std::nullopt;
    const QList<QByteArray> words = line.split(' ');
    if (words.size() < 2 || words[0] != kVersion)
        return std::nullopt;
    Request request;
    const QByteArray& asked = words[1];
    if (asked == verb(Request::Action::New))
        request.action = Request::Action::New;
    else if (asked == verb(Request::Action::ShowAll))
        request.action = Request::Action::ShowAll;
    else if (asked == verb(Request::Action::HideAll))
        request.action = Request::Action::HideAll;
    else
        return std::nullopt;
    bool hasAlarm = false, hasText = false;
    for (qsizetype k = 2; k < words.size(); ++k) {
        if (request.action != Request::Action::New)
            return std::nullopt;
        const QByteArray& word = words[k];
        if (word.startsWith("at=") && !hasAlarm) {
            hasAlarm = true;
            const QString at = QString::fromLatin1(word.mid(3));
            const QDate date = QDate::fromString(at.left(10), QStringLiteral("yyyy-MM-dd"));
            const QTime time = QTime::fromString(at.mid(10), QStringLiteral("'T'HH:mm"));
            if (at.size() != kAlarmFormatLength || !date.isValid() || !time.isValid())
                return std::nullopt;
            // Understood, even where local time skips it: refusal() says so.
            const QDateTime local(date, time);
            request.alarm = local.date() == date && local.time() == time ? local : QDateTime();
        } else if (word.startsWith("text=") && !hasText) {
            hasText = true;
            const std::optional<QString> text =
                strictUtf8(QByteArray::fromPercentEncoding(word.mid(5)));
            if (!text)
                return std::nullopt;
            request.text = *text;
        } else {
            return std::nullopt;
        }
    }
    return request;
}

QString refusal(const Request& request, const QDateTime& now) {
    if (!request.alarm)
        return {};
    const QDateTime& at = *request.alarm;
    if (!at.isValid())
        return QStringLiteral("the alarm's time does not exist in local time.");
    const QString when = at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (at < now.addSecs(-kLateSecs))
        return QStringLiteral("the alarm %1 is in the past.").arg(when);
    if (at.date() > now.date().addDays(kMaxAlarmDays))
        return QStringLiteral("the alarm %1 is more than %2 days ahead.")
            .arg(when)
            .arg(kMaxAlarmDays);
    return {};
}

QByteArray encodeAnswer(const Request& request, const Answer& answer) {
    switch (answer.kind) {
    case Answer::Done:
        return request.action == Request::Action::Show
                   ? kShown
                   : kVersion + " done " + verb(request.action) + '\n';
    case Answer::Full:
        return kRefusedFull;
    case Answer::Refused:
    case Answer::Unsaved:
        return (answer.kind == Answer::Refused ? kRefused : kUnsaved) + verb(request.action) + ' ' +
               answer.why.toUtf8().toPercentEncoding() + '\n';
    case Answer::NotUnderstood:
        break;
    }
    return kRefusedUnknown;
}

bool confirms(const Request& request, const QByteArray& answer, QString* why) {
    if (answer == encodeAnswer(request, Answer::Done))
        return true;
    if (why) {
        if (const std::optional<QString> reason = detail(answer, kRefused, request))
            *why = QStringLiteral("The running Jotlark refused the request: ") + *reason;
        else if (const std::optional<QString> cause = detail(answer, kUnsaved, request))
            *why = QStringLiteral("added, but not saved: ") + *cause;
        else if (answer == kRefusedFull)
            *why = QStringLiteral("Jotlark already holds 100 tasks; the task was not added.");
        else if (answer == kRefusedUnknown)
            *why = QStringLiteral("The running Jotlark did not understand the request.");
        else if (answer.isEmpty())
            *why = QStringLiteral("The running Jotlark did not answer.");
        else
            *why = QStringLiteral("The running Jotlark did not confirm the request; it may be an "
                                  "older version: end it, then try again.");
    }
    return false;
}

std::optional<QDateTime> parseWhen(const QString& when, const QDateTime& now, QString* why) {
    static const QRegularExpression clock(QStringLiteral("^(tomorrow )?(\\d{1,2}):(\\d{2})$"));
    static const QRegularExpression dated(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{1,2}):(\\d{2})$"));
    static const QRegularExpression ahead(QStringLiteral("^\\+(\\d{1,7})([mhd])$"));
    const auto refuse = [&](const QString& reason) {
        *why = QStringLiteral("'%1' %2").arg(when, reason);
        return std::nullopt;
    };
    // Whole minutes, so that a time named for this very minute is not yet past.
    const QDateTime base(now.date(), QTime(now.time().hour(), now.time().minute()));
    // "+N" counts from the next whole minute once this one has begun: never less than asked.
    const QDateTime nextWhole = base == now ? base : base.addSecs(60);
    QDateTime at;
    QRegularExpressionMatch m;
    if ((m = clock.match(when)).hasMatch() || (m = dated.match(when)).hasMatch()) {
        const bool withDate = m.lastCapturedIndex() == 5;
        const int h = m.captured(withDate ? 4 : 2).toInt();
        const int min = m.captured(withDate ? 5 : 3).toInt();
        const QTime time(h, min);
        if (!time.isValid())
            return refuse(QStringLiteral("is not a time of day (00:00 to 23:59)."));
        QDate date = now.date();
        if (withDate) {
            date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
            if (!date.isValid())
                return refuse(QStringLiteral("is not a date."));
        } else if (!m.captured(1).isEmpty() || time < base.time()) {
            date = date.addDays(1);
        }
        at = QDateTime(date, time);
    } else if ((m = ahead.match(when)).hasMatch()) {
        const qint64 n = m.captured(1).toLongLong();
        const QChar unit = m.captured(2).at(0);
        if (unit == 'd')
            at = n > kMaxAlarmDays ? QDateTime() : nextWhole.addDays(n);
        else
            at = nextWhole.addSecs(n * (unit == 'h' ? 3600 : 60));
        if (!at.isValid() || at.date() > now.date().addDays(kMaxAlarmDays))
            return refuse(QStringLiteral("is more than %1 days ahead.").arg(kMaxAlarmDays));
    } else if (const std::optional<QDateTime> said = parsePhrase(when, now)) {
        at = *said;
    } else {
        return refuse(QStringLiteral(
            "is not understood; give a time (9am, 9:30 pm, 21:30, 9h30, 9 Uhr), a day and a "
            "time (tomorrow 9am, friday 10:00, demain 9h, morgen 9 Uhr, 07/12 9:00 in the "
            "locale's date order), tonight, a weekday, in 20 minutes (hours, days; dans 2 "
            "heures, in 3 Tagen), YYYY-MM-DD HH:MM, or +N followed by m, h or d."));
    }
    if (!at.isValid())
        return refuse(QStringLiteral("does not exist in local time."));
    if (at < base)
        return refuse(QStringLiteral("is in the past."));
    if (at.date() > now.date().addDays(kMaxAlarmDays))
        return refuse(QStringLiteral("is more than %1 days ahead.").arg(kMaxAlarmDays));
    return at;
}

} // namespace jot
