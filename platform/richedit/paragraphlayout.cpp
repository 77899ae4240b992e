#include "platform/richedit/paragraphlayout.h"

#include "platform/richedit/paragraphchange.h"
#include "platform/richedit/pictureobject.h"
#include "platform/richedit/textformat.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace richedit {

namespace {

constexpr int kSliceMs = 5;           // a background step leaves the event loop free this often
constexpr qreal kSelectedBreakWidth = 4;  // a selected paragraph break shows as a short strip
constexpr int kKeepShapingFrom = 4096;      // characters

bool wraps(const QTextDocument& document) { return document.defaultTextOption().wrapMode() != QTextOption::NoWrap; }

// Advance to the next line and where the line's own box sits inside it, for the paragraph's
// line spacing.
std::pair<qreal, qreal> lineAdvance(const QTextBlockFormat& format, qreal height) {
    const qreal value = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight: return {height * value / 100.0, 0};
    case QTextBlockFormat::FixedHeight: return {value, value - height};
    case QTextBlockFormat::MinimumHeight: return {std::max(height, value), std::max<qreal>(0, value - height)};
    case QTextBlockFormat::LineDistanceHeight: return {height + value, 0};
    default: return {height, 0};
    }
}

}  // namespace

ParagraphLayout::ParagraphLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document) {
    registerHandler(QTextFormat::ImageObject, new PictureObject(this));
    index_.reset(document->blockCount());
}

ParagraphLayout::~ParagraphLayout() = default;

// ---- laying out ---------------------------------------------------------------------------------

void ParagraphLayout::layOut(const QTextBlock& block) const {
    const QTextBlockFormat format = block.blockFormat();
    if (isTableRow(format)) return layOutRow(block);
    const QTextDocument& doc = *document();
    QTextLayout* layout = block.layout();
    QTextOption option = doc.defaultTextOption();
    option.setAlignment(format.alignment());
    if (format.hasProperty(QTextFormat::TabPositions)) option.setTabs(format.tabPositions());
    layout->setTextOption(option);
    // A drawn layout throws its shaping away unless asked to keep it; a long paragraph would then
    // be shaped anew for every page and every paint.
    layout->setCacheEnabled(block.length() > kKeepShapingFrom);

    const qreal available = std::max<qreal>(1, textWidth() - format.leftMargin() - format.rightMargin());
    qreal y = 0;
    qreal widest = 0;
    int lines = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        const qreal indent = lines == 0 ? format.textIndent() : 0;
        line.setLeadingIncluded(true);
        line.setLineWidth(std::max<qreal>(1, available - indent));
        const auto [advance, shift] = lineAdvance(format, line.height());
        line.setPosition(QPointF(format.leftMargin() + indent, y + shift));
        y += advance;
        widest = std::max(widest, format.leftMargin() + indent + line.naturalTextWidth());
        ++lines;
    }
    layout->endLayout();

    ParagraphIndex::Measure measure;
    measure.height = float(format.topMargin() + y + format.bottomMargin());
    measure.width = float(widest + format.rightMargin());
    measure.lines = std::max(1, lines);
    index_.set(block.blockNumber(), measure);
}

qreal ParagraphLayout::textWidth() const { return document()->textWidth() >= 0 ? document()->textWidth() : 1e6; }

void ParagraphLayout::keepInStep() const {
    // Every change reaches documentChanged(); should one ever not, start over rather than misread.
    if (index_.size() != document()->blockCount()) index_.reset(document()->blockCount());
}

void ParagraphLayout::layOutUntil(const std::function<bool()>& enough) const {
    keepInStep();
    int n = index_.firstUnlaid();
    for (QTextBlock block = document()->findBlockByNumber(n); block.isValid() && !enough(); block = block.next(), ++n)
        if (!index_.at(n).laidOut) layOut(block);
}

void ParagraphLayout::ensureThrough(int paragraph) const {
    layOutUntil([&] { return index_.firstUnlaid() > paragraph; });
}

void ParagraphLayout::ensureUntilY(double y) const {
    layOutUntil([&] { return index_.laidOutHeight() > y; });
}

void ParagraphLayout::completeLayout() const { ensureThrough(index_.size() - 1); }

void ParagraphLayout::relayout() {
    ++generation_;
    ++pendingChanges_;
    heightBefore_ = -1;
    widestByFormat_.clear();
    widestAnywhere_ = -1;
    index_.reset(document()->blockCount());
    scheduleBackground();
    emit documentSizeChanged(documentSize());
}

void ParagraphLayout::place(const QTextBlock& block) const {
    const qreal top = index_.top(block.blockNumber()) + block.blockFormat().topMargin();
    QTextLayout* layout = block.layout();
    if (layout->position() != QPointF(0, top)) layout->setPosition(QPointF(0, top));
}

const QTextLayout* ParagraphLayout::placedLayout(const QTextBlock& block) const {
    if (!block.isValid()) return nullptr;
    ensureThrough(block.blockNumber());
    place(block);
    return block.layout();
}

const QTextLayout* ParagraphLayout::linesOf(const QTextBlock& block) const {
    if (!block.isValid()) return nullptr;
    keepInStep();
    if (!index_.at(block.blockNumber()).laidOut) layOut(block);
    return block.layout();
}

// ---- background -----------------------------------------------------------------------------------

void ParagraphLayout::setBackgroundLayout(bool on) {
    backgroundEnabled_ = on;
    if (on) scheduleBackground();
    else background_.stop();
}

void ParagraphLayout::scheduleBackground() {
    if (backgroundEnabled_ && !index_.complete() && !background_.isActive()) background_.start(0, this);
}

bool ParagraphLayout::runSlice(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    int steps = 0;
    layOutUntil([&] { return (++steps & 15) == 0 && clock.elapsed() >= budgetMs; });
    return index_.complete();
}

void ParagraphLayout::timerEvent(QTimerEvent* event) {
    if (event->timerId() != background_.timerId()) return QAbstractTextDocumentLayout::timerEvent(event);
    const bool done = runSlice(kSliceMs);
    const QSizeF size = documentSize();
    if (done) background_.stop();
    if (done || std::abs(size.height() - reportedSize_.height()) >= 1 || size.width() != reportedSize_.width()) {
        reportedSize_ = size;
        emit documentSizeChanged(size);
    }
    if (done) emit completed();
}

double ParagraphLayout::estimatedRemainingHeight() const {
    const int laid = index_.firstUnlaid();
    const int remaining = index_.size() - laid;
    if (remaining == 0) return 0;
    const double average = laid > 0 ? index_.laidOutHeight() / laid
                                     : QFontMetricsF(document()->defaultFont(), paintDevice()).lineSpacing();
    return average * remaining;
}

// ---- changes ------------------------------------------------------------------------------------

void ParagraphLayout::documentChanged(int from, int, int charsAdded) {
    const ParagraphChange change = changedParagraphs(*document(), from, charsAdded, index_.size());
    if (change.first == 0 && change.now == document()->blockCount()) return relayout();
    widestAnywhere_ = -1;  // the change may have brought new formats
    ++pendingChanges_;
    changedFirst_ = change.first;
    changedCount_ = change.now;
    heightBefore_ = 0;
    for (int i = change.first; i < change.first + change.before && heightBefore_ >= 0; ++i)
        heightBefore_ = index_.at(i).laidOut ? heightBefore_ + index_.at(i).height : -1;
    index_.replace(change.first, change.before, change.now);
    QTextBlock block = document()->findBlockByNumber(change.first);
    for (int i = 0; i < change.now && block.isValid(); ++i, block = block.next()) block.clearLayout();
    scheduleBackground();
    emit documentSizeChanged(documentSize());
}

bool ParagraphLayout::changesMovedWhatFollows() {
    const int pending = std::exchange(pendingChanges_, 0);
    if (pending == 0) return false;
    if (pending > 1 || heightBefore_ < 0) return true;
    ensureThrough(changedFirst_ + changedCount_ - 1);
    double after = 0;
    for (int i = changedFirst_; i < changedFirst_ + changedCount_; ++i) after += index_.at(i).height;
    return std::abs(after - heightBefore_) > 1e-6;
}

// ---- geometry ------------------------------------------------------------------------------------

QSizeF ParagraphLayout::documentSize() const {
    const QTextDocument& doc = *document();
    qreal width = std::max<qreal>(0, doc.textWidth());
    if (!wraps(doc)) width = std::max<qreal>(width, index_.widestLine());
    return {width, index_.laidOutHeight() + estimatedRemainingHeight()};
}

QRectF ParagraphLayout::frameBoundingRect(QTextFrame*) const { return {QPointF(0, 0), documentSize()}; }

QRectF ParagraphLayout::blockBoundingRect(const QTextBlock& block) const {
    if (!block.isValid() || block.document() != document()) return {};
    const int n = block.blockNumber();
    ensureThrough(n);
    return {0, index_.top(n), std::max<qreal>(0, document()->textWidth()), index_.at(n).height};
}

int ParagraphLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
    ensureUntilY(point.y());
    const int n = index_.paragraphAtY(point.y());
    const QTextBlock block = document()->findBlockByNumber(n);
    const QTextLayout* layout = placedLayout(block);
    if (!layout || layout->lineCount() == 0) return accuracy == Qt::ExactHit ? -1 : block.position();
    const qreal y = point.y() - layout->position().y();
    const qreal x = point.x() - layout->position().x();
    if (isTableRow(block.blockFormat())) return hitTestRow(block, layout, QPointF(x, y), accuracy);
    int chosen = 0;
    for (int i = 1; i < layout->lineCount() && layout->lineAt(i).y() <= y; ++i) chosen = i;
    const QTextLine line = layout->lineAt(chosen);
    if (accuracy == Qt::ExactHit) {
        const QRectF box = line.naturalTextRect();
        if (y < line.y() || y >= line.y() + line.height() || x < box.left() || x > box.right()) return -1;
    }
    return block.position() + line.xToCursor(x);
}

QRectF ParagraphLayout::caretRect(const QTextBlock& block, int position) const {
    const QTextLayout* layout = placedLayout(block);
    if (!layout) return {};
    if (layout->lineCount() == 0) {
        const QRectF blockRect = blockBoundingRect(block);
        return {blockRect.x(), blockRect.y(), 1, QFontMetricsF(document()->defaultFont(), paintDevice()).height()};
    }
    QTextLine line = layout->lineForTextPosition(position);
    if (!line.isValid()) line = layout->lineAt(layout->lineCount() - 1);
    if (isTableRow(block.blockFormat())) return rowCaretRect(block, line, position).translated(layout->position());
    return {layout->position().x() + line.cursorToX(position), layout->position().y() + line.y(), 1, line.height()};
}

// ---- display lines ----------------------------------------------------------------------------

int ParagraphLayout::lineCount() const {
    completeLayout();
    return index_.laidOutLines();
}

int ParagraphLayout::lineOfPosition(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return -1;
    const QTextLayout* layout = placedLayout(block);
    int inBlock = 0;
    if (layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        inBlock = line.isValid() ? line.lineNumber() : layout->lineCount() - 1;
    }
    return index_.linesBefore(block.blockNumber()) + inBlock;
}

QTextBlock ParagraphLayout::blockOfLine(int line, int& lineInBlock) const {
    if (line < 0) return {};
    layOutUntil([&] { return index_.laidOutLines() > line; });
    const int number = index_.paragraphOfLine(line);
    if (number < 0) return {};
    lineInBlock = line - index_.linesBefore(number);
    return document()->findBlockByNumber(number);
}

// ---- drawing ------------------------------------------------------------------------------------

void ParagraphLayout::draw(QPainter* painter, const PaintContext& context) {
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, 1e9, 1e9);
    ensureUntilY(clip.bottom());
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    const int laid = index_.firstUnlaid();
    int n = index_.paragraphAtY(clip.top());
    for (QTextBlock block = document()->findBlockByNumber(n); block.isValid() && n < laid; block = block.next(), ++n) {
        if (index_.top(n) > clip.bottom()) break;
        place(block);
        QTextLayout* layout = block.layout();
        const int start = block.position();
        const int length = block.length();  // with the paragraph break
        QList<QTextLayout::FormatRange> ranges;
        QList<QBrush> breaks;  // selections that cover the paragraph break
        for (const Selection& selection : context.selections) {
            const int a = std::max(selection.cursor.selectionStart() - start, 0);
            const int b = std::min(selection.cursor.selectionEnd() - start, length - 1);
            if (a < b) ranges.append({a, b - a, selection.format});
            const int breakAt = start + length - 1;
            if (block.next().isValid() && selection.cursor.selectionStart() <= breakAt && selection.cursor.selectionEnd() > breakAt
                && selection.format.hasProperty(QTextFormat::BackgroundBrush))
                breaks.append(selection.format.background());
        }
        layout->draw(painter, QPointF(0, 0), ranges, clip);
        if (isTableRow(block.blockFormat())) drawRowBorders(painter, block, layout);
        if (!breaks.isEmpty() && layout->lineCount() > 0) {
            const QTextLine line = layout->lineAt(layout->lineCount() - 1);
            const QRectF box = line.naturalTextRect().translated(layout->position());
            for (const QBrush& brush : breaks) painter->fillRect(QRectF(box.right(), box.top(), kSelectedBreakWidth, line.height()), brush);
        }
        if (context.cursorPosition >= start && context.cursorPosition < start + length)
            layout->drawCursor(painter, QPointF(0, 0), context.cursorPosition - start, 1);
    }
    painter->restore();
}

}  // namespace richedit
