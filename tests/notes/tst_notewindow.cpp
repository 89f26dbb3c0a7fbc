#include "alarms/alarmtext.h"
#include "common/program.h"
#include "store/clock.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

using testing::record;
using L = QStringList;

namespace {
const QDate kToday(2026, 3, 15); // a Sunday
const QByteArray kStamp = "Le 03/01 \xc3\xa0 09:00 am";
const char* const kLists[] = {"Combo1", "Combo2", "Combo3", "Combo4"};
const auto setClock = [](QTime t) { jot::setClockForTests([t] { return QDateTime(kToday, t); }); };
const auto day = [](int n) { return jot::dayText(kToday.addDays(n)).toUtf8(); };
template <class T = QWidget> T* ctl(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}
L lists(QWidget* w) {
    L s;
    for (const char* name : kLists)
        s << ctl<QComboBox>(w, name)->currentText();
    return s;
}
// The row's note, opened as "Show" or "New" opens it.
f_test* open(testing::Program& p, int row, const char* button = "Command2") {
    p.select(row);
    p.click(button);
    f_test* w = p.noteOf(row);
    if (!QTest::qWaitForWindowActive(w))
        qFatal("the note did not come up");
    return w;
}
} // namespace

class Tstnotewindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testing::quietOffscreen();
        QLocale::setDefault(QLocale::English);
    }
    void init() { setClock(QTime(14, 30)); }

    void newTask_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("shown"); // in the caption and the creation stamp
        QTest::addColumn<L>("preset");
        QTest::newRow("14:30") << QTime(14, 30) << "02:30 pm" << L{"2", "pm"};
        QTest::newRow("00:20") << QTime(0, 20) << "12:20 am" << L{"0", "am"};
        // 12 am is what the alarm timer reads as noon.
        QTest::newRow("12:40") << QTime(12, 40) << "12:40 pm" << L{"12", "am"};
    }

    void newTask() {
        QFETCH(QTime, time);
        QFETCH(QString, shown);
        QFETCH(L, preset);
        setClock(time);
        testing::Program p;
        f_test* w = open(p, 1, "Command1");
        QCOMPARE(w->windowTitle(), "The 03/15 at " + shown);
        QCOMPARE(p.liste().cell(1, jot::ColStamp), "Le 03/15 à " + shown);
        QCOMPARE(lists(w), L({"Sunday 03/15", preset[0], "00", preset[1]}));
        QCOMPARE(QApplication::focusWidget(), ctl(w, "Text2"));
    }

    void storedTask_data() {
        QTest::addColumn<QByteArray>("alarm");
        QTest::addColumn<L>("shown");
        const L entry0{day(0), "0", "00", "am"};
        QTest::newRow("in three days") << day(3) + " 5:45 pm" << L{day(3), "5", "45", "pm"};
        QTest::newRow("day gone: today") << day(-1) + " 9:15 am" << L{day(0), "9", "15", "am"};
        QTest::newRow("words") << QByteArray("call the plumber") << entry0;
    }

    void storedTask() {
        QFETCH(QByteArray, alarm);
        testing::Program p(record(kStamp, "a\u00a0b~~c", alarm));
        f_test* w = open(p, 1);
        QTEST(lists(w), "shown");
        QCOMPARE(w->windowTitle(), QString::fromUtf8(kStamp));
        QCOMPARE(ctl<QPlainTextEdit>(w, "Text2")->document()->toRawText(), "a\u00a0b\u2029\u2029c");
        QCOMPARE(ctl<QLabel>(w, "Label1")->text(), QString::fromUtf8(alarm));
    }

    void editAndClose() {
        testing::Program p(record(kStamp, "first") + record(kStamp, "b"));
        open(p, 1);
        QPointer<f_test> w = open(p, 2);
        const QByteArray saved = record(kStamp, "first") + record(kStamp, "b~c");
        p.saves->clear();
        auto* text2 = ctl<QPlainTextEdit>(w, "Text2");
        QTest::keyClick(text2, Qt::Key_Return);
        QTest::keyClicks(text2, "c");
        QVERIFY(p.saves->isEmpty());

        ctl(w, "Command1")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(p.saves->count(), 1);
        QCOMPARE(p.fileBytes(), saved);
        text2->setFocus();
        QTest::keyClick(text2, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
        QCOMPARE(p.saves->count(), 2); // once, though the text had the focus
        QCOMPARE(p.liste().cell(2, jot::ColSlot) + p.liste().cell(1, jot::ColSlot), "1");

        // Closed again before it is gone, it must not free the slot a newer note has taken.
        p.click("Command2");
        QVERIFY(p.noteOf(2) && !w.isNull());
        w->close();
        QCOMPARE(p.shared().slotTable[2], 2);
        QCOMPARE(p.liste().cell(2, jot::ColSlot), "2");
    }

    // The stored alarm has fired: every button arms it again or clears it.
    void alarmButtons_data() {
        QTest::addColumn<L>("choose");     // opens the panel, picks these, then "Ok"
        QTest::addColumn<bool>("byEnter"); // "Ok" pressed by Enter in the last list picked
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Ok sets") << L{day(2), "3", "45", "pm"} << false << day(2) + " 3:45 pm";
        QTest::newRow("Enter in a list") << L{day(1), "12"} << true << day(1) + " 12:00 pm";
        QTest::newRow("No alarm") << L() << false << QByteArray();
    }

    void alarmButtons() {
        QFETCH(L, choose);
        QFETCH(bool, byEnter);
        QFETCH(QByteArray, expected);
        testing::Program p(record(kStamp, "t", day(0) + " 2:00 pm", "1"));
        f_test* w = open(p, 1);
        QTest::mouseClick(ctl(w, choose.isEmpty() ? "Command2" : "Command1"), Qt::LeftButton);
        for (int i = 0; i < choose.size(); ++i)
            ctl<QComboBox>(w, kLists[i])->setCurrentText(choose[i]);
        if (byEnter)
            QTest::keyClick(ctl(w, kLists[choose.size() - 1]), Qt::Key_Return);
        else if (!choose.isEmpty())
            QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
        QVERIFY(!ctl(w, "Frame1")->isVisible());
        QCOMPARE(p.fileBytes(), record(kStamp, "t", expected));
        if (byEnter) // back to the text, where Enter is a line break again
            QCOMPARE(QApplication::focusWidget(), ctl(w, "Text2"));
    }

    // Tab order, the ":" left uncovered, and a due alarm: the note turns red, its controls not.
    void alarmPanel() {
        testing::Program p;
        f_test* w = open(p, 1, "Command1");
        QTest::keyClick(ctl(w, "Command1"), Qt::Key_Space);
        L chain;
        for (int i = 0; i < 6; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            chain << QApplication::focusWidget()->objectName();
        QCOMPARE(chain, L({"Combo1", "Combo2", "Combo3", "Combo4", "Command3", "Text2"}));
        for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "Command3"})
            QVERIFY2(!ctl(w, "Label4")->geometry().intersects(ctl(w, name)->geometry()), name);
        // "The" and "at" keep a gap to the lists, which read in the labels' size.
        for (const char* name : {"Label2", "Label3"}) {
            auto* l = ctl<QLabel>(w, name);
            const QRect text = l->contentsRect();
            QVERIFY2(text.left() >= 2 && text.right() <= l->width() - 3, name);
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= text.width(), name);
        }
        for (const char* name : kLists)
            QCOMPARE(ctl(w, name)->font(), ctl(w, "Label2")->font());
        QTest::keyClick(ctl(w, "Command3"), Qt::Key_Space); // today 2:00 pm: due at once
        p.tick();
        const auto red = [w](const char* name, QPoint at = {1, 1}) {
            QWidget* c = name ? ctl(w, name) : w;
            return w->grab().toImage().pixelColor(c->mapTo(w, at)) == Qt::red;
        };
        const QPoint middle = ctl(w, "Text2")->rect().center();
        QVERIFY(red(nullptr) && red("Text2", middle) && !red("Label1"));
        QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
        QVERIFY(red("Frame1") && red("Label2"));
    }

    // Each of the 16 days, set with "Ok", comes back in the lists of the reopened note.
    void everyDayReopens_data() {
        QTest::addColumn<QLocale::Language>("language");
        QTest::newRow("Welsh") << QLocale::Welsh;
        QTest::newRow("Vietnamese") << QLocale::Vietnamese;
        QTest::newRow("Irish") << QLocale::Irish;
    }

    void everyDayReopens() {
        QFETCH(QLocale::Language, language);
        QLocale::setDefault(language);
        const auto english = qScopeGuard([] { QLocale::setDefault(QLocale::English); });
        testing::Program p(record(kStamp, "t"));
        for (int n = 0; n < jot::kDayListLength; ++n) {
            f_test* w = open(p, 1);
            QTest::mouseClick(ctl(w, "Command1"), Qt::LeftButton);
            const L chosen{day(n), "11", "15", "pm"};
            for (int i = 0; i < chosen.size(); ++i)
                ctl<QComboBox>(w, kLists[i])->setCurrentText(chosen[i]);
            QTest::mouseClick(ctl(w, "Command3"), Qt::LeftButton);
            w->close();
            QCOMPARE(lists(open(p, 1)), chosen);
            p.noteOf(1)->close();
        }
        QCOMPARE(p.fileBytes(), record(kStamp, "t", day(15) + " 11:15 pm"));
    }

    // What a screen reader finds: every control named, each panel label tied to its list.
    void accessible_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("says");  // name, and description where there is one
        QTest::addColumn<QString>("label"); // the label that names it, if any
        const auto row = [](const char* what, const char* control, const char* says,
                            const char* label = "") {
            QTest::newRow(what) << control << says << label;
        };
        row("window", "f_test", "The 03/15 at 02:30 pm");
        row("text box", "Text2", "Task text");
        row("alarm label", "Label1", "Alarm: When the alarm rings; empty for none");
        row("day", "Combo1", "Sunday 03/15: Alarm day", "The");
        row("hour", "Combo2", "2: Alarm hour", "at");
        row("minutes", "Combo3", "00: Alarm minutes", ":");
        row("am/pm", "Combo4", "pm: Alarm am or pm");
        row("Ok", "Command3", "Ok");
        row("grid", "gri", "Tasks: Enter shows the task's note, Delete deletes the task");
    }

    void accessible() {
        QFETCH(QString, control);
        QFETCH(QString, label);
        testing::Program p;
        f_test* w = open(p, 1, "Command1");
        QWidget* c = control == "gri"             ? p.main->findChild<QWidget*>(control)
                     : control == w->objectName() ? w
                                                  : w->findChild<QWidget*>(control);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        const QString description = a->text(QAccessible::Description);
        QTEST(a->text(QAccessible::Name) + (description.isEmpty() ? "" : ": " + description),
              "says");
        QStringList labels;
        for (const auto& [other, relation] : a->relations(QAccessible::Label))
            labels << other->text(QAccessible::Name);
        QCOMPARE(labels.join(','), label);
    }
};

QTEST_MAIN(Tstnotewindow)
#include "tst_notewindow.moc"
