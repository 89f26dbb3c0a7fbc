// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/radicaleserver.h"
#include "common/table.h"
#include "net/davtransport.h"

#include <QtTest>

using jot::sync::Reply;
using jot::sync::Request;

namespace {

// Every request the test sends carries this body, which ends it.
const QByteArray kBody = "<propfind/>";

// A server that answers each request with the next of its canned answers, and keeps the
// requests it read. An empty answer is never given: the request waits forever.
class CannedServer : public QObject {
public:
    explicit CannedServer(const QList<QByteArray>& answers) : m_answers(answers) {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }
    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    QList<QByteArray> requests; // head and body of each

private:
    void read(QTcpSocket* socket) {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        for (qsizetype end; (end = buffer.indexOf(kBody)) >= 0;) {
            requests.append(buffer.left(end + kBody.size()));
            buffer.remove(0, end + kBody.size());
            const QByteArray answer = m_answers.isEmpty() ? QByteArray() : m_answers.takeFirst();
            socket->write(answer);
            if (answer.contains("Connection: close"))
                socket->disconnectFromHost();
        }
    }

    QTcpServer m_server;
    QList<QByteArray> m_answers;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

QByteArray answer(const QByteArray& head, const QByteArray& body = {}) {
    return head + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

Reply carry(DavTransport& transport, const Request& request) {
    QSignalSpy spy(&transport, &DavTransport::answered);
    transport.send(request);
    return spy.wait(20000) ? spy.first().first().value<Reply>() : Reply();
}

struct CannedCase {
    QByteArray name;
    int status;
    QByteArray etag;
    QString error;
    QByteArray lastPath; // of the last request
    QList<QByteArray> answers;
};

} // namespace

Q_DECLARE_METATYPE(jot::sync::Reply)

class tst_DavTransport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void canned_data();
    void canned();
    void certificate();
};

void tst_DavTransport::canned_data() {
    const QList<QByteArray> moved{
        answer("HTTP/1.1 301 Moved\r\nLocation: /moved/"),
        answer("HTTP/1.1 207 Multi-Status\r\nETag: \"e1\"", "<multistatus xmlns=\"DAV:\"/>")};
    QList<QByteArray> loop;
    for (int k = 0; k < 7; ++k)
        loop.append(answer("HTTP/1.1 307 Again\r\nLocation: /r" + QByteArray::number(k)));
    const QList<QByteArray> large{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
                                  QByteArray(jot::sync::kMaxBody + 1, 'x')};
    testing::table<CannedCase>({
        {"a redirect repeats the method and body", 207, "\"e1\"", {}, "/moved/", moved},
        {"more than five redirects", 0, {}, "more than 5 redirects", "/r4", loop},
        {"an answer larger than the bound", 0, {}, "larger than 16 MiB", "/list/", large},
        {"no answer", 0, {}, "no answer", "/list/", {QByteArray()}},
        {"an error status is an answer", 412, {}, {}, "/list/", {answer("HTTP/1.1 412 Failed")}},
    });
}

void tst_DavTransport::canned() {
    QFETCH(CannedCase, row);
    CannedServer server(row.answers);
    DavTransport transport;
    transport.setCredentials(QStringLiteral("ann"), QStringLiteral("pw"));
    transport.setStallTimeoutForTests(500);
    const Request request{
        "PROPFIND", server.url(QStringLiteral("/list/")), {{"Depth", "1"}}, kBody};
    const Reply reply = carry(transport, request);
    QCOMPARE(reply.status, row.status);
    QCOMPARE(reply.etag, row.etag);
    QVERIFY2(row.error.isEmpty() ? reply.error.isEmpty() : reply.error.contains(row.error),
             qPrintable(reply.error));
    QVERIFY(!transport.busy());
    // Every request, redirected or not, carries the method, the body (the server reads up to
    // it) and the credentials, and asks for the ETags as the server made them.
    QVERIFY(!server.requests.isEmpty());
    QVERIFY(server.requests.last().startsWith("PROPFIND " + row.lastPath + " HTTP/1.1\r\n"));
    for (const QByteArray& sent : std::as_const(server.requests)) {
        QVERIFY(sent.contains("\r\nAuthorization: Basic YW5uOnB3\r\n"));
        QVERIFY(sent.contains("\r\nAccept-Encoding: identity\r\n"));
    }
}

// A certificate the system does not trust is refused and named by its SHA-256, unless it is
// the accepted one, in whatever case it was given.
void tst_DavTransport::certificate() {
    SKIP_WITHOUT_RADICALE();
    RadicaleServer server(true);
    QVERIFY2(server.start(), qPrintable(server.error()));
    const QByteArray fingerprint = server.fingerprint();
    for (const bool pinned : {false, true}) {
        DavTransport transport;
        transport.setCredentials(RadicaleServer::user(), RadicaleServer::password());
        transport.setAcceptedCertificate(pinned ? fingerprint.toUpper() : QByteArray(64, 'a'));
        const Reply reply = carry(transport, {"PROPFIND", server.base(), {{"Depth", "0"}}, {}});
        QCOMPARE(reply.status, pinned ? 207 : 0);
        QCOMPARE(reply.untrustedCertificate, pinned ? QByteArray() : fingerprint);
        QCOMPARE(reply.error.isEmpty(), pinned);
    }
}

QTEST_GUILESS_MAIN(tst_DavTransport)
#include "tst_davtransport.moc"
