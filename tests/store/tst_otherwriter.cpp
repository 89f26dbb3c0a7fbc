#include "common/program.h"

#include <QPlainTextEdit>
#include <QTextEdit>
#include <cstdio>

// Another writer's changes meet open notes: a removed task's note closes without saving, and
// the notes below keep their tasks.
class TstOtherWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testing::quietOffscreen(); }
    void noteOfRemovedTask() {
        testing::Program p(testing::records(2));
        p.show(1);
        p.show(2);
        QVERIFY(p.noteOf(1) && p.noteOf(2));
        QPointer<f_test> second = p.noteOf(2);
        const QString path = p.home.taskFile();
        QVERIFY(testing::writeFile(path + QStringLiteral(".new"),
                                   testing::records(2).sliced(testing::records(1).size()) +
                                       testing::record("t", "new")));
        QVERIFY(std::rename(QFile::encodeName(path + QStringLiteral(".new")),
                            QFile::encodeName(path)) == 0);
        second->close(); // saves, after the merge
        QVERIFY(!p.noteOf(1));
        QCOMPARE(p.liste().rows(), 3);
        QCOMPARE(p.liste().cell(1, jot::ColText), QStringLiteral("task 2"));
        QCOMPARE(p.liste().cell(1, jot::ColSlot), QString()); // cleared by its own note
        QCOMPARE(p.fileBytes(), testing::records(2).sliced(testing::records(1).size()) +
                                    testing::record("t", "new"));
    }
};

QTEST_MAIN(TstOtherWriter)
#include "tst_otherwriter.moc"
