#include <QtTest>

// PLACEHOLDER: to be written.
class Tsttaskfile : public QObject {
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Tsttaskfile)
#include "tst_taskfile.moc"
