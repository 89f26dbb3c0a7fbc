#include <QtTest>

// PLACEHOLDER: to be written.
class Tstdue : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tstdue)
#include "tst_due.moc"
