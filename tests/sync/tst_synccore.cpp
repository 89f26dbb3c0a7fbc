// SPDX-License-Identifier: GPL-3.0-or-later
// The sync's core: the DAV answers read, the lists found, the settings, the password, and
// the sync round against a small CalDAV server kept in memory, each row a conversation, the
// server's answers coming from its items, with the answers a row scripts in between (a
// refused token, another client's write, a kill).
#include "alarms/alarmtext.h"
#include "calendar/calendaritem.h"
#include "common/fakepasswordstore.h"
#include "common/table.h"
#include "common/tempdatahome.h"
#include "store/datadir.h"
#include "sync/davbodies.h"
#include "sync/davrequest.h"
#include "sync/davxml.h"
#include "sync/discovery.h"
#include "sync/engine.h"
#include "sync/passwordcommand.h"
#include "sync/syncsettings.h"
#include "sync/syncstate.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <functional>

using namespace jot;
using namespace jot::sync;

class TestSyncCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data();
    void read();
    void bodiesRead();
    void discovery_data();
    void discovery();
    void firstSync_data();
    void firstSync();
    void findPassword();
    void address_data();
    void address();
    void passwordCommand_data();
    void passwordCommand();
    void round_data();
    void round();
    void settingsFiles(); // last: it leaves XDG_STATE_HOME relative
};

namespace {

QByteArray davBody(const QByteArray& responses) {
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
           "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
           responses + "</d:multistatus>";
}

QByteArray davItem(const QByteArray& href, const QByteArray& props,
                   const QByteArray& status = "200") {
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + props +
           "</d:prop><d:status>HTTP/1.1 " + status + " X</d:status></d:propstat></d:response>";
}

} // namespace

// Each row: the answer, then what is read: an error or not, the responses, the first one's
// href, its ETag (a 200 one) and calendar data's size, and the sync token.
struct XmlCase {
    QByteArray name, body;
    bool error = false;
    int responses = 0;
    QString href = {}, etag = {};
    int dataSize = -1;
    QString token = {};
};

void TestSyncCore::read_data() {
    const QByteArray etag = "<d:getetag>\"e1\"</d:getetag>";
    testing::table<XmlCase>({
        {"an item and a token, href decoded",
         davBody(davItem("/l/a%20b%C3%A9.ics", etag) + "<d:sync-token>tok</d:sync-token>"), false,
         1, u"/l/a bé.ics"_qs, u"\"e1\""_qs, -1, u"tok"_qs},
        {"another prefix for DAV:",
         davBody(davItem("/x", "<d:getetag>e</d:getetag>"))
             .replace("d:", "m:")
             .replace("s:d", "s:m"),
         false, 1, u"/x"_qs, u"e"_qs},
        {"a getetag of another namespace is not DAV's",
         davBody(davItem("/x", "<getetag xmlns=\"urn:x\">e</getetag>")), false, 1, u"/x"_qs},
        {"a 404 propstat is no value", davBody(davItem("/x", etag, "404")), false, 1, u"/x"_qs},
        {"calendar data kept",
         davBody(davItem("/x", etag + "<c:calendar-data>BEGIN:VCALENDAR</c:calendar-data>")), false,
         1, u"/x"_qs, u"\"e1\""_qs, 15},
        {"an item past the limit is skipped, its ETag kept",
         davBody(davItem("/x", etag + "<c:calendar-data>" + QByteArray(kMaxItem + 1, 'a') +
                                   "</c:calendar-data>")),
         false, 1, u"/x"_qs, u"\"e1\""_qs},
        {"a body past the limit", davBody(QByteArray(kMaxBody, ' ')), true},
        {"cut short", davBody(davItem("/x", etag)).chopped(5), true},
        {"not XML", "Internal Server Error", true},
        {"another root", "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>", true},
        {"entities refused",
         davBody(davItem("/x&a;", etag)).replace("?>", "?><!DOCTYPE d [<!ENTITY a \"aaaa\">]>"),
         true},
    });
}

void TestSyncCore::read() {
    QFETCH(XmlCase, row);
    const Multistatus read = readMultistatus(row.body);
    QCOMPARE(read.error.isEmpty(), !row.error);
    QCOMPARE(int(read.responses.size()), row.responses);
    QCOMPARE(read.syncToken, row.token);
    if (read.responses.isEmpty())
        return;
    const DavResponse& first = read.responses.first();
    QCOMPARE(first.href, row.href);
    const DavProp* etag = first.prop(u"{DAV:}getetag"_qs);
    QCOMPARE(etag ? etag->text : QString(), row.etag);
    const DavProp* data = first.prop(u"{urn:ietf:params:xml:ns:caldav}calendar-data"_qs);
    QCOMPARE(data ? int(data->text.size()) : -1, row.dataSize);
}

// What we send is well-formed and names what it asks for: the paths, escaped, come back.
void TestSyncCore::bodiesRead() {
    QVERIFY(multigetBody({u"/l/a b&<é>.ics"_qs}).contains(">/l/a%20b&amp;%3C%C3%A9%3E.ics<"));
    for (const QByteArray& body : {syncCollectionBody(u"t<&"_qs), syncTokenBody()}) {
        QXmlStreamReader xml(body);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), body.constData());
    }
}

namespace {

Reply answer(int status, const QByteArray& body = {}, const QByteArray& etag = {}) {
    return {status, etag, body, {}, {}};
}

// A calendar; when `comps` names its components, it says which it takes.
QByteArray calendar(const QByteArray& name, QByteArray comps) {
    QByteArray out = "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>";
    if (!comps.isEmpty())
        out += "<c:supported-calendar-component-set><c:comp name=\"" +
               comps.replace(",", "\"/><c:comp name=\"") +
               "\"/></c:supported-calendar-component-set>";
    return out + "<d:displayname>" + name + "</d:displayname>";
}

QByteArray principalAt(const QByteArray& href) {
    return "<d:current-user-principal><d:href>" + href + "</d:href></d:current-user-principal>";
}

// A user's calendars as a server keeps them, by path; every one names the principal.
const QMap<QString, QByteArray> kSite{
    {u"/.well-known/caldav"_qs, {}},
    {u"/"_qs, {}},
    {u"/p/u/"_qs, "<c:calendar-home-set><d:href>/dav/u/</d:href></c:calendar-home-set>"},
    {u"/dav/u/"_qs, "<d:resourcetype><d:collection/></d:resourcetype>"},
    {u"/dav/u/events/"_qs, calendar("Events", "VEVENT")},
    {u"/dav/u/todo/"_qs, calendar("Tasks", "VEVENT,VTODO")},
    {u"/dav/u/all/"_qs, calendar("All", "")},
};

// The site's answer, unless `instead` has one for the path (a wildcard).
Reply siteAnswer(const Request& r, const QMap<QString, Reply>& instead) {
    const QString path = r.url.path();
    for (auto it = instead.cbegin(); it != instead.cend(); ++it)
        if (QRegularExpression::fromWildcard(it.key()).match(path).hasMatch())
            return *it;
    if (!kSite.contains(path))
        return answer(404);
    const bool children = r.headers.contains({"Depth", "1"});
    QByteArray out;
    for (auto it = kSite.cbegin(); it != kSite.cend(); ++it)
        if (it.key() == path || (children && it.key().startsWith(path)))
            out += davItem(it.key().toUtf8(), principalAt("/p/u/") + *it);
    return answer(207, davBody(out));
}

} // namespace

using Answers = QMap<QString, Reply>;
Q_DECLARE_METATYPE(Answers)

// Each row: where it starts (an address, or "new:" and a calendar home), the answers that
// differ from the site's, and the problem met with words it says; none finds the two lists.
void TestSyncCore::discovery_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<Answers>("instead");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("said");
    using P = DiscoveryProblem;
    const auto row = [](const char* name, const char* start, const Answers& instead,
                        P problem = P::None, const char* said = "") {
        QTest::newRow(name) << QString(start) << instead << int(problem) << QString(said);
    };
    const QString wellKnown = u"/.well-known/caldav"_qs;

    row("from the host, through the well-known address", "h.example", {});
    row("a calendar without tasks leads to the user's lists", "https://h.example/dav/u/events/",
        {});
    row("no well-known address: the root itself", "https://h.example/", {{wellKnown, answer(404)}});
    row("not a CalDAV server", "https://h.example/blog", {{wellKnown, answer(404)}}, P::NotCalDav,
        "not a CalDAV server");
    row("a principal without a calendar home", "https://h.example/p/u/",
        {{u"/p/u/"_qs, answer(207, davBody(davItem("/p/u/", principalAt("/p/u/"))))}}, P::NotCalDav,
        "names no calendars");
    row("the server fails, in its own words", "https://h.example/p/u/",
        {{u"/p/u/"_qs, answer(503, "<html><head><title>503</title><style>h1{}</style>"
                                   "</head><body><h1>Down for upkeep</h1></body></html>")}},
        P::ServerError, "says: Down for upkeep");
    row("forbidden, in the server's words", "https://h.example/p/v/",
        {{u"/p/v/"_qs, answer(403, "Access to /p/v/ denied")},
         {wellKnown, answer(403, "Access denied")}},
        P::ServerError, "says: Access denied");
    row("a new list refused", "new:https://h.example/dav/u",
        {{u"/dav/u/*/"_qs, answer(507, "<d:error xmlns:d=\"DAV:\">Quota reached</d:error>")}},
        P::ServerError, "says: Quota reached");
}

void TestSyncCore::discovery() {
    QFETCH(QString, start);
    QFETCH(Answers, instead);
    QFETCH(QString, said);
    const bool making = start.startsWith(u"new:"_qs);
    const QUrl address = Discovery::addressFromInput(making ? start.mid(4) : start);
    Discovery d = making ? Discovery::create(address, u"Jotlark"_qs) : Discovery::find(address);
    for (int n = 0; n < 10 && !d.done(); ++n) {
        const auto request = d.next();
        QVERIFY(request);
        QCOMPARE(request->method, QByteArray(making ? "MKCALENDAR" : "PROPFIND"));
        QCOMPARE(request->url.host(), address.host());
        QCOMPARE(request->url.scheme(), u"https"_qs);
        if (making)
            QVERIFY(request->body.contains("<c:comp name=\"VTODO\"/>"));
        d.take(siteAnswer(*request, instead));
    }
    QVERIFY(d.done());
    QVERIFY(!d.next());
    const DiscoveryResult& r = d.result();
    QTEST(int(r.problem), "problem");
    QStringList paths;
    for (const FoundList& l : r.lists)
        paths << l.url.path();
    const QStringList found{u"/dav/u/all/"_qs, u"/dav/u/todo/"_qs};
    QCOMPARE(paths, said.isEmpty() ? found : QStringList());
    QVERIFY2(said.isEmpty() ? r.message.isEmpty() : r.message.contains(said),
             qPrintable(r.message));
}

// Each letter a task: a and b of one stamp, c of a's text; the counts linked, up and down.
struct FirstCase {
    QByteArray name;
    QString here, there, counts;
};

void TestSyncCore::firstSync_data() {
    testing::table<FirstCase>({
        {"the same on both sides", "ab", "ba", "2 0 0"},
        {"a stamp alone does not link", "a", "b", "0 1 1"},
        {"a text alone does not link", "a", "c", "0 1 1"},
        {"a twin here links once", "aab", "ac", "1 2 1"},
    });
}

void TestSyncCore::firstSync() {
    const auto tasks = [](const QString& letters) {
        QList<std::pair<QString, QString>> out;
        for (const QChar l : letters)
            out.append({l == u'c' ? u"02/02/2026 10:00"_qs : u"01/02/2026 10:00"_qs,
                        l == u'b' ? u"b"_qs : u"a"_qs});
        return out;
    };
    QFETCH(FirstCase, row);
    const FirstSyncCounts c = countFirstSync(tasks(row.here), tasks(row.there));
    QCOMPARE(u"%1 %2 %3"_qs.arg(c.linked).arg(c.up).arg(c.down), row.counts);
}

// Without a command in sync.conf, the password is the keyring's, or none: asked again.
void TestSyncCore::findPassword() {
    const QString key = passwordKey(u"alice"_qs, QUrl(u"https://h/alice/t/"_qs));
    FakePasswordStore store;
    for (const QString& kept : {QString(), u"k"_qs}) {
        if (!kept.isEmpty())
            store.kept.insert(key, kept);
        std::optional<PasswordAnswer> answer;
        jot::sync::findPassword(store, key, [&](const PasswordAnswer& a) { answer = a; });
        QTRY_VERIFY(answer);
        QCOMPARE(answer->ok, !kept.isEmpty());
        QCOMPARE(answer->password, kept);
    }
}

// Plain http only to this machine; each row's name is the address.
void TestSyncCore::address_data() {
    QTest::addColumn<bool>("usable");
    for (const char* url : {"http://127.255.0.9/t/", "http://[::1]:5232/t/", "http://LocalHost/t/"})
        QTest::newRow(url) << true;
    for (const char* url : {"http://127.0.0.300/t/", "http://128.0.0.1/t/",
                            "http://127.0.0.1.example.org/t/", "ftp://127.0.0.1/t/", "tasks"})
        QTest::newRow(url) << false;
}

void TestSyncCore::address() {
    QTEST(addressProblem(QUrl(QString::fromUtf8(QTest::currentDataTag()))).isEmpty(), "usable");
}

// sync.conf written by hand and by the program, and the state's folder.
void TestSyncCore::settingsFiles() {
    TempDataHome home;
    QString why = u"stale"_qs;
    QVERIFY(!readSyncSettings(syncConfigPath(), &why));
    QVERIFY(why.isEmpty()); // no file: nothing to say
    QVERIFY(testing::writeFile(syncConfigPath(),
                               "[caldav]\nlist=https://dav.example.org/u/a,b/\nuser=me\n"
                               "passwordCommand=\"  pass   show \\\"dav x\\\" \\\"\\\" "
                               "a\\\"b c\\\"d \"\n"));
    std::optional<SyncSettings> read = readSyncSettings(syncConfigPath(), &why);
    QVERIFY2(read, qPrintable(why));
    QCOMPARE(read->list, QUrl(u"https://dav.example.org/u/a,b/"_qs));
    // Runs of spaces, an empty quoted argument, quotes inside a word.
    QCOMPARE(read->passwordCommand,
             (QStringList{u"pass"_qs, u"show"_qs, u"dav x"_qs, QString(), u"ab cd"_qs}));

    // Written over one readable by all, it is made private.
    QVERIFY(QFile::setPermissions(syncConfigPath(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadOther | QFile::ReadGroup));
    SyncSettings settings{QUrl(u"https://dav.example.org/u/tasks/"_qs),
                          u"me"_qs,
                          {u"pass"_qs, u"show"_qs, u"dav, x"_qs},
                          "ab01"};
    QVERIFY2(writeSyncSettings(syncConfigPath(), settings, &why), qPrintable(why));
    QCOMPARE(testing::modeOf(syncConfigPath()), mode_t(0600));
    read = readSyncSettings(syncConfigPath(), &why);
    QVERIFY2(read, qPrintable(why));
    QCOMPARE(read->passwordCommand, settings.passwordCommand);

    QCOMPARE(syncStateDir(home.dataDir()),
             home.path() + u"/state/jotlark/sync-"_qs + jot::dataDirHash(home.dataDir()));
    qputenv("XDG_STATE_HOME", "relative");
    QCOMPARE(syncStateDir(home.dataDir()), QDir::homePath() + u"/.local/state/jotlark/sync-"_qs +
                                               jot::dataDirHash(home.dataDir()));
}

void TestSyncCore::passwordCommand_data() {
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("password");
    QTest::newRow("first line") << QStringList{u"printf"_qs, u"se cret\r\nsecond\n"_qs}
                                << u"se cret"_qs;
    QTest::newRow("no shell") << QStringList{u"echo"_qs, u"$HOME"_qs} << u"$HOME"_qs;
    QTest::newRow("failing") << QStringList{u"sh"_qs, u"-c"_qs, u"echo pw; exit 2"_qs} << QString();
    QTest::newRow("nothing printed") << QStringList{u"true"_qs} << QString();
    QTest::newRow("missing program") << QStringList{u"/nonexistent/pass"_qs} << QString();
    QTest::newRow("none") << QStringList() << QString();
}

void TestSyncCore::passwordCommand() {
    QFETCH(QStringList, command);
    QFETCH(QString, password);
    // Run without waiting, as the window runs it; a failure says why.
    PasswordCommand async;
    QSignalSpy finished(&async, &PasswordCommand::finished);
    async.start(command);
    QVERIFY(finished.wait());
    QCOMPARE(finished.at(0).at(0).toString(), password);
    QCOMPARE(finished.at(0).at(1).toString().isEmpty(), !password.isEmpty());
}

namespace {

const QDateTime kNow({2026, 12, 7}, {10, 0});
const QUrl kList(QStringLiteral("https://dav.example.org/u/tasks/"));

QString summaryOf(const QByteArray& ics) {
    static const QRegularExpression re(QStringLiteral("\\nSUMMARY:([^\\r\\n]*)"));
    return re.match(QString::fromUtf8(ics)).captured(1);
}

// The list as the server keeps it, answering as Radicale does.
struct Server {
    struct Item {
        QByteArray etag, ics;
        int version = 0;
    };
    QMap<QString, Item> items; // by path
    QMap<QString, int> removed;
    int version = 1;
    bool refuseTokens = false;
    bool noEtag = false;

    void put(const QString& path, const QByteArray& ics) {
        items[path] = {'"' + QByteArray::number(++version) + '"', ics, version};
        removed.remove(path);
    }
    void remove(const QString path) { // a copy: the key it names goes
        items.remove(path);
        removed[path] = ++version;
    }
    // The path of the item whose summary is `summary`.
    QString pathOf(const QString& summary) const {
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            if (summaryOf(it->ics) == summary)
                return it.key();
        return {};
    }
    QByteArray copy(const QString& summary) const { return items.value(pathOf(summary)).ics; }
    QStringList open() const {
        QStringList out;
        for (const Item& item : items)
            if (readItem(item.ics, kNow).task)
                out.append(summaryOf(item.ics));
        out.sort();
        return out;
    }

    static QByteArray response(const QString& path, const QByteArray& props) {
        return davItem(QUrl::toPercentEncoding(path, "/"), props);
    }
    static QByteArray gone(const QByteArray& href) {
        return "<d:response><d:href>" + href +
               "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
    }
    QByteArray token() const {
        return "<d:sync-token>t" + QByteArray::number(version) + "</d:sync-token>";
    }

    Reply respond(const Request& request) {
        const QString path = request.url.path();
        const QByteArray body = request.body;
        QHash<QByteArray, QByteArray> header(request.headers.cbegin(), request.headers.cend());
        if (request.method == "PROPFIND")
            return answer(207, davBody(response(path, token())));
        if (request.method == "REPORT" && !body.contains("calendar-multiget")) {
            // A listing, or the changes since the token.
            const bool changes = body.contains("sync-collection");
            const QRegularExpressionMatch m =
                QRegularExpression(u"<d:sync-token>t(\\d+)<"_qs).match(QString::fromUtf8(body));
            if (changes && (refuseTokens || !m.hasMatch()))
                return answer(403, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>");
            const int since = changes ? m.captured(1).toInt() : 0;
            QByteArray out;
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                if (it->version > since)
                    out += response(it.key(), "<d:getetag>" + it->etag + "</d:getetag>");
            for (auto it = removed.cbegin(); changes && it != removed.cend(); ++it)
                if (*it > since)
                    out += gone(it.key().toUtf8());
            return answer(207, davBody(out + (changes ? token() : QByteArray())));
        }
        if (request.method == "REPORT") {
            QByteArray out;
            const QRegularExpression hrefRe(QStringLiteral("<d:href>([^<]*)</d:href>"));
            for (const QRegularExpressionMatch& m : hrefRe.globalMatch(QString::fromUtf8(body))) {
                const QString href = QUrl::fromPercentEncoding(m.captured(1).toUtf8());
                const Item item = items.value(href);
                const QString data = QString::fromUtf8(item.ics).toHtmlEscaped();
                out +=
                    item.ics.isEmpty()
                        ? gone(m.captured(1).toUtf8())
                        : response(href,
                                   "<d:getetag>" + item.etag + "</d:getetag><c:calendar-data>" +
                                       data.toUtf8().replace("\r", "&#13;") + "</c:calendar-data>");
            }
            return answer(207, davBody(out));
        }
        const bool exists = items.contains(path);
        if (request.method == "GET")
            return exists ? answer(200, items[path].ics, items[path].etag) : answer(404);
        if (request.method != "PUT")
            return answer(405);
        if ((header["If-None-Match"] == "*" && exists) ||
            (!header["If-Match"].isEmpty() && (!exists || items[path].etag != header["If-Match"])))
            return answer(exists || header["If-None-Match"] == "*" ? 412 : 404);
        put(path, body);
        return answer(exists ? 204 : 201, {}, noEtag ? QByteArray() : items[path].etag);
    }
};

// One machine's list, its sync state, and the server it syncs with.
struct World {
    QTemporaryDir dir;
    Server server;
    QList<LocalTask> here;
    std::unique_ptr<SyncState> state = std::make_unique<SyncState>(dir.path() + u"/state"_qs);
    QStringList methods; // of the last round, with their conditions
    RoundResult result;
    // Scripted answers: given the request, an answer in the server's place, or nothing to
    // let the server answer.
    std::function<std::optional<Reply>(const Request&)> script;

    // A round, which must end without an error; when `killedAtPut`, cut at its first PUT once the
    // server took it, and the program started again.
    void round(bool killedAtPut = false) {
        Engine engine(*state, kList, kNow);
        engine.start(here);
        methods.clear();
        for (int n = 0; n < 1000; ++n) {
            const std::optional<Request> request = engine.next();
            if (!request)
                break;
            if (killedAtPut && request->method == "PUT") {
                server.respond(*request);
                return restart();
            }
            QString step = QString::fromLatin1(request->method);
            for (const auto& h : request->headers)
                if (h.first.startsWith("If-"))
                    step += u' ' + QString::fromLatin1(h.first);
            methods.append(step);
            std::optional<Reply> scripted = script ? script(*request) : std::nullopt;
            engine.take(scripted ? *scripted : server.respond(*request));
        }
        result = engine.result();
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        for (const TaskRow& row : result.removed)
            here.removeIf([&](const LocalTask& t) { return t.row == row; });
        for (const auto& [was, becomes] : result.changed)
            for (LocalTask& t : here)
                if (t.row == was)
                    t.row = becomes;
        for (const TaskRow& row : result.added)
            here.append({row, {}});
    }
    // Another client acts just before the round's first PUT reaches the server.
    void beforeFirstPut(std::function<void(const Request&)> act) {
        script = [act, done = false](const Request& r) mutable -> std::optional<Reply> {
            if (r.method == "PUT" && !std::exchange(done, true))
                act(r);
            return std::nullopt;
        };
    }
    // A program started again: the state read back from its files.
    void restart() { state = std::make_unique<SyncState>(state->dir()); }
    QStringList texts() const {
        QStringList out;
        for (const LocalTask& t : here)
            out.append(t.row[ColText]);
        out.sort();
        return out;
    }
};

LocalTask task(const QString& text, const QString& stamp = u"Le 12/01 à 09:00 am"_qs) {
    return {{stamp, text, QString(), QString(), QString()}, {}};
}

QByteArray item(const QString& uid, const QString& summary, const QByteArray& extra = {},
                const QByteArray& created = "20261101T080000Z") {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:" +
           uid.toUtf8() + "\r\nDTSTAMP:20261101T080000Z\r\nCREATED:" + created +
           "\r\nLAST-MODIFIED:20261101T080000Z\r\nSUMMARY:" + summary.toUtf8() + "\r\n" + extra +
           "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// A client elsewhere edits the item: the summary, or its text replaced as given.
void editThere(World& w, const QString& from, const QString& to, const QByteArray& also = {}) {
    const QString path = w.server.pathOf(from);
    QByteArray ics = w.server.items.value(path).ics;
    ics.replace("SUMMARY:" + from.toUtf8(), "SUMMARY:" + to.toUtf8() + also);
    w.server.put(path, ics);
}

void editHere(World& w, const QString& from, const QString& to, const QString& alarm = {}) {
    const auto t = std::find_if(w.here.begin(), w.here.end(),
                                [&](const LocalTask& x) { return x.row[ColText] == from; });
    QVERIFY(t != w.here.end());
    t->row[ColText] = to;
    if (!alarm.isNull())
        t->row[ColAlarm] = alarm;
    t->edited = kNow.addSecs(600);
}

struct Scenario {
    QList<LocalTask> here;
    std::function<void(World&)> between = {};
    std::function<void(World&)> check = {};
    QList<QByteArray> there = {}; // items at UID.ics
};

} // namespace

// Each row: what is here and there, a first round when `synced`, what happens in between,
// then the round checked: its requests, the tasks here and the open items there after it.
void TestSyncCore::round_data() {
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("requests");
    QTest::addColumn<QStringList>("here");
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<bool>("synced");

    const auto row = [](const char* name, const Scenario& s, const QString& requests,
                        const QStringList& here, const QStringList& there, bool synced = true) {
        QTest::newRow(name) << s << requests << here << there << synced;
    };
    const QStringList ab{u"a"_qs, u"b"_qs}, a{u"a"_qs}, a2{u"a2"_qs}, b{u"b"_qs};
    const QList<LocalTask> one{task(u"a"_qs)},
        two{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)};

    row("nothing changed is one request, after a restart too",
        {two, [](World& w) { w.restart(); },
         [](World& w) {
             // The state is kept in a private folder.
             QCOMPARE(testing::modeOf(w.state->dir()), mode_t(0700));
             QDirIterator files(w.state->dir(), QDir::Files, QDirIterator::Subdirectories);
             int count = 0;
             for (; files.hasNext(); ++count)
                 QCOMPARE(testing::modeOf(files.next()), mode_t(0600));
             QCOMPARE(count, 3); // the list's file and the items'
         }},
        u"REPORT"_qs, ab, ab);
    row("token refused: a full listing", {one, [](World& w) { w.server.refuseTokens = true; }},
        u"REPORT|PROPFIND|REPORT"_qs, a, a);
    row("both sides non-empty at the first sync",
        {{task(u"a"_qs), task(u"here only"_qs, u"Le 12/03 à 09:00 am"_qs)},
         {},
         {},
         {item(u"x"_qs, u"a"_qs, {}, "20261201T090000"), item(u"y"_qs, u"there only"_qs)}},
        u"PROPFIND|REPORT|REPORT|PUT If-None-Match"_qs,
        {u"a"_qs, u"here only"_qs, u"there only"_qs}, {u"a"_qs, u"here only"_qs, u"there only"_qs},
        false);
    row("a create answered 412 links to the item there",
        {one,
         [](World& w) {
             // Written by another machine sharing the task file, after the listing.
             w.beforeFirstPut([&w](const Request& r) { w.server.put(r.url.path(), r.body); });
         }},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, a, a, false);
    row("a create answered 409 no-uid-conflict links to the item it names",
        {one,
         [](World& w) {
             w.script = [&w](const Request& r) -> std::optional<Reply> {
                 if (r.method != "PUT")
                     return std::nullopt;
                 w.server.put(u"/u/tasks/other.ics"_qs, r.body);
                 return answer(409,
                               "<d:error xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:"
                               "caldav\"><c:no-uid-conflict><d:href>/u/tasks/other.ics</d:href>"
                               "</c:no-uid-conflict></d:error>");
             };
         },
         [](World& w) {
             w.script = {};
             w.round();
             QCOMPARE(w.methods.join(u'|'), u"REPORT"_qs);
             QCOMPARE(w.server.items.keys(), QStringList{u"/u/tasks/other.ics"_qs});
         }},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, a, a, false);
    row("text here, alarm there: merged by field",
        {one,
         [](World& w) {
             editHere(w, u"a"_qs, u"a here"_qs);
             // Another client sets an alarm after the listing: the change gets a 412.
             w.beforeFirstPut([&w](const Request&) {
                 editThere(w, u"a"_qs, u"a"_qs, "\r\nDUE:20261208T090000");
             });
         },
         [](World& w) {
             QCOMPARE(w.here[0].row[ColAlarm], alarmTextAt({2026, 12, 8}, {9, 0}));
             QVERIFY(w.server.copy(u"a here"_qs).contains("DUE"));
         }},
        u"REPORT|PUT If-Match|GET|PUT If-Match"_qs, {u"a here"_qs}, {u"a here"_qs});
    row("alarm changed both sides: the later change wins",
        {one,
         [](World& w) {
             editHere(w, u"a"_qs, u"a"_qs, alarmTextAt({2026, 12, 9}, {8, 0}));
             w.here[0].edited = kNow.addDays(-1); // before the change there
             editThere(w, u"a"_qs, u"a"_qs, "\r\nDUE:20261210T090000");
         },
         [](World& w) {
             QCOMPARE(w.here[0].row[ColAlarm], alarmTextAt({2026, 12, 10}, {9, 0}));
         }},
        u"REPORT|REPORT"_qs, a, a);
    row("text changed both sides keeps both",
        {one,
         [](World& w) {
             editHere(w, u"a"_qs, u"a here"_qs);
             editThere(w, u"a"_qs, u"a there"_qs);
         }},
        u"REPORT|REPORT|PUT If-None-Match"_qs, {u"a here"_qs, u"a there"_qs},
        {u"a here"_qs, u"a there"_qs});
    row("a task a file merge brings back after it was done there leaves again",
        {{task(u"a"_qs, u"Le 11/01 à 08:00 am"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         [](World& w) {
             editThere(w, u"a"_qs, u"a"_qs, "\r\nSTATUS:COMPLETED");
             w.round();
             QCOMPARE(w.texts(), QStringList{u"b"_qs});
             w.restart();
             w.here.append(task(u"a"_qs, u"Le 11/01 à 08:00 am"_qs));
         }},
        u"REPORT"_qs, b, b);
    row("edited here, deleted there: back under its UID, or a new one where it is refused or "
        "where it was completed there",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs),
          task(u"c"_qs, u"Le 12/03 à 09:00 am"_qs)},
         [](World& w) {
             for (const QString& text : {u"a"_qs, u"b"_qs}) {
                 w.server.remove(w.server.pathOf(text));
                 editHere(w, text, text + u'2');
             }
             editThere(w, u"c"_qs, u"c"_qs, "\r\nSTATUS:COMPLETED");
             editHere(w, u"c"_qs, u"c2"_qs);
             w.script = [](const Request& r) -> std::optional<Reply> {
                 // A trash keeps b's old UID.
                 if (r.method == "PUT" &&
                     r.body.contains(taskUid(u"Le 12/02 à 09:00 am"_qs, u"b"_qs).toUtf8()))
                     return answer(409, "<d:error xmlns:d=\"DAV:\"/>");
                 return std::nullopt;
             };
         },
         [](World& w) {
             const QString uid = taskUid(w.here[0].row[ColStamp], u"a"_qs);
             QCOMPARE(readItem(w.server.copy(u"a2"_qs), kNow).uid, uid);
             QVERIFY(w.server.items.contains(u"/u/tasks/"_qs + uid + u".ics"_qs));
             QVERIFY(readItem(w.server.copy(u"b2"_qs), kNow).uid !=
                     taskUid(w.here[1].row[ColStamp], u"b"_qs));
             QVERIFY(readItem(w.server.copy(u"c2"_qs), kNow).uid !=
                     taskUid(w.here[2].row[ColStamp], u"c"_qs));
             QCOMPARE(w.server.items.size(), 4); // c's completed copy stays
         }},
        u"REPORT|REPORT|PUT If-None-Match|PUT If-None-Match|PUT If-None-Match|PUT If-None-Match"_qs,
        {u"a2"_qs, u"b2"_qs, u"c2"_qs}, {u"a2"_qs, u"b2"_qs, u"c2"_qs});
    row("deleted there between the listing and the change: put back",
        {one,
         [](World& w) {
             editHere(w, u"a"_qs, u"a2"_qs);
             w.beforeFirstPut([&w](const Request&) { w.server.remove(w.server.pathOf(u"a"_qs)); });
         }},
        u"REPORT|PUT If-Match|PUT If-None-Match"_qs, a2, a2);
    row("deleted here completes the item; answered 412, read again and completed again",
        {two,
         [](World& w) {
             w.state->markDeleted({w.here[0].row});
             w.here.removeFirst();
             w.restart(); // the deletion was kept on disk at once
             w.beforeFirstPut(
                 [&w](const Request&) { editThere(w, u"a"_qs, u"a"_qs, "\r\nPRIORITY:2"); });
         },
         [](World& w) {
             const QByteArray ics = w.server.copy(u"a"_qs);
             for (const char* set :
                  {"STATUS:COMPLETED", "PERCENT-COMPLETE:100", "\nCOMPLETED:", "PRIORITY:2"})
                 QVERIFY2(ics.contains(set), set);
             QCOMPARE(w.state->waiting(), 0);
         }},
        u"REPORT|PUT If-Match|GET|PUT If-Match"_qs, b, b);
    row("deleted there leaves here, lost here without Delete is only unlinked",
        {two,
         [](World& w) {
             w.server.remove(w.server.pathOf(u"a"_qs));
             w.here.removeLast();
         }},
        u"REPORT"_qs, {}, b);
    row("a task with no text and no alarm is never sent",
        {{task(QString()), task(u"  "_qs, u"Le 12/02 à 09:00 am"_qs)}}, u"PROPFIND|REPORT"_qs,
        {QString(), u"  "_qs}, {}, false);
    const QByteArray tasksOrg =
        "X-APPLE-SORT-ORDER:12\r\nCATEGORIES:home\r\nPRIORITY:1\r\nDTSTART:20261201T080000Z\r\n"
        "DUE:20261208T090000Z\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:PT0S\r\n"
        "DESCRIPTION:x\r\nEND:VALARM\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
        "TRIGGER:-PT15M\r\nDESCRIPTION:early\r\nEND:VALARM\r\n";
    row("an item of another client keeps what Jotlark does not understand, its alarm moved or "
        "removed",
        {{},
         [](World& w) { editHere(w, u"milk"_qs, u"milk and eggs"_qs); },
         [](World& w) {
             const auto keeps = [&w](const char* due, int alarms) {
                 const QByteArray ics = w.server.copy(u"milk and eggs"_qs);
                 for (const char* kept :
                      {"X-APPLE-SORT-ORDER:12", "CATEGORIES:home", "PRIORITY:1",
                       "DTSTART:20261201T080000Z", "TRIGGER:-PT15M", "UID:t", due})
                     QVERIFY2(ics.contains(kept), kept);
                 QCOMPARE(ics.count("BEGIN:VALARM"), alarms);
             };
             keeps("DUE:20261208T090000Z", 2);
             const QString moved = alarmTextAt({2026, 12, 20}, {18, 30});
             editHere(w, u"milk and eggs"_qs, u"milk and eggs"_qs, moved);
             w.round();
             keeps("", 2);
             QCOMPARE(readItem(w.server.copy(u"milk and eggs"_qs), kNow).task->row[ColAlarm],
                      moved);
             editHere(w, u"milk and eggs"_qs, u"milk and eggs"_qs, u""_qs);
             w.round();
             keeps("", 1); // the one at the due time goes
             QVERIFY(!w.server.copy(u"milk and eggs"_qs).contains("DUE"));
         },
         {item(u"t"_qs, u"milk"_qs, tasksOrg)}},
        u"REPORT|PUT If-Match"_qs, {u"milk and eggs"_qs}, {u"milk and eggs"_qs});
    row("a foreign rule comes as its next time and is not written back",
        {{},
         [](World& w) {
             QCOMPARE(w.state->nextForeignOccurrence(w.here[0].row, kNow),
                      QDateTime::fromString(u"2026-12-15T07:00:00Z"_qs, Qt::ISODate).toLocalTime());
             // It rang: the alarm moves on by the rule, which the server already says.
             const QDateTime next = *w.state->nextForeignOccurrence(w.here[0].row, kNow.addDays(8));
             w.here[0].row[ColAlarm] = alarmTextAt(next.date(), next.time());
             w.here[0].row[ColFired].clear();
         },
         [](World& w) {
             // Moved here by hand: the rule stays, from the new time on.
             w.here[0].row[ColAlarm] = alarmTextAt({2026, 12, 16}, {8, 0});
             w.round();
             QCOMPARE(w.methods.join(u'|'), u"REPORT|PUT If-Match"_qs);
             QVERIFY(w.server.copy(u"bins"_qs).contains("RRULE:FREQ=WEEKLY;INTERVAL=2"));
             QVERIFY(!w.server.copy(u"bins"_qs).contains("DUE:20261201T070000Z"));
         },
         {item(u"r"_qs, u"bins"_qs, "DUE:20261201T070000Z\r\nRRULE:FREQ=WEEKLY;INTERVAL=2\r\n")}},
        u"REPORT"_qs, {u"bins"_qs}, {u"bins"_qs});
    Scenario many;
    for (int i = 0; i < 98; ++i)
        many.here.append(task(u"here %1"_qs.arg(i), creationStamp(kNow.addDays(-i))));
    for (int i = 0; i < 5; ++i)
        many.there.append(item(u"i%1"_qs.arg(i), u"there %1"_qs.arg(i),
                               "DUE:2026121" + QByteArray::number(5 - i) + "T090000Z\r\n"));
    many.check = [](World& w) {
        // The earliest due come in: items 4 and 3.
        QCOMPARE(w.result.notShown, 3);
        QCOMPARE(w.here.size(), 100);
        QVERIFY(w.texts().contains(u"there 4"_qs) && w.texts().contains(u"there 3"_qs));
        QCOMPARE(w.server.open().size(), 103);
        // A row freed here: the next earliest item takes it at the next round.
        w.state->markDeleted({w.here[0].row});
        w.here.removeFirst();
        w.round();
        QCOMPARE(w.result.notShown, 2);
        QVERIFY(w.texts().contains(u"there 2"_qs));
    };
    row("more than 100: items fill the free rows, earliest due first", many, {}, {}, {}, false);
    row("lost state doubles nothing",
        {two,
         [](World& w) {
             QDir(w.state->dir()).removeRecursively();
             w.restart();
         }},
        u"PROPFIND|REPORT|REPORT"_qs, ab, ab);
    row("killed between a create and its answer: no double",
        {one,
         [](World& w) {
             w.round(true);
             QCOMPARE(w.state->waiting(), 1);
         },
         [](World& w) { QCOMPARE(w.state->waiting(), 0); }},
        u"PROPFIND|REPORT|REPORT"_qs, a, a, false);
    row("a PUT answered without an ETag is read back",
        {one, [](World& w) { w.server.noEtag = true; },
         [](World& w) {
             w.server.noEtag = false;
             editHere(w, u"a"_qs, u"a2"_qs);
             w.round();
             QCOMPARE(w.methods.join(u'|'), u"REPORT|PUT If-Match"_qs);
             QCOMPARE(w.server.open(), QStringList{u"a2"_qs});
         }},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, a, a, false);
}

void TestSyncCore::round() {
    QFETCH(Scenario, scenario);
    World w;
    w.here = scenario.here;
    for (const QByteArray& ics : scenario.there)
        w.server.put(u"/u/tasks/"_qs + readItem(ics, kNow).uid + u".ics"_qs, ics);
    QFETCH(bool, synced);
    if (synced)
        w.round();
    if (scenario.between)
        scenario.between(w);
    w.round();
    QFETCH(QString, requests);
    if (!requests.isEmpty()) { // else the row checks all itself
        QCOMPARE(w.methods.join(u'|'), requests);
        QTEST(w.texts(), "here");
        QTEST(w.server.open(), "there");
    }
    if (scenario.check)
        scenario.check(w);
}

QTEST_GUILESS_MAIN(TestSyncCore)
#include "tst_synccore.moc"
