#include "alarms/ticks.h"

#include <QtTest>

// When the alarm timer ticks against the wall clock; Monday 03/15/2027 unless said otherwise.
class TstTicks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quarterHourPassed_data() {
        QTest::addColumn<QDateTime>("previous");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("passed");
        const auto row = [](const char* name, QTime previous, QTime now, bool passed,
                            QDate nowDay = {2027, 3, 15}) {
            QTest::newRow(name) << QDateTime({2027, 3, 15}, previous) << QDateTime(nowDay, now)
                                << passed;
        };
        row("ticks straddle 10:15", {10, 14, 59}, {10, 16}, true);
        row("up to the quarter itself", {10, 14, 59, 999}, {10, 15}, true);
        row("from the quarter itself", {10, 15}, {10, 16}, false);
        row("within one quarter", {10, 15, 1}, {10, 29, 59, 999}, false);
        row("slept 10:14 to 10:47", {10, 14}, {10, 47}, true);
        row("over midnight", {23, 50}, {0, 5}, true, {2027, 3, 16});
        row("set back over 10:15", {10, 16}, {10, 14}, false);
    }
    void quarterHourPassed() {
        QFETCH(QDateTime, previous);
        QFETCH(QDateTime, now);
        QFETCH(bool, passed);
        QCOMPARE(jot::quarterHourPassed(previous, now), passed);
    }

    // Where the next tick falls, and which timeouts count as falling there.
    void nextMinute_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("next");
        QTest::newRow("at the minute") << QTime(10, 15) << 60500;
        QTest::newRow("mid-minute") << QTime(10, 15, 30, 250) << 30250;
        QTest::newRow("just before a minute") << QTime(10, 14, 59, 800) << 700;
    }
    void nextMinute() {
        QFETCH(QTime, now);
        QFETCH(int, next);
        const QDateTime at({2027, 3, 15}, now);
        QCOMPARE(jot::msToNextMinute(at), next);
        const int minute = next - jot::kAfterMinuteMs;
        QVERIFY(!jot::tickOnTheMinute(minute, at));
        QVERIFY(jot::tickOnTheMinute(minute + 1, at));
        QVERIFY(jot::tickOnTheMinute(minute + 1000, at));
        QVERIFY(!jot::tickOnTheMinute(minute + 1001, at));
    }

    void clockJumped_data() {
        QTest::addColumn<qint64>("wall");
        QTest::addColumn<qint64>("monotonic");
        QTest::addColumn<bool>("jumped");
        QTest::newRow("running") << qint64(3000) << qint64(2990) << false;
        QTest::newRow("nudged 90 s") << qint64(93000) << qint64(3000) << false;
        QTest::newRow("slept an hour") << qint64(3603000) << qint64(3000) << true;
        QTest::newRow("set back 2 minutes") << qint64(-117000) << qint64(3000) << true;
    }
    void clockJumped() {
        QFETCH(qint64, wall);
        QFETCH(qint64, monotonic);
        QFETCH(bool, jumped);
        QCOMPARE(jot::clockJumped(wall, monotonic), jumped);
    }
};

QTEST_GUILESS_MAIN(TstTicks)
#include "tst_ticks.moc"
