#include <QtTest>

// PLACEHOLDER: to be written.
class Tsthelp : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tsthelp)
#include "tst_help.moc"
