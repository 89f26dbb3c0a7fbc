#include "notes/f_test.h"

#include "alarms/alarmtext.h"
#include "notes/listecompacte.h"
#include "store/clock.h"
#include "ui/couleurs.h"
#include "ui/programicon.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTextDocument>

namespace {

const QColor kRouge(255, 0, 0);
// The gap, in pixels, between a panel label's text and the lists on either side.
constexpr int kEcartEtiquette = 2;

void placer(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(jot::px(left), jot::px(top), jot::px(width), jot::px(height));
}

// Every role set explicitly, so that a colour given to the window cannot reach the controls
// that keep the system's colours (a child inherits every role it has not set). A control's
// palette is its own copy whatever it is given: the shared style is what draws every control
// with one copy of each distinct palette (see ListeCompacte).
QPalette paletteComplete(const QPalette& source) {
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto groupe = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role != QPalette::NoRole)
                p.setBrush(groupe, role, source.brush(groupe, role));
        }
    }
    return p;
}

// The system's colours for a kind of control (buttons and lists may differ).
QPalette paletteSysteme(const QWidget* w) {
    return paletteComplete(QApplication::palette(w));
}

// A surface of the note: its background, and for the text box its editing area too.
void peindre(QWidget* w, const QColor& couleur) {
    QPalette p = paletteComplete(QApplication::palette());
    p.setColor(QPalette::Window, couleur);
    p.setColor(QPalette::Base, couleur);
    w->setPalette(p);
}

ListeCompacte* styleDesControles() {
    static QPointer<ListeCompacte> style;
    if (!style) {
        style = new ListeCompacte;
        style->setParent(qApp);
    }
    return style;
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QLatin1String(nom));
    l->setTextFormat(Qt::PlainText); // an alarm text from the file is never markup
    l->setAutoFillBackground(true);
    return l;
}

QPushButton* bouton(QWidget* parent, const char* nom, const QString& texte) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

QComboBox* liste(QWidget* parent, const char* nom) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(nom));
    c->setEditable(false);
    return c;
}

// Shrinks a control's font until every text it may show fits its room, so that a long
// weekday or alarm is smaller rather than cut (most desktop fonts are wider than the
// stated sizes allow).
void ajusterPolice(QWidget* w, QFont police, const QStringList& textes, int place) {
    auto trop = [&] {
        const QFontMetrics fm(police);
        for (const QString& t : textes) {
            if (fm.horizontalAdvance(t) > place)
                return true;
        }
        return false;
    };
    while (police.pointSizeF() > 6.0 && trop())
        police.setPointSizeF(police.pointSizeF() - 0.5);
    w->setFont(police);
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

// The text box's own text, with plain line breaks but otherwise untouched (toPlainText()
// would turn no-break spaces into spaces).
QString texteBrut(const QPlainTextEdit* t) {
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
    setWindowTitle(QStringLiteral("Note"));
    setWindowIcon(jot::programIcon());
    setFixedSize(jot::px(4905), jot::px(1305));

    creerControles();
    remplir_listes();

    connect(Text2, &QPlainTextEdit::textChanged, this, &f_test::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &f_test::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &f_test::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &f_test::Command3_Click);
    Text2->installEventFilter(this);
    Text2->setFocus();

    // Ctrl+W closes the note as its close box does, saving it.
    auto* fermer = new QAction(this);
    fermer->setShortcuts(QKeySequence::Close);
    connect(fermer, &QAction::triggered, this, &QWidget::close);
    addAction(fermer);
}

void f_test::creerControles() {
    Command1 = bouton(this, "Command1", QStringLiteral("Alarm"));
    placer(Command1, 100, 30, 1335, 300);
    Label1 = etiquette(this, "Label1", QString());
    Label1->setAlignment(Qt::AlignCenter);
    placer(Label1, 1500, 60, 1880, 255);
    Command2 = bouton(this, "Command2", QStringLiteral("No alarm"));
    placer(Command2, 3420, 30, 1335, 300);

    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);
    QFont police(QStringLiteral("Verdana"));
    police.setStyleHint(QFont::SansSerif);
    police.setPointSizeF(8.25);
    Text2->setFont(police);
    placer(Text2, 0, 480, 4875, 800);

    // The alarm panel lies over the text box while it is shown.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    placer(Frame1, 0, 400, 4875, 885); // as wide as the text box, to cover it
    Frame1->hide();

    // Positions inside the panel. ":" sits between the hour and minute lists, which shifts
    // the minute list, the am/pm list and "Ok" slightly right; the labels end where the
    // next list begins so that no list covers them.
    Label2 = etiquette(Frame1, "Label2", QStringLiteral("The"));
    placer(Label2, 80, 405, 360, 255);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = liste(Frame1, "Combo1");
    placer(Combo1, 440, 360, 1800, 315);
    Label3 = etiquette(Frame1, "Label3", QStringLiteral("at"));
    Label3->setAlignment(Qt::AlignCenter);
    placer(Label3, 2240, 405, 180, 255);
    Combo2 = liste(Frame1, "Combo2");
    placer(Combo2, 2420, 360, 580, 315);
    Label4 = etiquette(Frame1, "Label4", QStringLiteral(":"));
    Label4->setAlignment(Qt::AlignCenter);
    placer(Label4, 3000, 405, 90, 255);
    Combo3 = liste(Frame1, "Combo3");
    placer(Combo3, 3090, 360, 615, 315);
    Combo4 = liste(Frame1, "Combo4");
    placer(Combo4, 3730, 360, 550, 315);
    for (QLabel* l : {Label2, Label3})
        l->setContentsMargins(kEcartEtiquette, 0, kEcartEtiquette, 0);
    Command3 = bouton(Frame1, "Command3", QStringLiteral("Ok"));
    placer(Command3, 4320, 360, 500, 300);

    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Combo1);
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Combo3);
    // The am/pm list before "Ok": the order in which the alarm reads.
    setTabOrder(Combo3, Combo4);
    setTabOrder(Combo4, Command3);

    // What a screen reader says: a list is read as its entry, labelled by its label and
    // described by what it chooses.
    Text2->setAccessibleName(QStringLiteral("Task text"));
    Label1->setAccessibleName(QStringLiteral("Alarm"));
    Label1->setAccessibleDescription(QStringLiteral("When the alarm rings; empty for none"));
    Frame1->setAccessibleName(QStringLiteral("Set the alarm"));
    Label2->setBuddy(Combo1);
    Label3->setBuddy(Combo2);
    Label4->setBuddy(Combo3);
    const std::pair<QComboBox*, const char*> listes[] = {{Combo1, "Alarm day"},
                                                         {Combo2, "Alarm hour"},
                                                         {Combo3, "Alarm minutes"},
                                                         {Combo4, "Alarm am or pm"}};
    for (const auto& [c, nom] : listes)
        c->setAccessibleDescription(QLatin1String(nom));

    // The controls keep the system's colours; the shared style draws every control that goes
    // through Qt's pixmap cache.
    ListeCompacte* style = styleDesControles();
    for (QWidget* w : {static_cast<QWidget*>(Command1), static_cast<QWidget*>(Command2),
                       static_cast<QWidget*>(Command3), static_cast<QWidget*>(Combo1),
                       static_cast<QWidget*>(Combo2), static_cast<QWidget*>(Combo3),
                       static_cast<QWidget*>(Combo4)}) {
        w->setPalette(paletteSysteme(w));
        w->setStyle(style);
    }
    Text2->verticalScrollBar()->setStyle(style);
    peindre_surfaces(jot::kJaunePale);
    // The alarm label sits on the note's yellow, and keeps it when the note turns red.
    peindre(Label1, jot::kJaunePale);
}

void f_test::remplir_listes() {
    Combo1->addItems(jot::dayList(jot::maintenant().date()));
    for (int h = 0; h <= 12; ++h)
        Combo2->addItem(QString::number(h));
    Combo3->addItems(
        {QStringLiteral("00"), QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("45")});
    Combo4->addItems({QStringLiteral("am"), QStringLiteral("pm")});
    policeDuPanneau();
}

// One font for the whole panel, so that the lists read as the labels do: the largest, up
// to the window's, at which every entry fits its list and every label keeps a gap to the
// list beside it.
void f_test::policeDuPanneau() {
    QFont police = font();
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
    Frame1->setFont(police);
}

void f_test::init() {
    const QDateTime maintenant = jot::maintenant();
    setWindowTitle(jot::newNoteCaption(maintenant));
    setCell(jot::ColStamp, jot::creationStamp(maintenant));
    preset_nouvelle(maintenant.time().hour());
}

void f_test::reinit() {
    const jot::TaskList& l = m_shared.liste;
    setWindowTitle(l.cell(f_pos, jot::ColStamp));
    const QString texte = toBox(l.cell(f_pos, jot::ColText));
    if (texte != texteBrut(Text2))
        Text2->setPlainText(texte); // counts as a change of the text
    Text2->moveCursor(QTextCursor::End);
    afficher_alarme(l.cell(f_pos, jot::ColAlarm));
    preset_alarme();
}

void f_test::en_rouge() {
    peindre_surfaces(kRouge);
}

void f_test::snooze(const QString& alarme) {
    peindre_surfaces(jot::kJaunePale);
    poser_alarme(alarme);
    preset_alarme(); // "Alarm" then offers the new time
}

void f_test::peindre_surfaces(const QColor& couleur) {
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame1),
                       static_cast<QWidget*>(Text2), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4)})
        peindre(w, couleur);
}

// 12 and under read "am": 12:40 presets "12" "am", which the alarm timer takes as noon.
void f_test::preset_nouvelle(int heure) {
    Combo1->setCurrentIndex(0);
    if (heure <= 12) {
        Combo4->setCurrentIndex(0);
    } else {
        Combo4->setCurrentIndex(1);
        heure -= 12;
    }
    Combo2->setCurrentIndex(heure);
    Combo3->setCurrentIndex(0);
}

void f_test::preset_alarme() {
    for (QComboBox* c : {Combo1, Combo2, Combo3, Combo4})
        c->setCurrentIndex(0);
    const QString alarme = m_shared.liste.cell(f_pos, jot::ColAlarm);
    if (alarme.trimmed().isEmpty())
        return;
    const jot::AlarmParts p = jot::decouper_alarme(alarme);
    if (!p.ok)
        return;
    const std::pair<QComboBox*, QString> parts[] = {
        {Combo1, p.day}, {Combo2, p.hour}, {Combo3, p.minutes}, {Combo4, p.marker}};
    for (const auto& [combo, texte] : parts) {
        const int i = combo->findText(texte, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            combo->setCurrentIndex(i);
    }
}

void f_test::Text2_Change() {
    setCell(jot::ColText, toCell(texteBrut(Text2)));
    m_shared.unsavedChanges = true;
}

void f_test::Command1_Click() {
    Frame1->show();
    Frame1->raise();
    Combo1->setFocus(Qt::OtherFocusReason);
    Command1->setEnabled(false);
    Command3->setDefault(true);
}

void f_test::Command2_Click() {
    afficher_alarme(QString());
    setCell(jot::ColAlarm, QString());
    setCell(jot::ColFired, QString());
    fermer_panneau();
    if (m_shared.autoSave)
        m_shared.sauver_liste();
}

void f_test::Command3_Click() {
    poser_alarme(jot::composeAlarm(Combo1->currentText(), Combo2->currentText(),
                                   Combo3->currentText(), Combo4->currentText()));
}

void f_test::poser_alarme(const QString& alarme) {
    fermer_panneau();
    afficher_alarme(alarme);
    setCell(jot::ColAlarm, alarme);
    setCell(jot::ColFired, QString()); // a fired alarm set again is armed again
    if (m_shared.autoSave)
        m_shared.sauver_liste();
}

void f_test::fermer_panneau() {
    const bool focusDansPanneau = Frame1->isAncestorOf(QApplication::focusWidget());
    Command1->setEnabled(true);
    Frame1->hide();
    // Hiding the focused list would otherwise send the focus to whatever comes next.
    if (focusDansPanneau)
        Text2->setFocus(Qt::OtherFocusReason);
}

void f_test::afficher_alarme(const QString& alarme) {
    ajusterPolice(Label1, font(), {alarme}, Label1->contentsRect().width());
    Label1->setText(alarme);
    Label1->setToolTip(alarme);
}

void f_test::setCell(int col, const QString& text) {
    m_shared.liste.setCell(f_pos, col, text);
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
    m_closed = true; // the text box's last focus-out comes after this save
    if (m_shared.autoSave)
        m_shared.sauver_liste();
    setCell(jot::ColSlot, QString());
    m_shared.freeSlot(f_monindice);
    event->accept();
}

void f_test::keyPressEvent(QKeyEvent* event) {
    // Only dialogs honour default buttons: Enter in the panel's lists reaches the window.
    const bool entree = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (entree && Command3->isDefault() && Command3->isVisible() && Command3->isEnabled()) {
        Command3->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool f_test::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2 && event->type() == QEvent::FocusOut && !m_closed &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && m_shared.autoSave)
        m_shared.sauver_liste();
    return QWidget::eventFilter(watched, event);
}
