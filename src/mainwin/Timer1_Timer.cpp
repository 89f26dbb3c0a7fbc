// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtag.h"
#include "alarms/alarmtext.h"
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "alarms/snooze.h"
#include "alarms/ticks.h"
#include "mainwin/f_iir.h"
#include "mainwin/notices.h"
#include "mainwin/synccontroller.h"
#include "notes/f_test.h"
#include "store/clock.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <utility>

// The note of a due row, opened at its cell and filled when it was closed; null when every
// slot is taken (more than 100 tasks loaded, 100 notes open).
f_test* f_iir::noteForDueRow(int row) {
    if (!m_shared.list.cell(row, jot::ColSlot).isEmpty())
        return noteOfRow(row);
    creer_fenetre(row);
    if (m_shared.list.cell(row, jot::ColSlot).isEmpty())
        return nullptr;
    positionner_fenetre(m_shared.lastOpenedSlot);
    f_test* note = noteInSlot(m_shared.lastOpenedSlot);
    if (note) {
        note->reinit();
        if (ringsRed(row))
            note->en_rouge();
    }
    return note;
}

bool f_iir::ringsRed(int row) const {
    for (const QString& state : m_red) {
        if (jot::ringsWith(m_shared.list, row, state))
            return true;
    }
    return false;
}

// Snoozed, set again or cleared in its note: even an alarm set to what it was ends the red.
void f_iir::forgetRed(int row) {
    m_red.removeIf(
        [this, row](const QString& state) { return jot::ringsWith(m_shared.list, row, state); });
}

// Each minute: pending edits saved and due alarms brought up in red (an alarm from a calendar
// may lie between quarter hours). The file is written at quarter hours, and when a quarter
// hour has begun since the previous tick, as always; between them only when an alarm rang.
void f_iir::Timer1_Timer() {
    // Another writer (a synced folder, an edit by hand) is looked for at every tick.
    m_shared.mergeOtherWriter();
    if (m_shared.unsavedChanges)
        m_shared.sauver_liste();
    const QDateTime now = jot::now();
    const QDateTime previous = std::exchange(m_lastTick, now);
    rearmTimer1(now);
    const bool rang = checkAlarms(now);
    if (rang || jot::isQuarterHour(now.time()) || jot::quarterHourPassed(previous, now))
        m_shared.sauver_liste();
    // Where the notes are and their tasks' keys, each minute they changed.
    m_keeper.save(m_shared.list, openNotes());
}

bool f_iir::checkAlarms(const QDateTime& now) {
    jot::TaskList& list = m_shared.list;
    QList<jot::Notices::Ring> rung;
    for (const int r : jot::dueRows(list, now)) {
        f_test* note = nullptr;
        {
            const QScopedValueRollback quietly(m_openQuietly, true);
            note = noteForDueRow(r);
        }
        // Left unfired when no note could show it, so that it rings once a slot is free.
        if (!note)
            continue;
        note->en_rouge();
        note->setRinging(true);
        const QString tag = jot::alarmTag(list, r);
        const QString alarm =
            jot::alarmDisplay(list.cell(r, jot::ColAlarm), list.cell(r, jot::ColFired));
        // Marked fired, or a repeating alarm moved on to its next occurrence, before it is
        // told: the notification of an earlier ring of the task goes as the row changes.
        const jot::TaskRow before = list.task(r);
        const jot::AlarmMoment rang = jot::moveOn(list, r, now);
        std::optional<QDateTime> next;
        if (!rang.isValid() && m_sync && m_sync->hasForeignRule(before))
            next = m_sync->nextForeignOccurrence(before, now);
        if (rang.isValid()) {
            note->alarmMoved();
        } else if (next) {
            // A rule only the server's copy holds: the next occurrence, again one-time.
            list.setCell(r, jot::ColAlarm, jot::alarmTextAt(next->date(), next->time()));
            note->alarmMoved();
        } else {
            list.setCell(r, jot::ColFired, QStringLiteral("1"));
        }
        rung.append({tag, jot::dueSummary(list, r), alarm});
        m_ringing.insert(tag, {jot::alarmTag(list, r), rang});
        m_red.append(jot::alarmTag(list, r));
    }
    // A red note may sit behind other windows: the desktop or the tray tells the user too.
    m_notices->alarms(rung);
    return !rung.isEmpty();
}

void f_iir::withdrawDealtWith() {
    m_red.removeIf(
        [this](const QString& state) { return !jot::stillRinging(m_shared.list, state); });
    for (auto it = m_ringing.begin(); it != m_ringing.end();) {
        if (jot::stillRinging(m_shared.list, it->state)) {
            ++it;
            continue;
        }
        m_notices->withdraw(it.key());
        it = m_ringing.erase(it);
    }
}

// The default action of a ringing alarm's notification: the task's note in front, red while
// its alarm rings (opened again if it was closed).
void f_iir::showRungNote(const QString& tag) {
    const Ringing ringing = m_ringing.take(tag);
    m_notices->withdraw(tag); // dealt with: no notice with this time stays on screen
    const int row =
        jot::rowOfAlarmTag(m_shared.list, ringing.state.isEmpty() ? tag : ringing.state);
    f_test* note = row < 0 ? nullptr : noteForDueRow(row);
    if (!note)
        return; // deleted or changed since, or no slot free
    if (m_shared.list.cell(row, jot::ColFired) == QLatin1String("1") ||
        ringing.occurrence.isValid())
        note->en_rouge();
    bringToFront(note);
    note->setRinging(false); // seen
}

// Snooze: the alarm moved as if picked in the alarm editor, unless the task was deleted or
// changed since the notification was sent; a repeating alarm keeps its rule, and the
// occurrences after the snoozed one their own day and time. The notification goes in any case.
void f_iir::snoozeRungTask(const QString& tag, jot::Snooze how) {
    const Ringing ringing = m_ringing.take(tag);
    m_notices->withdraw(tag);
    const int row =
        jot::rowOfAlarmTag(m_shared.list, ringing.state.isEmpty() ? tag : ringing.state);
    if (row < 0)
        return;
    const QString alarm = jot::snoozeAlarm(jot::now(), how);
    const QString repeat =
        jot::snoozedField(m_shared.list.cell(row, jot::ColFired), ringing.occurrence);
    if (f_test* note = noteOfRow(row)) {
        note->snooze(alarm, repeat);
        return;
    }
    m_shared.list.setCell(row, jot::ColAlarm, alarm);
    m_shared.list.setCell(row, jot::ColFired, repeat);
    if (m_shared.autoSave)
        m_shared.sauver_liste();
}

// A precise repeating timer keeps its phase on the monotonic clock, so Timer1 is restarted
// only when its next timeout would miss the first second of the next minute: at start,
// after a sleep or a clock change, or once the two clocks have drifted apart.
void f_iir::rearmTimer1(const QDateTime& now) {
    if (Timer1->isActive() && jot::tickOnTheMinute(Timer1->remainingTime(), now))
        return;
    Timer1->stop();
    m_minuteStart->start(jot::msToNextMinute(now));
}

// Timers sleep on the monotonic clock: after a sleep or a change of the wall clock the tick
// comes now, not up to a minute later, and a quarter hour passed over is checked.
void f_iir::m_clockWatch_Timer() {
    Timer1_Timer();
}
