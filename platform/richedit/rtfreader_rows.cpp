// RTF reader: table rows. A row (\trowd ... \cell ... \row) becomes one paragraph marked
// PFE_TABLE whose cells are separated by tabs; the row definition in force at \row gives the
// record its cell edges, left edge, gap, height and borders. Several paragraphs of one cell are
// joined by line breaks, a tab inside a cell's text becomes a space (the tab is the cell mark),
// and nested tables are flattened into the text of their outer cell.
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/rtf_rows.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>

#include <algorithm>

namespace richedit::rtf {

namespace {

// Border kinds: any of them draws a border; \brdrnone and \brdrtbl draw none.
bool borderStyle(Kw kw) {
    switch (kw) {
    case Kw::brdrs: case Kw::brdrth: case Kw::brdrsh: case Kw::brdrdb: case Kw::brdrdot: case Kw::brdrdash:
    case Kw::brdrhair: case Kw::brdrdashsm: case Kw::brdrdashd: case Kw::brdrdashdd: case Kw::brdrtriple:
    case Kw::brdrwavy: case Kw::brdrwavydb: case Kw::brdrinset: case Kw::brdroutset: case Kw::brdremboss:
    case Kw::brdrengrave: case Kw::brdrframe: case Kw::brdrdashdotstr:
        return true;
    default:
        return false;
    }
}

constexpr int kMaxBorderWidth = 255;  // twips; \brdrw allows no more
constexpr int kDefaultBorderWidth = 15;
constexpr int kMaxLinesPerCell = 4096;  // line breaks of empty paragraphs kept per cell

}  // namespace

bool Reader::rowWord(Kw kw, std::int32_t param) {
    RowDefinition& def = rowDef_;
    auto borderOf = [this](BorderWord::Of of, std::uint16_t sides) {
        foldBorder();
        border_ = BorderWord{of, sides, false, 0};
        return true;
    };
    auto lineInCell = [this] {  // a line break if the cell goes on
        if (!row_.open) openRow();
        row_.pendingLines = std::min(row_.pendingLines + 1, kMaxLinesPerCell);
        return true;
    };
    switch (kw) {
    case Kw::pard:
        foldBorder();  // the row's border words end with its definition
        row_.pardAfterCell = row_.open;
        return false;
    case Kw::trowd:
        def = RowDefinition{};
        border_ = BorderWord{};
        return true;
    case Kw::trgaph: def.gap = std::clamp(param, 0, kMaxLength); return true;
    case Kw::trpaddl: case Kw::trpaddr: case Kw::clpadl: case Kw::clpadr:
        def.padding = std::max(def.padding, std::clamp(param, 0, kMaxLength));
        return true;
    case Kw::trleft: def.left = std::clamp(param, -kMaxLength, kMaxLength); return true;
    case Kw::trrh: def.height = std::clamp(param, -kMaxLength, kMaxLength); return true;
    case Kw::clmgf: return true;  // the first of merged cells: the one that stays
    case Kw::clmrg: def.pendingMerge = true; return true;
    case Kw::cellx: {
        foldBorder();
        const int edge = std::clamp(param, -kMaxLength, kMaxLength);
        if (def.pendingMerge && !def.edges.empty() && def.cellsDefined < MAX_TAB_STOPS) {
            // The record has no merged cells: the first of them reaches to the last one's edge.
            def.edges.back() = edge;
            def.cellBorders.back() = std::uint16_t((def.cellBorders.back() & ~PFBRD_RIGHT) | def.pendingCellBorders);
            def.mergedCells.push_back(def.cellsDefined);
        } else if (int(def.edges.size()) < MAX_TAB_STOPS) {
            def.edges.push_back(edge);
            def.cellBorders.push_back(def.pendingCellBorders);
        }
        def.cellsDefined = std::min(def.cellsDefined + 1, MAX_TAB_STOPS);
        def.pendingCellBorders = 0;
        def.pendingMerge = false;
        return true;
    }
    // A row's inside horizontal borders lie between rows: each row draws them as its top and bottom.
    case Kw::trbrdrl: return borderOf(BorderWord::Of::Row, PFBRD_LEFT);
    case Kw::trbrdrr: return borderOf(BorderWord::Of::Row, PFBRD_RIGHT);
    case Kw::trbrdrt: return borderOf(BorderWord::Of::Row, PFBRD_TOP);
    case Kw::trbrdrb: return borderOf(BorderWord::Of::Row, PFBRD_BOTTOM);
    case Kw::trbrdrh: return borderOf(BorderWord::Of::Row, PFBRD_TOP | PFBRD_BOTTOM);
    case Kw::trbrdrv: return borderOf(BorderWord::Of::Row, PFBRD_INSIDE);
    case Kw::clbrdrl: return borderOf(BorderWord::Of::Cell, PFBRD_LEFT);
    case Kw::clbrdrr: return borderOf(BorderWord::Of::Cell, PFBRD_RIGHT);
    case Kw::clbrdrt: return borderOf(BorderWord::Of::Cell, PFBRD_TOP);
    case Kw::clbrdrb: return borderOf(BorderWord::Of::Cell, PFBRD_BOTTOM);
    case Kw::brdrnone:
    case Kw::brdrtbl:
        if (border_.of == BorderWord::Of::None) return false;
        border_.drawn = false;
        return true;
    case Kw::brdrw:
        if (border_.of == BorderWord::Of::None) return false;
        border_.width = std::clamp(param, 0, kMaxBorderWidth);
        return true;
    case Kw::itap: return true;  // nested cells are flattened by \nestcell and \nestrow
    case Kw::page:
    case Kw::sect:
    case Kw::column:
        return row_.open;  // a row is one paragraph: no break inside it
    case Kw::cell:
        cellMark();
        return true;
    case Kw::nestcell:
        // A nested table's cells stay in the outer cell, apart by a space, its rows by line breaks.
        text(u" ");
        return true;
    case Kw::nesttableprops:  // a nested row's definition and its end: the row ends here
        setDest(Dest::Skip);
        [[fallthrough]];
    case Kw::nestrow: return lineInCell();
    case Kw::row:
        if (!row_.open) {
            if (def.edges.empty()) return false;  // no row at all: nothing but a paragraph mark
            openRow();  // a row without cells: an empty row of the defined cells
        }
        endRow();
        return true;
    case Kw::par:
        if (top().para.inTable) return lineInCell();  // the end of a paragraph in a cell
        if (row_.open) {
            endRow();  // cells that no \row closed end with the next paragraph outside the table
            return true;
        }
        return false;
    default:
        if (!borderStyle(kw) || border_.of == BorderWord::Of::None) return false;
        border_.drawn = true;
        return true;
    }
}

void Reader::foldBorder() {
    const BorderWord b = border_;
    border_ = BorderWord{};
    if (b.of == BorderWord::Of::None || !b.drawn) return;
    if (b.of == BorderWord::Of::Row) rowDef_.rowBorders |= b.sides;
    else rowDef_.pendingCellBorders |= b.sides;
    rowDef_.borderWidth = std::max(rowDef_.borderWidth, b.width > 0 ? b.width : kDefaultBorderWidth);
}

void Reader::openRow() {
    insertPendingBlock();
    flushRun();
    row_ = Row{};
    row_.open = true;
    row_.start = cursor_.position();
    row_.para = top().para;
    lastPictureGroup_ = GroupState::PictureGroup::None;  // a picture before the row is not replaced
}

void Reader::cellMark() {
    if (!row_.open) openRow();
    row_.pendingLines = 0;  // the mark of a cell's last paragraph ends the cell, not a line
    row_.pardAfterCell = false;
    row_.pendingMarks = std::min(row_.pendingMarks + 1, MAX_TAB_STOPS);
    row_.markState = top().ch;
    row_.markState.link = -1;  // a cell mark is no part of a link: the link ends with the cell
}

void Reader::contentInRow() {
    const bool inTable = top().para.inTable;
    // A row whose last paragraph ended without \cell or \row ends where the text leaves the table:
    // at a paragraph outside the table, whose \pard or paragraph mark shows that it is one.
    if (row_.open && !inTable && (row_.pendingLines > 0 || row_.pardAfterCell)) endRow();
    if (!inTable && !row_.open) return;
    if (!row_.open) openRow();
    writePendingMarks();
}

void Reader::writePendingMarks() {
    if (row_.pendingMarks == 0 && row_.pendingLines == 0) return;
    auto inState = [this](const CharState& state) {
        if (runState_ == state) return;
        flushRun();
        runState_ = state;
    };
    // A mark has the format of its \cell, so that it ends a link or a bold run with the cell.
    if (row_.pendingMarks > 0) inState(row_.markState);
    for (; row_.pendingMarks > 0; --row_.pendingMarks) {
        // Cells beyond what a record can hold share the last cell.
        if (row_.marks < MAX_TAB_STOPS - 1) {
            runText_.append(kCellMark);
            ++row_.marks;
        } else {
            runText_.append(u' ');
        }
    }
    if (row_.pendingLines > 0) inState(top().ch);
    runText_.append(QString(row_.pendingLines, QChar::LineSeparator));
    row_.pendingLines = 0;
}

void Reader::endRow() {
    // The last cell's mark adds no separator; empty cells before it do.
    row_.pendingLines = 0;
    if (row_.pendingMarks > 1) {
        --row_.pendingMarks;
        writePendingMarks();
    }
    flushRun();
    const int cells = row_.marks + 1 - settleCellMarks();
    if (ownsBlock_) {
        QTextBlockFormat format = blockFormat(row_.para);
        applyParaFormat(rowFormat(cells), format);
        cursor_.setBlockFormat(format);
        cursorBlockFormat_ = format;
        if (!paragraphHasContent_) cursor_.setBlockCharFormat(charFormat(top().ch));
    }
    row_ = Row{};
    pendingBreak_ = true;
    paragraphHasContent_ = false;
    pageBreakNext_ = false;
    lastPictureGroup_ = GroupState::PictureGroup::None;
}

int Reader::settleCellMarks() {
    // Cell marks become the tabs of the row, but for the marks before merged cells, which go;
    // tabs of the cells' own text become spaces.
    const std::vector<int>& merged = rowDef_.mergedCells;
    QTextCursor edit(cursor_);
    const QTextBlock block = cursor_.block();
    // In a paragraph of our own all of it is the row, text read before \intbl too; otherwise the
    // text before the row is the document's and stays as it is.
    const int offset = ownsBlock_ ? 0 : std::max(0, row_.start - block.position());
    const QString text = block.text();
    int mark = 0, removed = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != kCellMark && (c != u'\t' || i < offset)) continue;
        edit.setPosition(block.position() + i - removed);
        edit.setPosition(block.position() + i - removed + 1, QTextCursor::KeepAnchor);
        if (c == kCellMark && std::find(merged.begin(), merged.end(), ++mark) != merged.end()) {
            edit.removeSelectedText();
            ++removed;
        } else {
            edit.insertText(c == kCellMark ? QStringLiteral("\t") : QStringLiteral(" "), edit.charFormat());
        }
    }
    return removed;
}

PARAFORMAT2 Reader::rowFormat(int cells) const {
    const RowDefinition& def = rowDef_;
    const std::vector<int> edges = cellEdges(def.edges, def.left, cells);
    PARAFORMAT2 pf;
    pf.dwMask = PFM_TABLE | PFM_TABSTOPS | PFM_STARTINDENT | PFM_OFFSET | PFM_LINESPACING | PFM_BORDER | PFM_NUMBERING;
    pf.wEffects = PFE_TABLE;
    pf.cTabCount = std::int16_t(edges.size());
    std::copy(edges.begin(), edges.end(), pf.rgxTabs.begin());
    pf.dxStartIndent = def.left;
    pf.dxOffset = def.gap >= 0 ? def.gap : def.padding;
    pf.dyLineSpacing = std::abs(def.height);
    pf.bLineSpacingRule = def.height > 0 ? LS_ATLEAST : def.height < 0 ? LS_EXACTLY : LS_SINGLE;
    // One set of borders for the row: a border any cell draws counts. A cell's left and right
    // borders are the row's outer ones at its ends and the inside ones between cells.
    std::uint16_t borders = def.rowBorders;
    const int defined = int(def.cellBorders.size());
    for (int i = 0; i < defined; ++i) {
        const std::uint16_t b = def.cellBorders[std::size_t(i)];
        borders |= b & (PFBRD_TOP | PFBRD_BOTTOM);
        if (b & PFBRD_LEFT) borders |= i == 0 ? PFBRD_LEFT : PFBRD_INSIDE;
        if (b & PFBRD_RIGHT) borders |= i == defined - 1 ? PFBRD_RIGHT : PFBRD_INSIDE;
    }
    pf.wBorders = borders;
    pf.wBorderWidth = borders ? std::uint16_t(def.borderWidth) : 0;
    pf.wNumbering = PFN_NONE;  // a row is not a list item
    return pf;
}

}  // namespace richedit::rtf
