// Table cells while editing: deleting inside a row takes the cells' text and leaves the cells.
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

}  // namespace richedit
