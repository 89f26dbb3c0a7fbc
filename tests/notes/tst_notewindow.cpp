// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "alarms/recurrence.h"
#include "common/program.h"
#include "common/table.h"
#include "notes/alarmpanel.h"
#include "report/report.h"
#include "store/clock.h"
#include "ui/colours.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextBlock>

using testing::record;
using L = QStringList;

namespace {
const QDate kToday(2026, 3, 15); // a Sunday
const QByteArray kStamp = "Le 03/01 \xc3\xa0 09:00 am";
const char* const kLists[] = {"Combo1", "Combo2", "Combo3", "Combo4"};
const auto setClock = [](QTime t) { jot::setClockForTests([t] { return QDateTime(kToday, t); }); };
const auto day = [](int n) { return jot::dayText(kToday.addDays(n)).toUtf8(); };
const auto shownDay = [](int n) { return jot::shownDay(kToday.addDays(n), kToday); };
template <class T = QWidget> T* ctl(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}
// What the lists shown show when "Alarm" opens the panel.
L lists(QWidget* w) {
    QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
    L s;
    for (const char* name : kLists)
        if (!ctl(w, name)->isHidden())
            s << ctl<QComboBox>(w, name)->currentText();
    return s;
}
// What a screen reader says of a control: "name: description (label)".
QString spoken(QWidget* c) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
    QString said = a->text(QAccessible::Name) + ": " + a->text(QAccessible::Description);
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        said += " (" + label->text(QAccessible::Name) + ')';
    return said;
}
// Every text pair of every shown widget's own palette that reads below 4.5:1.
L unreadable() {
    using P = QPalette;
    const P::ColorRole pairs[][2] = {{P::Window, P::WindowText},
                                     {P::Base, P::Text},
                                     {P::Base, P::PlaceholderText},
                                     {P::Button, P::ButtonText},
                                     {P::Highlight, P::HighlightedText}};
    L bad;
    for (QWidget* x : QApplication::allWidgets()) {
        if (!x->isVisible())
            continue;
        for (const auto& [back, text] : pairs)
            for (const P::ColorGroup g : {P::Active, P::Inactive})
                if (jot::contrast(x->palette().color(g, back), x->palette().color(g, text)) < 4.5)
                    bad << x->objectName() + '/' + x->metaObject()->className() + ' ' +
                               QString::number(back);
        // A done checklist line is greyed on the note's own surface.
        if (auto* box = qobject_cast<QPlainTextEdit*>(x))
            for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
                for (const QTextLayout::FormatRange& f : b.layout()->formats())
                    if (f.format.hasProperty(QTextFormat::ForegroundBrush) &&
                        jot::contrast(f.format.foreground().color(),
                                      box->palette().color(QPalette::Base)) < 4.5)
                        bad << "checklist line " + b.text();
    }
    bad.removeDuplicates();
    return bad;
}
// The row's note, opened as "Show" or "New task" opens it.
f_test* open(testing::Program& p, int row, const char* button = "Command2") {
    p.select(row);
    p.click(button);
    f_test* w = p.noteOf(row);
    if (!QTest::qWaitForWindowActive(w))
        qFatal("the note did not come up");
    return w;
}
// Task 1's note after Hide all and Show all.
f_test* hiddenAndShown(testing::Program& p) {
    p.trigger("m_toutmasquer");
    p.trigger("m_toutafficher");
    return p.noteOf(1);
}
// The alarm label says all of the alarm, on one line or two, clear of the panel below it.
void readsWhole(QWidget* w, const QString& shown) {
    QCOMPARE(ctl<QLabel>(w, "Label1")->text().replace(u'\n', u' '), shown);
    QVERIFY(ctl(w, "Label1")->geometry().bottom() < ctl(w, "Frame1")->geometry().top());
}
} // namespace

struct NewTaskCase { // the time shown in the caption and stamp; the hour, am/pm and time preset
    QByteArray name;
    QTime time;
    QString shown;
    L preset;
};
struct ChecklistCase {
    QByteArray name;
    QString act; // on line 2 unless it says "first"
    QByteArray stored;
    QString spoken;
};
struct RepeatingCase {
    QByteArray name;
    int day;    // the day chosen, days from today; tomorrow a Monday
    int repeat; // entry of the repeat list
    QString field;
    int next;                  // the day the alarm goes to once it rang, 0 for none
    QString shown, shownAfter; // by the note, grid and report; once it rang, when it moved
};
struct SetAlarmCase {
    QByteArray name;
    QLocale::Language language;
    bool byEnter;
};

class Tstnotewindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testing::quietOffscreen();
        QLocale::setDefault(QLocale::English);
    }
    void init() { setClock(QTime(14, 30)); }

    // A new task's note from its opening to its ring: caption and stamp, the alarm preset to
    // this hour, Tab order, panel labels uncovered and in view, what a screen reader says, and
    // red text under a yellow alarm label once due.
    void newTask_data() {
        testing::table<NewTaskCase>({{"14:30", {14, 30}, "02:30 pm", {"2", "pm", "2:00 pm"}},
                                     {"00:20", {0, 20}, "12:20 am", {"0", "am", "12:00 am"}},
                                     {"12:40", {12, 40}, "12:40 pm", {"12", "am", "12:00 pm"}}});
    }
    void newTask() {
        QFETCH(NewTaskCase, row);
        setClock(row.time);
        testing::Program p;
        f_test* w = open(p, 1, "Command1");
        QCOMPARE(w->windowTitle(), "The 03/15 at " + row.shown);
        QCOMPARE(p.list().cell(1, jot::ColStamp), "Le 03/15 à " + row.shown);
        QCOMPARE(lists(w), L({day(0), row.preset[0], "00", row.preset[1]}));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        L chain; // from the list the panel opens on, round to the text
        for (int i = 0; i < 7; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            chain << QApplication::focusWidget()->objectName();
        QCOMPARE(chain, L({"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Command3", "Text2"}));
        const auto onPanel = ctl(w, "Frame1")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* a : onPanel) // none shown over another
            for (QWidget* b : onPanel)
                QVERIFY2(a == b || a->isHidden() || b->isHidden() ||
                             !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " over " + b->objectName()));
        for (const char* name : {"Label2", "Label3", "Label5"}) { // a gap each side
            const QRect text = ctl(w, name)->contentsRect();
            QVERIFY2(text.left() >= 2 && text.right() <= ctl(w, name)->width() - 3, name);
        }
        for (const char* name : kLists)
            QCOMPARE(ctl(w, name)->font(), ctl(w, "Label2")->font());
        L said; // "name: description (label)"
        for (QWidget* c : {ctl(w, "Text2"), ctl(w, "Combo1"), ctl(w, "Combo2"), ctl(w, "Combo3"),
                           ctl(w, "Combo4"), p.child("gri")})
            said << spoken(c);
        QCOMPARE(said, L({"Task text: ", day(0) + ": Alarm day (Day)",
                          row.preset[0] + ": Alarm hour (Hour)", "00: Alarm minutes (Minutes)",
                          row.preset[1] + ": Alarm am or pm (am or pm)",
                          "Tasks: Enter shows the task's note, Delete deletes the task"}));
        QAccessibleTableInterface* grid =
            QAccessible::queryAccessibleInterface(p.child("gri"))->tableInterface();
        QCOMPARE(L({grid->columnDescription(0), grid->columnDescription(grid->columnCount() - 1)}),
                 L({"Task", "Alarm"}));
        QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
        setClock(QTime(14, 30)); // a quarter hour, when alarms are checked: this one is due
        p.tick();
        w = hiddenAndShown(p); // still ringing
        const QImage shot = w->grab().toImage();
        QCOMPARE(shot.pixelColor(ctl(w, "Text2")->geometry().center()), QColor(Qt::red));
        const QPoint label = ctl(w, "Label1")->geometry().topLeft() + QPoint(1, 1);
        QCOMPARE(shot.pixelColor(label), jot::kPaleYellow);
        QCOMPARE(spoken(ctl(w, "Label1")), day(0) + ' ' + row.preset[2] + ": Alarm");
        QAccessibleInterface* note = QAccessible::queryAccessibleInterface(w);
        QCOMPARE(note->role(), QAccessible::Window); // a frame, not a pane
        QCOMPARE(note->text(QAccessible::Description), "The alarm is due");
        auto* gri = p.child<QTableView>("gri"); // greyed, yet readable, and said to have rung
        const QColor greyed = gri->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>();
        const QColor base = gri->palette().color(QPalette::Base);
        QVERIFY(jot::contrast(greyed, base) >= 4.5 &&
                jot::contrast(greyed, base) <
                    jot::contrast(gri->palette().color(QPalette::Text), base));
        QCOMPARE(grid->cellAt(0, 1)->text(QAccessible::Description), "rang");
        QVERIFY(w->ringing() && w->keptAbove());
        QTest::mouseClick(ctl(w, "Command2"), Qt::LeftButton); // No alarm
        QVERIFY(!w->ringing() && !w->keptAbove());
        QCOMPARE(p.fileBytes(), record(p.list().cell(1, jot::ColStamp).toUtf8(), ""));
        QVERIFY(!testing::red(hiddenAndShown(p)));
        QCOMPARE(grid->cellAt(0, 1)->text(QAccessible::Description), "");
    }

    // Under a dark scheme every text stays readable and the controls keep the scheme's colours;
    // the ratio is WCAG's, as its own figures for grey on white and black on the notes' yellow.
    void darkScheme() {
        for (const auto& [text, background, ratio] :
             {std::tuple{QColor(0x76, 0x76, 0x76), QColor(Qt::white), 454},
              {QColor(0x77, 0x77, 0x77), QColor(Qt::white), 448},
              {QColor(Qt::black), jot::kPaleYellow, 1987}})
            QCOMPARE(qRound(jot::contrast(text, background) * 100), ratio);
        const QPalette light = QApplication::palette();
        const auto restore = qScopeGuard([&light] { QApplication::setPalette(light); });
        QPalette dark(QColor(0x33, 0x33, 0x33), QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
        dark.setColor(QPalette::Highlight, QColor(0x1d, 0x4f, 0x8f));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
        testing::Program p(record(kStamp, "t~[x] done~[ ] open", day(0) + " 2:30 pm"));
        p.trigger("m_aide"); // the help window shown too
        f_test* w = open(p, 1);
        lists(w); // the alarm panel open
        QCOMPARE(unreadable(), L());
        p.tick(); // 2:30 pm: the note rings, red
        QCOMPARE(ctl(w, "Text2")->palette().color(QPalette::Base), QColor(Qt::red));
        QCOMPARE(unreadable(), L());
        QCOMPARE(ctl(w, "Combo1")->palette(), QApplication::palette(ctl(w, "Combo1")));
    }

    // Checklist lines: ticked by a click on the brackets or Ctrl+Return on the line, made or
    // unmade by Ctrl+Shift+L; done lines struck through; the file keeps the plain text, and the
    // grid shows the count after the first line, spoken as words.
    void checklist_data() {
        testing::table<ChecklistCase>(
            {{"click the brackets", "click", "Shop~[x] milk~[x] eggs", "Shop, 2 of 2 done"},
             {"click the words", "click words", "Shop~[ ] milk~[x] eggs", "Shop, 1 of 2 done"},
             {"Ctrl+Return", "return", "Shop~[x] milk~[x] eggs", "Shop, 2 of 2 done"},
             {"Ctrl+Shift+L, an item back", "L", "Shop~milk~[x] eggs", "Shop, 1 of 1 done"},
             {"Ctrl+Shift+L, a new item", "L first", "[ ] Shop~[ ] milk~[x] eggs",
              "[ ] Shop, 1 of 3 done"}});
    }
    void checklist() {
        QFETCH(ChecklistCase, row);
        testing::Program p(record(kStamp, "Shop~[ ] milk~[x] eggs"));
        f_test* w = open(p, 1);
        auto* box = ctl<QPlainTextEdit>(w, "Text2");
        const QTextBlock line =
            box->document()->findBlockByNumber(row.act.endsWith("first") ? 0 : 1);
        box->setTextCursor(QTextCursor(line));
        if (row.act.startsWith("click")) {
            const QRect start = box->cursorRect(QTextCursor(line));
            const int x = row.act == "click" ? box->fontMetrics().horizontalAdvance("[")
                                             : box->fontMetrics().horizontalAdvance("[ ] mi");
            QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                              QPoint(start.left() + x, start.center().y()));
        } else if (row.act.startsWith("return")) {
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        } else {
            QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        }
        for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
            const auto formats = b.layout()->formats();
            const bool struck = !formats.isEmpty() && formats[0].format.fontStrikeOut();
            QVERIFY2(struck == b.text().startsWith("[x] "), qPrintable(b.text()));
        }
        auto* grid = QAccessible::queryAccessibleInterface(p.child("gri"))->tableInterface();
        QCOMPARE(grid->cellAt(0, 0)->text(QAccessible::Name), row.spoken);
        // The grid shows what it says, the count in figures: "Shop, 2 of 2 done" as "Shop  2/2".
        const QString shown = row.spoken.left(row.spoken.lastIndexOf(", ")) + "  " +
                              row.spoken.section(' ', -4, -4) + '/' +
                              row.spoken.section(' ', -2, -2);
        QCOMPARE(p.child<QTableView>("gri")->model()->index(0, 0).data().toString(), shown);
        w->close();
        QCOMPARE(p.fileBytes(), record(kStamp, row.stored));
    }

    // The panel, made when first opened, is as if made at start: red on a rung note, its days
    // those of the note's opening day, its entries the last preset's, a snooze's included.
    // First opened after the ring, or before it and closed by "Ok".
    void panelMadeLate() {
        for (const bool openedBefore : {false, true}) {
            setClock(QTime(23, 45));
            testing::Program p(record(kStamp, "t", day(0) + " 11:45 pm"));
            f_test* w = open(p, 1);
            if (openedBefore) {
                QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
                QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            }
            p.tick();
            jot::setClockForTests([] { return QDateTime(kToday.addDays(1), QTime(0, 10)); });
            QCOMPARE(lists(w), L({day(0), "11", "45", "pm"}));
            const QImage shot = w->grab().toImage();
            for (const char* name : {"Frame1", "Label2"})
                QCOMPARE(shot.pixelColor(ctl(w, name)->mapTo(w, QPoint(1, 1))), QColor(Qt::red));
            QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            QVERIFY(!testing::red(w)); // dealt with
            w = hiddenAndShown(p);
            // A snooze's alarm is offered, even a minute off the quarter hour (from a calendar),
            // and "Ok" keeps it.
            w->snooze(day(2) + " 10:10 am", {});
            QCOMPARE(lists(w), L({day(2), "10", "10", "am"}));
            QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            QCOMPARE(p.list().cell(1, jot::ColAlarm), QString::fromUtf8(day(2) + " 10:10 am"));
        }
    }

    // Typing goes into the row, saved at the next tick, on losing the focus, and once by Ctrl+W.
    void editAndClose() {
        const QByteArray first = record(kStamp, "first");
        testing::Program p(first + record(kStamp, "a\u00a0b"));
        QPointer<f_test> w = open(p, 2);
        p.saves->clear();
        auto* text2 = ctl<QPlainTextEdit>(w, "Text2");
        QTest::keyClick(text2, Qt::Key_Return);
        QTest::keyClicks(text2, "c");
        QCOMPARE(p.list().cell(2, jot::ColText), "a\u00a0b\r\nc");
        QVERIFY(p.saves->isEmpty());
        setClock(QTime(14, 31)); // no quarter hour: only unsaved changes are saved
        p.tick();
        QCOMPARE(p.saves->count(), 1);
        QCOMPARE(p.fileBytes(), first + record(kStamp, "a\u00a0b~c"));

        ctl(w, "Command1")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(p.saves->count(), 2);
        text2->setFocus();
        QTest::keyClick(text2, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
        QCOMPARE(p.saves->count(), 3); // once, though the text had the focus
    }

    // A repeating alarm: its rule stored in the fired-mark field, shown by the note, grid and
    // report, offered again, and moved on to the next occurrence when it rings. "Other date…"
    // opens the calendar when chosen, not passed over; a cancel keeps the day chosen before.
    void repeating_data() {
        testing::table<RepeatingCase>(
            {{"never", 1, 0, "", 0, "Monday 03/16 9:00 am", ""},
             {"every weekday, from a Saturday", 6, 2, "weekdays", 8,
              "Saturday 03/21 9:00 am, every weekday", "Monday 03/23 9:00 am, every weekday"},
             {"every week", 1, 3, "weekly", 8, "Monday 03/16 9:00 am, every week",
              "Monday 03/23 9:00 am, every week"},
             {"every month, the 31st from the calendar", 16, 4, "monthly@31", 46,
              "Tuesday 03/31 9:00 am, every month", "Thursday 04/30 9:00 am, every month"}});
    }
    void repeating() {
        QFETCH(RepeatingCase, row);
        const QDate date = kToday.addDays(row.day);
        setClock(QTime(9, 0));
        testing::Program p(record(kStamp, "t"));
        f_test* w = open(p, 1);
        QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
        auto* days = ctl<QComboBox>(w, "Combo1");
        QList<QDate> asked; // cancelled the first time
        jot::AlarmPanel::setDatePickerForTests([&](QWidget*, QDate from, QDate to, QDate) {
            asked << from << to;
            return asked.size() > 2 ? date : QDate();
        });
        const auto picker = qScopeGuard([] { jot::AlarmPanel::setDatePickerForTests({}); });
        days->setCurrentIndex(row.day < jot::kDayListLength ? row.day : 3);
        if (row.day >= jot::kDayListLength) {
            QTest::keyClick(days, Qt::Key_End); // onto "Other date…": no calendar, the day stays
            QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            QCOMPARE(p.list().cell(1, jot::ColAlarm), jot::dayText(kToday.addDays(3)) + " 0:00 am");
            QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
            for (const auto key : {Qt::Key_Enter, Qt::Key_Return}) { // cancelled, then picked
                days->setCurrentIndex(days->count() - 1);
                QTest::keyClick(days, key);
                QVERIFY(key == Qt::Key_Return || days->currentIndex() == 3);
            }
            QCOMPARE(asked.mid(2), QList<QDate>({kToday, kToday.addDays(366)}));
        }
        ctl<QComboBox>(w, "Combo2")->setCurrentText("9");
        ctl<QComboBox>(w, "Combo5")->setCurrentIndex(row.repeat);
        QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
        const QString alarm = jot::dayText(date) + " 9:00 am";
        QCOMPARE(p.fileBytes(), record(kStamp, "t", alarm.toUtf8(), row.field.toUtf8()));
        readsWhole(w, row.shown);
        QCOMPARE(p.child<QTableView>("gri")->model()->index(0, 1).data().toString(), row.shown);
        QVERIFY(jot::preparer_rapport(p.list(), kToday).contains("Alarm on the " + row.shown));
        w->close();
        w = open(p, 1);
        QCOMPARE(lists(w).first(), jot::dayText(date));
        QCOMPARE(ctl<QComboBox>(w, "Combo5")->currentIndex(), row.repeat);

        jot::setClockForTests([date] { return QDateTime(date, QTime(9, 0, 30)); });
        p.tick();
        w = hiddenAndShown(p); // still ringing
        QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::red));
        const QString after =
            row.next ? jot::dayText(kToday.addDays(row.next)) + " 9:00 am" : alarm;
        QCOMPARE(p.fileBytes(),
                 record(kStamp, "t", after.toUtf8(), row.next ? row.field.toUtf8() : "1"));
        readsWhole(w, row.shownAfter.isEmpty() ? row.shown : row.shownAfter);
        QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton); // "Ok" on it ends the ring
        QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
        QVERIFY(!testing::red(hiddenAndShown(p)));
    }

    // An alarm set on each of the 16 days, by "Ok" or Enter, on a 24-hour clock (no am/pm
    // list, none to Tab to, hours to 23, minutes every five), in languages with spaces in
    // weekday names, reaches the label as the locale writes it and the file as ever at once,
    // and is offered again; a past fired alarm opens as today.
    void setAlarm_data() {
        testing::table<SetAlarmCase>({{"Welsh, Ok", QLocale::Welsh, false},
                                      {"Vietnamese, Enter", QLocale::Vietnamese, true},
                                      {"Irish, Ok", QLocale::Irish, false},
                                      {"German, Enter", QLocale::German, true}});
    }
    void setAlarm() {
        QFETCH(SetAlarmCase, row);
        QLocale::setDefault(row.language);
        const auto english = qScopeGuard([] { QLocale::setDefault(QLocale::English); });
        testing::Program p(record(kStamp, "t", day(-1) + " 9:15 am", "1"));
        f_test* w = open(p, 1);
        QCOMPARE(w->windowTitle(), QString::fromUtf8(kStamp));
        QCOMPARE(lists(w), L({shownDay(0), "9", "15"}));
        QCOMPARE(ctl<QComboBox>(w, "Combo2")->count(), 24);
        QCOMPARE(ctl<QComboBox>(w, "Combo3")->count(), 12);
        ctl(w, "Combo3")->setFocus();
        QTest::keyClick(ctl(w, "Combo3"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ctl(w, "Combo5"));
        for (int n = 0; n < jot::kDayListLength; ++n) {
            QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
            const L chosen{shownDay(n), "23", "35"};
            for (int i = 0; i < chosen.size(); ++i)
                ctl<QComboBox>(w, kLists[i])->setCurrentText(chosen[i]);
            if (row.byEnter)
                QTest::keyClick(ctl(w, "Combo3"), Qt::Key_Return);
            else
                QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            QVERIFY(!ctl(w, "Frame1")->isVisible());
            QCOMPARE(ctl<QLabel>(w, "Label1")->text(), shownDay(n) + " 23:35");
            QCOMPARE(p.fileBytes(), record(kStamp, "t", day(n) + " 11:35 pm"));
            w->close();
            w = open(p, 1);
            QCOMPARE(lists(w), chosen);
        }
    }
};

QTEST_MAIN(Tstnotewindow)
#include "tst_notewindow.moc"
