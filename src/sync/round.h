// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sync round's own parts, shared by the files that make up the engine: the listing and
// fetching (engine.cpp), the reconciling of both sides (reconcile.cpp) and the writes
// (writes.cpp). Nothing outside the engine includes it.
#include "sync/engine.h"

#include "alarms/due.h"
#include "calendar/calendaritem.h"
#include "sync/davbodies.h"
#include "sync/davxml.h"
#include "sync/syncstate.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUuid>
#include <algorithm>

namespace jot::sync {

inline QString tr(const char* text) {
    return QCoreApplication::translate("SyncEngine", text);
}

// Items fetched per calendar-multiget: 15 items of the largest size stay under the body limit.
constexpr int kFetchBatch = 15;
// How often one write is tried again after another client wrote between our read and it.
constexpr int kMaxTries = 3;
// Tasks that left as done there, remembered should a file merge bring them back.
constexpr int kRememberedClosed = 200;

const QString kEtag = QStringLiteral("{DAV:}getetag");
const QString kCalendarData = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-data");
const QString kSyncToken = QStringLiteral("{DAV:}sync-token");

// The text as an item gives it back: line ends and the spaces libical drops do not count.
inline QString comparable(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString t = text;
    t.replace(lineBreak, QStringLiteral("\n"));
    const qsizetype br = t.indexOf(u'\n');
    return br < 0 ? t.trimmed() : t.left(br).trimmed() + u'\n' + t.mid(br + 1).trimmed();
}

inline bool sameText(const TaskRow& a, const TaskRow& b) {
    return comparable(a[ColText]) == comparable(b[ColText]);
}

inline bool sameAlarm(const TaskRow& a, const TaskRow& b) {
    return a[ColAlarm] == b[ColAlarm] && a[ColFired] == b[ColFired];
}

inline bool sameTask(const TaskRow& a, const TaskRow& b) {
    return a[ColStamp] == b[ColStamp] && sameText(a, b);
}

inline bool sameContent(const TaskRow& a, const TaskRow& b) {
    return sameTask(a, b) && sameAlarm(a, b);
}

// What the sync keeps of a row: the window slot is this machine's own.
inline TaskRow kept(TaskRow row) {
    row[ColSlot].clear();
    return row;
}

// The item's task as the sync keeps it linked to the task here: under the stamp of this one.
inline TaskRow asSynced(TaskRow theirs, const TaskRow& mine) {
    theirs[ColStamp] = mine[ColStamp];
    theirs[ColSlot].clear();
    return theirs;
}

inline bool sendable(const TaskRow& row) {
    return !row[ColText].trimmed().isEmpty() || !row[ColAlarm].trimmed().isEmpty();
}

inline TaskRow withFields(TaskRow row, const TaskRow& from, bool text, bool alarm) {
    if (text)
        row[ColText] = from[ColText];
    if (alarm) {
        row[ColAlarm] = from[ColAlarm];
        row[ColFired] = from[ColFired];
    }
    return row;
}

// The href a 409 no-uid-conflict names: the item that already has the UID.
inline QString conflictHref(const QByteArray& body) {
    static const QRegularExpression href(QStringLiteral("<(?:\\w+:)?href>([^<]+)</"));
    const QRegularExpressionMatch m = href.match(QString::fromUtf8(body));
    return m.hasMatch() ? QUrl::fromPercentEncoding(m.captured(1).trimmed().toUtf8()) : QString();
}

// A text of the server's, for the sync's own error line.
inline QString statusText(const Reply& reply) {
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

} // namespace jot::sync
