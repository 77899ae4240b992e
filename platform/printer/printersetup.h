#pragma once
// What the print, page-setup and printer-setup dialogs show and change: the printer with its paper,
// and each dialog's own choices. The dialogs seam takes these in and hands them back changed.

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

namespace platform {

// The name of the built-in printer that writes PDF files; it comes after the system's printers.
inline QString pdfPrinterName() { return QStringLiteral("Tisk do PDF"); }

// A printer and its device settings as the dialogs offer them.
struct PrinterSetup {
    QStringList printers;   // the installed printers, in the printer object's order
    int printerIndex = -1;  // the chosen one; -1: none
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString paperSource;    // empty: the printer's default tray
};

enum class PrintRange { AllPages, Selection, PageNums };

// A print dialog's values; the dialog keeps them from one opening to the next.
struct PrintDialogState {
    PrinterSetup printer;
    int copies = 1;
    bool collate = false;
    int minPage = 0;
    int maxPage = 100;
    int fromPage = 0;
    int toPage = 0;
    PrintRange range = PrintRange::AllPages;
    // Options: what the dialog offers.
    bool allowPrintToFile = true;
    bool allowPageNums = true;
    bool allowSelection = true;
    bool warnWithoutPrinter = true;
    bool printToFile = true;  // the print-to-file box is ticked
};

enum class MeasureUnits { HundredthsOfMillimetre, ThousandthsOfInch };
// The system's measurement units: hundredths of a millimetre in a metric locale.
MeasureUnits localeMeasureUnits();

// A page-setup dialog's values, in its measurement units.
struct PageSetupState {
    PrinterSetup printer;
    MeasureUnits units = localeMeasureUnits();
    int marginLeft = 2500, marginTop = 2500, marginRight = 2500, marginBottom = 2500;
    int minMarginLeft = 0, minMarginTop = 0, minMarginRight = 0, minMarginBottom = 0;
    int pageWidth = 21000, pageHeight = 29700;
    bool defaultMinMargins = true;  // the printer's own minimum margins apply
};

}  // namespace platform
