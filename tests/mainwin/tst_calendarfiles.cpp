// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "store/clock.h"
#include "ui/filechooser.h"

using testing::task;

namespace {
const QByteArray kList = task("a", "Monday 03/15 10:10 am") +
                         task("b~c", "Tuesday 03/16 9:00 am", "weekly") +
                         task("rang", "Monday 03/15 8:00 am", "1");
} // namespace

// "Export to calendar file…" and "Import calendar file…" from the File menu: a list exported
// and imported elsewhere comes back whole, once; a file that is not a calendar adds nothing.
class TstCalendarFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        jot::setClockForTests([] { return QDateTime({2027, 3, 15}, {9, 0}); });
    }
    void cleanup() { jot::setFileResponderForTests({}); }

    void exportThenImport_data() {
        QTest::addColumn<QByteArray>("into");     // the list imported into
        QTest::addColumn<QByteArray>("calendar"); // what is imported; empty: the export
        QTest::addColumn<QString>("said");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("into an empty list")
            << QByteArray() << QByteArray()
            << "Imported: 3; already here: 0; did not fit: 0; repeats made one-time: 0." << kList;
        QTest::newRow("into the same list")
            << kList << QByteArray()
            << "Imported: 0; already here: 3; did not fit: 0; repeats made one-time: 0." << kList;
        QTest::newRow("not a calendar")
            << task("x") << task("y") << "This file is not an iCalendar file." << task("x");
    }
    void exportThenImport() {
        QFETCH(QByteArray, into);
        QFETCH(QByteArray, calendar);
        QFETCH(QString, said);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString file = dir.filePath("tasks.ics");
        jot::setFileResponderForTests([&](jot::FileChoice) { return file; });
        {
            testing::Program source(kList);
            source.trigger("m_exportCalendar");
        }
        if (!calendar.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(calendar) == calendar.size());
        }
        testing::Program p(into);
        QString text;
        jot::setMessageResponderForTests([&](QMessageBox& box) {
            text = box.text();
            return QMessageBox::Ok;
        });
        p.trigger("m_importCalendar");
        QCOMPARE(text, said);
        QCOMPARE(p.fileBytes(), after);
    }
};

QTEST_MAIN(TstCalendarFiles)
#include "tst_calendarfiles.moc"
