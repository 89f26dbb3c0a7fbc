#include "common/program.h"
#include "mainwin/singleinstance.h"

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
        QCOMPARE(w.shared().liste.rows(), qMax(tasks, 1) + 1);
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

// The lock file and local server taken at every start, before the main window.
void BenchStartup::singleInstance() {
    TempDataHome home;
    QDir().mkpath(home.dataDir());
    QBENCHMARK {
        jot::SingleInstance instance(home.dataDir());
        QVERIFY(instance.acquire());
    }
}

void BenchStartup::cleanupTestCase() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    qInfo("peak resident memory: %ld KiB", usage.ru_maxrss);
}

QTEST_MAIN(BenchStartup)
#include "bench_startup.moc"
