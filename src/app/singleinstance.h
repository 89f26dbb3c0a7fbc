// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launch/request.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;
class QSocketNotifier;

namespace jot {

// One running program per data directory, so that two never overwrite each other's task
// file: the first holds a lock file named after the directory and listens on a local socket
// private to the user; a later start asks it to show its main window, or what its command
// line asks (a new task, say), and gives way. A lock
// that nobody holds any more (a crash, a power cut, an emptied file) is taken over, by one
// start only when several find it at once. Before the lock, every start binds a socket in the
// abstract namespace named after the user and the directory, which has no file to write and
// goes with its process: the first start to bind it wins even where no lock can be written (a
// full disk), and the others hand over to it.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Run,        // this process holds the directory
        HandedOver, // the running program answered and shows itself, or did what was asked
        Declined,   // the running program answered without doing it: declined() says why
        OtherHost,  // the lock was written on another machine sharing the directory
        Silent,     // a live program of this user holds it but does not answer
        Failed,     // a stale lock could not be replaced
    };

    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // What acquire() asks of a running program; showing its main window unless set.
    void setRequest(const Request& request) { m_request = request; }
    // Carries out the requests of later starts other than Show, once this one runs.
    void setRequestHandler(std::function<Answer(const Request&)> handler) {
        m_handler = std::move(handler);
    }

    // Takes the lock if nobody holds it, asking no one; what acquire() starts with. Writing
    // the lock file waits for the disk (QLockFile syncs it), so this may run first on a
    // thread of its own, even before the application exists, and be waited for before
    // acquire().
    bool lockIfFree();
    // Takes the directory, hands over to its holder, or says why neither; may wait up to
    // two seconds for a holder to answer. A later start finds the directory's holder once
    // its event loop runs.
    Outcome acquire();
    // Takes the lock from the holder acquire() found, whoever wrote it: after the user chose
    // to run beside another machine. Fails when another start replaced it meanwhile.
    bool takeOver();

    // The holder found by the last acquire().
    qint64 ownerPid() const { return m_ownerPid; }
    QString ownerHost() const { return m_ownerHost; }
    QString lockPath() const { return m_lockPath; }
    // Why the running program did not do what was asked, after Outcome::Declined.
    QString declined() const { return m_declined; }
    // The folder of the hand-over socket when another user made it (or opened it to others),
    // found by the last acquire(): the running program cannot be asked through it.
    QString unfitSocketFolder() const { return m_unfitFolder; }
    const Request& request() const { return m_request; }

    // Per machine, where a sync tool does not carry it: in $XDG_RUNTIME_DIR when that is
    // private to the user, else in the data directory.
    static QString lockPathFor(const QString& dataDir);
    // A short name in a folder private to the user, so that it always fits a local socket's
    // name: $XDG_RUNTIME_DIR, else jotlark-UID in the temporary folder.
    static QString socketPath(const QString& dataDir);
    // The abstract socket's name, without its leading NUL: jotlark-UID-HASH.
    static QByteArray claimName(const QString& dataDir);

Q_SIGNALS:
    // Another start wants the main window shown.
    void activationRequested();

private:
    enum class Replaced { Taken, Changed, Failed };
    Replaced replaceLock(bool whoever);
    bool lockGuarded(); // lockIfFree() once the lock's folder is guarded
    bool claim();
    enum class Asked { NoAnswer, Confirmed, Declined };
    Asked ask(int timeoutMs);
    std::optional<Outcome> askClaimant();
    Asked exchange(QLocalSocket& socket, const QDeadlineTimer& deadline);
    void adopt(QLocalSocket* socket);
    void serve(QLocalSocket* socket);
    void readOwner();
    void listenSoon();
    void listen();

    QString m_dataDir;
    QString m_lockPath;
    bool m_lockPerMachine = false; // in the runtime folder rather than the data directory
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    bool m_ownerKnown = false;
    qint64 m_ownerPid = 0;
    QString m_ownerHost;
    Request m_request;
    QString m_declined;
    QString m_unfitFolder;
    std::function<Answer(const Request&)> m_handler;
    int m_claim = -1;            // the bound abstract socket, listening; never closed till the end
    bool m_claimBusy = false;    // another process had bound it at the last try
    bool m_claimIgnored = false; // held by what is not a Jotlark of this user
    QSocketNotifier* m_claimNotifier = nullptr; // accepts its connections once listening
};

} // namespace jot
