// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/printer_setup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace vtl {

void applyPrinterChoices(const PrinterChoices& choices, QPrinter& printer) {
    if (!choices.printerName.empty()) {
        printer.setPrinterName(QString::fromStdString(choices.printerName));
    }
    if (!choices.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(choices.outputFile));
    }
    if (choices.paperWidthMm > 0.0 && choices.paperHeightMm > 0.0) {
        // An exact match gives back the standard size the dialog offered, under its own name.
        printer.setPageSize(
            QPageSize(QSizeF(choices.paperWidthMm, choices.paperHeightMm), QPageSize::Millimeter,
                      QString::fromStdString(choices.paperName), QPageSize::ExactMatch));
    }
    printer.setPageOrientation(choices.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (choices.margins) {
        const PageMargins& m = *choices.margins;
        printer.setPageMargins(QMarginsF(m.left, m.top, m.right, m.bottom),
                               QPageLayout::Millimeter);
    }
}

PrinterChoices printerChoicesOf(const QPrinter& printer) {
    PrinterChoices choices;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        choices.outputFile = printer.outputFileName().toStdString();
    } else {
        choices.printerName = printer.printerName().toStdString();
    }
    const QPageLayout layout = printer.pageLayout();
    choices.landscape = layout.orientation() == QPageLayout::Landscape;
    const QPageSize paper = layout.pageSize();
    if (paper.isValid()) {
        const QSizeF size = paper.size(QPageSize::Millimeter);
        choices.paperName = paper.name().toStdString();
        choices.paperWidthMm = size.width();
        choices.paperHeightMm = size.height();
    }
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    choices.margins = PageMargins{margins.left(), margins.top(), margins.right(), margins.bottom()};
    return choices;
}

} // namespace vtl
