#include "common/program.h"
#include "help/f_help.h"
#include "mainwin/tray.h"
#include "store/clock.h"
#include "ui/messagebox.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTextBlock>

using Box = QMessageBox;
using testing::Program;

class TstMainWindow : public QObject {
    Q_OBJECT
    template <class T> T* child(Program& p, const QString& n) { return p.main->findChild<T*>(n); }
    QString stateOf(const QWidget& w) {
        return !w.isVisible() ? "hidden" : w.isMinimized() ? "minimised" : "shown";
    }
    // Saving fails for anybody, root included, while a directory stands in the file's place.
    void failSaves(const TempDataHome& home, bool fail) {
        QFile::remove(home.taskFile());
        QVERIFY(fail ? QDir().mkpath(home.taskFile() + QStringLiteral("/x"))
                     : QDir(home.taskFile()).removeRecursively());
    }

private Q_SLOTS:
    void init() {
        testing::quietOffscreen();
        jot::setClockForTests([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 7)); });
        jot::setTrayAvailableForTests(true);
        jot::setMessageResponderForTests([](QMessageBox&) {
            return QTest::qFail("unexpected message box", __FILE__, __LINE__), Box::Cancel;
        });
    }

    void start_data() {
        QTest::addColumn<bool>("pref1");
        QTest::addColumn<bool>("login"); // the autostart entry
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("state");
        QTest::newRow("normal start") << false << false << true << "shown";
        QTest::newRow("start in the tray at log-in") << true << true << true << "hidden";
        QTest::newRow("start in the tray, no tray")
            << true << false << false << "minimised"; // in reach
    }
    void start() {
        QFETCH(bool, pref1);
        QFETCH(bool, login);
        QFETCH(bool, tray);
        QFETCH(QString, state);
        jot::setTrayAvailableForTests(tray);
        Program p({}, pref1, login);
        f_iir& w = *p.main;
        auto* icon = w.findChild<QSystemTrayIcon*>();
        // Current, but not highlighted while the grid has no focus.
        QVERIFY(!child<QTableView>(p, "gri")->selectionModel()->hasSelection());
        QCOMPARE(stateOf(w), state);
        QTRY_COMPARE(icon->isVisible(), tray); // just after a window shown
        if (state == "shown")
            QCOMPARE(w.frameGeometry().center(), w.screen()->geometry().center());
        // The check marks show the files at start; each item writes or removes its file.
        auto* m_tb = child<QAction>(p, "m_tb");
        QCOMPARE(m_tb->isChecked(), pref1);
        m_tb->trigger();
        QCOMPARE(QFile::exists(p.home.dataDir() + jot::kStartOptionFile), !pref1);
        auto* m_login = child<QAction>(p, "m_login");
        QCOMPARE(m_login->isChecked(), login);
        m_login->trigger(); // the entry starts this very program
        QCOMPARE(testing::readFile(jot::autostartPath())
                     .contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + '\n'),
                 !login);
        // The close box puts the window away but keeps the program running.
        QVERIFY(!w.close());
        QTRY_COMPARE(stateOf(w), tray ? "hidden" : "minimised");
        QVERIFY(!w.ended() && p.saves->isEmpty());
        if (tray) { // the tray brings it back
            Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
            QCOMPARE(stateOf(w), "shown");
        } else { // a tray that comes late takes the window
            child<QTimer>(p, "m_trayWatch")->setInterval(1);
            jot::setTrayAvailableForTests(true);
            QTRY_VERIFY(icon->isVisible() && stateOf(w) == "hidden");
        }
    }

    void exit_data() {
        using L = QList<Box::StandardButton>;
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<L>("answers");
        QTest::addColumn<int>("saves");
        QTest::newRow("Exit") << "m_quitter" << false << L{} << 1;
        QTest::newRow("tray Exit") << "mPopExit" << false << L{} << 2; // writes before closing
        QTest::newRow("SIGTERM") << "SIGTERM" << false << L{} << 1;
        // The save fails.
        QTest::newRow("retry, cancel") << "m_quitter" << true << L{Box::Retry, Box::Cancel} << 1;
        QTest::newRow("quit unsaved") << "m_quitter" << true << L{Box::Discard} << 0;
        QTest::newRow("SIGTERM, nobody to ask") << "SIGTERM" << true << L{} << 0;
    }
    void exit() {
        QFETCH(QString, command);
        QFETCH(bool, blocked);
        QFETCH(QList<Box::StandardButton>, answers);
        QFETCH(int, saves);
        const bool ends = !answers.contains(Box::Cancel);
        Program p(testing::records(2));
        f_iir& w = *p.main;
        p.show(2);
        QPointer<f_test> note = p.noteOf(2);
        QTest::keyClicks(note->findChild<QWidget*>("Text2"), " edited");
        int savesWithNoteOpen = 0;
        connect(&p.shared().fichier, &jot::TaskFile::saved, this,
                [&] { savesWithNoteOpen += note && note->isVisible(); });
        failSaves(p.home, blocked);
        jot::setMessageResponderForTests(
            [&](QMessageBox&) { return answers.isEmpty() ? Box::Cancel : answers.takeFirst(); });
        command == "SIGTERM" ? w.terminer() : child<QAction>(p, command)->trigger();
        QTRY_COMPARE(w.ended(), ends);
        auto* line = child<QWidget>(p, "m_warning");
        QCOMPARE(line->isVisibleTo(&w), blocked); // the failed save's warning
        if (!ends) { // still running with its note, and a later Exit succeeds
            QVERIFY(w.isVisible() && note && note->isVisible());
            failSaves(p.home, false);
            p.trigger("m_quitter");
        }
        QTRY_VERIFY(w.ended() && !w.isVisible() && !note && answers.isEmpty());
        QCOMPARE(line->isVisibleTo(&w), blocked && !saves); // cleared by a good save
        QCOMPARE(savesWithNoteOpen, saves);
        QCOMPARE(p.fileBytes().contains("\"task 2 edited\""), saves > 0);
        w.terminer(); // ended means ended: a late signal writes nothing more
        QCOMPARE(p.saves->count(), saves);
    }

    void unreadableFileWarns() {
        Program p(testing::records(1) + "no record\r\n");
        p.click("Command1");
        p.note(1)->close(); // saves, which clears a failed save's warning, not this one
        QCOMPARE(p.saves->count(), 1);
        auto* line = child<QLabel>(p, "m_warning");
        QVERIFY(line->isVisible());
        // Read whole: on one line, or wrapped at its words on as many as it needs.
        QTRY_VERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->width() ||
                    (line->wordWrap() && line->heightForWidth(line->width()) <= line->height()));
    }

    // Enter presses New task unless the grid (Show) or a button has the focus; double-click
    // shows; the Delete key on the grid deletes.
    void gestures_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("noteRow"); // 0: none
        QTest::addColumn<int>("tasks");   // left afterwards
        QTest::newRow("grid, Return") << "gri" << Qt::Key_Return << 2 << 2;
        QTest::newRow("New task focused, Return") << "Command1" << Qt::Key_Return << 3 << 3;
        QTest::newRow("Show focused, Return") << "Command2" << Qt::Key_Return << 2 << 2;
        QTest::newRow("grid, Delete") << "gri" << Qt::Key_Delete << 0 << 1;
        QTest::newRow("Show focused, Delete") << "Command2" << Qt::Key_Delete << 0 << 2;
        QTest::newRow("double-click on task 2") << "gri" << Qt::Key_unknown << 2 << 2;
    }
    void gestures() {
        QFETCH(QString, focus);
        QFETCH(Qt::Key, key);
        QFETCH(int, noteRow);
        QFETCH(int, tasks);
        Program p(testing::records(2));
        auto* gri = child<QTableView>(p, "gri");
        p.select(2);
        const QPoint task2 = gri->viewport()->mapTo(
            p.main.get(), gri->visualRect(p.liste().index(1, jot::ColText)).center());
        if (key == Qt::Key_unknown) // through the window, as the desktop delivers it
            QTest::mouseDClick(p.main->windowHandle(), Qt::LeftButton, {}, task2);
        else
            QTest::keyClick(child<QWidget>(p, focus), key); // as the focused widget
        QCOMPARE(p.liste().rows(), tasks + 1);
        QCOMPARE(p.liste().cell(1, jot::ColText), "task 1");
        for (int r = 1; r < p.liste().rows(); ++r)
            QCOMPARE(p.noteOf(r) != nullptr, r == noteRow);
    }

    // The window grows from its designed size: the grid takes the room, the buttons stay
    // under it, centred; the Alarm column holds the longest alarm of the locale.
    void grows_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QSize>("extra");
        QTest::newRow("designed size") << "en_US" << QSize(0, 0);
        QTest::newRow("larger, German days") << "de_DE" << QSize(300, 200);
    }
    void grows() {
        QFETCH(QString, locale);
        QFETCH(QSize, extra);
        QLocale::setDefault(QLocale(locale));
        Program p(testing::record("s", "t", "Wednesday 12/09 10:45 am"));
        QLocale::setDefault(QLocale::c());
        f_iir& w = *p.main;
        QWidget* frame = w.centralWidget();
        QCOMPARE(frame->minimumSize(), QSize(576, 194));
        w.resize(w.size() + extra);
        QTRY_COMPARE(frame->size(), QSize(576, 194) + extra);
        auto* gri = child<QTableView>(p, "gri");
        QCOMPARE(gri->size(), QSize(573, 153) + extra);
        const QRect c1 = child<QWidget>(p, "Command1")->geometry();
        const QRect c3 = child<QWidget>(p, "Command3")->geometry();
        QVERIFY(c1.top() > gri->geometry().bottom() && c3.bottom() < frame->height());
        QVERIFY(qAbs(c1.left() + c3.right() - frame->width()) <= 2);
        QCOMPARE(gri->columnWidth(jot::ColText) + gri->columnWidth(jot::ColAlarm),
                 gri->viewport()->width());
        QString longest;
        for (int d = 0; d < 7; ++d) {
            const QString day = QLocale(locale).dayName(d + 1);
            longest = day.size() > longest.size() ? day : longest;
        }
        longest += " 12/09 10:45 pm";
        QVERIFY(gri->fontMetrics().horizontalAdvance(longest) + 6 <=
                gri->columnWidth(jot::ColAlarm));
    }

    // One help window however often asked for, its lines never wrapped.
    void helpOnce() {
        Program p;
        for (int i = 0; i < 2; ++i)
            p.trigger("m_aide");
        QList<f_help*> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<f_help*>(w); h && h->isVisible())
                shown << h;
        QCOMPARE(shown.size(), 1);
        auto* text = shown[0]->findChild<QPlainTextEdit*>("Text1");
        for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next())
            QVERIFY2(b.layout()->lineCount() == 1, qPrintable(b.text()));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
