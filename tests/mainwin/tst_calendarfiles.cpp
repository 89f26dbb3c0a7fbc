// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "common/table.h"
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
struct ImportCase {
    QByteArray name, into, calendar; // the list imported into; what is imported, else the export
    QString said;
    QByteArray after;
};

class TstCalendarFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        jot::setClockForTests([] { return QDateTime({2027, 3, 15}, {9, 0}); });
    }
    void cleanup() { jot::setFileResponderForTests({}); }

    void exportThenImport_data() {
        const QString none = "did not fit: 0; repeats made one-time: 0.";
        testing::table<ImportCase>(
            {{"into an empty list", {}, {}, "Imported: 3; already here: 0; " + none, kList},
             {"into the same list", kList, {}, "Imported: 0; already here: 3; " + none, kList},
             {"not a calendar", task("x"), task("y"), "This file is not an iCalendar file.",
              task("x")}});
    }
    void exportThenImport() {
        QFETCH(ImportCase, row);
        QTemporaryDir dir;
        const QString file = dir.filePath("tasks.ics");
        jot::setFileResponderForTests([&](jot::FileChoice) { return file; });
        {
            testing::Program source(kList);
            source.trigger("m_exportCalendar");
        }
        QVERIFY(row.calendar.isEmpty() || testing::writeFile(file, row.calendar));
        testing::Program p(row.into);
        QString text;
        jot::setMessageResponderForTests([&](QMessageBox& box) {
            text = box.text();
            return QMessageBox::Ok;
        });
        p.trigger("m_importCalendar");
        QCOMPARE(text, row.said);
        QCOMPARE(p.fileBytes(), row.after);
    }
};

QTEST_MAIN(TstCalendarFiles)
#include "tst_calendarfiles.moc"
