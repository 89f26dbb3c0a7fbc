// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of Jotlark's start-up: a bare Qt Widgets program with the same main window
// (menus, grid, three buttons, same sizes), and nothing else: no tray, no files, no lock.
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Jotlark"));
    for (const char* menu : {"&File", "&List", "&Options", "&?"})
        w.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Item"));
    auto* frame = new QWidget(&w);
    frame->setMinimumSize(576, 194);
    w.setCentralWidget(frame);
    QStandardItemModel model(1, 5);
    model.setHorizontalHeaderLabels({"", "Task", "Alarm", "", ""});
    auto* grid = new QTableView(frame);
    grid->setModel(&model);
    grid->setGeometry(2, 8, 573, 153);
    grid->verticalHeader()->hide();
    int left = 24;
    for (const char* caption : {"New task", "Show", "Delete"}) {
        auto* b = new QPushButton(QString::fromLatin1(caption), frame);
        b->setGeometry(left, 168, 137, 25);
        left += 195;
    }
    w.show();
    return app.exec();
}
