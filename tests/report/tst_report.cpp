#include <QtTest>

// PLACEHOLDER: to be written.
class Tstreport : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tstreport)
#include "tst_report.moc"
