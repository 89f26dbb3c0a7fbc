// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/radicaleserver.h"
#include "net/davtransport.h"
#include "store/clock.h"
#include "sync/engine.h"
#include "sync/syncstate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

// A sync round against a private Radicale on 127.0.0.1 (scripts/test.sh installs it), as the
// program runs it: the engine's requests carried by DavTransport one at a time.
// Targets: a first sync of 100 tasks at most 2 s; a sync with nothing changed one request and
// at most 50 ms.
namespace {

// CPU time of this process: the client's share of a round, the rest is the server's and the
// wait between them.
qint64 cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

struct Round {
    qint64 ms = 0;
    qint64 cpu = 0;
    int requests = 0;
    QString error;
};

Round runRound(jot::sync::SyncState& state, const QUrl& list, DavTransport& transport,
               const QList<jot::sync::LocalTask>& here) {
    jot::sync::Engine engine(state, list, jot::now());
    Round round;
    QElapsedTimer clock;
    clock.start();
    const qint64 cpuBefore = cpuMs();
    engine.start(here);
    QEventLoop loop;
    auto sendNext = [&] {
        if (const std::optional<jot::sync::Request> request = engine.next()) {
            ++round.requests;
            transport.send(*request);
        } else {
            loop.quit();
        }
    };
    const QMetaObject::Connection taken =
        QObject::connect(&transport, &DavTransport::answered, [&](const jot::sync::Reply& reply) {
            engine.take(reply);
            sendNext();
        });
    QTimer::singleShot(0, sendNext);
    loop.exec();
    QObject::disconnect(taken);
    round.ms = clock.elapsed();
    round.cpu = cpuMs() - cpuBefore;
    round.error = engine.result().error;
    return round;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = 5;
    for (int run = 0; run < runs; ++run) {
        RadicaleServer server;
        if (server.program().isEmpty() || !server.start()) {
            std::fprintf(stderr, "No Radicale: %s\n", qPrintable(server.error()));
            return 1;
        }
        QTemporaryDir stateDir;
        jot::sync::SyncState state(stateDir.path());
        QList<jot::sync::LocalTask> here;
        for (int k = 1; k <= 100; ++k)
            here.append({{QStringLiteral("Le 03/14 \u00e0 09:%1 am").arg(k % 60, 2, 10, QChar('0')),
                          QStringLiteral("task %1").arg(k), QString(), QString(), QString()},
                         QDateTime()});
        DavTransport transport;
        transport.setCredentials(RadicaleServer::user(), RadicaleServer::password());
        const Round first = runRound(state, server.list(), transport, here);
        const Round again = runRound(state, server.list(), transport, here);
        std::printf("first sync of 100 tasks: %lld ms (%lld ms of CPU here), %d requests%s; "
                    "nothing changed: %lld ms (%lld ms of CPU here), %d request(s)%s; items on "
                    "the server: %lld\n",
                    first.ms, first.cpu, first.requests, qPrintable(first.error), again.ms,
                    again.cpu, again.requests, qPrintable(again.error),
                    qlonglong(server.items().size()));
    }
    return 0;
}
