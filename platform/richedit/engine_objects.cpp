// Embedded pictures as objects: the container's consent, the picture at a position, its displayed
// size, and the selection frame whose handles resize a selected picture by dragging. Also the
// drag-and-drop switch and the language options.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/fragment.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace richedit {

namespace {

constexpr qreal kHandleSize = 6;  // viewport pixels

// The eight handles around a frame, clockwise from the top left corner; odd ones are edge handles.
QPointF handleCentre(const QRectF& r, int handle) {
    switch (handle) {
    case 0: return r.topLeft();
    case 1: return {r.center().x(), r.top()};
    case 2: return r.topRight();
    case 3: return {r.right(), r.center().y()};
    case 4: return r.bottomRight();
    case 5: return {r.center().x(), r.bottom()};
    case 6: return r.bottomLeft();
    default: return {r.left(), r.center().y()};
    }
}

Qt::CursorShape handleCursor(int handle) {
    switch (handle) {
    case 0:
    case 4: return Qt::SizeFDiagCursor;
    case 2:
    case 6: return Qt::SizeBDiagCursor;
    case 1:
    case 5: return Qt::SizeVerCursor;
    default: return Qt::SizeHorCursor;
    }
}

QTextCharFormat formatAt(const QTextDocument* doc, int cp) {
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(cp + 1);
    return c.charFormat();
}

}  // namespace

// ---- consent --------------------------------------------------------------------------------------

void Engine::setObjectCallback(ObjectCallback* callback) { d->objectCallback = callback; }
Engine::ObjectCallback* Engine::objectCallback() const { return d->objectCallback; }

bool Engine::Private::acceptsObjectAt(int cp) const { return objectCallback && objectCallback->queryInsertObject(cp); }

bool Engine::Private::acceptsData(const QMimeData* mime) const {
    // Data without pictures needs no container's consent.
    const bool picture = mime && (mime->hasImage() || mime->hasFormat(metafileMimeType(QStringLiteral("wmf"))) ||
                                  mime->hasFormat(metafileMimeType(QStringLiteral("emf"))));
    if (!picture || mime->hasText()) return true;
    return objectCallback && objectCallback->queryAcceptData(mime);
}

// ---- the picture at a position ----------------------------------------------------------------------

bool Engine::getObject(int cp, Picture& picture) const {
    if (cp < 0 || cp >= d->length() || d->rawText()[cp] != QChar::ObjectReplacementCharacter) return false;
    return pictureFromFormat(formatAt(d->doc, cp), picture);
}

bool Engine::setObjectSize(int cp, int widthTwips, int heightTwips) {
    Picture picture;
    if (!getObject(cp, picture)) return false;
    const int w = std::max(1, qRound(widthTwips / kTwipsPerLayoutPixel));
    const int h = std::max(1, qRound(heightTwips / kTwipsPerLayoutPixel));
    QTextImageFormat format = formatAt(d->doc, cp).toImageFormat();
    format.setWidth(w);
    format.setHeight(h);
    format.setProperty(PropPictureWidthTwips, std::max(widthTwips, int(kTwipsPerLayoutPixel)));
    format.setProperty(PropPictureHeightTwips, std::max(heightTwips, int(kTwipsPerLayoutPixel)));
    const CHARRANGE selectionBefore = d->selection();
    Fragment before = Fragment::capture(*d->doc, cp, cp + 1);
    QTextCursor c(d->doc);
    c.setPosition(cp);
    c.setPosition(cp + 1, QTextCursor::KeepAnchor);
    c.setCharFormat(format);
    d->history.closeTypingRun();
    d->recordFormatChange(cp, cp + 1, std::move(before), selectionBefore);
    d->contentChanged();
    return true;
}

QRectF Engine::Private::objectRect(int cp) const {
    Picture picture;
    if (!q->getObject(cp, picture)) return {};
    syncHiddenWidth();
    const QTextBlock block = doc->findBlock(cp);
    const QTextLayout* layout = this->layout->placedLayout(block);
    if (!layout) return {};
    const int rel = cp - block.position();
    const QTextLine line = layout->lineForTextPosition(rel);
    if (!line.isValid()) return {};
    const QTextImageFormat format = formatAt(doc, cp).toImageFormat();
    const qreal x = line.cursorToX(rel);
    const QPointF origin = layout->position();
    // Pictures stand on the baseline.
    const qreal bottom = origin.y() + line.y() + line.ascent();
    return {origin.x() + x, bottom - format.height(), format.width(), format.height()};
}

int Engine::Private::selectedObject() const {
    const CHARRANGE sel = selection();
    if (sel.cpMax - sel.cpMin != 1) return -1;
    Picture picture;
    return q->getObject(sel.cpMin, picture) ? sel.cpMin : -1;
}

int Engine::Private::objectUnder(QPointF viewPoint) const {
    const QPointF p = toLayout(viewPoint);
    const int hit = hitTest(p);
    for (int cp : {hit - 1, hit}) {
        if (objectRect(cp).contains(p)) return cp;
    }
    return -1;
}

int Engine::Private::handleUnder(QPointF viewPoint) const {
    const int cp = selectedObject();
    if (cp < 0) return -1;
    const QRectF r = objectRect(cp);
    const QRectF view(toView(r.topLeft()), toView(r.bottomRight()));
    for (int handle = 0; handle < 8; ++handle) {
        const QPointF c = handleCentre(view, handle);
        if (std::abs(c.x() - viewPoint.x()) <= kHandleSize && std::abs(c.y() - viewPoint.y()) <= kHandleSize) return handle;
    }
    return -1;
}

// ---- selecting and resizing with the mouse -------------------------------------------------------

bool Engine::Private::objectMousePress(QPointF viewPoint, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier) return false;
    const int handle = handleUnder(viewPoint);
    if (handle >= 0) {
        resizeHandle = handle;
        resizeFrame = objectRect(selectedObject());
        return true;
    }
    const int cp = objectUnder(viewPoint);
    if (cp < 0) return false;
    // A click on a picture selects it whole.
    setSelection(cp, cp + 1);
    q->viewport()->update();
    return true;
}

bool Engine::Private::objectMouseMove(QPointF viewPoint) {
    if (resizeHandle < 0) {
        const int handle = handleUnder(viewPoint);
        if (handle >= 0) {
            q->viewport()->setCursor(handleCursor(handle));
            return true;
        }
        return false;
    }
    const QRectF original = objectRect(selectedObject());
    if (original.isEmpty()) return true;
    const QPointF p = toLayout(viewPoint);
    // The handle follows the pointer; the opposite edges stay.
    qreal left = original.left(), top = original.top(), right = original.right(), bottom = original.bottom();
    const int h = resizeHandle;
    if (h == 0 || h == 6 || h == 7) left = std::min(p.x(), right - 1);
    if (h == 2 || h == 3 || h == 4) right = std::max(p.x(), left + 1);
    if (h == 0 || h == 1 || h == 2) top = std::min(p.y(), bottom - 1);
    if (h == 4 || h == 5 || h == 6) bottom = std::max(p.y(), top + 1);
    QRectF frame(QPointF(left, top), QPointF(right, bottom));
    if (h % 2 == 0) {
        // Corners keep the picture's proportions, taking the larger of the two scales.
        const qreal scale = std::max(frame.width() / original.width(), frame.height() / original.height());
        const QSizeF size(original.width() * scale, original.height() * scale);
        frame.setSize(size);
        if (h == 0 || h == 6) frame.moveRight(original.right());
        if (h == 0 || h == 2) frame.moveBottom(original.bottom());
    }
    resizeFrame = frame;
    q->viewport()->update();
    return true;
}

bool Engine::Private::objectMouseRelease(QPointF viewPoint) {
    if (resizeHandle < 0) return false;
    objectMouseMove(viewPoint);
    const int cp = selectedObject();
    const QSizeF size = resizeFrame.size();
    resizeHandle = -1;
    resizeFrame = {};
    if (cp >= 0 && !size.isEmpty())
        q->setObjectSize(cp, qRound(size.width() * kTwipsPerLayoutPixel), qRound(size.height() * kTwipsPerLayoutPixel));
    q->viewport()->update();
    return true;
}

void Engine::Private::paintObjectFrame(QPainter& painter) const {
    const int cp = selectedObject();
    if (cp < 0 || !q->hasFocus()) return;
    const QRectF r = objectRect(cp);
    if (r.isEmpty()) return;
    painter.save();
    // Handles keep their screen size whatever the zoom.
    const qreal z = zoom();
    const qreal half = kHandleSize / 2 / z;
    painter.setPen(QPen(q->palette().color(QPalette::Text), 0, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r);
    painter.setBrush(q->palette().color(QPalette::Text));
    for (int handle = 0; handle < 8; ++handle) {
        const QPointF c = handleCentre(r, handle);
        painter.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    }
    if (resizeHandle >= 0 && !resizeFrame.isEmpty()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(q->palette().color(QPalette::Text), 0, Qt::DotLine));
        painter.drawRect(resizeFrame);
    }
    painter.restore();
}

// ---- switches -------------------------------------------------------------------------------------

void Engine::setDragDrop(bool on) {
    d->dragDrop = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
}

bool Engine::dragDrop() const { return d->dragDrop; }

void Engine::setLangOptions(std::uint32_t options) {
    d->langOptions = options;
    QFont font = d->doc->defaultFont();
    font.setStyleStrategy((options & IMF_AUTOFONT) ? QFont::PreferDefault : QFont::NoFontMerging);
    if (font == d->doc->defaultFont()) return;
    d->doc->setDefaultFont(font);
    d->layout->relayout();
    d->updateScrollBars();
    viewport()->update();
}

std::uint32_t Engine::langOptions() const { return d->langOptions; }

}  // namespace richedit
