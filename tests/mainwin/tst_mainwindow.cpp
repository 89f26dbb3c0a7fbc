#include <QtTest>

// PLACEHOLDER: to be written.
class Tstmainwindow : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tstmainwindow)
#include "tst_mainwindow.moc"
