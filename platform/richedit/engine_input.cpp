// Keyboard, input method and mouse: editing as people expect, through the engine's own operations.
#include "platform/richedit/engine_formatkeys.h"
#include "platform/richedit/engine_private.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDrag>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace richedit {

namespace {

int clusterStep(const QTextDocument* doc, int position, QTextCursor::MoveOperation op) {
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(position);
    c.movePosition(op);
    return c.position();
}

bool isTypedText(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}

}  // namespace

// ---- keyboard --------------------------------------------------------------------------------

void Engine::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    // Tab belongs to focus navigation, never to the text.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        e->ignore();
        return;
    }
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const CHARRANGE sel = d->selection();

    if (e->matches(QKeySequence::Undo)) return void(undo());
    if (e->matches(QKeySequence::Redo) || (ctrl && !shift && key == Qt::Key_Y)) return void(redo());
    if (e->matches(QKeySequence::Copy) || (ctrl && key == Qt::Key_Insert)) return copy();
    if (e->matches(QKeySequence::Cut) || (shift && key == Qt::Key_Delete)) return cut();
    if (e->matches(QKeySequence::Paste) || (shift && key == Qt::Key_Insert)) return paste();
    if (e->matches(QKeySequence::SelectAll)) return setSel(0, -1);
    if (applyFormatKey(*this, *e)) return void(emit formatKeyApplied());

    auto moveTo = [&](int position) {
        d->setSelection(shift ? d->anchor : position, position, true);
    };
    auto verticalTarget = [&](qreal dy) {
        const QRectF r = d->caretRect(d->caret);
        if (d->desiredX < 0) d->desiredX = r.left();
        const qreal y = dy < 0 ? r.top() + dy : r.bottom() + dy;
        if (y < 0) return 0;
        const int target = d->hitTest(QPointF(d->desiredX, y));
        const QTextBlock block = d->doc->findBlock(d->caret);
        if (target != d->caret || !isTableRow(block.blockFormat())) return target;
        // Beyond the first or last line of a table cell lies the paragraph above or below the row.
        const QRectF row = d->layout->blockBoundingRect(block);
        const qreal beyond = dy < 0 ? row.top() - 1 : row.bottom() + 1;
        return beyond < 0 ? 0 : d->hitTest(QPointF(d->desiredX, beyond));
    };
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    if (!vertical) d->desiredX = -1;

    switch (key) {
    case Qt::Key_Left:
        if (sel.cpMin != sel.cpMax && !shift) return d->setSelection(sel.cpMin, sel.cpMin, true);
        return moveTo(ctrl ? d->previousWordStart(d->caret) : d->visibleStep(d->caret, false));
    case Qt::Key_Right:
        if (sel.cpMin != sel.cpMax && !shift) return d->setSelection(sel.cpMax, sel.cpMax, true);
        return moveTo(ctrl ? d->nextWordStart(d->caret) : d->visibleStep(d->caret, true));
    case Qt::Key_Up: return moveTo(verticalTarget(-1));
    case Qt::Key_Down: {
        const int target = verticalTarget(1);
        return moveTo(target < d->caret ? d->length() : target);
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const qreal page = viewport()->height() / d->zoom();
        const int target = verticalTarget(key == Qt::Key_PageUp ? -page : page);
        QScrollBar* v = verticalScrollBar();
        v->setValue(v->value() + (key == Qt::Key_PageUp ? -1 : 1) * v->pageStep());
        return moveTo(target);
    }
    case Qt::Key_Home:
        return moveTo(ctrl ? 0 : lineIndex(exLineFromChar(d->caret)));
    case Qt::Key_End: {
        if (ctrl) return moveTo(d->length());
        const int start = lineIndex(exLineFromChar(d->caret));
        return moveTo(start + lineLength(d->caret));
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        d->typeParagraphBreak(sel.cpMin, sel.cpMax);
        d->ensureVisible(d->caret);
        return;
    case Qt::Key_Backspace: {
        if (sel.cpMin != sel.cpMax) {
            d->replaceRange(sel.cpMin, sel.cpMax, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
        } else if (d->caret > 0) {
            const int from = ctrl ? d->previousWordStart(d->caret) : clusterStep(d->doc, d->caret, QTextCursor::PreviousCharacter);
            d->replaceRange(from, d->caret, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
        }
        d->ensureVisible(d->caret);
        return;
    }
    case Qt::Key_Delete: {
        if (sel.cpMin != sel.cpMax) {
            d->replaceRange(sel.cpMin, sel.cpMax, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
        } else if (d->caret < d->length()) {
            const int to = ctrl ? d->nextWordStart(d->caret) : clusterStep(d->doc, d->caret, QTextCursor::NextCharacter);
            d->replaceRange(d->caret, to, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
        }
        d->ensureVisible(d->caret);
        return;
    }
    default: break;
    }

    // Text: Ctrl alone makes a command, Ctrl+Alt (AltGr) still types.
    const bool commandChord = ctrl && !(e->modifiers() & Qt::AltModifier);
    if (!commandChord && isTypedText(e->text())) {
        d->insertText(sel.cpMin, sel.cpMax, e->text(), UndoMode::Record, EditOrigin::Typing);
        d->ensureVisible(d->caret);
        return;
    }
    e->ignore();
}

// Tab and Shift+Tab reach the widget as focus moves. Inside a table row they move the caret to the
// start of the next or previous cell instead, as in a word processor: Tab in the last cell adds a row,
// Shift+Tab in the first does nothing. Elsewhere they move the focus.
bool Engine::focusNextPrevChild(bool next) {
    const QTextBlock block = d->doc->findBlock(d->caret);
    if (!block.isValid() || !isTableRow(block.blockFormat())) return QAbstractScrollArea::focusNextPrevChild(next);
    const QString text = block.text();
    const qsizetype at = d->caret - block.position();
    qsizetype cellStart;
    if (next) {
        const qsizetype mark = text.indexOf(u'\t', at);
        if (mark < 0) {
            d->addRowAfter(block);
            return true;
        }
        cellStart = mark + 1;
    } else {
        const qsizetype mark = at > 0 ? text.lastIndexOf(u'\t', at - 1) : -1;  // where this cell starts
        if (mark < 0) return true;
        cellStart = mark > 0 ? text.lastIndexOf(u'\t', mark - 1) + 1 : 0;
    }
    const int position = block.position() + int(cellStart);
    d->setSelection(position, position, true);
    return true;
}

void Engine::inputMethodEvent(QInputMethodEvent* e) {
    CHARRANGE sel = d->selection();
    if (e->replacementLength() > 0 && sel.cpMin == sel.cpMax) {
        sel.cpMin = std::clamp(d->caret + e->replacementStart(), 0, d->length());
        sel.cpMax = std::clamp(sel.cpMin + e->replacementLength(), sel.cpMin, d->length());
    }
    if (!e->commitString().isEmpty() || (sel.cpMin != sel.cpMax && e->replacementLength() > 0)) {
        d->insertText(sel.cpMin, sel.cpMax, e->commitString(), UndoMode::Record, EditOrigin::Typing);
        d->ensureVisible(d->caret);
    }
    d->preedit = e->preeditString();
    e->accept();
    viewport()->update();
}

QVariant Engine::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QTextBlock block = d->doc->findBlock(d->caret);
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: {
        const QRectF r = d->caretRect(d->caret);
        const QRectF view(d->toView(r.topLeft()), d->toView(r.bottomRight()));
        return view.translated(viewport()->pos()).toAlignedRect();
    }
    case Qt::ImFont: return d->typingFormat(d->caret).font().resolve(d->doc->defaultFont());
    case Qt::ImCursorPosition: return d->caret - block.position();
    case Qt::ImAnchorPosition: return std::clamp(d->anchor - block.position(), 0, block.length() - 1);
    case Qt::ImSurroundingText: return block.text();
    case Qt::ImCurrentSelection: return getTextRange(d->selection().cpMin, d->selection().cpMax);
    case Qt::ImHints: return int(Qt::ImhMultiLine);
    case Qt::ImMaximumTextLength: return d->textLimit;
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- mouse -----------------------------------------------------------------------------------

namespace {
MouseMessage downMessage(Qt::MouseButton b) { return b == Qt::RightButton ? MouseMessage::RightDown : MouseMessage::LeftDown; }
MouseMessage upMessage(Qt::MouseButton b) { return b == Qt::RightButton ? MouseMessage::RightUp : MouseMessage::LeftUp; }
}  // namespace

CHARRANGE Engine::Private::linkUnder(QPointF viewPoint) const {
    const QPointF p = toLayout(viewPoint);
    const int hit = doc->documentLayout()->hitTest(p, Qt::ExactHit);
    if (hit < 0) return {-1, -1};
    // the character under the pointer lies left or right of the nearest boundary
    const int under = caretRect(hit).left() > p.x() ? hit - 1 : hit;
    return linkAt(under);
}

void Engine::Private::reportLink(MouseMessage message, QPointF viewPoint) {
    if (!(eventMask & ENM_LINK)) return;
    const CHARRANGE link = linkUnder(viewPoint);
    if (link.cpMin >= 0) emit q->link(message, link);
}

bool Engine::Private::inSelectionBar(QPointF viewPoint) const {
    return (options & ECO_SELECTIONBAR) && viewPoint.x() < effectiveFormatRect().left();
}

CHARRANGE Engine::Private::lineRangeAt(QPointF viewPoint) const {
    const int position = hitTest(toLayout(QPointF(effectiveFormatRect().left() + 1, viewPoint.y())));
    const int line = q->exLineFromChar(position);
    const int start = q->lineIndex(line);
    const int next = q->lineIndex(line + 1);
    return {start, next < 0 ? length() : next};
}

void Engine::mousePressEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    d->reportLink(downMessage(e->button()), p);
    if (e->button() == Qt::LeftButton && d->objectMousePress(p, e->modifiers())) {
        emit mouseButtonPressed(e->button(), p.toPoint());
        return;
    }
    if (e->button() == Qt::LeftButton) {
        const bool shift = e->modifiers() & Qt::ShiftModifier;
        const int position = d->hitTest(d->toLayout(p));
        const CHARRANGE sel = d->selection();
        d->desiredX = -1;
        if (d->inSelectionBar(p)) {
            const CHARRANGE line = d->lineRangeAt(p);
            d->dragUnit = Private::DragUnit::Line;
            d->dragOrigin = line.cpMin;
            d->dragOriginEnd = line.cpMax;
            if (shift) d->setSelection(d->anchor, position >= d->anchor ? line.cpMax : line.cpMin, true);
            else d->setSelection(line.cpMin, line.cpMax, true);
            d->dragSelecting = true;
        } else if (d->dragDrop && !shift && sel.cpMin != sel.cpMax && position >= sel.cpMin && position < sel.cpMax) {
            d->maybeDragText = true;  // a drag of the selected text, or a click that collapses it on release
            d->pressPoint = p.toPoint();
        } else {
            d->dragUnit = Private::DragUnit::Character;
            d->setSelection(shift ? d->anchor : position, position, true);
            d->dragOrigin = d->dragOriginEnd = d->anchor;
            d->dragSelecting = true;
        }
    }
    emit mouseButtonPressed(e->button(), p.toPoint());
}

void Engine::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    if (e->button() == Qt::LeftButton) {
        if (d->eventMask & ENM_LINK) {
            const CHARRANGE link = d->linkUnder(p);
            if (link.cpMin >= 0) emit this->link(MouseMessage::LeftDoubleClick, link);
        }
        if (d->inSelectionBar(p)) {
            d->setSelection(0, d->length(), false);
        } else {
            const int position = d->hitTest(d->toLayout(p));
            CHARRANGE word = d->wordAt(position);
            // a double-clicked word takes the spaces after it
            const QString& text = d->rawText();
            while (word.cpMax < int(text.size()) && text[word.cpMax] == u' ') ++word.cpMax;
            d->dragUnit = Private::DragUnit::Word;
            d->dragOrigin = word.cpMin;
            d->dragOriginEnd = word.cpMax;
            d->setSelection(word.cpMin, word.cpMax, true);
            d->dragSelecting = true;
        }
    }
    emit mouseButtonPressed(e->button(), p.toPoint());
}

void Engine::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    if (d->objectMouseMove(p)) return;
    if (d->maybeDragText && (e->buttons() & Qt::LeftButton)) {
        if ((p.toPoint() - d->pressPoint).manhattanLength() < QApplication::startDragDistance()) return;
        d->maybeDragText = false;
        const CHARRANGE sel = d->selection();
        auto* drag = new QDrag(this);
        drag->setMimeData(d->mimeFor(sel.cpMin, sel.cpMax));
        d->dragSource = sel;
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        // A move into another widget takes the text away from here; a move inside was done by the drop.
        if (action == Qt::MoveAction && d->dragSource.cpMin >= 0)
            d->replaceRange(sel.cpMin, sel.cpMax, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
        d->dragSource = {-1, -1};
        return;
    }
    if (d->dragSelecting && (e->buttons() & Qt::LeftButton)) {
        const int position = d->hitTest(d->toLayout(p));
        switch (d->dragUnit) {
        case Private::DragUnit::Character: {
            // With automatic word selection, a drag that leaves the word it started in takes whole words.
            const CHARRANGE startWord = d->wordAt(d->dragOrigin);
            const CHARRANGE word = d->wordAt(position);
            if ((d->options & ECO_AUTOWORDSELECTION) && (position < startWord.cpMin || position > startWord.cpMax) &&
                word.cpMax > word.cpMin)
                d->setSelection(d->dragOrigin, position > d->dragOrigin ? word.cpMax : word.cpMin, true);
            else
                d->setSelection(d->dragOrigin, position, true);
            break;
        }
        case Private::DragUnit::Word: {
            const CHARRANGE word = d->wordAt(position);
            if (position < d->dragOrigin) d->setSelection(d->dragOriginEnd, word.cpMin, true);
            else d->setSelection(d->dragOrigin, std::max(word.cpMax, d->dragOriginEnd), true);
            break;
        }
        case Private::DragUnit::Line: {
            const CHARRANGE line = d->lineRangeAt(p);
            if (line.cpMin < d->dragOrigin) d->setSelection(d->dragOriginEnd, line.cpMin, true);
            else d->setSelection(d->dragOrigin, line.cpMax, true);
            break;
        }
        }
        return;
    }
    // hovering: links and the selection strip show their own pointer
    const CHARRANGE link = d->linkUnder(p);
    if (link.cpMin >= 0 && (d->eventMask & ENM_LINK)) emit this->link(MouseMessage::Move, link);
    if (link.cpMin >= 0) viewport()->setCursor(Qt::PointingHandCursor);
    else if (d->inSelectionBar(p)) viewport()->setCursor(Qt::ArrowCursor);
    else viewport()->setCursor(Qt::IBeamCursor);
}

void Engine::mouseReleaseEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    if (e->button() == Qt::LeftButton && d->objectMouseRelease(p)) {
        emit mouseButtonReleased(e->button(), p.toPoint());
        return;
    }
    if (e->button() == Qt::LeftButton) {
        if (d->maybeDragText) {
            const int position = d->hitTest(d->toLayout(p));
            d->setSelection(position, position, true);
        }
        d->maybeDragText = false;
        d->dragSelecting = false;
    }
    d->reportLink(upMessage(e->button()), p);
    emit mouseButtonReleased(e->button(), p.toPoint());
}

void Engine::contextMenuEvent(QContextMenuEvent* e) { e->ignore(); }

// ---- drag and drop ---------------------------------------------------------------------------

namespace {
bool acceptable(const QMimeData* mime) {
    return mime && (mime->hasText() || mime->hasImage() || mime->hasFormat(QStringLiteral("text/rtf")) ||
                    mime->hasFormat(QStringLiteral("application/rtf")));
}
}  // namespace

void Engine::dragEnterEvent(QDragEnterEvent* e) {
    if (acceptable(e->mimeData())) e->acceptProposedAction();
    else e->ignore();
}

void Engine::dragMoveEvent(QDragMoveEvent* e) {
    if (!acceptable(e->mimeData())) return e->ignore();
    const int position = d->hitTest(d->toLayout(e->position()));
    const CHARRANGE sel = d->selection();
    if (e->source() == this && position > sel.cpMin && position < sel.cpMax) {
        d->dropCaret = -1;
        e->ignore();
    } else {
        d->dropCaret = position;
        e->acceptProposedAction();
    }
    viewport()->update();
}

void Engine::dragLeaveEvent(QDragLeaveEvent*) {
    d->dropCaret = -1;
    viewport()->update();
}

void Engine::dropEvent(QDropEvent* e) {
    d->dropCaret = -1;
    const int position = d->hitTest(d->toLayout(e->position()));
    const CHARRANGE sel = d->selection();
    if (e->source() == this && e->dropAction() == Qt::MoveAction && sel.cpMin != sel.cpMax) {
        if (position >= sel.cpMin && position <= sel.cpMax) return e->ignore();
        d->moveText(sel, position);
        d->dragSource = {-1, -1};  // done here; the drag source must not delete anything
        e->acceptProposedAction();
        return;
    }
    d->setSelection(position, position);
    if (d->insertMime(e->mimeData(), UndoMode::Record)) e->acceptProposedAction();
    else e->ignore();
    viewport()->update();
}

void Engine::Private::moveText(CHARRANGE range, int position) {
    if (changesProtectedText(range.cpMin, range.cpMax) || changesProtectedText(position, position)) return;
    // One step: the span from the first to the last affected character is rewritten in its new order.
    const Fragment moved = Fragment::capture(*doc, range.cpMin, range.cpMax);
    const bool forward = position > range.cpMax;
    const Fragment between = forward ? Fragment::capture(*doc, range.cpMax, position)
                                     : Fragment::capture(*doc, position, range.cpMin);
    const int from = forward ? range.cpMin : position;
    const int to = forward ? position : range.cpMax;
    replaceRange(
        from, to,
        [&](QTextCursor& c) {
            const Fragment& a = forward ? between : moved;
            const Fragment& b = forward ? moved : between;
            a.insertAt(c, nullptr, Fragment::FirstParagraph::KeepFormat);
            b.insertAt(c, nullptr, Fragment::FirstParagraph::KeepFormat);
        },
        UndoMode::Record, EditOrigin::Other);
    const int start = forward ? position - moved.length() : position;
    setSelection(start, start + moved.length(), true);
}

}  // namespace richedit
