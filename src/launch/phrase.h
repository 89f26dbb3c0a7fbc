// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace jot {

// A moment in the words people use, in English, French or German whatever the locale (the
// command line is read before translations load): a time ("9am", "9:30 pm", "21:30", "9h30",
// "9 Uhr"), a day before it ("today", "tomorrow", "tonight", "demain", "ce soir", "heute
// Abend", a weekday name, a date in the locale's short order), or a span from now ("in 20
// minutes", "dans 2 heures", "in 3 Tagen"). Case and accents do not matter. A time with no
// day is today, or tomorrow once it is past; a weekday is the next such day, today while its
// time is ahead, at 9:00 when no time follows; "tonight" alone is 20:00. The moment is not
// checked against `now` otherwise ("today 9:00" at noon comes back past): nothing when the
// words are not understood.
std::optional<QDateTime> parsePhrase(const QString& phrase, const QDateTime& now,
                                     const QLocale& locale = QLocale());

} // namespace jot
