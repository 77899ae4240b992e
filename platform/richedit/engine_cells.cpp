// Table cells while editing: deleting inside a row takes the cells' text and leaves the cells, Enter
// starts a new line in the cell, and Tab in the last cell adds a row.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>

namespace richedit {

int Engine::Private::removeKeepingCellMarks(QTextCursor& c, int from, int to) {
    c.setPosition(from);
    if (from == to) return 0;
    const QTextBlock block = doc->findBlock(from);
    const int end = block.position() + block.length() - 1;  // the paragraph mark
    if (to > end || !isTableRow(block.blockFormat())) {
        c.setPosition(to, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        return 0;
    }
    // From the end backwards, so that the positions before each piece stay valid.
    const QString& text = rawText();
    int kept = 0;
    int pieceEnd = to;
    for (int i = to - 1; i >= from - 1; --i) {
        if (i >= from && text[i] != u'\t') continue;
        const int pieceStart = i + 1;
        if (pieceStart < pieceEnd) {
            c.setPosition(pieceStart);
            c.setPosition(pieceEnd, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
        if (i >= from) ++kept;
        pieceEnd = i;
    }
    c.setPosition(from);
    return kept;
}

bool Engine::Private::typeBreakInRow(int from, int to) {
    const QTextBlock block = doc->findBlock(from);
    if (isPlain() || !isTableRow(block.blockFormat()) || doc->findBlock(to) != block) return false;
    if (to < block.position() + block.length() - 1 || block.next().isValid()) {
        insertText(from, to, QString(QChar::LineSeparator), UndoMode::Record, EditOrigin::Typing);
        return true;
    }
    // At the end of a row that ends the document: a way out of the table, an ordinary paragraph.
    PARAFORMAT2 ordinary;
    ordinary.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_SPACEBEFORE |
                      PFM_SPACEAFTER | PFM_LINESPACING | PFM_TABLE | PFM_BORDER | PFM_SHADING;
    ordinary.wAlignment = PFA_LEFT;
    QTextBlockFormat paragraph = block.blockFormat();
    applyParaFormat(ordinary, paragraph);
    const QTextCharFormat characters = typingFormat(from);
    replaceRange(from, to, [&](QTextCursor& c) { c.insertBlock(paragraph, characters); }, UndoMode::Record,
                 EditOrigin::Typing);
    return true;
}

void Engine::Private::addRowAfter(const QTextBlock& row) {
    const int end = row.position() + row.length() - 1;
    const int marks = int(row.text().count(u'\t'));
    if (capacityFor(0) < marks + 1) return;
    const QTextCharFormat characters = typingFormat(end);
    replaceRange(end, end,
                 [&](QTextCursor& c) {
                     c.insertBlock(row.blockFormat(), characters);
                     if (marks > 0) c.insertText(QString(marks, u'\t'), characters);
                 },
                 UndoMode::Record, EditOrigin::Other);
    setSelection(end + 1, end + 1, true);
}

}  // namespace richedit
