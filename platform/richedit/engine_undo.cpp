#include "platform/richedit/engine_undo.h"

#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace richedit {

CHARRANGE UndoCommand::swap(QTextDocument& document) {
    // One edit block: the layout sees one change and lays every touched paragraph out again.
    QTextCursor block(&document);
    block.beginEditBlock();
    if (kind == Kind::Format) {
        Fragment current = Fragment::capture(document, pos, pos + newLength, stored.content());
        stored.reapplyFormats(document, pos);
        stored = std::move(current);
    } else {
        Fragment current = Fragment::capture(document, pos, pos + newLength);
        QTextCursor cursor(&document);
        cursor.setPosition(pos);
        cursor.setPosition(pos + newLength, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        stored.insertAt(cursor, &document);
        stored = std::move(current);
        std::swap(oldLength, newLength);
    }
    block.endEditBlock();
    std::swap(selectionBefore, selectionAfter);
    return selectionAfter;
}

void UndoHistory::push(UndoCommand command) {
    redo_.clear();
    typingOpen_ = command.origin == UndoCommand::Origin::Typing;
    undo_.push_back(std::move(command));
    trim();
}

UndoCommand* UndoHistory::typingRunAt(int position) {
    if (!typingOpen_ || undo_.empty()) return nullptr;
    UndoCommand& last = undo_.back();
    if (last.origin != UndoCommand::Origin::Typing || last.kind != UndoCommand::Kind::Replace) return nullptr;
    return last.pos + last.newLength == position ? &last : nullptr;
}

bool UndoHistory::undo(QTextDocument& document, CHARRANGE& selection) {
    typingOpen_ = false;
    if (undo_.empty()) return false;
    UndoCommand command = std::move(undo_.back());
    undo_.pop_back();
    selection = command.swap(document);
    redo_.push_back(std::move(command));
    return true;
}

bool UndoHistory::redo(QTextDocument& document, CHARRANGE& selection) {
    typingOpen_ = false;
    if (redo_.empty()) return false;
    UndoCommand command = std::move(redo_.back());
    redo_.pop_back();
    selection = command.swap(document);
    undo_.push_back(std::move(command));
    trim();
    return true;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
    typingOpen_ = false;
}

void UndoHistory::setLimit(int limit) {
    limit_ = limit < 0 ? 0 : limit;
    trim();
}

void UndoHistory::trim() {
    while (int(undo_.size()) > limit_) undo_.pop_front();
    while (int(redo_.size()) > limit_) redo_.pop_front();
}

}  // namespace richedit
