#include "platform/richedit/tablerow.h"

#include "platform/richedit/records.h"
#include "platform/richedit/textformat.h"

#include <QTextBlockFormat>

#include <algorithm>

namespace richedit {

namespace {
constexpr qreal kNarrowestCell = 8;  // layout units: a cell never collapses to nothing
}

qreal TableCell::textLeft() const { return left + gap; }

qreal TableCell::textWidth() const { return std::max<qreal>(1, right - left - 2 * gap); }

// Cells lie in order of their characters and columns: both searches halve.
int TableRow::cellOf(int position) const {
    const auto it = std::lower_bound(cells.begin(), cells.end(), position,
                                     [](const TableCell& cell, int p) { return cell.to < p; });
    return it == cells.end() ? int(cells.size()) - 1 : int(it - cells.begin());
}

int TableRow::cellAtX(qreal x) const {
    const auto it = std::upper_bound(cells.begin(), cells.end(), x,
                                     [](qreal at, const TableCell& cell) { return at < cell.right; });
    return it == cells.end() ? int(cells.size()) - 1 : int(it - cells.begin());
}

QList<QStringView> forcedLines(QStringView text, bool tableRow) {
    QList<QStringView> lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar::LineSeparator && !(tableRow && text[i] == u'\t')) continue;
        lines.append(text.mid(from, i - from));
        from = i + 1;
    }
    return lines;
}

TableRow tableRowOf(const QTextBlock& block, qreal textWidth) {
    const QTextBlockFormat format = block.blockFormat();
    const PARAFORMAT2 pf = paraFormatFrom(format);
    TableRow row;
    const QString text = block.text();
    int from = 0;
    for (int i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\t') continue;
        TableCell cell;
        cell.from = from;
        cell.to = i;
        row.cells.append(cell);
        from = i + 1;
    }

    const qreal left = pf.dxStartIndent / kTwipsPerLayoutPixel;
    const qreal gap = std::max(0, pf.dxOffset) / kTwipsPerLayoutPixel;
    const int edges = std::clamp<int>(pf.cTabCount, 0, MAX_TAB_STOPS);
    qreal x = left;
    const int count = int(row.cells.size());
    for (int i = 0; i < count; ++i) {
        TableCell& cell = row.cells[i];
        cell.left = x;
        if (i < edges) {
            cell.right = pf.rgxTabs[std::size_t(i)] / kTwipsPerLayoutPixel;
        } else {
            // Cells beyond the record's edges share what is left of the line.
            const qreal share = (textWidth - x) / (count - i);
            cell.right = x + std::max(share, kNarrowestCell * 4);
        }
        cell.right = std::max(cell.right, cell.left + kNarrowestCell);
        // The gap may not eat the whole cell.
        cell.gap = std::min(gap, (cell.right - cell.left - 1) / 2);
        x = cell.right;
    }
    const qreal shift = std::max<qreal>(0, -row.left());
    for (TableCell& cell : row.cells) {
        cell.left += shift;
        cell.right += shift;
    }

    if (pf.bLineSpacingRule == LS_ATLEAST || pf.bLineSpacingRule == LS_EXACTLY) {
        row.height = pf.dyLineSpacing / kTwipsPerLayoutPixel;
        row.exactHeight = pf.bLineSpacingRule == LS_EXACTLY;
    }
    row.spaceBefore = pf.dySpaceBefore / kTwipsPerLayoutPixel;
    row.spaceAfter = pf.dySpaceAfter / kTwipsPerLayoutPixel;
    row.borders = pf.wBorders;
    row.borderWidth = pf.wBorderWidth / kTwipsPerLayoutPixel;
    return row;
}

}  // namespace richedit
