#include "common/tempdatahome.h"
#include "report/print.h"
#include "report/report.h"

#include <QPrinter>
#include <QProcess>
#include <QtTest>

using jot::TaskRow;

namespace {
TaskRow task(const QString& text, const QString& alarm = {}) {
    TaskRow r;
    r[jot::ColText] = text;
    r[jot::ColAlarm] = alarm;
    return r;
}

// The PDF's text, as pdftotext lays it out: pages end with a form feed.
QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Non-empty lines with runs of blanks (the header's tabs, layout padding) made one space.
QStringList printedLines(const QString& text) {
    QStringList lines;
    for (const QString& l : text.split(QRegularExpression(QStringLiteral("\r\n|\n|\f")))) {
        const QString s = l.simplified();
        if (!s.isEmpty())
            lines << s;
    }
    return lines;
}
} // namespace

Q_DECLARE_METATYPE(QList<TaskRow>)
Q_DECLARE_METATYPE(QPrinter::PrinterMode)

class TstPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printsWholeReport_data();
    void printsWholeReport();
    void unwritableFileFails();

private:
    TempDataHome m_home;
};

void TstPrint::initTestCase() {
    QVERIFY(m_home.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed to read the printed PDF");
}

void TstPrint::printsWholeReport_data() {
    QTest::addColumn<QList<TaskRow>>("rows");
    QTest::addColumn<int>("fromPage"); // a page range left over from the dialog
    QTest::addColumn<int>("minPages");
    QTest::addColumn<QPrinter::PrinterMode>("mode");

    QTest::newRow("empty list still prints its header")
        << QList<TaskRow>{} << 0 << 1 << QPrinter::ScreenResolution;
    QTest::newRow("tasks, alarm, three-line text")
        << QList<TaskRow>{task(QStringLiteral("Buy bread")),
                          task(QStringLiteral("Call Anna\r\nabout the car\r\nand the keys"),
                               QStringLiteral("Monday 12/07 9:30 am")),
                          task(QStringLiteral("   Water plants"))}
        << 0 << 1 << QPrinter::ScreenResolution;
    QList<TaskRow> hundred;
    for (int i = 1; i <= 100; ++i)
        hundred << task(QStringLiteral("Task number %1").arg(i),
                        i % 3 ? QString() : QStringLiteral("Friday 12/11 4:15 pm"));
    QTest::newRow("100 tasks over several pages")
        << hundred << 0 << 2 << QPrinter::ScreenResolution;
    QTest::newRow("page range ignored: whole report")
        << hundred << 2 << 2 << QPrinter::ScreenResolution;
    // The printer dialog's printer: the text is laid out at its resolution, not the screen's.
    QTest::newRow("high resolution") << hundred << 0 << 2 << QPrinter::HighResolution;
}

void TstPrint::printsWholeReport() {
    QFETCH(QList<TaskRow>, rows);
    QFETCH(int, fromPage);
    QFETCH(int, minPages);
    QFETCH(QPrinter::PrinterMode, mode);

    jot::TaskList liste;
    liste.setRows(rows);
    const QString report = jot::preparer_rapport(liste, QDate(2026, 12, 5));
    const QString file = m_home.path() + QStringLiteral("/%1.pdf").arg(QTest::currentDataTag());

    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (fromPage) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(fromPage, fromPage);
    }
    QVERIFY(jot::printReport(printer, report));

    const QString text = pdfText(file);
    QVERIFY2(!text.isEmpty(), "pdftotext could not read the printed file");
    QVERIFY(text.count(QLatin1Char('\f')) >= minPages);
    // Every line of the report, once and in order: nothing lost or doubled at page breaks.
    const QStringList printed = printedLines(text);
    QCOMPARE(printed, printedLines(report));
    QCOMPARE(printed.first(), QStringLiteral("[JOTLK] Tasks the 12/05/2026"));
    if (rows.size() == 100)
        QCOMPARE(printed.count(QString(106, QLatin1Char('-'))), 99);
}

void TstPrint::unwritableFileFails() {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = m_home.path() + QStringLiteral("/no such dir/report.pdf");
    printer.setOutputFileName(file);
    jot::TaskList liste;
    QVERIFY(!jot::printReport(printer, jot::preparer_rapport(liste, QDate(2026, 12, 5))));
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
