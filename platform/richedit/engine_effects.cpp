// The character effects the engine itself acts on: where they are, and a caret that steps over
// hidden text as if it were not there (it takes no room on screen).
#include "platform/richedit/engine_private.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>
#include <QTextCursor>

namespace richedit {

std::uint32_t Engine::Private::storedEffectsAt(int position) const {
    if (position < 0 || position >= length()) return 0;
    const QTextBlock block = doc->findBlock(position);
    auto effects = [](const QTextCharFormat& f) {
        return f.hasProperty(PropCharEffects) ? std::uint32_t(f.intProperty(PropCharEffects)) : 0u;
    };
    // A paragraph break carries the character format of the paragraph it starts.
    if (position == block.position() + block.length() - 1) return effects(block.next().charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return effects(fragment.charFormat());
    }
    return 0;
}

int Engine::Private::visibleStep(int position, bool forward) const {
    QTextCursor c(doc);
    c.setPosition(std::clamp(position, 0, length()));
    const auto op = forward ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter;
    for (;;) {
        const int from = c.position();
        if (!c.movePosition(op)) return c.position();
        const int crossed = forward ? from : c.position();
        if (!(storedEffectsAt(crossed) & CFE_HIDDEN) || rawText()[crossed] == QChar::ParagraphSeparator)
            return c.position();
    }
}

}  // namespace richedit
