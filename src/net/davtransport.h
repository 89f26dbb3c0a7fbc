// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/davrequest.h"

#include <QObject>

class QNetworkAccessManager;

// Carries one request at a time to a CalDAV server and back, never blocking: Basic
// credentials, Accept-Encoding identity (a proxy's compression rewrites ETags), redirects
// followed by hand with the same method (at most 5), 30 s without an answer is an error,
// answers bounded by kMaxBody, and a certificate the system does not trust accepted only when
// its SHA-256 is the accepted one.
class DavTransport : public QObject {
    Q_OBJECT
public:
    explicit DavTransport(QObject* parent = nullptr);

    void setCredentials(const QString& user, const QString& password);
    void setAcceptedCertificate(const QByteArray& sha256Hex); // empty: only trusted ones
    void send(const jot::sync::Request& request); // answered() follows, once
    bool busy() const;

Q_SIGNALS:
    void answered(const jot::sync::Reply& reply);
};
