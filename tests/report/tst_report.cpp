// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <QtTest>

using L = QStringList;

// Every task that is not blank, its alarm beneath, dashes between tasks; only spaces are
// blank.
class TstReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void report_data() {
        QTest::addColumn<L>("tasks"); // text and alarm of each in turn
        QTest::addColumn<L>("lines"); // after the header
        const QString dashes(106, u'-'), alarm = QStringLiteral("Monday 12/07 9:30 am");
        QTest::newRow("empty list") << L() << L();
        QTest::newRow("blank task, alarm of spaces")
            << L{"a", "", "   ", alarm, "  b", "  "} << L{"a", dashes, "  b"};
        QTest::newRow("three lines, alarm")
            << L{"a\r\nb\r\nc", "", "d", alarm}
            << L{"a", "b", "c", dashes, "d", "Alarm on the " + alarm};
        QTest::newRow("tab task, line-break alarm")
            << L{"\t", "\r\n"} << L{"\t", "Alarm on the \r\n"};
    }
    void report() {
        QFETCH(L, tasks);
        QFETCH(L, lines);
        QList<jot::TaskRow> rows;
        for (int i = 0; i < tasks.size(); i += 2)
            rows.append({"Le 12/01 à 09:00 am", tasks[i], tasks[i + 1], QString(), "1"});
        jot::TaskList list;
        list.setRows(rows);
        QCOMPARE(jot::preparer_rapport(list, QDate(2026, 12, 5)),
                 "[JOTLK]\t\t\tTasks the 12/05/2026\r\n\r\n\r\n" + (lines << "").join("\r\n"));
    }
};

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
