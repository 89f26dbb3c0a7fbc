#include "report/report.h"

#include <QtTest>

using L = QStringList;

class TstReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void report_data() {
        QTest::addColumn<L>("texts");
        QTest::addColumn<L>("alarms");
        QTest::addColumn<L>("lines"); // after the header
        const QString dashes(106, u'-'), alarm = QStringLiteral("Monday 12/07 9:30 am");
        QTest::newRow("empty list") << L() << L() << L();
        QTest::newRow("blank task, alarm of spaces")
            << L{"a", "   ", "  b"} << L{"", alarm, "  "} << L{"a", dashes, "  b"};
        QTest::newRow("leading spaces")
            << L{"  a"} << L{alarm} << L{"  a", "Alarm on the " + alarm};
        QTest::newRow("three lines")
            << L{"a\r\nb\r\nc", "d"} << L() << L{"a", "b", "c", dashes, "d"};
        QTest::newRow("tab task, line-break alarm")
            << L{"\t"} << L{"\r\n"} << L{"\t", "Alarm on the ", ""};
    }
    void report() {
        QFETCH(L, texts);
        QFETCH(L, alarms);
        QFETCH(L, lines);
        QList<jot::TaskRow> rows;
        for (int i = 0; i < texts.size(); ++i)
            rows.append({"Le 12/01 à 09:00 am", texts[i], alarms.value(i), QString(), "1"});
        jot::TaskList liste;
        liste.setRows(rows);
        const QString text = jot::preparer_rapport(liste, QDate(2026, 12, 5));
        QCOMPARE(text,
                 "[JOTLK]\t\t\tTasks the 12/05/2026\r\n\r\n\r\n" + (lines << "").join("\r\n"));
    }
};

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
