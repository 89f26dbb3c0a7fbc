// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/davrequest.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QSslError;
class QTimer;

// Carries one request at a time to a CalDAV server and back, never blocking: Basic
// credentials, Accept-Encoding identity (a proxy's compression rewrites ETags), redirects
// followed by hand with the same method (at most 5), 30 s without an answer is an error,
// answers bounded by kMaxBody, and a certificate the system does not trust accepted only when
// its SHA-256 is the accepted one.
class DavTransport : public QObject {
    Q_OBJECT
public:
    explicit DavTransport(QObject* parent = nullptr);
    ~DavTransport() override;

    void setCredentials(const QString& user, const QString& password);
    void setAcceptedCertificate(const QByteArray& sha256Hex); // empty: only trusted ones
    void send(const jot::sync::Request& request);             // answered() follows, once
    bool busy() const;
    // Drops the request under way, if any: no answer follows.
    void cancel();

    // How long a request may go without progress; tests shorten the 30 s.
    void setStallTimeoutForTests(int ms);

Q_SIGNALS:
    void answered(const jot::sync::Reply& reply);

private:
    void start(const jot::sync::Request& request);
    void issue(); // m_request to m_url
    void onSslErrors(const QList<QSslError>& errors);
    void onReadyRead();
    void onFinished();
    void finish(const jot::sync::Reply& reply);
    void fail(const QString& why);

    QNetworkAccessManager* m_nam = nullptr;
    QTimer* m_stall = nullptr;
    QByteArray m_authorization; // the Basic header's value, sent only to the list's origin
    QByteArray m_acceptedCertificate;
    QList<jot::sync::Request> m_queue; // sent when the one under way is answered

    jot::sync::Request m_request; // under way
    QUrl m_url;                   // where it goes now, after redirects
    int m_redirects = 0;
    bool m_busy = false;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QString m_abortReason; // why this side aborted the reply
    QByteArray m_untrusted;
};
