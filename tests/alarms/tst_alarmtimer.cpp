#include <QtTest>

// PLACEHOLDER: to be written.
class Tstalarmtimer : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tstalarmtimer)
#include "tst_alarmtimer.moc"
