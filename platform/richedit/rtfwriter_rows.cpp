// RTF writer: a table row paragraph (PFE_TABLE) as \trowd ... \cellx, its cells' text with \cell
// for each tab, and \row. A range that starts or ends inside a row writes the cells it touches as
// a row of their own, at their places in the original row.
#include "platform/richedit/rtf_rows.h"
#include "platform/richedit/rtf_writer.h"

#include <algorithm>

namespace richedit::rtf {

void Writer::rowStart(const QTextBlock& block, int start, int end) {
    const PARAFORMAT2 pf = paraFormatFrom(block.blockFormat());
    const QString text = block.text();
    const int offset = start - block.position();
    const int firstCell = int(QStringView(text).left(offset).count(u'\t'));
    const int lastCell = firstCell + int(QStringView(text).mid(offset, end - start).count(u'\t'));
    const int cells = int(text.count(u'\t')) + 1;
    const std::vector<int> edges = cellEdges(
        std::vector<int>(pf.rgxTabs.begin(), pf.rgxTabs.begin() + std::clamp<int>(pf.cTabCount, 0, MAX_TAB_STOPS)),
        pf.dxStartIndent, cells);
    const int defined = int(edges.size());

    word("trowd");
    word("trgaph", pf.dxOffset);
    word("trleft", firstCell == 0 || firstCell > defined ? pf.dxStartIndent : edges[std::size_t(firstCell - 1)]);
    if (pf.bLineSpacingRule == LS_ATLEAST && pf.dyLineSpacing > 0) word("trrh", pf.dyLineSpacing);
    if (pf.bLineSpacingRule == LS_EXACTLY && pf.dyLineSpacing > 0) word("trrh", -pf.dyLineSpacing);
    auto border = [&](bool drawn, const char* side) {
        if (!drawn) return;
        word(side);
        word("brdrs");
        word("brdrw", pf.wBorderWidth);
    };
    for (int i = firstCell; i <= lastCell && i < defined; ++i) {
        border(pf.wBorders & PFBRD_TOP, "clbrdrt");
        border(pf.wBorders & (i == 0 ? PFBRD_LEFT : PFBRD_INSIDE), "clbrdrl");
        border(pf.wBorders & PFBRD_BOTTOM, "clbrdrb");
        border(pf.wBorders & (i == std::min(cells, defined) - 1 ? PFBRD_RIGHT : PFBRD_INSIDE), "clbrdrr");
        word("cellx", edges[std::size_t(i)]);
    }
    word("pard");
    word("intbl");
    switch (pf.wAlignment) {
    case PFA_RIGHT: word("qr"); break;
    case PFA_CENTER: word("qc"); break;
    case PFA_JUSTIFY: word("qj"); break;
    default: break;
    }
    if (pf.dySpaceBefore) word("sb", pf.dySpaceBefore);
    if (pf.dySpaceAfter) word("sa", pf.dySpaceAfter);
}

void Writer::cellText(const QString& text, const QTextCharFormat& format) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype tab = text.indexOf(u'\t', from);
        const QString part = text.mid(from, tab < 0 ? -1 : tab - from);
        if (!part.isEmpty()) run(part, format);
        if (tab < 0) return;
        // A link ends with its cell; it goes on in the next one.
        const QString href = openHref_;
        closeLink();
        word("cell");
        if (!href.isEmpty()) openLink(href);
        from = tab + 1;
    }
}

void Writer::rowEnd() {
    word("cell");
    word("row");
    body_.append("\r\n");
    needDelimiter_ = false;
}

}  // namespace richedit::rtf
