#include "common/tempdatahome.h"
#include "report/print.h"
#include "report/report.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
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
    // Printed whole into one PDF, whatever page range was left on the printer; lines wrapped
    // at page breaks are each printed once.
    void printsWholeReport() {
        QList<jot::TaskRow> rows;
        for (int t = 0; t < 60; ++t) {
            QStringList line;
            for (int w = 0; w < 90; ++w)
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
        QVERIFY(printed.count('\f') >= 2); // laid out at the printer's resolution
        QCOMPARE(printed.simplified(), text.simplified());
        const QRegularExpression title("^Title: +Jotlark tasks$",
                                       QRegularExpression::MultilineOption);
        QVERIFY(run("pdfinfo", {printer.outputFileName()}).contains(title));
        printer.setOutputFileName(home.path() + "/no such dir/report.pdf");
        QVERIFY(!jot::printReport(printer, text)); // a failure is not reported as done
    }

    // The dialog offers no page set and no page range, which would print part of the report;
    // copies stay.
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
