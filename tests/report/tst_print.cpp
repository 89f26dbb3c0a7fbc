#include "common/tempdatahome.h"
#include "report/print.h"
#include "report/report.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <QtTest>

namespace {
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("%s (poppler-utils) is needed", qPrintable(program));
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TstPrint : public QObject {
    Q_OBJECT
private slots:
    void printsWholeReport_data() {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("words"); // of each task's first line
        QTest::newRow("empty list") << 0 << 0;
        QTest::newRow("100 tasks over several pages") << 100 << 3;
        // Lines wrapped at page breaks: each is printed once, on one page.
        QTest::newRow("long lines") << 60 << 90;
    }
    // Printed whole into one PDF, whatever page range was left on the printer.
    void printsWholeReport() {
        QFETCH(int, tasks);
        QFETCH(int, words);
        QList<jot::TaskRow> rows;
        for (int t = 0; t < tasks; ++t) {
            QStringList line;
            for (int w = 0; w < words; ++w)
                line << QStringLiteral("t%1w%2").arg(t).arg(w);
            rows.append({"", line.join(' ') + "\r\nsecond line", "", "", ""});
        }
        jot::TaskList liste;
        liste.setRows(rows);
        const QString text = jot::preparer_rapport(liste, QDate(2026, 12, 5));
        TempDataHome home;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(home.path() + "/report.pdf");
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        QVERIFY(jot::printReport(printer, text));
        const QString printed = run("pdftotext", {"-layout", printer.outputFileName(), "-"});
        QVERIFY(printed.count('\f') >= (tasks ? 2 : 1)); // laid out at the printer's resolution
        QCOMPARE(printed.simplified(), text.simplified());
        const QRegularExpression title("^Title: +Jotlark tasks$",
                                       QRegularExpression::MultilineOption);
        QVERIFY(run("pdfinfo", {printer.outputFileName()}).contains(title));
        printer.setOutputFileName(home.path() + "/no such dir/report.pdf");
        QVERIFY(!jot::printReport(printer, text)); // a failure is not reported as done
    }

    // The dialog offers no way to print part of the report, but keeps the copies.
    void dialogOffersWholeReport() {
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            for (const char* name :
                 {"pageSetCombo", "pagesRadioButton", "pagesLineEdit", "copies"}) {
                auto* w = dialog->findChild<QWidget*>(QLatin1String(name));
                if (w && dialog->isAncestorOf(w) && w->window() == dialog &&
                    w->parentWidget()->objectName() != "jot_withheld")
                    seen << name;
            }
            dialog->reject();
        });
        jot::imprimer_rapport(nullptr, QStringLiteral("report"));
        QCOMPARE(seen, QStringList{"copies"});
    }
};

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
