#pragma once
// The engine's undo history: small commands that each know how to swap a range of the document
// between its state before and after an edit. Undoing a command turns it into its redo, and back.

#include "platform/richedit/fragment.h"
#include "platform/richedit/records.h"

#include <deque>

class QTextDocument;

namespace richedit {

struct UndoCommand {
    enum class Kind {
        Replace,  // text replaced: [pos, pos + newLength) now holds what `stored` held over oldLength
        Format,   // formats changed in place over [pos, pos + newLength); oldLength == newLength
    };
    enum class Origin { Typing, Other };
    Kind kind = Kind::Replace;
    Origin origin = Origin::Other;
    int pos = 0;
    int oldLength = 0;
    int newLength = 0;
    Fragment stored;       // the other side of the edit
    CHARRANGE selectionBefore;  // where the selection was before the edit (restored on undo)
    CHARRANGE selectionAfter;   // where it was after (restored on redo)

    // Swaps the document to the other side of this command and turns the command around.
    // Returns the selection to show afterwards.
    CHARRANGE swap(QTextDocument& document);
};

class UndoHistory {
public:
    // Adds a finished command; the redo steps go, and beyond the limit the oldest steps fall off.
    void push(UndoCommand command);
    // The last command if it is an open typing run that the text typed at `position` may extend.
    UndoCommand* typingRunAt(int position);
    void closeTypingRun() { typingOpen_ = false; }
    void openTypingRun() { typingOpen_ = true; }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Moves one step between the stacks; false when there was none.
    bool undo(QTextDocument& document, CHARRANGE& selection);
    bool redo(QTextDocument& document, CHARRANGE& selection);
    void clear();
    void setLimit(int limit);
    int limit() const { return limit_; }
    int undoDepth() const { return int(undo_.size()); }

private:
    void trim();
    std::deque<UndoCommand> undo_;
    std::deque<UndoCommand> redo_;
    int limit_ = 100;
    bool typingOpen_ = false;
};

}  // namespace richedit
