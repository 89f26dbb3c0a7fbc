// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "common/table.h"
#include "store/clock.h"
#include "store/deletedtasks.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <cstdio>

using Box = QMessageBox;
using testing::fakeNow;
using testing::Program;
using testing::record;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kStamp = "Le 03/14 \xc3\xa0 09:00 am"; // as testing::records writes it

// "task a" to "task b", counting down when b < a.
QString tasks(int a, int b) {
    QStringList t;
    for (int k = a; b < a ? k >= b : k <= b; k += b < a ? -1 : 1)
        t << "task " + QString::number(k);
    return t.join(',');
}

// The tasks, in order, '!' after one whose note is open and red.
QString listed(const Program& p) {
    QStringList t;
    for (int r = 1; r < p.list().rows(); ++r)
        if (!p.list().isPlaceholder(r))
            t << p.list().cell(r, jot::ColText) + (testing::red(p.noteOf(r)) ? "!" : "");
    return t.join(',');
}

// The texts of a file's records.
QString texts(const QByteArray& file) {
    QStringList t;
    for (const jot::TaskRow& row : jot::parseTasks(file).rows)
        t << row[jot::ColText];
    return t.join(',');
}

// Ctrl and the key on the main window, made active as its shortcuts need.
void shortcut(const Program& p, Qt::Key key) {
    p.main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.main.get()));
    QTest::keyClick(p.main.get(), key, Qt::ControlModifier);
}

int openNotes() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<f_test*>(w) && w->isVisible();
    return n;
}

} // namespace

struct BlankCase {
    QByteArray name;
    QString made; // "New task", "--new", "--new --at"
    QString how, after = "task 1,later more";
};
struct UndoCase {
    QByteArray name, file;
    QString steps, after, said, deleted;
};
struct FindCase {
    QByteArray name;
    QString typed, steps, shown, said, after;
    int open; // notes
};

class TstCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testing::useFakeClock(); }
    void init() { fakeNow = QDateTime(QDate(2026, 3, 15), QTime(14, 7)); }

    // Show all takes the free slots and leaves the rest; a freed slot is taken lowest first,
    // at its own cell; Show brings up an open note; Hide all closes each note, which saves.
    void showAllHideAll() {
        Program p(testing::records(105));
        p.trigger("m_toutafficher");
        p.show(103); // no slot
        QCOMPARE(p.list().cell(103, jot::ColSlot), QString());
        const QPoint cell4 = p.note(4)->pos();
        p.note(4)->close();
        p.note(9)->close();
        p.show(103);
        p.noteOf(103)->showMinimized();
        p.show(103);
        QCOMPARE(p.list().cell(103, jot::ColSlot), "4");
        QVERIFY(!p.noteOf(103)->isMinimized());
        QCOMPARE(p.noteOf(103)->pos(), cell4);
        p.saves->clear();
        p.trigger("m_toutmasquer");
        QCOMPARE(openNotes(), 0);
        QCOMPARE(p.saves->count(), 99);
    }

    // Delete pressed twice removes the current task and then its neighbour, visibly selected
    // in between; the deleted task's note closes, the other notes follow their tasks. Another
    // writer's file, merged at the tick, closes a removed task's note without saving, and the
    // notes below keep their tasks (the sync tools' conflict copies take the same merge:
    // tst_store). Delete all asks first, No by default (Enter alone never wipes the list), then
    // closes the notes and saves the emptied list once.
    void deleting() {
        Program p(testing::records(5));
        for (int row : {2, 3, 5})
            p.show(row);
        auto* gri = p.child<QTableView>("gri");
        p.select(3);
        for (int n = 0; n < 2; ++n) {
            p.click("Command3");
            const QModelIndex current = gri->currentIndex();
            QCOMPARE(jot::TaskList::gridRow(current.row()), 3);
            QCOMPARE(gri->selectionModel()->selectedRows(),
                     QModelIndexList{current.siblingAtColumn(0)});
        }
        QCOMPARE(openNotes(), 2);
        QVERIFY(p.noteOf(2) && p.noteOf(3)); // task 5's has followed it to row 3
        p.tick();
        QCOMPARE(texts(p.fileBytes()), "task 1,task 2,task 5");
        QPointer<f_test> second = p.noteOf(2);
        const QString path = p.home.taskFile();
        const QByteArray theirs = record(kStamp, "task 2") + record("t", "new");
        QVERIFY(testing::writeFile(path + ".new", theirs));
        QVERIFY(std::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)) == 0);
        p.tick();
        QCOMPARE(p.fileBytes(), theirs);
        QCOMPARE(openNotes(), 1);
        QCOMPARE(p.noteOf(1), second);
        p.saves->clear();
        QStringList asked;
        for (const auto answer : {Box::No, Box::Yes}) {
            jot::setMessageResponderForTests([&](QMessageBox& b) {
                asked << b.text() + (b.standardButton(b.defaultButton()) == Box::No ? " [No]" : "");
                return answer;
            });
            p.trigger("m_reinit");
            QCOMPARE(openNotes(), answer == Box::No ? 1 : 0);
        }
        QCOMPARE(asked, QStringList(2, "Do you realy want to delete all tasks [No]"));
        QCOMPARE(p.saves->count(), 1);
        QCOMPARE(p.fileBytes(), record("", ""));
    }

    // A task made by New task, --new or the desktop action and closed with neither text nor
    // alarm goes, whichever way it is closed, and leaves nothing to undo; the notes after it
    // follow their tasks. Once it had text or an alarm it stays.
    void blankNewTask_data() {
        testing::table<BlankCase>(
            {{"Ctrl+W", "New task", "Ctrl+W"},
             {"close box", "New task", "close"},
             {"Hide all", "New task", "m_toutmasquer", "task 1,later"},
             {"Exit", "New task", "m_quitter", "task 1,later"},
             {"Delete", "New task", "Command3"},
             {"--new, Ctrl+W", "--new", "Ctrl+W"},
             {"--new --at, Ctrl+W", "--new --at", "Ctrl+W", "task 1,,later more"},
             {"typed, emptied, Ctrl+W", "New task", "typed", "task 1,,later more"}});
    }
    void blankNewTask() {
        QFETCH(BlankCase, row);
        Program p(testing::records(1));
        const QDateTime at(QDate(2026, 3, 16), QTime(9, 0));
        if (row.made == "New task")
            p.click("Command1");
        else
            p.main->carryOut(
                {jot::Request::Action::New, {}, row.made == "--new" ? QDateTime() : at});
        QPointer<f_test> blank = p.noteOf(2);
        p.click("Command1");
        QPointer<f_test> later = p.noteOf(3);
        QTest::keyClicks(later->findChild<QWidget*>("Text2"), "later");
        auto* text2 = blank->findChild<QWidget*>("Text2");
        if (row.how == "typed") {
            QTest::keyClicks(text2, "x");
            QTest::keyClick(text2, Qt::Key_Backspace);
        }
        if (row.how == "close") {
            blank->close();
        } else if (row.how.startsWith("Command")) {
            p.select(2);
            p.click(qPrintable(row.how));
        } else if (row.how.startsWith("m_")) {
            p.trigger(qPrintable(row.how));
        } else {
            blank->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(blank));
            QTest::keyClick(text2, Qt::Key_W, Qt::ControlModifier);
        }
        QTRY_VERIFY(!blank);
        if (later) // it follows its task
            QTest::keyClicks(later->findChild<QWidget*>("Text2"), " more");
        if (!p.main->ended())
            p.tick();
        QCOMPARE(texts(p.fileBytes()), row.after);
        QVERIFY(!p.child<QAction>("m_undo")->isEnabled());
        QVERIFY(!QFile::exists(p.home.dataDir() + jot::kDeletedFileName));
    }

    // Undo delete, by Ctrl+Z ('z') or the line's link ('u'), after Deletes of task 1 ('d') and
    // Delete all ('a'), with a task added ('n'), the line's 10 s over ('e') or a tick 15 minutes
    // on ('t'): the tasks after, the line, and the texts planifs.txt.deleted holds.
    void undo_data() {
        const QByteArray three = testing::records(3);
        testing::table<UndoCase>(
            {{"Delete", three, "d", tasks(2, 3), "Task deleted <a href=\"undo\">Undo</a>",
              "task 1"},
             {"Delete, 10 s", three, "de", tasks(2, 3), "", "task 1"},
             {"Delete, Undo link", three, "du", "task 2,task 3,task 1", "", "task 1"},
             {"Delete all", three, "az", tasks(1, 3), "", tasks(1, 3)},
             {"ten deletions", testing::records(11), QString(10, 'd') + QString(10, 'z'),
              "task 11," + tasks(10, 1), "", tasks(1, 10)},
             {"eleven deletions", testing::records(12), QString(11, 'd') + QString(11, 'z'),
              "task 12," + tasks(11, 2), "", tasks(1, 11)},
             {"100 tasks", testing::records(100), "dnannz", "new,new," + tasks(2, 99),
              "2 tasks could not be brought back: the list already holds 100 tasks.",
              tasks(2, 100) + ",new"},
             {"an alarm passed meanwhile", testing::task("a", "Sunday 03/15 2:15 pm"), "dtzt", "a!",
              "", "a"}});
    }
    void undo() {
        QFETCH(UndoCase, row);
        Program p(row.file);
        jot::setMessageResponderForTests([](QMessageBox&) { return Box::Yes; });
        const jot::Request add{jot::Request::Action::New, "new", {}};
        const QHash<QChar, std::function<void()>> act{
            {'d', [&] { p.select(1), p.click("Command3"); }},
            {'a', [&] { p.trigger("m_reinit"); }},
            {'n', [&] { p.main->carryOut(add); }},
            {'z', [&] { shortcut(p, Qt::Key_Z); }},
            {'u', [&] { Q_EMIT p.child<QLabel>("m_warning")->linkActivated("undo"); }},
            {'e', [&] { p.tick("m_lineNoteTimer"); }},
            {'t', [&] { fakeNow = fakeNow.addSecs(15 * 60), p.tick(); }},
        };
        for (const QChar step : row.steps)
            act[step]();
        QCOMPARE(listed(p), row.after);
        QCOMPARE(p.child<QLabel>("m_warning")->text(), row.said);
        const QString deleted = p.home.dataDir() + jot::kDeletedFileName;
        QCOMPARE(testing::modeOf(deleted), mode_t(0600));
        QCOMPARE(texts(testing::readFile(deleted)), row.deleted);
    }

    // Ctrl+F and a word: the grid shows the tasks whose text or alarm holds it, whatever its
    // case and accents, and the line says how many it hides. Delete ('d') and Show ('s', or
    // Enter in the line, 'r') take the task selected among those shown; Show all ('a'), Hide all
    // ('h') and Delete all ('x') every task; Escape ('e') shows them all again.
    void find_data() {
        const QString all = u"École,Shop,ecole bus,Call"_s, bus = "ecole bus";
        testing::table<FindCase>(
            {{"case and accents", "ECOLE", "", u"École,ecole bus"_s, "2 tasks hidden", all, 0},
             {"an alarm", "monday", "", "Call", "3 tasks hidden", all, 0},
             {"nothing found", "zzz", "ds", "", "4 tasks hidden", all, 0},
             {"Delete", "shop", "d", "", "3 tasks hidden", u"École,ecole bus,Call"_s, 0},
             {"Delete twice", "cole", "dd", "", "2 tasks hidden", "Shop,Call", 0},
             {"Enter in the line", "bus", "r", bus, "3 tasks hidden", all, 1},
             {"Show all", "bus", "a", bus, "3 tasks hidden", all, 4},
             {"Hide all", "bus", "ah", bus, "3 tasks hidden", all, 0},
             {"Delete all", "bus", "x", "", "No task hidden", "", 0},
             {"Escape", "bus", "e", all, "", all, 0}});
    }
    void find() {
        QFETCH(FindCase, row);
        Program p(testing::task("École") + testing::task("Shop") + testing::task("ecole bus") +
                  testing::task("Call", "Monday 03/16 10:00 am"));
        jot::setMessageResponderForTests([](QMessageBox&) { return Box::Yes; });
        shortcut(p, Qt::Key_F);
        auto* line = p.child<QLineEdit>("m_findLine");
        QVERIFY(line->hasFocus());
        QTest::keyClicks(line, row.typed);
        const QHash<QChar, std::function<void()>> act{
            {'d', [&] { p.click("Command3"); }},
            {'s', [&] { p.click("Command2"); }},
            {'r', [&] { QTest::keyClick(line, Qt::Key_Return); }},
            {'a', [&] { p.trigger("m_toutafficher"); }},
            {'h', [&] { p.trigger("m_toutmasquer"); }},
            {'x', [&] { p.trigger("m_reinit"); }},
            {'e', [&] { QTest::keyClick(line, Qt::Key_Escape); }},
        };
        for (const QChar step : row.steps)
            act[step]();
        QStringList shown;
        const QAbstractItemModel* grid = p.child<QTableView>("gri")->model();
        for (int r = 0; r < grid->rowCount(); ++r)
            shown << grid->index(r, 0).data().toString();
        QCOMPARE(shown.join(','), row.shown);
        QCOMPARE(line->isHidden() ? QString() : p.child<QLabel>("m_findHidden")->text(), row.said);
        QCOMPARE(listed(p), row.after);
        QCOMPARE(openNotes(), row.open);
    }
};

QTEST_MAIN(TstCommands)
#include "tst_commands.moc"
