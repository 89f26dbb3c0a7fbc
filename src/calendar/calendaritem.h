// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/vtodo.h"
#include "store/tasklist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

// One item of a CalDAV task list, kept as the server wrote it: a change made here is written
// into the server's own copy with libical, so that whatever Jotlark does not understand (X-
// properties, categories, priority, other alarms, a start) survives. A new item is built only
// for a task the server has never held.
namespace jot {

struct CalendarItem {
    bool todo = false; // it holds a VTODO; anything else is not Jotlark's to read or change
    QString uid;
    std::optional<CalendarTask> task; // none when completed or cancelled
    QDateTime modified;               // LAST-MODIFIED, else DTSTAMP; invalid when neither
    QDateTime created;                // CREATED; invalid without one
    QDateTime due;                    // its alarm's moment: items come in the earliest first
};

CalendarItem readItem(QByteArrayView ics, const QDateTime& now);

// The fields of a task a change writes.
enum ItemField { ItemText = 1, ItemAlarm = 2 };

// The server's copy `ics` with the `fields` of `row` written in place: SUMMARY and
// DESCRIPTION; DUE, its alarm and Thunderbird's marks, or their removal; RRULE only where the
// repeat rule of `row` is not the one of `before`. LAST-MODIFIED and DTSTAMP become `now`.
// Empty when the copy cannot be read.
QByteArray changeItem(QByteArrayView ics, const TaskRow& before, const TaskRow& row, int fields,
                      const QDateTime& now, const QString& zone);

// The server's copy completed: STATUS:COMPLETED, COMPLETED and PERCENT-COMPLETE:100.
QByteArray completeItem(QByteArrayView ics, const QDateTime& now);

// A new item for a task the server has not seen, under `uid`.
QByteArray newItem(const TaskRow& row, const QString& uid, const QDateTime& now);

// The next occurrence after `after` of the item's repeat rule; nothing without one.
std::optional<QDateTime> nextItemOccurrence(QByteArrayView ics, const QDateTime& after);

} // namespace jot
