#include <QtTest>

// PLACEHOLDER: to be written.
class Tstprint : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tstprint)
#include "tst_print.moc"
