// Table rows in the paragraph layout: each cell's lines wrap within its column, the row is as tall
// as its tallest cell (or as its record asks), and the cell borders are drawn around them.
#include "platform/richedit/paragraphlayout.h"
#include "platform/richedit/records.h"
#include "platform/richedit/textformat.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace richedit {

namespace {

constexpr qreal kCellPadding = 1;  // layout units above and below a cell's text
// A cell mark (tab) ends its line: with a tab stop this far away nothing after it fits on the line.
constexpr qreal kMarkStop = 1e6;

}  // namespace

TableRow ParagraphLayout::rowOf(const QTextBlock& block) const { return tableRowOf(block, textWidth()); }

void ParagraphLayout::layOutRow(const QTextBlock& block) const {
    const QTextDocument& doc = *document();
    QTextLayout* layout = block.layout();
    const QTextBlockFormat format = block.blockFormat();
    const TableRow row = rowOf(block);

    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);  // a cell always wraps in its column
    // Justified lines would stretch the mark; cells are set flush left instead.
    option.setAlignment(format.alignment() & Qt::AlignJustify ? Qt::AlignLeft | Qt::AlignAbsolute : format.alignment());
    option.setTabs({});
    option.setTabStopDistance(kMarkStop);
    layout->setTextOption(option);
    layout->setCacheEnabled(false);

    std::vector<qreal> bottoms(std::size_t(row.cells.size()), kCellPadding + row.spaceBefore);
    int lines = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        const int c = row.cellOf(line.textStart());
        const TableCell& cell = row.cells[c];
        line.setLeadingIncluded(true);
        line.setLineWidth(cell.textWidth());
        qreal& y = bottoms[std::size_t(c)];
        line.setPosition(QPointF(cell.textLeft(), y));
        y += line.height();
        ++lines;
    }
    layout->endLayout();

    qreal content = 0;
    for (const qreal bottom : bottoms) content = std::max(content, bottom + row.spaceAfter + kCellPadding);
    qreal height = content;
    if (row.height > 0) height = row.exactHeight ? row.height : std::max(content, row.height);

    ParagraphIndex::Measure measure;
    measure.height = float(height);  // a row's spacing is inside its cells
    measure.width = float(row.right());
    measure.lines = std::max(1, lines);
    index_.set(block.blockNumber(), measure);
}

qreal ParagraphLayout::rowHeight(const QTextBlock& block) const { return index_.at(block.blockNumber()).height; }

int ParagraphLayout::hitTestRow(const QTextBlock& block, const QTextLayout* layout, QPointF point,
                                Qt::HitTestAccuracy accuracy) const {
    const TableRow row = rowOf(block);
    const int c = row.cellAtX(point.x());
    const TableCell& cell = row.cells[c];
    // The cell's lines, top to bottom; the one under the point, else the nearest.
    int chosen = -1;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (row.cellOf(line.textStart()) != c) continue;
        if (chosen < 0 || line.y() <= point.y()) chosen = i;
    }
    if (chosen < 0) return accuracy == Qt::ExactHit ? -1 : block.position() + cell.from;  // an empty last cell
    const QTextLine line = layout->lineAt(chosen);
    if (accuracy == Qt::ExactHit) {
        const QRectF box = line.naturalTextRect();
        if (point.y() < line.y() || point.y() >= line.y() + line.height() || point.x() < box.left() ||
            point.x() > std::min(box.right(), cell.right))
            return -1;
    }
    // Past the end of a cell's text is the end of that cell, not the start of the next.
    return block.position() + std::clamp(line.xToCursor(point.x()), cell.from, cell.to);
}

QRectF ParagraphLayout::rowCaretRect(const QTextBlock& block, const QTextLine& line, int position) const {
    const TableRow row = rowOf(block);
    const TableCell& cell = row.cells[row.cellOf(position)];
    // An empty last cell has no line of its own: the caret stands at its top left.
    if (row.cellOf(line.textStart()) != row.cellOf(position))
        return {cell.textLeft(), kCellPadding + row.spaceBefore, 1, line.height()};
    const qreal x = std::min(line.cursorToX(position), cell.textLeft() + cell.textWidth());
    return {x, line.y(), 1, line.height()};
}

void ParagraphLayout::drawRowBorders(QPainter* painter, const QTextBlock& block, const QTextLayout* layout) const {
    const TableRow row = rowOf(block);
    if (!row.borders || row.cells.isEmpty()) return;
    const qreal top = layout->position().y();
    const qreal bottom = top + rowHeight(block);
    painter->save();
    QPen pen(painter->pen().color());
    pen.setWidthF(std::max<qreal>(row.borderWidth, 0.5));
    pen.setCapStyle(Qt::SquareCap);
    painter->setPen(pen);
    const qreal left = row.left(), right = row.right();
    if (row.borders & PFBRD_TOP) painter->drawLine(QPointF(left, top), QPointF(right, top));
    if (row.borders & PFBRD_BOTTOM) painter->drawLine(QPointF(left, bottom), QPointF(right, bottom));
    if (row.borders & PFBRD_LEFT) painter->drawLine(QPointF(left, top), QPointF(left, bottom));
    if (row.borders & PFBRD_RIGHT) painter->drawLine(QPointF(right, top), QPointF(right, bottom));
    if (row.borders & PFBRD_INSIDE)
        for (int i = 0; i + 1 < row.cells.size(); ++i)
            painter->drawLine(QPointF(row.cells[i].right, top), QPointF(row.cells[i].right, bottom));
    painter->restore();
}

}  // namespace richedit
