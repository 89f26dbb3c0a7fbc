// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/davxml.h"

#include "sync/davrequest.h"

#include <QCoreApplication>
#include <QUrl>
#include <QXmlStreamReader>

namespace jot::sync {

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

QString nameOf(const QXmlStreamReader& xml) {
    return u'{' + xml.namespaceUri().toString() + u'}' + xml.name().toString();
}

bool is(const QXmlStreamReader& xml, const QString& ns, QStringView local) {
    return xml.namespaceUri() == ns && xml.name() == local;
}

// "HTTP/1.1 404 Not Found" -> 404; 0 when there is no number.
int statusCode(const QString& line) {
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

QString decodedHref(const QString& text) {
    return QUrl::fromPercentEncoding(text.trimmed().toUtf8());
}

// Reads one prop's element, the reader on its start; text only at its own level, hrefs and
// component names anywhere inside it. Text past kMaxItem is not kept: the prop is marked so.
DavProp readProp(QXmlStreamReader& xml) {
    DavProp prop;
    prop.name = nameOf(xml);
    int depth = 0;
    bool tooLarge = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 1)
                prop.children.append(nameOf(xml));
            if (is(xml, kDav, u"href")) {
                prop.hrefs.append(
                    decodedHref(xml.readElementText(QXmlStreamReader::IncludeChildElements)));
                --depth;
            } else if (is(xml, kCalDav, u"comp")) {
                prop.components.append(xml.attributes().value(QStringLiteral("name")).toString());
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == 0) {
                prop.text = prop.text.trimmed();
                if (tooLarge) {
                    prop.text.clear();
                    prop.status = 507; // the server's, not ours to keep: skipped
                }
                return prop;
            }
            break;
        case QXmlStreamReader::Characters:
            if (depth == 0 && !tooLarge) {
                prop.text += xml.text();
                tooLarge = prop.text.size() > kMaxItem;
            }
            break;
        default:
            break;
        }
    }
    return prop;
}

// One propstat: its props, then its status applied to all of them.
void readPropstat(QXmlStreamReader& xml, DavResponse& response) {
    QList<DavProp> props;
    int status = 200;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, u"prop")) {
            while (xml.readNextStartElement())
                props.append(readProp(xml));
        } else if (is(xml, kDav, u"status")) {
            status = statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            xml.skipCurrentElement();
        }
    }
    for (DavProp& prop : props) {
        if (prop.status == 200)
            prop.status = status;
    }
    response.props += props;
}

DavResponse readResponse(QXmlStreamReader& xml) {
    DavResponse response;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, u"href"))
            response.href =
                decodedHref(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        else if (is(xml, kDav, u"status"))
            response.status =
                statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        else if (is(xml, kDav, u"propstat"))
            readPropstat(xml, response);
        else
            xml.skipCurrentElement();
    }
    return response;
}

} // namespace

const DavProp* DavResponse::prop(const QString& name) const {
    for (const DavProp& p : props) {
        if (p.name == name && p.status == 200)
            return &p;
    }
    return nullptr;
}

Multistatus readMultistatus(QByteArrayView body) {
    Multistatus out;
    if (body.size() > kMaxBody) {
        out.error = QCoreApplication::translate("DavXml", "The answer is larger than %1 MiB.")
                        .arg(kMaxBody >> 20);
        return out;
    }
    QXmlStreamReader xml(body.toByteArray());
    // Entities are the classic way to make a small answer big: a server has no use for them.
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            out.error =
                QCoreApplication::translate("DavXml", "The answer declares a document type.");
            return out;
        }
        if (token == QXmlStreamReader::StartElement)
            break;
    }
    if (!xml.hasError() && !is(xml, kDav, u"multistatus")) {
        out.error =
            QCoreApplication::translate("DavXml", "The answer is not a WebDAV multistatus.");
        return out;
    }
    while (!xml.hasError() && xml.readNextStartElement()) {
        if (is(xml, kDav, u"response"))
            out.responses.append(readResponse(xml));
        else if (is(xml, kDav, u"sync-token"))
            out.syncToken = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else
            xml.skipCurrentElement();
    }
    // Whatever follows the root must be well formed too: a cut answer is no answer.
    while (!xml.hasError() && !xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        out = {};
        out.error = QCoreApplication::translate("DavXml", "Malformed answer (line %1): %2")
                        .arg(xml.lineNumber())
                        .arg(xml.errorString());
    }
    return out;
}

} // namespace jot::sync
