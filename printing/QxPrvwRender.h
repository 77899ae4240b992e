#pragma once
// Renderers fill a preview control with pages: TQxPreviewRenderQxRichEdit paginates an editor's text
// with the engine's format-range, TQxPreviewRenderControl pictures a control as the one page. The
// preview printer TQxPreviewPrinter goes the other way and prints a preview's pages on the printer
// object, with page range, copies and collation from a print dialog.

#include "platform/printer/printersetup.h"
#include "printing/QxPrvwDoc.h"

#include <QObject>
#include <QPointer>

class TQxRichEdit;

namespace platform {
class Printer;
}

class TQxCustomPreviewRenderer : public QObject {
    Q_OBJECT
public:
    explicit TQxCustomPreviewRenderer(QObject* owner = nullptr) : QObject(owner) {}

    // The control to fill; forgotten when it is destroyed.
    TQxCustomPreviewControl* PrintPreview() const { return printPreview_; }
    void SetPrintPreview(TQxCustomPreviewControl* preview) { printPreview_ = preview; }

    // Fills PrintPreview (after clearing its pages unless Append). Raises without a PrintPreview.
    virtual bool CreatePreview(bool Append);

protected:
    // The per-page work, called from the control's add-page event.
    virtual void DoAddPage(QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect, QRect PrintRect,
                           bool& NeedMorePages) = 0;

private:
    QPointer<TQxCustomPreviewControl> printPreview_;
};

class TQxPreviewRenderQxRichEdit : public TQxCustomPreviewRenderer {
    Q_OBJECT
public:
    using TQxCustomPreviewRenderer::TQxCustomPreviewRenderer;

    TQxRichEdit* RichEdit() const;
    void SetRichEdit(TQxRichEdit* edit);
    int LastChar() const { return lastChar_; }

    // Paginates the whole text from its start; an empty text makes no pages and leaves the control's
    // pages as they are. Raises without a RichEdit or a PrintPreview.
    bool CreatePreview(bool Append) override;

protected:
    void DoAddPage(QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect, QRect PrintRect,
                   bool& NeedMorePages) override;

private:
    QPointer<QObject> richEdit_;
    int lastChar_ = 0;
};

class TQxPreviewRenderControl : public TQxCustomPreviewRenderer {
    Q_OBJECT
public:
    using TQxCustomPreviewRenderer::TQxCustomPreviewRenderer;

    QWidget* Control() const { return control_; }
    void SetControl(QWidget* control) { control_ = control; }
    bool Stretch = true;
    bool Proportional = true;
    bool Center = true;

    // Without a Control nothing happens.
    bool CreatePreview(bool Append) override;
    // Where a W x H picture goes inside PrintRect under Stretch, Proportional and Center.
    QRect DestinationRect(int W, int H, const QRect& PrintRect) const;

protected:
    void DoAddPage(QObject* Sender, int PageIndex, QPainter* Canvas, QRect PageRect, QRect PrintRect,
                   bool& NeedMorePages) override;

private:
    QPointer<QWidget> control_;
};

using TQxNewPageEvent = std::function<void(QObject* Sender, int PageIndex)>;

class TQxPreviewPrinter : public QObject, public IPreviewPrintTarget {
    Q_OBJECT
public:
    explicit TQxPreviewPrinter(QObject* owner = nullptr) : QObject(owner) {}

    bool Collate = false;
    int Copies() const { return copies_; }
    void SetCopies(int copies) { copies_ = copies <= 0 ? 1 : copies; }
    int FromPage = 0;
    int ToPage = 0;
    platform::PrintDialogState Options;  // the dialog's options, carried along
    platform::PrintRange PrintRange = platform::PrintRange::AllPages;

    TQxCustomPreviewControl* PrintPreview() const { return printPreview_; }
    void SetPrintPreview(TQxCustomPreviewControl* preview);  // refused while printing
    platform::Printer* Printer() const { return printer_; }
    void SetPrinter(platform::Printer* printer);             // refused while printing

    // From another preview printer (with the job title) or from a print dialog's values.
    void Assign(const TQxPreviewPrinter& source);
    void Assign(const platform::PrintDialogState& source);
    // Prints the preview's pages (all, or FromPage..ToPage for a page range or the selection).
    void Print();

    TQxNotifyEvent OnBeginDoc, OnEndDoc, OnAbort;
    TQxNewPageEvent OnNewPage;

    // the print target
    void SetTitle(const QString& title) override;
    QString Title() override;
    void BeginDoc() override;
    void EndDoc() override;
    void NewPage() override;
    void Abort() override;
    bool Aborted() override;
    QPainter* Canvas() override;
    int PageWidth() override;
    int PageHeight() override;
    bool Printing() override;

private:
    platform::Printer& printer();
    void refuseWhilePrinting();

    int copies_ = 0;
    QPointer<TQxCustomPreviewControl> printPreview_;
    platform::Printer* printer_ = nullptr;
    int pageCounter_ = 0;
    bool jobBegun_ = false;  // Aborted speaks of this print's job only, not of an earlier one
};
