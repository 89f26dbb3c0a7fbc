#include "common/program.h"
#include "store/clock.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTableView>
#include <cstdio>

namespace {

const QByteArray kStamp = "Le 03/14 \xc3\xa0 09:00 am"; // as testing::records writes it
QMessageBox::StandardButton g_answer = QMessageBox::No;
QList<QVariantList> g_boxes; // title, text, icon, buttons, default button of every box

struct Program : testing::Program {
    using testing::Program::Program;
    static QPlainTextEdit* text2(f_test* n) { return n->findChild<QPlainTextEdit*>("Text2"); }
    static int openNotes() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<f_test*>(w) && w->isVisible();
        return n;
    }
};

} // namespace

class TstCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testing::quietOffscreen();
        jot::setClockForTests([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 7)); });
        jot::setMessageResponderForTests([](QMessageBox& b) {
            g_boxes.append({b.windowTitle(), b.text(), int(b.icon()), int(b.standardButtons()),
                            int(b.standardButton(b.defaultButton()))});
            return g_answer;
        });
    }
    void init() { g_boxes.clear(); }

    void newTask_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("row"); // of the new task; 0 for none
        QTest::newRow("placeholder") << QByteArray() << 1;
        QTest::newRow("list of three") << testing::records(3) << 4;
        QTest::newRow("100 tasks") << testing::records(100) << 0;
    }
    void newTask() {
        QFETCH(QByteArray, file);
        QFETCH(int, row);
        Program p(file);
        const int rows = p.liste().rows();
        p.click("Command1");
        QCOMPARE(p.liste().rows(), row ? row + 1 : rows);
        QCOMPARE(Program::openNotes(), row ? 1 : 0);
        QVERIFY(g_boxes.isEmpty());
        if (!row)
            return;
        QTest::keyClicks(Program::text2(p.note(1)), QStringLiteral("B"));
        QCOMPARE(p.liste().cell(row, jot::ColText), QStringLiteral("B"));
    }

    void showShowAllHideAll() {
        Program p(testing::records(3));
        p.show(2);
        f_test* note = p.noteOf(2);
        note->showMinimized();
        p.show(2); // brings up the open note, opens no second one
        QCOMPARE(Program::openNotes(), 1);
        QVERIFY(!note->isMinimized());
        p.trigger("m_toutafficher");
        QCOMPARE(Program::openNotes(), 3);
        p.saves->clear();
        p.trigger("m_toutmasquer");
        QCOMPARE(p.saves->count(), 3); // each note saves as it closes
        QCOMPARE(Program::openNotes(), 0);
    }

    void deleteAll() {
        Program p(testing::records(5));
        for (int row : {2, 3, 5})
            p.show(row);
        p.saves->clear();
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            g_answer = answer;
            p.trigger("m_reinit");
            const bool yes = answer == QMessageBox::Yes;
            QCOMPARE(p.saves->count(), yes ? 1 : 0);
            QCOMPARE(p.liste().rows(), yes ? 2 : 6);
            QCOMPARE(Program::openNotes(), yes ? 0 : 3);
        }
        QCOMPARE(p.fileBytes(), testing::record("", ""));
        const QVariantList box{"Jotlark", "Do you realy want to delete all tasks",
                               int(QMessageBox::Question), int(QMessageBox::Yes | QMessageBox::No),
                               int(QMessageBox::No)};
        QCOMPARE(g_boxes, (QList<QVariantList>{box, box})); // Enter alone never wipes the list
    }

    void deleteKeepsNotesOnTheirRows_data() {
        QTest::addColumn<QList<int>>("open"); // of the five rows, before the Delete
        QTest::addColumn<int>("deleted");
        QTest::newRow("above the notes") << QList<int>{3, 5} << 1;
        QTest::newRow("an open note among open notes") << QList<int>{2, 3, 4} << 3;
    }
    void deleteKeepsNotesOnTheirRows() {
        QFETCH(QList<int>, open);
        QFETCH(int, deleted);
        Program p(testing::records(5));
        for (int row : open)
            p.show(row);
        p.tick(); // writes what opening the notes changed
        p.select(deleted);
        p.click("Command3");
        QCOMPARE(Program::openNotes(), open.size() - open.count(deleted));
        QByteArray expected;
        for (int k = 1; k <= 5; ++k)
            if (k != deleted)
                expected += testing::record(kStamp, "task " + QByteArray::number(k) +
                                                        (open.contains(k) ? "+x" : ""));
        for (int row = 1; row <= 4; ++row)
            if (f_test* note = p.noteOf(row))
                QTest::keyClicks(Program::text2(note), QStringLiteral("+x"));
        p.tick();
        QCOMPARE(p.fileBytes(), expected);
    }

    // Delete pressed twice removes two neighbours, the second visibly selected in between.
    void deleteTwice_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<QList<int>>("left"); // of the five tasks
        QTest::newRow("from the first row") << 1 << QList<int>{3, 4, 5};
        QTest::newRow("from the middle") << 3 << QList<int>{1, 2, 5};
    }
    void deleteTwice() {
        QFETCH(int, first);
        QFETCH(QList<int>, left);
        Program p(testing::records(5));
        auto* gri = p.main->findChild<QTableView*>("gri");
        p.select(first);
        for (int n = 0; n < 2; ++n) {
            p.click("Command3");
            const QModelIndex current = gri->currentIndex();
            QCOMPARE(jot::TaskList::gridRow(current.row()), qMin(first, p.liste().rows() - 1));
            QCOMPARE(gri->selectionModel()->selectedRows(),
                     QModelIndexList{current.siblingAtColumn(0)});
        }
        QByteArray expected;
        for (int k : left)
            expected += testing::record(kStamp, "task " + QByteArray::number(k));
        p.tick();
        QCOMPARE(p.fileBytes(), expected);
    }

    void allSlotsInUse() {
        Program p(testing::records(105));
        p.trigger("m_toutafficher");
        p.show(103);
        // No slot for rows 101 to 105: the note of slot 100 keeps its task.
        QCOMPARE(p.liste().cell(103, jot::ColSlot), QString());
        QCOMPARE(Program::text2(p.note(100))->toPlainText(), QStringLiteral("task 100"));
        // Freed slots are taken lowest first, at their own cells.
        p.note(4)->close();
        p.note(9)->close();
        p.show(103);
        QCOMPARE(p.liste().cell(103, jot::ColSlot), QStringLiteral("4"));
        QCOMPARE(p.noteOf(103)->pos(), p.cellPx(4));
    }

    // Another writer's changes meet open notes: a removed task's note closes without saving,
    // and the notes below keep their tasks.
    void noteOfRemovedTask() {
        testing::Program p(testing::records(2));
        p.show(1);
        p.show(2);
        QPointer<f_test> second = p.noteOf(2);
        const QString path = p.home.taskFile();
        const QByteArray theirs =
            testing::records(2).sliced(testing::records(1).size()) + testing::record("t", "new");
        QVERIFY(testing::writeFile(path + QStringLiteral(".new"), theirs));
        QVERIFY(std::rename(QFile::encodeName(path + QStringLiteral(".new")),
                            QFile::encodeName(path)) == 0);
        second->close();                   // saves, after the merge
        QVERIFY(!p.note(1) && !p.note(2)); // the removed task's too
        QCOMPARE(p.liste().rows(), 3);
        QCOMPARE(p.liste().cell(1, jot::ColText), QStringLiteral("task 2"));
        QCOMPARE(p.fileBytes(), theirs);
    }
};

QTEST_MAIN(TstCommands)
#include "tst_commands.moc"
