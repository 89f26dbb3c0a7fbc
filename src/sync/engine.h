// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"
#include "sync/davrequest.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <utility>

// One sync round with a CalDAV task list, as a state machine that asks requests and takes
// answers as data: it never touches the network, the clock or the window. The caller sends
// each request, hands back its answer, and at the end applies the result to the list.
namespace jot::sync {

class SyncState;

// A task here as the round sees it.
struct LocalTask {
    TaskRow row;
    QDateTime edited; // when its text or alarm last changed here; invalid: not known
};

struct RoundResult {
    QList<TaskRow> added;                       // items that came in, to append
    QList<std::pair<TaskRow, TaskRow>> changed; // a task here (as given) and what it becomes
    QList<TaskRow> removed;                     // completed, cancelled or deleted there
    int notShown = 0;                           // open items past the task limit
    int waiting = 0;                            // changes here the server has not taken yet
    QString error;                              // why the round stopped; empty when it ended
    bool passwordRefused = false;               // 401: no retry until the settings change
};

class Engine {
public:
    // The round works on `state` (kept on disk by it before each write) for the list `list`.
    Engine(SyncState& state, const QUrl& list, const QDateTime& now);
    ~Engine();

    // Starts the round with every task here.
    void start(const QList<LocalTask>& here);
    // The next request to send; nothing when the round is over.
    std::optional<Request> next();
    // The answer to the request next() gave last.
    void take(const Reply& reply);
    const RoundResult& result() const;

private:
    struct Round;
    std::unique_ptr<Round> d;
};

} // namespace jot::sync
