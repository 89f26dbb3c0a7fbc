#include <QtTest>

// PLACEHOLDER: to be written.
class Tstplacement : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tstplacement)
#include "tst_placement.moc"
