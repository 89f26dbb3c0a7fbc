// SPDX-License-Identifier: GPL-3.0-or-later
// The sync round against a small CalDAV server kept in memory: each row is a conversation,
// the server's answers coming from its items, with the answers a row scripts in between (a
// refused token, another client's write, a cut connection, a kill).
#include "alarms/alarmtext.h"
#include "calendar/calendaritem.h"
#include "calendar/vtodo.h"
#include "sync/engine.h"
#include "sync/syncstate.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace jot;
using namespace jot::sync;

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
    int tags = 0;
    bool refuseTokens = false;
    bool noEtag = false;

    void put(const QString& path, const QByteArray& ics) {
        items[path] = {'"' + QByteArray::number(++tags) + '"', ics, ++version};
        removed.remove(path);
    }
    void remove(const QString path) { // a copy: the key it names goes
        items.remove(path);
        removed[path] = ++version;
    }
    QStringList open() const {
        QStringList out;
        for (const Item& item : items) {
            if (readItem(item.ics, kNow).task)
                out.append(summaryOf(item.ics));
        }
        out.sort();
        return out;
    }

    static QByteArray multistatus(const QByteArray& inside) {
        return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
               "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
               inside + "</d:multistatus>";
    }
    static QByteArray response(const QString& path, const QByteArray& props) {
        return "<d:response><d:href>" + QUrl::toPercentEncoding(path, "/") +
               "</d:href><d:propstat><d:prop>" + props +
               "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    }

    Reply answer(const Request& request) {
        const QString path = request.url.path();
        const QByteArray body = request.body;
        const auto header = [&](const QByteArray& name) {
            for (const auto& h : request.headers) {
                if (h.first == name)
                    return h.second;
            }
            return QByteArray();
        };
        if (request.method == "PROPFIND")
            return {207,
                    {},
                    multistatus(response(path, "<d:sync-token>t" + QByteArray::number(version) +
                                                   "</d:sync-token>")),
                    {},
                    {}};
        if (request.method == "REPORT" && body.contains("sync-collection")) {
            const QRegularExpression tokenRe(QStringLiteral("<d:sync-token>t(\\d+)<"));
            const QRegularExpressionMatch m = tokenRe.match(QString::fromUtf8(body));
            if (refuseTokens || !m.hasMatch())
                return {
                    403, {}, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>", {}, {}};
            const int since = m.captured(1).toInt();
            QByteArray out;
            for (auto it = items.cbegin(); it != items.cend(); ++it) {
                if (it->version > since)
                    out += response(it.key(), "<d:getetag>" + it->etag + "</d:getetag>");
            }
            for (auto it = removed.cbegin(); it != removed.cend(); ++it) {
                if (*it > since)
                    out += "<d:response><d:href>" + it.key().toUtf8() +
                           "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
            }
            return {207,
                    {},
                    multistatus(out + "<d:sync-token>t" + QByteArray::number(version) +
                                "</d:sync-token>"),
                    {},
                    {}};
        }
        if (request.method == "REPORT" && body.contains("calendar-query")) {
            QByteArray out;
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                out += response(it.key(), "<d:getetag>" + it->etag + "</d:getetag>");
            return {207, {}, multistatus(out), {}, {}};
        }
        if (request.method == "REPORT" && body.contains("calendar-multiget")) {
            QByteArray out;
            const QRegularExpression hrefRe(QStringLiteral("<d:href>([^<]*)</d:href>"));
            for (const QRegularExpressionMatch& m : hrefRe.globalMatch(QString::fromUtf8(body))) {
                const QString href = QUrl::fromPercentEncoding(m.captured(1).toUtf8());
                if (!items.contains(href)) {
                    out += "<d:response><d:href>" + m.captured(1).toUtf8() +
                           "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
                    continue;
                }
                out += response(href, "<d:getetag>" + items[href].etag +
                                          "</d:getetag><c:calendar-data>" +
                                          QString::fromUtf8(items[href].ics)
                                              .toHtmlEscaped()
                                              .replace(u"\r"_qs, u"&#13;"_qs)
                                              .toUtf8() +
                                          "</c:calendar-data>");
            }
            return {207, {}, multistatus(out), {}, {}};
        }
        if (request.method == "GET") {
            if (!items.contains(path))
                return {404, {}, {}, {}, {}};
            return {200, items[path].etag, items[path].ics, {}, {}};
        }
        if (request.method == "PUT") {
            const bool exists = items.contains(path);
            if ((header("If-None-Match") == "*" && exists) ||
                (!header("If-Match").isEmpty() &&
                 (!exists || items[path].etag != header("If-Match"))))
                return {exists || header("If-None-Match") == "*" ? 412 : 404, {}, {}, {}, {}};
            put(path, body);
            return {exists ? 204 : 201, noEtag ? QByteArray() : items[path].etag, {}, {}, {}};
        }
        return {405, {}, {}, {}, {}};
    }
};

// One machine's list, its sync state, and the server it syncs with.
struct World {
    QTemporaryDir dir;
    Server server;
    QList<LocalTask> here;
    std::unique_ptr<SyncState> state;
    QStringList methods; // of the last round, with their conditions
    RoundResult result;
    QDateTime now = kNow;
    // Scripted answers: given the request and its number in the round, an answer in the
    // server's place, or nothing to let the server answer.
    std::function<std::optional<Reply>(const Request&, int)> script;

    World() { state = std::make_unique<SyncState>(dir.path() + u"/state"_qs); }

    void round() {
        Engine engine(*state, kList, now);
        engine.start(here);
        methods.clear();
        for (int n = 0; n < 1000; ++n) {
            const std::optional<Request> request = engine.next();
            if (!request)
                break;
            QString step = QString::fromLatin1(request->method);
            for (const auto& h : request->headers) {
                if (h.first.startsWith("If-"))
                    step += u' ' + QString::fromLatin1(h.first);
            }
            methods.append(step);
            std::optional<Reply> scripted = script ? script(*request, n) : std::nullopt;
            engine.take(scripted ? *scripted : server.answer(*request));
        }
        result = engine.result();
        for (const TaskRow& row : result.removed)
            here.removeIf([&](const LocalTask& t) { return t.row == row; });
        for (const auto& [was, becomes] : result.changed) {
            for (LocalTask& t : here) {
                if (t.row == was)
                    t.row = becomes;
            }
        }
        for (const TaskRow& row : result.added)
            here.append({row, {}});
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

TaskRow task(const QString& text, const QString& stamp = u"Le 12/01 à 09:00 am"_qs,
             const QString& alarm = QString()) {
    return {stamp, text, alarm, QString(), QString()};
}

QByteArray item(const QString& uid, const QString& summary, const QByteArray& extra = {},
                const QByteArray& created = "20261101T080000Z") {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:" +
           uid.toUtf8() + "\r\nDTSTAMP:20261101T080000Z\r\nCREATED:" + created +
           "\r\nLAST-MODIFIED:20261101T080000Z\r\nSUMMARY:" + summary.toUtf8() + "\r\n" + extra +
           "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// The server's copy of the item whose summary is `summary`.
QByteArray serverCopy(const World& w, const QString& summary) {
    for (const Server::Item& it : w.server.items) {
        if (summaryOf(it.ics) == summary)
            return it.ics;
    }
    return {};
}

// A client elsewhere edits the item: the summary, or its text replaced as given.
void editThere(World& w, const QString& from, const QString& to, const QByteArray& also = {}) {
    for (auto it = w.server.items.begin(); it != w.server.items.end(); ++it) {
        if (summaryOf(it->ics) == from) {
            QByteArray ics = it->ics;
            ics.replace("SUMMARY:" + from.toUtf8(), "SUMMARY:" + to.toUtf8() + also);
            ics.replace(QByteArray("LAST-MODIFIED:20261207T100000Z"),
                        QByteArray("LAST-MODIFIED:20261207T110000Z"));
            w.server.put(it.key(), ics);
            return;
        }
    }
    QFAIL("no such item there");
}

void editHere(World& w, const QString& from, const QString& to, const QString& alarm = {}) {
    for (LocalTask& t : w.here) {
        if (t.row[ColText] == from) {
            t.row[ColText] = to;
            if (!alarm.isNull())
                t.row[ColAlarm] = alarm;
            t.edited = kNow.addSecs(600);
            return;
        }
    }
    QFAIL("no such task here");
}

struct Scenario {
    QList<TaskRow> here;
    QList<QByteArray> there; // items at UID.ics
    bool synced = true;      // a first round before the one the row checks
    std::function<void(World&)> between;
    std::function<std::optional<Reply>(const Request&, int)> script;
    std::function<void(World&)> check;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TestEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void round_data();
    void round();
    void stateKept();
};

// Each row: what is here and there, a first round when `synced`, what happens in between, then
// the round checked: its requests, the tasks here and the open items there after it, and its
// error.
void TestEngine::round_data() {
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("requests");
    QTest::addColumn<QStringList>("here");
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<QString>("error");

    const auto row = [](const char* name, const Scenario& s, const QString& requests,
                        const QStringList& here, const QStringList& there,
                        const QString& error = {}) {
        QTest::newRow(name) << s << requests << here << there << error;
    };
    const QStringList ab{u"a"_qs, u"b"_qs};

    row("first sync sends the tasks",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)}, {}, false, {}, {}, {}},
        u"PROPFIND|REPORT|PUT If-None-Match|PUT If-None-Match"_qs, ab, ab);
    row("nothing changed is one request",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)}, {}, true, {}, {}, {}},
        u"REPORT"_qs, ab, ab);
    row("token refused: a full listing",
        {{task(u"a"_qs)}, {}, true, [](World& w) { w.server.refuseTokens = true; }, {}, {}},
        u"REPORT|PROPFIND|REPORT"_qs, {u"a"_qs}, {u"a"_qs});
    row("both sides non-empty at the first sync",
        {{task(u"a"_qs), task(u"here only"_qs, u"Le 12/03 à 09:00 am"_qs)},
         {item(u"x"_qs, u"a"_qs, {}, "20261201T090000"), item(u"y"_qs, u"there only"_qs)},
         false,
         {},
         {},
         {}},
        u"PROPFIND|REPORT|REPORT|PUT If-None-Match"_qs,
        {u"a"_qs, u"here only"_qs, u"there only"_qs}, {u"a"_qs, u"here only"_qs, u"there only"_qs});
    row("a create answered 412 links to the item there",
        {{task(u"a"_qs)},
         {},
         false,
         [](World& w) {
             // Written by another machine sharing the task file, after the listing.
             w.script = [&w](const Request& r, int) -> std::optional<Reply> {
                 if (r.method == "PUT" && !w.server.items.contains(r.url.path()))
                     w.server.put(r.url.path(), r.body);
                 return std::nullopt;
             };
         },
         {},
         {}},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, {u"a"_qs}, {u"a"_qs});
    row("a create answered 409 no-uid-conflict links to the item it names",
        {{task(u"a"_qs)},
         {},
         false,
         [](World& w) {
             w.script = [&w](const Request& r, int) -> std::optional<Reply> {
                 if (r.method != "PUT")
                     return std::nullopt;
                 w.server.put(u"/u/tasks/other.ics"_qs, r.body);
                 return Reply{409,
                              {},
                              "<d:error xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:"
                              "caldav\"><c:no-uid-conflict><d:href>/u/tasks/other.ics</d:href>"
                              "</c:no-uid-conflict></d:error>",
                              {},
                              {}};
             };
         },
         {},
         [](World& w) {
             w.script = {};
             w.round();
             QCOMPARE(w.methods.join(u'|'), u"REPORT"_qs);
             QCOMPARE(w.server.items.keys(), QStringList{u"/u/tasks/other.ics"_qs});
         }},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, {u"a"_qs}, {u"a"_qs});
    row("an edit there comes here",
        {{task(u"a"_qs)}, {}, true, [](World& w) { editThere(w, u"a"_qs, u"a2"_qs); }, {}, {}},
        u"REPORT|REPORT"_qs, {u"a2"_qs}, {u"a2"_qs});
    row("an edit here goes there with If-Match",
        {{task(u"a"_qs)}, {}, true, [](World& w) { editHere(w, u"a"_qs, u"a2"_qs); }, {}, {}},
        u"REPORT|PUT If-Match"_qs, {u"a2"_qs}, {u"a2"_qs});
    row("text here, alarm there: merged by field",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) {
             editHere(w, u"a"_qs, u"a here"_qs);
             // Another client sets an alarm after the listing: the change gets a 412.
             w.script = [&w, done = false](const Request& r, int) mutable -> std::optional<Reply> {
                 if (r.method == "PUT" && !done) {
                     done = true;
                     editThere(w, u"a"_qs, u"a"_qs, "\r\nDUE:20261208T090000");
                 }
                 return std::nullopt;
             };
         },
         {},
         [](World& w) {
             QCOMPARE(w.here[0].row[ColAlarm], alarmTextAt({2026, 12, 8}, {9, 0}));
             QVERIFY(serverCopy(w, u"a here"_qs).contains("DUE"));
         }},
        u"REPORT|PUT If-Match|GET|PUT If-Match"_qs, {u"a here"_qs}, {u"a here"_qs});
    row("alarm changed both sides: the later change wins",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) {
             editHere(w, u"a"_qs, u"a"_qs, alarmTextAt({2026, 12, 9}, {8, 0}));
             w.here[0].edited = kNow.addDays(-1); // before the change there
             editThere(w, u"a"_qs, u"a"_qs, "\r\nDUE:20261210T090000");
         },
         {},
         [](World& w) {
             QCOMPARE(w.here[0].row[ColAlarm], alarmTextAt({2026, 12, 10}, {9, 0}));
         }},
        u"REPORT|REPORT"_qs, {u"a"_qs}, {u"a"_qs});
    row("text changed both sides keeps both",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) {
             editHere(w, u"a"_qs, u"a here"_qs);
             editThere(w, u"a"_qs, u"a there"_qs);
         },
         {},
         {}},
        u"REPORT|REPORT|PUT If-None-Match"_qs, {u"a here"_qs, u"a there"_qs},
        {u"a here"_qs, u"a there"_qs});
    row("completed there leaves here",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) { editThere(w, u"a"_qs, u"a"_qs, "\r\nSTATUS:COMPLETED"); },
         {},
         {}},
        u"REPORT|REPORT"_qs, {u"b"_qs}, {u"b"_qs});
    row("a task a file merge brings back after it was done there leaves again",
        {{task(u"a"_qs, u"Le 11/01 à 08:00 am"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) {
             editThere(w, u"a"_qs, u"a"_qs, "\r\nSTATUS:COMPLETED");
             w.round();
             QCOMPARE(w.texts(), QStringList{u"b"_qs});
             w.restart();
             w.here.append({task(u"a"_qs, u"Le 11/01 à 08:00 am"_qs), {}});
         },
         {},
         {}},
        u"REPORT"_qs, {u"b"_qs}, {u"b"_qs});
    row("deleted there leaves here",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) {
             for (auto it = w.server.items.cbegin(); it != w.server.items.cend(); ++it) {
                 if (summaryOf(it->ics) == u"a"_qs)
                     return w.server.remove(it.key());
             }
         },
         {},
         {}},
        u"REPORT"_qs, {u"b"_qs}, {u"b"_qs});
    row("completed there but edited here since: put back under a new UID",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) {
             editThere(w, u"a"_qs, u"a"_qs, "\r\nSTATUS:COMPLETED");
             editHere(w, u"a"_qs, u"a2"_qs);
         },
         {},
         [](World& w) { QCOMPARE(w.server.items.size(), 2); }},
        u"REPORT|REPORT|PUT If-None-Match"_qs, {u"a2"_qs}, {u"a2"_qs});
    const auto removeThere = [](World& w, const QString& summary) {
        for (auto it = w.server.items.cbegin(); it != w.server.items.cend(); ++it) {
            if (summaryOf(it->ics) == summary)
                return w.server.remove(it.key());
        }
    };
    row("deleted there but edited here: back under its UID",
        {{task(u"a"_qs)},
         {},
         true,
         [removeThere](World& w) {
             removeThere(w, u"a"_qs);
             editHere(w, u"a"_qs, u"a2"_qs);
         },
         {},
         [](World& w) {
             const QString uid = taskUid(w.here[0].row[ColStamp], u"a"_qs);
             QCOMPARE(readItem(serverCopy(w, u"a2"_qs), kNow).uid, uid);
             QCOMPARE(w.server.items.keys(), QStringList{u"/u/tasks/"_qs + uid + u".ics"_qs});
         }},
        u"REPORT|PUT If-None-Match"_qs, {u"a2"_qs}, {u"a2"_qs});
    row("deleted there, edited here, old UID refused: a new one",
        {{task(u"a"_qs)},
         {},
         true,
         [removeThere](World& w) {
             removeThere(w, u"a"_qs);
             editHere(w, u"a"_qs, u"a2"_qs);
         },
         [](const Request& r, int) -> std::optional<Reply> {
             // A trash keeps the old UID.
             if (r.method == "PUT" &&
                 r.body.contains(taskUid(u"Le 12/01 à 09:00 am"_qs, u"a"_qs).toUtf8()))
                 return Reply{409, {}, "<d:error xmlns:d=\"DAV:\"/>", {}, {}};
             return std::nullopt;
         },
         [](World& w) {
             QVERIFY(readItem(serverCopy(w, u"a2"_qs), kNow).uid !=
                     taskUid(w.here[0].row[ColStamp], u"a"_qs));
         }},
        u"REPORT|PUT If-None-Match|PUT If-None-Match"_qs, {u"a2"_qs}, {u"a2"_qs});
    row("deleted there between the listing and the change: put back",
        {{task(u"a"_qs)},
         {},
         true,
         [removeThere](World& w) {
             editHere(w, u"a"_qs, u"a2"_qs);
             w.script = [&w, removeThere](const Request& r, int) -> std::optional<Reply> {
                 for (const auto& h : r.headers) {
                     if (h.first == "If-Match")
                         removeThere(w, u"a"_qs);
                 }
                 return std::nullopt;
             };
         },
         {},
         {}},
        u"REPORT|PUT If-Match|PUT If-None-Match"_qs, {u"a2"_qs}, {u"a2"_qs});
    row("completing answered 412: read again, completed again",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) {
             w.state->markDeleted({w.here[0].row});
             w.here.clear();
             w.script = [&w, done = false](const Request& r, int) mutable -> std::optional<Reply> {
                 if (r.method == "PUT" && !done) {
                     done = true;
                     editThere(w, u"a"_qs, u"a"_qs, "\r\nPRIORITY:2");
                 }
                 return std::nullopt;
             };
         },
         {},
         [](World& w) {
             const QByteArray ics = w.server.items.first().ics;
             QVERIFY(ics.contains("STATUS:COMPLETED"));
             QVERIFY(ics.contains("PRIORITY:2"));
         }},
        u"REPORT|PUT If-Match|GET|PUT If-Match"_qs, {}, {});
    row("deleted here completes the item",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) {
             w.state->markDeleted({w.here[0].row});
             w.here.removeFirst();
             w.restart(); // the deletion was kept on disk at once
         },
         {},
         [](World& w) {
             const QByteArray ics = serverCopy(w, u"a"_qs);
             QVERIFY(ics.contains("STATUS:COMPLETED"));
             QVERIFY(ics.contains("PERCENT-COMPLETE:100"));
             QVERIFY(ics.contains("\nCOMPLETED:"));
             QCOMPARE(w.state->waiting(), 0);
         }},
        u"REPORT|PUT If-Match"_qs, {u"b"_qs}, {u"b"_qs});
    row("a task lost here without Delete is only unlinked",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) { w.here.removeFirst(); },
         {},
         {}},
        u"REPORT"_qs, {u"b"_qs}, ab);
    row("a task with no text and no alarm is never sent",
        {{task(QString()), task(u"  "_qs, u"Le 12/02 à 09:00 am"_qs)}, {}, false, {}, {}, {}},
        u"PROPFIND|REPORT"_qs, {QString(), u"  "_qs}, {});
    const QByteArray tasksOrg =
        "X-APPLE-SORT-ORDER:12\r\nCATEGORIES:home\r\nPRIORITY:1\r\nDTSTART:20261201T080000Z\r\n"
        "DUE:20261208T090000Z\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:PT0S\r\n"
        "DESCRIPTION:x\r\nEND:VALARM\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
        "TRIGGER:-PT15M\r\nDESCRIPTION:early\r\nEND:VALARM\r\n";
    row("an item of another client keeps what Jotlark does not understand",
        {{},
         {item(u"t"_qs, u"milk"_qs, tasksOrg)},
         true,
         [](World& w) { editHere(w, u"milk"_qs, u"milk and eggs"_qs); },
         {},
         [tasksOrg](World& w) {
             const QByteArray ics = serverCopy(w, u"milk and eggs"_qs);
             for (const QByteArray& kept :
                  {QByteArray("X-APPLE-SORT-ORDER:12"), QByteArray("CATEGORIES:home"),
                   QByteArray("PRIORITY:1"), QByteArray("DTSTART:20261201T080000Z"),
                   QByteArray("TRIGGER:-PT15M"), QByteArray("DUE:20261208T090000Z"),
                   QByteArray("UID:t")})
                 QVERIFY2(ics.contains(kept), kept.constData());
             QCOMPARE(ics.count("BEGIN:VALARM"), 2);
         }},
        u"REPORT|PUT If-Match"_qs, {u"milk and eggs"_qs}, {u"milk and eggs"_qs});
    row("an alarm removed here takes DUE and its alarm, nothing else",
        {{},
         {item(u"t"_qs, u"milk"_qs, tasksOrg)},
         true,
         [](World& w) { editHere(w, u"milk"_qs, u"milk"_qs, u""_qs); },
         {},
         [](World& w) {
             const QByteArray ics = serverCopy(w, u"milk"_qs);
             QVERIFY(!ics.contains("DUE"));
             QVERIFY(!ics.contains("RELATED=END"));
             for (const QByteArray& kept :
                  {QByteArray("TRIGGER:-PT15M"), QByteArray("CATEGORIES:home"),
                   QByteArray("DTSTART:20261201T080000Z"), QByteArray("X-APPLE-SORT-ORDER:12")})
                 QVERIFY2(ics.contains(kept), kept.constData());
         }},
        u"REPORT|PUT If-Match"_qs, {u"milk"_qs}, {u"milk"_qs});
    row("an alarm moved here moves DUE, the alarms stay",
        {{},
         {item(u"t"_qs, u"milk"_qs, tasksOrg)},
         true,
         [](World& w) {
             editHere(w, u"milk"_qs, u"milk"_qs, alarmTextAt({2026, 12, 20}, {18, 30}));
         },
         {},
         [](World& w) {
             const CalendarItem item = readItem(serverCopy(w, u"milk"_qs), kNow);
             QVERIFY(item.task);
             QCOMPARE(item.task->row[ColAlarm], alarmTextAt({2026, 12, 20}, {18, 30}));
             QCOMPARE(serverCopy(w, u"milk"_qs).count("BEGIN:VALARM"), 2);
         }},
        u"REPORT|PUT If-Match"_qs, {u"milk"_qs}, {u"milk"_qs});
    row("a foreign rule comes as its next time and is not written back",
        {{},
         {item(u"r"_qs, u"bins"_qs, "DUE:20261201T070000Z\r\nRRULE:FREQ=WEEKLY;INTERVAL=2\r\n")},
         true,
         [](World& w) {
             QVERIFY(w.state->hasForeignRule(w.here[0].row));
             QCOMPARE(w.state->nextForeignOccurrence(w.here[0].row, kNow),
                      QDateTime::fromString(u"2026-12-15T07:00:00Z"_qs, Qt::ISODate).toLocalTime());
             // It rang: the alarm moves on by the rule, which the server already says.
             const QDateTime next = *w.state->nextForeignOccurrence(w.here[0].row, kNow.addDays(8));
             w.here[0].row[ColAlarm] = alarmTextAt(next.date(), next.time());
             w.here[0].row[ColFired].clear();
         },
         {},
         [](World& w) {
             QVERIFY(serverCopy(w, u"bins"_qs).contains("RRULE:FREQ=WEEKLY;INTERVAL=2"));
         }},
        u"REPORT"_qs, {u"bins"_qs}, {u"bins"_qs});
    row("a foreign rule keeps its RRULE when its alarm is moved here",
        {{},
         {item(u"r"_qs, u"bins"_qs, "DUE:20261201T070000Z\r\nRRULE:FREQ=WEEKLY;INTERVAL=2\r\n")},
         true,
         [](World& w) {
             w.here[0].row[ColAlarm] = alarmTextAt({2026, 12, 16}, {8, 0});
         },
         {},
         [](World& w) {
             const QByteArray ics = serverCopy(w, u"bins"_qs);
             QVERIFY(ics.contains("RRULE:FREQ=WEEKLY;INTERVAL=2"));
             QVERIFY(!ics.contains("DUE:20261201T070000Z"));
         }},
        u"REPORT|PUT If-Match"_qs, {u"bins"_qs}, {u"bins"_qs});
    Scenario many;
    for (int i = 0; i < 98; ++i)
        many.here.append(task(u"here %1"_qs.arg(i, 3, 10, QChar(u'0')),
                              u"Le %1/%2 à 09:00 am"_qs.arg(i / 28 + 1, 2, 10, QChar(u'0'))
                                  .arg(i % 28 + 1, 2, 10, QChar(u'0'))));
    for (int i = 0; i < 5; ++i)
        many.there.append(item(u"i%1"_qs.arg(i), u"there %1"_qs.arg(i),
                               "DUE:2026121" + QByteArray::number(5 - i) + "T090000Z\r\n"));
    many.synced = false;
    many.check = [](World& w) {
        QCOMPARE(w.result.notShown, 3);
        QCOMPARE(w.here.size(), 100);
        // A row freed here: the next earliest item takes it at the next round.
        w.state->markDeleted({w.here[0].row});
        w.here.removeFirst();
        w.round();
        QCOMPARE(w.result.notShown, 2);
        QVERIFY(w.texts().contains(u"there 2"_qs));
    };
    QStringList manyHere;
    for (const TaskRow& t : many.here)
        manyHere.append(t[ColText]);
    QStringList manyThere = manyHere;
    manyThere << u"there 0"_qs << u"there 1"_qs << u"there 2"_qs << u"there 3"_qs << u"there 4"_qs;
    manyThere.sort();
    // The earliest due come in: items 4 and 3.
    manyHere << u"there 3"_qs << u"there 4"_qs;
    manyHere.sort();
    row("more than 100: items fill the free rows, earliest due first", many, QString(), manyHere,
        manyThere);
    row("lost state doubles nothing",
        {{task(u"a"_qs), task(u"b"_qs, u"Le 12/02 à 09:00 am"_qs)},
         {},
         true,
         [](World& w) {
             QDir(w.state->dir()).removeRecursively();
             w.restart();
         },
         {},
         [](World& w) { QCOMPARE(w.server.items.size(), 2); }},
        u"PROPFIND|REPORT|REPORT"_qs, ab, ab);
    row("killed between a create and its answer: no double",
        {{task(u"a"_qs)},
         {},
         false,
         [](World& w) {
             // The server takes the PUT, the answer never comes, the program is killed.
             Engine engine(*w.state, kList, kNow);
             engine.start(w.here);
             for (std::optional<Request> r = engine.next(); r; r = engine.next()) {
                 const Reply reply = w.server.answer(*r);
                 if (r->method == "PUT")
                     break;
                 engine.take(reply);
             }
             w.restart();
             QCOMPARE(w.state->waiting(), 1);
         },
         {},
         [](World& w) {
             QCOMPARE(w.server.items.size(), 1);
             QCOMPARE(w.state->waiting(), 0);
         }},
        u"PROPFIND|REPORT|REPORT"_qs, {u"a"_qs}, {u"a"_qs});
    row("killed before the server took the create: sent again",
        {{task(u"a"_qs)},
         {},
         false,
         [](World& w) {
             Engine engine(*w.state, kList, kNow);
             engine.start(w.here);
             for (std::optional<Request> r = engine.next(); r && r->method != "PUT";
                  r = engine.next())
                 engine.take(w.server.answer(*r));
             w.restart();
         },
         {},
         {}},
        u"PROPFIND|REPORT|PUT If-None-Match"_qs, {u"a"_qs}, {u"a"_qs});
    row("server unreachable: the change waits",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) { editHere(w, u"a"_qs, u"a2"_qs); },
         [](const Request&, int) -> std::optional<Reply> {
             return Reply{0, {}, {}, u"Connection refused"_qs, {}};
         },
         [](World& w) { QCOMPARE(w.result.waiting, 1); }},
        u"REPORT"_qs, {u"a2"_qs}, {u"a"_qs}, u"Connection refused"_qs);
    row("connection lost at the PUT: the change waits, then goes",
        {{task(u"a"_qs)},
         {},
         true,
         [](World& w) { editHere(w, u"a"_qs, u"a2"_qs); },
         [](const Request& r, int) -> std::optional<Reply> {
             if (r.method == "PUT")
                 return Reply{0, {}, {}, u"Connection lost"_qs, {}};
             return std::nullopt;
         },
         [](World& w) {
             QCOMPARE(w.result.waiting, 1);
             w.script = {};
             w.round();
             QCOMPARE(w.server.open(), QStringList{u"a2"_qs});
         }},
        u"REPORT|PUT If-Match"_qs, {u"a2"_qs}, {u"a"_qs}, u"Connection lost"_qs);
    row("a PUT answered without an ETag is read back",
        {{task(u"a"_qs)},
         {},
         false,
         [](World& w) { w.server.noEtag = true; },
         {},
         [](World& w) {
             w.server.noEtag = false;
             editHere(w, u"a"_qs, u"a2"_qs);
             w.round();
             QCOMPARE(w.methods.join(u'|'), u"REPORT|PUT If-Match"_qs);
             QCOMPARE(w.server.open(), QStringList{u"a2"_qs});
         }},
        u"PROPFIND|REPORT|PUT If-None-Match|GET"_qs, {u"a"_qs}, {u"a"_qs});
    row("a refused password",
        {{task(u"a"_qs)},
         {},
         false,
         {},
         [](const Request&, int) -> std::optional<Reply> {
             return Reply{401, {}, {}, {}, {}};
         },
         [](World& w) { QVERIFY(w.result.passwordRefused); }},
        u"PROPFIND"_qs, {u"a"_qs}, {}, u"The server refused the user name or password."_qs);
}

void TestEngine::round() {
    QFETCH(Scenario, scenario);
    World w;
    for (const TaskRow& t : scenario.here)
        w.here.append({t, {}});
    for (const QByteArray& ics : scenario.there)
        w.server.put(u"/u/tasks/"_qs + readItem(ics, kNow).uid + u".ics"_qs, ics);
    if (scenario.synced) {
        w.round();
        QVERIFY2(w.result.error.isEmpty(), qPrintable(w.result.error));
    }
    if (scenario.between)
        scenario.between(w);
    if (scenario.script)
        w.script = scenario.script;
    w.round();
    QFETCH(QString, requests);
    if (!requests.isEmpty())
        QCOMPARE(w.methods.join(u'|'), requests);
    QTEST(w.texts(), "here");
    QTEST(w.server.open(), "there");
    QTEST(w.result.error, "error");
    if (scenario.check)
        scenario.check(w);
}

// The state survives a restart whole, in a private folder.
void TestEngine::stateKept() {
    World w;
    w.here.append({task(u"a"_qs), {}});
    w.round();
    w.restart();
    w.round();
    QCOMPARE(w.methods, QStringList{u"REPORT"_qs});
    const QFile::Permissions owner =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QCOMPARE(QFile::permissions(w.state->dir()) & 0x7777, owner | QFile::ExeOwner | QFile::ExeUser);
    QDirIterator files(w.state->dir(), QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    for (; files.hasNext(); ++count)
        QCOMPARE(QFile::permissions(files.next()) & 0x7777, owner);
    QCOMPARE(count, 2); // the list's file and the item's
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
