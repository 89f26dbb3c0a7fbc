// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// One WebDAV request and its answer, as plain data: the sync and the set-up decide what to ask
// and read what came back; the network code in between only carries them. So the protocol is
// tested with answers written as table rows, and the network code against a real server.
namespace jot::sync {

struct Request {
    QByteArray method; // PROPFIND, REPORT, GET, PUT, MKCALENDAR
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers; // Depth, If-Match, If-None-Match, Content-Type
    QByteArray body;
};

struct Reply {
    int status = 0; // the HTTP status; 0 when no answer came (error says why)
    QByteArray etag;
    QByteArray body;
    QString error; // host not found, no answer in 30 s, answer too large, ... in words
    // The SHA-256 of a certificate the system does not trust and that is not the accepted one,
    // as hex; empty otherwise.
    QByteArray untrustedCertificate;
};

// Body limits: nothing the server says may take more.
constexpr qint64 kMaxBody = 16 * 1024 * 1024;
constexpr qint64 kMaxItem = 1024 * 1024;

} // namespace jot::sync
