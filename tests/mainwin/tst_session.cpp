#include "common/tempdatahome.h"
#include "mainwin/singleinstance.h"

#include <QtTest>

// One running program per data directory: a second start gives way while the first runs.
class TstSession : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondStart_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("runs"); // the second start
        QTest::newRow("still running") << "live" << false;
        QTest::newRow("running for hours") << "old" << false;
        QTest::newRow("crashed, lock left behind") << "dead" << true;
        QTest::newRow("on another data directory") << "other" << true;
    }
    void secondStart() {
        QFETCH(QString, first);
        QFETCH(bool, runs);
        TempDataHome home;
        const QString dir = home.dataDir();
        QVERIFY(QDir().mkpath(dir));
        auto running = std::make_unique<jot::SingleInstance>(dir);
        QVERIFY(running->acquire());
        QSignalSpy shown(running.get(), &jot::SingleInstance::activationRequested);
        QFile lock(dir + QStringLiteral("jotlark.lock"));
        if (first == "dead") // its lock names a process number no system hands out
            running.reset();
        QVERIFY(lock.open(QIODevice::ReadWrite));
        if (first == "dead")
            lock.write("2147483646\njotlark\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        if (first == "old")
            QVERIFY(lock.setFileTime(QDate(2000, 1, 1).startOfDay(), QFile::FileModificationTime));
        lock.close();
        QCOMPARE(jot::SingleInstance(first == "other" ? home.path() + '/' : dir).acquire(), runs);
        if (!runs) {
            QVERIFY(shown.wait(2000)); // the first is asked to show its window
            running.reset();           // and once it has ended, the directory is free again
            QVERIFY(jot::SingleInstance(dir).acquire());
        }
    }
};

QTEST_GUILESS_MAIN(TstSession)
#include "tst_session.moc"
