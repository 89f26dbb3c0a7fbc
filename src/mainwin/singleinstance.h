// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace jot {

// One running program per data directory, so that two never overwrite each other's task
// file: the first holds a lock file there and listens on a local socket private to the
// user; a later start asks it to show its main window and gives way. A lock that nobody
// holds any more (a crash, a power cut, an emptied file) is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Run,        // this process holds the directory
        HandedOver, // the running program answered and shows itself
        OtherHost,  // the lock was written on another machine sharing the directory
        Silent,     // a live program of this user holds it but does not answer
        Failed,     // a stale lock could not be replaced
    };

    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock if nobody holds it, asking no one; what acquire() starts with. Writing
    // the lock file waits for the disk (QLockFile syncs it), so this may run first on a
    // thread of its own, even before the application exists, and be waited for before
    // acquire().
    bool lockIfFree();
    // Takes the directory, hands over to its holder, or says why neither; may wait up to
    // two seconds for a holder to answer. A later start finds the directory's holder once
    // its event loop runs.
    Outcome acquire();
    // Takes the lock whoever wrote it: after the user chose to run beside another machine.
    bool takeOver();

    // The holder found by the last acquire().
    qint64 ownerPid() const { return m_ownerPid; }
    QString ownerHost() const { return m_ownerHost; }
    QString lockPath() const { return m_lockPath; }

    // In $XDG_RUNTIME_DIR when it is private to the user, else in the data directory.
    static QString socketPath(const QString& dataDir);

Q_SIGNALS:
    // Another start wants the main window shown.
    void activationRequested();

private:
    bool askToShow(int timeoutMs);
    void readOwner();
    void listenSoon();
    void listen();

    QString m_dataDir;
    QString m_lockPath;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    bool m_ownerKnown = false;
    qint64 m_ownerPid = 0;
    QString m_ownerHost;
};

} // namespace jot
