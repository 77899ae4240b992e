// Geometry of the engine: the formatting rectangle, zoom, scrolling, and the display-line queries.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace richedit {

namespace {
constexpr int kSelectionBarWidth = 8;
constexpr int kLeftInset = 2;
}  // namespace

double Engine::Private::zoom() const { return (zoomNum > 0 && zoomDen > 0) ? double(zoomNum) / zoomDen : 1.0; }

int Engine::Private::selectionBarWidth() const { return (options & ECO_SELECTIONBAR) ? kSelectionBarWidth : 0; }

QRect Engine::Private::effectiveFormatRect() const {
    if (!formatRect.isEmpty()) return formatRect;
    // A hidden engine's viewport is laid out only when it is shown: until then its own size stands in.
    QRect r = q->isVisible() ? q->viewport()->rect() : QRect(QPoint(0, 0), q->contentsRect().size());
    r.setLeft(r.left() + selectionBarWidth() + kLeftInset);
    if (r.width() < 1) r.setWidth(1);
    return r;
}

qreal Engine::Private::wrapWidth() const {
    qreal width = effectiveFormatRect().width();
    // Text wraps as if the vertical scroll bar were there, so that the bar coming or going does not
    // lay the whole document out again.
    if (formatRect.isEmpty() && !(q->isVisible() && q->verticalScrollBar()->isVisible()))
        width -= q->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, q->verticalScrollBar());
    return std::max(1.0, width / zoom());
}

void Engine::Private::updateLayoutWidth() {
    const qreal width = wrapWidth();
    QTextOption option = doc->defaultTextOption();
    const QTextOption::WrapMode wrap = wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap;
    bool relayout = false;
    if (option.wrapMode() != wrap) {
        option.setWrapMode(wrap);
        doc->setDefaultTextOption(option);
        relayout = true;
    }
    if (std::abs(doc->textWidth() - width) > 0.001) {
        doc->setTextWidth(width);
        relayout = true;
    }
    if (relayout) layout->relayout();
    updateScrollBars();
}

void Engine::Private::updateScrollBars() {
    const QRect rect = effectiveFormatRect();
    const QSizeF size = doc->documentLayout()->documentSize();
    const double z = zoom();
    const int viewHeight = q->viewport()->height();
    const int contentHeight = int(std::ceil(size.height() * z)) + rect.top();
    QScrollBar* v = q->verticalScrollBar();
    v->setRange(0, std::max(0, contentHeight - viewHeight));
    v->setPageStep(std::max(1, viewHeight));
    v->setSingleStep(std::max(1, int(20 * z)));
    QScrollBar* h = q->horizontalScrollBar();
    if (wordWrap) {
        h->setRange(0, 0);
    } else {
        const int contentWidth = int(std::ceil(size.width() * z)) + rect.left() + 2;
        h->setRange(0, std::max(0, contentWidth - q->viewport()->width()));
        h->setPageStep(std::max(1, q->viewport()->width()));
        h->setSingleStep(std::max(1, int(20 * z)));
    }
}

QPointF Engine::Private::toView(QPointF p) const {
    const QRect rect = effectiveFormatRect();
    const double z = zoom();
    return {rect.left() + p.x() * z - q->horizontalScrollBar()->value(), rect.top() + p.y() * z - q->verticalScrollBar()->value()};
}

QPointF Engine::Private::toLayout(QPointF p) const {
    const QRect rect = effectiveFormatRect();
    const double z = zoom();
    return {(p.x() - rect.left() + q->horizontalScrollBar()->value()) / z,
            (p.y() - rect.top() + q->verticalScrollBar()->value()) / z};
}

void Engine::Private::syncHiddenWidth() const {
    if (!q->isVisible()) const_cast<Private*>(this)->updateLayoutWidth();
}

QRectF Engine::Private::caretRect(int position) const {
    syncHiddenWidth();
    position = std::clamp(position, 0, length());
    const QTextBlock block = doc->findBlock(position);
    return layout->caretRect(block, position - block.position());
}

int Engine::Private::hitTest(QPointF p) const {
    syncHiddenWidth();
    if (p.y() < 0) p.setY(0);
    const int pos = layout->hitTest(p, Qt::FuzzyHit);
    return pos < 0 ? length() : std::clamp(pos, 0, length());
}

void Engine::Private::ensureVisible(int position) {
    const QRectF caretLayout = caretRect(position);
    const double z = zoom();
    const QRect rect = effectiveFormatRect();
    QScrollBar* v = q->verticalScrollBar();
    QScrollBar* h = q->horizontalScrollBar();
    updateScrollBars();
    const int top = int(std::floor(rect.top() + caretLayout.top() * z));
    const int bottom = int(std::ceil(rect.top() + caretLayout.bottom() * z));
    const int viewHeight = q->viewport()->height();
    if (top < v->value()) v->setValue(top - rect.top());
    else if (bottom > v->value() + viewHeight) v->setValue(bottom - viewHeight);
    if (!wordWrap) {
        const int x = int(rect.left() + caretLayout.left() * z);
        const int viewWidth = q->viewport()->width();
        if (x < h->value() + rect.left()) h->setValue(std::max(0, x - rect.left() - viewWidth / 3));
        else if (x > h->value() + viewWidth - 2) h->setValue(x - viewWidth + viewWidth / 3);
    }
}

// ---- display-line queries -----------------------------------------------------------------------

int Engine::getLineCount() const {
    d->syncHiddenWidth();
    return d->layout->lineCount();
}

int Engine::exLineFromChar(int cp) const {
    if (cp < 0) cp = d->caret;
    cp = std::clamp(cp, 0, d->length());
    d->syncHiddenWidth();
    return d->layout->lineOfPosition(cp);
}

int Engine::lineIndex(int line) const {
    if (line < 0) line = exLineFromChar(-1);
    d->syncHiddenWidth();
    int inBlock = 0;
    const QTextBlock block = d->layout->blockOfLine(line, inBlock);
    if (!block.isValid()) return -1;
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return block.position();
    return block.position() + layout->lineAt(inBlock).textStart();
}

namespace {
// The line of `block` numbered `inBlock`, as [start, length) relative to the paragraph; `raw` is the
// document's text.
std::pair<int, int> lineSpan(const QTextBlock& block, int inBlock, const QString& raw) {
    const int blockLength = block.length() - 1;
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return {0, blockLength};
    const QTextLine line = layout->lineAt(inBlock);
    const int start = std::min(line.textStart(), blockLength);
    int len = std::clamp(line.textLength(), 0, blockLength - start);
    // A soft line break ends its line but is not part of its text; nor is the mark ending a table cell.
    if (len > 0 && raw[block.position() + start + len - 1] == QChar::LineSeparator) --len;
    else if (len > 0 && raw[block.position() + start + len - 1] == u'\t' && isTableRow(block.blockFormat())) --len;
    return {start, len};
}
}  // namespace

std::vector<std::pair<int, int>> Engine::paragraphLines(const QTextBlock& block) const {
    d->syncHiddenWidth();
    const QTextLayout* layout = d->layout->linesOf(block);
    const int count = layout ? std::max(1, layout->lineCount()) : 1;
    const QString& raw = d->rawText();
    std::vector<std::pair<int, int>> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) lines.push_back(lineSpan(block, i, raw));
    return lines;
}

int Engine::lineLength(int cp) const {
    const int line = exLineFromChar(cp);
    int inBlock = 0;
    const QTextBlock block = d->layout->blockOfLine(line, inBlock);
    if (!block.isValid()) return 0;
    return lineSpan(block, inBlock, d->rawText()).second;
}

QString Engine::getLine(int line, int maxChars) const {
    d->syncHiddenWidth();
    int inBlock = 0;
    const QTextBlock block = d->layout->blockOfLine(line, inBlock);
    if (!block.isValid() || maxChars <= 0) return {};
    const QString& raw = d->rawText();
    const auto [start, len] = lineSpan(block, inBlock, raw);
    const int from = block.position() + start;
    const bool lastLineOfParagraph = inBlock >= block.layout()->lineCount() - 1;
    QString text;
    text.reserve(std::min(len + 1, maxChars));
    text.append(QStringView(raw).mid(from, std::min(len, maxChars)));
    if (lastLineOfParagraph && block.next().isValid()) text += u'\r';
    else if (!lastLineOfParagraph && from + len < raw.size() && raw[from + len] == QChar::LineSeparator) text += u'\v';
    return text.left(maxChars);
}

int Engine::firstVisibleLine() const {
    const QPointF top = d->toLayout(QPointF(d->effectiveFormatRect().left(), 0));
    return exLineFromChar(d->hitTest(QPointF(0, std::max(0.0, top.y()))));
}

QPoint Engine::posFromChar(int cp) const {
    const QRectF r = d->caretRect(cp);
    return d->toView(r.topLeft()).toPoint();
}

int Engine::charFromPos(const QPoint& point) const { return d->hitTest(d->toLayout(point)); }

}  // namespace richedit
