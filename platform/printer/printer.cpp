// The printer object on QPrinter. System printers are Qt's (CUPS); the PDF printer is a QPrinter
// writing a PDF file. Every printer draws at 600 pixels per inch, so page layouts are the same
// whichever printer is chosen.
#include "platform/printer/printer.h"

#include "platform/dialogs/dialogs.h"
#include "platform/errors.h"

#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

namespace {

constexpr int kResolution = 600;
// The PDF printer leaves a sixth of an inch unprintable on each side, as a desk printer does.
constexpr double kPdfMarginMm = 25.4 / 6;

}  // namespace

DeviceCaps deviceCaps(const QPaintDevice& device) {
    DeviceCaps caps;
    caps.logPixelsX = device.logicalDpiX();
    caps.logPixelsY = device.logicalDpiY();
    caps.horzRes = device.width();
    caps.vertRes = device.height();
    caps.physicalWidth = caps.horzRes;
    caps.physicalHeight = caps.vertRes;
    if (device.devType() == QInternal::Printer) {
        const auto& printer = static_cast<const QPrinter&>(device);
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        caps.physicalWidth = qRound(paper.width());
        caps.physicalHeight = qRound(paper.height());
        caps.physicalOffsetX = qRound(page.left() - paper.left());
        caps.physicalOffsetY = qRound(page.top() - paper.top());
    }
    return caps;
}

void drawPictureUnscaled(QPainter& painter, const QPicture& picture) {
    const QPaintDevice* device = painter.device();
    painter.save();
    if (device && device->devType() != QInternal::Picture)
        painter.scale(double(picture.logicalDpiX()) / device->logicalDpiX(), double(picture.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

// A running job: the painter on the device and, when the PDF printer makes copies, the recording of
// the current page that is repeated.
struct Printer::Job {
    QPainter painter;
    std::unique_ptr<QPicture> page;  // set while copies are made by repeating pages
    QPainter recorder;
    bool firstPageOut = true;
};

Printer::Printer() = default;
Printer::~Printer() {
    if (job_ && job_->painter.isActive()) job_->painter.end();
}

void Printer::ensureList() {
    if (listBuilt_) return;
    listBuilt_ = true;
    printers_ = fixedSystemPrinters_ ? *fixedSystemPrinters_ : QPrinterInfo::availablePrinterNames();
    if (withPdfPrinter_) printers_.append(pdfPrinterName());
    index_ = -1;
    if (!fixedSystemPrinters_) index_ = printers_.indexOf(QPrinterInfo::defaultPrinterName());
    if (index_ < 0 && withPdfPrinter_) index_ = printers_.size() - 1;
    if (index_ < 0 && !printers_.isEmpty()) index_ = 0;
    setup_ = PrinterSetup();
    setup_.printers = printers_;
    setup_.printerIndex = index_;
    if (index_ >= 0 && printers_.at(index_) != pdfPrinterName()) {
        const QPageSize size = QPrinterInfo::printerInfo(printers_.at(index_)).defaultPageSize();
        if (size.isValid()) setup_.pageSize = size;
    }
    deviceDirty_ = true;
}

const QStringList& Printer::Printers() {
    ensureList();
    return printers_;
}

int Printer::PrinterIndex() {
    ensureList();
    return index_;
}

void Printer::SetPrinterIndex(int index) {
    ensureList();
    if (index < 0 || index >= printers_.size()) throw EPrinter(QStringLiteral("Printer index out of range"));
    PrinterSetup setup = Setup();
    setup.printerIndex = index;
    setup.paperSource.clear();
    ApplySetup(setup);
}

PrinterSetup Printer::Setup() {
    ensureList();
    return setup_;
}

void Printer::ApplySetup(const PrinterSetup& setup) {
    ensureList();
    if (printing_) throw EPrinter(QStringLiteral("Printing in progress"));
    const int index = printers_.indexOf(setup.printers.value(setup.printerIndex));
    if (index >= 0) index_ = index;
    setup_ = setup;
    setup_.printers = printers_;
    setup_.printerIndex = index_;
    deviceDirty_ = true;
}

void Printer::SetCopies(int copies) {
    copies_ = std::max(1, copies);
}

void Printer::InstallPrinterList(std::optional<QStringList> systemPrinters, bool withPdfPrinter) {
    if (printing_) throw EPrinter(QStringLiteral("Printing in progress"));
    fixedSystemPrinters_ = std::move(systemPrinters);
    withPdfPrinter_ = withPdfPrinter;
    listBuilt_ = false;
    copies_ = 1;
    ensureList();
}

QPrinter& Printer::device() {
    ensureList();
    if (index_ < 0) throw EPrinter(QStringLiteral("There is no default printer currently selected"));
    if (deviceDirty_) configureDevice();
    return *device_;
}

// One QPrinter serves every printer, so that its device context stays valid for those who keep it.
void Printer::configureDevice() {
    if (!device_) device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QString name = printers_.at(index_);
    const bool pdf = name == pdfPrinterName();
    if (pdf) {
        device_->setOutputFormat(QPrinter::PdfFormat);
    } else {
        device_->setOutputFormat(QPrinter::NativeFormat);
        device_->setPrinterName(name);
    }
    device_->setResolution(kResolution);
    device_->setFullPage(false);
    device_->setPageSize(setup_.pageSize);
    device_->setPageOrientation(setup_.orientation);
    // The printable area is what the printer can reach. (Qt chooses trays only in its own dialog, so
    // the paper source stays the printer's default.)
    if (pdf)
        device_->setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter);
    else
        device_->setPageMargins(device_->pageLayout().minimumMargins(), device_->pageLayout().units());
    deviceDirty_ = false;
}

QPaintDevice* Printer::Handle() {
    return &device();
}

int Printer::PageWidth() {
    return device().width();
}

int Printer::PageHeight() {
    return device().height();
}

void Printer::BeginDoc() {
    if (printing_) throw EPrinter(QStringLiteral("Printing in progress"));
    QPrinter& printer = device();
    aborted_ = false;
    const bool pdf = printers_.at(index_) == pdfPrinterName();
    if (pdf) {
        QString file = pdfOutputFile_;
        if (file.isEmpty()) {
            FileDialogRequest request;
            request.filters = {{QStringLiteral("PDF (*.pdf)"), QStringLiteral("*.pdf")}};
            const auto chosen = dialogs().saveFile(nullptr, request);
            if (!chosen) {
                aborted_ = true;
                return;
            }
            file = chosen->fileName;
        }
        printer.setOutputFileName(file);
        printer.setCopyCount(1);
    } else {
        // A file name from an earlier PDF job would send this one into the file.
        printer.setOutputFileName(QString());
        configureDevice();
        printer.setCopyCount(copies_);
    }
    printer.setDocName(title_);
    job_ = std::make_unique<Job>();
    if (!job_->painter.begin(&printer)) {
        job_.reset();
        throw EPrinter(QStringLiteral("Printer is not ready"));
    }
    printing_ = true;
    if (pdf && copies_ > 1) {
        job_->page = std::make_unique<QPicture>();
        job_->recorder.begin(job_->page.get());
    }
}

// Outputs the recorded page Copies() times (the PDF printer's copies).
void Printer::flushCopies() {
    if (!job_ || !job_->page) return;
    job_->recorder.end();
    for (int copy = 0; copy < copies_; ++copy) {
        if (!job_->firstPageOut) device_->newPage();
        job_->firstPageOut = false;
        drawPictureUnscaled(job_->painter, *job_->page);
    }
    job_->page = std::make_unique<QPicture>();
    job_->recorder.begin(job_->page.get());
}

void Printer::NewPage() {
    if (!printing_) return;
    if (job_->page)
        flushCopies();
    else
        device_->newPage();
}

void Printer::EndDoc() {
    if (!printing_) return;
    flushCopies();
    if (job_->recorder.isActive()) job_->recorder.end();
    const bool ok = job_->painter.end();
    job_.reset();
    printing_ = false;
    if (!ok) throw EPrinter(QStringLiteral("Printer is not ready"));
}

void Printer::Abort() {
    if (!printing_) return;
    if (job_->recorder.isActive()) job_->recorder.end();
    device_->abort();
    if (job_->painter.isActive()) job_->painter.end();
    job_.reset();
    printing_ = false;
    aborted_ = true;
    if (device_->outputFormat() == QPrinter::PdfFormat && !device_->outputFileName().isEmpty())
        QFile::remove(device_->outputFileName());
}

QPainter* Printer::Canvas() {
    if (printing_) return job_->page ? &job_->recorder : &job_->painter;
    // Outside a job drawing goes into a scratch recording, as on a device context without a page.
    static QPicture scratch;
    static QPainter idle;
    if (!idle.isActive()) idle.begin(&scratch);
    return &idle;
}

Printer& printer() {
    // Never destroyed: a QPrinter must not outlive the application object, which ends first.
    static Printer* instance = new Printer;
    return *instance;
}

}  // namespace platform
