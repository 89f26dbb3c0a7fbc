// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/davtransport.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

using jot::sync::kMaxBody;
using jot::sync::Reply;
using jot::sync::Request;

namespace {

constexpr int kStallMs = 30 * 1000;
constexpr int kMaxRedirects = 5;

bool sameOrigin(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

DavTransport::DavTransport(QObject* parent)
    : QObject(parent), m_nam(new QNetworkAccessManager(this)), m_stall(new QTimer(this)) {
    m_stall->setSingleShot(true);
    m_stall->setInterval(kStallMs);
    connect(m_stall, &QTimer::timeout, this, [this] {
        m_abortReason = tr("no answer in %n seconds", nullptr, m_stall->interval() / 1000);
        if (m_reply)
            m_reply->abort();
    });
}

DavTransport::~DavTransport() {
    cancel();
}

void DavTransport::setCredentials(const QString& user, const QString& password) {
    m_authorization = "Basic " + (user.toUtf8() + ':' + password.toUtf8()).toBase64();
}

void DavTransport::setAcceptedCertificate(const QByteArray& sha256Hex) {
    m_acceptedCertificate = sha256Hex.toLower();
}

void DavTransport::setStallTimeoutForTests(int ms) {
    m_stall->setInterval(ms);
}

bool DavTransport::busy() const {
    return m_busy;
}

void DavTransport::send(const Request& request) {
    if (m_busy) {
        m_queue.append(request);
        return;
    }
    start(request);
}

void DavTransport::start(const Request& request) {
    m_busy = true;
    m_request = request;
    m_url = request.url;
    m_redirects = 0;
    issue();
}

void DavTransport::cancel() {
    m_queue.clear();
    m_stall->stop();
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_busy = false;
}

void DavTransport::issue() {
    m_body.clear();
    m_abortReason.clear();
    m_untrusted.clear();
    QNetworkRequest req(m_url);
    // Qt's own redirects turn PROPFIND and REPORT into GET: they are followed here instead.
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                     QNetworkRequest::ManualRedirectPolicy);
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    req.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Without it Qt asks for gzip, and a compressing proxy rewrites the ETags If-Match needs.
    req.setRawHeader("Accept-Encoding", "identity");
    // Sent at once: waiting for the 401 doubles every request, and the password only ever
    // goes to the list's own server.
    if (!m_authorization.isEmpty() && sameOrigin(m_url, m_request.url))
        req.setRawHeader("Authorization", m_authorization);
    for (const auto& [name, value] : m_request.headers)
        req.setRawHeader(name, value);

    QNetworkReply* reply = m_nam->sendCustomRequest(req, m_request.method, m_request.body);
    m_reply = reply;
    connect(reply, &QNetworkReply::sslErrors, this, &DavTransport::onSslErrors);
    connect(reply, &QNetworkReply::readyRead, this, &DavTransport::onReadyRead);
    connect(reply, &QNetworkReply::uploadProgress, m_stall, qOverload<>(&QTimer::start));
    connect(reply, &QNetworkReply::metaDataChanged, m_stall, qOverload<>(&QTimer::start));
    connect(reply, &QNetworkReply::finished, this, &DavTransport::onFinished);
    m_stall->start();
}

void DavTransport::onSslErrors(const QList<QSslError>& errors) {
    QSslCertificate peer =
        m_reply ? m_reply->sslConfiguration().peerCertificate() : QSslCertificate();
    if (peer.isNull() && !errors.isEmpty())
        peer = errors.first().certificate();
    const QByteArray fingerprint = peer.digest(QCryptographicHash::Sha256).toHex();
    if (!fingerprint.isEmpty() && !m_acceptedCertificate.isEmpty() &&
        fingerprint == m_acceptedCertificate) {
        m_reply->ignoreSslErrors(errors);
        return;
    }
    m_untrusted = fingerprint;
}

void DavTransport::onReadyRead() {
    m_stall->start();
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (length > kMaxBody || m_body.size() + m_reply->bytesAvailable() > kMaxBody) {
        m_abortReason = tr("the answer is larger than %n MiB", nullptr, int(kMaxBody >> 20));
        m_reply->abort();
        return;
    }
    m_body += m_reply->readAll();
}

void DavTransport::onFinished() {
    m_stall->stop();
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    if (m_abortReason.isEmpty() && reply->bytesAvailable() > 0) {
        if (m_body.size() + reply->bytesAvailable() > kMaxBody)
            m_abortReason = tr("the answer is larger than %n MiB", nullptr, int(kMaxBody >> 20));
        else
            m_body += reply->readAll();
    }
    if (!m_abortReason.isEmpty())
        return fail(m_abortReason);

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (!m_untrusted.isEmpty()) {
            Reply r;
            r.error = tr("the server's certificate is not trusted");
            r.untrustedCertificate = m_untrusted;
            return finish(r);
        }
        switch (reply->error()) {
        case QNetworkReply::HostNotFoundError:
            return fail(tr("host %1 not found").arg(m_url.host()));
        case QNetworkReply::ConnectionRefusedError:
            return fail(tr("connection refused by %1").arg(m_url.host()));
        case QNetworkReply::TimeoutError:
            return fail(tr("the connection timed out"));
        case QNetworkReply::RemoteHostClosedError:
            return fail(tr("the server closed the connection"));
        case QNetworkReply::SslHandshakeFailedError:
            return fail(tr("no secure connection to %1").arg(m_url.host()));
        default:
            return fail(reply->errorString());
        }
    }

    const int code = status.toInt();
    if (isRedirect(code)) {
        const QUrl target =
            m_url.resolved(QUrl::fromEncoded(reply->rawHeader("Location"), QUrl::StrictMode));
        if (!target.isValid() || reply->rawHeader("Location").isEmpty())
            return fail(tr("a redirect without an address"));
        if (++m_redirects > kMaxRedirects)
            return fail(tr("more than %n redirects", nullptr, kMaxRedirects));
        if (m_url.scheme() == QLatin1String("https") && target.scheme() != QLatin1String("https"))
            return fail(tr("redirected to an address that is not encrypted"));
        m_url = target;
        return issue();
    }

    Reply r;
    r.status = code;
    r.etag = reply->rawHeader("ETag");
    r.body = m_body;
    finish(r);
}

void DavTransport::fail(const QString& why) {
    Reply r;
    r.error = why;
    finish(r);
}

void DavTransport::finish(const Reply& reply) {
    m_busy = false;
    m_body.clear();
    // The next one goes before this answer is told, so that requests keep their order.
    if (!m_queue.isEmpty())
        start(m_queue.takeFirst());
    Q_EMIT answered(reply);
}
