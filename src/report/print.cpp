#include "report/print.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace jot {

void imprimer_rapport(QWidget* parent, const QString& report) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    // The report is always printed whole: no selection, page range or current page to pick.
    // Print to file stays: without a printer it is how the report becomes a PDF.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
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
    for (int p = 0; p < doc.pageCount(); ++p) {
        if (p > 0 && !printer.newPage())
            return false;
        painter.save();
        painter.translate(border, border - p * page.height());
        // A line pushed to the next page may touch this page's edge: a pixel less on each
        // side keeps it from being drawn on both.
        doc.drawContents(&painter,
                         QRectF(0, p * page.height() + 1, page.width(), page.height() - 2));
        painter.restore();
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace jot
