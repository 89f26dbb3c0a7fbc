#include <QtTest>

// PLACEHOLDER: to be written.
class Tstcommands : public QObject {
    Q_OBJECT
};

QTEST_MAIN(Tstcommands)
#include "tst_commands.moc"
