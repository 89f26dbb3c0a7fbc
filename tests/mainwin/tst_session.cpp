#include "common/tempdatahome.h"
#include "mainwin/f_iir.h"
#include "mainwin/messagebox.h"
#include "mainwin/signalwatcher.h"
#include "mainwin/singleinstance.h"
#include "mainwin/tray.h"

#include <QLockFile>
#include <QtTest>
#include <csignal>

// How the program meets the rest of the system: termination signals and a second start.
class TstSession : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void signalWritesListAndEnds_data();
    void signalWritesListAndEnds();
    void watcherRestoresDispositions();
    void secondStart_data();
    void secondStart();
    void serverNamePerDirectory();
};

void TstSession::init() {
    jot::setTrayAvailableForTests(true);
    jot::setMessageResponderForTests([](QMessageBox& box) {
        qWarning("unexpected message box: %s", qPrintable(box.text()));
        return QMessageBox::Cancel;
    });
}

void TstSession::cleanup() {
    jot::setMessageResponderForTests({});
    jot::setTrayAvailableForTests(std::nullopt);
}

void TstSession::signalWritesListAndEnds_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TstSession::signalWritesListAndEnds() {
    QFETCH(int, signal);
    TempDataHome home;
    f_iir w;
    jot::SignalWatcher watcher;
    connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::terminer);
    w.Form_Load();
    w.shared().liste.setCell(1, jot::ColText, QStringLiteral("typed just before"));
    w.shared().unsavedChanges = true;

    QCOMPARE(::raise(signal), 0); // the process lives on: the handler only takes note
    QTRY_VERIFY(w.ended());
    QFile f(home.taskFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("\"typed just before\""));
}

void TstSession::watcherRestoresDispositions() {
    struct sigaction before = {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        jot::SignalWatcher watcher;
        QSignalSpy received(&watcher, &jot::SignalWatcher::received);
        ::raise(SIGHUP);
        ::raise(SIGHUP);
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).at(0).toInt(), SIGHUP);
    }
    struct sigaction after = {};
    ::sigaction(SIGTERM, nullptr, &after);
    QCOMPARE(reinterpret_cast<void*>(after.sa_handler), reinterpret_cast<void*>(before.sa_handler));
    // A second watcher works as the first did.
    jot::SignalWatcher again;
    QSignalSpy received(&again, &jot::SignalWatcher::received);
    ::raise(SIGINT);
    QTRY_COMPARE(received.count(), 1);
}

void TstSession::secondStart_data() {
    QTest::addColumn<QString>("lock");
    QTest::newRow("first still running") << "live";
    // Held for hours by a running program: still held.
    QTest::newRow("first running for long") << "old";
    // Left behind by a program that crashed: no obstacle.
    QTest::newRow("crashed first") << "dead";
}

void TstSession::secondStart() {
    QFETCH(QString, lock);
    TempDataHome home;
    const QString dir = home.dataDir();
    QVERIFY(QDir().mkpath(dir));
    const QString lockPath = dir + QStringLiteral("jotlark.lock");

    auto first = std::make_unique<jot::SingleInstance>(dir);
    QVERIFY(first->acquire());
    QSignalSpy shown(first.get(), &jot::SingleInstance::activationRequested);
    if (lock == "old") {
        QFile f(lockPath);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                              QFileDevice::FileModificationTime));
    } else if (lock == "dead") {
        first.reset();
        QFile f(lockPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // A process number no system hands out, on this host.
        f.write("2147483646\njotlark\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }

    jot::SingleInstance second(dir);
    if (lock == "dead") {
        QVERIFY(second.acquire());
        return;
    }
    QVERIFY(!second.acquire());
    QVERIFY(shown.wait(2000)); // the first is asked to show its window
    QCOMPARE(shown.count(), 1);

    // Once the first has ended, the directory is free again.
    first.reset();
    jot::SingleInstance third(dir);
    QVERIFY(third.acquire());
}

void TstSession::serverNamePerDirectory() {
    TempDataHome a, b;
    QVERIFY(QDir().mkpath(a.dataDir()));
    QVERIFY(QDir().mkpath(b.dataDir()));
    QVERIFY(jot::SingleInstance::serverName(a.dataDir()) !=
            jot::SingleInstance::serverName(b.dataDir()));
    QCOMPARE(jot::SingleInstance::serverName(a.dataDir()),
             jot::SingleInstance::serverName(a.path() + QStringLiteral("/jotlk")));
    // Each directory its own program.
    jot::SingleInstance one(a.dataDir()), two(b.dataDir());
    QVERIFY(one.acquire());
    QVERIFY(two.acquire());
}

QTEST_MAIN(TstSession)
#include "tst_session.moc"
