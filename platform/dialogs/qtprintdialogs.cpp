// The printing dialogs on Qt's own print and page-setup dialogs. Qt's dialogs work on a QPrinter, so
// each dialog gets one configured from the state and the user's choices are read back from it. The
// built-in PDF printer is Qt's "print to file (PDF)" entry of the printer list.
#include "platform/dialogs/qtdialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace platform {

namespace {

QString chosenName(const PrinterSetup& setup) {
    return setup.printerIndex >= 0 && setup.printerIndex < setup.printers.size() ? setup.printers.at(setup.printerIndex)
                                                                                : QString();
}

std::unique_ptr<QPrinter> printerFor(const PrinterSetup& setup) {
    const QString name = chosenName(setup);
    std::unique_ptr<QPrinter> printer;
    if (name.isEmpty() || name == pdfPrinterName()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    }
    printer->setPageSize(setup.pageSize);
    printer->setPageOrientation(setup.orientation);
    return printer;
}

// The printer, paper and orientation the user left in a Qt dialog.
void readBack(const QPrinter& printer, PrinterSetup& setup) {
    const QString name = printer.outputFormat() == QPrinter::PdfFormat ? pdfPrinterName() : printer.printerName();
    const int index = setup.printers.indexOf(name);
    if (index >= 0) setup.printerIndex = index;
    setup.pageSize = printer.pageLayout().pageSize();
    setup.orientation = printer.pageLayout().orientation();
}

double unitsPerMillimetre(MeasureUnits units) { return units == MeasureUnits::HundredthsOfMillimetre ? 100.0 : 1000.0 / 25.4; }

}  // namespace

bool QtDialogs::print(QWidget* owner, PrintDialogState& state) {
    auto printer = printerFor(state.printer);
    printer->setCopyCount(state.copies);
    printer->setCollateCopies(state.collate);
    QPrintDialog dialog(printer.get(), owner);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintCollateCopies |
                                                       QAbstractPrintDialog::PrintShowPageSize;
    if (state.allowPrintToFile) options |= QAbstractPrintDialog::PrintToFile;
    if (state.allowPageNums) options |= QAbstractPrintDialog::PrintPageRange;
    if (state.allowSelection) options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    dialog.setMinMax(std::max(1, state.minPage), std::max(1, state.maxPage));
    if (state.fromPage > 0 && state.toPage >= state.fromPage) dialog.setFromTo(state.fromPage, state.toPage);
    switch (state.range) {
    case PrintRange::AllPages: dialog.setPrintRange(QAbstractPrintDialog::AllPages); break;
    case PrintRange::Selection: dialog.setPrintRange(QAbstractPrintDialog::Selection); break;
    case PrintRange::PageNums: dialog.setPrintRange(QAbstractPrintDialog::PageRange); break;
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    readBack(*printer, state.printer);
    state.copies = std::max(1, printer->copyCount());
    state.collate = printer->collateCopies();
    state.printToFile = printer->outputFormat() == QPrinter::PdfFormat;
    switch (dialog.printRange()) {
    case QAbstractPrintDialog::Selection: state.range = PrintRange::Selection; break;
    case QAbstractPrintDialog::PageRange: state.range = PrintRange::PageNums; break;
    default: state.range = PrintRange::AllPages; break;
    }
    if (state.range == PrintRange::PageNums) {
        state.fromPage = dialog.fromPage();
        state.toPage = dialog.toPage();
    }
    return true;
}

bool QtDialogs::pageSetup(QWidget* owner, PageSetupState& state) {
    auto printer = printerFor(state.printer);
    const double perMm = unitsPerMillimetre(state.units);
    printer->setPageMargins(QMarginsF(state.marginLeft / perMm, state.marginTop / perMm, state.marginRight / perMm,
                                      state.marginBottom / perMm),
                            QPageLayout::Millimeter);
    QPageSetupDialog dialog(printer.get(), owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    readBack(*printer, state.printer);
    const QMarginsF margins = printer->pageLayout().margins(QPageLayout::Millimeter);
    state.marginLeft = qRound(margins.left() * perMm);
    state.marginTop = qRound(margins.top() * perMm);
    state.marginRight = qRound(margins.right() * perMm);
    state.marginBottom = qRound(margins.bottom() * perMm);
    const QSizeF paper = printer->pageLayout().fullRect(QPageLayout::Millimeter).size();
    state.pageWidth = qRound(paper.width() * perMm);
    state.pageHeight = qRound(paper.height() * perMm);
    return true;
}

bool QtDialogs::printerSetup(QWidget* owner, PrinterSetup& state) {
    auto printer = printerFor(state);
    QPrintDialog dialog(printer.get(), owner);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowTitle(QPrintDialog::tr("Print Setup"));
    if (dialog.exec() != QDialog::Accepted) return false;
    readBack(*printer, state);
    return true;
}

}  // namespace platform
