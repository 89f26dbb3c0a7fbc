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
        QTest::newRow("just before a minute") << QTime(10, 14, 59, 800) << 700;
    }
    void nextMinute() {
        QFETCH(QTime, now);
        QFETCH(int, next);
        const QDateTime at({2027, 3, 15}, now);
        QCOMPARE(jot::msToNextMinute(at), next);
        const int minute = next - jot::kAfterMinuteMs;
        for (int late : {0, 1, 1000, 1001})
            QCOMPARE(jot::tickOnTheMinute(minute + late, at), late == 1 || late == 1000);
    }

    // More than 90 s between the wall clock and the monotonic one, either way, is a jump.
    void clockJumped() {
        QVERIFY(!jot::clockJumped(93000, 3000));
        QVERIFY(jot::clockJumped(3603000, 3000));
        QVERIFY(jot::clockJumped(-117000, 3000));
    }
};

QTEST_GUILESS_MAIN(TstTicks)
#include "tst_ticks.moc"
