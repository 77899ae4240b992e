// The renderers and the preview printer.
#include "printing/QxPrvwRender.h"

#include "editing/QxRichEdit.h"
#include "platform/errors.h"
#include "platform/printer/printer.h"
#include "platform/richedit/engine.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

// ---- the base --------------------------------------------------------------------------------------

bool TQxCustomPreviewRenderer::CreatePreview(bool Append) {
    TQxCustomPreviewControl* preview = printPreview_;
    if (!preview)
        throw platform::EInvalidOperation(QStringLiteral("A PrintPreview component must be assigned in CreatePreview!"));
    if (!Append) preview->Clear();
    // The renderer's page work runs first; a handler the control had may still draw on each page and
    // change NeedMorePages.
    const TQxDrawPageEvent saved = preview->OnAddPage;
    preview->OnAddPage = [this, saved](QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect, QRect PrintRect,
                                       bool& NeedMorePages) {
        DoAddPage(Sender, PageIndex, Canvas, PageRect, PrintRect, NeedMorePages);
        if (saved) saved(Sender, PageIndex, Canvas, PageRect, PrintRect, NeedMorePages);
    };
    try {
        preview->Add();
    } catch (...) {
        if (printPreview_) printPreview_->OnAddPage = saved;
        throw;
    }
    if (printPreview_) printPreview_->OnAddPage = saved;
    return false;
}

// ---- rich text ------------------------------------------------------------------------------------------

TQxRichEdit* TQxPreviewRenderQxRichEdit::RichEdit() const {
    return static_cast<TQxRichEdit*>(richEdit_.data());
}

void TQxPreviewRenderQxRichEdit::SetRichEdit(TQxRichEdit* edit) {
    richEdit_ = edit;
}

bool TQxPreviewRenderQxRichEdit::CreatePreview(bool Append) {
    TQxRichEdit* edit = RichEdit();
    if (!edit) throw platform::EInvalidOperation(QStringLiteral("A RichEdit component must be assigned in CreatePreview!"));
    lastChar_ = 0;
    // An empty text has no lines to lay out: no pages, and the control keeps the pages it has.
    if (edit->HandleNeeded().getTextLength() == 0) return false;
    richedit::Engine& engine = edit->HandleNeeded();
    // The formatting cache is dropped before and after the whole run; between pages the text cannot
    // change (the preview is modal), so the cache laid out for the first page serves every page.
    engine.formatRange(nullptr, false);
    try {
        TQxCustomPreviewRenderer::CreatePreview(Append);
    } catch (...) {
        engine.formatRange(nullptr, false);
        throw;
    }
    engine.formatRange(nullptr, false);
    return false;
}

void TQxPreviewRenderQxRichEdit::DoAddPage(QObject*, int, QPainter* Canvas, QRect, QRect PrintRect,
                                           bool& NeedMorePages) {
    TQxRichEdit* edit = RichEdit();
    TQxCustomPreviewControl* preview = PrintPreview();
    if (!edit || !preview) return;
    // The page records into its picture and measures like the preview's reference device.
    TQxDeviceInfo& info = preview->DeviceInfo();
    QPaintDevice* device = info.MeasuringDevice();
    const int logX = device->logicalDpiX(), logY = device->logicalDpiY();
    // The text is laid into the device's printable area, not the whole sheet: a page picture is printed
    // from the printable area's corner, so text laid beyond it would be cut off on paper. The preview's
    // pages then break where the editor's own printing breaks.
    const int width = std::min<int>(PrintRect.width(), int(info.PageWidth()));
    const int height = std::min<int>(PrintRect.height(), int(info.PageHeight()));
    richedit::FORMATRANGE range;
    range.hdc = Canvas;
    range.hdcTarget = device;
    range.rc = {0, 0, int(qint64(width) * 1440 / logX), int(qint64(height) * 1440 / logY)};
    range.rcPage = range.rc;
    richedit::Engine& engine = edit->HandleNeeded();
    const int length = engine.getTextLength();
    range.chrg = {lastChar_, -1};
    const int next = engine.formatRange(&range, true);
    const bool finished = next >= length || next == -1 || next <= lastChar_;
    lastChar_ = next;
    NeedMorePages = !finished;
}

// ---- a control's picture ---------------------------------------------------------------------------------

bool TQxPreviewRenderControl::CreatePreview(bool Append) {
    if (!control_) return false;
    return TQxCustomPreviewRenderer::CreatePreview(Append);
}

QRect TQxPreviewRenderControl::DestinationRect(int W, int H, const QRect& PrintRect) const {
    const int RW = PrintRect.width(), RH = PrintRect.height();
    int width = W, height = H;
    if (Stretch || (Proportional && (W > RW || H > RH))) {
        if (Proportional && W > 0 && H > 0) {
            const double x = double(W) / H;
            if (W > H) {
                width = RW;
                height = int(std::trunc(RW / x));
                if (height > RH) {
                    height = RH;
                    width = int(std::trunc(RH * x));
                }
            } else {
                height = RH;
                width = int(std::trunc(RH * x));
                if (width > RW) {
                    width = RW;
                    height = int(std::trunc(RW / x));
                }
            }
        } else {
            width = RW;
            height = RH;
        }
    }
    QRect destination(0, 0, width, height);
    if (Center) destination.translate((RW - width) / 2, (RH - height) / 2);
    return destination.translated(PrintRect.topLeft());
}

void TQxPreviewRenderControl::DoAddPage(QObject*, int, QPainter* Canvas, QRect, QRect PrintRect, bool& NeedMorePages) {
    NeedMorePages = false;
    QWidget* control = control_;
    if (!control) return;
    // A window shows its client area; any other control its whole size, children included.
    const QSize size = control->isWindow() ? control->contentsRect().size() : control->size();
    if (size.width() <= 0 || size.height() <= 0) return;
    QImage bitmap(size, QImage::Format_ARGB32);
    bitmap.fill(Qt::white);
    control->render(&bitmap, QPoint(), control->isWindow() ? QRegion(control->contentsRect()) : QRegion(),
                    QWidget::DrawChildren);
    Canvas->drawImage(DestinationRect(bitmap.width(), bitmap.height(), PrintRect), bitmap);
}

// ---- the preview printer -----------------------------------------------------------------------------------

platform::Printer& TQxPreviewPrinter::printer() {
    if (!printer_) throw platform::EPrinter(QStringLiteral("Printer not assigned!"));
    return *printer_;
}

void TQxPreviewPrinter::refuseWhilePrinting() {
    if (printer_ && printer_->Printing())
        throw platform::EPrinter(QStringLiteral("Cannot perfrom this operation while printing!"));
}

void TQxPreviewPrinter::SetPrintPreview(TQxCustomPreviewControl* preview) {
    refuseWhilePrinting();
    printPreview_ = preview;
}

void TQxPreviewPrinter::SetPrinter(platform::Printer* printer) {
    refuseWhilePrinting();
    printer_ = printer;
}

void TQxPreviewPrinter::Assign(const TQxPreviewPrinter& source) {
    refuseWhilePrinting();
    Collate = source.Collate;
    SetCopies(source.copies_);
    FromPage = source.FromPage;
    Options = source.Options;
    PrintRange = source.PrintRange;
    ToPage = source.ToPage;
    if (source.printer_ && printer_) printer_->SetTitle(source.printer_->Title());
}

void TQxPreviewPrinter::Assign(const platform::PrintDialogState& source) {
    refuseWhilePrinting();
    Collate = source.collate;
    SetCopies(source.copies);
    FromPage = source.fromPage;
    Options = source;
    PrintRange = source.range;
    ToPage = source.toPage;
}

void TQxPreviewPrinter::Print() {
    TQxCustomPreviewControl* preview = printPreview_;
    if (!preview) throw platform::EInvalidOperation(QStringLiteral("No PrintPreview assigned!"));
    platform::Printer& device = printer();
    const bool all = PrintRange == platform::PrintRange::AllPages;
    const int start = all ? 0 : FromPage - 1;
    const int end = all ? preview->PageCount() - 1 : ToPage - 1;
    // The copies are made here, page by page; the device must not multiply them again.
    const int deviceCopies = device.Copies();
    device.SetCopies(1);
    jobBegun_ = false;
    try {
        preview->PrintPages(this, start, end, Copies(), Collate);
    } catch (...) {
        if (device.Printing()) device.Abort();
        device.SetCopies(deviceCopies);
        throw;
    }
    device.SetCopies(deviceCopies);
}

void TQxPreviewPrinter::SetTitle(const QString& title) {
    printer().SetTitle(title);
}

QString TQxPreviewPrinter::Title() {
    return printer().Title();
}

void TQxPreviewPrinter::BeginDoc() {
    jobBegun_ = true;
    printer().BeginDoc();
    if (OnBeginDoc) OnBeginDoc(this);
    pageCounter_ = 0;
}

void TQxPreviewPrinter::EndDoc() {
    printer().EndDoc();
    if (OnEndDoc) OnEndDoc(this);
}

void TQxPreviewPrinter::NewPage() {
    printer().NewPage();
    if (OnNewPage) OnNewPage(this, pageCounter_);
    ++pageCounter_;
}

void TQxPreviewPrinter::Abort() {
    platform::Printer& device = printer();
    if (device.Printing()) device.Abort();
    if (OnAbort) OnAbort(this);
}

bool TQxPreviewPrinter::Aborted() {
    platform::Printer& device = printer();
    return jobBegun_ && device.Aborted();
}

QPainter* TQxPreviewPrinter::Canvas() {
    return printer().Canvas();
}

int TQxPreviewPrinter::PageWidth() {
    return printer().PageWidth();
}

int TQxPreviewPrinter::PageHeight() {
    return printer().PageHeight();
}

bool TQxPreviewPrinter::Printing() {
    return printer().Printing();
}
