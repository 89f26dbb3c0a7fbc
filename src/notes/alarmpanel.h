// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QFrame>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace jot {

// Frame1, a note's alarm panel: "The" day "at" hour ":" minutes am/pm, how it repeats, and
// "Ok", lying over the text box while an alarm is set. Its controls are made the first time it
// opens: most notes never set an alarm, and the lists with their pop-ups were two thirds of a
// note's heap. Until then it keeps the entries its lists will show.
class AlarmPanel : public QFrame {
    Q_OBJECT
public:
    // The day list runs from the day the note opened; the lists follow `tabBefore` in the tab
    // order.
    AlarmPanel(QWidget* note, const QDate& today, QWidget* tabBefore);

    void presetNew(int hour); // today, the hour, "00", never repeated
    // The entries of a stored alarm and its rule; entry 0 where none matches. A day up to a
    // year ahead that the 16 days do not reach gets an entry of its own, and so does a minute
    // off the five-minute steps (an alarm from a calendar), so that "Ok" keeps them.
    void presetAlarm(const QString& alarm, const QString& repeat);
    // The task's rule is one only another program can express: the repeat list offers it as
    // "As set elsewhere", chosen until the user picks another; it stores as a one-time alarm,
    // which the main window moves on at each ring.
    void setForeignRule(bool foreign);
    void open(); // shown over the text box, the day list focused
    // The alarm text the lists compose, and the fired-mark field of its rule ("" for none).
    QString alarm() const;
    QString repeatField() const;
    // "Ok"; none before the panel first opens.
    QPushButton* ok() const { return Command3; }

    // Picks a date between two; an invalid date when cancelled. Tests answer instead of a
    // person; an empty function restores the calendar.
    using DatePicker = std::function<QDate(QWidget* parent, const QDate& from, const QDate& to,
                                           const QDate& current)>;
    static void setDatePickerForTests(DatePicker picker);

Q_SIGNALS:
    void okClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kLists = 5;
    static constexpr int kMinuteStep = 5; // the minute list's steps
    std::array<QStringList, kLists> entries() const;
    void select(const std::array<int, kLists>& selection);
    int otherDateEntry() const; // "Other date…", after the days
    int foreignEntry() const;   // "As set elsewhere", after the rules
    void addDay(const QDate& date);
    void addMinute(const QString& minutes);
    void pickOtherDate();
    QDate chosenDate() const;
    void createControls();
    void fitPanelFont();

    QDate m_today;
    QWidget* m_tabBefore;
    QList<QDate> m_days;                   // the day list's dates
    std::array<int, kLists> m_selection{}; // the entry each list shows once made
    int m_day = 0;                         // the day chosen, never "Other date…"
    QString m_minute;                      // a minute listed off the steps, "" for none
    bool m_twelveHour = true;              // the user's clock has am/pm
    bool m_fromPopup = false;              // the day list's choice came from its pop-up
    bool m_foreign = false;                // "As set elsewhere" is listed last

    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* Combo5 = nullptr;
    QPushButton* Command3 = nullptr;
};

} // namespace jot
