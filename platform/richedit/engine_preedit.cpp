// The input method's pre-edit text: drawn at the caret, underlined, over what follows it, until the
// input method commits or cancels it. It is not part of the document.
#include "platform/richedit/engine_private.h"

#include <QPainter>

namespace richedit {

void Engine::Private::paintPreedit(QPainter& painter) const {
    if (preedit.isEmpty()) return;
    const QRectF caretBox = caretRect(caret);
    const QFont font = typingFormat(caret).font().resolve(doc->defaultFont());
    const QFontMetricsF metrics(font, const_cast<QImage*>(&layoutDevice));
    const QRectF box(caretBox.left(), caretBox.top(), metrics.horizontalAdvance(preedit) + 1, caretBox.height());
    painter.save();
    painter.fillRect(box, background.isValid() ? background : q->palette().color(QPalette::Base));
    QFont shown = font;
    shown.setUnderline(true);
    painter.setFont(QFont(shown, const_cast<QImage*>(&layoutDevice)));
    painter.setPen(q->palette().color(QPalette::Text));
    // On the line's baseline: the caret box spans the line, the text sits at its bottom less the descent.
    painter.drawText(QPointF(box.left(), box.bottom() - metrics.descent()), preedit);
    painter.restore();
}

}  // namespace richedit
