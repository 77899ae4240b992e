// Colouring many ranges at once without an undo step (syntax colouring of a whole document).
#include "platform/richedit/engine.h"
#include "platform/richedit/engine_private.h"

#include <QTextCursor>

namespace richedit {

void Engine::colorRuns(const ColorRun* runs, int count) {
    if (!runs || count <= 0) return;
    const int length = d->length();
    QTextCursor c(d->doc);
    c.beginEditBlock();
    QTextCharFormat f;
    for (int i = 0; i < count; ++i) {
        const int from = std::clamp(runs[i].start, 0, length);
        const int to = std::clamp(runs[i].start + runs[i].length, from, length);
        if (from == to) continue;
        const std::uint32_t ref = runs[i].colorRef;
        f.setForeground(QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF)));
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        c.mergeCharFormat(f);
    }
    c.endEditBlock();
    viewport()->update();
}

}  // namespace richedit
