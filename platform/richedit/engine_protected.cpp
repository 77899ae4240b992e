// Protected text (CFE_PROTECTED): no edit may change it. Nobody is asked to allow a change, so every
// change that would remove or split protected characters is refused; its formatting may change.
// Text may be inserted right before or right after a protected run, and such text does not become
// protected itself (see typingFormat).
#include "platform/richedit/engine_private.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>

namespace richedit {

namespace {

bool isProtected(const QTextCharFormat& format) {
    return format.hasProperty(PropCharEffects) && (format.intProperty(PropCharEffects) & CFE_PROTECTED);
}

}  // namespace

bool Engine::Private::protectedAt(int position) const { return storedEffectsAt(position) & CFE_PROTECTED; }

bool Engine::Private::changesProtectedText(int from, int to) const {
    if (from >= to) return protectedAt(from - 1) && protectedAt(from);  // inside a protected run
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < to && fragment.position() + fragment.length() > from &&
                isProtected(fragment.charFormat()))
                return true;
        }
        const int breakAt = block.position() + block.length() - 1;
        if (breakAt >= from && breakAt < to && protectedAt(breakAt)) return true;
    }
    return false;
}

}  // namespace richedit
