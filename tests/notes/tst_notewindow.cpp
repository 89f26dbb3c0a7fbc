#include <QtTest>

// PLACEHOLDER: to be written.
class Tstnotewindow : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tstnotewindow)
#include "tst_notewindow.moc"
