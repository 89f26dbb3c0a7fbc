#include "store/tasklist.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using jot::TaskList;
using jot::TaskRow;

namespace {
// A list of n tasks, each with a text, as after reading a file.
QList<TaskRow> tasks(int n) {
    QList<TaskRow> rows;
    for (int i = 1; i <= n; ++i)
        rows.append(TaskRow{QStringLiteral("Le 12/05 à 10:15 pm"), QStringLiteral("task %1").arg(i),
                            QString(), QString(), QString()});
    return rows;
}

QStringList textsOf(const TaskList& l) {
    QStringList out;
    for (int r = 1; r < l.rows(); ++r)
        out << l.cell(r, jot::ColText);
    return out;
}
} // namespace

class TstTaskList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsAsPlaceholder();
    void modelStaysConsistent();
    void addTask_data();
    void addTask();
    void removeTask_data();
    void removeTask();
    void cellsOutsideTheListAreIgnored();
};

void TstTaskList::startsAsPlaceholder() {
    TaskList liste;
    QCOMPARE(liste.rows(), 2);
    QVERIFY(liste.isPlaceholder(1));
    QCOMPARE(liste.cell(1, jot::ColSlot), QStringLiteral("-1"));
    QCOMPARE(liste.cell(0, jot::ColText), QStringLiteral("Task"));
    QCOMPARE(liste.cell(0, jot::ColAlarm), QStringLiteral("Alarm"));
    QCOMPARE(liste.rowCount(), 1);
    QCOMPARE(liste.headerData(jot::ColText, Qt::Horizontal).toString(), QStringLiteral("Task"));
}

// Every change a command or the file makes keeps the model sound for the grid's view.
void TstTaskList::modelStaysConsistent() {
    TaskList liste;
    QAbstractItemModelTester tester(&liste, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&liste, &TaskList::dataChanged);

    QCOMPARE(liste.addTask(), 1);
    liste.setCell(1, jot::ColText, QStringLiteral("first"));
    QCOMPARE(changed.count(), 2); // the slot "-1" cleared, then the text
    QCOMPARE(changed.last().at(0).toModelIndex(), liste.index(0, jot::ColText));
    QCOMPARE(liste.data(liste.index(0, jot::ColText)).toString(), QStringLiteral("first"));

    QCOMPARE(liste.addTask(), 2);
    liste.setCell(2, jot::ColText, QStringLiteral("second"));
    liste.setRows(tasks(120));
    QCOMPARE(liste.rowCount(), 120);
    liste.removeRow(60);
    liste.removeTask(1);
    QCOMPARE(liste.cell(1, jot::ColText), QStringLiteral("task 2"));
    QCOMPARE(liste.rows(), 119);
    liste.setRows({});
    QVERIFY(liste.isPlaceholder(1));
    liste.setRows(tasks(1));
    liste.removeTask(1);
    QVERIFY(liste.isPlaceholder(1));
    liste.setRows(tasks(3));
    liste.reset();
    QCOMPARE(liste.rows(), 2);
    QVERIFY(liste.isPlaceholder(1));
}

void TstTaskList::addTask_data() {
    QTest::addColumn<QList<TaskRow>>("before"); // empty: the start-up placeholder
    QTest::addColumn<int>("target");            // 0: refused
    QTest::addColumn<int>("rowsAfter");

    const TaskRow blank{};
    const TaskRow blanks{QStringLiteral(" "), QStringLiteral("  "), QStringLiteral(" "),
                         QStringLiteral("4"), QStringLiteral("1")};
    const TaskRow alarmOnly{QString(), QString(), QStringLiteral("Saturday 12/06 9:45 am"),
                            QString(), QString()};

    QTest::newRow("placeholder reused") << QList<TaskRow>() << 1 << 2;
    QTest::newRow("blank single row from the file reused") << QList<TaskRow>{blank} << 1 << 2;
    QTest::newRow("row of blanks reused") << QList<TaskRow>{blanks} << 1 << 2;
    QTest::newRow("single row with an alarm kept") << QList<TaskRow>{alarmOnly} << 2 << 3;
    QTest::newRow("single task kept") << tasks(1) << 2 << 3;
    QTest::newRow("two blank rows: appended") << QList<TaskRow>{blank, blank} << 3 << 4;
    QTest::newRow("99 tasks: the 100th allowed") << tasks(99) << 100 << 101;
    QTest::newRow("100 tasks: refused") << tasks(100) << 0 << 101;
    QTest::newRow("120 read from the file: refused") << tasks(120) << 0 << 121;
}

void TstTaskList::addTask() {
    QFETCH(QList<TaskRow>, before);
    QFETCH(int, target);
    QFETCH(int, rowsAfter);

    TaskList liste;
    liste.setRows(before);
    QAbstractItemModelTester tester(&liste, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QStringList textsBefore = textsOf(liste);

    QCOMPARE(liste.addTask(), target);
    QCOMPARE(liste.rows(), rowsAfter);
    if (target == 0) {
        QCOMPARE(textsOf(liste), textsBefore);
        return;
    }
    // The new task's row is free for a note window and has not fired.
    QCOMPARE(liste.cell(target, jot::ColSlot), QString());
    QCOMPARE(liste.cell(target, jot::ColFired), QString());
    QVERIFY(!liste.isPlaceholder(target));
    for (int r = 1; r < target; ++r)
        QCOMPARE(liste.cell(r, jot::ColText), textsBefore.value(r - 1));
}

void TstTaskList::removeTask_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("textsAfter");

    QTest::newRow("only task becomes the placeholder") << 1 << 1 << QStringList{QString()};
    QTest::newRow("first of three")
        << 3 << 1 << QStringList{QStringLiteral("task 2"), QStringLiteral("task 3")};
    QTest::newRow("middle of three")
        << 3 << 2 << QStringList{QStringLiteral("task 1"), QStringLiteral("task 3")};
    QTest::newRow("last of three")
        << 3 << 3 << QStringList{QStringLiteral("task 1"), QStringLiteral("task 2")};
}

void TstTaskList::removeTask() {
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QStringList, textsAfter);

    TaskList liste;
    liste.setRows(tasks(count));
    QAbstractItemModelTester tester(&liste, QAbstractItemModelTester::FailureReportingMode::QtTest);
    liste.removeTask(row);
    QCOMPARE(textsOf(liste), textsAfter);
    if (count == 1) {
        QVERIFY(liste.isPlaceholder(1));
        for (int c : {jot::ColStamp, jot::ColText, jot::ColAlarm, jot::ColFired})
            QCOMPARE(liste.cell(1, c), QString());
    }
}

// Rows and columns outside the list, and the header row, are never written.
void TstTaskList::cellsOutsideTheListAreIgnored() {
    TaskList liste;
    liste.setRows(tasks(2));
    QSignalSpy changed(&liste, &TaskList::dataChanged);
    liste.setCell(0, jot::ColText, QStringLiteral("x"));
    liste.setCell(3, jot::ColText, QStringLiteral("x"));
    liste.setCell(1, jot::kColumns, QStringLiteral("x"));
    liste.setCell(1, jot::ColText, QStringLiteral("task 1")); // unchanged
    liste.removeRow(0);
    liste.removeRow(3);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(liste.cell(0, jot::ColText), QStringLiteral("Task"));
    QCOMPARE(liste.cell(3, jot::ColText), QString());
    QCOMPARE(textsOf(liste), (QStringList{QStringLiteral("task 1"), QStringLiteral("task 2")}));
}

QTEST_GUILESS_MAIN(TstTaskList)
#include "tst_tasklist.moc"
