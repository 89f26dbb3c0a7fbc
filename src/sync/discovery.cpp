// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/discovery.h"

#include "sync/davxml.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUuid>
#include <algorithm>

namespace jot::sync {

namespace {

const QString kDav = QStringLiteral("{DAV:}");
const QString kCalDav = QStringLiteral("{urn:ietf:params:xml:ns:caldav}");

QByteArray propfind(const QByteArray& props) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>" +
           props + "</d:prop></d:propfind>\n";
}

Request davRequest(const QByteArray& method, const QUrl& url, const QByteArray& depth,
                   const QByteArray& body) {
    Request r;
    r.method = method;
    r.url = url;
    if (!depth.isEmpty())
        r.headers.append({QByteArray("Depth"), depth});
    r.headers.append({QByteArray("Content-Type"), QByteArray("application/xml; charset=utf-8")});
    r.body = body;
    return r;
}

// What a probe asks: enough to tell a task list, a principal or a place that names one.
const QByteArray kProbeProps = "<d:resourcetype/><d:displayname/><d:current-user-principal/>"
                               "<c:calendar-home-set/><c:supported-calendar-component-set/>";

bool isCalendar(const DavResponse& r) {
    const DavProp* type = r.prop(kDav + QStringLiteral("resourcetype"));
    return type && type->children.contains(kCalDav + QStringLiteral("calendar"));
}

// A collection that names no component set takes every kind (RFC 4791, 5.2.3).
bool takesTasks(const DavResponse& r) {
    const DavProp* set = r.prop(kCalDav + QStringLiteral("supported-calendar-component-set"));
    return !set || set->components.contains(QStringLiteral("VTODO"), Qt::CaseInsensitive);
}

QString displayName(const DavResponse& r) {
    const DavProp* name = r.prop(kDav + QStringLiteral("displayname"));
    return name ? name->text.trimmed() : QString();
}

QUrl firstHref(const DavResponse& r, const QString& prop, const QUrl& base) {
    const DavProp* p = r.prop(prop);
    if (!p || p->hrefs.isEmpty() || p->hrefs.first().trimmed().isEmpty())
        return {};
    return base.resolved(QUrl(p->hrefs.first().trimmed()));
}

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// The server's own words, when its answer has some: the text of an HTML page or of an XML
// error, on one line and not too long to read.
QString serverMessage(const QByteArray& body) {
    QString text = QString::fromUtf8(body.left(4096));
    static const QRegularExpression heads(QStringLiteral("<(head|style|script)\\b.*</\\1>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    text.remove(heads);
    text.replace(tags, QStringLiteral(" "));
    text = text.simplified();
    if (text.size() > 200)
        text = text.left(200) + QStringLiteral("…");
    return text;
}

QString withServerWords(const QString& said, const QByteArray& body) {
    const QString words = serverMessage(body);
    return words.isEmpty()
               ? said
               : said + QStringLiteral(" ") +
                     QCoreApplication::translate("Discovery", "The server says: %1").arg(words);
}

} // namespace

QUrl Discovery::addressFromInput(const QString& typed) {
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return {};
    return QUrl(t.contains(QStringLiteral("://")) ? t : QStringLiteral("https://") + t);
}

QString Discovery::fingerprintText(const QByteArray& hex) {
    QStringList pairs;
    const QString h = QString::fromLatin1(hex).toUpper();
    for (int i = 0; i < h.size(); i += 2)
        pairs << h.mid(i, 2);
    return pairs.join(QLatin1Char(':'));
}

Discovery Discovery::find(const QUrl& address) {
    Discovery d;
    d.m_address = address;
    // A bare host has nothing to probe but the well-known address; a path may be the list.
    const QString path = address.path();
    d.m_step = path.isEmpty() || path == QStringLiteral("/") ? Step::WellKnown : Step::Address;
    return d;
}

Discovery Discovery::create(const QUrl& home, const QString& name) {
    Discovery d;
    d.m_address = home;
    d.m_newName = name;
    d.m_result.home = home;
    d.m_step = Step::Create;
    return d;
}

Discovery Discovery::listItems(const QUrl& list) {
    Discovery d;
    d.m_address = list;
    d.m_step = Step::Items;
    return d;
}

std::optional<Request> Discovery::next() {
    switch (m_step) {
    case Step::Address:
        m_addressTried = true;
        m_target = m_address;
        return davRequest("PROPFIND", m_target, "0", propfind(kProbeProps));
    case Step::WellKnown: {
        m_wellKnownTried = true;
        m_target = m_address;
        m_target.setPath(QStringLiteral("/.well-known/caldav"));
        m_target.setQuery(QString());
        m_target.setFragment(QString());
        return davRequest("PROPFIND", m_target, "0", propfind(kProbeProps));
    }
    case Step::Principal:
        return davRequest("PROPFIND", m_target, "0", propfind("<c:calendar-home-set/>"));
    case Step::Home:
        return davRequest("PROPFIND", m_target, "1",
                          propfind("<d:resourcetype/><d:displayname/>"
                                   "<c:supported-calendar-component-set/>"));
    case Step::Create: {
        // A name of its own, so that it never lands on a collection already there.
        m_target = m_address;
        m_target.setPath(withSlash(m_address.path()) +
                         QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('/'));
        const QString name = m_newName.toHtmlEscaped();
        const QByteArray body =
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
            "<d:set><d:prop><d:displayname>" +
            name.toUtf8() +
            "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
            "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>\n";
        return davRequest("MKCALENDAR", m_target, QByteArray(), body);
    }
    case Step::Items:
        m_target = m_address;
        return davRequest(
            "REPORT", m_target, "1",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
            "<d:prop><d:getetag/><c:calendar-data/></d:prop><c:filter>"
            "<c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VTODO\"/></c:comp-filter>"
            "</c:filter></c:calendar-query>\n");
    case Step::Done:
        break;
    }
    return std::nullopt;
}

void Discovery::take(const Reply& reply) {
    if (failed(reply))
        return;
    switch (m_step) {
    case Step::Address:
    case Step::WellKnown:
        takeProbe(reply);
        break;
    case Step::Principal:
        takePrincipal(reply);
        break;
    case Step::Home:
        takeHome(reply);
        break;
    case Step::Create:
        takeCreate(reply);
        break;
    case Step::Items:
        takeItems(reply);
        break;
    case Step::Done:
        break;
    }
}

void Discovery::fail(DiscoveryProblem problem, const QString& message) {
    m_result.problem = problem;
    m_result.message = message;
    m_step = Step::Done;
}

bool Discovery::failed(const Reply& reply) {
    if (!reply.untrustedCertificate.isEmpty()) {
        m_result.certificate = reply.untrustedCertificate;
        fail(DiscoveryProblem::UntrustedCertificate,
             QCoreApplication::translate(
                 "Discovery", "This system does not trust the server's certificate. Its SHA-256 "
                              "fingerprint is %1.")
                 .arg(fingerprintText(reply.untrustedCertificate)));
    } else if (reply.status == 0) {
        fail(DiscoveryProblem::Unreachable,
             QCoreApplication::translate("Discovery", "The server cannot be reached: %1")
                 .arg(reply.error));
    } else if (reply.status == 401) {
        fail(DiscoveryProblem::WrongPassword,
             QCoreApplication::translate("Discovery",
                                         "The server refused this user name or password."));
    } else if (reply.status >= 500) {
        fail(DiscoveryProblem::ServerError,
             withServerWords(
                 QCoreApplication::translate("Discovery", "The server failed (error %1).")
                     .arg(reply.status),
                 reply.body));
    } else {
        return false;
    }
    return true;
}

void Discovery::probeOrFail(const Reply& reply) {
    if (!m_wellKnownTried) {
        m_step = Step::WellKnown;
    } else if (!m_addressTried) {
        m_step = Step::Address;
    } else if (reply.status == 403) {
        fail(DiscoveryProblem::ServerError,
             withServerWords(QCoreApplication::translate(
                                 "Discovery", "The server refused access to this address."),
                             reply.body));
    } else {
        fail(DiscoveryProblem::NotCalDav,
             QCoreApplication::translate(
                 "Discovery",
                 "This address is not a CalDAV server: no calendars were found there."));
    }
}

void Discovery::takeProbe(const Reply& reply) {
    const Multistatus answer =
        reply.status == 207 ? readMultistatus(reply.body) : Multistatus{{}, {}, QString()};
    if (reply.status != 207 || !answer.error.isEmpty() || answer.responses.isEmpty())
        return probeOrFail(reply);
    const DavResponse& here = answer.responses.first();
    if (m_step == Step::Address && isCalendar(here) && takesTasks(here)) {
        m_result.lists = {{m_target, displayName(here)}};
        m_step = Step::Done;
        return;
    }
    if (const QUrl home = firstHref(here, kCalDav + QStringLiteral("calendar-home-set"), m_target);
        home.isValid()) {
        m_target = home;
        m_step = Step::Home;
    } else if (const QUrl principal =
                   firstHref(here, kDav + QStringLiteral("current-user-principal"), m_target);
               principal.isValid()) {
        m_target = principal;
        m_step = Step::Principal;
    } else {
        probeOrFail(reply);
    }
}

void Discovery::takePrincipal(const Reply& reply) {
    const Multistatus answer = readMultistatus(reply.body);
    const QUrl home = reply.status == 207 && !answer.responses.isEmpty()
                          ? firstHref(answer.responses.first(),
                                      kCalDav + QStringLiteral("calendar-home-set"), m_target)
                          : QUrl();
    if (!home.isValid())
        return fail(DiscoveryProblem::NotCalDav,
                    QCoreApplication::translate(
                        "Discovery",
                        "This server names no calendars for this user: it is not a CalDAV "
                        "server."));
    m_target = home;
    m_step = Step::Home;
}

void Discovery::takeHome(const Reply& reply) {
    const Multistatus answer = readMultistatus(reply.body);
    if (reply.status != 207 || !answer.error.isEmpty())
        return fail(DiscoveryProblem::NotCalDav,
                    withServerWords(QCoreApplication::translate(
                                        "Discovery", "The server did not list the calendars."),
                                    reply.status == 207 ? QByteArray() : reply.body));
    m_result.home = m_target;
    for (const DavResponse& r : answer.responses) {
        const QUrl url = m_target.resolved(QUrl(r.href));
        if (isCalendar(r) && takesTasks(r))
            m_result.lists.append({url, displayName(r)});
    }
    std::sort(m_result.lists.begin(), m_result.lists.end(),
              [](const FoundList& a, const FoundList& b) {
                  return a.name.localeAwareCompare(b.name) < 0;
              });
    if (m_result.lists.isEmpty())
        return fail(
            DiscoveryProblem::NoTaskList,
            QCoreApplication::translate(
                "Discovery", "There is no task list on this server yet: a new one can be made."));
    m_step = Step::Done;
}

void Discovery::takeCreate(const Reply& reply) {
    if (reply.status != 201)
        return fail(
            DiscoveryProblem::ServerError,
            withServerWords(QCoreApplication::translate(
                                "Discovery", "The server did not make the new list (error %1).")
                                .arg(reply.status),
                            reply.body));
    m_result.created = m_target;
    m_result.lists = {{m_target, m_newName}};
    m_step = Step::Done;
}

void Discovery::takeItems(const Reply& reply) {
    const Multistatus answer = readMultistatus(reply.body);
    if (reply.status != 207 || !answer.error.isEmpty())
        return fail(
            DiscoveryProblem::ServerError,
            withServerWords(QCoreApplication::translate(
                                "Discovery", "The server did not list the tasks (error %1).")
                                .arg(reply.status),
                            reply.status == 207 ? QByteArray() : reply.body));
    for (const DavResponse& r : answer.responses)
        if (const DavProp* data = r.prop(kCalDav + QStringLiteral("calendar-data")))
            m_result.items.append(data->text);
    m_step = Step::Done;
}

FirstSyncCounts countFirstSync(const QList<std::pair<QString, QString>>& here,
                               const QList<std::pair<QString, QString>>& there) {
    FirstSyncCounts c;
    QList<std::pair<QString, QString>> unmatched = there;
    for (const auto& task : here) {
        if (const auto it = std::find(unmatched.begin(), unmatched.end(), task);
            it != unmatched.end()) {
            unmatched.erase(it);
            ++c.linked;
        } else {
            ++c.up;
        }
    }
    c.down = unmatched.size();
    return c;
}

} // namespace jot::sync
