#include "report/report.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using jot::TaskRow;

namespace {
const QString kHeader = QStringLiteral("[JOTLK]\t\t\tTasks the 12/05/2026\r\n\r\n\r\n");
const QString kDashes = QString(106, QLatin1Char('-')) + QStringLiteral("\r\n");

TaskRow task(const QString& text, const QString& alarm = {}) {
    TaskRow r;
    r[jot::ColStamp] = QStringLiteral("Le 12/01 à 09:00 am");
    r[jot::ColText] = text;
    r[jot::ColAlarm] = alarm;
    r[jot::ColFired] = QStringLiteral("0");
    return r;
}
} // namespace

Q_DECLARE_METATYPE(QList<TaskRow>)

class TstReport : public QObject {
    Q_OBJECT
private slots:
    void report_data();
    void report();
    void headerDate_data();
    void headerDate();
};

void TstReport::report_data() {
    QTest::addColumn<QList<TaskRow>>("rows");
    QTest::addColumn<QString>("expected");

    // setRows({}) leaves the placeholder row of an empty list.
    QTest::newRow("empty list") << QList<TaskRow>{} << kHeader;
    QTest::newRow("one task, no separator") << QList<TaskRow>{task(QStringLiteral("Buy bread"))}
                                            << kHeader + QStringLiteral("Buy bread\r\n");
    QTest::newRow("two tasks, alarm on the second")
        << QList<TaskRow>{task(QStringLiteral("Buy bread")),
                          task(QStringLiteral("Call Anna"), QStringLiteral("Monday 12/07 9:30 am"))}
        << kHeader + QStringLiteral("Buy bread\r\n") + kDashes +
               QStringLiteral("Call Anna\r\nAlarm on the Monday 12/07 9:30 am\r\n");
    QTest::newRow("spaces-only task left out with its alarm")
        << QList<TaskRow>{task(QStringLiteral("First")),
                          task(QStringLiteral("   "), QStringLiteral("Monday 12/07 9:30 am")),
                          task(QString(), QStringLiteral("Tuesday 12/08 1:00 pm")),
                          task(QStringLiteral("Last"))}
        << kHeader + QStringLiteral("First\r\n") + kDashes + QStringLiteral("Last\r\n");
    QTest::newRow("blank rows at both ends leave no stray separator")
        << QList<TaskRow>{task(QStringLiteral(" ")), task(QStringLiteral("Only")),
                          task(QStringLiteral("  "))}
        << kHeader + QStringLiteral("Only\r\n");
    QTest::newRow("leading and trailing spaces kept")
        << QList<TaskRow>{task(QStringLiteral("   indented  "),
                               QStringLiteral(" Friday 12/11 12:45 pm "))}
        << kHeader + QStringLiteral("   indented  \r\nAlarm on the  Friday 12/11 12:45 pm \r\n");
    QTest::newRow("three-line task")
        << QList<TaskRow>{task(QStringLiteral("line one\r\nline two\r\nline three")),
                          task(QStringLiteral("next"))}
        << kHeader + QStringLiteral("line one\r\nline two\r\nline three\r\n") + kDashes +
               QStringLiteral("next\r\n");
    QTest::newRow("alarm of spaces only gives no alarm line")
        << QList<TaskRow>{task(QStringLiteral("Water plants"), QStringLiteral("    "))}
        << kHeader + QStringLiteral("Water plants\r\n");
    QTest::newRow("tab-only task is printed")
        << QList<TaskRow>{task(QStringLiteral("\t"))} << kHeader + QStringLiteral("\t\r\n");
    QTest::newRow("line-break-only task is printed")
        << QList<TaskRow>{task(QStringLiteral("\r\n"))} << kHeader + QStringLiteral("\r\n\r\n");

    QList<TaskRow> hundred;
    QString expected = kHeader;
    for (int i = 1; i <= 100; ++i) {
        hundred << task(QStringLiteral("Task %1").arg(i));
        expected += (i > 1 ? kDashes : QString()) + QStringLiteral("Task %1\r\n").arg(i);
    }
    QTest::newRow("100 tasks") << hundred << expected;
}

void TstReport::report() {
    QFETCH(QList<TaskRow>, rows);
    QFETCH(QString, expected);

    jot::TaskList liste;
    QAbstractItemModelTester tester(&liste, QAbstractItemModelTester::FailureReportingMode::QtTest);
    liste.setRows(rows);
    const QString report = jot::preparer_rapport(liste, QDate(2026, 12, 5));
    QCOMPARE(report, expected);
    // Every line ends with CR LF: no bare LF may slip into the printed text.
    QCOMPARE(report.count(QLatin1Char('\n')), report.count(QStringLiteral("\r\n")));
    if (rows.size() == 100)
        QCOMPARE(report.count(kDashes), 99);
    // Reading the list must leave it as it was.
    QCOMPARE(liste.rows(), qMax<int>(rows.size(), 1) + 1);
    for (int i = 0; i < rows.size(); ++i)
        for (int c = 0; c < jot::kColumns; ++c)
            QCOMPARE(liste.cell(i + 1, c), rows[i][c]);
}

void TstReport::headerDate_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("header");
    QTest::newRow("5 December 2026") << QDate(2026, 12, 5) << QStringLiteral("12/05/2026");
    QTest::newRow("single-digit month and day")
        << QDate(2027, 1, 3) << QStringLiteral("01/03/2027");
    QTest::newRow("leap day") << QDate(2028, 2, 29) << QStringLiteral("02/29/2028");
}

void TstReport::headerDate() {
    QFETCH(QDate, day);
    QFETCH(QString, header);
    jot::TaskList liste;
    const QString report = jot::preparer_rapport(liste, day);
    QCOMPARE(report,
             QStringLiteral("[JOTLK]\t\t\tTasks the ") + header + QStringLiteral("\r\n\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
