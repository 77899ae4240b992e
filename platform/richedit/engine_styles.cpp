// Paragraph styles while typing: Enter at the end of a paragraph starts one of the style that its
// style names as the next (a heading is usually followed by body text).
#include "platform/richedit/engine_private.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>
#include <QTextCursor>

namespace richedit {

void Engine::Private::typeParagraphBreak(int from, int to) {
    if (typeBreakInRow(from, to)) return;
    const QTextBlock block = doc->findBlock(to);
    const bool atEnd = to == block.position() + block.length() - 1 && doc->findBlock(from) == block;
    const std::shared_ptr<const StyleSheet> sheet = StyleSheet::of(*doc);
    const int current = block.blockFormat().intProperty(PropStyle);
    const ParagraphStyle* style = sheet ? sheet->find(current) : nullptr;
    const ParagraphStyle* next = style && style->next >= 0 && style->next != current ? sheet->find(style->next) : nullptr;
    if (isPlain() || !atEnd || !next || capacityFor(to - from) < 1) {
        insertText(from, to, QStringLiteral("\r"), UndoMode::Record, EditOrigin::Typing);
        return;
    }
    QTextBlockFormat paragraph;
    applyParaFormat(next->para, paragraph);
    QTextCharFormat characters;
    CHARFORMAT2 cf = next->chars;
    cf.dwMask &= ~CFM_LINK;
    applyCharFormat(cf, characters);
    replaceRange(from, to, [&](QTextCursor& c) { c.insertBlock(paragraph, characters); }, UndoMode::Record,
                 EditOrigin::Typing);
}

}  // namespace richedit
