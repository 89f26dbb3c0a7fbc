// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/davbodies.h"
#include "sync/davrequest.h"
#include "sync/davxml.h"

#include <QTest>
#include <QXmlStreamReader>

using namespace jot::sync;

class TestDavXml : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data();
    void read();
    void bodiesRead();
};

namespace {

QByteArray answer(const QByteArray& responses) {
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
           "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
           responses + "</d:multistatus>";
}

QByteArray item(const QByteArray& href, const QByteArray& props, const QByteArray& status = "200") {
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + props +
           "</d:prop><d:status>HTTP/1.1 " + status + " X</d:status></d:propstat></d:response>";
}

} // namespace

// Each row: the answer, then what is read: an error or not, the responses, the first one's
// href, its ETag (a 200 one) and calendar data, and the sync token.
void TestDavXml::read_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("responses");
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("etag");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<QString>("token");
    const auto row = [](const char* name, const QByteArray& body, bool error, int responses,
                        const QString& href, const QString& etag, int dataSize,
                        const QString& token) {
        QTest::newRow(name) << body << error << responses << href << etag << dataSize << token;
    };
    const QByteArray etag = "<d:getetag>\"e1\"</d:getetag>";
    row("an item and a token, href decoded",
        answer(item("/l/a%20b%C3%A9.ics", etag) + "<d:sync-token>tok</d:sync-token>"), false, 1,
        u"/l/a bé.ics"_qs, u"\"e1\""_qs, -1, u"tok"_qs);
    row("another prefix for DAV:",
        "<m:multistatus xmlns:m=\"DAV:\"><m:response><m:href>/x</m:href><m:propstat><m:prop>"
        "<m:getetag>e</m:getetag></m:prop><m:status>HTTP/1.1 200 OK</m:status></m:propstat>"
        "</m:response></m:multistatus>",
        false, 1, u"/x"_qs, u"e"_qs, -1, QString());
    row("a getetag of another namespace is not DAV's",
        answer("<d:response><d:href>/x</d:href><d:propstat><d:prop><getetag xmlns=\"urn:x\">e"
               "</getetag></d:prop></d:propstat></d:response>"),
        false, 1, u"/x"_qs, QString(), -1, QString());
    row("a 404 propstat is no value", answer(item("/x", etag, "404")), false, 1, u"/x"_qs,
        QString(), -1, QString());
    row("calendar data kept",
        answer(item("/x", etag + "<c:calendar-data>BEGIN:VCALENDAR</c:calendar-data>")), false, 1,
        u"/x"_qs, u"\"e1\""_qs, 15, QString());
    row("an item past the limit is skipped, its ETag kept",
        answer(item("/x", etag + "<c:calendar-data>" + QByteArray(kMaxItem + 1, 'a') +
                              "</c:calendar-data>")),
        false, 1, u"/x"_qs, u"\"e1\""_qs, -1, QString());
    row("a body past the limit", answer(QByteArray(kMaxBody, ' ')), true, 0, QString(), QString(),
        0, QString());
    row("cut short", answer(item("/x", etag)).chopped(5), true, 0, QString(), QString(), 0,
        QString());
    row("not XML", "Internal Server Error", true, 0, QString(), QString(), 0, QString());
    row("another root", "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>", true, 0,
        QString(), QString(), 0, QString());
    row("entities refused",
        answer(item("/x&a;", etag)).replace("?>", "?><!DOCTYPE d [<!ENTITY a \"aaaa\">]>"), true, 0,
        QString(), QString(), 0, QString());
}

void TestDavXml::read() {
    QFETCH(QByteArray, body);
    const Multistatus read = readMultistatus(body);
    QFETCH(bool, error);
    QCOMPARE(read.error.isEmpty(), !error);
    QTEST(int(read.responses.size()), "responses");
    QTEST(read.syncToken, "token");
    if (read.responses.isEmpty())
        return;
    const DavResponse& first = read.responses.first();
    QTEST(first.href, "href");
    const DavProp* etag = first.prop(u"{DAV:}getetag"_qs);
    QTEST(etag ? etag->text : QString(), "etag");
    const DavProp* data = first.prop(u"{urn:ietf:params:xml:ns:caldav}calendar-data"_qs);
    QTEST(data ? int(data->text.size()) : -1, "dataSize");
}

// What we send is well-formed and names what it asks for: the paths, escaped, come back.
void TestDavXml::bodiesRead() {
    const QString odd = u"/l/a b&<é>.ics"_qs;
    const QByteArray multiget = multigetBody({odd});
    QVERIFY(multiget.contains("/l/a%20b&amp;%3C%C3%A9%3E.ics"));
    for (const QByteArray& body :
         {multiget, syncCollectionBody(u"t<&"_qs), vtodoListingBody(), syncTokenBody()}) {
        QXmlStreamReader xml(body);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), body.constData());
    }
}

QTEST_GUILESS_MAIN(TestDavXml)
#include "tst_davxml.moc"
