// Layout progress and questions about single paragraphs, answered without laying out the rest.
#include "platform/richedit/engine_private.h"

namespace richedit {

bool Engine::layoutComplete() const { return d->layout->isComplete(); }

void Engine::completeLayout() {
    d->syncHiddenWidth();
    d->layout->completeLayout();
    d->updateScrollBars();
}

bool Engine::wrapsOnlyAtBlanks(const QTextBlock& block) const {
    d->syncHiddenWidth();
    return d->layout->wrapsOnlyAtBlanks(block);
}

int Engine::layoutGeneration() const {
    d->syncHiddenWidth();
    return d->layout->generation();
}

}  // namespace richedit
