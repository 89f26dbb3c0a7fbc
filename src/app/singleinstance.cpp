// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/singleinstance.h"
#include "store/clock.h"

#include "store/datadir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace jot {

namespace {
constexpr int kMaxAnswerBytes = 256; // every answer is a few words
constexpr int kAnswerMs = 2000;
constexpr int kRetryMs = 100;
constexpr int kMaxSocketPath = 107; // a local socket's name, without its final NUL
constexpr int kListenRetryMs = 5;   // the start that bound the name listens a moment later

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

// The session's runtime folder: per machine, private, emptied at log-out. Empty when there
// is none fit for the lock and the socket.
QString runtimeDir() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return privateDir(runtime) ? QDir::cleanPath(runtime) : QString();
}

// A hash of where the data directory really is: one name per directory, short whatever its
// path.
QByteArray hashFor(const QString& dataDir) {
    return jot::dataDirHash(dataDir).toLatin1();
}

QString nameFor(const QString& dataDir) {
    return QStringLiteral("jotlark-") + QString::fromLatin1(hashFor(dataDir));
}

// An abstract socket has no file and so no permissions: anyone may bind or reach one. Only a
// process of this user, at either end, is answered or believed.
bool peerIsMine(qintptr fd, qint64* pid = nullptr) {
    ucred cred{};
    socklen_t size = sizeof cred;
    if (fd < 0 || ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0 ||
        cred.uid != ::getuid())
        return false;
    if (pid)
        *pid = cred.pid;
    return true;
}

socklen_t abstractAddress(const QByteArray& name, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    const size_t n = qMin(size_t(name.size()), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.constData(), n); // after the NUL that makes it abstract
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
}

// A socket of the name, listening, or -1 with errno set: EADDRINUSE when another process holds
// the name.
int bindAbstract(const QByteArray& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address;
    const socklen_t length = abstractAddress(name, address);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// A socket connected to the name's holder, or -1 with errno set.
int connectAbstract(const QByteArray& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address;
    const socklen_t length = abstractAddress(name, address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool fitsSocket(const QString& path) {
    return QFile::encodeName(path).size() <= kMaxSocketPath;
}

// The temporary folder is shared by all users: the folder of ours in it must be a real
// folder (not a link another user left there), ours, and closed to others.
bool ownPrivateFolder(const QString& dir, bool create) {
    const QByteArray name = QFile::encodeName(dir);
    if (create && ::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// Whether the socket's folder may be used: the runtime folder was checked when chosen.
bool socketFolderFit(const QString& socket, bool create) {
    const QString dir = QFileInfo(socket).path();
    return dir == runtimeDir() || ownPrivateFolder(dir, create);
}

// One start at a time may judge and replace the lock: an exclusive lock on its folder, across
// processes, released when the guard goes.
class FolderGuard {
public:
    explicit FolderGuard(const QString& dir)
        : m_fd(::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        // A folder that cannot be locked (some network file systems) leaves the take-over
        // unguarded, as QLockFile alone does it.
        if (m_fd >= 0)
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderGuard() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderGuard(const FolderGuard&) = delete;
    FolderGuard& operator=(const FolderGuard&) = delete;

private:
    int m_fd;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(qMax<qint64>(deadline.remainingTime(), 0));
}
} // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_lockPath(lockPathFor(dataDir)),
      m_lockPerMachine(!m_lockPath.startsWith(dataDir)), m_lock(m_lockPath) {
    // A lock held for hours is not stale: only a holder that is gone makes it so.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    delete m_claimNotifier; // before its socket goes
    if (m_claim >= 0)
        ::close(m_claim);
}

QByteArray SingleInstance::claimName(const QString& dataDir) {
    return "jotlark-" + QByteArray::number(::getuid()) + '-' + hashFor(dataDir);
}

QString SingleInstance::lockPathFor(const QString& dataDir) {
    // A lock in the data directory travels with it to every machine a sync tool shares it
    // with, which would then find it "from another host" at every start.
    const QString runtime = runtimeDir();
    return runtime.isEmpty()
               ? dataDir + QStringLiteral("jotlark.lock")
               : runtime + QLatin1Char('/') + nameFor(dataDir) + QStringLiteral(".lock");
}

QString SingleInstance::socketPath(const QString& dataDir) {
    // Not in /tmp itself, where another user could take the name first and receive the
    // requests, or answer them.
    const QString name = QLatin1Char('/') + nameFor(dataDir);
    const QString runtime = runtimeDir();
    if (!runtime.isEmpty() && fitsSocket(runtime + name))
        return runtime + name;
    const QString own = QStringLiteral("/jotlark-") + QString::number(::getuid());
    const QString temp = QDir::tempPath() + own + name;
    return fitsSocket(temp) ? temp : QStringLiteral("/tmp") + own + name;
}

bool SingleInstance::lockIfFree() {
    // The name first: a start that cannot bind it gives way to its holder, lock or no lock.
    if (!claim())
        return false;
    // QLockFile removes a lock it finds stale by itself: under the guard, as the take-over.
    const FolderGuard guard(QFileInfo(m_lockPath).path());
    return lockGuarded();
}

bool SingleInstance::claim() {
    if (m_claim >= 0 || m_claimIgnored)
        return true;
    m_claim = bindAbstract(claimName(m_dataDir));
    // Any other failure (a sandbox that forbids it) leaves the lock to decide alone.
    m_claimBusy = m_claim < 0 && errno == EADDRINUSE;
    return !m_claimBusy;
}

bool SingleInstance::lockGuarded() {
    if (!m_lock.tryLock(0))
        return false;
    // QLockFile makes it readable by all, and it names the user's process and machine. The
    // sticky bit keeps the runtime folder's clean-up away from it.
    const mode_t mode = m_lockPerMachine ? (S_ISVTX | 0600) : 0600;
    if (::chmod(QFile::encodeName(m_lockPath).constData(), mode) != 0)
        qWarning().noquote()
            << tr("Jotlark: cannot make the lock file %1 private.").arg(m_lockPath);
    return true;
}

SingleInstance::Outcome SingleInstance::acquire() {
    // Whoever made that folder is not to be asked, nor believed; the start says so.
    const QString path = socketPath(m_dataDir);
    const QFileInfo folder(QFileInfo(path).path());
    m_unfitFolder = (folder.exists() || folder.isSymLink()) && !socketFolderFit(path, false)
                        ? folder.filePath()
                        : QString();
    if (m_lock.isLocked() || lockIfFree()) {
        listenSoon();
        return Outcome::Run;
    }
    if (m_claimBusy) {
        if (const std::optional<Outcome> outcome = askClaimant())
            return *outcome;
        if (lockIfFree()) {
            listenSoon();
            return Outcome::Run;
        }
    }
    // A lock that cannot be made (a full disk) must not keep the user from the tasks, nor
    // start a second program beside one that could not make it either: the socket finds it.
    if (m_lock.error() != QLockFile::LockFailedError) {
        if (const Asked asked = ask(kAnswerMs); asked != Asked::NoAnswer)
            return asked == Asked::Confirmed ? Outcome::HandedOver : Outcome::Declined;
        qWarning().noquote() << tr("Jotlark: cannot create the lock file %1; a second start "
                                   "will find this one only through its socket.")
                                    .arg(m_lockPath);
        listenSoon();
        return Outcome::Run;
    }
    QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        if (const Asked asked = ask(remaining(deadline)); asked != Asked::NoAnswer)
            return asked == Asked::Confirmed ? Outcome::HandedOver : Outcome::Declined;
        readOwner();
        if (m_ownerKnown && !m_ownerHost.isEmpty() && m_ownerHost != QSysInfo::machineHostName())
            return Outcome::OtherHost;
        // An unreadable lock may be one being written this instant: its holder gets the
        // same two seconds to answer.
        if (m_ownerKnown ? !liveProgramOfMine(m_ownerPid) : deadline.hasExpired()) {
            switch (replaceLock(false)) {
            case Replaced::Taken:
                return Outcome::Run;
            case Replaced::Failed:
                return Outcome::Failed;
            case Replaced::Changed: // another start took it first: its turn to answer
                deadline.setRemainingTime(kAnswerMs);
                continue;
            }
        }
        if (deadline.hasExpired())
            return Outcome::Silent;
        QThread::msleep(kRetryMs);
        if (lockIfFree()) { // its holder has just ended
            listenSoon();
            return Outcome::Run;
        }
    }
}

bool SingleInstance::takeOver() {
    return replaceLock(true) == Replaced::Taken;
}

SingleInstance::Replaced SingleInstance::replaceLock(bool whoever) {
    // Two starts that both found the lock stale would otherwise both remove it, the second
    // the lock the first had just made, and both run.
    const FolderGuard guard(QFileInfo(m_lockPath).path());
    const qint64 judgedPid = m_ownerPid;
    const QString judgedHost = m_ownerHost;
    const bool judgedKnown = m_ownerKnown;
    readOwner();
    const bool heldNow =
        m_ownerKnown && ((!m_ownerHost.isEmpty() && m_ownerHost != QSysInfo::machineHostName()) ||
                         liveProgramOfMine(m_ownerPid));
    // The user chose to run beside the holder named in the question, not beside another.
    if (whoever
            ? m_ownerKnown != judgedKnown || m_ownerPid != judgedPid || m_ownerHost != judgedHost
            : heldNow)
        return Replaced::Changed;
    // Its holder is gone, or the user chose to run beside it: nothing else may remove it.
    const QByteArray judgedFile = contents(m_lockPath);
    m_lock.removeStaleLockFile();
    if (lockGuarded()) {
        listenSoon();
        return Replaced::Taken;
    }
    // Another lock now is one made without the guard (by an older version, say): its holder
    // will answer. The same lock is one that cannot go.
    return QFileInfo::exists(m_lockPath) && contents(m_lockPath) != judgedFile ? Replaced::Changed
                                                                               : Replaced::Failed;
}

std::optional<SingleInstance::Outcome> SingleInstance::askClaimant() {
    const QByteArray name = claimName(m_dataDir);
    const QDeadlineTimer deadline(kAnswerMs);
    int fd = -1;
    while ((fd = connectAbstract(name)) < 0) {
        const int error = errno;
        if (error == ECONNREFUSED && claim())
            return std::nullopt; // its holder has just ended: this start holds the name now
        if (error != ECONNREFUSED || deadline.hasExpired()) {
            // Bound and never listening: not a Jotlark; it must not keep the user from the tasks.
            m_claimIgnored = true;
            return std::nullopt;
        }
        QThread::msleep(kListenRetryMs);
    }
    if (!peerIsMine(fd, &m_ownerPid)) {
        ::close(fd);
        qWarning().noquote() << tr("Jotlark: another user holds the socket %1; only the lock "
                                   "file keeps a second Jotlark from starting.")
                                    .arg(QString::fromLatin1(name));
        m_claimIgnored = true;
        return std::nullopt;
    }
    QLocalSocket socket;
    socket.setSocketDescriptor(fd);
    switch (exchange(socket, deadline)) {
    case Asked::Confirmed:
        return Outcome::HandedOver;
    case Asked::Declined:
        return Outcome::Declined;
    case Asked::NoAnswer:
        break;
    }
    return Outcome::Silent;
}

SingleInstance::Asked SingleInstance::ask(int timeoutMs) {
    const QString path = socketPath(m_dataDir);
    if (!socketFolderFit(path, false))
        return Asked::NoAnswer; // see unfitSocketFolder()
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs) || !peerIsMine(socket.socketDescriptor()))
        return Asked::NoAnswer;
    return exchange(socket, QDeadlineTimer(timeoutMs));
}

SingleInstance::Asked SingleInstance::exchange(QLocalSocket& socket,
                                               const QDeadlineTimer& deadline) {
    // An answer, not just the connection: the system accepts it for a program that hangs.
    socket.write(encodeRequest(m_request));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(remaining(deadline)))
            return Asked::NoAnswer;
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() < kMaxAnswerBytes &&
           (socket.bytesAvailable() > 0 || socket.waitForReadyRead(remaining(deadline))))
        answer += socket.read(kMaxAnswerBytes - answer.size());
    if (answer.isEmpty())
        return Asked::NoAnswer;
    // An older program answers "ok" to any request, and shows itself instead.
    return confirms(m_request, answer, &m_declined) ? Asked::Confirmed : Asked::Declined;
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
    if (m_claim >= 0 && !m_claimNotifier) {
        m_claimNotifier = new QSocketNotifier(m_claim, QSocketNotifier::Read);
        connect(m_claimNotifier, &QSocketNotifier::activated, this, [this] {
            int fd = -1;
            while ((fd = ::accept4(m_claim, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
                auto* socket = new QLocalSocket(this);
                if (socket->setSocketDescriptor(fd))
                    adopt(socket);
                else
                    ::close(fd), delete socket;
            }
        });
    }
    const QString path = socketPath(m_dataDir);
    if (!socketFolderFit(path, true)) {
        qWarning().noquote() << tr("Jotlark: no private folder for the socket %1; only a second "
                                   "start that reaches the abstract socket will find this one.")
                                    .arg(path);
        return;
    }
    // Ours now that the lock is held, or that nobody answered on it: a socket left by a
    // crashed run is stale.
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
        while (QLocalSocket* socket = m_server->nextPendingConnection())
            adopt(socket);
    });
}

void SingleInstance::adopt(QLocalSocket* socket) {
    if (!peerIsMine(socket->socketDescriptor())) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
}

void SingleInstance::serve(QLocalSocket* socket) {
    // Every request of a write, in order. A request may come in several pieces; a longer one
    // than any request is not one.
    const QPointer<QLocalSocket> open(socket); // the handler's windows run events
    while (open && (socket->canReadLine() || socket->bytesAvailable() >= kMaxRequestBytes)) {
        QByteArray line = socket->readLine(kMaxRequestBytes);
        const bool whole = line.endsWith('\n');
        line.chop(1);
        const std::optional<Request> request = whole ? decodeRequest(line) : std::nullopt;
        if (!request) {
            // Said so, and nothing more read from a sender that does not speak the same tongue.
            socket->write(encodeAnswer({}, Answer::NotUnderstood));
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            socket->disconnectFromServer();
            return;
        }
        Answer answer;
        if (const QString why = refusal(*request, now()); !why.isEmpty())
            answer = {Answer::Refused, why};
        else if (request->action == Request::Action::Show)
            Q_EMIT activationRequested();
        else
            answer = m_handler ? m_handler(*request) : Answer::NotUnderstood;
        if (open)
            socket->write(encodeAnswer(*request, answer));
    }
}

} // namespace jot
