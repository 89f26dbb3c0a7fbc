// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/alarmpanel.h"

#include "alarms/alarmtext.h"
#include "notes/controles.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>

namespace {

// The gap, in pixels, between a panel label's text and the lists on either side.
constexpr int kEcartEtiquette = 2;

QComboBox* liste(QWidget* parent, const char* nom) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(nom));
    c->setEditable(false);
    return c;
}

// The room a list gives its selected entry.
int placeDeListe(const QComboBox* c) {
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    return c->style()
               ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
               .width() -
           2; // the label's own margins
}

} // namespace

namespace jot {

AlarmPanel::AlarmPanel(QWidget* note, const QDate& today, QWidget* tabBefore)
    : QFrame(note), m_today(today), m_tabBefore(tabBefore) {
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    placer(this, 0, 400, 4875, 885); // as wide as the text box, to cover it
    setAccessibleName(tr("Set the alarm"));
    hide();
}

// The entries of the day, hour, minute and am/pm lists.
std::array<QStringList, 4> AlarmPanel::entries() const {
    QStringList heures;
    for (int h = 0; h <= 12; ++h)
        heures << QString::number(h);
    return {
        dayList(m_today),
        heures,
        {QStringLiteral("00"), QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("45")},
        {QStringLiteral("am"), QStringLiteral("pm")}};
}

// 12 and under read "am": 12:40 presets "12" "am", which the alarm timer takes as noon.
void AlarmPanel::preset_nouvelle(int heure) {
    const bool pm = heure > 12;
    select({0, pm ? heure - 12 : heure, 0, pm ? 1 : 0});
}

// Each list at the entry that matches its part of the alarm, exactly; entry 0 otherwise.
void AlarmPanel::preset_alarme(const QString& alarme) {
    std::array<int, 4> selection{};
    const AlarmParts p = decouper_alarme(alarme);
    if (!alarme.trimmed().isEmpty() && p.ok) {
        const std::array<QStringList, 4> listes = entries();
        const QString parts[] = {p.day, p.hour, p.minutes, p.marker};
        for (int i = 0; i < 4; ++i)
            selection[i] = qMax(0, listes[i].indexOf(parts[i]));
    }
    select(selection);
}

void AlarmPanel::select(const std::array<int, 4>& selection) {
    m_selection = selection;
    if (!Combo1)
        return; // the lists start there when made
    QComboBox* const listes[] = {Combo1, Combo2, Combo3, Combo4};
    for (int i = 0; i < 4; ++i)
        listes[i]->setCurrentIndex(selection[i]);
}

void AlarmPanel::open() {
    if (!Combo1)
        creerControles();
    show();
    raise();
    Combo1->setFocus(Qt::OtherFocusReason);
}

QString AlarmPanel::alarm() const {
    return composeAlarm(Combo1->currentText(), Combo2->currentText(), Combo3->currentText(),
                        Combo4->currentText());
}

void AlarmPanel::creerControles() {
    // ":" sits between the hour and minute lists, which shifts the minute list, the am/pm
    // list and "Ok" slightly right; the labels end where the next list begins so that no list
    // covers them. The labels take the panel's colour.
    Label2 = etiquette(this, "Label2", tr("The"));
    placer(Label2, 80, 405, 360, 255);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = liste(this, "Combo1");
    placer(Combo1, 440, 360, 1800, 315);
    Label3 = etiquette(this, "Label3", tr("at"));
    Label3->setAlignment(Qt::AlignCenter);
    placer(Label3, 2240, 405, 180, 255);
    Combo2 = liste(this, "Combo2");
    placer(Combo2, 2420, 360, 580, 315);
    Label4 = etiquette(this, "Label4", QStringLiteral(":"));
    Label4->setAlignment(Qt::AlignCenter);
    placer(Label4, 3000, 405, 90, 255);
    Combo3 = liste(this, "Combo3");
    placer(Combo3, 3090, 360, 615, 315);
    Combo4 = liste(this, "Combo4");
    placer(Combo4, 3730, 360, 550, 315);
    for (QLabel* l : {Label2, Label3})
        l->setContentsMargins(kEcartEtiquette, 0, kEcartEtiquette, 0);
    Command3 = bouton(this, "Command3", tr("Ok"));
    placer(Command3, 4320, 360, 500, 300);
    connect(Command3, &QPushButton::clicked, this, &AlarmPanel::okClicked);

    // The am/pm list before "Ok": the order in which the alarm reads.
    setTabOrder(m_tabBefore, Combo1);
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Combo3);
    setTabOrder(Combo3, Combo4);
    setTabOrder(Combo4, Command3);

    // What a screen reader says: a list is read as its entry, labelled by a name of its own
    // and described by what it chooses. The captions beside the lists label none of them
    // ("at, 10" says nothing); the names are labels never shown, which the screen reader
    // finds through the label relation, as it reads any list's caption.
    const std::pair<QComboBox*, QString> listes[] = {{Combo1, tr("Day")},
                                                     {Combo2, tr("Hour")},
                                                     {Combo3, tr("Minutes")},
                                                     {Combo4, tr("am or pm")}};
    const QString descriptions[] = {tr("Alarm day"), tr("Alarm hour"), tr("Alarm minutes"),
                                    tr("Alarm am or pm")};
    const std::array<QStringList, 4> textes = entries();
    for (int i = 0; i < 4; ++i) {
        QComboBox* c = listes[i].first;
        auto* nom = new QLabel(listes[i].second, this);
        nom->setBuddy(c);
        nom->hide();
        c->setAccessibleDescription(descriptions[i]);
        systemLook(c);
        c->addItems(textes[i]);
        c->setCurrentIndex(m_selection[i]);
    }
    systemLook(Command3);
    policeDuPanneau();
}

// One font for the whole panel, so that the lists read as the labels do: the largest, up
// to the window's, at which every entry fits its list and every label keeps a gap to the
// list beside it.
void AlarmPanel::policeDuPanneau() {
    QFont police = parentWidget()->font();
    const auto tientPas = [&police](const QString& texte, int place) {
        return QFontMetrics(police).horizontalAdvance(texte) > place;
    };
    const auto trop = [&] {
        for (QComboBox* c : {Combo1, Combo2, Combo3, Combo4}) {
            for (int i = 0; i < c->count(); ++i) {
                if (tientPas(c->itemText(i), placeDeListe(c)))
                    return true;
            }
        }
        for (QLabel* l : {Label2, Label3})
            if (tientPas(l->text(), l->contentsRect().width()))
                return true;
        return false;
    };
    while (police.pointSizeF() > 6.0 && trop())
        police.setPointSizeF(police.pointSizeF() - 0.5);
    setFont(police);
}

} // namespace jot
