#include <QtTest>

// PLACEHOLDER: to be written.
class Tsttasklist : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tsttasklist)
#include "tst_tasklist.moc"
