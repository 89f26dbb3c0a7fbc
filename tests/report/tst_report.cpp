#include "report/report.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using L = QStringList;

namespace {
const QString kDashes(106, QLatin1Char('-'));
const QString kAlarm = QStringLiteral("Monday 12/07 9:30 am");
} // namespace

class TstReport : public QObject {
    Q_OBJECT
private slots:
    void report_data();
    void report();
};

void TstReport::report_data() {
    QTest::addColumn<L>("texts");
    QTest::addColumn<L>("alarms");
    QTest::addColumn<L>("lines"); // after the header
    QTest::newRow("empty list") << L() << L() << L();
    QTest::newRow("one task") << L{"Buy"} << L() << L{"Buy"};
    QTest::newRow("blank task") << L{"a", "   ", "b"} << L{"", kAlarm} << L{"a", kDashes, "b"};
    QTest::newRow("leading spaces") << L{"  a"} << L{kAlarm} << L{"  a", "Alarm on the " + kAlarm};
    QTest::newRow("three lines") << L{"a\r\nb\r\nc", "d"} << L() << L{"a", "b", "c", kDashes, "d"};
    QTest::newRow("alarm of spaces") << L{"a"} << L{"  "} << L{"a"};
    QTest::newRow("tab task, line-break alarm")
        << L{"\t"} << L{"\r\n"} << L{"\t", "Alarm on the ", ""};
    QTest::newRow("100 tasks, 99 separators")
        << L(100, "a") << L() << L(100, "a").join('\n' + kDashes + '\n').split('\n');
}

void TstReport::report() {
    QFETCH(L, lines);
    QFETCH(L, texts);
    QFETCH(L, alarms);
    QList<jot::TaskRow> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.append({"Le 12/01 à 09:00 am", texts[i], alarms.value(i), QString(), "1"});
    jot::TaskList liste;
    QAbstractItemModelTester tester(&liste, QAbstractItemModelTester::FailureReportingMode::QtTest);
    liste.setRows(rows);
    const QString text = jot::preparer_rapport(liste, QDate(2026, 12, 5));
    QCOMPARE(text, "[JOTLK]\t\t\tTasks the 12/05/2026\r\n\r\n\r\n" + (lines << "").join("\r\n"));
}

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
