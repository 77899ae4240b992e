#pragma once
// The application's one printer object: the installed printers (the system's, then the built-in PDF
// printer), the current printer with its device settings, the title of the next job, and the job
// itself (begin, new page, end, abort) with its canvas and device measurements.
//
// Measurements are device pixels of the current printer. The canvas draws in the printable area: its
// origin is the printable area's top-left corner, as on a printer's device context.

#include "platform/printer/printersetup.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPainter;
class QPaintDevice;
class QPicture;
class QPrinter;

namespace platform {

// What a device context tells about its device (the GetDeviceCaps values the program reads).
struct DeviceCaps {
    int logPixelsX = 96, logPixelsY = 96;
    int horzRes = 0, vertRes = 0;               // printable area
    int physicalWidth = 0, physicalHeight = 0;  // the whole sheet
    int physicalOffsetX = 0, physicalOffsetY = 0;  // sheet edge to printable area
};
// A QPrinter reports its paper and printable area; any other device is all printable.
DeviceCaps deviceCaps(const QPaintDevice& device);

// Replays `picture` with one picture unit per unit of the painter's coordinates. (Qt scales a replayed
// picture by the device's resolution against the screen's; this undoes that.)
void drawPictureUnscaled(QPainter& painter, const QPicture& picture);

class Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The installed printers, built on first use: the system's, then pdfPrinterName().
    const QStringList& Printers();
    // The current printer: the system default at first, else the PDF printer; -1 when there is none.
    int PrinterIndex();
    // Selects a printer of the list with its default paper; an index out of the list raises EPrinter.
    void SetPrinterIndex(int index);
    // The current printer and its paper, as the dialogs show them; applying one makes its printer,
    // paper, source and orientation current.
    PrinterSetup Setup();
    void ApplySetup(const PrinterSetup& setup);

    // Copies the device makes of each job (the PDF printer repeats each page; a spooler makes them).
    int Copies() const { return copies_; }
    void SetCopies(int copies);

    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // The PDF printer asks for its output file with the save dialog when a job begins; a name set
    // here is used instead, for every later job (for programs without a user).
    void SetPdfOutputFile(const QString& path) { pdfOutputFile_ = path; }

    // Begins a job named Title() with its first page. Raises EPrinter "Printing in progress" while a
    // job runs, and "There is no default printer currently selected" without a printer. When the PDF
    // printer's save dialog is cancelled the job is aborted at once: Aborted() is true, Printing() false.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the running job without completing it (the PDF file is removed).
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    // The page being printed while a job runs; at other times a canvas whose drawing goes nowhere.
    QPainter* Canvas();

    // The device context of the current printer (raises without a printer).
    QPaintDevice* Handle();
    int PageWidth();   // printable width, pixels
    int PageHeight();  // printable height, pixels

    // Tests and programs without a spooler: a fixed list of system printers (nullopt: ask the system
    // again), with or without the PDF printer after them. Resets the current printer.
    void InstallPrinterList(std::optional<QStringList> systemPrinters, bool withPdfPrinter = true);

private:
    void ensureList();
    QPrinter& device();
    void configureDevice();
    void flushCopies();

    struct Job;
    std::optional<QStringList> fixedSystemPrinters_;
    bool withPdfPrinter_ = true;
    bool listBuilt_ = false;
    QStringList printers_;
    int index_ = -1;
    PrinterSetup setup_;
    int copies_ = 1;
    QString title_;
    QString pdfOutputFile_;
    std::unique_ptr<QPrinter> device_;
    bool deviceDirty_ = true;
    std::unique_ptr<Job> job_;
    bool printing_ = false;
    bool aborted_ = false;
};

// The application's printer object.
Printer& printer();

}  // namespace platform
