// Format-range: pagination and rendering of the text onto any paint device, in twips.
#include "platform/richedit/engine_formatrange.h"

#include "platform/richedit/engine_private.h"
#include "platform/richedit/fragment.h"
#include "platform/richedit/numbering.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>

namespace richedit {

void FormatRangeCache::build(const QTextDocument& source, int revision, int widthTwips) {
    doc_ = std::make_unique<QTextDocument>();
    device_ = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    device_.setDotsPerMeterX(qRound(96 / 0.0254));
    device_.setDotsPerMeterY(qRound(96 / 0.0254));
    doc_->setUndoRedoEnabled(false);
    doc_->setDocumentMargin(0);
    doc_->setUseDesignMetrics(true);
    doc_->setDefaultFont(source.defaultFont());
    QTextOption option = source.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc_->setDefaultTextOption(option);
    QTextCursor cursor(doc_.get());
    cursor.beginEditBlock();
    Fragment::capture(source, 0, source.characterCount() - 1).insertAt(cursor, &source);
    cursor.endEditBlock();
    doc_->setTextWidth(std::max(1.0, widthTwips / kTwipsPerLayoutPixel));
    // The same paragraph layout as on screen, all of it now: pages are counted right away.
    layout_ = new ParagraphLayout(doc_.get());
    layout_->setPaintDevice(&device_);
    layout_->setBackgroundLayout(false);
    doc_->setDocumentLayout(layout_);
    layout_->completeLayout();
    numbers_ = ParagraphNumbers{};  // a new copy, perhaps at the old one's address
    numbers_.update(*doc_, revision);
    revision_ = revision;
    widthTwips_ = widthTwips;
}

namespace {

constexpr qreal kEdgeTolerance = 0.5;  // layout pixels

// The resolution that maps twips to the painter's pixels: a recorded picture has none of its own and
// takes the target's.
QPointF renderDpi(const QPainter* painter, const QPaintDevice* target) {
    const QPaintDevice* device = painter->device();
    if (device && device->devType() == QInternal::Picture && target) device = target;
    if (!device) return {96, 96};
    return {qreal(device->logicalDpiX()), qreal(device->logicalDpiY())};
}

}  // namespace

int Engine::formatRange(const FORMATRANGE* range, bool render) {
    if (!range) {
        d->formatCache.reset();
        return 0;
    }
    const int length = d->length();
    const int start = std::clamp(range->chrg.cpMin, 0, length);
    const int stop = (range->chrg.cpMax < 0 || range->chrg.cpMax > length) ? length : std::max(start, range->chrg.cpMax);
    const int widthTwips = range->rc.right - range->rc.left;
    const int heightTwips = range->rc.bottom - range->rc.top;
    // A page that cannot hold anything takes nothing: the caller sees no progress and stops.
    if (widthTwips <= 0 || heightTwips <= 0) return start;
    if (length > 0 && start >= stop) return start;

    if (!d->formatCache) d->formatCache = std::make_unique<FormatRangeCache>();
    if (!d->formatCache->matches(d->contentRevision, widthTwips)) d->formatCache->build(*d->doc, d->contentRevision, widthTwips);
    QTextDocument& doc = d->formatCache->document();
    const ParagraphLayout& pages = d->formatCache->layout();

    const qreal pageHeight = heightTwips / kTwipsPerLayoutPixel;
    QTextBlock block = doc.findBlock(start);
    const QTextLayout* layout = pages.placedLayout(block);
    int lineNo = 0;
    if (layout && layout->lineCount() > 0) {
        const QTextLine first = layout->lineForTextPosition(start - block.position());
        lineNo = first.isValid() ? first.lineNumber() : 0;
    }
    const qreal top = (layout && layout->lineCount() > 0) ? layout->position().y() + layout->lineAt(lineNo).y()
                                                          : pages.blockBoundingRect(block).top();
    qreal bottom = top;
    int next = length;  // the first character that did not fit
    bool placedAny = false;
    qreal belowBottom = 0;  // what the last thing on the page draws below its box
    for (; block.isValid(); block = block.next(), lineNo = 0) {
        layout = pages.placedLayout(block);
        const int lines = layout ? layout->lineCount() : 0;
        bool stopped = false;
        if (isTableRow(block.blockFormat()) && lines > 0) {
            // A row's cells stand side by side: the row goes onto a page whole, and one taller than a
            // page goes onto a page of its own, clipped.
            const QRectF rect = pages.blockBoundingRect(block);
            const int rowStart = std::max(start, block.position());
            if ((rowStart >= stop || rect.bottom() - top > pageHeight) && placedAny) {
                next = rowStart;
                break;
            }
            bottom = std::max(bottom, rect.bottom());
            // The row's bottom border lies on its lower edge, half of it below.
            const PARAFORMAT2 pf = paraFormatFrom(block.blockFormat());
            belowBottom = (pf.wBorders & PFBRD_BOTTOM) ? std::min(pf.wBorderWidth / kTwipsPerLayoutPixel / 2, 1.0) : 0;
            placedAny = true;
            continue;
        }
        for (; lineNo < lines; ++lineNo) {
            const QTextLine line = layout->lineAt(lineNo);
            const int lineStart = block.position() + line.textStart();
            if (lineStart >= stop && placedAny) {
                next = lineStart;
                stopped = true;
                break;
            }
            const qreal lineBottom = layout->position().y() + line.y() + line.height();
            // A line taller than the whole page still goes on a page of its own, clipped, so that
            // printing always makes progress.
            if (lineBottom - top > pageHeight && placedAny) {
                next = lineStart;
                stopped = true;
                break;
            }
            bottom = std::max(bottom, lineBottom);
            belowBottom = 0;
            placedAny = true;
        }
        if (stopped) break;
    }

    if (render && range->hdc) {
        QPainter* painter = range->hdc;
        const QPointF dpi = renderDpi(painter, range->hdcTarget);
        painter->save();
        painter->translate(range->rc.left * dpi.x() / 1440.0, range->rc.top * dpi.y() / 1440.0);
        painter->scale(dpi.x() / 96.0, dpi.y() / 96.0);
        const QRectF area(0, 0, widthTwips / kTwipsPerLayoutPixel, std::min(pageHeight, bottom - top) + belowBottom);
        painter->setClipRect(area, Qt::IntersectClip);
        painter->translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext ctx;
        // Lines that only touch the page's edges belong to the pages before and after: drawn clipped
        // away they would still be text of this page to whoever reads the output (a PDF's search).
        ctx.clip = QRectF(0, top, area.width(), area.height()).adjusted(0, kEdgeTolerance, 0, -kEdgeTolerance);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        ctx.cursorPosition = -1;
        doc.documentLayout()->draw(painter, ctx);
        drawParagraphLabels(*painter, doc, d->formatCache->numbers(), ctx.clip, &d->formatCache->layoutDevice(), ctx.palette);
        painter->restore();
    }
    return next;
}

}  // namespace richedit
