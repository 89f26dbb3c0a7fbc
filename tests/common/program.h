// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/harness.h"
#include "mainwin/f_iir.h"
#include "notes/f_test.h"
#include "store/autostart.h"
#include "store/startoption.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <memory>

// What the widget tests share: task files written by hand and a program started on them.
namespace testing {

// A task made on 03/15 at 08:00 am.
inline QByteArray task(const QByteArray& text, const QByteArray& alarm = {},
                       const QByteArray& mark = {}) {
    return record("Le 03/15 \xc3\xa0 08:00 am", text, alarm, mark);
}

// Whether the note is open and ringing.
inline bool red(const f_test* note) {
    return note && note->palette().color(QPalette::Window) == Qt::red;
}

// The offscreen platform says at every window what it cannot do: noise.
inline void quietOffscreen() {
    static const QtMessageHandler next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("This plugin does not support")))
                next(type, context, message);
        });
}

// A program started in a data home of its own, on a task file, start option and autostart
// entry written beforehand; its list is watched by a model tester and its saves are counted.
// A message box fails the test, unless the test answers it (after this start). A data
// directory given is used instead of the one in the data home; a sync.conf given is written.
struct Program {
    explicit Program(const QByteArray& taskFile = {}, bool startInTray = false,
                     bool startAtLogIn = false, const QString& dataDir = {},
                     const QByteArray& syncConf = {}) {
        if (!taskFile.isEmpty())
            writeFile(home.taskFile(), taskFile);
        if (!syncConf.isEmpty())
            writeFile(home.path() + QStringLiteral("/config/jotlark/sync.conf"), syncConf);
        if (startInTray)
            writeFile(home.dataDir() + jot::kStartOptionFile, {});
        if (startAtLogIn)
            jot::setStartAtLogIn(true, QCoreApplication::applicationFilePath());
        quietOffscreen();
        jot::setMessageResponderForTests([](QMessageBox&) {
            return QTest::qFail("unexpected message box", __FILE__, __LINE__), QMessageBox::Cancel;
        });
        if (dataDir.isEmpty())
            main->Form_Load();
        else
            main->Form_Load(dataDir);
    }

    const jot::TaskList& list() const { return main->shared().list; }
    QByteArray fileBytes() const { return readFile(home.taskFile()); }
    template <class T = QWidget> T* child(const char* name) const {
        return main->findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    void trigger(const char* action) const { child<QAction>(action)->trigger(); }
    // A timeout of Timer1, or of another of the main window's timers.
    void tick(const char* timer = "Timer1") const {
        QMetaObject::invokeMethod(child<QTimer>(timer), "timeout");
    }
    // A click on the row's task in the grid.
    void select(int row) const {
        auto* gri = child<QTableView>("gri");
        const QModelIndex i = gri->model()->index(jot::TaskList::viewRow(row), 0);
        gri->scrollTo(i);
        QTest::mouseClick(gri->viewport(), Qt::LeftButton, {}, gri->visualRect(i).center());
    }
    void show(int row) const {
        select(row);
        click("Command2");
    }
    // The open note in a slot, or the row's.
    static f_test* note(int slot) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<f_test*>(w); n && n->isVisible() && n->slot() == slot)
                return n;
        return nullptr;
    }
    f_test* noteOf(int row) const {
        f_test* n = note(list().cell(row, jot::ColSlot).toInt());
        return n && n->row() == row ? n : nullptr;
    }

    TempDataHome home; // outlives the program, which writes into it to the end
    std::unique_ptr<f_iir> main = std::make_unique<f_iir>();
    QAbstractItemModelTester tester{child<QTableView>("gri")->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest};
    std::unique_ptr<QSignalSpy> saves =
        std::make_unique<QSignalSpy>(&main->shared().file, &jot::TaskFile::saved);
};

} // namespace testing
