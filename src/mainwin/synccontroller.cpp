// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/synccontroller.h"

#include "net/davtransport.h"
#include "store/clock.h"
#include "store/shared.h"
#include "sync/engine.h"
#include "sync/passwordcommand.h"
#include "sync/passwordstore.h"
#include "sync/syncsettings.h"
#include "sync/syncstate.h"
#include "syncdialog/keychainstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace jot {

namespace {

constexpr int kPeriodMs = 5 * 60 * 1000;
constexpr int kAfterSaveMs = 5 * 1000;
// The waits after the first failures, in minutes; every 5 after them.
constexpr int kRetryMinutes[] = {1, 2, 5, 10};

QString recordKey(const TaskRow& row) {
    return row[ColStamp] + QChar(0x1f) + row[ColText] + QChar(0x1f) + row[ColAlarm];
}

} // namespace

SyncController::SyncController(Shared& shared, const QString& dataDir, QObject* parent)
    : QObject(parent), m_shared(shared), m_dataDir(dataDir), m_began(jot::now()) {
    setObjectName(QStringLiteral("m_sync"));
}

SyncController::~SyncController() = default;

bool SyncController::configured() const {
    return QFileInfo::exists(sync::syncConfigPath());
}

void SyncController::ensureTimers() {
    if (m_periodic)
        return;
    m_transport = new DavTransport(this);
    m_transport->setObjectName(QStringLiteral("m_transport"));
    connect(m_transport, &DavTransport::answered, this, [this](const sync::Reply& reply) {
        if (!m_engine)
            return;
        m_engine->take(reply);
        pump();
    });
    m_periodic = new QTimer(this);
    m_periodic->setObjectName(QStringLiteral("m_syncPeriodic"));
    m_periodic->setInterval(kPeriodMs);
    connect(m_periodic, &QTimer::timeout, this, &SyncController::startRound);
    m_periodic->start();
    m_afterSave = new QTimer(this);
    m_afterSave->setObjectName(QStringLiteral("m_syncAfterSave"));
    m_afterSave->setSingleShot(true);
    m_afterSave->setInterval(kAfterSaveMs);
    connect(m_afterSave, &QTimer::timeout, this, &SyncController::startRound);
    m_retry = new QTimer(this);
    m_retry->setObjectName(QStringLiteral("m_syncRetry"));
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &SyncController::startRound);
    m_digest = recordsDigest();
}

void SyncController::begin() {
    if (!configured())
        return; // no timer, no wake-up: nothing to sync with
    ensureTimers();
    startRound();
}

void SyncController::syncNow() {
    if (!configured())
        return;
    ensureTimers();
    // Asked by the user: a password refused before is tried once more.
    m_refusedSettings.clear();
    startRound();
}

void SyncController::listSaved() {
    if (!m_periodic)
        return;
    const QByteArray digest = recordsDigest();
    if (digest == m_digest)
        return; // a save of notes' places or of nothing new: the server has it all
    m_digest = digest;
    const QDateTime now = jot::now();
    for (const TaskRow& row : tasksHere()) {
        if (!m_edited.contains(recordKey(row)))
            m_edited.insert(recordKey(row), now);
    }
    // Restarted at each save: a burst of saves is one round.
    m_afterSave->start();
}

void SyncController::deleted(const QList<TaskRow>& rows) {
    if (!configured())
        return;
    state()->markDeleted(rows);
}

bool SyncController::hasForeignRule(const TaskRow& row) const {
    return m_state && m_state->hasForeignRule(row);
}

std::optional<QDateTime> SyncController::nextForeignOccurrence(const TaskRow& row,
                                                               const QDateTime& after) const {
    if (!m_state)
        return std::nullopt;
    return m_state->nextForeignOccurrence(row, after);
}

sync::SyncState* SyncController::state() {
    if (!m_state)
        m_state = std::make_unique<sync::SyncState>(sync::syncStateDir(m_dataDir));
    return m_state.get();
}

void SyncController::startRound() {
    if (running()) {
        m_again = true;
        return;
    }
    m_retry->stop();
    m_afterSave->stop();
    const QString path = sync::syncConfigPath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setLine(QString()); // set up no more: nothing to say
        return;
    }
    m_settingsBytes = file.readAll();
    if (!m_refusedSettings.isEmpty()) {
        if (m_settingsBytes == m_refusedSettings)
            return; // the password was refused: only new settings try again
        m_refusedSettings.clear();
    }
    QString why;
    const std::optional<sync::SyncSettings> settings = sync::readSyncSettings(path, &why);
    if (!settings)
        return setLine(tr("Not synced: %1").arg(why));
    m_list = settings->list;
    m_user = settings->user;
    m_transport->setAcceptedCertificate(settings->certificate);
    if (settings->passwordCommand.isEmpty())
        return passwordFromKeyring();

    // The password is asked afresh at each round, so that a changed one is taken, and run
    // without blocking: a password manager may ask the user first.
    if (!m_command) {
        m_command = new sync::PasswordCommand(this);
        connect(m_command, &sync::PasswordCommand::finished, this,
                [this](const QString& password, const QString& why) {
                    m_askingCommand = false;
                    if (password.isEmpty())
                        return failed(why, true);
                    withPassword(password);
                });
    }
    m_askingCommand = true;
    m_command->start(settings->passwordCommand);
}

void SyncController::passwordFromKeyring() {
    m_askingKeyring = true;
    QPointer<SyncController> self(this);
    sync::findPassword(desktopKeyring(), sync::passwordKey(m_user, m_list),
                       [self](const sync::PasswordAnswer& answer) {
                           if (!self)
                               return;
                           self->m_askingKeyring = false;
                           if (answer.ok)
                               return self->withPassword(answer.password);
                           self->passwordMissing(answer.error);
                       });
}

// No keyring, or none that keeps the password: the user types it again in the set-up, which
// keeps it for this run; until then no round is tried.
void SyncController::passwordMissing(const QString& why) {
    m_retry->stop();
    m_refusedSettings = m_settingsBytes;
    Q_EMIT notice(tr("Syncing with the CalDAV server waits for the password of %1: type it "
                     "again in Options, Sync with a CalDAV server.")
                      .arg(m_user));
    failed(why.isEmpty() ? tr("the keyring keeps no password for %1").arg(m_user)
                         : tr("no password: %1").arg(why),
           false);
}

void SyncController::withPassword(const QString& password) {
    m_transport->setCredentials(m_user, password);
    m_engine = std::make_unique<sync::Engine>(*state(), m_list, jot::now());
    QList<sync::LocalTask> here;
    for (const TaskRow& row : tasksHere())
        here.append({row, m_edited.value(recordKey(row))});
    m_engine->start(here);
    pump();
}

void SyncController::pump() {
    if (const std::optional<sync::Request> request = m_engine->next())
        return m_transport->send(*request);
    finishRound();
}

void SyncController::finishRound() {
    const sync::RoundResult result = m_engine->result();
    // What the round learnt goes into the list even when it stopped midway: the state
    // already counts it as synced.
    apply();
    m_engine.reset();
    if (result.passwordRefused) {
        m_retry->stop();
        m_refusedSettings = m_settingsBytes;
        const QString text = tr("The CalDAV server refused the password of %1; syncing waits "
                                "until %2 changes.")
                                 .arg(m_user, QDir::toNativeSeparators(sync::syncConfigPath()));
        Q_EMIT notice(text);
        failed(tr("the server refused the password"), false, result.waiting);
    } else if (!result.error.isEmpty()) {
        failed(result.error, true, result.waiting);
    } else {
        m_failures = 0;
        m_lastSynced = jot::now();
        setLine(result.notShown == 1  ? tr("One task of the server is not shown: the list holds "
                                            "100 tasks at most.")
                : result.notShown > 1 ? tr("%1 tasks of the server are not shown: the list "
                                           "holds 100 tasks at most.")
                                            .arg(result.notShown)
                                      : QString());
    }
    Q_EMIT roundEnded();
    if (m_again) {
        m_again = false;
        QTimer::singleShot(0, this, &SyncController::startRound);
    }
}

void SyncController::apply() {
    const sync::RoundResult& result = m_engine->result();
    TaskList& list = m_shared.list;
    // A task is found as the round saw it; one edited here meanwhile is left to the next
    // round, which sees the edit.
    auto find = [&list](const TaskRow& row) {
        for (int r = 1; r < list.rows(); ++r) {
            if (!list.isPlaceholder(r) && list.cell(r, ColStamp) == row[ColStamp] &&
                list.cell(r, ColText) == row[ColText] && list.cell(r, ColAlarm) == row[ColAlarm])
                return r;
        }
        return 0;
    };
    bool touched = false;
    {
        const NoAutoSave noSave(m_shared);
        for (const TaskRow& gone : result.removed) {
            if (const int r = find(gone)) {
                Q_EMIT removingTask(r);
                list.removeTask(r);
                touched = true;
            }
        }
        for (const auto& [was, becomes] : result.changed) {
            if (const int r = find(was)) {
                Q_EMIT changingTask(r);
                for (const int col : {ColStamp, ColText, ColAlarm, ColFired})
                    list.setCell(r, col, becomes[col]);
                touched = true;
            }
        }
        if (const QList<TaskRow> added = result.added.mid(0, list.room()); !added.isEmpty()) {
            list.appendTasks(added);
            touched = true;
        }
    }
    if (!touched)
        return;
    m_digest = recordsDigest(); // what came from the server needs no round of its own
    m_shared.sauver_liste();
}

void SyncController::failed(const QString& why, bool retry, int waiting) {
    const QDateTime since = m_lastSynced.isValid() ? m_lastSynced : m_began;
    QString text = tr("Not synced since %1: %2").arg(since.toString(QStringLiteral("HH:mm")), why);
    if (waiting < 0)
        waiting = state()->waiting();
    if (waiting == 1)
        text += QLatin1Char(' ') + tr("(one change waiting)");
    else if (waiting > 1)
        text += QLatin1Char(' ') + tr("(%1 changes waiting)").arg(waiting);
    setLine(text);
    if (!retry)
        return;
    const int minutes = m_failures < int(std::size(kRetryMinutes)) ? kRetryMinutes[m_failures] : 5;
    ++m_failures;
    m_retry->start(minutes * 60 * 1000);
}

void SyncController::setLine(const QString& text) {
    if (text == m_line)
        return;
    m_line = text;
    Q_EMIT lineChanged(text);
}

QList<TaskRow> SyncController::tasksHere() const {
    QList<TaskRow> rows;
    const TaskList& list = m_shared.list;
    for (int r = 1; r < list.rows(); ++r) {
        if (!list.isPlaceholder(r))
            rows.append(list.task(r));
    }
    return rows;
}

QByteArray SyncController::recordsDigest() const {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const TaskRow& row : tasksHere())
        hash.addData(recordKey(row).toUtf8() + '\x1e');
    return hash.result();
}

} // namespace jot
