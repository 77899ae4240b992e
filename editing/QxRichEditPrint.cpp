// Printing the editor's document: the engine's format-range lays the text out page by page straight
// onto the application's printer.
#include "editing/QxRichEdit.h"

#include "platform/printer/printer.h"
#include "platform/richedit/engine.h"

#include <QByteArray>
#include <QPainter>

#include <climits>
#include <cstring>

namespace {

// Runs its function when the scope ends, also by an exception.
template <typename Function>
struct AtScopeExit {
    Function function;
    ~AtScopeExit() { function(); }
};
template <typename Function>
AtScopeExit(Function) -> AtScopeExit<Function>;

// Printer pixels to twips, truncating.
int toTwips(int pixels, int pixelsPerInch) {
    return int(qint64(pixels) * 1440 / pixelsPerInch);
}

// Prints the pages firstPage..lastPage (1-based) of `engine`'s text, laid into `render` (twips), as
// one job. The job begins with the first page printed, so a range past the end prints nothing.
void printPages(richedit::Engine& engine, const richedit::RECT& render, int firstPage, int lastPage) {
    platform::Printer& printer = platform::printer();
    QPaintDevice* device = printer.Handle();
    const int end = engine.getTextLength();
    engine.formatRange(nullptr, false);
    bool begun = false;
    bool jobDone = false;
    // The formatting cache goes in any case; a job of ours that an error interrupted is aborted, so
    // that the printer is free for the next one.
    const AtScopeExit cleanup{[&] {
        engine.formatRange(nullptr, false);
        if (begun && !jobDone && printer.Printing()) printer.Abort();
    }};
    int position = 0;
    for (int page = 1; page <= lastPage; ++page) {
        const bool output = page >= firstPage;
        if (output) {
            if (!begun) {
                printer.BeginDoc();
                if (printer.Aborted()) return;
                begun = true;
            } else {
                printer.NewPage();
            }
        }
        richedit::FORMATRANGE range;
        range.hdc = output ? printer.Canvas() : nullptr;
        range.hdcTarget = device;
        range.rc = render;
        range.rcPage = render;
        range.chrg = {position, -1};
        const int next = engine.formatRange(&range, output);
        // Stop at the end of the text, on a failure, or when nothing fitted on the page.
        if (next >= end || next < 0 || next <= position) break;
        position = next;
    }
    if (begun) printer.EndDoc();
    jobDone = true;
}

// The selection as a document of its own (format-range lays whole lines out, so the selection is
// printed from a copy that holds nothing else).
void copySelection(richedit::Engine& from, richedit::Engine& to, bool plainText) {
    QByteArray data;
    richedit::EDITSTREAM out;
    out.pfnCallback = [&data](char* buffer, int count, int& transferred) {
        data.append(buffer, count);
        transferred = count;
        return 0u;
    };
    const std::uint32_t format = plainText ? richedit::SF_TEXT : richedit::SF_RTF;
    from.streamOut(format | richedit::SFF_SELECTION, out);
    int offset = 0;
    richedit::EDITSTREAM in;
    in.pfnCallback = [&data, &offset](char* buffer, int count, int& transferred) {
        transferred = std::min(count, int(data.size()) - offset);
        std::memcpy(buffer, data.constData() + offset, std::size_t(transferred));
        offset += transferred;
        return 0u;
    };
    to.streamIn(format, in);
}

}  // namespace

void TQxRichEdit::PrintDocument(const QString& title) {
    PrintDocument(title, TPrintScope{});
}

void TQxRichEdit::PrintDocument(const QString& title, const TPrintScope& scope) {
    richedit::Engine& engine = HandleNeeded();
    platform::Printer& printer = platform::printer();
    printer.SetTitle(title);
    const platform::DeviceCaps caps = platform::deviceCaps(*printer.Handle());  // raises without a printer
    richedit::RECT render;
    if (printArea_.isEmpty()) {
        render = {0, 0, toTwips(caps.horzRes, caps.logPixelsX), toTwips(caps.vertRes, caps.logPixelsY)};
    } else {
        render = {toTwips(printArea_.left(), caps.logPixelsX), toTwips(printArea_.top(), caps.logPixelsY),
                  toTwips(printArea_.right() + 1, caps.logPixelsX), toTwips(printArea_.bottom() + 1, caps.logPixelsY)};
    }
    switch (scope.kind) {
    case TPrintScope::Kind::AllPages: printPages(engine, render, 1, INT_MAX); break;
    case TPrintScope::Kind::PageNums: printPages(engine, render, std::max(1, scope.FromPage), scope.ToPage); break;
    case TPrintScope::Kind::Selection: {
        const richedit::CHARRANGE selection = engine.exGetSel();
        if (selection.cpMax <= selection.cpMin) return;
        richedit::Engine copy;
        copy.exLimitText(0x7FFFFFFF);
        copySelection(engine, copy, PlainText());
        printPages(copy, render, 1, INT_MAX);
        break;
    }
    }
}
