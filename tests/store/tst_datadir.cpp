#include <QtTest>

// PLACEHOLDER: to be written.
class Tstdatadir : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tstdatadir)
#include "tst_datadir.moc"
