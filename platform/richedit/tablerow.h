#pragma once
// The geometry of a table row: a paragraph marked as a row (PFE_TABLE) whose cells are separated by
// tabs, with the cells' right edges, the row's left edge, the gap and the height in its record. The
// layout places each cell's lines in its own column; this is where the columns come from.

#include <QList>
#include <QTextBlock>

#include <cstdint>

namespace richedit {

struct TableCell {
    int from = 0;      // first character, relative to the paragraph
    int to = 0;        // the cell mark ending it, or the paragraph's end for the last cell
    qreal left = 0;    // the cell's box, layout units
    qreal right = 0;
    qreal textLeft() const;   // where the cell's lines start (the box less the gap)
    qreal textWidth() const;
    qreal gap = 0;
};

struct TableRow {
    QList<TableCell> cells;
    qreal height = 0;      // the row height asked for (0: as tall as its text)
    bool exactHeight = false;
    std::uint16_t borders = 0;  // PFBRD_ bits
    qreal borderWidth = 0;
    qreal spaceBefore = 0;  // the paragraph's spacing, inside each cell above and below its text
    qreal spaceAfter = 0;
    qreal left() const { return cells.isEmpty() ? 0 : cells.front().left; }
    qreal right() const { return cells.isEmpty() ? 0 : cells.back().right; }
    // The cell holding character `position` (relative to the paragraph); a mark belongs to the cell
    // it ends.
    int cellOf(int position) const;
    // The cell whose column is nearest to x.
    int cellAtX(qreal x) const;
};

// The pieces of a paragraph's text between the places where a line must end: its soft line breaks
// and, in a table row, its cell marks.
QList<QStringView> forcedLines(QStringView text, bool tableRow);

// The row's cells for a text width of `textWidth` layout units. Cells without an edge in the record
// share the width left over; a row reaching left of the margin is moved right onto it.
TableRow tableRowOf(const QTextBlock& block, qreal textWidth);

}  // namespace richedit
