// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "common/table.h"
#include "launch/qttranslations.h"
#include "layout/noteplaces.h"
#include "mainwin/tray.h"
#include "report/report.h"
#include "store/clock.h"
#include "ui/programicon.h"

#include <QLabel>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTranslator>

using Box = QMessageBox;
using testing::Program;

struct StartCase {
    QByteArray name;
    bool pref1, login, tray; // start in the tray; the autostart entry; a tray there
    QString state;
};
struct ExitCase {
    QByteArray name;
    QString command;
    QList<Box::StandardButton> answers;
    int saves;
};
struct GestureCase {
    QByteArray name;
    QString focus;
    Qt::Key key;
    int presses; // on task 2, or twice from the start's current task
    QString after;
};

class TstMainWindow : public QObject {
    Q_OBJECT
    static QString stateOf(const QWidget& w) {
        return !w.isVisible() ? "hidden" : w.isMinimized() ? "minimised" : "shown";
    }

private Q_SLOTS:
    void init() {
        jot::setClockForTests([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 7)); });
        jot::setTrayAvailableForTests(true);
    }

    void start_data() {
        testing::table<StartCase>(
            {{"normal start", false, false, true, "shown"},
             {"start in the tray at log-in", true, true, true, "hidden"},
             {"start in the tray, no tray", true, false, false, "minimised"}});
    }
    void start() {
        QFETCH(StartCase, row);
        jot::setTrayAvailableForTests(row.tray);
        Program p({}, row.pref1, row.login);
        f_iir& w = *p.main;
        auto* icon = w.findChild<QSystemTrayIcon*>();
        QVERIFY(!p.child<QTableView>("gri")->selectionModel()->hasSelection());
        QCOMPARE(stateOf(w), row.state);
        QTRY_COMPARE(icon->isVisible(), row.tray); // just after a window shown
        if (!row.pref1)
            QCOMPARE(w.frameGeometry().center(), w.screen()->geometry().center());
        // The check marks show the files; each item writes or removes its own.
        QCOMPARE(p.child<QAction>("m_tb")->isChecked(), row.pref1);
        QCOMPARE(p.child<QAction>("m_login")->isChecked(), row.login);
        p.trigger("m_tb");
        p.trigger("m_login");
        QCOMPARE(QFile::exists(p.home.dataDir() + jot::kStartOptionFile), !row.pref1);
        const QByteArray exec = "\nExec=" + QCoreApplication::applicationFilePath().toUtf8();
        QCOMPARE(testing::readFile(jot::autostartPath()).contains(exec + '\n'), !row.login);
        QVERIFY(!w.close());
        QTRY_COMPARE(stateOf(w), row.tray ? "hidden" : "minimised");
        QVERIFY(!w.ended() && p.saves->isEmpty());
        if (row.tray) { // the tray brings it back
            Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
            QCOMPARE(stateOf(w), "shown");
        }
        p.trigger("mPopExit"); // the tray's Exit writes the list, and so does Exit
        QVERIFY(w.ended() && p.saves->count() == 2);
    }

    // Exit with an edited note while saves fail: the warning, the user's answers (a signal asks
    // nobody); Ctrl+Q exits once saves work again.
    void exit_data() {
        testing::table<ExitCase>(
            {{"retry, cancel, Exit", "m_quitter", {Box::Retry, Box::Cancel}, 2},
             {"quit unsaved", "m_quitter", {Box::Discard}, 0},
             {"SIGTERM", "SIGTERM", {}, 0}});
    }
    void exit() {
        QFETCH(ExitCase, row);
        Program p(testing::records(2));
        f_iir& w = *p.main;
        p.show(2);
        QPointer<f_test> note = p.noteOf(2);
        QTest::keyClicks(note->findChild<QWidget*>("Text2"), " edited");
        QVERIFY(QFile::remove(p.home.taskFile()) && QDir().mkpath(p.home.taskFile() + "/x"));
        if (!row.answers.isEmpty()) // else a question fails the test: a signal has nobody to ask
            jot::setMessageResponderForTests([&](QMessageBox&) {
                return row.answers.isEmpty() ? Box::Cancel : row.answers.takeFirst();
            });
        row.command == "SIGTERM" ? w.endNow() : p.trigger("m_quitter");
        QWidget* line = p.child("m_warning");
        QVERIFY(line->isVisibleTo(&w));
        if (!w.ended()) { // still running with its note, and a later Exit succeeds
            QVERIFY(w.isVisible() && note && note->isVisible());
            QVERIFY(QDir(p.home.taskFile()).removeRecursively());
            w.activateWindow(); // Ctrl+Q, whatever the platform theme binds to Quit
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
        }
        QTRY_VERIFY(w.ended() && !w.isVisible() && !note && row.answers.isEmpty());
        QCOMPARE(line->isVisibleTo(&w), !row.saves); // cleared by a good save
        QCOMPARE(p.fileBytes().contains("\"task 2 edited\""), row.saves > 0);
        w.endNow(); // ended means ended: a late signal writes nothing more
        QCOMPARE(p.saves->count(), row.saves);
    }

    // Enter is New task unless the grid (Show) or a button has the focus; double-click shows;
    // Delete on the grid deletes the current task. The tasks afterwards, '*': note open.
    void gestures_data() {
        testing::table<GestureCase>(
            {{"grid, Return", "gri", Qt::Key_Return, 1, "task 1,task 2*,task 3"},
             {"grid, Delete", "gri", Qt::Key_Delete, 1, "task 1,task 3"},
             {"grid at start, Delete twice", "gri", Qt::Key_Delete, 2, "task 3"},
             {"no control, Return", "Frame6", Qt::Key_Return, 1, "task 1,task 2,task 3,*"},
             {"Show focused, Return", "Command2", Qt::Key_Return, 1, "task 1,task 2*,task 3"},
             {"double-click on task 2", "gri", Qt::Key_unknown, 1, "task 1,task 2*,task 3"}});
    }
    void gestures() {
        QFETCH(GestureCase, row);
        Program p(testing::records(3));
        auto* gri = p.child<QTableView>("gri");
        if (row.presses == 1)
            p.select(2);
        const QPoint task2 =
            gri->viewport()->mapTo(p.main.get(), gri->visualRect(gri->currentIndex()).center());
        for (int n = 0; n < row.presses; ++n) {
            if (row.key == Qt::Key_unknown) // through the window, as the desktop delivers it
                QTest::mouseDClick(p.main->windowHandle(), Qt::LeftButton, {}, task2);
            else
                QTest::keyClick(p.child(qPrintable(row.focus)), row.key); // as the focused widget
        }
        QStringList after;
        for (int r = 1; r < p.list().rows(); ++r)
            after << p.list().cell(r, jot::ColText) + (p.noteOf(r) ? "*" : "");
        QCOMPARE(after.join(','), row.after);
    }

    // In French the windows, notes, report and Qt's buttons speak it; the stored stamp stays as
    // it was.
    void french() {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        jot::loadQtTranslations(*qApp);
        jot::loadJotlarkTranslations(*qApp);
        const auto english = qScopeGuard([] {
            QLocale::setDefault(QLocale::c());
            qDeleteAll(qApp->findChildren<QTranslator*>());
        });
        Program p;
        QCOMPARE(p.child<QPushButton>("Command1")->text(), "Nouvelle tâche");
        QString asked;
        jot::setMessageResponderForTests([&asked](QMessageBox& box) {
            asked = box.text() + '|' + box.button(QMessageBox::No)->text();
            return QMessageBox::No;
        });
        p.trigger("m_reinit");
        QCOMPARE(asked, "Voulez-vous vraiment supprimer toutes les tâches ?|&Non");
        bool below = false; // About keeps the name and version as its text, the licence below
        jot::setMessageResponderForTests([&below](QMessageBox& box) {
            box.show();
            const QRect name = box.findChild<QLabel*>("qt_msgbox_label")->geometry();
            const auto* licence = box.findChild<QLabel*>("qt_msgbox_informativelabel");
            below = licence && licence->isVisible() && licence->y() >= name.bottom();
            return Box::Ok;
        });
        p.trigger("m_apropos");
        QVERIFY(below);
        p.click("Command1");
        f_test* note = p.noteOf(1);
        QCOMPARE(note->windowTitle(), "Le 03/15 à 02:07 pm");
        QCOMPARE(note->findChild<QPushButton*>("Command2")->text(), "Sans alarme");
        QTest::keyClicks(note->findChild<QWidget*>("Text2"), "x");
        note->close(); // saves
        QCOMPARE(p.fileBytes(), testing::record("Le 03/15 \xc3\xa0 02:07 pm", "x"));
        // The report too, its alarms as the French write them.
        jot::TaskList list;
        list.setRows({{"s", "t", "lundi 03/16 4:00 pm", {}, "weekly"}});
        QCOMPARE(jot::preparer_rapport(list, {2026, 3, 15}),
                 "[JOTLK]\t\t\tTâches du 15/03/2026\r\n\r\n\r\nt\r\n"
                 "Alarme le lundi 16/03 16:00, toutes les semaines\r\n");
    }

    // The grid takes the room as the window grows, the buttons centred under it; the Alarm
    // column holds the locale's longest alarm; the find line takes the grid's top; the warning
    // line is read whole.
    void grows() {
        const QLocale german(QLocale::German, QLocale::Germany);
        QLocale::setDefault(german);
        Program p(testing::records(1) + "no record\r\n");
        QLocale::setDefault(QLocale::c());
        f_iir& w = *p.main;
        QWidget* frame = w.centralWidget();
        auto* gri = p.child<QTableView>("gri");
        const QSize extra(300, 200), least = frame->minimumSize(), grid = gri->size();
        w.resize(w.size() + extra);
        QTRY_COMPARE(frame->size(), least + extra);
        QCOMPARE(gri->size(), grid + extra);
        const QRect c1 = p.child("Command1")->geometry(), c3 = p.child("Command3")->geometry();
        QVERIFY(c1.top() > gri->geometry().bottom() && c3.bottom() < frame->height());
        QVERIFY(qAbs(c1.left() + c3.right() - frame->width()) <= 2);
        const int alarm = gri->columnWidth(1);
        QCOMPARE(gri->columnWidth(0) + alarm, gri->viewport()->width());
        const QFontMetrics fm = gri->fontMetrics();
        for (int d = 1; d <= 7; ++d)
            QVERIFY(fm.horizontalAdvance(german.dayName(d) + ", 09.12. 22:45") + 6 <= alarm);
        p.trigger("m_find"); // over the grid, which gives up its top, the count at its right
        const QRect find = p.child("m_findLine")->geometry();
        const QRect hidden = p.child("m_findHidden")->geometry();
        QVERIFY(find.bottom() < gri->geometry().top() && find.right() < hidden.left());
        QCOMPARE(hidden.right(), gri->geometry().right());
        QCOMPARE(gri->geometry().bottom(), c1.top() - 8);
        auto* line = p.child<QLabel>("m_warning");
        QVERIFY(line->isVisible());
        QTRY_VERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->width() ||
                    (line->wordWrap() && line->heightForWidth(line->width()) <= line->height()));
    }

    // A note the user moved and resized comes back so after Hide all and Show all and after a
    // restart, which reopens the notes open at exit; one placed off every screen takes its cell
    // at the size it was given. The task file keeps its four fields.
    void notesKept() {
        Program p(testing::records(3));
        p.show(1);
        p.show(2);
        const QPoint place(37, 21), cell2 = p.noteOf(2)->pos();
        const QSize designed = p.noteOf(1)->designedSize(), size = designed + QSize(90, 60);
        p.noteOf(1)->move(place);
        p.noteOf(2)->move(-5000, 9000);
        p.noteOf(2)->resize(size);
        const auto controls = [&p] { // the text box, the strip and the panel
            QList<QRect> r;
            for (const char* name : {"Text2", "Command1", "Label1", "Command2", "Frame1"})
                r << p.noteOf(1)->findChild<QWidget*>(name)->geometry();
            return r;
        };
        QList<QRect> before = controls();
        p.noteOf(1)->resize(size);
        before[0].setSize(before[0].size() + QSize(90, 60));
        QCOMPARE(controls(), before);
        QWidget* grip = p.noteOf(1)->findChild<QWidget*>("m_grip");
        QVERIFY(grip->isVisible() && p.noteOf(1)->rect().contains(
                                         QRect(grip->mapTo(p.noteOf(1), QPoint()), grip->size())));
        const auto same = [&](const char* when) {
            f_test *n1 = p.noteOf(1), *n2 = p.noteOf(2);
            QVERIFY2(n1 && n1->size() == size && n1->pos() == place, when);
            QVERIFY2(n2 && n2->size() == size && n2->pos() == cell2, when);
        };
        p.trigger("m_toutmasquer");
        QVERIFY(!p.noteOf(1) && !p.noteOf(2));
        p.trigger("m_toutafficher");
        same("Show all");
        p.noteOf(1)->resize(designed - QSize(30, 30)); // no smaller than designed
        QCOMPARE(p.noteOf(1)->size(), designed);
        p.noteOf(1)->resize(size);
        QTest::keyClicks(p.noteOf(1)->findChild<QWidget*>("Text2"), "!");
        p.tick(); // the new key is kept at the next tick, crash or not
        const QString state = jot::notePlacesPath(p.home.dataDir());
        QVERIFY(testing::readFile(state).contains("\ntext=task 1!\n"));
        // "Notes on top" and "Notes on every workspace": marker files (0600), applied at once to
        // the open notes and to notes opened later, never to the main window.
        f_test* n = p.noteOf(1);
        QVERIFY(!n->keptAbove() && !n->onAllWorkspaces());
        p.trigger("m_ontop");
        QVERIFY(n->keptAbove() && !n->onAllWorkspaces());
        p.trigger("m_workspaces");
        QVERIFY(n->onAllWorkspaces());
        p.noteOf(3)->close(); // opened by Show all
        p.show(3);
        QVERIFY(p.noteOf(3)->keptAbove() && p.noteOf(3)->onAllWorkspaces());
        QVERIFY(!p.main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        for (const QString& f : {jot::kOnTopFile, jot::kAllWorkspacesFile})
            QCOMPARE(testing::modeOf(p.home.dataDir() + f), mode_t(0600));
        p.trigger("m_ontop");
        QVERIFY(!QFile::exists(p.home.dataDir() + jot::kOnTopFile));
        QVERIFY(!n->keptAbove() && !p.noteOf(3)->keptAbove() && n->onAllWorkspaces());
        p.noteOf(3)->close();
        p.trigger("m_quitter");
        QCOMPARE(testing::modeOf(state), mode_t(0600));
        QCOMPARE(p.fileBytes(), testing::records(3).replace("task 1", "task 1!"));
        p.main = std::make_unique<f_iir>();
        p.main->Form_Load();
        same("restart");
        QVERIFY(!p.noteOf(3));
    }

    // The platform sends a window its icon at every size the icon has: the sizes drawn for
    // their pixel grids, shown as drawn, and nothing rendered from the drawing until a larger
    // size is asked for.
    void programIcon() {
        const QIcon icon = jot::programIcon();
        const auto image = [](const QIcon& i, int size) {
            return i.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        };
        const QStringList drawn = QDir(":/icons").entryList({"jotlark-*.png"});
        QCOMPARE(icon.availableSizes().size(), drawn.size());
        for (const QString& file : drawn) {
            const int size = file.section(u'-', 1).chopped(4).toInt();
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            QCOMPARE(image(icon, size), image(QIcon(":/icons/" + file), size));
        }
        QCOMPARE(image(icon, 64), image(QIcon(":/icons/jotlark.svg"), 64));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
