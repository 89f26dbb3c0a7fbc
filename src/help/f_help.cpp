// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/f_help.h"

#include "alarms/alarmtext.h"
#include "ui/colours.h"
#include "ui/programicon.h"
#include "ui/twips.h"
#include "ui/windowrole.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

using jot::px;

namespace {
// The help lines were broken by hand for a narrow font: shrink the box's font, within reason,
// until the longest line fits, so that lines break where the text breaks them.
void fitLongestLine(QPlainTextEdit* box, const QString& text) {
    const qreal room =
        box->width() - 2 * box->frameWidth() -
        box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box->verticalScrollBar()) -
        2 * box->document()->documentMargin() - 1;
    QFont font = box->font();
    const auto widest = [&font, &text] {
        const QFontMetricsF m(font);
        qreal w = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            w = qMax(w, m.horizontalAdvance(line.trimmed()));
        return w;
    };
    while (widest() > room && font.pointSizeF() > 7.5)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    box->setFont(font);
}
} // namespace

f_help::f_help()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("f_help"));
    setWindowTitle(tr("Help"));
    jot::announceWidgetWindowsAsFrames();
    setWindowIcon(jot::programIcon());
    setPalette(jot::surfacePalette(jot::kPaleYellow));
    setAutoFillBackground(true);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Help text"));
    Text1->setPalette(jot::systemPalette(Text1)); // the text box keeps the system's colours
    Text1->setGeometry(px(120), px(120), px(6255), px(4215));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Read-only, yet the keyboard still scrolls and selects; Tab moves on to "Ok".
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setTabChangesFocus(true);
    const QString text =
        QString(helpText() + QStringLiteral("\r\n") + moreText() + QStringLiteral("\r\n") +
                undoText() + QStringLiteral("\r\n") + calendarText() + QStringLiteral("\r\n") +
                checklistText() + QStringLiteral("\r\n") + syncText() + QStringLiteral("\r\n") +
                notesText())
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fitLongestLine(Text1, text);
    Text1->setPlainText(text);

    Command1 = new QPushButton(tr("Ok"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setPalette(jot::systemPalette(Command1));
    Command1->setGeometry(px(2520), px(4560), px(1575), px(375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &f_help::Command1_Click);

    setTabOrder(Text1, Command1);
    Text1->setFocus();

    // Fixed client area, centred on the screen each time the window is created.
    const QSize client(px(6465), px(5130));
    setFixedSize(client);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), client);
        r.moveCenter(screen->geometry().center());
        setGeometry(r);
    }
}

const QString& f_help::helpText() {
    // Translated once: the language is the user's for the whole run.
    static const QString text =
        tr("Create a task :\r\n"
           "---------------------\r\n"
           "Click on \"New\" and type the task content. You can add a date/time \r\n"
           "alarm if you click on \"Alarm\".\r\n"
           "Close the window by clicking on the right up cross, the informations \r\n"
           "will be saved in any case.\r\n"
           "You can also create a task by right clicking the icon in the task bar \r\n"
           "and select \"New\".\r\n"
           "\r\n"
           "Show a task :\r\n"
           "--------------------\r\n"
           "If the window is not already shown, you can show it by selecting it in \r\n"
           "the list and by clicking on \"Show\". You can also double-click in the \r\n"
           "list.\r\n"
           "\r\n"
           "Delete a task :\r\n"
           "---------------------\r\n"
           "Select it in the list and click on \"Delete\".\r\n");
    return text;
}

const QString& f_help::moreText() {
    static const QString text =
        tr("Snooze :\r\n"
           "--------\r\n"
           "When an alarm rings, its notification offers \"Snooze\", which rings \r\n"
           "it again 10 minutes later, and \"Snooze 1 hour\", an hour later, to \r\n"
           "the minute: answered at %1, they ring at %2 and at %3.\r\n"
           "\r\n"
           "Repeat an alarm :\r\n"
           "-----------------\r\n"
           "Choose in \"Repeat\" how the alarm comes back: every day, every \r\n"
           "weekday (Monday to Friday), every week, every month or every year. \r\n"
           "When it rings, it moves on to its next time by itself. For a day \r\n"
           "after the 16 listed, choose \"Other date…\" in the day list.\r\n"
           "\r\n"
           "Add a task from anywhere :\r\n"
           "--------------------------\r\n"
           "jotlark --new \"Call Anna\" --at 10:30 adds a task with an alarm to \r\n"
           "the running Jotlark; bind it to a key of your desktop to add tasks \r\n"
           "without opening Jotlark first.\r\n")
            // The example's times as the user writes them.
            .arg(jot::shownTime(QTime(16, 45)), jot::shownTime(QTime(16, 55)),
                 jot::shownTime(QTime(17, 45)));
    return text;
}

const QString& f_help::undoText() {
    static const QString text =
        tr("Undo a delete :\r\n"
           "----------------\r\n"
           "\"Edit\" > \"Undo delete\" (Ctrl+Z) brings back the last deleted task, \r\n"
           "or all that \"Delete all\" removed, at the end of the list: up to \r\n"
           "the last 10 deletions while Jotlark runs. Deleted tasks are also \r\n"
           "kept in planifs.txt.deleted, beside the list.\r\n"
           "A new task whose note you close with no text and no alarm is not \r\n"
           "kept.\r\n"
           "\r\n"
           "Alarms that rang :\r\n"
           "------------------\r\n"
           "The list shows an alarm that has rung in grey. A note whose alarm \r\n"
           "rings stays red, even closed and shown again, until you snooze the \r\n"
           "alarm, change it or choose \"No alarm\".\r\n");
    return text;
}

const QString& f_help::checklistText() {
    static const QString text =
        tr("Checklists :\r\n"
           "------------\r\n"
           "A line of a note that begins with \"[ ] \" is a checklist item, \r\n"
           "with \"[x] \" a done one, shown struck through. Click its brackets, \r\n"
           "or press Ctrl+Return on its line, to tick or untick it; \r\n"
           "Ctrl+Shift+L turns a line into an item or back. The list shows \r\n"
           "how many items are done after the task's first line (\"3/5\").\r\n") +
        QStringLiteral("\r\n") +
        tr("Finding a task :\r\n"
           "----------------\r\n"
           "\"List\" > \"Find...\" (Ctrl+F) shows a line over the list: only the \r\n"
           "tasks whose text or alarm holds what you type are shown, whatever \r\n"
           "its case and accents. Escape shows them all again. Show all, Hide \r\n"
           "all, Delete all and Print still take every task.\r\n");
    return text;
}

const QString& f_help::calendarText() {
    static const QString text =
        tr("Calendar files :\r\n"
           "----------------\r\n"
           "\"File\" > \"Export to calendar file…\" writes every task, with its \r\n"
           "alarm and how it repeats, to an .ics file that Thunderbird, \r\n"
           "Evolution or a phone's task app imports. \"Import calendar \r\n"
           "file…\" adds the open tasks of such a file, except those already \r\n"
           "here. From a terminal, jotlark --export tasks.ics writes the \r\n"
           "same file (- for the standard output).\r\n");
    return text;
}

const QString& f_help::syncText() {
    static const QString text =
        tr("Sync with your phone :\r\n"
           "----------------------\r\n"
           "\"Options\" > \"Sync with a CalDAV server...\" keeps the list and a \r\n"
           "task list on a CalDAV server (Radicale, Nextcloud) the same; a \r\n"
           "phone syncs it through DAVx5 with Tasks.org. Type the server's \r\n"
           "address, your user name and password, click \"Connect\", pick a \r\n"
           "list or a new one. The password stays in the desktop's keyring. \r\n"
           "\"Stop syncing\" forgets the server; it never removes a task.\r\n");
    return text;
}

const QString& f_help::notesText() {
    static const QString text =
        tr("Notes in sight :\r\n"
           "----------------\r\n"
           "Drag a note's bottom right corner to make it larger. A note you \r\n"
           "moved or resized comes back there after \"Hide all\" and at the \r\n"
           "next start, and the notes open when Jotlark ends open again. \r\n"
           "\"Options\" > \"Notes on top\" keeps notes above other windows, \r\n"
           "\"Notes on every workspace\" shows them on each one (not under \r\n"
           "Wayland alone). A note whose alarm rings comes above the others.\r\n");
    return text;
}

void f_help::Command1_Click() {
    close();
}

void f_help::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Command1->click();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
