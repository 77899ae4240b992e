#pragma once
// Shared by the printing tests: documents of numbered lines, and the page breaks the printer's
// layout makes in them.

#include "editing/QxRichEdit.h"
#include "platform/printer/printer.h"
#include "platform/richedit/engine.h"

#include <QStringList>

namespace printfixture {

// `count` paragraphs "L0001 Příliš žluťoučký kůň", each starting with its own number.
inline void fillLines(TQxRichEdit& editor, int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("L%1 Příliš žluťoučký kůň úpěl ďábelské ódy").arg(i, 4, 10, QLatin1Char('0'));
    editor.SetText(lines.join(QStringLiteral("\r\n")));
}

// How many of those paragraphs fit on one page of the current printer.
inline int linesPerPage(TQxRichEdit& editor) {
    platform::Printer& printer = platform::printer();
    const platform::DeviceCaps caps = platform::deviceCaps(*printer.Handle());
    richedit::Engine& engine = editor.HandleNeeded();
    richedit::FORMATRANGE range;
    range.hdcTarget = printer.Handle();
    range.rc = {0, 0, caps.horzRes * 1440 / caps.logPixelsX, caps.vertRes * 1440 / caps.logPixelsY};
    range.rcPage = range.rc;
    range.chrg = {0, -1};
    const int next = engine.formatRange(&range, false);
    engine.formatRange(nullptr, false);
    return int(engine.getTextRange(0, next).count(QLatin1Char('\r')));
}

}  // namespace printfixture
