// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The WebDAV multistatus answer (RFC 4918), as the sync and the set-up read it.
namespace jot::sync {

// One property of one resource. Names are "{namespace}local", as "{DAV:}getetag".
struct DavProp {
    QString name;
    int status = 200;       // of its propstat
    QString text;           // its text (calendar-data, getetag, displayname, sync-token)
    QStringList hrefs;      // the hrefs inside it (current-user-principal, calendar-home-set)
    QStringList children;   // names of its child elements (resourcetype)
    QStringList components; // comp names (supported-calendar-component-set)
};

struct DavResponse {
    QString href;   // as the server wrote it, decoded
    int status = 0; // the response's own status, 0 when it has propstats instead
    QList<DavProp> props;
    const DavProp* prop(const QString& name) const; // a 200 one, or null
};

struct Multistatus {
    QList<DavResponse> responses;
    QString syncToken; // sync-collection's new token
    QString error;     // malformed or too large: said in words, nothing taken
};

Multistatus readMultistatus(QByteArrayView body);

} // namespace jot::sync
