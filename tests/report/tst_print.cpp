// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/print.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QtTest>

namespace {
// What a poppler-utils program says of a file.
QString poppler(const char* program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("%s (poppler-utils) is needed", program);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TstPrint : public QObject {
    Q_OBJECT
private slots:
    // Printed whole into one PDF, titled for print queues; lines wrapped at page breaks are
    // each printed once.
    void printsWholeReport() {
        QString text; // 50 lines of 100 words, each wrapped on the page
        for (int w = 0; w < 5000; ++w)
            text += QStringLiteral("w%1").arg(w) + (w % 100 == 99 ? "\r\n" : " ");
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath("report.pdf"));
        QVERIFY(jot::printReport(printer, text));
        const QString printed = poppler("pdftotext", {"-layout", printer.outputFileName(), "-"});
        QVERIFY(printed.count('\f') >= 2); // laid out at the printer's resolution
        QCOMPARE(printed.simplified(), text.simplified());
        const QRegularExpression title("^Title: +Jotlark tasks$",
                                       QRegularExpression::MultilineOption);
        QVERIFY(poppler("pdfinfo", {printer.outputFileName()}).contains(title));
    }

    // The dialog offers no page set and no page range, which would print part of the report;
    // copies stay.
    void dialogOffersWholeReport() {
        QStringList offered;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            for (const char* name : {"pageSetCombo", "pagesRadioButton", "pagesLineEdit", "copies"})
                if (auto* w = dialog->findChild<QWidget*>(name);
                    w && w->parent()->objectName() != "jot_withheld")
                    offered << name;
            dialog->reject();
        });
        jot::printWithDialog(nullptr, QStringLiteral("report"));
        QCOMPARE(offered, QStringList{"copies"});
    }
};

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
