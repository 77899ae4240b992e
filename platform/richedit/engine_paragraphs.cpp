// Layout progress and questions about single paragraphs, answered without laying out the rest.
#include "platform/richedit/engine_private.h"

#include <QTextLayout>

#include <algorithm>

namespace richedit {

bool Engine::layoutComplete() const { return d->layout->isComplete(); }

void Engine::completeLayout() {
    d->syncHiddenWidth();
    d->layout->completeLayout();
    d->updateScrollBars();
}

std::vector<std::pair<int, int>> Engine::paragraphLines(const QTextBlock& block) const {
    d->syncHiddenWidth();
    std::vector<std::pair<int, int>> lines;
    const QTextLayout* layout = d->layout->linesOf(block);
    const QString text = block.text();
    const int size = int(text.size());
    if (!layout || layout->lineCount() == 0) return {{0, size}};
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int start = std::min(line.textStart(), size);
        int length = std::clamp(line.textLength(), 0, size - start);
        if (length > 0 && text[start + length - 1] == QChar::LineSeparator) --length;
        lines.emplace_back(start, length);
    }
    return lines;
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
