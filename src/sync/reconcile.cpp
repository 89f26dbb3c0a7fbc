// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/round.h"

namespace jot::sync {

There Engine::Round::thereOf(const SyncRecord& r) const {
    if (fetched.contains(r.href)) {
        const CalendarItem item = readItem(fetched[r.href].ics, now);
        return !item.todo ? There::Gone : item.task ? There::Changed : There::Closed;
    }
    if (gone.contains(r.href))
        return r.etag.isEmpty() ? There::Absent : There::Gone;
    if (full && !seen.contains(r.href))
        return r.etag.isEmpty() ? There::Absent : There::Gone;
    return r.etag.isEmpty() ? There::Absent : There::Unchanged;
}

// A foreign rule's alarm moved on here to its next occurrence by ringing: not a change the
// server needs, which still holds the rule.
bool Engine::Round::isForeignMove(const SyncRecord& r, const TaskRow& local) const {
    if (local[ColAlarm].trimmed().isEmpty())
        return false;
    const CalendarItem item = readItem(r.ics, now);
    if (!item.task || !item.task->ruleFlattened)
        return false;
    const AlarmMoment alarm = alarmMoment(local[ColAlarm], now.date());
    if (!alarm.isValid())
        return false;
    const QDateTime at(alarm.date, alarm.time);
    return nextItemOccurrence(r.ics, at.addSecs(-60)) == at;
}

void Engine::Round::create(int local, Write::Kind kind, const QString& uid,
                           const QByteArray& base) {
    Write w;
    w.kind = kind;
    w.local = local;
    w.row = kept(currentRow(local));
    w.uid = freeUid(uid);
    // The server's old copy keeps what Jotlark does not read, under its own UID only.
    w.body = base.isEmpty() || w.uid != uid
                 ? newItem(w.row, w.uid, now)
                 : changeItem(base, TaskRow(), w.row, ItemText | ItemAlarm, now, zone);
    writes.append(w);
}

// A linked task whose item changed there: field by field against the last synced copy.
void Engine::Round::mergeChanged(int local, SyncRecord r, const Fetched& f,
                                 const CalendarItem& item) {
    const TaskRow mine = kept(here[local].row);
    const CalendarItem old = readItem(r.ics, now);
    const TaskRow theirsBefore = old.task ? old.task->row : r.synced;
    const TaskRow theirs = item.task->row;
    const bool textHere = !sameText(mine, r.synced);
    const bool textThere = !sameText(theirsBefore, theirs);
    bool alarmHere = !sameAlarm(mine, r.synced) && !isForeignMove(r, mine);
    const bool alarmThere = !sameAlarm(theirsBefore, theirs);
    if (alarmHere && alarmThere && !sameAlarm(mine, theirs)) {
        // The later change wins; a change here of unknown time loses.
        alarmHere = here[local].edited.isValid() && item.modified.isValid() &&
                    here[local].edited > item.modified;
    }
    r.etag = f.etag;
    r.ics = f.ics;
    const bool split = textHere && textThere && !sameText(mine, theirs);
    if (split) {
        // Both kept: the item keeps its text and comes in as a task where there is room (with
        // the items not linked yet); the one here becomes an item of its own.
        r.synced = theirs;
        r.outside = true;
        data.put(r);
        create(local, Write::Create, taskUid(mine[ColStamp], mine[ColText]));
        return;
    }
    const TaskRow merged = withFields(mine, theirs, textThere, alarmThere && !alarmHere);
    r.synced = merged;
    if (!sameContent(merged, mine))
        becomeRow(local, merged);
    const int fields = (textHere && !textThere ? ItemText : 0) | (alarmHere ? ItemAlarm : 0);
    if (fields) {
        Write w;
        w.kind = Write::Update;
        w.uid = r.uid;
        w.local = local;
        w.row = merged;
        w.before = theirs;
        w.fields = fields;
        writes.append(w);
        // Until the write is taken, the server's copy is what was last synced.
        r.synced = asSynced(theirs, mine);
    }
    data.put(r);
}

void Engine::Round::reconcile() {
    step = Step::Write;
    reconciled = true;
    becomes = QList<std::optional<TaskRow>>(here.size());
    leaves = QList<bool>(here.size(), false);

    // Tasks here to the records: by stamp and text, then by stamp alone where one of each has it.
    const auto keyOf = [](const SyncRecord& r) {
        return r.intent == Intent::Create ? r.pending : r.synced;
    };
    QHash<QString, int> linkOf; // UID -> task here
    QList<bool> linked(here.size(), false);
    QStringList uids;
    for (const SyncRecord& r : std::as_const(data.records)) {
        if (!r.outside)
            uids.append(r.uid);
    }
    for (int pass = 0; pass < 3; ++pass) {
        for (const QString& uid : std::as_const(uids)) {
            if (linkOf.contains(uid))
                continue;
            const SyncRecord& r = data.records[uid];
            QList<int> matches;
            for (int i = 0; i < here.size(); ++i) {
                if (linked[i])
                    continue;
                const TaskRow& row = here[i].row;
                if ((pass == 0 && sameTask(row, keyOf(r))) ||
                    (pass == 1 && r.intent == Intent::Update && sameTask(row, r.pending)) ||
                    (pass == 2 && row[ColStamp] == keyOf(r)[ColStamp]))
                    matches.append(i);
            }
            if (matches.isEmpty() || (pass == 2 && matches.size() > 1))
                continue;
            if (pass == 2) {
                const int sharing = int(std::count_if(uids.cbegin(), uids.cend(), [&](auto& u) {
                    return !linkOf.contains(u) &&
                           keyOf(data.records[u])[ColStamp] == keyOf(r)[ColStamp];
                }));
                if (sharing > 1)
                    continue;
            }
            linkOf.insert(uid, matches.first());
            linked[matches.first()] = true;
        }
    }

    // Each record: its item there against its task here.
    for (const QString& uid : std::as_const(uids)) {
        SyncRecord r = data.records[uid];
        const There there = thereOf(r);
        if (r.intent == Intent::Create) {
            r.synced = r.pending;
            // Its ics is the body that was sent: a copy the server may now hold.
        }
        const auto found = linkOf.constFind(uid);
        if (found == linkOf.cend()) {
            const bool deletedHere =
                std::any_of(data.deleted.cbegin(), data.deleted.cend(), [&](const TaskRow& d) {
                    return sameTask(d, keyOf(data.records[uid]));
                });
            if (deletedHere && (there == There::Unchanged || there == There::Changed)) {
                Write w;
                w.kind = Write::Complete;
                w.uid = uid;
                w.before = keyOf(r);
                if (there == There::Changed) {
                    r.etag = fetched[r.href].etag;
                    r.ics = fetched[r.href].ics;
                    data.put(r);
                }
                writes.append(w);
            } else {
                // Lost here by other means than Delete: only unlinked, the item stays.
                if (deletedHere)
                    forgetDeleted(keyOf(data.records[uid]));
                data.drop(uid);
            }
            continue;
        }
        const int local = *found;
        const TaskRow mine = kept(here[local].row);
        const bool editedHere = !sameContent(mine, r.synced);
        switch (there) {
        case There::Absent:
            data.drop(uid);
            if (sendable(mine))
                create(local, Write::Create, uid);
            break;
        case There::Unchanged:
            if (r.intent != Intent::None) {
                r.intent = Intent::None;
                data.put(r);
            }
            if (editedHere && sendable(mine)) {
                const bool foreign = isForeignMove(r, mine);
                const int fields = (sameText(mine, r.synced) ? 0 : ItemText) |
                                   (sameAlarm(mine, r.synced) || foreign ? 0 : ItemAlarm);
                if (!fields) {
                    r.synced = mine;
                    data.put(r);
                    break;
                }
                Write w;
                w.kind = Write::Update;
                w.uid = uid;
                w.local = local;
                w.row = mine;
                w.before = r.synced;
                w.fields = fields;
                writes.append(w);
            }
            break;
        case There::Changed: {
            const Fetched f = fetched[r.href];
            r.intent = Intent::None;
            mergeChanged(local, r, f, readItem(f.ics, now));
            break;
        }
        case There::Closed:
        case There::Gone:
            if (editedHere && sendable(mine)) {
                // Edited here since: it stays, and goes back under its UID where the server
                // takes it again, else under a new one.
                const QByteArray base = there == There::Gone ? r.ics : fetched.value(r.href).ics;
                data.drop(uid);
                if (there == There::Closed)
                    create(local, Write::PutBack,
                           QUuid::createUuid().toString(QUuid::WithoutBraces));
                else
                    create(local, Write::PutBack, uid, base);
            } else {
                leaves[local] = true;
                data.drop(uid);
                remember(r.synced);
            }
            break;
        }
    }

    // Items there no task here is linked to: new ones, and those that did not fit before.
    struct Loose {
        SyncRecord record;
        CalendarItem item;
    };
    QList<Loose> loose;
    QSet<QString> knownHrefs;
    for (const SyncRecord& r : std::as_const(data.records))
        knownHrefs.insert(r.href);
    for (auto it = fetched.cbegin(); it != fetched.cend(); ++it) {
        const CalendarItem item = readItem(it.value().ics, now);
        if (!item.todo || item.uid.isEmpty())
            continue;
        const auto record = data.records.constFind(item.uid);
        if (record != data.records.cend() && !record->outside)
            continue; // the same UID under another address: the linked one stays
        if (knownHrefs.contains(it.key()) && record == data.records.cend())
            continue;
        SyncRecord r;
        r.uid = item.uid;
        r.href = it.key();
        r.etag = it.value().etag;
        r.ics = it.value().ics;
        loose.append({r, item});
    }
    const QList<SyncRecord> records = data.records.values();
    for (const SyncRecord& r : records) {
        if (!r.outside || fetched.contains(r.href))
            continue;
        if (thereOf(r) == There::Gone) {
            data.drop(r.uid);
            continue;
        }
        loose.append({r, readItem(r.ics, now)});
    }
    // Tasks here not linked yet: they meet the loose items, or go there as new.
    QList<bool> taken(loose.size(), false);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < here.size(); ++i) {
            if (linked[i])
                continue;
            const TaskRow mine = kept(here[i].row);
            QList<int> matches;
            for (int k = 0; k < loose.size(); ++k) {
                const CalendarItem& item = loose[k].item;
                if (taken[k] || !item.task)
                    continue;
                const TaskRow& theirs = item.task->row;
                if (pass == 0 ? sameTask(mine, theirs) : theirs[ColStamp] == mine[ColStamp])
                    matches.append(k);
            }
            if (pass == 0 && matches.isEmpty()) {
                // A completed item there under this task's UID: it leaves again.
                for (int k = 0; k < loose.size(); ++k) {
                    if (!taken[k] && !loose[k].item.task &&
                        loose[k].item.uid == taskUid(mine[ColStamp], mine[ColText]))
                        matches.append(k);
                }
            }
            if (matches.isEmpty() || (pass == 1 && matches.size() > 1))
                continue;
            const int k = matches.first();
            if (pass == 1) {
                int sharing = 0;
                for (int j = 0; j < here.size(); ++j)
                    sharing += !linked[j] && here[j].row[ColStamp] == mine[ColStamp];
                if (sharing > 1)
                    continue;
            }
            taken[k] = true;
            linked[i] = true;
            SyncRecord r = loose[k].record;
            if (!loose[k].item.task) {
                leaves[i] = true;
                if (r.outside)
                    data.drop(r.uid);
                continue;
            }
            // Matched at a first sync or with the state lost: the item's fields win.
            const TaskRow theirs = loose[k].item.task->row;
            r.outside = false;
            r.intent = Intent::None;
            r.synced = asSynced(theirs, mine);
            if (!sameContent(theirs, mine))
                becomeRow(i, theirs);
            data.put(r);
        }
    }
    int staying = 0;
    for (int i = 0; i < here.size(); ++i) {
        if (!linked[i] && wasClosed(here[i].row)) {
            leaves[i] = true;
            continue;
        }
        staying += !leaves[i];
        if (!linked[i] && sendable(here[i].row))
            create(i, Write::Create, taskUid(here[i].row[ColStamp], here[i].row[ColText]));
    }

    // Open items left fill the free rows, the earliest due first, then the oldest.
    QList<int> open;
    for (int k = 0; k < loose.size(); ++k) {
        if (!taken[k] && loose[k].item.task)
            open.append(k);
        else if (!taken[k] && loose[k].record.outside)
            data.drop(loose[k].record.uid);
    }
    std::sort(open.begin(), open.end(), [&](int a, int b) {
        const CalendarItem &x = loose[a].item, &y = loose[b].item;
        if (x.due.isValid() != y.due.isValid())
            return x.due.isValid();
        if (x.due != y.due)
            return x.due < y.due;
        return x.created < y.created;
    });
    int room = kTaskLimit - staying - int(result.added.size());
    for (const int k : open) {
        SyncRecord r = loose[k].record;
        r.outside = room <= 0;
        if (room > 0) {
            r.synced = loose[k].item.task->row;
            result.added.append(r.synced);
            --room;
        }
        data.put(r);
    }
    if (!save())
        return;
    current = -1;
    nextWrite();
}

} // namespace jot::sync
