// The README's screenshot: the main window on the task file in XDG_DATA_HOME, at a fixed
// moment, with the first task's alarm ringing (its note red) and the second task shown.
#include "mainwin/f_iir.h"
#include "store/clock.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    jot::setClockForTests([] { return QDateTime(QDate(2026, 12, 9), QTime(10, 45)); });
    f_iir w;
    w.Form_Load();
    w.Timer1_Timer();
    w.selectRow(2);
    w.Command2_Click();
    return app.exec();
}
