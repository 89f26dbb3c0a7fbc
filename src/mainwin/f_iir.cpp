// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/f_iir.h"

#include "alarms/alarmtext.h"
#include "alarms/clockwatch.h"
#include "alarms/recurrence.h"
#include "help/f_help.h"
#include "mainwin/gridcolumns.h"
#include "mainwin/notices.h"
#include "notes/f_test.h"
#include "store/autostart.h"
#include "store/clock.h"
#include "store/startoption.h"
#include "ui/colours.h"
#include "ui/programicon.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <cmath>

namespace {

constexpr int kTimer1Ms = 60000;
constexpr int kLineNoteMs = 10000; // "Task deleted" and its Undo link

// The designed layout, in twips: the smallest the window gets. Extra room goes to the grid;
// the buttons stay under it, centred as a group.
constexpr QSize kFrame(8640, 2910);
constexpr QRect kGrid(30, 120, 8595, 2295);
constexpr int kButtonTop = 2520;
constexpr QSize kButton(2055, 375);
constexpr int kAlarmWidth = 2000;

// Wide enough for the longest alarm of the locale on one line, as it is shown, and never
// narrower than designed.
int alarmColumnWidth(const QTableView& gri) {
    const QFontMetrics fm(gri.font());
    int longest = 0;
    for (int d = 0; d < 7; ++d) {
        const QDate date = QDate(2026, 12, 7).addDays(d);
        for (const QTime time : {QTime(10, 45), QTime(22, 45)})
            longest = qMax(longest, fm.horizontalAdvance(jot::shownDay(date, date) + u' ' +
                                                         jot::shownTime(time)));
    }
    int rule = 0;
    for (const auto repeat : {jot::Repeat::Daily, jot::Repeat::Weekdays, jot::Repeat::Weekly,
                              jot::Repeat::Monthly, jot::Repeat::Yearly})
        rule = qMax(rule, fm.horizontalAdvance(QStringLiteral(", ") + jot::repeatSuffix(repeat)));
    longest += rule;
    // The cell's margins, as the item delegate draws them, and the grid line.
    const int margins =
        2 * (gri.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &gri) + 1) + 1;
    return qMax(jot::px(kAlarmWidth), longest + margins);
}

// A key pressed alone: no modifier but the keypad's.
bool alone(const QKeyEvent& key) {
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Enter, from the main keys or the keypad, alone.
bool isEnterKey(const QKeyEvent& key) {
    return alone(key) && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
}

} // namespace

f_iir::f_iir(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("f_iir"));
    setWindowTitle(QStringLiteral("Jotlark"));
    setWindowIcon(jot::programIcon());

    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("Frame6"));
    frame->setMinimumSize(jot::px(kFrame.width()), jot::px(kFrame.height()));
    frame->setPalette(jot::surfacePalette(jot::kPaleYellow));
    frame->setAutoFillBackground(true);
    setCentralWidget(frame);

    createGrid(frame);
    createFind(frame);
    createButtons(frame);
    layOut(frame->minimumSize());
    frame->installEventFilter(this);
    createMenus();
    m_notices = new jot::Notices(this);
    connect(m_notices, &jot::Notices::activated, this, &f_iir::restaurer_fenetre_principale);
    connect(m_notices, &jot::Notices::newRequested, this, &f_iir::mPopNew_Click);
    connect(m_notices, &jot::Notices::restoreRequested, this, &f_iir::mPopRestore_Click);
    connect(m_notices, &jot::Notices::exitRequested, this, &f_iir::mPopExit_Click);
    connect(m_notices, &jot::Notices::alarmShown, this, &f_iir::showRungNote);
    connect(m_notices, &jot::Notices::alarmSnoozed, this, &f_iir::snoozeRungTask);
    // Minimised in the task bar only for want of the tray.
    connect(m_notices, &jot::Notices::trayAppeared, this, [this] {
        if (isMinimized())
            hide();
    });

    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("m_warning"));
    m_warning->setAccessibleName(tr("Save warning"));
    m_warning->setWordWrap(true); // a long path wraps at its words instead of being cut
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_warning, 1);
    statusBar()->hide();
    // "Undo" after a Delete.
    connect(m_warning, &QLabel::linkActivated, this, &f_iir::m_undo_Click);
    m_lineNoteTimer = new QTimer(this);
    m_lineNoteTimer->setObjectName(QStringLiteral("m_lineNoteTimer"));
    m_lineNoteTimer->setSingleShot(true);
    m_lineNoteTimer->setInterval(kLineNoteMs);
    connect(m_lineNoteTimer, &QTimer::timeout, this, [this] {
        m_lineNote.clear();
        updateLine();
    });
    connect(&m_shared.file, &jot::TaskFile::warning, this, &f_iir::showWarning);
    connect(&m_shared.file, &jot::TaskFile::resolved, this, &f_iir::clearWarning);
    connect(&m_shared.file, &jot::TaskFile::removingTask, this, &f_iir::closeRemovedTask);

    // Timer1 keeps its one-minute period; each tick sets its phase (rearmTimer1), so that
    // it ticks just after each wall-clock minute begins. m_minuteStart starts it then.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kTimer1Ms);
    connect(Timer1, &QTimer::timeout, this, &f_iir::Timer1_Timer);
    m_minuteStart = new QTimer(this);
    m_minuteStart->setObjectName(QStringLiteral("m_minuteStart"));
    m_minuteStart->setTimerType(Qt::PreciseTimer);
    m_minuteStart->setSingleShot(true);
    connect(m_minuteStart, &QTimer::timeout, this, [this] {
        Timer1->start();
        Timer1_Timer();
    });
    // The start counts as the previous tick: a quarter hour slept over before the first tick
    // is still made up.
    m_lastTick = jot::now();
    rearmTimer1(m_lastTick);
    m_clockWatch = new jot::ClockWatch(this);
    m_clockWatch->setObjectName(QStringLiteral("m_clockWatch"));
    connect(m_clockWatch, &jot::ClockWatch::clockChanged, this, &f_iir::m_clockWatch_Timer);
    // A notification is withdrawn once its alarm is dealt with, however that happened.
    const auto alarmsChanged = [this](const QModelIndex& from, const QModelIndex& to) {
        if (from.column() <= jot::ColFired && to.column() >= jot::ColAlarm)
            withdrawDealtWith();
    };
    connect(&m_shared.list, &QAbstractItemModel::dataChanged, this, alarmsChanged);
    connect(&m_shared.list, &QAbstractItemModel::rowsRemoved, this, &f_iir::withdrawDealtWith);
    connect(&m_shared.list, &QAbstractItemModel::modelReset, this, &f_iir::withdrawDealtWith);

    // The end of the desktop session writes the list: the session may kill the program
    // without any close. Any other way out than Exit does the same.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        m_shared.file.stopWaitingForWriter();
        m_shared.sauver_liste();
        m_keeper.save(m_shared.list, openNotes());
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_ended)
            return;
        m_shared.file.stopWaitingForWriter();
        m_shared.sauver_liste();
        m_keeper.save(m_shared.list, openNotes());
    });
}

f_iir::~f_iir() {
    // Windows without a parent would outlive the values they point into.
    for (QPointer<f_test>& note : m_notes)
        delete note.data();
    delete m_help.data();
    // The grid's columns read the list, which goes before the grid.
    QAbstractItemModel* columns = gri->model();
    gri->setModel(nullptr);
    delete columns;
}

void f_iir::createGrid(QWidget* frame) {
    gri = new QTableView(frame);
    gri->setObjectName(QStringLiteral("gri"));
    m_columns = new jot::GridColumns(gri);
    m_columns->setSourceModel(&m_shared.list);
    gri->setModel(m_columns);
    gri->setPalette(jot::systemPalette(gri)); // only the frame around it is yellow
    gri->setAccessibleName(tr("Tasks"));
    gri->setAccessibleDescription(tr("Enter shows the task's note, Delete deletes the task"));
    // A person picks a whole task, never edits a cell here.
    gri->setSelectionBehavior(QAbstractItemView::SelectRows);
    gri->setSelectionMode(QAbstractItemView::SingleSelection);
    gri->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the buttons instead of walking its cells.
    gri->setTabKeyNavigation(false);
    gri->verticalHeader()->hide();
    gri->horizontalHeader()->setHighlightSections(false);
    gri->installEventFilter(this);
    gri->viewport()->installEventFilter(this);
    gri->horizontalHeader()->setSectionResizeMode(jot::GridColumns::kText, QHeaderView::Stretch);
    gri->setColumnWidth(jot::GridColumns::kAlarm, alarmColumnWidth(*gri));
}

void f_iir::createFind(QWidget* frame) {
    m_findLine = new QLineEdit(frame);
    m_findLine->setObjectName(QStringLiteral("m_findLine"));
    m_findLine->setAccessibleName(tr("Find a task"));
    m_findLine->setPlaceholderText(tr("Words of the task or its alarm"));
    m_findLine->setPalette(jot::systemPalette(m_findLine));
    m_findLine->setClearButtonEnabled(true);
    m_findLine->installEventFilter(this);
    m_findLine->hide();
    m_findHidden = new QLabel(frame);
    m_findHidden->setObjectName(QStringLiteral("m_findHidden"));
    m_findHidden->hide();
    connect(m_findLine, &QLineEdit::textChanged, this, &f_iir::findChanged);
    // Tasks added or removed, and those an edit brings into the find or out of it. The
    // columns drop a removed task's row before the list has, so the list says when it is gone.
    for (QAbstractItemModel* m : {static_cast<QAbstractItemModel*>(m_columns),
                                  static_cast<QAbstractItemModel*>(&m_shared.list)}) {
        connect(m, &QAbstractItemModel::rowsInserted, this, &f_iir::updateFindHidden);
        connect(m, &QAbstractItemModel::rowsRemoved, this, &f_iir::updateFindHidden);
        connect(m, &QAbstractItemModel::modelReset, this, &f_iir::updateFindHidden);
    }
    // The last task deleted leaves the empty list's placeholder row, changed but not removed.
    connect(&m_shared.list, &QAbstractItemModel::dataChanged, this, &f_iir::updateFindHidden);
}

void f_iir::m_find_Click() {
    const bool wasShown = !m_findLine->isHidden();
    m_findLine->show();
    m_findHidden->show();
    if (!wasShown)
        layOut(centralWidget()->size());
    m_findLine->setFocus(Qt::ShortcutFocusReason);
    m_findLine->selectAll();
}

void f_iir::closeFind() {
    m_findLine->clear();
    m_findLine->hide();
    m_findHidden->hide();
    layOut(centralWidget()->size());
    gri->setFocus(Qt::OtherFocusReason);
}

void f_iir::findChanged() {
    m_columns->setFind(m_findLine->text());
    // The task that was selected stays so while it is shown; otherwise the first one shown.
    if (!gri->currentIndex().isValid() && m_columns->rowCount() > 0)
        gri->selectionModel()->setCurrentIndex(m_columns->index(0, jot::GridColumns::kText),
                                               QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    updateFindHidden();
}

void f_iir::updateFindHidden() {
    const int tasks = m_shared.list.rows() - 1 - (m_shared.list.isPlaceholder(1) ? 1 : 0);
    const int hidden = m_findLine->text().isEmpty() ? 0 : qMax(0, tasks - m_columns->rowCount());
    const QString said = hidden == 0   ? tr("No task hidden")
                         : hidden == 1 ? tr("One task hidden")
                                       : tr("%1 tasks hidden").arg(hidden);
    if (said == m_findHidden->text())
        return;
    m_findHidden->setText(said);
    if (!m_findLine->isHidden())
        layOut(centralWidget()->size()); // the label's width follows its number
}

void f_iir::createButtons(QWidget* frame) {
    auto button = [frame](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, frame);
        b->setObjectName(QLatin1String(name));
        // Enter presses the focused button, as in a dialog.
        b->setAutoDefault(true);
        b->setPalette(jot::systemPalette(b));
        return b;
    };
    Command1 = button("Command1", tr("New task"));
    Command2 = button("Command2", tr("Show"));
    Command3 = button("Command3", tr("Delete"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &f_iir::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &f_iir::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &f_iir::Command3_Click);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, gri);
    Command1->setFocus();
}

void f_iir::layOut(const QSize& frame) {
    const int dw = frame.width() - jot::px(kFrame.width());
    const int dh = frame.height() - jot::px(kFrame.height());
    // The find line, while it is shown, takes the top of the grid's room.
    int findHeight = 0;
    if (m_findLine && !m_findLine->isHidden()) {
        findHeight = m_findLine->sizeHint().height() + jot::px(kGrid.top());
        const int said = m_findHidden->sizeHint().width();
        const int width = jot::px(kGrid.width()) + dw - said - jot::px(kGrid.left());
        m_findLine->setGeometry(jot::px(kGrid.left()), jot::px(kGrid.top()), width,
                                m_findLine->sizeHint().height());
        m_findHidden->setGeometry(m_findLine->geometry().right() + 1 + jot::px(kGrid.left()),
                                  jot::px(kGrid.top()), said, m_findLine->sizeHint().height());
    }
    gri->setGeometry(jot::px(kGrid.left()), jot::px(kGrid.top()) + findHeight,
                     jot::px(kGrid.width()) + dw, jot::px(kGrid.height()) + dh - findHeight);
    const std::pair<QPushButton*, int> buttons[] = {
        {Command1, 360}, {Command2, 3240}, {Command3, 6240}};
    for (const auto& [b, left] : buttons)
        b->setGeometry(jot::px(left) + dw / 2, jot::px(kButtonTop) + dh, jot::px(kButton.width()),
                       jot::px(kButton.height()));
}

void f_iir::Form_Load(const QString& dataDir) {
    m_shared.lastOpenedSlot = 0;
    m_shared.slotTable.fill(0);
    m_quitting = false;
    m_shared.autoSave = true;
    m_shared.unsavedChanges = false;

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_workArea = jot::mesurer_bureau(screen->availableGeometry());
    m_dataDir = dataDir;
    m_login->setChecked(jot::startsAtLogIn());
    m_tb->setChecked(jot::startInTray(m_dataDir));
    m_sound->setChecked(jot::playsSound(m_dataDir));
    m_ontop->setChecked(jot::hasMarker(m_dataDir, jot::kOnTopFile));
    m_workspaces->setChecked(jot::hasMarker(m_dataDir, jot::kAllWorkspacesFile));
    m_notices->setSound(m_sound->isChecked());
    // Started in the tray, the program must know at once whether there is one.
    if (m_tb->isChecked())
        m_notices->addIcon();
    else
        m_notices->addIconSoon();

    // Said at every start that keeps the tasks elsewhere, before any warning of the read.
    m_dataDirNotice = jot::dataDirNotice(m_dataDir);
    if (!m_dataDirNotice.isEmpty()) {
        qWarning().noquote() << m_dataDirNotice;
        showWarning(m_dataDirNotice);
    }

    m_shared.list.reset();
    m_shared.file.setDirectory(m_dataDir);
    m_deleted.setDirectory(m_dataDir);
    m_shared.file.lire_liste(m_shared.list);
    // A sync tool may have set this computer's version aside while Jotlark was not running.
    m_shared.mergeOtherWriter();
    m_keeper.load(jot::notePlacesPath(m_dataDir));
    reopenNotes();
    selectRow(1);
    // Row 1 is current, but an empty list's placeholder shows no highlight.
    if (m_shared.list.isPlaceholder(1))
        gri->selectionModel()->clearSelection();

    if (!m_tb->isChecked())
        restaurer_fenetre_principale();
    else if (!hasTray())
        showMinimised(); // never out of reach: a task bar button instead

    // Alarms that fell due while the program was not running ring now, not at the next
    // quarter hour; queued after the tray icon, so that the tray can tell them too.
    QTimer::singleShot(0, this, [this] {
        if (checkAlarms(jot::now()))
            m_shared.sauver_liste();
    });
    startSync();
}

void f_iir::showMinimised() {
    // Sized first: a window that still resizes itself as it is mapped comes up normal on X11.
    adjustSize();
    showMinimized();
}

bool f_iir::hasTray() const {
    return m_notices->hasTray();
}

void f_iir::restaurer_fenetre_principale() {
    const bool wasShown = isVisible();
    setWindowState(windowState() &
                   ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    show();
    raise();
    activateWindow();
    centre();
    // A window just mapped is not framed yet, so its frame size was the bare window's:
    // centre it again once it is on screen.
    if (!wasShown && windowHandle())
        windowHandle()->installEventFilter(this);
}

void f_iir::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect s = screen->geometry();
    const QSize w = frameGeometry().size();
    move(s.left() + static_cast<int>(std::floor((s.width() - w.width()) / 2.0)),
         s.top() + static_cast<int>(std::floor((s.height() - w.height()) / 2.0)));
}

void f_iir::showWarning(const QString& message) {
    m_lineWarning = message;
    m_lineNote.clear(); // a warning matters more; Undo stays in the Edit menu
    updateLine();
    m_notices->warning(message);
}

void f_iir::clearWarning(const QString& message) {
    if (m_lineWarning != message)
        return; // a later warning still holds
    // Where the tasks are kept stays said for the whole run.
    m_lineWarning = m_dataDirNotice;
    updateLine();
}

void f_iir::sayOnLine(const QString& html) {
    m_lineNote = html;
    m_lineNoteTimer->start();
    updateLine();
}

void f_iir::updateLine() {
    const bool note = !m_lineNote.isEmpty();
    m_warning->setTextFormat(note ? Qt::RichText : Qt::PlainText);
    m_warning->setText(note ? m_lineNote : m_lineWarning);
    // The line may be too short for all of a warning.
    m_warning->setToolTip(note ? QString() : m_lineWarning);
    statusBar()->setVisible(note || !m_lineWarning.isEmpty());
}

void f_iir::m_tache_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void f_iir::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Hidden once the state change is over; without a tray it stays in the task bar.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && hasTray())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized() && hasTray())
                    hide();
            },
            Qt::QueuedConnection);
}

void f_iir::keyPressEvent(QKeyEvent* event) {
    if (alone(*event) && event->key() == Qt::Key_Escape && !m_findLine->isHidden()) {
        closeFind();
        return;
    }
    // Reached by the keys that no control took: a focused button takes Enter itself.
    if (isEnterKey(*event)) {
        Command1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool f_iir::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        layOut(static_cast<QResizeEvent*>(event)->size());
    // Enter in the find line shows the task found, not a new one.
    if (watched == m_findLine && event->type() == QEvent::KeyPress &&
        isEnterKey(*static_cast<QKeyEvent*>(event))) {
        Command2->click();
        return true;
    }
    if (watched == gri && event->type() == QEvent::KeyPress) {
        // On the grid, Enter shows the current task and Delete deletes it.
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            Command2->click();
            return true;
        }
        if (alone(key) && key.key() == Qt::Key_Delete) {
            Command3->click();
            return true;
        }
    }
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        centre();
    }
    if (watched == gri->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        gri_DblClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void f_iir::mPopRestore_Click() {
    restaurer_fenetre_principale();
}
