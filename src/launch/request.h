// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// What a start asks of the program that holds its data directory, and the few bytes that carry
// it over the local socket. A plain start asks "show\n" and takes "ok\n", as every version
// does; the others ask in one line that names its version, "jotlark/2 VERB key=value...", and
// count as done only on the answer "jotlark/2 done VERB": an older program answers "ok" to
// anything, without doing it.
namespace jot {

struct Request {
    enum class Action { Show, New, ShowAll, HideAll };
    Action action = Action::Show;
    QString text; // New: the task's text, perhaps empty
    // New: local time on a whole minute; nothing for no alarm. Invalid when a later start asked
    // for a local time that does not exist (a daylight-saving gap), which refusal() refuses.
    std::optional<QDateTime> alarm;
};

// A request line, newline included, is never longer than this; a longer one is refused whole.
constexpr int kMaxRequestBytes = 64 * 1024;

// The line that carries a request; empty when it would be too long.
QByteArray encodeRequest(const Request& request);
// The request a line (without its newline) carries; nothing when it is not understood.
std::optional<Request> decodeRequest(const QByteArray& line);
// Why the running program refuses a request it understood, at `now`: its alarm lies more than a
// minute in the past, more than kMaxAlarmDays ahead, or at a local time that does not exist, as
// the command line refuses a --at. Empty when it does not.
QString refusal(const Request& request, const QDateTime& now);

// How the running program answers a request: done (a new task only once saved), refused for
// want of room (100 tasks), not understood, refused for a reason, or added but not saved.
struct Answer {
    enum Kind { Done, Full, NotUnderstood, Refused, Unsaved };
    Answer(Kind kind = Done, const QString& why = {}) : kind(kind), why(why) {}
    Kind kind;
    QString why; // Refused: the reason; Unsaved: the failed save's cause
};
QByteArray encodeAnswer(const Request& request, const Answer& answer);
// Whether `answer` confirms `request`; otherwise `why` (when given) says what happened, for
// standard error.
bool confirms(const Request& request, const QByteArray& answer, QString* why = nullptr);

// The alarm time a --at WHEN names, measured from `now`, to its minute: "HH:MM" (today, or
// tomorrow when past), "YYYY-MM-DD HH:MM", "tomorrow HH:MM", "+N" and "m", "h" or "d" (from
// the next whole minute). Nothing when it is not understood, is past or lies more than
// kMaxAlarmDays ahead; `why` then says so.
std::optional<QDateTime> parseWhen(const QString& when, const QDateTime& now, QString* why);
constexpr int kMaxAlarmDays = 366;

} // namespace jot
