// Drawing the engine: the document through its layout, with the selection, the caret and the
// detected links laid over it as display-only formats, and the bullets and numbers of paragraphs.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/numbering.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include <cmath>
#include <limits>

namespace richedit {

void Engine::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QColor background = d->background.isValid() ? d->background : palette().color(QPalette::Base);
    painter.fillRect(event->rect(), background);

    const QRect rect = d->effectiveFormatRect();
    const double z = d->zoom();
    painter.translate(rect.left() - horizontalScrollBar()->value(), rect.top() - verticalScrollBar()->value());
    painter.scale(z, z);
    const QRectF clip = painter.transform().inverted().mapRect(QRectF(event->rect()));

    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette = palette();
    if (!(d->defaultFormat.dwEffects & CFE_AUTOCOLOR))
        ctx.palette.setColor(QPalette::Text, colorFromRef(d->defaultFormat.crTextColor));
    const CHARRANGE sel = d->selection();
    const bool focused = hasFocus();
    if (sel.cpMin == sel.cpMax && focused && d->caretVisible) ctx.cursorPosition = d->caret;

    const int first = d->hitTest(clip.topLeft());
    const int last = d->hitTest(clip.bottomRight());
    if (!d->isPlain() || d->autoUrl) {
        QTextCharFormat linkFormat;
        linkFormat.setForeground(palette().color(QPalette::Link));
        linkFormat.setFontUnderline(true);
        for (const CHARRANGE& link : d->linksIn(first, std::max(first, last) + 1)) {
            QTextCursor c(d->doc);
            c.setPosition(link.cpMin);
            c.setPosition(link.cpMax, QTextCursor::KeepAnchor);
            ctx.selections.append({c, linkFormat});
        }
    }
    if (sel.cpMin != sel.cpMax && (focused || !d->hideSelection)) {
        QTextCursor c(d->doc);
        c.setPosition(sel.cpMin);
        c.setPosition(sel.cpMax, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
        f.setBackground(palette().brush(group, QPalette::Highlight));
        f.setForeground(palette().brush(group, QPalette::HighlightedText));
        ctx.selections.append({c, f});
    }
    d->doc->documentLayout()->draw(&painter, ctx);
    d->numbers.update(*d->doc, d->contentRevision, d->numbersChangedFrom, d->doc->findBlock(last).blockNumber());
    d->numbersChangedFrom = std::numeric_limits<int>::max();
    drawParagraphLabels(painter, *d->doc, d->numbers, clip, &d->layoutDevice, ctx.palette);
    d->paintObjectFrame(painter);
    d->paintPreedit(painter);

    if (d->dropCaret >= 0) {
        const QRectF r = d->caretRect(d->dropCaret);
        painter.setPen(QPen(palette().color(QPalette::Text), 0, Qt::DotLine));
        painter.drawLine(r.topLeft(), r.bottomLeft());
    }
}

void Engine::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    d->updateLayoutWidth();
}

void Engine::scrollContentsBy(int, int) { viewport()->update(); }

void Engine::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    d->caretVisible = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0) d->caretTimer.start(flash / 2, this);
    viewport()->update();
}

void Engine::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    d->caretTimer.stop();
    viewport()->update();
}

void Engine::timerEvent(QTimerEvent* event) {
    if (event->timerId() == d->caretTimer.timerId()) {
        d->caretVisible = !d->caretVisible;
        const QRectF r = d->caretRect(d->caret);
        const QPointF topLeft = d->toView(r.topLeft());
        const QPointF bottomRight = d->toView(r.bottomRight());
        viewport()->update(QRectF(topLeft, bottomRight).toAlignedRect().adjusted(-2, -2, 2, 2));
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

void Engine::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) viewport()->update();
}

}  // namespace richedit
