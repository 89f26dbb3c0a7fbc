// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/engine.h"

#include "alarms/due.h"
#include "calendar/calendaritem.h"
#include "sync/davbodies.h"
#include "sync/davxml.h"
#include "sync/syncstate.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QUuid>
#include <algorithm>

namespace jot::sync {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SyncEngine", text);
}

// Items fetched per calendar-multiget: 25 items of the largest size stay under the body limit.
constexpr int kFetchBatch = 15;
// How often one write is tried again after another client wrote between our read and it.
constexpr int kMaxTries = 3;
// Tasks that left as done there, remembered should a file merge bring them back.
constexpr int kRememberedClosed = 200;

const QString kEtag = QStringLiteral("{DAV:}getetag");
const QString kCalendarData = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-data");
const QString kSyncToken = QStringLiteral("{DAV:}sync-token");

// The text as an item gives it back: line ends and the spaces libical drops do not count.
QString comparable(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString t = text;
    t.replace(lineBreak, QStringLiteral("\n"));
    const qsizetype br = t.indexOf(u'\n');
    return br < 0 ? t.trimmed() : t.left(br).trimmed() + u'\n' + t.mid(br + 1).trimmed();
}

bool sameText(const TaskRow& a, const TaskRow& b) {
    return comparable(a[ColText]) == comparable(b[ColText]);
}

bool sameAlarm(const TaskRow& a, const TaskRow& b) {
    return a[ColAlarm] == b[ColAlarm] && a[ColFired] == b[ColFired];
}

bool sameTask(const TaskRow& a, const TaskRow& b) {
    return a[ColStamp] == b[ColStamp] && sameText(a, b);
}

bool sameContent(const TaskRow& a, const TaskRow& b) {
    return sameTask(a, b) && sameAlarm(a, b);
}

// What the sync keeps of a row: the window slot is this machine's own.
TaskRow kept(TaskRow row) {
    row[ColSlot].clear();
    return row;
}

// The item's task as the sync keeps it linked to the task here: under the stamp of this one.
TaskRow asSynced(TaskRow theirs, const TaskRow& mine) {
    theirs[ColStamp] = mine[ColStamp];
    theirs[ColSlot].clear();
    return theirs;
}

bool sendable(const TaskRow& row) {
    return !row[ColText].trimmed().isEmpty() || !row[ColAlarm].trimmed().isEmpty();
}

TaskRow withFields(TaskRow row, const TaskRow& from, bool text, bool alarm) {
    if (text)
        row[ColText] = from[ColText];
    if (alarm) {
        row[ColAlarm] = from[ColAlarm];
        row[ColFired] = from[ColFired];
    }
    return row;
}

// The href a 409 no-uid-conflict names: the item that already has the UID.
QString conflictHref(const QByteArray& body) {
    static const QRegularExpression href(QStringLiteral("<(?:\\w+:)?href>([^<]+)</"));
    const QRegularExpressionMatch m = href.match(QString::fromUtf8(body));
    return m.hasMatch() ? QUrl::fromPercentEncoding(m.captured(1).trimmed().toUtf8()) : QString();
}

// A text of the server's, for the sync's own error line.
QString statusText(const Reply& reply) {
    if (!reply.error.isEmpty())
        return reply.error;
    return tr("The server answered %1.").arg(reply.status);
}

enum class There { Unchanged, Changed, Closed, Gone, Absent };

struct Fetched {
    QByteArray etag, ics;
};

// One write to the server, and where it stands.
struct Write {
    enum Kind { Create, PutBack, Update, Complete } kind = Create;
    enum Phase { Put, GetBack, GetConflict } phase = Put;
    QString uid;
    int local = -1;  // the task here it carries; -1 for a completion
    TaskRow row;     // what the item is to hold
    TaskRow before;  // what it held as last synced
    int fields = 0;  // the fields an update writes
    QByteArray body; // the PUT's
    QString getHref; // the item fetched after a conflict
    int tries = 0;
};

} // namespace

struct Engine::Round {
    Round(SyncState& s, const QUrl& l, const QDateTime& n)
        : state(s), data(s.data()), list(l), now(n), zone(calendarZone()) {
        listPath = list.path(QUrl::FullyDecoded);
        if (!listPath.endsWith(u'/'))
            listPath += u'/';
    }

    SyncState& state;
    SyncState::Data& data;
    QUrl list;
    QString listPath;
    QDateTime now;
    QString zone;
    QList<LocalTask> here;
    RoundResult result;

    enum class Step { Idle, SyncCollection, TokenProp, Listing, Fetch, Write, Done };
    Step step = Step::Idle;
    std::optional<Request> request;

    bool full = false;               // a whole listing: what it does not name is gone
    QHash<QString, QByteArray> seen; // href -> ETag, listed or changed
    QSet<QString> gone;
    QString newToken;
    QStringList toFetch;
    QHash<QString, Fetched> fetched;

    QList<std::optional<TaskRow>> becomes; // per task here
    QList<bool> leaves;
    QList<Write> writes;
    int current = -1;
    bool reconciled = false;
    int failed = 0;

    // Requests.
    QUrl urlOf(const QString& href) const {
        QUrl url = list;
        url.setPath(href, QUrl::DecodedMode);
        url.setQuery(QString());
        url.setFragment(QString());
        return url;
    }
    Request report(const QUrl& url, const QByteArray& depth, const QByteArray& body,
                   const QByteArray& method = "REPORT") const {
        return {method,
                url,
                {{"Depth", depth}, {"Content-Type", "application/xml; charset=utf-8"}},
                body};
    }
    QString hrefOf(const QString& href) const {
        if (href.startsWith(u"http://") || href.startsWith(u"https://"))
            return QUrl(href).path(QUrl::FullyDecoded);
        return href;
    }

    void stop(const QString& why) {
        result.error = why;
        finish();
    }
    void finish();
    bool save() {
        QString why;
        if (data.dirty.isEmpty() && !data.listDirty)
            return true;
        if (state.save(&why))
            return true;
        stop(why);
        return false;
    }

    void takeSyncCollection(const Reply& reply);
    void takeListing(const Reply& reply);
    void startFetch();
    void takeFetch(const Reply& reply);
    void reconcile();
    void nextWrite();
    void takeWrite(const Reply& reply);
    void putWrite(Write& w);
    void linkFetched(Write& w, const Reply& reply);
    void writeDone(Write& w, const Reply& reply);

    // Reconciling.
    There thereOf(const SyncRecord& r) const;
    void becomeRow(int local, const TaskRow& row) {
        TaskRow out = here[local].row;
        for (const Column c : {ColText, ColAlarm, ColFired})
            out[c] = row[c];
        becomes[local] = out;
    }
    TaskRow currentRow(int local) const { return becomes[local].value_or(here[local].row); }
    // A task that left as done there: a file merge may bring it back, and it leaves again.
    void remember(const TaskRow& row) {
        data.closed.append(kept(row));
        if (data.closed.size() > kRememberedClosed)
            data.closed.remove(0, data.closed.size() - kRememberedClosed);
        data.listDirty = true;
    }
    bool wasClosed(const TaskRow& row) const {
        return std::any_of(data.closed.cbegin(), data.closed.cend(),
                           [&](const TaskRow& c) { return sameTask(c, row); });
    }
    void forgetDeleted(const TaskRow& row) {
        const qsizetype before = data.deleted.size();
        data.deleted.removeIf([&](const TaskRow& d) { return sameTask(d, row); });
        data.listDirty |= data.deleted.size() != before;
    }
    bool isForeignMove(const SyncRecord& r, const TaskRow& local) const;
    void mergeChanged(int local, SyncRecord r, const Fetched& f, const CalendarItem& item);
    QString freeUid(const QString& wanted) const {
        bool taken = data.records.contains(wanted);
        for (const Write& w : writes)
            taken |= w.uid == wanted;
        return taken ? QUuid::createUuid().toString(QUuid::WithoutBraces) : wanted;
    }
    void create(int local, Write::Kind kind, const QString& uid, const QByteArray& base = {});
};

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

void Engine::Round::takeSyncCollection(const Reply& reply) {
    if (reply.status != 207) {
        // No token, or one the server no longer knows (403 valid-sync-token): list it all.
        step = Step::TokenProp;
        request = report(list, "0", syncTokenBody(), "PROPFIND");
        return;
    }
    const Multistatus ms = readMultistatus(reply.body);
    if (!ms.error.isEmpty())
        return stop(ms.error);
    for (const DavResponse& response : ms.responses) {
        const QString href = hrefOf(response.href);
        if (href == listPath || href.isEmpty())
            continue;
        const DavProp* etag = response.prop(kEtag);
        if (response.status == 404 || (!etag && response.status >= 400))
            gone.insert(href);
        else if (etag)
            seen.insert(href, etag->text.toUtf8());
    }
    newToken = ms.syncToken;
    startFetch();
}

void Engine::Round::takeListing(const Reply& reply) {
    if (reply.status != 207)
        return stop(tr("The server cannot list the tasks: %1").arg(statusText(reply)));
    const Multistatus ms = readMultistatus(reply.body);
    if (!ms.error.isEmpty())
        return stop(ms.error);
    full = true;
    for (const DavResponse& response : ms.responses) {
        const QString href = hrefOf(response.href);
        if (const DavProp* etag = response.prop(kEtag); etag && href != listPath)
            seen.insert(href, etag->text.toUtf8());
    }
    startFetch();
}

void Engine::Round::startFetch() {
    QHash<QString, QByteArray> known;
    for (const SyncRecord& r : std::as_const(data.records))
        known.insert(r.href, r.etag);
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        if (known.value(it.key()) != it.value() || it.value().isEmpty())
            toFetch.append(it.key());
    }
    std::sort(toFetch.begin(), toFetch.end());
    step = Step::Fetch;
    if (toFetch.isEmpty()) {
        reconcile();
        return;
    }
    const QStringList batch = toFetch.mid(0, kFetchBatch);
    toFetch.remove(0, batch.size());
    request = report(list, "1", multigetBody(batch));
}

void Engine::Round::takeFetch(const Reply& reply) {
    if (reply.status != 207)
        return stop(tr("The server cannot send the tasks: %1").arg(statusText(reply)));
    const Multistatus ms = readMultistatus(reply.body);
    if (!ms.error.isEmpty())
        return stop(ms.error);
    for (const DavResponse& response : ms.responses) {
        const QString href = hrefOf(response.href);
        const DavProp* data = response.prop(kCalendarData);
        const DavProp* etag = response.prop(kEtag);
        if (response.status == 404)
            gone.insert(href);
        else if (data && etag) // an item too large or without its data is left as it is
            fetched.insert(href, {etag->text.toUtf8(), data->text.toUtf8()});
    }
    if (toFetch.isEmpty())
        return reconcile();
    const QStringList batch = toFetch.mid(0, kFetchBatch);
    toFetch.remove(0, batch.size());
    request = report(list, "1", multigetBody(batch));
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

void Engine::Round::finish() {
    step = Step::Done;
    request.reset();
    for (int i = 0; i < becomes.size(); ++i) {
        if (leaves[i])
            result.removed.append(here[i].row);
        else if (becomes[i] && *becomes[i] != here[i].row)
            result.changed.append({here[i].row, *becomes[i]});
    }
    if (result.error.isEmpty()) {
        // A round with nothing to tell writes nothing: the token is the same.
        data.listDirty |= data.token != newToken;
        data.token = newToken;
        // Deletions of tasks the server never held are told to no one.
        const qsizetype deleted = data.deleted.size();
        data.deleted.removeIf([&](const TaskRow& d) {
            return std::none_of(data.records.cbegin(), data.records.cend(),
                                [&](const SyncRecord& r) { return sameTask(r.synced, d); });
        });
        data.listDirty |= data.deleted.size() != deleted;
    }
    int outside = 0;
    for (const SyncRecord& r : std::as_const(data.records))
        outside += r.outside;
    result.notShown = outside;
    QString why;
    if (!state.save(&why) && result.error.isEmpty())
        result.error = why;
    int pending = failed;
    if (!result.error.isEmpty()) {
        // What was still to go waits for the next round.
        pending += int(std::max<qsizetype>(0, writes.size() - std::max(current, 0)));
        if (!reconciled) {
            for (const LocalTask& task : std::as_const(here)) {
                const bool known = std::any_of(
                    data.records.cbegin(), data.records.cend(),
                    [&](const SyncRecord& r) { return sameContent(r.synced, task.row); });
                pending += !known && sendable(task.row);
            }
        }
    }
    result.waiting = pending + int(data.deleted.size());
}

Engine::Engine(SyncState& state, const QUrl& list, const QDateTime& now)
    : d(std::make_unique<Round>(state, list, now)) {}

Engine::~Engine() = default;

void Engine::start(const QList<LocalTask>& here) {
    d->here = here;
    SyncState::Data& data = d->data;
    if (data.list != d->list.toString()) {
        // Another list: nothing known of this one.
        for (const QString& uid : data.records.keys())
            data.drop(uid);
        data.token.clear();
        data.list = d->list.toString();
        data.listDirty = true;
    }
    if (data.token.isEmpty()) {
        d->step = Round::Step::TokenProp;
        d->request = d->report(d->list, "0", syncTokenBody(), "PROPFIND");
    } else {
        d->step = Round::Step::SyncCollection;
        d->request = d->report(d->list, "0", syncCollectionBody(data.token));
    }
}

std::optional<Request> Engine::next() {
    return d->request;
}

void Engine::take(const Reply& reply) {
    if (d->step == Round::Step::Done || d->step == Round::Step::Idle || !d->request)
        return;
    d->request.reset();
    if (reply.status == 401) {
        d->result.passwordRefused = true;
        return d->stop(tr("The server refused the user name or password."));
    }
    if (reply.status == 0 || reply.status >= 500)
        return d->stop(statusText(reply));
    switch (d->step) {
    case Round::Step::SyncCollection:
        return d->takeSyncCollection(reply);
    case Round::Step::TokenProp: {
        if (reply.status == 207) {
            const Multistatus ms = readMultistatus(reply.body);
            for (const DavResponse& response : ms.responses) {
                if (const DavProp* token = response.prop(kSyncToken))
                    d->newToken = token->text;
            }
        }
        d->step = Round::Step::Listing;
        d->request = d->report(d->list, "1", vtodoListingBody());
        return;
    }
    case Round::Step::Listing:
        return d->takeListing(reply);
    case Round::Step::Fetch:
        return d->takeFetch(reply);
    case Round::Step::Write:
        return d->takeWrite(reply);
    default:
        return;
    }
}

const RoundResult& Engine::result() const {
    return d->result;
}

} // namespace jot::sync
