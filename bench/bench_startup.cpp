// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/singleinstance.h"
#include "common/program.h"

#include <QtTest>
#include <sys/resource.h>

// Start-up must feel instant, and a full screen of notes must stay light.
class BenchStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testing::quietOffscreen(); }
    void startup_data();
    void startup();
    void showAllHideAll();
    void singleInstance_data();
    void singleInstance();
    void cleanupTestCase();
};

void BenchStartup::startup_data() {
    QTest::addColumn<int>("tasks");
    QTest::newRow("empty list") << 0;
    QTest::newRow("100 tasks") << 100;
}

// From the main window's creation to the list on screen.
void BenchStartup::startup() {
    QFETCH(int, tasks);
    TempDataHome home;
    QVERIFY(testing::writeFile(home.taskFile(), testing::records(tasks)));
    QBENCHMARK {
        f_iir w;
        w.Form_Load();
        QCOMPARE(w.shared().list.rows(), qMax(tasks, 1) + 1);
    }
}

// 100 notes opened and placed, then closed, each close writing the list.
void BenchStartup::showAllHideAll() {
    testing::Program p(testing::records(100));
    QBENCHMARK {
        p.trigger("m_toutafficher");
        p.trigger("m_toutmasquer");
    }
}

void BenchStartup::singleInstance_data() {
    QTest::addColumn<bool>("socket");
    QTest::newRow("lock file") << false;
    QTest::newRow("lock file and socket") << true;
}

// What every start does to hold the data directory: the lock file, taken on a thread of its
// own while the application starts, and the hand-over socket, made once the event loop runs.
void BenchStartup::singleInstance() {
    QFETCH(bool, socket);
    TempDataHome home;
    QDir().mkpath(home.dataDir());
    QBENCHMARK {
        jot::SingleInstance instance(home.dataDir());
        if (socket) {
            QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
            QCoreApplication::processEvents();
        } else {
            QVERIFY(instance.lockIfFree());
        }
    }
}

void BenchStartup::cleanupTestCase() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    qInfo("peak resident memory: %ld KiB", usage.ru_maxrss);
}

QTEST_MAIN(BenchStartup)
#include "bench_startup.moc"
