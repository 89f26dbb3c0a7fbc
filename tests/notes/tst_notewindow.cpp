#include "common/tempdatahome.h"
#include "notes/alarmtext.h"
#include "notes/f_test.h"
#include "store/clock.h"
#include "store/shared.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <QtTest>
#include <memory>

namespace {

const QDate kToday(2026, 3, 15); // a Sunday
const QColor kYellow(255, 255, 128);
const QColor kRed(255, 0, 0);

void setClock(const QTime& time) {
    jot::setClockForTests([time] { return QDateTime(kToday, time); });
}

template <class T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

QByteArray record(const QString& stamp, const QString& text, const QString& alarm,
                  const QString& fired) {
    return QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\"\r\n")
        .arg(stamp, text, alarm, fired)
        .toUtf8();
}

// The colour a control paints at a point of its own, as the window shows it.
QColor shownAt(QWidget* window, QWidget* w, QPoint local) {
    return window->grab().toImage().pixelColor(w->mapTo(window, local));
}

} // namespace

class Tstnotewindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void captions_data();
    void captions();
    void newTaskPreset_data();
    void newTaskPreset();
    void reinitFillsFromRow_data();
    void reinitFillsFromRow();
    void storedAlarmPreset_data();
    void storedAlarmPreset();
    void typingCopiesIntoRow();
    void leavingTextSaves_data();
    void leavingTextSaves();
    void closing_data();
    void closing();
    void secondCloseKeepsReusedSlot();
    void alarmButtons_data();
    void alarmButtons();
    void enRouge_data();
    void enRouge();
    void panelLayout();
    void focusOnOpening();
    void tabOrder_data();
    void tabOrder();
    void enterInListPressesOk_data();
    void enterInListPressesOk();

private:
    int addTask(const QString& stamp, const QString& text = {}, const QString& alarm = {},
                const QString& fired = {});
    f_test* ouvrir(int row);
    QByteArray fileBytes() const;
    QString cell(int row, int col) const { return m_shared->liste.cell(row, col); }

    std::unique_ptr<TempDataHome> m_home;
    std::unique_ptr<jot::Shared> m_shared;
    std::unique_ptr<QSignalSpy> m_saved;
    QList<QPointer<f_test>> m_windows;
};

void Tstnotewindow::init() {
    m_home = std::make_unique<TempDataHome>();
    QVERIFY(m_home->isValid());
    m_shared = std::make_unique<jot::Shared>();
    m_shared->fichier.setDirectory(m_home->path() + QLatin1Char('/'));
    m_saved = std::make_unique<QSignalSpy>(&m_shared->fichier, &jot::TaskFile::saved);
    setClock(QTime(14, 30));
}

void Tstnotewindow::cleanup() {
    for (const QPointer<f_test>& w : std::as_const(m_windows))
        delete w.data();
    m_windows.clear();
    m_saved.reset();
    m_shared.reset();
    m_home.reset();
    jot::setClockForTests({});
}

int Tstnotewindow::addTask(const QString& stamp, const QString& text, const QString& alarm,
                           const QString& fired) {
    jot::TaskList& l = m_shared->liste;
    const int row = l.addTask();
    l.setCell(row, jot::ColStamp, stamp);
    l.setCell(row, jot::ColText, text);
    l.setCell(row, jot::ColAlarm, alarm);
    l.setCell(row, jot::ColFired, fired);
    return row;
}

// What the main window's opener does, without the main window.
f_test* Tstnotewindow::ouvrir(int row) {
    const int slot = m_shared->takeFreeSlot();
    auto* w = new f_test(*m_shared);
    w->f_pos = row;
    w->f_monindice = slot;
    m_shared->liste.setCell(row, jot::ColSlot, QString::number(slot));
    w->show();
    m_windows.append(w);
    return w;
}

QByteArray Tstnotewindow::fileBytes() const {
    QFile f(m_shared->fichier.path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Tstnotewindow::captions_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("afternoon") << QTime(14, 30) << "The 03/15 at 02:30 pm"
                               << "Le 03/15 à 02:30 pm";
    QTest::newRow("after midnight") << QTime(0, 20) << "The 03/15 at 12:20 am"
                                    << "Le 03/15 à 12:20 am";
    QTest::newRow("after noon") << QTime(12, 40) << "The 03/15 at 12:40 pm"
                                << "Le 03/15 à 12:40 pm";
}

void Tstnotewindow::captions() {
    QFETCH(QTime, time);
    QFETCH(QString, stamp);
    setClock(time);
    const int row = addTask({});
    f_test* w = ouvrir(row);
    w->init();
    QTEST(w->windowTitle(), "caption");
    QCOMPARE(cell(row, jot::ColStamp), stamp);
    QVERIFY(child<QPlainTextEdit>(w, "Text2")->toPlainText().isEmpty());
    QVERIFY(child<QLabel>(w, "Label1")->text().isEmpty());

    // Reopened later, the same task shows its creation stamp.
    w->close();
    setClock(QTime(23, 0));
    f_test* again = ouvrir(row);
    again->reinit();
    QCOMPARE(again->windowTitle(), stamp);
    QCOMPARE(cell(row, jot::ColStamp), stamp);
}

void Tstnotewindow::newTaskPreset_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("marker");
    QTest::newRow("00:20") << QTime(0, 20) << "0"
                           << "am";
    QTest::newRow("11:59") << QTime(11, 59) << "11"
                           << "am";
    QTest::newRow("12:40 is 12 am, read as noon") << QTime(12, 40) << "12"
                                                  << "am";
    QTest::newRow("13:05") << QTime(13, 5) << "1"
                           << "pm";
    QTest::newRow("23:45") << QTime(23, 45) << "11"
                           << "pm";
}

void Tstnotewindow::newTaskPreset() {
    QFETCH(QTime, time);
    setClock(time);
    f_test* w = ouvrir(addTask({}));
    w->init();
    QCOMPARE(child<QComboBox>(w, "Combo1")->currentText(), jot::dayText(kToday));
    QTEST(child<QComboBox>(w, "Combo2")->currentText(), "hour");
    QCOMPARE(child<QComboBox>(w, "Combo3")->currentText(), QStringLiteral("00"));
    QTEST(child<QComboBox>(w, "Combo4")->currentText(), "marker");
    QVERIFY(!child<QFrame>(w, "Frame1")->isVisible());
}

void Tstnotewindow::reinitFillsFromRow_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("changed");
    QTest::newRow("empty text is no change") << ""
                                             << "" << false;
    QTest::newRow("one line") << "Buy milk"
                              << "Buy milk" << true;
    QTest::newRow("CR LF breaks") << "a\r\nb\r\n\r\nc"
                                  << "a\nb\n\nc" << true;
    QTest::newRow("no-break space kept") << "a\u00a0b, \"c\""
                                         << "a\u00a0b, \"c\"" << true;
}

void Tstnotewindow::reinitFillsFromRow() {
    QFETCH(QString, text);
    const QString alarm = jot::dayText(kToday.addDays(2)) + QStringLiteral(" 9:15 am");
    const int row = addTask(QStringLiteral("Le 03/01 à 09:00 am"), text, alarm);
    f_test* w = ouvrir(row);
    w->reinit();

    auto* text2 = child<QPlainTextEdit>(w, "Text2");
    QCOMPARE(w->windowTitle(), QStringLiteral("Le 03/01 à 09:00 am"));
    QString shown = text2->document()->toRawText(); // toPlainText() drops no-break spaces
    shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QTEST(shown, "shown");
    QVERIFY(text2->textCursor().atEnd());
    QCOMPARE(child<QLabel>(w, "Label1")->text(), alarm);
    QCOMPARE(cell(row, jot::ColText), text); // line breaks stay CR LF in the list
    QTEST(m_shared->unsavedChanges, "changed");
    QCOMPARE(m_saved->count(), 0);
}

void Tstnotewindow::storedAlarmPreset_data() {
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QStringList>("selected"); // "today" for today's day text
    const QString in3 = jot::dayText(kToday.addDays(3));
    const QString last = jot::dayText(kToday.addDays(15));
    const QString today = jot::dayText(kToday);
    const QString yesterday = jot::dayText(kToday.addDays(-1));
    const QStringList entry0{today, "0", "00", "am"};

    QTest::newRow("no alarm") << "" << entry0;
    QTest::newRow("blank alarm") << "   " << entry0;
    QTest::newRow("in three days") << in3 + " 5:45 pm" << QStringList{in3, "5", "45", "pm"};
    QTest::newRow("last listed day") << last + " 12:00 am" << QStringList{last, "12", "00", "am"};
    QTest::newRow("day left the list selects today")
        << yesterday + " 9:15 am" << QStringList{today, "9", "15", "am"};
    QTest::newRow("unlisted parts stay at entry 0")
        << in3 + " 13:20 PM" << QStringList{in3, "0", "00", "am"};
    QTest::newRow("malformed") << "call the plumber" << entry0;
    QTest::newRow("malformed, no marker") << in3 + " 5:45" << entry0;
    QTest::newRow("malformed, no colon") << in3 + " 5.45 pm" << entry0;
}

void Tstnotewindow::storedAlarmPreset() {
    QFETCH(QString, alarm);
    QFETCH(QStringList, selected);
    const int row = addTask(QStringLiteral("Le 03/01 à 09:00 am"), QString(), alarm);
    f_test* w = ouvrir(row);
    w->reinit();
    const char* names[] = {"Combo1", "Combo2", "Combo3", "Combo4"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(child<QComboBox>(w, names[i])->currentText(), selected.at(i));
    QCOMPARE(cell(row, jot::ColAlarm), alarm); // the preset changes nothing in the row
}

void Tstnotewindow::typingCopiesIntoRow() {
    const int row = addTask({});
    f_test* w = ouvrir(row);
    w->init();
    auto* text2 = child<QPlainTextEdit>(w, "Text2");
    QTest::keyClick(text2, Qt::Key_A);
    QCOMPARE(cell(row, jot::ColText), QStringLiteral("a"));
    QVERIFY(m_shared->unsavedChanges);
    QTest::keyClicks(text2, QStringLiteral("b,\""));
    QTest::keyClick(text2, Qt::Key_Return); // Enter starts a new line
    QTest::keyClicks(text2, QStringLiteral("c"));
    QCOMPARE(cell(row, jot::ColText), QStringLiteral("ab,\"\r\nc"));
    QTest::keyClick(text2, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(text2, QStringLiteral("d"));
    QCOMPARE(cell(row, jot::ColText), QStringLiteral("ab,\"\r\nc\r\nd"));
    QCOMPARE(m_saved->count(), 0); // typing alone never writes the file
}

void Tstnotewindow::leavingTextSaves_data() {
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<int>("saves");
    QTest::newRow("auto-save on") << true << 1;
    QTest::newRow("auto-save off") << false << 0;
}

void Tstnotewindow::leavingTextSaves() {
    QFETCH(bool, autoSave);
    m_shared->autoSave = autoSave;
    const int row = addTask({});
    f_test* w = ouvrir(row);
    w->init();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* text2 = child<QPlainTextEdit>(w, "Text2");
    QTest::keyClicks(text2, QStringLiteral("x"));
    QTest::keyClick(text2, Qt::Key_Return);
    QTest::keyClicks(text2, QStringLiteral("y"));
    QCOMPARE(m_saved->count(), 0);
    child<QPushButton>(w, "Command2")->setFocus(Qt::MouseFocusReason);
    QTEST(int(m_saved->count()), "saves");
    if (autoSave) {
        QCOMPARE(fileBytes(), record(cell(row, jot::ColStamp), "x~y", "", ""));
        QVERIFY(!m_shared->unsavedChanges);
    } else {
        QVERIFY(!QFile::exists(m_shared->fichier.path()));
        QVERIFY(m_shared->unsavedChanges); // left for the timer's next tick
    }
}

void Tstnotewindow::closing_data() {
    QTest::addColumn<bool>("autoSave");
    QTest::newRow("auto-save on") << true;
    QTest::newRow("auto-save off") << false;
}

void Tstnotewindow::closing() {
    QFETCH(bool, autoSave);
    const int other = addTask(QStringLiteral("Le 03/01 à 09:00 am"), QStringLiteral("first"));
    f_test* first = ouvrir(other);
    first->reinit();
    const int row = addTask({});
    QPointer<f_test> w = ouvrir(row);
    const int slot = w->f_monindice;
    QCOMPARE(slot, 2);
    w->init();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClicks(child<QPlainTextEdit>(w, "Text2"), QStringLiteral("hi"));
    m_shared->autoSave = autoSave;
    m_saved->clear();
    const QByteArray bytesBefore = fileBytes();

    QVERIFY(w->close());
    QCOMPARE(m_saved->count(), autoSave ? 1 : 0); // once, even though the text had the focus
    QCOMPARE(cell(row, jot::ColSlot), QString());
    QCOMPARE(m_shared->slotTable[slot], 0);
    QCOMPARE(m_shared->slotTable[first->f_monindice], 1); // the other note keeps its slot
    QCOMPARE(cell(other, jot::ColSlot), QStringLiteral("1"));
    QCOMPARE(cell(row, jot::ColText), QStringLiteral("hi"));
    if (autoSave)
        QCOMPARE(fileBytes(), record("Le 03/01 à 09:00 am", "first", "", "") +
                                  record(cell(row, jot::ColStamp), "hi", "", ""));
    else
        QCOMPARE(fileBytes(), bytesBefore);
    QTRY_VERIFY(w.isNull());
    QCOMPARE(m_shared->takeFreeSlot(), slot); // the freed slot is the next one given
}

// A window closed twice before it is gone (Hide all, then Delete all in the same pass) must
// not free a slot that a newer window has taken meanwhile.
void Tstnotewindow::secondCloseKeepsReusedSlot() {
    const int row1 = addTask(QStringLiteral("Le 03/01 à 09:00 am"), QStringLiteral("one"));
    const int row2 = addTask(QStringLiteral("Le 03/02 à 09:00 am"), QStringLiteral("two"));
    QPointer<f_test> w1 = ouvrir(row1);
    w1->reinit();
    w1->close();
    f_test* w2 = ouvrir(row2);
    w2->reinit();
    QCOMPARE(w2->f_monindice, 1);
    QVERIFY(!w1.isNull());
    w1->close();
    QCOMPARE(m_shared->slotTable[1], 1);
    QCOMPARE(cell(row2, jot::ColSlot), QStringLiteral("1"));
}

void Tstnotewindow::alarmButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("openPanel");
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QString>("fired");
    QTest::addColumn<QStringList>("choose"); // list entries to pick before "Ok"
    QTest::addColumn<QString>("expected");

    const QString today = jot::dayText(kToday);
    const QString in2 = jot::dayText(kToday.addDays(2));
    const QString old = today + " 2:00 pm";
    QTest::newRow("Ok sets the chosen alarm")
        << "Command3" << true << true << ""
        << "" << QStringList{in2, "3", "45", "pm"} << in2 + " 3:45 pm";
    QTest::newRow("Ok unchanged takes the new-task preset")
        << "Command3" << true << true << ""
        << "" << QStringList{} << today + " 0:00 am";
    QTest::newRow("Ok re-arms a fired alarm")
        << "Command3" << true << true << old << "1" << QStringList{} << old;
    QTest::newRow("Ok with auto-save off")
        << "Command3" << true << false << old << "1" << QStringList{in2, "12", "15", "pm"}
        << in2 + " 12:15 pm";
    QTest::newRow("No alarm clears a fired alarm")
        << "Command2" << false << true << old << "1" << QStringList{} << "";
    QTest::newRow("No alarm without an alarm still saves") << "Command2" << false << true << ""
                                                           << "" << QStringList{} << "";
    QTest::newRow("No alarm with the panel open")
        << "Command2" << true << true << old << "" << QStringList{in2, "1", "15", "am"} << "";
    QTest::newRow("No alarm with auto-save off")
        << "Command2" << false << false << old << "" << QStringList{} << "";
}

void Tstnotewindow::alarmButtons() {
    QFETCH(QString, button);
    QFETCH(bool, openPanel);
    QFETCH(bool, autoSave);
    QFETCH(QString, alarm);
    QFETCH(QString, fired);
    QFETCH(QStringList, choose);
    QFETCH(QString, expected);

    m_shared->autoSave = autoSave;
    const int row =
        addTask(QStringLiteral("Le 03/01 à 09:00 am"), QStringLiteral("t"), alarm, fired);
    f_test* w = ouvrir(row);
    w->reinit();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* command1 = child<QPushButton>(w, "Command1");
    auto* frame1 = child<QFrame>(w, "Frame1");
    auto* command3 = child<QPushButton>(w, "Command3");
    auto* combo1 = child<QComboBox>(w, "Combo1");
    m_saved->clear();

    if (openPanel) {
        QTest::mouseClick(command1, Qt::LeftButton);
        QVERIFY(frame1->isVisible());
        QVERIFY(!command1->isEnabled());
        QVERIFY(command3->isDefault());
        QCOMPARE(QApplication::focusWidget(), combo1);
        // The panel covers the text box.
        QVERIFY(frame1->geometry().contains(child<QPlainTextEdit>(w, "Text2")->geometry()));
        const char* names[] = {"Combo1", "Combo2", "Combo3", "Combo4"};
        for (int i = 0; i < choose.size(); ++i) {
            auto* c = child<QComboBox>(w, names[i]);
            c->setCurrentIndex(c->findText(choose.at(i)));
        }
    }
    // Leaving the text box saves by itself: count only what the button does.
    auto* pressed = child<QPushButton>(w, qPrintable(button));
    pressed->setFocus(Qt::MouseFocusReason);
    const int savesBefore = int(m_saved->count());
    QTest::mouseClick(pressed, Qt::LeftButton);

    QCOMPARE(cell(row, jot::ColAlarm), expected);
    QCOMPARE(cell(row, jot::ColFired), QString());
    QCOMPARE(child<QLabel>(w, "Label1")->text(), expected);
    QVERIFY(!frame1->isVisible());
    QVERIFY(command1->isEnabled());
    QCOMPARE(m_saved->count() - savesBefore, autoSave ? 1 : 0);
    if (autoSave)
        QCOMPARE(fileBytes(), record("Le 03/01 à 09:00 am", "t", expected, ""));
    else
        QVERIFY(!QFile::exists(m_shared->fichier.path()));
}

void Tstnotewindow::enRouge_data() {
    QTest::addColumn<bool>("panelShown");
    QTest::newRow("panel hidden") << false;
    QTest::newRow("panel shown") << true;
}

void Tstnotewindow::enRouge() {
    QFETCH(bool, panelShown);
    f_test* w = ouvrir(addTask(QStringLiteral("Le 03/01 à 09:00 am"), QStringLiteral("t"),
                               jot::dayText(kToday) + " 2:00 pm"));
    w->reinit();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    if (panelShown)
        QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);

    auto* text2 = child<QPlainTextEdit>(w, "Text2");
    QList<QWidget*> turned{w, child<QWidget>(w, "Frame1"), child<QWidget>(w, "Label2"),
                           child<QWidget>(w, "Label3"), child<QWidget>(w, "Label4")};
    QList<QWidget*> kept;
    for (const char* name :
         {"Label1", "Command1", "Command2", "Command3", "Combo1", "Combo2", "Combo3", "Combo4"})
        kept << child<QWidget>(w, name);

    for (QWidget* c : std::as_const(turned))
        QCOMPARE(c->palette().color(c->backgroundRole()), kYellow);
    QCOMPARE(text2->palette().color(QPalette::Base), kYellow);
    QList<QColor> before, shownBefore;
    for (QWidget* c : std::as_const(kept)) {
        before << c->palette().color(c->backgroundRole());
        shownBefore << shownAt(w, c, QPoint(3, c->height() / 2));
    }
    const QRect where = w->geometry();

    w->en_rouge();

    for (QWidget* c : std::as_const(turned)) {
        QCOMPARE(c->palette().color(c->backgroundRole()), kRed);
        if (c->isVisible())
            QCOMPARE(shownAt(w, c, QPoint(1, 1)), kRed);
    }
    QCOMPARE(text2->palette().color(QPalette::Base), kRed);
    if (!panelShown)
        QCOMPARE(shownAt(w, text2->viewport(), QPoint(2, 2)), kRed);
    for (int i = 0; i < kept.size(); ++i) {
        QWidget* c = kept.at(i);
        QCOMPARE(c->palette().color(c->backgroundRole()), before.at(i));
        QCOMPARE(c->palette().color(QPalette::Window) == kRed, false);
        if (c->isVisible())
            QCOMPARE(shownAt(w, c, QPoint(3, c->height() / 2)), shownBefore.at(i));
    }
    QCOMPARE(w->geometry(), where);
}

// Every text of the alarm editor must be readable: no list or button lies over the panel's
// labels, and the longest weekday, hour and alarm are shown whole.
void Tstnotewindow::panelLayout() {
    const QString longest = jot::dayText(QDate(2026, 3, 18)) + " 12:45 pm"; // a Wednesday
    f_test* w = ouvrir(addTask(QStringLiteral("Le 03/01 à 09:00 am"), QString(), longest));
    w->reinit();
    auto* label1 = child<QLabel>(w, "Label1");
    QVERIFY(label1->fontMetrics().horizontalAdvance(longest) <= label1->contentsRect().width());
    for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4"}) {
        auto* c = child<QComboBox>(w, name);
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        const QRect room =
            c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        for (int i = 0; i < c->count(); ++i)
            QVERIFY2(c->fontMetrics().horizontalAdvance(c->itemText(i)) < room.width(),
                     qPrintable(c->itemText(i)));
    }

    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    auto* frame1 = child<QFrame>(w, "Frame1");
    const QRect inside(QPoint(0, 0), frame1->size());
    QList<QWidget*> controls;
    for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "Command3"})
        controls << child<QWidget>(w, name);
    for (QWidget* c : std::as_const(controls))
        QVERIFY2(inside.contains(c->geometry()), qPrintable(c->objectName()));
    for (const char* name : {"Label2", "Label3", "Label4"}) {
        auto* label = child<QLabel>(w, name);
        QVERIFY2(label->isVisible(), name);
        QVERIFY2(inside.contains(label->geometry()), name);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
        for (QWidget* c : std::as_const(controls))
            QVERIFY2(!label->geometry().intersects(c->geometry()),
                     qPrintable(QLatin1String(name) + " under " + c->objectName()));
    }
}

void Tstnotewindow::focusOnOpening() {
    f_test* w = ouvrir(addTask({}));
    w->init();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Text2"));
}

void Tstnotewindow::tabOrder_data() {
    QTest::addColumn<bool>("panelShown");
    QTest::addColumn<QStringList>("chain"); // from the first focused control, Tab by Tab
    QTest::newRow("panel hidden") << false << QStringList{"Text2", "Command1", "Command2", "Text2"};
    QTest::newRow("panel shown") << true << QStringList{"Combo1",   "Combo2", "Combo3",   "Combo4",
                                                        "Command3", "Text2",  "Command2", "Combo1"};
}

void Tstnotewindow::tabOrder() {
    QFETCH(bool, panelShown);
    QFETCH(QStringList, chain);
    const int row = addTask({});
    f_test* w = ouvrir(row);
    w->init();
    QVERIFY(QTest::qWaitForWindowActive(w));
    if (panelShown)
        QTest::keyClick(child<QPushButton>(w, "Command1"), Qt::Key_Space);
    for (int i = 0; i < chain.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), chain.at(i));
        if (i + 1 < chain.size())
            QTest::keyClick(focus, Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), chain.at(chain.size() - 2));
    QCOMPARE(cell(row, jot::ColText), QString()); // no tab typed into the text
}

void Tstnotewindow::enterInListPressesOk_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("day list") << "Combo1";
    QTest::newRow("hour list") << "Combo2";
    QTest::newRow("minute list") << "Combo3";
    QTest::newRow("am/pm list") << "Combo4";
}

void Tstnotewindow::enterInListPressesOk() {
    QFETCH(QString, list);
    setClock(QTime(9, 10));
    const int row = addTask({});
    f_test* w = ouvrir(row);
    w->init();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(child<QPushButton>(w, "Command1"), Qt::Key_Space);
    auto* combo = child<QComboBox>(w, qPrintable(list));
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_Return);
    QVERIFY(!child<QFrame>(w, "Frame1")->isVisible());
    QCOMPARE(cell(row, jot::ColAlarm), jot::dayText(kToday) + " 9:00 am");
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "Text2")); // back to the text

    // Ok is gone with the panel: Enter in the text is a line break again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(cell(row, jot::ColText), QStringLiteral("\r\n"));
}

QTEST_MAIN(Tstnotewindow)
#include "tst_notewindow.moc"
