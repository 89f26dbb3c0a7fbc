// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QXmlStreamReader>
#include <csignal>
#include <sys/prctl.h>

// A Radicale of the test's own on 127.0.0.1: a free port, a throwaway folder, htpasswd
// accounts and a configuration of its own (Debian's /etc/radicale/config expects a proxy).
// It also plays "another client" of the same list: it puts, gets and lists items itself.
class RadicaleServer {
public:
    struct Answer {
        int status = 0;
        QByteArray etag;
        QByteArray body;
    };

    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("radicale")); }
    static QString user() { return QStringLiteral("alice"); }
    static QString password() { return QStringLiteral("s3cret"); }

    // Over TLS with a self-signed certificate of its own (made with openssl) when `tls`.
    explicit RadicaleServer(bool tls = false) : m_tls(tls) {}
    RadicaleServer(const RadicaleServer&) = delete;
    ~RadicaleServer() { stop(); }

    // Starts it on a free port and waits until it answers; false with error() when it cannot.
    bool start() {
        if (m_port == 0) {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost))
                return fail(QStringLiteral("no free port"));
            m_port = probe.serverPort();
        }
        const QString config = m_dir.filePath(QStringLiteral("config"));
        QString tls;
        if (m_tls) {
            const QString key = m_dir.filePath(QStringLiteral("key.pem"));
            if (!QFile::exists(certificatePath())) {
                QProcess openssl;
                openssl.setStandardErrorFile(QProcess::nullDevice());
                openssl.start(QStringLiteral("openssl"),
                              QStringLiteral("req -x509 -newkey rsa:2048 -nodes -days 2 -subj "
                                             "/CN=127.0.0.1 -keyout %1 -out %2")
                                  .arg(key, certificatePath())
                                  .split(QLatin1Char(' ')));
                if (!openssl.waitForFinished() || openssl.exitCode() != 0)
                    return fail(QStringLiteral("openssl cannot make a certificate"));
            }
            tls = QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n")
                      .arg(certificatePath(), key);
        }
        QFile users(m_dir.filePath(QStringLiteral("users")));
        QFile conf(config);
        if (!users.open(QIODevice::WriteOnly) || !conf.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write the configuration"));
        users.write((user() + QLatin1Char(':') + password() + QLatin1Char('\n')).toUtf8());
        users.write("bob:b0b\n");
        conf.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%4"
                                  "[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                                  "htpasswd_encryption = plain\ndelay = 0\n"
                                  "[rights]\ntype = owner_only\n"
                                  "[storage]\nfilesystem_folder = %3\n"
                                  "[web]\ntype = none\n[logging]\nlevel = warning\n")
                       .arg(m_port)
                       .arg(users.fileName(), m_dir.filePath(QStringLiteral("collections")), tls)
                       .toUtf8());
        users.close();
        conf.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(program(), {QStringLiteral("-C"), config});
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

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // The same server again: same port, same accounts, same items.
    bool restart() {
        stop();
        return start();
    }

    QString error() const { return m_error; }
    quint16 port() const { return m_port; }
    QUrl base() const {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(m_port));
    }
    QString certificatePath() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    // The user's task list: a calendar of VTODOs.
    QUrl list() const { return base().resolved(QUrl(user() + QStringLiteral("/tasks/"))); }

    bool makeList() {
        const QByteArray body =
            "<?xml version=\"1.0\"?><C:mkcalendar xmlns:D=\"DAV:\" "
            "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
            "<D:displayname>Tasks</D:displayname><C:supported-calendar-component-set>"
            "<C:comp name=\"VTODO\"/></C:supported-calendar-component-set>"
            "</D:prop></D:set></C:mkcalendar>";
        return request("MKCALENDAR", list(), body).status == 201;
    }

    // As another client: the item `name` (as "x.ics") of the list.
    Answer put(const QString& name, const QByteArray& ics, const QByteArray& ifMatch = {}) {
        QList<QPair<QByteArray, QByteArray>> headers{
            {"Content-Type", "text/calendar; charset=utf-8"}};
        if (!ifMatch.isEmpty())
            headers.append({"If-Match", ifMatch});
        return request("PUT", list().resolved(QUrl(name)), ics, headers);
    }
    Answer get(const QString& name) { return request("GET", list().resolved(QUrl(name))); }
    Answer remove(const QString& name) { return request("DELETE", list().resolved(QUrl(name))); }

    // Every item of the list, by name, as the server holds it.
    QMap<QString, QByteArray> items() {
        QMap<QString, QByteArray> found;
        const Answer listing = request("PROPFIND", list(),
                                       "<?xml version=\"1.0\"?><D:propfind xmlns:D=\"DAV:\">"
                                       "<D:prop><D:getetag/></D:prop></D:propfind>",
                                       {{"Depth", "1"}});
        QXmlStreamReader xml(listing.body);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"href")
                continue;
            const QString name = QUrl(xml.readElementText()).fileName();
            if (name.endsWith(QLatin1String(".ics")))
                found.insert(name, get(name).body);
        }
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
        Answer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.etag = reply->rawHeader("ETag");
        answer.body = reply->readAll();
        reply->deleteLater();
        return answer;
    }

private:
    bool fail(const QString& why) {
        m_error = why;
        return false;
    }

    bool m_tls = false;
    QTemporaryDir m_dir;
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
