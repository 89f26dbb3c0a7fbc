#include <QtTest>

// PLACEHOLDER: to be written.
class Tstalarmtext : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tstalarmtext)
#include "tst_alarmtext.moc"
