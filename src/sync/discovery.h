// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/davrequest.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// Finding a user's task lists from the address they typed, and making a new one, as a state
// machine that asks requests and takes answers as data, like the sync's engine: the address
// itself when it is a task list, else the well-known address (RFC 6764), the principal, its
// calendar home and the home's collections that take VTODOs. Whatever stops it is said in
// words a person understands.
namespace jot::sync {

struct FoundList {
    QUrl url;
    QString name; // its displayname; empty when it has none
};

enum class DiscoveryProblem {
    None,
    WrongPassword,
    NotCalDav,
    NoTaskList, // the home has none yet: a new one can still be made
    UntrustedCertificate,
    Unreachable,
    ServerError,
};

struct DiscoveryResult {
    QList<FoundList> lists;
    QUrl home;    // where a new list goes; empty when no home was found
    QUrl created; // the list MKCALENDAR made
    DiscoveryProblem problem = DiscoveryProblem::None;
    QString message;        // the problem in words
    QByteArray certificate; // the untrusted certificate's SHA-256, hex
    QList<QString> items;   // listItems(): each item's calendar data
};

class Discovery {
public:
    // Finds the task lists from what the user typed ("dav.example.org" is https).
    static Discovery find(const QUrl& address);
    // Makes a new task list named `name` in the calendar home `home`.
    static Discovery create(const QUrl& home, const QString& name);
    // Lists the open and closed items of the list `list`: their iCalendar texts, in `items`.
    static Discovery listItems(const QUrl& list);

    // What the user typed as an address: https when no scheme is given.
    static QUrl addressFromInput(const QString& typed);
    // The SHA-256 as the user compares it: pairs of hex digits, with colons.
    static QString fingerprintText(const QByteArray& hex);

    std::optional<Request> next(); // nothing once done
    void take(const Reply& reply); // the answer to the last request next() gave
    bool done() const { return m_step == Step::Done; }
    const DiscoveryResult& result() const { return m_result; }

private:
    enum class Step { Address, WellKnown, Principal, Home, Create, Items, Done };
    Discovery() = default;
    void takeProbe(const Reply& reply);
    void takePrincipal(const Reply& reply);
    void takeHome(const Reply& reply);
    void takeCreate(const Reply& reply);
    void takeItems(const Reply& reply);
    bool failed(const Reply& reply); // a problem whatever the step: said, and done
    void fail(DiscoveryProblem problem, const QString& message);
    void probeOrFail(const Reply& reply); // the other probe, else not a CalDAV server

    Step m_step = Step::Done;
    bool m_wellKnownTried = false;
    bool m_addressTried = false;
    QUrl m_address;
    QUrl m_target; // of the request in flight
    QString m_newName;
    DiscoveryResult m_result;
};

// At the first sync, when both sides hold tasks: how many match by stamp and text (linked)
// and how many go each way.
struct FirstSyncCounts {
    int linked = 0;
    int up = 0;   // tasks here that go to the server
    int down = 0; // items there that come here
};
FirstSyncCounts countFirstSync(const QList<std::pair<QString, QString>>& here,
                               const QList<std::pair<QString, QString>>& there);

} // namespace jot::sync
