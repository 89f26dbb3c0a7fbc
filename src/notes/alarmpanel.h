// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QFrame>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace jot {

// Frame1, a note's alarm panel: "The" day "at" hour ":" minutes am/pm and "Ok", lying over
// the text box while an alarm is set. Its controls are made the first time it opens: most
// notes never set an alarm, and the four lists with their pop-ups were two thirds of a
// note's heap. Until then it keeps the entries its lists will show.
class AlarmPanel : public QFrame {
    Q_OBJECT
public:
    // The day list runs from the day the note opened; the lists follow `tabBefore` in the tab
    // order.
    AlarmPanel(QWidget* note, const QDate& today, QWidget* tabBefore);

    void preset_nouvelle(int heure);           // today, the hour, "00"
    void preset_alarme(const QString& alarme); // its entries; entry 0 where none matches
    void open();                               // shown over the text box, the day list focused
    // The alarm text the lists compose.
    QString alarm() const;
    // "Ok"; none before the panel first opens.
    QPushButton* ok() const { return Command3; }

Q_SIGNALS:
    void okClicked();

private:
    std::array<QStringList, 4> entries() const;
    void select(const std::array<int, 4>& selection);
    void creerControles();
    void policeDuPanneau();

    QDate m_today;
    QWidget* m_tabBefore;
    std::array<int, 4> m_selection{}; // the entry each list shows once made

    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QPushButton* Command3 = nullptr;
};

} // namespace jot
