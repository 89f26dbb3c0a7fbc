// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <unistd.h>

namespace jot {

namespace {
const QByteArray kShow = QByteArrayLiteral("show\n");
const QByteArray kShown = QByteArrayLiteral("ok\n");
constexpr int kAnswerMs = 2000;
constexpr int kRetryMs = 100;

QString programName(QString exe) {
    exe.remove(QLatin1String(" (deleted)")); // replaced by an update while it runs
    return QFileInfo(exe).fileName();
}

// A process of this user, running this program. A lock naming this very process was left
// by an earlier boot: the number has come round again.
bool liveProgramOfMine(qint64 pid) {
    if (pid <= 0 || pid == QCoreApplication::applicationPid())
        return false;
    const QString proc = QStringLiteral("/proc/") + QString::number(pid);
    const QFileInfo info(proc);
    if (!info.exists() || info.ownerId() != ::getuid())
        return false;
    return programName(QFileInfo(proc + QStringLiteral("/exe")).symLinkTarget()) ==
           programName(QCoreApplication::applicationFilePath());
}

bool privateDir(const QString& path) {
    const QFileInfo info(path);
    constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                           QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return !path.isEmpty() && info.isDir() && info.ownerId() == ::getuid() &&
           !(info.permissions() & kOthers);
}

int remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(qMax<qint64>(deadline.remainingTime(), 0));
}
} // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_lockPath(dataDir + QStringLiteral("jotlark.lock")),
      m_lock(m_lockPath) {
    // A lock held for hours is not stale: only a holder that is gone makes it so.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath(const QString& dataDir) {
    // Not in /tmp, where another user could take the name first and receive the requests.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!privateDir(runtime))
        return dataDir + QStringLiteral("jotlark.socket");
    const QByteArray path = QDir::cleanPath(QDir(dataDir).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex();
    return runtime + QStringLiteral("/jotlark-") + QString::fromLatin1(hash.left(20));
}

bool SingleInstance::lockIfFree() {
    return m_lock.tryLock(0);
}

SingleInstance::Outcome SingleInstance::acquire() {
    if (m_lock.isLocked() || lockIfFree()) {
        listenSoon();
        return Outcome::Run;
    }
    // A directory that cannot hold a lock file must not keep the user from the tasks.
    if (m_lock.error() != QLockFile::LockFailedError) {
        qWarning().noquote() << tr("Jotlark: cannot create the lock file %1; a second start "
                                   "will not find this one.")
                                    .arg(m_lockPath);
        return Outcome::Run;
    }
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        if (askToShow(remaining(deadline)))
            return Outcome::HandedOver;
        readOwner();
        if (m_ownerKnown && !m_ownerHost.isEmpty() && m_ownerHost != QSysInfo::machineHostName())
            return Outcome::OtherHost;
        if (m_ownerKnown && !liveProgramOfMine(m_ownerPid))
            break;
        // An unreadable lock may be one being written this instant: its holder gets the
        // same two seconds to answer.
        if (deadline.hasExpired()) {
            if (m_ownerKnown)
                return Outcome::Silent;
            break;
        }
        QThread::msleep(kRetryMs);
        if (m_lock.tryLock(0)) { // its holder has just ended
            listenSoon();
            return Outcome::Run;
        }
    }
    return takeOver() ? Outcome::Run : Outcome::Failed;
}

bool SingleInstance::takeOver() {
    // Its holder is gone, or the user chose to run beside it: nothing else may remove it.
    m_lock.removeStaleLockFile();
    if (!m_lock.tryLock(0))
        return false;
    listenSoon();
    return true;
}

bool SingleInstance::askToShow(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_dataDir));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // An answer, not just the connection: the system accepts it for a program that hangs.
    const QDeadlineTimer deadline(timeoutMs);
    socket.write(kShow);
    return socket.waitForBytesWritten(remaining(deadline)) &&
           socket.waitForReadyRead(remaining(deadline)) && socket.readAll() == kShown;
}

void SingleInstance::readOwner() {
    QString app;
    m_ownerKnown = m_lock.getLockInfo(&m_ownerPid, &m_ownerHost, &app);
}

void SingleInstance::listenSoon() {
    // Once the event loop runs, so after the main window is shown: making the socket takes
    // longer than the window's start can spare, and a later start meanwhile keeps asking
    // for two seconds.
    QTimer::singleShot(0, this, &SingleInstance::listen);
}

void SingleInstance::listen() {
    const QString path = socketPath(m_dataDir);
    // Ours now that the lock is held: a socket left by a crashed run is stale.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        // The program still runs; only a second start cannot reach it.
        qWarning().noquote() << tr("Jotlark: cannot listen on %1 (%2); a second start will not "
                                   "bring this one to the front.")
                                    .arg(path, m_server->errorString());
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // Any message is the request; its words leave room for more.
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                socket->readAll();
                socket->write(kShown);
                Q_EMIT activationRequested();
            });
        }
    });
}

} // namespace jot
