// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/round.h"

namespace jot::sync {

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
