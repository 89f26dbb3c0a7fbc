#include "common/tempdatahome.h"
#include "mainwin/f_iir.h"
#include "mainwin/messagebox.h"
#include "mainwin/placement.h"
#include "mainwin/twips.h"
#include "notes/f_test.h"
#include "store/clock.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

const QByteArray kStamp = QByteArrayLiteral("Le 03/14 \xc3\xa0 09:00 am");

// One record of planifs.txt for a task without an alarm.
QByteArray record(const QByteArray& stamp, const QByteArray& text) {
    return '"' + stamp + "\",\"" + text + "\",\"\",\"\"\r\n";
}

QByteArray taskText(int k) {
    return "task " + QByteArray::number(k);
}

// "task 1" to "task n", in that order.
QByteArray records(int n) {
    QByteArray bytes;
    for (int k = 1; k <= n; ++k)
        bytes += record(kStamp, taskText(k));
    return bytes;
}

// A started program in a data home of its own, its task file written beforehand.
struct Program {
    explicit Program(const QByteArray& file = {}) {
        if (!file.isEmpty()) {
            QDir().mkpath(home.dataDir());
            QFile f(home.taskFile());
            if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
                qFatal("cannot write the task file");
        }
        main.Form_Load();
        tester = std::make_unique<QAbstractItemModelTester>(
            &liste(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    jot::Shared& shared() { return main.shared(); }
    jot::TaskList& liste() { return main.shared().liste; }
    QPushButton* button(const char* name) {
        return main.findChild<QPushButton*>(QLatin1String(name));
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void show(int row) {
        main.selectRow(row);
        click("Command2");
    }
    QByteArray fileBytes() {
        QFile f(home.taskFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    f_test* noteOf(int row) { return main.fenetre(liste().cell(row, jot::ColSlot).toInt()); }
    // What is wrong with the rows, the slot table and the notes; empty when they agree: a
    // row naming slot s has note s bound to it, and a slot in use belongs to a row.
    QString slotFault() {
        int named = 0;
        for (int row = 1; row < liste().rows(); ++row) {
            const QString cell = liste().cell(row, jot::ColSlot);
            if (cell.isEmpty() || cell == jot::kPlaceholderSlot)
                continue;
            ++named;
            const int s = cell.toInt();
            const f_test* note = main.fenetre(s);
            if (shared().slotTable[s] != s || !note || note->f_pos != row || note->f_monindice != s)
                return QStringLiteral("row %1 names slot %2 of another note").arg(row).arg(s);
        }
        const auto used = std::count_if(shared().slotTable.begin() + 1, shared().slotTable.end(),
                                        [](qint16 e) { return e != 0; });
        if (used != named || openNotes() != named)
            return QStringLiteral("%1 slots in use, %2 notes open, %3 rows with a note")
                .arg(used)
                .arg(openNotes())
                .arg(named);
        return {};
    }
    // Every slot free and no note window left on screen.
    bool noNotes() {
        for (int s = 1; s <= jot::kSlots; ++s) {
            if (shared().slotTable[s] != 0)
                return false;
        }
        return openNotes() == 0;
    }
    static int openNotes() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<f_test*>(w) && w->isVisible();
        return n;
    }

    TempDataHome home;
    f_iir main;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QPlainTextEdit* text2(f_test* note) {
    return note ? note->findChild<QPlainTextEdit*>(QStringLiteral("Text2")) : nullptr;
}

QPoint cellInPixels(const f_iir& main, int slot) {
    const QPoint c = jot::cellOf(main.workArea(), slot);
    return {jot::px(c.x()), jot::px(c.y())};
}

// A double-click as the mouse makes it: press, release, double-click, release.
void doubleClick(QTableView* gri, int row) {
    const QPoint at =
        gri->visualRect(gri->model()->index(jot::TaskList::viewRow(row), jot::ColText)).center();
    QTest::mouseClick(gri->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(gri->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(gri->viewport(), Qt::LeftButton, {}, at);
}

// The offscreen platform cannot raise windows and says so for every note brought up.
QtMessageHandler testLogHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    testLogHandler(type, context, message);
}

// The windows closed by a command are gone once their deferred deletion has run.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class TstCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void newTask_data();
    void newTask();
    void taskLimit_data();
    void taskLimit();
    void slotsLowestFreeFirst();
    void typingReachesTheRow();
    void showAllThenHideAll();
    void deleteAll_data();
    void deleteAll();
    void deleteKeepsNotesOnTheirRows_data();
    void deleteKeepsNotesOnTheirRows();
    void deleteIsSavedByTheNextTick_data();
    void deleteIsSavedByTheNextTick();
    void placeholderIsLeftAlone_data();
    void placeholderIsLeftAlone();
    void showBringsUpTheOpenNote_data();
    void showBringsUpTheOpenNote();
    void allSlotsInUse_data();
    void allSlotsInUse();

private:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    QList<Box> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
};

void TstCommands::initTestCase() {
    testLogHandler = qInstallMessageHandler(quietHandler);
    // 14:07, no quarter hour: a timer tick only saves pending changes.
    jot::setClockForTests([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 7)); });
}

void TstCommands::init() {
    m_boxes.clear();
    m_answer = QMessageBox::No;
    jot::setMessageResponderForTests([this](QMessageBox& box) {
        m_boxes.append({box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                        box.standardButton(box.defaultButton())});
        return m_answer;
    });
}

void TstCommands::cleanup() {
    jot::setMessageResponderForTests({});
}

void TstCommands::cleanupTestCase() {
    jot::setClockForTests({});
    qInstallMessageHandler(testLogHandler);
}

void TstCommands::newTask_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("fromTray");
    QTest::addColumn<int>("row");

    QTest::newRow("placeholder") << QByteArray() << false << 1;
    QTest::newRow("placeholder, from the tray") << QByteArray() << true << 1;
    QTest::newRow("blank record of an emptied list") << record("", "") << false << 1;
    QTest::newRow("list of three") << records(3) << false << 4;
}

void TstCommands::newTask() {
    QFETCH(QByteArray, file);
    QFETCH(bool, fromTray);
    QFETCH(int, row);
    Program p(file);
    QVERIFY(p.main.workArea().width > 0 && p.main.workArea().height > 0);

    if (fromTray) {
        p.main.hide();
        p.main.mPopNew_Click();
        QVERIFY(p.main.isHidden());
    } else {
        p.click("Command1");
    }

    QCOMPARE(p.liste().rows(), row + 1);
    for (int k = 1; k < row; ++k)
        QCOMPARE(p.liste().cell(k, jot::ColText), QString::fromLatin1(taskText(k)));
    QCOMPARE(p.liste().cell(row, jot::ColSlot), QStringLiteral("1"));
    QCOMPARE(p.shared().lastOpenedSlot, 1);
    f_test* note = p.main.fenetre(1);
    QVERIFY(note);
    QCOMPARE(note->f_pos, row);
    QCOMPARE(note->f_monindice, 1);
    QVERIFY(note->isVisible());
    QVERIFY(note->isWindow());
    QVERIFY(!note->parentWidget());
    QCOMPARE(note->windowState(), Qt::WindowNoState);
    // Set up as a new task, then placed.
    QCOMPARE(note->windowTitle(), QStringLiteral("The 03/15 at 02:07 pm"));
    QCOMPARE(p.liste().cell(row, jot::ColStamp), QStringLiteral("Le 03/15 à 02:07 pm"));
    QCOMPARE(note->pos(), cellInPixels(p.main, 1));
    QCOMPARE(Program::openNotes(), 1);
}

void TstCommands::taskLimit_data() {
    QTest::addColumn<int>("tasks");
    QTest::newRow("100 tasks") << 100;
    QTest::newRow("105 tasks from the file") << 105;
}

void TstCommands::taskLimit() {
    QFETCH(int, tasks);
    Program p(records(tasks));
    QCOMPARE(p.liste().rows(), tasks + 1);

    p.click("Command1");
    p.main.mPopNew_Click();

    QCOMPARE(p.liste().rows(), tasks + 1);
    QVERIFY(p.noNotes());
    QCOMPARE(p.shared().lastOpenedSlot, 0);
    QVERIFY(m_boxes.isEmpty());
}

void TstCommands::slotsLowestFreeFirst() {
    Program p;
    for (int i = 0; i < 3; ++i)
        p.click("Command1");
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(p.liste().cell(row, jot::ColSlot), QString::number(row));

    const QPointer<f_test> second = p.main.fenetre(2);
    second->close();
    QCOMPARE(p.liste().cell(2, jot::ColSlot), QString());
    QCOMPARE(p.shared().slotTable[2], 0);
    settle();
    QVERIFY(second.isNull());
    QVERIFY(!p.main.fenetre(2));

    // The gap is filled first, in its own cell, while slots 1 and 3 stay open.
    p.click("Command1");
    QCOMPARE(p.liste().cell(4, jot::ColSlot), QStringLiteral("2"));
    QCOMPARE(p.shared().lastOpenedSlot, 2);
    QCOMPARE(p.main.fenetre(2)->f_pos, 4);
    QCOMPARE(p.main.fenetre(2)->pos(), cellInPixels(p.main, 2));

    // Show takes the next free slot for the row whose note was closed.
    p.show(2);
    QCOMPARE(p.liste().cell(2, jot::ColSlot), QStringLiteral("4"));
    QCOMPARE(p.main.fenetre(4)->f_pos, 2);
    QCOMPARE(p.main.fenetre(4)->pos(), cellInPixels(p.main, 4));
    QVERIFY2(p.slotFault().isEmpty(), qPrintable(p.slotFault()));
    QCOMPARE(Program::openNotes(), 4);
}

void TstCommands::typingReachesTheRow() {
    Program p(records(2));
    p.click("Command1");
    p.shared().unsavedChanges = false;

    QTest::keyClicks(text2(p.main.fenetre(1)), QStringLiteral("B"));
    QCOMPARE(p.liste().cell(3, jot::ColText), QStringLiteral("B"));
    QVERIFY(p.shared().unsavedChanges);
    QTest::keyClicks(text2(p.main.fenetre(1)), QStringLiteral("uy milk"));
    QCOMPARE(p.liste().cell(3, jot::ColText), QStringLiteral("Buy milk"));
    QCOMPARE(p.liste().cell(2, jot::ColText), QStringLiteral("task 2"));
}

void TstCommands::showAllThenHideAll() {
    Program p(records(3));
    p.show(2);
    f_test* already = p.noteOf(2);
    p.main.findChild<QTableView*>(QStringLiteral("gri"))->setFocus();

    p.main.findChild<QAction*>(QStringLiteral("m_toutafficher"))->trigger();

    QCOMPARE(Program::openNotes(), 3);
    QCOMPARE(p.noteOf(2), already);
    QCOMPARE(p.liste().cell(1, jot::ColSlot), QStringLiteral("2"));
    QCOMPARE(p.liste().cell(3, jot::ColSlot), QStringLiteral("3"));
    for (int row = 1; row <= 3; ++row) {
        f_test* note = p.noteOf(row);
        QCOMPARE(note->f_pos, row);
        QCOMPARE(text2(note)->toPlainText(), QString::fromLatin1(taskText(row)));
        QCOMPARE(note->pos(), cellInPixels(p.main, note->f_monindice));
    }
    QCOMPARE(p.main.focusWidget(), p.button("Command1"));
    QVERIFY2(p.slotFault().isEmpty(), qPrintable(p.slotFault()));

    settle(); // the notes' own saves as the focus went from one to the next
    p.main.findChild<QTableView*>(QStringLiteral("gri"))->setFocus();
    QSignalSpy saves(&p.shared().fichier, &jot::TaskFile::saved);
    p.main.findChild<QAction*>(QStringLiteral("m_toutmasquer"))->trigger();
    settle();

    QCOMPARE(saves.count(), 3);
    QVERIFY(p.noNotes());
    QCOMPARE(p.liste().rows(), 4);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(p.liste().cell(row, jot::ColSlot), QString());
    for (int s = 1; s <= jot::kSlots; ++s)
        QVERIFY(!p.main.fenetre(s));
    QCOMPARE(p.main.focusWidget(), p.button("Command1"));
    QCOMPARE(p.fileBytes(), records(3));
}

void TstCommands::deleteAll_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("deleteFirst"); // a Delete above the notes moved them up before

    QTest::newRow("No") << QMessageBox::No << false;
    QTest::newRow("Yes") << QMessageBox::Yes << false;
    QTest::newRow("Yes, after a Delete") << QMessageBox::Yes << true;
}

void TstCommands::deleteAll() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, deleteFirst);
    Program p(records(5));
    for (int row : {2, 3, 5})
        p.show(row);
    if (deleteFirst) {
        p.main.selectRow(1);
        p.click("Command3");
    }
    settle(); // the notes' own saves as the focus went from one to the next
    p.shared().sauver_liste();
    const QByteArray before = p.fileBytes();
    const int rows = p.liste().rows();
    m_answer = answer;
    QSignalSpy saves(&p.shared().fichier, &jot::TaskFile::saved);

    p.main.findChild<QAction*>(QStringLiteral("m_reinit"))->trigger();
    settle();

    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].title, QStringLiteral("Jotlark"));
    QCOMPARE(m_boxes[0].text, QStringLiteral("Do you realy want to delete all tasks"));
    QCOMPARE(m_boxes[0].icon, QMessageBox::Question);
    QCOMPARE(m_boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m_boxes[0].defaultButton, QMessageBox::No); // Enter alone never wipes the list
    QVERIFY(p.shared().autoSave);
    if (answer == QMessageBox::No) {
        QCOMPARE(saves.count(), 0);
        QCOMPARE(p.liste().rows(), rows);
        QCOMPARE(Program::openNotes(), 3);
        QVERIFY2(p.slotFault().isEmpty(), qPrintable(p.slotFault()));
        QCOMPARE(p.fileBytes(), before);
        return;
    }
    QCOMPARE(saves.count(), 1);
    QCOMPARE(p.liste().rows(), 2);
    QVERIFY(p.liste().isPlaceholder(1));
    QVERIFY(p.noNotes());
    QCOMPARE(p.fileBytes(), record("", ""));
}

void TstCommands::deleteKeepsNotesOnTheirRows_data() {
    QTest::addColumn<int>("tasks");
    QTest::addColumn<QList<int>>("open"); // rows whose notes are open, before the Delete
    QTest::addColumn<int>("deleted");

    QTest::newRow("above the notes") << 5 << QList<int>{3, 5} << 1;
    QTest::newRow("below the notes") << 5 << QList<int>{1, 2} << 4;
    QTest::newRow("between the notes") << 5 << QList<int>{1, 5} << 3;
    QTest::newRow("an open note among open notes") << 5 << QList<int>{2, 3, 4} << 3;
    QTest::newRow("the last row, its note open") << 5 << QList<int>{4, 5} << 5;
    QTest::newRow("the only task, its note open") << 1 << QList<int>{1} << 1;
}

void TstCommands::deleteKeepsNotesOnTheirRows() {
    QFETCH(int, tasks);
    QFETCH(QList<int>, open);
    QFETCH(int, deleted);
    Program p(records(tasks));
    for (int row : open)
        p.show(row);

    p.main.selectRow(deleted);
    p.click("Command3");
    settle();

    QCOMPARE(p.liste().rows(), std::max(tasks, 2));
    QVERIFY2(p.slotFault().isEmpty(), qPrintable(p.slotFault()));
    QCOMPARE(Program::openNotes(), open.size() - open.count(deleted));
    QByteArray expected;
    for (int k = 1; k <= tasks; ++k) {
        if (k == deleted)
            continue;
        const int row = k < deleted ? k : k - 1;
        QByteArray text = taskText(k);
        if (open.contains(k)) {
            f_test* note = p.noteOf(row);
            QVERIFY2(note, qPrintable(QStringLiteral("no note for task %1").arg(k)));
            QCOMPARE(note->f_pos, row);
            QCOMPARE(p.shared().slotTable[note->f_monindice], note->f_monindice);
            QTest::keyClicks(text2(note), QStringLiteral("+x"));
            text += "+x";
        }
        QCOMPARE(p.liste().cell(row, jot::ColText), QString::fromLatin1(text));
        expected += record(kStamp, text);
    }
    if (tasks == 1)
        QVERIFY(p.liste().isPlaceholder(1));
    QVERIFY(p.shared().sauver_liste());
    QCOMPARE(p.fileBytes(), tasks == 1 ? record("", "") : expected);
}

void TstCommands::deleteIsSavedByTheNextTick_data() {
    QTest::addColumn<bool>("noteOpen");
    QTest::newRow("note closed") << false;
    QTest::newRow("note open") << true;
}

void TstCommands::deleteIsSavedByTheNextTick() {
    QFETCH(bool, noteOpen);
    Program p(records(3));
    if (noteOpen)
        p.show(2);
    QVERIFY(p.shared().sauver_liste());
    QSignalSpy saves(&p.shared().fichier, &jot::TaskFile::saved);

    p.main.selectRow(2);
    p.click("Command3");

    // An open note saves as it closes, while its task is still in the list.
    QCOMPARE(saves.count(), noteOpen ? 1 : 0);
    QCOMPARE(p.fileBytes(), records(3));
    QVERIFY(p.shared().unsavedChanges);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    p.main.Timer1_Timer();
    QCOMPARE(p.fileBytes(), record(kStamp, "task 1") + record(kStamp, "task 3"));
}

void TstCommands::placeholderIsLeftAlone_data() {
    QTest::addColumn<QString>("command");
    for (const char* c : {"Show", "double-click", "Show all", "Hide all", "Delete"})
        QTest::newRow(c) << QString::fromLatin1(c);
}

void TstCommands::placeholderIsLeftAlone() {
    QFETCH(QString, command);
    Program p;
    QSignalSpy saves(&p.shared().fichier, &jot::TaskFile::saved);
    QTableView* gri = p.main.findChild<QTableView*>(QStringLiteral("gri"));

    if (command == QLatin1String("Show"))
        p.click("Command2");
    else if (command == QLatin1String("double-click"))
        doubleClick(gri, 1);
    else if (command == QLatin1String("Show all"))
        p.main.m_toutafficher_Click();
    else if (command == QLatin1String("Hide all"))
        p.main.m_toutmasquer_Click();
    else
        p.click("Command3");

    QCOMPARE(p.liste().rows(), 2);
    QVERIFY(p.liste().isPlaceholder(1));
    QVERIFY(p.noNotes());
    QCOMPARE(saves.count(), 0);
    QVERIFY(!p.shared().unsavedChanges);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TstCommands::showBringsUpTheOpenNote_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("byDoubleClick");
    QTest::newRow("behind the main window, Show") << QStringLiteral("behind") << false;
    QTest::newRow("minimised, Show") << QStringLiteral("minimised") << false;
    QTest::newRow("behind the main window, double-click") << QStringLiteral("behind") << true;
}

void TstCommands::showBringsUpTheOpenNote() {
    QFETCH(QString, state);
    QFETCH(bool, byDoubleClick);
    Program p(records(2));
    p.show(2);
    f_test* note = p.noteOf(2);
    QVERIFY(note);
    if (state == QLatin1String("minimised"))
        note->showMinimized();
    p.main.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &p.main);

    if (byDoubleClick) {
        p.main.selectRow(1);
        doubleClick(p.main.findChild<QTableView*>(QStringLiteral("gri")), 2);
    } else {
        p.show(2);
    }

    QCOMPARE(Program::openNotes(), 1);
    QCOMPARE(p.noteOf(2), note);
    QCOMPARE(p.shared().slotTable[2], 0);
    QVERIFY(!note->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), note);
}

void TstCommands::allSlotsInUse_data() {
    QTest::addColumn<bool>("showAll");
    QTest::newRow("Show all") << true;
    QTest::newRow("Show") << false;
}

void TstCommands::allSlotsInUse() {
    QFETCH(bool, showAll);
    Program p(records(105));
    p.main.m_toutafficher_Click();
    QCOMPARE(Program::openNotes(), 100);
    f_test* last = p.main.fenetre(100);
    last->move(last->pos() + QPoint(40, -30)); // moved away by its user
    const QPoint place = last->pos();

    if (showAll)
        p.main.m_toutafficher_Click();
    else
        p.show(103);

    // No slot for rows 101 to 105: the note of slot 100 keeps its task and its place.
    QCOMPARE(Program::openNotes(), 100);
    for (int row = 101; row <= 105; ++row)
        QCOMPARE(p.liste().cell(row, jot::ColSlot), QString());
    QCOMPARE(p.shared().lastOpenedSlot, 100);
    QVERIFY2(p.slotFault().isEmpty(), qPrintable(p.slotFault()));
    QCOMPARE(last->f_pos, 100);
    QCOMPARE(last->pos(), place);
    QCOMPARE(text2(last)->toPlainText(), QStringLiteral("task 100"));
    QCOMPARE(p.liste().cell(100, jot::ColText), QStringLiteral("task 100"));

    // A freed slot serves the next Show.
    p.main.fenetre(7)->close();
    p.show(103);
    QCOMPARE(p.liste().cell(103, jot::ColSlot), QStringLiteral("7"));
    QCOMPARE(p.noteOf(103)->f_pos, 103);
    QCOMPARE(text2(p.noteOf(103))->toPlainText(), QStringLiteral("task 103"));
    QCOMPARE(p.noteOf(103)->pos(), cellInPixels(p.main, 7));
}

QTEST_MAIN(TstCommands)
#include "tst_commands.moc"
