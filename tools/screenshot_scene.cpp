// SPDX-License-Identifier: GPL-3.0-or-later
// The README's screenshot: the main window on the task file in XDG_DATA_HOME, at a fixed
// moment, with the first task's alarm ringing (its note red) and the second task shown.
// With --dark, under Fusion and a dark colour scheme like qt6ct's "darker".
#include "mainwin/f_iir.h"
#include "store/clock.h"

#include <QApplication>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (QApplication::arguments().contains(QStringLiteral("--dark"))) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }
    jot::setClockForTests([] { return QDateTime(QDate(2026, 12, 9), QTime(10, 45)); });
    f_iir w;
    w.Form_Load();
    // As a person and the clock would: the alarm timer ticks, then Show on the second task.
    QMetaObject::invokeMethod(w.findChild<QTimer*>(QStringLiteral("Timer1")), "timeout");
    auto* gri = w.findChild<QTableView*>(QStringLiteral("gri"));
    gri->setCurrentIndex(gri->model()->index(jot::TaskList::viewRow(2), 0));
    w.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    return app.exec();
}
