// The printing dialogs on Qt's own print and page-setup dialogs. Qt's dialogs work on a QPrinter, so
// each dialog gets one configured from the state and the user's choices are read back from it. The
// built-in PDF printer is Qt's "print to file (PDF)" entry of the printer list.
#include "platform/dialogs/qtdialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

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

// Qt's print dialog opens on the system's default printer whatever printer it is given; this selects
// the current one in its printer list (the PDF printer is its last entry, "print to file (PDF)").
void selectShownPrinterEntry(QPrintDialog& dialog, const PrinterSetup& setup) {
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    if (!list || list->count() == 0) return;
    const QString name = chosenName(setup);
    const int index = name == pdfPrinterName() ? list->count() - 1 : list->findText(name);
    if (index >= 0) list->setCurrentIndex(index);
}

void selectPrinterEntry(QPrintDialog& dialog, const PrinterSetup& setup) {
    // The dialog fills its list when it is shown, so the choice waits for that.
    QTimer::singleShot(0, &dialog, [&dialog, setup] { selectShownPrinterEntry(dialog, setup); });
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

QString qtText(const char* context, const char* text) {
    return QCoreApplication::translate(context, text);
}

// Qt's page-setup dialog serves system printers only; the PDF printer gets this one, with the same
// choices (printer, paper, orientation, margins) in Qt's translated words.
bool ownPageSetup(QWidget* owner, PageSetupState& state) {
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("QxPageSetupDialog"));
    dialog.setWindowTitle(qtText("QPrintPreviewDialog", "Page Setup"));
    auto* form = new QFormLayout(&dialog);
    auto* printers = new QComboBox(&dialog);
    printers->setObjectName(QStringLiteral("printer"));
    printers->addItems(state.printer.printers);
    printers->setCurrentIndex(state.printer.printerIndex);
    form->addRow(qtText("QPrintDialog", "Printer"), printers);
    auto* paper = new QComboBox(&dialog);
    paper->setObjectName(QStringLiteral("paper"));
    for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
                                     QPageSize::Legal, QPageSize::Executive}) {
        paper->addItem(QPageSize::name(id), int(id));
        if (state.printer.pageSize.id() == id) paper->setCurrentIndex(paper->count() - 1);
    }
    form->addRow(qtText("QPageSetupWidget", "Paper"), paper);
    auto* orientation = new QComboBox(&dialog);
    orientation->setObjectName(QStringLiteral("orientation"));
    orientation->addItem(qtText("QPageSetupWidget", "Portrait"), int(QPageLayout::Portrait));
    orientation->addItem(qtText("QPageSetupWidget", "Landscape"), int(QPageLayout::Landscape));
    orientation->setCurrentIndex(state.printer.orientation == QPageLayout::Landscape ? 1 : 0);
    form->addRow(qtText("QPageSetupWidget", "Orientation"), orientation);
    const bool metric = state.units == MeasureUnits::HundredthsOfMillimetre;
    const double perUnit = metric ? 100.0 : 1000.0;  // the state's units per shown millimetre or inch
    int* margins[4] = {&state.marginLeft, &state.marginTop, &state.marginRight, &state.marginBottom};
    const char* names[4] = {"left margin", "top margin", "right margin", "bottom margin"};
    QDoubleSpinBox* boxes[4];
    for (int i = 0; i < 4; ++i) {
        boxes[i] = new QDoubleSpinBox(&dialog);
        boxes[i]->setObjectName(QString::fromLatin1(names[i]));
        boxes[i]->setDecimals(metric ? 1 : 2);
        boxes[i]->setRange(0, metric ? 500 : 20);
        boxes[i]->setSuffix(metric ? QStringLiteral(" mm") : QStringLiteral(" in"));
        boxes[i]->setValue(*margins[i] / perUnit);
        form->addRow(qtText("QPageSetupWidget", i == 0 ? "Left" : i == 1 ? "Top" : i == 2 ? "Right" : "Bottom"), boxes[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    state.printer.printerIndex = printers->currentIndex();
    state.printer.pageSize = QPageSize(QPageSize::PageSizeId(paper->currentData().toInt()));
    state.printer.orientation = QPageLayout::Orientation(orientation->currentData().toInt());
    for (int i = 0; i < 4; ++i) *margins[i] = qRound(boxes[i]->value() * perUnit);
    QSizeF size = state.printer.pageSize.size(QPageSize::Millimeter);
    if (state.printer.orientation == QPageLayout::Landscape) size.transpose();
    const double perMm = unitsPerMillimetre(state.units);
    state.pageWidth = qRound(size.width() * perMm);
    state.pageHeight = qRound(size.height() * perMm);
    return true;
}

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
    selectPrinterEntry(dialog, state.printer);
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
    if (printer->outputFormat() != QPrinter::NativeFormat) return ownPageSetup(owner, state);
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
    selectPrinterEntry(dialog, state);
    dialog.setWindowTitle(QPrintDialog::tr("Print Setup"));
    if (dialog.exec() != QDialog::Accepted) return false;
    readBack(*printer, state);
    return true;
}

}  // namespace platform
