// The control's side of user input: the events it raises around the engine's own handling of keys,
// focus and mouse buttons, link clicks and the context menu.

#include "editing/QxRichEdit.h"

#include "platform/richedit/engine.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

using namespace richedit;

namespace {

Qt::MouseButton pressButton(MouseMessage message) {
    switch (message) {
    case MouseMessage::LeftDown: return Qt::LeftButton;
    case MouseMessage::RightDown: return Qt::RightButton;
    default: return Qt::NoButton;
    }
}

Qt::MouseButton releaseButton(MouseMessage message) {
    switch (message) {
    case MouseMessage::LeftUp: return Qt::LeftButton;
    case MouseMessage::RightUp: return Qt::RightButton;
    default: return Qt::NoButton;
    }
}

}  // namespace

void TQxRichEdit::EngineSelectionChanged() {
    QPointer<TQxRichEdit> self(this);
    if (OnSelectionChange) OnSelectionChange(this);
    if (self) emit StateChanged();
}

void TQxRichEdit::EngineLink(MouseMessage message, CHARRANGE range) {
    if (const Qt::MouseButton button = pressButton(message); button != Qt::NoButton) {
        linkPressRange_ = range;
        linkPressButton_ = button;
        return;
    }
    const Qt::MouseButton button = releaseButton(message);
    if (button == Qt::NoButton) return;
    const bool sameLink = button == linkPressButton_ && range == linkPressRange_;
    linkPressRange_ = {-1, -1};
    linkPressButton_ = Qt::NoButton;
    if (sameLink && engine_ && OnURLClick) OnURLClick(this, engine_->getTextRange(range.cpMin, range.cpMax), button);
}

void TQxRichEdit::EngineMousePressed(Qt::MouseButton button, QPoint position) {
    if (!OnMouseDown || !engine_) return;
    OnMouseDown(this, button, QGuiApplication::keyboardModifiers(), engine_->viewport()->mapTo(this, position));
}

void TQxRichEdit::EngineMouseReleased(Qt::MouseButton button, QPoint position) {
    if (button == Qt::RightButton && engine_) ShowContextMenu(engine_->viewport()->mapToGlobal(position));
}

QMenu* TQxRichEdit::PopupMenu() const { return popupMenu_; }

void TQxRichEdit::SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

void TQxRichEdit::ShowContextMenu(QPoint globalPosition) {
    QMenu* menu = ExtendContextMenu(popupMenu_);
    if (OnContextPopup) menu = OnContextPopup(this, menu);
    if (menu) menu->popup(globalPosition);
}

void TQxRichEdit::contextMenuEvent(QContextMenuEvent* event) {
    // A pointer-triggered menu is shown when the right button is released; the keyboard's menu key
    // shows it at the caret.
    event->accept();
    if (event->reason() != QContextMenuEvent::Keyboard || !engine_) return;
    const QPoint caret = engine_->posFromChar(engine_->exGetSel().cpMax);
    ShowContextMenu(engine_->viewport()->mapToGlobal(caret));
}

bool TQxRichEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != keyTarget_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!forwardingKey_) return FilterKeyPress(keyTarget_, static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Coming back from a menu or from another window is not entering the control.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && OnEnter) OnEnter(this);
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TQxRichEdit::FilterKeyPress(QWidget* target, QKeyEvent* event) {
    QPointer<TQxRichEdit> self(this);
    if (OnKeyDown) {
        int key = event->key();
        OnKeyDown(this, key, event->modifiers());
        if (!self) return true;
        if (key == 0) return true;
    }
    if (!OnKeyPress || event->text().isEmpty()) return false;
    const QString text = event->text();
    QChar character = text.front();
    OnKeyPress(this, character);
    if (!self) return true;
    if (character.isNull()) return true;
    if (character == text.front()) return false;
    // The handler asked for another character: the engine gets that one instead.
    QKeyEvent replacement(event->type(), Qt::Key_unknown, event->modifiers(), QString(character),
                          event->isAutoRepeat(), ushort(event->count()));
    forwardingKey_ = true;
    QCoreApplication::sendEvent(target, &replacement);
    if (self) forwardingKey_ = false;
    return true;
}
