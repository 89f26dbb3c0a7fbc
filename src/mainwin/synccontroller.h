// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

class DavTransport;
class QTimer;

namespace jot {

class Shared;
namespace sync {
class Engine;
class PasswordCommand;
class SyncState;
} // namespace sync

// Keeps the list in step with a CalDAV task list set up in sync.conf: rounds at start, a few
// seconds after a save that changed records, every 5 minutes and on Sync now, each carried
// without blocking; their results applied to the list and saved. Failures are retried after
// 1, 2, 5 and 10 minutes, then every 5; a refused password waits for the settings to change.
// Without sync.conf it does nothing at all: no timer, no file read after the first.
class SyncController : public QObject {
    Q_OBJECT
public:
    SyncController(Shared& shared, const QString& dataDir, QObject* parent = nullptr);
    ~SyncController() override;

    // Whether sync.conf is there (read again at each call).
    bool configured() const;
    // The first round, once the window is shown; the timers from then on.
    void begin();
    void syncNow();
    // After every save: a round soon when records changed since the last one seen.
    void listSaved();
    // Delete or Delete all: the tasks' items are completed at the next round.
    void deleted(const QList<TaskRow>& rows);
    // A repeat rule only the server's copy holds ("As set elsewhere"), and its next occurrence.
    bool hasForeignRule(const TaskRow& row) const;
    std::optional<QDateTime> nextForeignOccurrence(const TaskRow& row,
                                                   const QDateTime& after) const;
    bool running() const { return m_engine != nullptr || m_askingCommand || m_askingKeyring; }

Q_SIGNALS:
    // What the warning line says about the sync; empty when all is well.
    void lineChanged(const QString& text);
    // Once per refused password.
    void notice(const QString& text);
    // The row's task is about to go (its note closes), as a merge removes one.
    void removingTask(int row);
    // The row's task is about to change: its open note closes without saving.
    void changingTask(int row);
    // A round ended, applied or not.
    void roundEnded();

private:
    void ensureTimers();
    void startRound();
    void passwordFromKeyring();
    void passwordMissing(const QString& why);
    void withPassword(const QString& password);
    void pump();
    void finishRound();
    void apply();
    // The line says why and how many changes wait (-1: as the state counts them).
    void failed(const QString& why, bool retry, int waiting = -1);
    void setLine(const QString& text);
    QList<TaskRow> tasksHere() const;
    QByteArray recordsDigest() const;
    sync::SyncState* state();

    Shared& m_shared;
    QString m_dataDir;
    DavTransport* m_transport = nullptr;
    QTimer* m_periodic = nullptr; // every 5 minutes
    QTimer* m_afterSave = nullptr;
    QTimer* m_retry = nullptr;
    int m_failures = 0;
    QByteArray m_refusedSettings; // sync.conf as it was when the password was refused
    QByteArray m_settingsBytes;   // as this round read it
    QUrl m_list;
    QString m_user;
    QDateTime m_began;
    bool m_again = false; // asked while a round ran
    QDateTime m_lastSynced;
    QByteArray m_digest;                // of the records when last seen
    QHash<QString, QDateTime> m_edited; // when a record was first seen this run
    QString m_line;
    std::unique_ptr<sync::SyncState> m_state;
    std::unique_ptr<sync::Engine> m_engine;
    sync::PasswordCommand* m_command = nullptr;
    bool m_askingCommand = false;
    bool m_askingKeyring = false;
};

} // namespace jot
