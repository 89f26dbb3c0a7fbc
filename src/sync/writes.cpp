// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/round.h"

namespace jot::sync {

void Engine::Round::putWrite(Write& w) {
    SyncRecord& r = data.records[w.uid];
    w.phase = Write::Put;
    Request put{"PUT", {}, {{"Content-Type", "text/calendar; charset=utf-8"}}, {}};
    switch (w.kind) {
    case Write::Create:
    case Write::PutBack:
        r.uid = w.uid;
        r.href = listPath + w.uid + QStringLiteral(".ics");
        r.etag.clear();
        r.ics = w.body;
        r.intent = Intent::Create;
        r.pending = w.row;
        put.headers.append({QByteArray("If-None-Match"), QByteArray("*")});
        break;
    case Write::Update:
        w.body = changeItem(r.ics, w.before, w.row, w.fields, now, zone);
        r.intent = Intent::Update;
        r.pending = w.row;
        put.headers.append({QByteArray("If-Match"), r.etag});
        break;
    case Write::Complete:
        w.body = completeItem(r.ics, now);
        r.intent = Intent::Complete;
        put.headers.append({QByteArray("If-Match"), r.etag});
        break;
    }
    if (w.body.isEmpty()) {
        // The server's copy cannot be read: it is left as it is.
        r.intent = Intent::None;
        ++failed;
        return nextWrite();
    }
    put.url = urlOf(r.href);
    put.body = w.body;
    data.dirty.insert(w.uid);
    // What is about to be written is on disk first: a round cut here finds it next time.
    if (!save())
        return;
    request = put;
}

void Engine::Round::nextWrite() {
    while (++current < writes.size()) {
        Write& w = writes[current];
        if (w.kind != Write::Complete && w.local >= 0 && leaves[w.local])
            continue;
        putWrite(w);
        return;
    }
    finish();
}

// What a write's answer teaches is kept with the next write's intent or at the round's end, not
// on its own: cut before, the next round finds the intent and the item there, and links them.
void Engine::Round::writeDone(Write& w, const Reply& reply) {
    SyncRecord& r = data.records[w.uid];
    if (w.kind == Write::Complete) {
        forgetDeleted(w.before);
        data.drop(w.uid);
    } else {
        r.etag = reply.etag;
        r.ics = w.body;
        r.synced = w.row;
        r.intent = Intent::None;
        r.pending = {};
        data.dirty.insert(w.uid);
        if (reply.etag.isEmpty()) {
            // No ETag: what the server keeps may not be what was sent, and the next change
            // needs its tag; the item is read back.
            w.phase = Write::GetBack;
            request = Request{"GET", urlOf(r.href), {}, {}};
            return;
        }
    }
    nextWrite();
}

// The item there after a refused create or change: linked, merged or completed again.
void Engine::Round::linkFetched(Write& w, const Reply& reply) {
    const CalendarItem item = reply.status == 200 ? readItem(reply.body, now) : CalendarItem();
    SyncRecord r = data.records.value(w.uid);
    if (!item.todo || (w.kind == Write::Update && reply.etag.isEmpty())) {
        ++failed;
        if (w.kind == Write::Create || w.kind == Write::PutBack)
            data.drop(w.uid);
        save();
        return nextWrite();
    }
    if (w.kind == Write::Complete) {
        r.etag = reply.etag;
        r.ics = reply.body;
        data.put(r);
        if (!item.task || ++w.tries >= kMaxTries) {
            if (!item.task) {
                forgetDeleted(w.before);
                data.drop(w.uid);
            }
            save();
            return nextWrite();
        }
        return putWrite(w);
    }
    if (w.kind == Write::Create) {
        // Already there: the same task written by another machine, or by this one before a
        // cut. Linked, its fields win.
        data.drop(w.uid);
        SyncRecord linkedRecord;
        linkedRecord.uid = item.uid;
        linkedRecord.href = w.getHref;
        linkedRecord.etag = reply.etag;
        linkedRecord.ics = reply.body;
        if (!item.task) {
            leaves[w.local] = true;
        } else {
            linkedRecord.synced = asSynced(item.task->row, w.row);
            if (!sameContent(item.task->row, w.row))
                becomeRow(w.local, item.task->row);
            data.put(linkedRecord);
        }
        save();
        return nextWrite();
    }
    // A change refused: another client wrote in between. Merged again against that copy.
    if (++w.tries >= kMaxTries) {
        ++failed;
        return nextWrite();
    }
    const TaskRow theirs = item.task ? item.task->row : TaskRow();
    if (!item.task) {
        // Completed there meanwhile; the edit here puts it back under a new UID.
        data.drop(w.uid);
        save();
        w.kind = Write::PutBack;
        w.uid = freeUid(QUuid::createUuid().toString(QUuid::WithoutBraces));
        w.body = newItem(w.row, w.uid, now);
        return putWrite(w);
    }
    const CalendarItem old = readItem(r.ics, now);
    const TaskRow theirsBefore = old.task ? old.task->row : r.synced;
    const bool textThere = !sameText(theirsBefore, theirs);
    const bool alarmThere = !sameAlarm(theirsBefore, theirs);
    if ((w.fields & ItemText) && textThere && !sameText(w.row, theirs)) {
        // Text changed both sides: the server's stays with the item, this one becomes new.
        r.etag = reply.etag;
        r.ics = reply.body;
        r.synced = theirs;
        r.intent = Intent::None;
        data.put(r);
        result.added.append(theirs); // past the limit only by the tasks this round split
        w.kind = Write::Create;
        w.uid = freeUid(taskUid(w.row[ColStamp], w.row[ColText]));
        w.body = newItem(w.row, w.uid, now);
        return putWrite(w);
    }
    TaskRow merged = withFields(w.row, theirs, textThere && !(w.fields & ItemText),
                                alarmThere && !(w.fields & ItemAlarm));
    if ((w.fields & ItemAlarm) && alarmThere && !sameAlarm(w.row, theirs) &&
        !(here[w.local].edited.isValid() && item.modified.isValid() &&
          here[w.local].edited > item.modified)) {
        merged = withFields(merged, theirs, false, true);
        w.fields &= ~ItemAlarm;
    }
    if (!sameContent(merged, w.row))
        becomeRow(w.local, merged);
    r.etag = reply.etag;
    r.ics = reply.body;
    r.synced = asSynced(theirs, w.row);
    data.put(r);
    w.row = merged;
    w.before = theirs;
    if (!w.fields) {
        r.synced = merged;
        data.put(r);
        save();
        return nextWrite();
    }
    putWrite(w);
}

void Engine::Round::takeWrite(const Reply& reply) {
    Write& w = writes[current];
    if (w.phase == Write::GetBack) {
        SyncRecord& r = data.records[w.uid];
        if (reply.status == 200 && !reply.etag.isEmpty()) {
            r.etag = reply.etag;
            if (readItem(reply.body, now).todo)
                r.ics = reply.body;
            data.dirty.insert(w.uid);
        }
        return nextWrite();
    }
    if (w.phase == Write::GetConflict)
        return linkFetched(w, reply);
    if (reply.status >= 200 && reply.status < 300)
        return writeDone(w, reply);
    const bool creating = w.kind == Write::Create || w.kind == Write::PutBack;
    if (creating && (reply.status == 412 || reply.status == 409)) {
        if (w.kind == Write::PutBack) {
            // The server keeps the old UID (a trash): the task goes back under a new one.
            data.drop(w.uid);
            if (++w.tries >= kMaxTries) {
                ++failed;
                save();
                return nextWrite();
            }
            w.uid = freeUid(QUuid::createUuid().toString(QUuid::WithoutBraces));
            w.body = newItem(w.row, w.uid, now);
            return putWrite(w);
        }
        w.getHref = data.records[w.uid].href;
        if (reply.status == 409) {
            const QString other = conflictHref(reply.body);
            if (!other.isEmpty())
                w.getHref = hrefOf(other);
        }
        w.phase = Write::GetConflict;
        request = Request{"GET", urlOf(w.getHref), {}, {}};
        return;
    }
    if (!creating && reply.status == 412) {
        w.phase = Write::GetConflict;
        w.getHref = data.records[w.uid].href;
        request = Request{"GET", urlOf(w.getHref), {}, {}};
        return;
    }
    if (!creating && reply.status == 404) {
        if (w.kind == Write::Complete) {
            forgetDeleted(w.before);
            data.drop(w.uid);
            if (save())
                nextWrite();
            return;
        }
        // Gone there while it changed here: back under its UID.
        const QByteArray base = data.records[w.uid].ics;
        data.drop(w.uid);
        w.kind = Write::PutBack;
        w.body = changeItem(base, TaskRow(), w.row, ItemText | ItemAlarm, now, zone);
        return putWrite(w);
    }
    // Refused for good (forbidden, too large): this one waits, the others go on.
    ++failed;
    SyncRecord& r = data.records[w.uid];
    r.intent = Intent::None;
    if (creating)
        data.drop(w.uid);
    else
        data.dirty.insert(w.uid);
    if (save())
        nextWrite();
}

} // namespace jot::sync
