#include "common/tempdatahome.h"
#include "mainwin/f_iir.h"
#include "mainwin/placement.h"
#include "mainwin/twips.h"
#include "notes/f_test.h"
#include "store/clock.h"
#include "store/startoption.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

// The main window's one-minute tick, driven directly at chosen clock values.
// Monday 03/15/2027 is the day of every test.
namespace {

const QDate kToday(2027, 3, 15);
const QString kNine = QStringLiteral("Monday 03/15 9:00 am");

jot::TaskRow task(const QString& text, const QString& alarm = {}, const QString& fired = {}) {
    return {QStringLiteral("Le 03/15 à 08:00 am"), text, alarm, QString(), fired};
}

bool isRed(const QWidget* w) {
    return w->palette().color(QPalette::Window) == QColor(255, 0, 0);
}

QPoint cellInPixels(const f_iir& w, int slot) {
    const QPoint cell = jot::cellOf(w.workArea(), slot);
    return {jot::px(cell.x()), jot::px(cell.y())};
}

QList<f_test*> visibleNotes() {
    QList<f_test*> notes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* note = qobject_cast<f_test*>(w);
        if (note && note->isVisible())
            notes << note;
    }
    return notes;
}

QList<QByteArray> records(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A started program in a data home of its own.
struct Program {
    TempDataHome home;
    std::unique_ptr<f_iir> w;
    std::unique_ptr<QSignalSpy> saves;

    explicit Program(bool startInTray = false) {
        if (startInTray) {
            QDir().mkpath(home.dataDir());
            jot::setStartInTray(home.dataDir(), true);
        }
        w = std::make_unique<f_iir>();
        w->Form_Load();
        saves = std::make_unique<QSignalSpy>(&w->shared().fichier, &jot::TaskFile::saved);
    }
    ~Program() {
        // The notes are top-level windows of their own; none may outlive its program.
        for (f_test* note : visibleNotes())
            delete note;
    }
    jot::TaskList& liste() { return w->shared().liste; }
};

} // namespace

class TstAlarmTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void saves_data();
    void saves();
    void dueAlarmsOpenRedNotesInRowOrder();
    void openNoteOnlyTurnsRed();
    void firesOnceUntilRearmed();
    void runsWhileHidden_data();
    void runsWhileHidden();
    void waitsForAFreeSlot();

private:
    void tick(int hour, int minute, const QDate& day = kToday) {
        m_now = QDateTime(day, QTime(hour, minute, 30));
        m_program->w->Timer1_Timer();
    }

    QDateTime m_now;
    std::unique_ptr<Program> m_program;
};

void TstAlarmTimer::init() {
    m_now = QDateTime(kToday, QTime(8, 0));
    jot::setClockForTests([this] { return m_now; });
}

void TstAlarmTimer::cleanup() {
    m_program.reset();
    jot::setClockForTests({});
}

void TstAlarmTimer::saves_data() {
    QTest::addColumn<int>("minute");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<int>("writes");

    QTest::newRow("quarter, pending edits") << 15 << true << true << 2;
    QTest::newRow("quarter, nothing pending") << 15 << false << true << 1;
    QTest::newRow("hour, pending edits") << 0 << true << true << 2;
    QTest::newRow("quarter, auto-save off") << 45 << true << false << 2;
    QTest::newRow("minute, pending edits") << 16 << true << true << 1;
    QTest::newRow("minute, auto-save off") << 59 << true << false << 1;
    QTest::newRow("minute, nothing pending") << 16 << false << true << 0;
}

void TstAlarmTimer::saves() {
    QFETCH(int, minute);
    QFETCH(bool, unsaved);
    QFETCH(bool, autoSave);
    QFETCH(int, writes);

    m_program = std::make_unique<Program>();
    QVERIFY(m_program->home.isValid());
    m_program->liste().setRows({task(QStringLiteral("edited"))});
    m_program->w->shared().unsavedChanges = unsaved;
    m_program->w->shared().autoSave = autoSave;
    m_program->saves->clear();

    tick(10, minute);
    QCOMPARE(m_program->saves->count(), writes);
    QVERIFY(!m_program->w->shared().unsavedChanges);
    if (writes > 0)
        QCOMPARE(records(m_program->home.taskFile()).size(), 1);
}

void TstAlarmTimer::dueAlarmsOpenRedNotesInRowOrder() {
    m_program = std::make_unique<Program>();
    f_iir& w = *m_program->w;
    m_program->liste().setRows({
        task(QStringLiteral("first\r\nsecond line"), kNine),                        // 1: due
        task(QStringLiteral("no alarm")),                                           // 2
        task(QStringLiteral("yesterday"), QStringLiteral("Sunday 03/14 11:45 pm")), // 3: due
        task(QStringLiteral("unreadable"), QStringLiteral("Monday 03/15 x:00 am")),
        task(QStringLiteral("later"), QStringLiteral("Monday 03/15 11:00 am")),
        task(QStringLiteral("on the quarter"), QStringLiteral("Monday 03/15 10:15 am")), // 6: due
        task(QStringLiteral("fired"), kNine, QStringLiteral("1")),
    });

    tick(10, 15);

    const QList<int> dueRows{1, 3, 6};
    for (int s = 1; s <= dueRows.size(); ++s) {
        const int row = dueRows[s - 1];
        f_test* note = w.fenetre(s);
        QVERIFY2(note, qPrintable(QStringLiteral("slot %1").arg(s)));
        QCOMPARE(note->f_pos, row);
        QCOMPARE(m_program->liste().cell(row, jot::ColSlot), QString::number(s));
        QVERIFY(note->isVisible());
        QVERIFY(isRed(note));
        QCOMPARE(note->pos(), cellInPixels(w, s));
        // Filled from its row, not left blank.
        auto* text = note->findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
        QVERIFY(text);
        QCOMPARE(text->toPlainText(), f_test::toBox(m_program->liste().cell(row, jot::ColText)));
        auto* label = note->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->text(), m_program->liste().cell(row, jot::ColAlarm));
    }
    QCOMPARE(visibleNotes().size(), 3);

    const QStringList marks{"1", "", "1", "", "", "1", "1"};
    const QList<QByteArray> lines = records(m_program->home.taskFile());
    QCOMPARE(lines.size(), marks.size());
    for (int r = 1; r <= marks.size(); ++r) {
        QCOMPARE(m_program->liste().cell(r, jot::ColFired), marks[r - 1]);
        const QByteArray end = ",\"" + marks[r - 1].toUtf8() + "\"\r";
        QVERIFY2(lines[r - 1].endsWith(end), lines[r - 1].constData());
    }
}

void TstAlarmTimer::openNoteOnlyTurnsRed() {
    m_program = std::make_unique<Program>();
    f_iir& w = *m_program->w;
    m_program->liste().setRows({task(QStringLiteral("open"), kNine)});
    w.selectRow(1);
    w.Command2_Click();
    f_test* note = w.fenetre(1);
    QVERIFY(note);
    note->move(note->pos() + QPoint(-40, -30));
    const QPoint placed = note->pos();
    QVERIFY(!isRed(note));

    tick(10, 15);

    QCOMPARE(w.fenetre(1), note);
    QVERIFY(isRed(note));
    QCOMPARE(note->pos(), placed);
    QVERIFY(!w.fenetre(2));
    QCOMPARE(visibleNotes().size(), 1);
    QCOMPARE(m_program->liste().cell(1, jot::ColFired), QStringLiteral("1"));
}

void TstAlarmTimer::firesOnceUntilRearmed() {
    m_program = std::make_unique<Program>();
    m_program->liste().setRows(
        {task(QStringLiteral("a"), kNine),
         task(QStringLiteral("b"), QStringLiteral("Monday 03/15 10:00 am"))});
    tick(10, 15);
    QCOMPARE(visibleNotes().size(), 2);
    for (f_test* note : visibleNotes())
        note->close();
    QCOMPARE(visibleNotes().size(), 0);

    // The same quarter seen twice, then the next one: nothing rings again.
    tick(10, 15);
    tick(10, 30);
    QCOMPARE(visibleNotes().size(), 0);
    QCOMPARE(m_program->liste().cell(1, jot::ColSlot), QString());
    QCOMPARE(m_program->liste().cell(2, jot::ColSlot), QString());

    // Ok in the note sets the alarm again and clears the mark.
    m_program->liste().setCell(2, jot::ColAlarm, QStringLiteral("Monday 03/15 10:45 am"));
    m_program->liste().setCell(2, jot::ColFired, QString());
    tick(10, 45);
    const QList<f_test*> notes = visibleNotes();
    QCOMPARE(notes.size(), 1);
    QCOMPARE(notes.first()->f_pos, 2);
    QVERIFY(isRed(notes.first()));
    QCOMPARE(m_program->liste().cell(2, jot::ColFired), QStringLiteral("1"));
    QCOMPARE(m_program->liste().cell(1, jot::ColFired), QStringLiteral("1"));
}

void TstAlarmTimer::runsWhileHidden_data() {
    QTest::addColumn<bool>("startInTray");
    QTest::newRow("started in the tray") << true;
    QTest::newRow("hidden after start") << false;
}

void TstAlarmTimer::runsWhileHidden() {
    QFETCH(bool, startInTray);
    m_program = std::make_unique<Program>(startInTray);
    f_iir& w = *m_program->w;
    if (!startInTray)
        w.hide();
    // Without a tray the program starts minimised instead of hidden.
    const auto away = [&w] { return !w.isVisible() || w.isMinimized(); };
    QVERIFY(away());
    m_program->liste().setRows({task(QStringLiteral("while away"), kNine)});

    tick(9, 0);

    f_test* note = w.fenetre(1);
    QVERIFY(note);
    QVERIFY(note->isVisible());
    QVERIFY(isRed(note));
    QVERIFY(away());
    QCOMPARE(m_program->liste().cell(1, jot::ColFired), QStringLiteral("1"));
}

void TstAlarmTimer::waitsForAFreeSlot() {
    m_program = std::make_unique<Program>();
    f_iir& w = *m_program->w;
    QList<jot::TaskRow> rows;
    for (int i = 1; i <= jot::kSlots; ++i)
        rows << task(QStringLiteral("task %1").arg(i));
    rows << task(QStringLiteral("the 101st"), kNine);
    m_program->liste().setRows(rows);
    for (int r = 1; r <= jot::kSlots; ++r)
        w.creer_fenetre(r);
    QCOMPARE(m_program->w->shared().lastOpenedSlot, jot::kSlots);

    tick(10, 15);
    QCOMPARE(m_program->liste().cell(101, jot::ColSlot), QString());
    QCOMPARE(m_program->liste().cell(101, jot::ColFired), QString());
    // The last opened note belongs to another task and keeps its place and colour.
    QCOMPARE(w.fenetre(jot::kSlots)->f_pos, jot::kSlots);
    QVERIFY(!isRed(w.fenetre(jot::kSlots)));
    QVERIFY(records(m_program->home.taskFile()).last().endsWith(",\"\"\r"));

    w.fenetre(7)->close();
    tick(10, 30);
    f_test* note = w.fenetre(7);
    QVERIFY(note);
    QCOMPARE(note->f_pos, 101);
    QVERIFY(isRed(note));
    QCOMPARE(note->pos(), cellInPixels(w, 7));
    QCOMPARE(m_program->liste().cell(101, jot::ColSlot), QStringLiteral("7"));
    QCOMPARE(m_program->liste().cell(101, jot::ColFired), QStringLiteral("1"));
    QVERIFY(records(m_program->home.taskFile()).last().endsWith(",\"1\"\r"));
}

QTEST_MAIN(TstAlarmTimer)
#include "tst_alarmtimer.moc"
