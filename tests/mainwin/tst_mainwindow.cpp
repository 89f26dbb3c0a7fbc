#include "common/tempdatahome.h"
#include "help/f_help.h"
#include "mainwin/f_iir.h"
#include "mainwin/messagebox.h"
#include "mainwin/tray.h"
#include "notes/f_test.h"
#include "store/startoption.h"

#include <QAbstractButton>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QtTest>
#include <cmath>
#include <memory>

using Button = QMessageBox::StandardButton;

namespace {

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

// A task file of `n` tasks with the text "task <row>".
QByteArray tasks(int n) {
    QByteArray bytes;
    for (int r = 1; r <= n; ++r)
        bytes +=
            "\"Le 12/05 \xc3\xa0 10:15 pm\",\"task " + QByteArray::number(r) + "\",\"\",\"\"\r\n";
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Saving fails for anybody, root included, while a directory stands in the file's place.
void blockTaskFile(const TempDataHome& home) {
    QFile::remove(home.taskFile());
    QVERIFY(QDir().mkpath(home.taskFile() + QStringLiteral("/x")));
}
void unblockTaskFile(const TempDataHome& home) {
    QVERIFY(QDir(home.taskFile()).removeRecursively());
}

QPoint centred(const QWidget& w) {
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    const QSize f = w.frameGeometry().size();
    return {s.left() + int(std::floor((s.width() - f.width()) / 2.0)),
            s.top() + int(std::floor((s.height() - f.height()) / 2.0))};
}

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

    // Message boxes seen; a box that no test expects is a failure.
    int m_boxes = 0;
    int m_unexpected = 0;

private slots:
    void init();
    void cleanup();

    void start_data();
    void start();
    void gridAfterLoadingTasks();
    void menus_data();
    void menus();
    void putAway_data();
    void putAway();
    void trayActivation_data();
    void trayActivation();
    void lateTray();
    void exit_data();
    void exit();
    void exitClosesNotesLastRowFirst();
    void failedSaveShowsWarning();
    void unreadableFileShowsWarning();
    void exitWhenSaveFails_data();
    void exitWhenSaveFails();
    void signalExitAsksNothing();
    void tabOrder();
    void doubleClickShows_data();
    void doubleClickShows();
    void enterKey_data();
    void enterKey();
    void startOption_data();
    void startOption();
    void helpIsOneWindow();
    void demanderGoesToResponder();
};

void TstMainWindow::init() {
    jot::setTrayAvailableForTests(true);
    m_boxes = m_unexpected = 0;
    jot::setMessageResponderForTests([this](QMessageBox& box) {
        ++m_boxes;
        ++m_unexpected;
        qWarning("unexpected message box: %s", qPrintable(box.text()));
        return QMessageBox::Cancel;
    });
}

void TstMainWindow::cleanup() {
    QCOMPARE(m_unexpected, 0);
    jot::setMessageResponderForTests({});
    jot::setTrayAvailableForTests(std::nullopt);
}

void TstMainWindow::start_data() {
    QTest::addColumn<bool>("pref1");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("minimised");

    QTest::newRow("normal start") << false << true << true << false;
    QTest::newRow("normal start, no tray") << false << false << true << false;
    QTest::newRow("start in the tray") << true << true << false << false;
    // Without a tray the window must stay within reach: a task bar button.
    QTest::newRow("start in the tray, no tray") << true << false << true << true;
}

void TstMainWindow::start() {
    QFETCH(bool, pref1);
    QFETCH(bool, tray);
    QFETCH(bool, visible);
    QFETCH(bool, minimised);
    TempDataHome home;
    QVERIFY(home.isValid());
    if (pref1)
        writeFile(home.dataDir() + jot::kStartOptionFile, QByteArray());
    jot::setTrayAvailableForTests(tray);

    f_iir w;
    auto* Timer1 = w.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(Timer1);
    QVERIFY(Timer1->isActive()); // from the window's creation, not from the end of start-up
    QCOMPARE(Timer1->interval(), 60000);

    w.Form_Load();
    QCoreApplication::processEvents();

    QVERIFY(QFileInfo(home.dataDir()).isDir());
    QCOMPARE(w.shared().fichier.directory(), home.dataDir());
    QCOMPARE(w.shared().liste.rows(), 2);
    QVERIFY(w.shared().liste.isPlaceholder(1));
    QCOMPARE(w.isVisible(), visible);
    QCOMPARE(w.isMinimized(), minimised);
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("m_tb"))->isChecked(), pref1);

    auto* icon = w.findChild<QSystemTrayIcon*>();
    QVERIFY(icon);
    QCOMPARE(icon->isVisible(), tray);
    QCOMPARE(icon->toolTip(), QStringLiteral("Jotlark"));
    QVERIFY(!icon->icon().isNull());
    QCOMPARE(icon->contextMenu(), w.findChild<QMenu*>(QStringLiteral("mPopupSys")));
    QVERIFY(!w.windowIcon().isNull());

    if (visible && !minimised) {
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.frameGeometry().topLeft(), centred(w));
        QCOMPARE(w.centralWidget()->size(), QSize(576, 194));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    }
}

void TstMainWindow::gridAfterLoadingTasks() {
    TempDataHome home;
    writeFile(home.taskFile(), tasks(3));
    f_iir w;
    w.Form_Load();
    QCOMPARE(w.shared().liste.rows(), 4);

    // Reading the file resets the model; the grid must still show only text and alarm.
    auto* gri = w.findChild<QTableView*>(QStringLiteral("gri"));
    QVERIFY(gri);
    QCOMPARE(gri->model(), &w.shared().liste);
    for (int c : {0, 3, 4})
        QVERIFY2(gri->isColumnHidden(c), qPrintable(QString::number(c)));
    QCOMPARE(gri->columnWidth(1), 413);
    QCOMPARE(gri->columnWidth(2), 133);
    QVERIFY(gri->horizontalHeader()->isVisible());
    QVERIFY(!gri->verticalHeader()->isVisible());
}

void TstMainWindow::menus_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("File") << "m_fichier" << QStringList{"Minimize", "&Print", "-", "Exit"}
                          << QStringList{"m_tache", "m_imprimer", "m_t2", "m_quitter"};
    QTest::newRow("List") << "m_fenetre" << QStringList{"Show all", "Hide all", "-", "Delete all"}
                          << QStringList{"m_toutafficher", "m_toutmasquer", "m_t1", "m_reinit"};
    QTest::newRow("Options") << "m_options" << QStringList{"&Start in the task bar"}
                             << QStringList{"m_tb"};
    QTest::newRow("?") << "m_interro" << QStringList{"Help...", "&About..."}
                       << QStringList{"m_aide", "m_apropos"};
    QTest::newRow("tray") << "mPopupSys" << QStringList{"&New", "&Restore", " &Exit"}
                          << QStringList{"mPopNew", "mPopRestore", "mPopExit"};
}

void TstMainWindow::menus() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, names);
    TempDataHome home;
    f_iir w;

    QStringList bar;
    for (const QAction* a : w.menuBar()->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{"&File", "&List", "&Options", "&?"}));

    auto* m = w.findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(captions(m), items);
    QStringList actual;
    for (const QAction* a : m->actions())
        actual << a->objectName();
    QCOMPARE(actual, names);
    QCOMPARE(w.menuBar()->actions().contains(m->menuAction()), menu != "mPopupSys");
}

void TstMainWindow::putAway_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("tray");
    for (bool tray : {true, false}) {
        const char* suffix = tray ? "" : ", no tray";
        QTest::addRow("close box%s", suffix) << "close" << tray;
        QTest::addRow("Minimize%s", suffix) << "m_tache" << tray;
        QTest::addRow("minimise button%s", suffix) << "minimise" << tray;
    }
}

void TstMainWindow::putAway() {
    QFETCH(QString, how);
    QFETCH(bool, tray);
    TempDataHome home;
    jot::setTrayAvailableForTests(tray);
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy saved(&w.shared().fichier, &jot::TaskFile::saved);
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);

    if (how == "close")
        QVERIFY(!w.close());
    else if (how == "m_tache")
        w.findChild<QAction*>(how)->trigger();
    else
        w.windowHandle()->showMinimized(); // as the window manager reports it

    QTRY_VERIFY(w.isMinimized());
    if (tray) {
        QTRY_VERIFY(!w.isVisible());
    } else {
        QCoreApplication::processEvents();
        QVERIFY(w.isVisible());
    }
    QVERIFY(!w.ended());
    QVERIFY(!w.quitting());
    QCOMPARE(saved.count(), 0);
    QCOMPARE(quitting.count(), 0);
    QVERIFY(w.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

void TstMainWindow::trayActivation_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("restores");
    QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << true;
    QTest::newRow("double-click") << int(QSystemTrayIcon::DoubleClick) << true;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
    QTest::newRow("context menu") << int(QSystemTrayIcon::Context) << false;
}

void TstMainWindow::trayActivation() {
    QFETCH(int, reason);
    QFETCH(bool, restores);
    TempDataHome home;
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(0, 0);
    w.m_tache_Click();
    QTRY_VERIFY(!w.isVisible());

    auto* icon = w.findChild<QSystemTrayIcon*>();
    Q_EMIT icon->activated(QSystemTrayIcon::ActivationReason(reason));
    QCoreApplication::processEvents();
    QCOMPARE(w.isVisible(), restores);
    if (restores) {
        QVERIFY(!w.isMinimized());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Centred again wherever it stood before.
        QCOMPARE(w.frameGeometry().topLeft(), centred(w));
        // Restored, it hides again when minimised.
        w.m_tache_Click();
        QTRY_VERIFY(!w.isVisible());
    }
}

void TstMainWindow::lateTray() {
    TempDataHome home;
    writeFile(home.dataDir() + jot::kStartOptionFile, "\"1\"\r\n");
    jot::setTrayAvailableForTests(false);
    f_iir w;
    w.Form_Load();
    QVERIFY(w.isVisible());
    QVERIFY(w.isMinimized());
    auto* icon = w.findChild<QSystemTrayIcon*>();
    QVERIFY(!icon->isVisible());

    // The panel comes up after the program: the icon appears and the window goes into it.
    auto* watch = w.findChild<QTimer*>(QStringLiteral("m_trayWatch"));
    QVERIFY(watch && watch->isActive());
    watch->setInterval(1);
    QTest::qWait(20);
    QVERIFY(!icon->isVisible());
    jot::setTrayAvailableForTests(true);
    QTRY_VERIFY(icon->isVisible());
    QVERIFY(!w.isVisible());
    QVERIFY(!watch->isActive());
}

void TstMainWindow::exit_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("saves");
    QTest::newRow("Exit") << "m_quitter" << 1;
    // The tray's Exit writes once more before the close does.
    QTest::newRow("tray Exit") << "mPopExit" << 2;
}

void TstMainWindow::exit() {
    QFETCH(QString, command);
    QFETCH(int, saves);
    TempDataHome home;
    writeFile(home.taskFile(), tasks(3));
    f_iir w;
    w.Form_Load();
    jot::Shared& shared = w.shared();
    shared.liste.setCell(2, jot::ColText, QStringLiteral("edited, not yet saved"));
    shared.unsavedChanges = true;
    w.creer_fenetre(1);
    w.creer_fenetre(3);
    QPointer<f_test> first = w.fenetre(1), second = w.fenetre(2);
    QVERIFY2(first && second, "creer_fenetre opens no note window yet");

    // Every save comes before any note closes, with auto-save on.
    QList<int> openAtSave;
    connect(&shared.fichier, &jot::TaskFile::saved, this, [&] {
        openAtSave << int(!shared.liste.cell(1, jot::ColSlot).isEmpty()) +
                          int(!shared.liste.cell(3, jot::ColSlot).isEmpty());
    });

    w.findChild<QAction*>(command)->trigger();

    QVERIFY(w.ended());
    QCOMPARE(openAtSave, QList<int>(saves, 2));
    QVERIFY(!w.isVisible());
    QVERIFY(!w.findChild<QSystemTrayIcon*>()->isVisible());
    QVERIFY(!w.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    QVERIFY(shared.autoSave);
    QTRY_VERIFY(!first && !second);
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(shared.liste.cell(r, jot::ColSlot), QString());
    QCOMPARE(shared.slotTable[1], 0);
    QCOMPARE(shared.slotTable[2], 0);
    QVERIFY(readFile(home.taskFile()).contains("\"edited, not yet saved\""));

    // Ended means ended: a second Exit (a late signal) does nothing more.
    QSignalSpy more(&shared.fichier, &jot::TaskFile::saved);
    w.terminer();
    QCOMPARE(more.count(), 0);
}

void TstMainWindow::exitClosesNotesLastRowFirst() {
    TempDataHome home;
    writeFile(home.taskFile(), tasks(4));
    QList<int> closedRows; // outlives the window, whose end deletes any note left
    f_iir w;
    w.Form_Load();
    for (int r : {2, 4, 1}) {
        w.creer_fenetre(r);
        f_test* note = w.fenetre(w.shared().lastOpenedSlot);
        QVERIFY2(note, "creer_fenetre opens no note window yet");
        connect(note, &QObject::destroyed, this, [&closedRows, r] { closedRows << r; });
    }
    w.m_quitter_Click();
    QVERIFY(w.ended());
    QTRY_COMPARE(closedRows, (QList<int>{4, 2, 1}));
}

void TstMainWindow::failedSaveShowsWarning() {
    TempDataHome home;
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int width = w.width();
    auto* line = w.findChild<QLabel*>(QStringLiteral("m_warning"));
    QVERIFY(line);
    QVERIFY(!line->isVisible());

    blockTaskFile(home);
    QVERIFY(!w.shared().sauver_liste());
    QVERIFY(line->isVisible());
    QVERIFY(!line->text().isEmpty());
    QCOMPARE(m_boxes, 0); // reported without stopping anybody
    QCoreApplication::processEvents();
    QCOMPARE(w.width(), width);

    unblockTaskFile(home);
    QVERIFY(w.shared().sauver_liste());
    QVERIFY(!line->isVisible());
    QVERIFY(!w.statusBar()->isVisible());
}

void TstMainWindow::unreadableFileShowsWarning() {
    TempDataHome home;
    writeFile(home.taskFile(), tasks(1) + "this is no record\r\n" + tasks(2));
    f_iir w;
    w.Form_Load();
    auto* line = w.findChild<QLabel*>(QStringLiteral("m_warning"));
    QVERIFY(line->isVisible());
    QVERIFY(!line->text().isEmpty());
    QCOMPARE(m_boxes, 0);
}

void TstMainWindow::exitWhenSaveFails_data() {
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<bool>("fixBeforeRetry");

    QTest::newRow("retry, then cancel")
        << QList<Button>{QMessageBox::Retry, QMessageBox::Cancel} << false << false;
    QTest::newRow("quit without saving") << QList<Button>{QMessageBox::Discard} << true << false;
    QTest::newRow("escape") << QList<Button>{QMessageBox::NoButton} << false << false;
    QTest::newRow("retry once the disk is back")
        << QList<Button>{QMessageBox::Retry} << true << true;
}

void TstMainWindow::exitWhenSaveFails() {
    QFETCH(QList<Button>, answers);
    QFETCH(bool, ended);
    QFETCH(bool, fixBeforeRetry);
    TempDataHome home;
    writeFile(home.taskFile(), tasks(2));
    f_iir w;
    w.Form_Load();
    w.creer_fenetre(1);
    QPointer<f_test> note = w.fenetre(w.shared().lastOpenedSlot);
    w.shared().liste.setCell(2, jot::ColText, QStringLiteral("precious"));
    blockTaskFile(home);

    const int asked = answers.size();
    jot::setMessageResponderForTests([&](QMessageBox& box) {
        ++m_boxes;
        [&] {
            QCOMPARE(box.windowTitle(), QStringLiteral("Jotlark"));
            QCOMPARE(box.icon(), QMessageBox::Warning);
            QCOMPARE(box.standardButtons(),
                     QMessageBox::Retry | QMessageBox::Discard | QMessageBox::Cancel);
            QCOMPARE(box.defaultButton(), box.button(QMessageBox::Retry));
            QVERIFY(box.button(QMessageBox::Discard)->text().contains("without saving"));
        }();
        if (fixBeforeRetry)
            unblockTaskFile(home);
        if (answers.isEmpty()) {
            ++m_unexpected;
            return QMessageBox::Cancel;
        }
        return answers.takeFirst();
    });
    w.m_quitter_Click();

    QCOMPARE(m_boxes, asked);
    QCOMPARE(w.ended(), ended);
    QVERIFY(note);
    if (ended) {
        QTRY_VERIFY(!note); // closed, and gone once the events have run
        QCOMPARE(readFile(home.taskFile()).contains("\"precious\""), fixBeforeRetry);
    } else {
        // Still running with its list, and a later Exit can still succeed.
        QVERIFY(!w.quitting());
        QVERIFY(w.isVisible());
        QVERIFY(note->isVisible());
        QCOMPARE(w.shared().liste.cell(2, jot::ColText), QStringLiteral("precious"));
        unblockTaskFile(home);
        w.m_quitter_Click();
        QVERIFY(w.ended());
        QVERIFY(readFile(home.taskFile()).contains("\"precious\""));
    }
}

void TstMainWindow::signalExitAsksNothing() {
    TempDataHome home;
    f_iir w;
    w.Form_Load();
    blockTaskFile(home);
    w.terminer();
    QVERIFY(w.ended());
    QCOMPARE(m_boxes, 0);
}

void TstMainWindow::tabOrder() {
    TempDataHome home;
    writeFile(home.taskFile(), tasks(2));
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QStringList visited;
    w.findChild<QWidget*>(QStringLiteral("Command1"))->setFocus();
    for (int i = 0; i < 5; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The grid gives Tab back instead of walking its cells.
    QCOMPARE(visited, (QStringList{"Command1", "Command2", "Command3", "gri", "Command1"}));
}

void TstMainWindow::doubleClickShows_data() {
    QTest::addColumn<bool>("onRow");
    QTest::newRow("on the second task") << true;
    QTest::newRow("below the tasks") << false;
}

void TstMainWindow::doubleClickShows() {
    QFETCH(bool, onRow);
    TempDataHome home;
    writeFile(home.taskFile(), tasks(2));
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* gri = w.findChild<QTableView*>(QStringLiteral("gri"));
    const QRect second = gri->visualRect(w.shared().liste.index(1, jot::ColText));
    const QPoint at = onRow ? second.center() : QPoint(second.center().x(), second.bottom() + 20);
    QVERIFY(gri->viewport()->rect().contains(at));
    // Through the window, as the desktop delivers it: press, release, double-click.
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, gri->viewport()->mapTo(&w, at));
    // Show opens the current task's note: the one clicked, or row 1 selected at start.
    const int shown = onRow ? 2 : 1;
    QVERIFY(!w.shared().liste.cell(shown, jot::ColSlot).isEmpty());
    QVERIFY(w.shared().liste.cell(3 - shown, jot::ColSlot).isEmpty());
    QCOMPARE(w.currentRow(), shown);
}

void TstMainWindow::enterKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("grid, Return") << "gri" << int(Qt::Key_Return) << "Command1";
    QTest::newRow("grid, keypad Enter") << "gri" << int(Qt::Key_Enter) << "Command1";
    QTest::newRow("New task") << "Command1" << int(Qt::Key_Return) << "Command1";
    QTest::newRow("Show") << "Command2" << int(Qt::Key_Return) << "Command2";
    QTest::newRow("Delete") << "Command3" << int(Qt::Key_Enter) << "Command3";
}

void TstMainWindow::enterKey() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, pressed);
    TempDataHome home;
    writeFile(home.taskFile(), tasks(2));
    f_iir w;
    w.Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QMap<QString, std::shared_ptr<QSignalSpy>> clicks;
    for (const char* name : {"Command1", "Command2", "Command3"}) {
        auto* b = w.findChild<QPushButton*>(name);
        QVERIFY(b);
        clicks[name] = std::make_shared<QSignalSpy>(b, &QAbstractButton::clicked);
    }
    auto* target = w.findChild<QWidget*>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    for (auto it = clicks.cbegin(); it != clicks.cend(); ++it)
        QCOMPARE(it.value()->count(), it.key() == pressed ? 1 : 0);
    if (pressed == "Command1") { // a new task, with its note
        QCOMPARE(w.shared().liste.rows(), 4);
        QVERIFY(w.fenetre(w.shared().lastOpenedSlot));
    }
}

void TstMainWindow::startOption_data() {
    QTest::addColumn<bool>("fileAtStart");
    QTest::addColumn<bool>("deleteByHand");
    QTest::addColumn<bool>("checkedAfter");
    QTest::newRow("switched on") << false << false << true;
    QTest::newRow("switched off") << true << false << false;
    QTest::newRow("off after the file was deleted by hand") << true << true << false;
}

void TstMainWindow::startOption() {
    QFETCH(bool, fileAtStart);
    QFETCH(bool, deleteByHand);
    QFETCH(bool, checkedAfter);
    TempDataHome home;
    const QString pref1 = home.dataDir() + jot::kStartOptionFile;
    if (fileAtStart)
        writeFile(pref1, "\"1\"\r\n");
    f_iir w;
    w.Form_Load();
    const bool visible = w.isVisible();
    if (deleteByHand)
        QFile::remove(pref1);

    auto* m_tb = w.findChild<QAction*>(QStringLiteral("m_tb"));
    m_tb->trigger();
    QCOMPARE(m_tb->isChecked(), checkedAfter);
    QCOMPARE(QFile::exists(pref1), checkedAfter);
    if (checkedAfter)
        QCOMPARE(readFile(pref1), QByteArray("\"1\"\r\n"));
    QCOMPARE(w.isVisible(), visible); // only the next start changes

    // And back.
    m_tb->trigger();
    QCOMPARE(m_tb->isChecked(), !checkedAfter);
    QCOMPARE(QFile::exists(pref1), !checkedAfter);
}

void TstMainWindow::helpIsOneWindow() {
    TempDataHome home;
    f_iir w;
    auto helpWindows = [] {
        int n = 0;
        for (QWidget* t : QApplication::topLevelWidgets())
            n += qobject_cast<f_help*>(t) && t->isVisible();
        return n;
    };
    w.m_aide_Click();
    w.m_aide_Click();
    QCOMPARE(helpWindows(), 1);
    for (QWidget* t : QApplication::topLevelWidgets())
        if (qobject_cast<f_help*>(t))
            t->close();
    QTRY_COMPARE(helpWindows(), 0);
    w.m_aide_Click(); // a closed help window comes back
    QCOMPARE(helpWindows(), 1);
}

void TstMainWindow::demanderGoesToResponder() {
    QString seen;
    jot::setMessageResponderForTests([&](QMessageBox& box) {
        seen = box.windowTitle() + '|' + box.text() + '|' + QString::number(box.icon()) + '|' +
               QString::number(int(box.standardButtons())) + '|' +
               QString::number(box.standardButton(box.defaultButton()));
        return QMessageBox::No;
    });
    const Button answer = jot::demander(nullptr, QMessageBox::Question, "Jotlark", "Sure?",
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    QCOMPARE(answer, QMessageBox::No);
    QCOMPARE(seen, QStringLiteral("Jotlark|Sure?|%1|%2|%3")
                       .arg(int(QMessageBox::Question))
                       .arg(int(QMessageBox::Yes | QMessageBox::No))
                       .arg(int(QMessageBox::Yes)));
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
