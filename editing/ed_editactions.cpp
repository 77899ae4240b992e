// The edit actions of ActionList1 (cut, copy, paste, select all, undo, delete). Each acts on the edit
// control that has the keyboard focus (the editor or a text field) and is enabled only while such a
// control has the focus and the action can do something there. A disabled action leaves its key to
// the control, which performs the same operation itself.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

namespace {

enum class EditOperation { Cut, Copy, Paste, SelectAll, Undo, Delete };

// The edit control with the keyboard focus: the editor, a line edit, or none.
struct FocusedEdit {
    TQxRichEdit* editor = nullptr;
    QLineEdit* line = nullptr;
    bool exists() const { return editor || line; }
};

FocusedEdit focusedEdit(TQxRichEdit* editor) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return {};
    if (focus == editor || editor->isAncestorOf(focus)) return {editor, nullptr};
    if (auto* line = qobject_cast<QLineEdit*>(focus)) return {nullptr, line};
    return {};
}

bool clipboardHasText() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return mime && mime->hasText();
}

void perform(const FocusedEdit& edit, EditOperation op) {
    if (TQxRichEdit* e = edit.editor) {
        switch (op) {
        case EditOperation::Cut: return e->CutToClipboard();
        case EditOperation::Copy: return e->CopyToClipboard();
        case EditOperation::Paste: return e->PasteFromClipboard();
        case EditOperation::SelectAll: return e->SelectAll();
        case EditOperation::Undo: return e->Undo();
        case EditOperation::Delete: return e->ClearSelection();
        }
    }
    if (QLineEdit* l = edit.line) {
        switch (op) {
        case EditOperation::Cut: return l->cut();
        case EditOperation::Copy: return l->copy();
        case EditOperation::Paste: return l->paste();
        case EditOperation::SelectAll: return l->selectAll();
        case EditOperation::Undo: return l->undo();
        case EditOperation::Delete: return l->del();
        }
    }
}

}  // namespace

void TMainform::buildEditActions() {
    auto make = [this](const char* name, const QString& caption, const QKeySequence& shortcut, const QString& hint,
                       EditOperation op) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        action->setStatusTip(hint);
        action->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        action->setData(QStringLiteral("Edit"));  // the action list's category
        connect(action, &QAction::triggered, this, [this, op] {
            perform(focusedEdit(editor), op);
            UpdateEditActions();
        });
        ActionList1 << action;
        return action;
    };
    EditCut1 = make("EditCut1", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
                    QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"), EditOperation::Cut);
    EditCopy1 = make("EditCopy1", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                     QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"), EditOperation::Copy);
    EditPaste1 = make("EditPaste1", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                      QStringLiteral("Paste|Inserts Clipboard contents"), EditOperation::Paste);
    EditSelectAll1 = make("EditSelectAll1", QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A),
                          QStringLiteral("Select All|Selects the entire document"), EditOperation::SelectAll);
    EditUndo1 = make("EditUndo1", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                     QStringLiteral("Undo|Reverts the last action"), EditOperation::Undo);
    EditDelete1 = make("EditDelete1", QStringLiteral("&Delete"), QKeySequence(),
                       QStringLiteral("Delete|Erases the selection"), EditOperation::Delete);
    // The window takes the actions' keys; Ctrl+A stays with the menu item "Vybrat vše", which takes
    // precedence over the select-all action.
    for (QAction* action : {EditCut1, EditCopy1, EditPaste1, EditUndo1, EditDelete1}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }

    EditActionsContext = std::make_unique<QObject>();
    QObject* context = EditActionsContext.get();
    connect(qApp, &QApplication::focusChanged, context, [this] { UpdateEditActions(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, context, [this] { UpdateEditActions(); });
    connect(editor, &TQxRichEdit::StateChanged, context, [this] { UpdateEditActions(); });
    UpdateEditActions();
}

void TMainform::UpdateEditActions() {
    const FocusedEdit edit = focusedEdit(editor);
    bool hasSelection = false;
    bool hasText = false;
    bool canUndo = false;
    if (edit.editor) {
        richedit::Engine& engine = editor->HandleNeeded();
        const richedit::CHARRANGE sel = engine.exGetSel();
        hasSelection = sel.cpMax > sel.cpMin;
        hasText = engine.getTextLength() > 0;
        canUndo = editor->CanUndo();
    } else if (edit.line) {
        hasSelection = edit.line->hasSelectedText();
        hasText = !edit.line->text().isEmpty();
        canUndo = edit.line->isUndoAvailable();
    }
    const bool focused = edit.exists();
    EditCut1->setEnabled(focused && hasSelection);
    EditCopy1->setEnabled(focused && hasSelection);
    EditDelete1->setEnabled(focused && hasSelection);
    EditPaste1->setEnabled(focused && clipboardHasText());
    EditSelectAll1->setEnabled(focused && hasText);
    EditUndo1->setEnabled(focused && canUndo);
}
