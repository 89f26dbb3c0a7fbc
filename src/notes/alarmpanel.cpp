// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/alarmpanel.h"

#include "alarms/alarmtext.h"
#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "notes/controls.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

namespace {

// The gap, in pixels, between a panel label's text and the lists on either side.
constexpr int kLabelGap = 2;

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    return c;
}

// The room a list gives its selected entry.
int listRoom(const QComboBox* c) {
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    return c->style()
               ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
               .width() -
           2; // the label's own margins
}

// How far ahead "Other date…" reaches.
constexpr int kDaysAhead = 366;

jot::AlarmPanel::DatePicker& datePicker() {
    static jot::AlarmPanel::DatePicker picker;
    return picker;
}

// A calendar of the dates between `from` and `to`; a double-click or Enter on a date takes it.
QDate pickFromCalendar(QWidget* parent, const QDate& from, const QDate& to, const QDate& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("otherDate"));
    dialog.setWindowTitle(jot::AlarmPanel::tr("Other date"));
    auto* calendar = new QCalendarWidget(&dialog);
    calendar->setDateRange(from, to);
    calendar->setSelectedDate(current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    calendar->setFocus();
    return dialog.exec() == QDialog::Accepted ? calendar->selectedDate() : QDate();
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

namespace jot {

AlarmPanel::AlarmPanel(QWidget* note, const QDate& today, QWidget* tabBefore)
    : QFrame(note), m_today(today), m_tabBefore(tabBefore) {
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    placeControl(this, 0, 400, 4875, 885); // as wide as the text box, to cover it
    setAccessibleName(tr("Set the alarm"));
    m_twelveHour = twelveHourClock();
    for (int n = 0; n < kDayListLength; ++n)
        m_days.append(today.addDays(n));
    hide();
}

void AlarmPanel::setDatePickerForTests(DatePicker picker) {
    datePicker() = std::move(picker);
}

// The entries of the day, hour, minute, am/pm and repeat lists. The days read as the user
// writes them; the hours run 0 to 12 on a clock with am/pm (as the alarm text stores them),
// else 0 to 23.
std::array<QStringList, AlarmPanel::kLists> AlarmPanel::entries() const {
    QStringList days;
    for (const QDate& date : m_days)
        days << shownDay(date, m_today);
    days << tr("Other date…");
    QStringList hours;
    for (int h = 0; h <= (m_twelveHour ? 12 : 23); ++h)
        hours << QString::number(h);
    QStringList minutes;
    for (int m = 0; m < 60; m += kMinuteStep)
        minutes << QString::asprintf("%02d", m);
    if (!m_minute.isEmpty()) {
        minutes.append(m_minute);
        minutes.sort(); // two digits each: in the order of the clock
    }
    // In the order of Repeat.
    QStringList repeats{tr("Never"),      tr("Every day"),   tr("Every weekday"),
                        tr("Every week"), tr("Every month"), tr("Every year")};
    if (m_foreign)
        repeats << tr("As set elsewhere");
    return {days, hours, minutes, {QStringLiteral("am"), QStringLiteral("pm")}, repeats};
}

int AlarmPanel::foreignEntry() const {
    return static_cast<int>(Repeat::Yearly) + 1;
}

void AlarmPanel::setForeignRule(bool foreign) {
    if (foreign == m_foreign)
        return;
    m_foreign = foreign;
    if (m_selection[4] >= foreignEntry())
        m_selection[4] = 0;
    if (!Combo5)
        return;
    const QSignalBlocker quiet(Combo5);
    Combo5->clear();
    Combo5->addItems(entries()[4]);
    Combo5->setCurrentIndex(m_selection[4]);
}

int AlarmPanel::otherDateEntry() const {
    return static_cast<int>(m_days.size());
}

// A day the list does not hold yet, just before "Other date…".
void AlarmPanel::addDay(const QDate& date) {
    if (m_days.contains(date))
        return;
    m_days.append(date);
    if (Combo1)
        Combo1->insertItem(otherDateEntry() - 1, shownDay(date, m_today));
}

// A minute off the list's steps, in its place among them.
void AlarmPanel::addMinute(const QString& minutes) {
    bool ok = false;
    const int m = minutes.toInt(&ok);
    if (!ok || minutes.size() != 2 || m < 0 || m > 59 || m % kMinuteStep == 0 ||
        minutes == m_minute)
        return;
    m_minute = minutes;
    if (Combo3) {
        Combo3->clear();
        Combo3->addItems(entries()[2]);
    }
}

// 12 and under read "am": 12:40 presets "12" "am", which the alarm timer takes as noon.
void AlarmPanel::presetNew(int hour) {
    const bool pm = m_twelveHour && hour > 12;
    select({0, pm ? hour - 12 : hour, 0, pm ? 1 : 0, 0});
}

// Each list at the entry that matches its part of the alarm, exactly; entry 0 otherwise.
void AlarmPanel::presetAlarm(const QString& alarm, const QString& repeat) {
    std::array<int, kLists> selection{};
    const AlarmParts p = decouper_alarme(alarm);
    if (!alarm.trimmed().isEmpty() && p.ok) {
        // A day past the 16 listed, within the year ahead, is listed for it; one gone by is not.
        const QDate date = alarmMoment(alarm, m_today).date;
        if (date.isValid() && date > m_today && m_today.daysTo(date) <= kDaysAhead &&
            dayText(date) == p.day)
            addDay(date);
        addMinute(p.minutes);
        const std::array<QStringList, kLists> lists = entries();
        // The day list shows the user's form of the day: its entry is the one stored alike.
        for (int i = 0; i < m_days.size(); ++i) {
            if (dayText(m_days[i]) == p.day)
                selection[0] = i;
        }
        const QString parts[] = {p.day, p.hour, p.minutes, p.marker};
        for (int i = 1; i < 4; ++i)
            selection[i] = qMax(0, lists[i].indexOf(parts[i]));
        // On a 24-hour clock the hour is read as the alarm timer reads it.
        const QTime time = alarmMoment(alarm, m_today).time;
        if (!m_twelveHour && time.isValid())
            selection[1] = time.hour();
    }
    selection[4] = static_cast<int>(parseRepeat(repeat).repeat);
    if (m_foreign && selection[4] == 0)
        selection[4] = foreignEntry();
    select(selection);
}

void AlarmPanel::select(const std::array<int, kLists>& selection) {
    m_selection = selection;
    m_day = selection[0];
    if (!Combo1)
        return; // the lists start there when made
    QComboBox* const lists[] = {Combo1, Combo2, Combo3, Combo4, Combo5};
    for (int i = 0; i < kLists; ++i)
        lists[i]->setCurrentIndex(selection[i]);
}

void AlarmPanel::open() {
    if (!Combo1)
        createControls();
    show();
    raise();
    Combo1->setFocus(Qt::OtherFocusReason);
}

QDate AlarmPanel::chosenDate() const {
    return m_days.value(m_day);
}

// "Other date…" itself is never an alarm's day: the day chosen before it stands. The text is
// stored as the 12-hour lists would have composed it, whatever clock the user reads.
QString AlarmPanel::alarm() const {
    if (!m_twelveHour)
        return alarmTextAt(chosenDate(),
                           QTime(Combo2->currentIndex(), Combo3->currentText().toInt()));
    return composeAlarm(dayText(chosenDate()), Combo2->currentText(), Combo3->currentText(),
                        Combo4->currentText());
}

QString AlarmPanel::repeatField() const {
    if (Combo5->currentIndex() >= foreignEntry())
        return QString(); // the rule stays elsewhere; the alarm here rings once
    return jot::repeatField(ruleFor(static_cast<Repeat>(Combo5->currentIndex()), chosenDate()));
}

// The calendar for "Other date…": the date picked becomes the day entry; cancelled, the day
// chosen before comes back.
void AlarmPanel::pickOtherDate() {
    const QDate from = m_today, to = m_today.addDays(kDaysAhead);
    const QDate date = datePicker() ? datePicker()(window(), from, to, chosenDate())
                                    : pickFromCalendar(window(), from, to, chosenDate());
    if (date.isValid() && date >= from && date <= to)
        addDay(date);
    Combo1->setCurrentIndex(date.isValid() ? static_cast<int>(m_days.indexOf(date)) : m_day);
    Combo1->setFocus(Qt::OtherFocusReason);
}

// "Other date…" opens the calendar when chosen with Enter or a click, not when the arrow keys
// pass over it.
bool AlarmPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Combo1 && isEnter(event) && Combo1->currentIndex() == otherDateEntry()) {
        pickOtherDate();
        return true;
    }
    if ((watched == Combo1->view() && isEnter(event)) ||
        (watched == Combo1->view()->viewport() && event->type() == QEvent::MouseButtonRelease))
        m_fromPopup = true;
    return QFrame::eventFilter(watched, event);
}

void AlarmPanel::createControls() {
    // ":" sits between the hour and minute lists, which shifts the minute list, the am/pm
    // list and "Ok" slightly right; the labels end where the next list begins so that no list
    // covers them. The labels take the panel's colour. How the alarm repeats has the row
    // above them.
    // On a 24-hour clock the room of the am/pm list goes to "at" ("um" in German), which then
    // shifts the hour and minute lists right.
    const int shift = m_twelveHour ? 0 : 300;
    Label5 = makeLabel(this, "Label5", tr("Repeat"));
    placeControl(Label5, 80, 75, 1320, 255); // "Wiederholen"
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo5 = makeList(this, "Combo5");
    placeControl(Combo5, 1400, 30, 1800, 315);
    Label2 = makeLabel(this, "Label2", tr("The"));
    placeControl(Label2, 80, 405, 360, 255);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = makeList(this, "Combo1");
    placeControl(Combo1, 440, 360, 1800, 315);
    Label3 = makeLabel(this, "Label3", tr("at"));
    Label3->setAlignment(Qt::AlignCenter);
    placeControl(Label3, 2240, 405, 180 + shift, 255);
    Combo2 = makeList(this, "Combo2");
    placeControl(Combo2, 2420 + shift, 360, 580, 315);
    Label4 = makeLabel(this, "Label4", QStringLiteral(":"));
    Label4->setAlignment(Qt::AlignCenter);
    placeControl(Label4, 3000 + shift, 405, 90, 255);
    Combo3 = makeList(this, "Combo3");
    placeControl(Combo3, 3090 + shift, 360, 615, 315);
    Combo4 = makeList(this, "Combo4");
    placeControl(Combo4, 3730, 360, 550, 315);
    for (QLabel* l : {Label2, Label3, Label5})
        l->setContentsMargins(kLabelGap, 0, kLabelGap, 0);
    Command3 = makeButton(this, "Command3", tr("Ok"));
    placeControl(Command3, 4320, 360, 500, 300);
    connect(Command3, &QPushButton::clicked, this, &AlarmPanel::okClicked);

    // The am/pm list, then how it repeats, before "Ok": the order in which the alarm reads.
    setTabOrder(m_tabBefore, Combo1);
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Combo3);
    setTabOrder(Combo3, Combo4);
    setTabOrder(Combo4, Combo5);
    setTabOrder(Combo5, Command3);

    // What a screen reader says: a list is read as its entry, labelled by a name of its own
    // and described by what it chooses. The captions beside the lists label none of them
    // ("at, 10" says nothing); the names are labels never shown, which the screen reader
    // finds through the label relation, as it reads any list's caption. "Repeat" says it.
    Label5->setBuddy(Combo5);
    const std::pair<QComboBox*, QString> lists[] = {{Combo1, tr("Day")},
                                                    {Combo2, tr("Hour")},
                                                    {Combo3, tr("Minutes")},
                                                    {Combo4, tr("am or pm")},
                                                    {Combo5, QString()}};
    const QString descriptions[] = {tr("Alarm day"), tr("Alarm hour"), tr("Alarm minutes"),
                                    tr("Alarm am or pm"), tr("How the alarm repeats")};
    const std::array<QStringList, kLists> texts = entries();
    for (int i = 0; i < kLists; ++i) {
        QComboBox* c = lists[i].first;
        if (!lists[i].second.isEmpty()) {
            auto* name = new QLabel(lists[i].second, this);
            name->setBuddy(c);
            name->hide();
        }
        c->setAccessibleDescription(descriptions[i]);
        systemLook(c);
        c->addItems(texts[i]);
        c->setCurrentIndex(m_selection[i]);
    }
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i != otherDateEntry())
            m_day = i;
    });
    connect(Combo1, &QComboBox::activated, this, [this](int i) {
        if (i == otherDateEntry() && std::exchange(m_fromPopup, false))
            pickOtherDate();
    });
    Combo1->installEventFilter(this);
    Combo1->view()->installEventFilter(this);
    Combo1->view()->viewport()->installEventFilter(this);
    systemLook(Command3);
    // A 24-hour clock has no am/pm to choose: the list is neither shown nor reached by Tab.
    Combo4->setVisible(m_twelveHour);
    fitPanelFont();
}

// One font for the whole panel, so that the lists read as the labels do: the largest, up
// to the window's, at which every entry fits its list and every label keeps a gap to the
// list beside it.
void AlarmPanel::fitPanelFont() {
    QFont font = parentWidget()->font();
    const auto doesNotFit = [&font](const QString& text, int room) {
        return QFontMetrics(font).horizontalAdvance(text) > room;
    };
    const auto tooWide = [&] {
        for (QComboBox* c : {Combo1, Combo2, Combo3, Combo4, Combo5}) {
            if (c->isHidden())
                continue;
            for (int i = 0; i < c->count(); ++i) {
                if (doesNotFit(c->itemText(i), listRoom(c)))
                    return true;
            }
        }
        for (QLabel* l : {Label2, Label3, Label5})
            if (doesNotFit(l->text(), l->contentsRect().width()))
                return true;
        return false;
    };
    while (font.pointSizeF() > 6.0 && tooWide())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    setFont(font);
}

} // namespace jot
