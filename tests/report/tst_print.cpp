#include "common/tempdatahome.h"
#include "report/print.h"
#include "report/report.h"

#include <QPrinter>
#include <QProcess>
#include <QtTest>

class TstPrint : public QObject {
    Q_OBJECT
private slots:
    void printsWholeReport_data() {
        QTest::addColumn<int>("tasks");
        QTest::newRow("empty list") << 0;
        QTest::newRow("100 tasks over several pages") << 100;
    }
    // Printed whole into one PDF, whatever page range was left on the printer.
    void printsWholeReport() {
        QFETCH(int, tasks);
        jot::TaskList liste;
        liste.setRows(QList<jot::TaskRow>(tasks, {"", "a task\r\nof two lines", "", "", ""}));
        const QString text = jot::preparer_rapport(liste, QDate(2026, 12, 5));
        TempDataHome home;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(home.path() + "/report.pdf");
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        QVERIFY(jot::printReport(printer, text));
        QProcess pdf;
        pdf.start("pdftotext", {"-layout", printer.outputFileName(), "-"});
        QVERIFY2(pdf.waitForFinished(30000) && pdf.exitCode() == 0, "pdftotext is needed");
        const QString printed = QString::fromUtf8(pdf.readAllStandardOutput());
        QVERIFY(printed.count('\f') >= (tasks ? 2 : 1)); // laid out at the printer's resolution
        QCOMPARE(printed.simplified(), text.simplified());
        printer.setOutputFileName(home.path() + "/no such dir/report.pdf");
        QVERIFY(!jot::printReport(printer, text)); // a failure is not reported as done
    }
};

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
