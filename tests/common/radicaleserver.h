// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/tempdatahome.h"

#include <QtNetwork>

// A Radicale of the test's own on 127.0.0.1: a free port, a throwaway folder, htpasswd
// accounts and options of its own, no configuration file (Debian's expects a proxy).
// The user's task list is there from the start. It also plays "another client" of the same
// list: it puts, gets and lists items itself.
class RadicaleServer {
public:
    struct Answer {
        int status = 0;
        QByteArray body;
    };

    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("radicale")); }
    static QString user() { return QStringLiteral("alice"); }
    static QString password() { return QStringLiteral("s3cret"); }
    static quint16 freePort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return probe.serverPort();
    }

    // Over TLS with a self-signed certificate of its own (made with openssl) when `tls`.
    explicit RadicaleServer(bool tls = false) : m_tls(tls) {}
    RadicaleServer(const RadicaleServer&) = delete;
    ~RadicaleServer() { stop(); }

    // Starts it (again: same port, accounts and items) and waits until it answers; false with
    // error() when it cannot.
    bool start() {
        if (m_port == 0)
            m_port = freePort();
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        if (m_tls && !QFile::exists(certificatePath())) {
            QProcess openssl;
            openssl.setStandardErrorFile(QProcess::nullDevice());
            openssl.start(QStringLiteral("openssl"),
                          QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 "
                                         "-nodes -days 2 -subj /CN=127.0.0.1 -keyout %1 -out %2")
                              .arg(key, certificatePath())
                              .split(QLatin1Char(' ')));
            if (!openssl.waitForFinished() || openssl.exitCode() != 0)
                return fail(QStringLiteral("openssl cannot make a certificate"));
        }
        const QString users = m_dir.filePath(QStringLiteral("users"));
        const QString list =
            m_dir.filePath(QStringLiteral("collections/collection-root/%1/tasks").arg(user()));
        if (!testing::writeFile(users, (user() + ':' + password() + "\nbob:b0b\n").toUtf8()) ||
            !testing::writeFile(list + QStringLiteral("/.Radicale.props"),
                                R"({"C:supported-calendar-component-set": "VTODO", )"
                                R"("D:displayname": "Tasks", "tag": "VCALENDAR"})"))
            return fail(QStringLiteral("cannot write the accounts"));
        QString options =
            QStringLiteral("--config= --server-hosts=127.0.0.1:%1 --auth-type=htpasswd "
                           "--auth-htpasswd-filename=%2 --auth-htpasswd-encryption=plain "
                           "--auth-delay=0 --rights-type=owner_only --web-type=none "
                           "--storage-filesystem-folder=%3 --logging-level=warning")
                .arg(m_port)
                .arg(users, m_dir.filePath(QStringLiteral("collections")));
        if (m_tls)
            options += QStringLiteral(" --server-ssl=True --server-certificate=%1 --server-key=%2")
                           .arg(certificatePath(), key);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setChildProcessModifier(testing::endWithParent);
        m_process.start(program(), options.split(QLatin1Char(' ')));
        if (!m_process.waitForStarted())
            return fail(QStringLiteral("radicale does not start"));
        for (int tries = 0; tries < 200; ++tries) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            if (m_process.state() != QProcess::Running)
                return fail(QStringLiteral("radicale ended at start"));
            QThread::msleep(50);
        }
        return fail(QStringLiteral("radicale does not answer"));
    }

    // At once, as a machine switched off: it keeps each item whole on disk all the same.
    void stop() {
        m_process.kill();
        m_process.waitForFinished();
    }

    QString error() const { return m_error; }
    QUrl base() const {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(m_port));
    }
    QString certificatePath() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    // The SHA-256 of the certificate, as hex.
    QByteArray fingerprint() const {
        return QSslCertificate::fromPath(certificatePath())
            .value(0)
            .digest(QCryptographicHash::Sha256)
            .toHex();
    }
    // The user's task list: a calendar of VTODOs.
    QUrl list() const { return base().resolved(QUrl(user() + QStringLiteral("/tasks/"))); }

    // As another client: the item `name` (as "x.ics") of the list.
    Answer put(const QString& name, const QByteArray& ics) {
        return request("PUT", list().resolved(QUrl(name)), ics,
                       {{"Content-Type", "text/calendar; charset=utf-8"}});
    }

    // Every item of the list, by name, as the server keeps it.
    QMap<QString, QByteArray> items() const {
        QMap<QString, QByteArray> found;
        const QDir dir(list().path().prepend(m_dir.filePath("collections/collection-root")));
        for (const QString& name : dir.entryList({QStringLiteral("*.ics")}, QDir::Files))
            found.insert(name, testing::readFile(dir.filePath(name)));
        return found;
    }

    // Any request, as `who` (the list's owner by default), answered before it returns.
    Answer request(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
                   const QList<QPair<QByteArray, QByteArray>>& headers = {},
                   const QString& who = user(), const QString& pass = password()) {
        QNetworkRequest req(url);
        req.setRawHeader("Authorization",
                         "Basic " + (who + QLatin1Char(':') + pass).toUtf8().toBase64());
        for (const auto& [name, value] : headers)
            req.setRawHeader(name, value);
        QNetworkReply* reply = m_nam.sendCustomRequest(req, method, body);
        // Another client that knows the test's own certificate.
        QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                         [reply] { reply->ignoreSslErrors(); });
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll()};
    }

private:
    bool fail(const QString& why) {
        m_error = why;
        return false;
    }

    bool m_tls = false;
    // In memory where there is a tmpfs: Radicale syncs each item to disk, which tests and
    // benchmarks need not wait for.
    QTemporaryDir m_dir{QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/radicale-XXXXXX")
                                                  : QDir::tempPath() + "/radicale-XXXXXX"};
    QProcess m_process;
    QNetworkAccessManager m_nam;
    quint16 m_port = 0;
    QString m_error;
};

// Skips the test, saying why, where Radicale is not installed.
#define SKIP_WITHOUT_RADICALE()                                                                    \
    do {                                                                                           \
        if (RadicaleServer::program().isEmpty())                                                   \
            QSKIP("radicale is not installed (scripts/test.sh installs it)");                      \
    } while (false)
