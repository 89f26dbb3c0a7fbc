// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/print.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace jot {

namespace {

// The dialog's own controls that would print part of the report: the page set ("Odd pages")
// and the "Pages" field. The dialog shows them again whenever the printer changes, so they
// move to a holder that is never shown; the dialog still finds them.
void withholdPageChoice(QPrintDialog& dialog) {
    auto* holder = new QWidget(&dialog);
    holder->setObjectName(QStringLiteral("jot_withheld"));
    holder->hide();
    for (const char* name : {"pageSetLabel", "pageSetCombo", "pagesRadioButton", "pagesLineEdit"}) {
        if (auto* w = dialog.findChild<QWidget*>(QLatin1String(name)))
            w->setParent(holder);
    }
}

} // namespace

void printWithDialog(QWidget* parent, const QString& report) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    // The report is always printed whole: no selection, page range, page set or current page
    // to pick; copies and orientation stay. Print to file stays: without a printer it is how
    // the report becomes a PDF.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    withholdPageChoice(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printReport(printer, report); // a failure ends the command silently
}

bool printReport(QPrinter& printer, const QString& report) {
    if (printer.printerState() == QPrinter::Error)
        return false;
    // Whatever range a caller left on the printer, the report goes out whole.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    // What print queues and PDF viewers show as the title.
    printer.setDocName(QCoreApplication::translate("jot::printReport", "Jotlark tasks"));

    QTextDocument doc;
    doc.setPlainText(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Laid out at the printer's resolution, in device pixels, on the printable area less a
    // 1 cm border of our own; no page numbers, header or footer.
    doc.documentLayout()->setPaintDevice(&printer);
    doc.setDocumentMargin(0);
    const qreal border = printer.resolution() / 2.54;
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size() - QSizeF(2, 2) * border;
    doc.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Line by line, each on the page the layout put it on: a line pushed past a page break is
    // drawn there only, never also clipped at the foot of the page before.
    int currentPage = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QPointF blockTop = doc.documentLayout()->blockBoundingRect(b).topLeft();
        const QTextLayout* layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int p = static_cast<int>((blockTop.y() + line.y()) / page.height());
            for (; currentPage < p; ++currentPage) {
                if (!printer.newPage())
                    return false;
            }
            line.draw(&painter, QPointF(border, border - p * page.height()) + blockTop);
        }
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace jot
