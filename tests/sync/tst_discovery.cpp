// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the task lists, and making one, with the server's answers as table rows.
#include "sync/discovery.h"

#include <QRegularExpression>
#include <QTest>

using namespace jot::sync;

namespace {

// One request the discovery should send, and the answer it gets.
struct Exchange {
    QByteArray method;
    QString path;
    Reply reply;
};

Reply answer(int status, const QByteArray& body = {}) {
    Reply r;
    r.status = status;
    r.body = body;
    return r;
}

// A multistatus of responses, each an href and its found properties.
QByteArray multistatus(const QList<std::pair<QString, QByteArray>>& responses) {
    QByteArray out = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                     "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
    for (const auto& [href, props] : responses)
        out += "<d:response><d:href>" + href.toUtf8() + "</d:href><d:propstat><d:prop>" + props +
               "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    return out + "</d:multistatus>";
}

QByteArray calendar(const QByteArray& name, const QByteArray& comps) {
    QByteArray set;
    for (const QByteArray& c : comps.split(','))
        if (!c.isEmpty())
            set += "<c:comp name=\"" + c + "\"/>";
    return "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype><d:displayname>" + name +
           "</d:displayname>" +
           (comps.isEmpty() ? QByteArray()
                            : "<c:supported-calendar-component-set>" + set +
                                  "</c:supported-calendar-component-set>");
}

QByteArray principalAt(const QByteArray& href) {
    return "<d:current-user-principal><d:href>" + href + "</d:href></d:current-user-principal>";
}

QByteArray homeAt(const QByteArray& href) {
    return "<c:calendar-home-set><d:href>" + href + "</d:href></c:calendar-home-set>";
}

const QByteArray kHomeListing = multistatus({
    {QStringLiteral("/dav/u/"), "<d:resourcetype><d:collection/></d:resourcetype>"},
    {QStringLiteral("/dav/u/events/"), calendar("Events", "VEVENT")},
    {QStringLiteral("/dav/u/todo/"), calendar("Tasks", "VEVENT,VTODO")},
    {QStringLiteral("/dav/u/all/"), calendar("All", "")},
});

} // namespace

Q_DECLARE_METATYPE(QList<Exchange>)

class TestDiscovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void discovery_data();
    void discovery();
    void firstSync_data();
    void firstSync();
};

void TestDiscovery::discovery_data() {
    QTest::addColumn<QString>("start"); // an address, or "new:" and a calendar home
    QTest::addColumn<QList<Exchange>>("exchanges");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QStringList>("lists");  // their paths, in the order shown
    QTest::addColumn<QString>("messageHas"); // in the words said

    const QByteArray principal = multistatus({{QStringLiteral("/p/u/"), homeAt("/dav/u/")}});
    const int none = int(DiscoveryProblem::None);
    const QStringList found{QStringLiteral("/dav/u/all/"), QStringLiteral("/dav/u/todo/")};
    Reply untrusted;
    untrusted.untrustedCertificate = "ab12ef";
    Reply unreachable;
    unreachable.error = QStringLiteral("Host not found");

    QTest::newRow("from the host, through the well-known address")
        << "h.example"
        << QList<Exchange>{{"PROPFIND", "/.well-known/caldav",
                            answer(207,
                                   multistatus({{QStringLiteral("/"), principalAt("/p/u/")}}))},
                           {"PROPFIND", "/p/u/", answer(207, principal)},
                           {"PROPFIND", "/dav/u/", answer(207, kHomeListing)}}
        << none << found << QString();
    QTest::newRow("a calendar without tasks leads to the user's lists")
        << "https://h.example/dav/u/events/"
        << QList<Exchange>{{"PROPFIND", "/dav/u/events/",
                            answer(207, multistatus({{QStringLiteral("/dav/u/events/"),
                                                      calendar("Events", "VEVENT") +
                                                          principalAt("/p/u/")}}))},
                           {"PROPFIND", "/p/u/", answer(207, principal)},
                           {"PROPFIND", "/dav/u/", answer(207, kHomeListing)}}
        << none << found << QString();
    QTest::newRow("no well-known address: the root itself")
        << "https://h.example/"
        << QList<Exchange>{{"PROPFIND", "/.well-known/caldav", answer(404)},
                           {"PROPFIND", "/",
                            answer(207,
                                   multistatus({{QStringLiteral("/"), principalAt("/p/u/")}}))},
                           {"PROPFIND", "/p/u/", answer(207, principal)},
                           {"PROPFIND", "/dav/u/", answer(207, kHomeListing)}}
        << none << found << QString();
    QTest::newRow("not a CalDAV server")
        << "https://h.example/blog"
        << QList<Exchange>{{"PROPFIND", "/blog", answer(405)},
                           {"PROPFIND", "/.well-known/caldav", answer(404)}}
        << int(DiscoveryProblem::NotCalDav) << QStringList() << "not a CalDAV server";
    QTest::newRow("a web page that answers everything")
        << "https://h.example/"
        << QList<Exchange>{{"PROPFIND", "/.well-known/caldav", answer(200, "<html></html>")},
                           {"PROPFIND", "/", answer(200, "<html></html>")}}
        << int(DiscoveryProblem::NotCalDav) << QStringList() << "not a CalDAV server";
    QTest::newRow("a principal without a calendar home")
        << "https://h.example/p/u/"
        << QList<Exchange>{{"PROPFIND", "/p/u/",
                            answer(207,
                                   multistatus({{QStringLiteral("/p/u/"), principalAt("/p/u/")}}))},
                           {"PROPFIND", "/p/u/", answer(207, multistatus({}))}}
        << int(DiscoveryProblem::NotCalDav) << QStringList() << "names no calendars";
    QTest::newRow("wrong password at the home")
        << "https://h.example/p/u/"
        << QList<Exchange>{{"PROPFIND", "/p/u/", answer(207, principal)},
                           {"PROPFIND", "/dav/u/", answer(401)}}
        << int(DiscoveryProblem::WrongPassword) << QStringList() << "user name or password";
    QTest::newRow("certificate not trusted")
        << "https://h.example/" << QList<Exchange>{{"PROPFIND", "/.well-known/caldav", untrusted}}
        << int(DiscoveryProblem::UntrustedCertificate) << QStringList() << "AB:12:EF";
    QTest::newRow("host not found")
        << "https://nowhere.example/"
        << QList<Exchange>{{"PROPFIND", "/.well-known/caldav", unreachable}}
        << int(DiscoveryProblem::Unreachable) << QStringList() << "Host not found";
    QTest::newRow("the server fails, in its own words")
        << "https://h.example/p/u/"
        << QList<Exchange>{{"PROPFIND", "/p/u/",
                            answer(503, "<html><head><title>503</title><style>h1{}</style>"
                                        "</head><body><h1>Down for upkeep</h1></body></html>")}}
        << int(DiscoveryProblem::ServerError) << QStringList() << "says: Down for upkeep";
    QTest::newRow("forbidden, in the server's words")
        << "https://h.example/p/v/"
        << QList<Exchange>{{"PROPFIND", "/p/v/", answer(403, "Access to /p/v/ denied")},
                           {"PROPFIND", "/.well-known/caldav", answer(403, "Access denied")}}
        << int(DiscoveryProblem::ServerError) << QStringList() << "says: Access denied";
    QTest::newRow("a new list refused")
        << "new:https://h.example/dav/u"
        << QList<Exchange>{{"MKCALENDAR", "/dav/u/*/",
                            answer(507, "<d:error xmlns:d=\"DAV:\">Quota reached</d:error>")}}
        << int(DiscoveryProblem::ServerError) << QStringList() << "says: Quota reached";
}

void TestDiscovery::discovery() {
    QFETCH(QString, start);
    QFETCH(QList<Exchange>, exchanges);
    QFETCH(int, problem);
    QFETCH(QStringList, lists);
    QFETCH(QString, messageHas);

    const bool making = start.startsWith(QStringLiteral("new:"));
    const QUrl address = Discovery::addressFromInput(making ? start.mid(4) : start);
    Discovery d =
        making ? Discovery::create(address, QStringLiteral("Jotlark")) : Discovery::find(address);
    for (const Exchange& e : exchanges) {
        const auto request = d.next();
        QVERIFY(request);
        QCOMPARE(request->method, e.method);
        QCOMPARE(request->url.host(), address.host());
        QCOMPARE(request->url.scheme(), QStringLiteral("https"));
        QVERIFY2(QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                        e.path, QRegularExpression::UnanchoredWildcardConversion))
                     .match(request->url.path())
                     .hasMatch(),
                 qPrintable(request->url.path()));
        if (e.method == "MKCALENDAR")
            QVERIFY(request->body.contains("<c:comp name=\"VTODO\"/>"));
        d.take(e.reply);
    }
    QVERIFY(!d.next());
    QVERIFY(d.done());
    const DiscoveryResult& r = d.result();
    QCOMPARE(int(r.problem), problem);
    QStringList paths;
    for (const FoundList& l : r.lists)
        paths << l.url.path();
    QCOMPARE(paths.size(), lists.size());
    for (int i = 0; i < lists.size(); ++i)
        QVERIFY2(QRegularExpression::fromWildcard(lists[i]).match(paths[i]).hasMatch(),
                 qPrintable(paths[i]));
    if (making && problem == 0)
        QCOMPARE(r.created, r.lists.first().url);
    if (messageHas.isEmpty())
        QVERIFY(r.message.isEmpty());
    else
        QVERIFY2(r.message.contains(messageHas, Qt::CaseInsensitive), qPrintable(r.message));
}

void TestDiscovery::firstSync_data() {
    using Tasks = QList<std::pair<QString, QString>>;
    QTest::addColumn<Tasks>("here");
    QTest::addColumn<Tasks>("there");
    QTest::addColumn<int>("linked");
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("down");
    const std::pair<QString, QString> a{QStringLiteral("01/02/2026 10:00"), QStringLiteral("a")};
    const std::pair<QString, QString> b{QStringLiteral("01/02/2026 10:00"), QStringLiteral("b")};
    const std::pair<QString, QString> c{QStringLiteral("02/02/2026 10:00"), QStringLiteral("a")};
    QTest::newRow("the same on both sides") << Tasks{a, b} << Tasks{b, a} << 2 << 0 << 0;
    QTest::newRow("a stamp alone does not link") << Tasks{a} << Tasks{b} << 0 << 1 << 1;
    QTest::newRow("a text alone does not link") << Tasks{a} << Tasks{c} << 0 << 1 << 1;
    QTest::newRow("a twin here links once") << Tasks{a, a, b} << Tasks{a, c} << 1 << 2 << 1;
}

void TestDiscovery::firstSync() {
    using Tasks = QList<std::pair<QString, QString>>;
    QFETCH(Tasks, here);
    QFETCH(Tasks, there);
    const FirstSyncCounts c = countFirstSync(here, there);
    QTEST(c.linked, "linked");
    QTEST(c.up, "up");
    QTEST(c.down, "down");
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
