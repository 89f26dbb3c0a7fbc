// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/f_test.h"

#include "alarms/alarmtext.h"
#include "alarms/recurrence.h"
#include "notes/alarmpanel.h"
#include "notes/checklistlook.h"
#include "notes/controls.h"
#include "notes/stacking.h"
#include "store/checklist.h"
#include "store/clock.h"
#include "ui/colours.h"
#include "ui/programicon.h"
#include "ui/twips.h"
#include "ui/windowrole.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSizeGrip>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QWindow>
#include <utility>

namespace {

// The alarm label, in twips. A repeating alarm may take a second line, which reaches down to
// just above the alarm panel (400).
constexpr QRect kAlarmLabel(1500, 60, 1880, 255);
constexpr int kAlarmLabelTwoLines = 330;
constexpr QSize kNote(4905, 1305);
constexpr QRect kText(0, 480, 4875, 800);

const QColor kRed(255, 0, 0);

// Shrinks a control's font until every text it may show fits its room, so that a long
// weekday or alarm is smaller rather than cut (most desktop fonts are wider than the
// stated sizes allow).
bool fits(const QFont& font, const QStringList& lines, const QSize& room) {
    const QFontMetrics fm(font);
    if (lines.size() * fm.lineSpacing() > room.height())
        return false;
    for (const QString& line : lines) {
        if (fm.horizontalAdvance(line) > room.width())
            return false;
    }
    return true;
}

void fitFont(QWidget* w, QFont font, const QStringList& lines, const QSize& room) {
    const auto tooWide = [&] { return !fits(font, lines, room); };
    while (font.pointSizeF() > 6.0 && tooWide())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    w->setFont(font);
}

// The alarm label's place, between the two buttons however wide their language made them.
QRect alarmLabelRect(const QWidget* left, const QWidget* right, int height) {
    const int from = qMax(jot::notePx(left, kAlarmLabel.left()), left->geometry().right() + 2);
    const int to = qMin(jot::notePx(left, kAlarmLabel.left() + kAlarmLabel.width()),
                        right->geometry().left() - 2);
    return {from, jot::notePx(left, kAlarmLabel.top()), to - from, jot::notePx(left, height)};
}

// The text box's own text, with plain line breaks but otherwise untouched (toPlainText()
// would turn no-break spaces into spaces).
QString plainText(const QPlainTextEdit* t) {
    QString s = t->document()->toRawText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

} // namespace

f_test::f_test(jot::Shared& shared, int row, int slot)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      m_shared(shared), f_pos(row), f_monindice(slot) {
    setObjectName(QStringLiteral("f_test"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the last note while the main window sits in the tray must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("Note"));
    jot::announceWidgetWindowsAsFrames();
    setWindowIcon(jot::programIcon());
    setMinimumSize(designedSize());
    resize(designedSize());

    createControls();

    connect(Text2, &QPlainTextEdit::textChanged, this, &f_test::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &f_test::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &f_test::Command2_Click);
    connect(Frame1, &jot::AlarmPanel::okClicked, this, &f_test::Command3_Click);
    Text2->installEventFilter(this);
    Text2->viewport()->installEventFilter(this);
    Text2->setFocus();

    // Ctrl+W closes the note as its close box does, saving it.
    auto* closeAction = new QAction(this);
    closeAction->setShortcuts(QKeySequence::Close);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
}

void f_test::createControls() {
    using jot::placeControl;
    Command1 = jot::makeButton(this, "Command1", tr("Alarm"));
    placeControl(Command1, 100, 30, 1335, 300);
    Label1 = jot::makeLabel(this, "Label1", QString());
    Label1->setAlignment(Qt::AlignCenter);
    placeControl(Label1, kAlarmLabel.left(), kAlarmLabel.top(), kAlarmLabel.width(),
                 kAlarmLabel.height());
    Command2 = jot::makeButton(this, "Command2", tr("No alarm"));
    placeControl(Command2, 3420, 30, 1335, 300);

    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    Text2->setFont(font);
    placeControl(Text2, kText.left(), kText.top(), kText.width(), kText.height());
    m_checklist = new jot::ChecklistLook(Text2);
    // Under the text box's scroll bar, so that it covers no text and no control.
    auto* grip = new QSizeGrip(this);
    grip->setObjectName(QStringLiteral("m_grip"));
    grip->setAccessibleName(tr("Resize the note"));
    Text2->addScrollBarWidget(grip, Qt::AlignBottom);

    // The alarm panel lies over the text box while it is shown; its lists are those of the
    // day the note opened.
    Frame1 = new jot::AlarmPanel(this, jot::now().date(), Command2);

    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);

    // What a screen reader says. The alarm label is read by its text, the alarm time.
    Text2->setAccessibleName(tr("Task text"));
    Label1->setAccessibleDescription(tr("Alarm"));

    // The buttons keep the system's colours; the shared style draws every control that goes
    // through Qt's pixmap cache.
    jot::systemLook(Command1);
    jot::systemLook(Command2);
    jot::growToText(Command1, Qt::LeftEdge);
    jot::growToText(Command2, Qt::RightEdge);
    jot::systemLook(Text2->verticalScrollBar());
    paintSurfaces(jot::kPaleYellow);
    // The alarm label sits on the note's yellow, and keeps it when the note turns red.
    jot::paintSurface(Label1, jot::kPaleYellow);
}

void f_test::init() {
    const QDateTime now = jot::now();
    setWindowTitle(jot::newNoteCaption(now));
    setCell(jot::ColStamp, jot::creationStamp(now));
    Frame1->presetNew(now.time().hour());
    m_fresh = true;
}

void f_test::reinit() {
    const jot::TaskList& l = m_shared.list;
    setWindowTitle(l.cell(f_pos, jot::ColStamp));
    const QString text = toBox(l.cell(f_pos, jot::ColText));
    if (text != plainText(Text2))
        Text2->setPlainText(text); // counts as a change of the text
    Text2->moveCursor(QTextCursor::End);
    alarmMoved();
}

void f_test::fill(const QString& text, const QString& alarm) {
    if (!text.isEmpty()) {
        Text2->setPlainText(toBox(text)); // counts as a change of the text
        Text2->moveCursor(QTextCursor::End);
    }
    if (!alarm.isEmpty())
        takeAlarm(alarm, QString());
}

void f_test::en_rouge() {
    paintSurfaces(kRed);
}

void f_test::snooze(const QString& alarm, const QString& repeat) {
    setRinging(false);
    takeAlarm(alarm, repeat);
}

// An alarm set from outside the panel: as "Ok" sets it, and "Alarm" then offers it.
void f_test::takeAlarm(const QString& alarm, const QString& repeat) {
    applyAlarm(alarm, repeat);
    Frame1->presetAlarm(alarm, repeat);
}

void f_test::alarmMoved() {
    const jot::TaskList& l = m_shared.list;
    showAlarm(l.cell(f_pos, jot::ColAlarm), l.cell(f_pos, jot::ColFired));
    Frame1->presetAlarm(l.cell(f_pos, jot::ColAlarm), l.cell(f_pos, jot::ColFired));
}

void f_test::setForeignRule(bool foreign) {
    Frame1->setForeignRule(foreign);
    alarmMoved();
}

bool f_test::isBlankNew() const {
    return m_fresh && m_shared.list.cell(f_pos, jot::ColText).isEmpty() &&
           m_shared.list.cell(f_pos, jot::ColAlarm).isEmpty();
}

void f_test::closeForRemoval() {
    m_fresh = false;
    close();
}

QSize f_test::designedSize() const {
    return {jot::notePx(this, kNote.width()), jot::notePx(this, kNote.height())};
}

void f_test::placeAt(const QPoint& outer) {
    move(outer);
    m_givenPlace = geometry().topLeft();
    m_placedByUser = false;
}

void f_test::placeAsBefore(const QPoint& inner) {
    setGeometry(QRect(inner, size()));
    m_givenPlace = inner;
    m_placedByUser = true;
}

namespace {
bool mapped(const QWidget* w) {
    return w->windowHandle() && w->windowHandle()->isVisible();
}
} // namespace

void f_test::setStacking(bool onTop, bool onAllWorkspaces) {
    const bool wasAbove = keptAbove();
    m_onTop = onTop;
    if (keptAbove() != wasAbove && mapped(this))
        jot::askAbove(this, keptAbove(), true);
    if (std::exchange(m_onAllWorkspaces, onAllWorkspaces) != onAllWorkspaces && mapped(this))
        jot::askOnAllWorkspaces(this, onAllWorkspaces, true);
}

void f_test::setRinging(bool ringing) {
    const bool wasAbove = keptAbove();
    m_ringing = ringing;
    if (keptAbove() != wasAbove && mapped(this))
        jot::askAbove(this, keptAbove(), true);
    if (!ringing)
        return;
    // In front of the window the user types in, which keeps the keyboard.
    if (jot::canAskStacking())
        raise();
    QApplication::alert(this);
}

void f_test::showEvent(QShowEvent* event) {
    // Shown by the program, not yet mapped: what the window manager reads as it maps it.
    if (!event->spontaneous()) {
        if (keptAbove())
            jot::askAbove(this, true, false);
        if (m_onAllWorkspaces)
            jot::askOnAllWorkspaces(this, true, false);
    }
    QWidget::showEvent(event);
}

void f_test::resizeEvent(QResizeEvent* event) {
    // The strip and the alarm panel keep their place and size; the text box takes the rest.
    const QSize extra = event->size() - designedSize();
    if (!Text2)
        return QWidget::resizeEvent(event);
    Text2->setGeometry(jot::notePx(this, kText.left()), jot::notePx(this, kText.top()),
                       jot::notePx(this, kText.width()) + extra.width(),
                       jot::notePx(this, kText.height()) + extra.height());
    QWidget::resizeEvent(event);
}

void f_test::paintSurfaces(const QColor& colour) {
    // What a screen reader says of a red note.
    setAccessibleDescription(colour == kRed ? tr("The alarm is due") : QString());
    // The panel's labels take the panel's colour.
    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Text2)})
        jot::paintSurface(w, colour);
    m_checklist->rehighlight(); // done items greyed anew for this surface
}

void f_test::Text2_Change() {
    const QString text = toCell(plainText(Text2));
    setCell(jot::ColText, text);
    m_shared.unsavedChanges = true;
    // Text typed once makes a task, kept even if it is emptied again.
    if (!text.isEmpty())
        m_fresh = false;
}

void f_test::Command1_Click() {
    Frame1->open();
    Command1->setEnabled(false);
    Frame1->ok()->setDefault(true);
}

void f_test::Command2_Click() {
    setRinging(false);
    showAlarm(QString());
    setCell(jot::ColAlarm, QString());
    setCell(jot::ColFired, QString());
    closePanel();
    paintSurfaces(jot::kPaleYellow);
    Q_EMIT alarmSet(f_pos);
    if (m_shared.autoSave)
        m_shared.sauver_liste();
}

void f_test::Command3_Click() {
    applyAlarm(Frame1->alarm(), Frame1->repeatField());
}

void f_test::applyAlarm(const QString& alarm, const QString& repeat) {
    setRinging(false);
    closePanel();
    showAlarm(alarm, repeat);
    setCell(jot::ColAlarm, alarm);
    setCell(jot::ColFired, repeat); // a fired alarm set again is armed again
    m_fresh = false;
    paintSurfaces(jot::kPaleYellow); // no longer ringing
    Q_EMIT alarmSet(f_pos);
    if (m_shared.autoSave)
        m_shared.sauver_liste();
}

void f_test::closePanel() {
    const bool focusInPanel = Frame1->isAncestorOf(QApplication::focusWidget());
    Command1->setEnabled(true);
    Frame1->hide();
    // Hiding the focused list would otherwise send the focus to whatever comes next.
    if (focusInPanel)
        Text2->setFocus(Qt::OtherFocusReason);
}

void f_test::showAlarm(const QString& alarm, const QString& repeat) {
    const QString when = jot::shownAlarm(alarm, jot::now().date());
    const QString shown = jot::alarmDisplay(alarm, repeat);
    // A repeating alarm's rule goes on a second line when one line is too short for it even
    // in the smallest font; the label then grows down into the gap above the text box.
    QFont smallest = font();
    smallest.setPointSizeF(6.0);
    const bool twoLines =
        shown != when &&
        !fits(smallest, {shown}, alarmLabelRect(Command1, Command2, kAlarmLabel.height()).size());
    const QStringList lines =
        twoLines ? QStringList{when + u',', shown.mid(when.size() + 2)} : QStringList{shown};
    Label1->setGeometry(
        alarmLabelRect(Command1, Command2, twoLines ? kAlarmLabelTwoLines : kAlarmLabel.height()));
    fitFont(Label1, font(), lines, Label1->contentsRect().size());
    Label1->setText(lines.join(u'\n'));
    Label1->setToolTip(shown);
    Label1->setAccessibleName(shown);
}

void f_test::setCell(int col, const QString& text) {
    m_shared.list.setCell(f_pos, col, text);
}

QString f_test::toBox(const QString& cellText) {
    QString s = cellText;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString f_test::toCell(const QString& boxText) {
    return toBox(boxText).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void f_test::closeEvent(QCloseEvent* event) {
    m_closed = true;      // the text box's last focus-out comes after this save
    Q_EMIT closing(this); // while the row still holds it: its place is kept
    // The row is let go before the save: a merge on the way may move or remove it.
    setCell(jot::ColSlot, QString());
    m_shared.freeSlot(f_monindice);
    if (isBlankNew())
        Q_EMIT blankClosed(f_pos); // the save below then writes the list without it
    if (m_shared.autoSave)
        m_shared.sauver_liste();
    event->accept();
}

void f_test::keyPressEvent(QKeyEvent* event) {
    // Only dialogs honour default buttons: Enter in the panel's lists reaches the window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QPushButton* ok = Frame1->ok();
    if (enter && ok && ok->isDefault() && ok->isVisible() && ok->isEnabled()) {
        ok->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void f_test::changeItem(const QTextBlock& line, QString (*rule)(const QString&)) {
    const QString mark = line.text().left(jot::kOpenItem.size());
    const bool item = jot::isItem(line.text());
    const QString changed = rule(item ? mark : QString());
    // Only the mark is replaced, so the cursor keeps its place in the words after it.
    QTextCursor c(line);
    c.beginEditBlock();
    if (item)
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor,
                       static_cast<int>(mark.size()));
    c.insertText(changed);
    c.endEditBlock();
}

bool f_test::clickedItem(const QPoint& at) {
    const QTextBlock line = Text2->cursorForPosition(at).block();
    if (!line.isValid() || !jot::isItem(line.text()))
        return false;
    // The brackets alone, on the line's first row: a click on the words places the cursor.
    const QRect start = Text2->cursorRect(QTextCursor(line));
    const int brackets = Text2->fontMetrics().horizontalAdvance(QStringLiteral("[x]"));
    if (at.y() < start.top() || at.y() > start.bottom() || at.x() < start.left() - 2 ||
        at.x() > start.left() + brackets + 2)
        return false;
    changeItem(line, jot::toggledItem);
    return true;
}

bool f_test::itemKey(const QKeyEvent& key) {
    const auto mods = key.modifiers() & ~Qt::KeypadModifier;
    const QTextBlock line = Text2->textCursor().block();
    if (mods == Qt::ControlModifier &&
        (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) {
        if (jot::isItem(line.text()))
            changeItem(line, jot::toggledItem);
        return true; // taken here, never the alarm panel's Ok
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_L) {
        changeItem(line, jot::itemOrBack);
        return true;
    }
    return false;
}

bool f_test::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2 && event->type() == QEvent::KeyPress &&
        itemKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == Text2->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton && clickedItem(click->position().toPoint()))
            return true;
    }
    if (watched == Text2 && event->type() == QEvent::FocusOut && !m_closed &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && m_shared.autoSave)
        m_shared.sauver_liste();
    return QWidget::eventFilter(watched, event);
}
