#include "mainwin/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace jot {

namespace {
const QByteArray kShow = QByteArrayLiteral("show\n");
constexpr int kConnectTimeoutMs = 2000;
} // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_lock(dataDir + QStringLiteral("jotlark.lock")) {
    // A lock held for hours is not stale: only a dead owner makes it so.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& dataDir) {
    const QByteArray path = QDir::cleanPath(QDir(dataDir).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("jotlark-") + QString::fromLatin1(hash.left(20));
}

bool SingleInstance::acquire() {
    if (m_lock.tryLock(0)) {
        listen();
        return true;
    }
    // A directory that cannot hold a lock file must not keep the user from the tasks.
    if (m_lock.error() != QLockFile::LockFailedError)
        return true;

    QLocalSocket socket;
    socket.connectToServer(serverName(m_dataDir));
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        socket.write(kShow);
        socket.waitForBytesWritten(kConnectTimeoutMs);
        socket.disconnectFromServer();
    }
    return false;
}

void SingleInstance::listen() {
    const QString name = serverName(m_dataDir);
    // Ours now that the lock is held: a socket left by a crashed run is stale.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // Any message is the request; its words leave room for more.
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                socket->readAll();
                Q_EMIT activationRequested();
            });
        }
    });
}

} // namespace jot
