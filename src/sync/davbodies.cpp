// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/davbodies.h"

#include <QUrl>

namespace jot::sync {

namespace {

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

QByteArray escaped(const QByteArray& text) {
    return QString::fromUtf8(text).toHtmlEscaped().toUtf8();
}

} // namespace

QByteArray encodedPath(const QString& path) {
    return QUrl::toPercentEncoding(path, "/-._~!$&'()*+,;=:@");
}

QByteArray syncCollectionBody(const QString& token) {
    return kHead + "<d:sync-collection xmlns:d=\"DAV:\">\n<d:sync-token>" +
           escaped(token.toUtf8()) +
           "</d:sync-token>\n<d:sync-level>1</d:sync-level>\n"
           "<d:prop><d:getetag/></d:prop>\n</d:sync-collection>\n";
}

QByteArray vtodoListingBody() {
    return kHead + "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">\n"
                   "<d:prop><d:getetag/></d:prop>\n"
                   "<c:filter><c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VTODO\"/>"
                   "</c:comp-filter></c:filter>\n</c:calendar-query>\n";
}

QByteArray multigetBody(const QStringList& paths) {
    QByteArray hrefs;
    for (const QString& path : paths)
        hrefs += "<d:href>" + escaped(encodedPath(path)) + "</d:href>\n";
    return kHead +
           "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">\n"
           "<d:prop><d:getetag/><c:calendar-data/></d:prop>\n" +
           hrefs + "</c:calendar-multiget>\n";
}

QByteArray syncTokenBody() {
    return kHead + "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:sync-token/></d:prop></d:propfind>\n";
}

} // namespace jot::sync
