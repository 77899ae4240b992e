// The control's search facility: the find and replace dialogs and the searches, replacements and
// dialog moves their buttons ask for. Every search starts from the current selection; the control
// keeps no other search state.

#include "editing/QxRichEdit.h"

#include "platform/dialogs/findreplacedialog.h"
#include "platform/richedit/engine.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

using namespace richedit;
using platform::FindReplaceDialog;

namespace {

// Restores the control's selection-change handler and the engine's change notifications when a
// Replace All ends, also when it ends by an error.
class DetachedNotifications {
public:
    DetachedNotifications(TQxRichEdit& edit, Engine& engine)
        : edit_(edit), engine_(engine), handler_(std::move(edit.OnSelectionChange)) {
        edit.OnSelectionChange = nullptr;
        mask_ = engine.setEventMask(engine.eventMask() & ~ENM_CHANGE);
    }
    ~DetachedNotifications() {
        engine_.setEventMask(engine_.eventMask() | (mask_ & ENM_CHANGE));
        edit_.OnSelectionChange = std::move(handler_);
    }
    DetachedNotifications(const DetachedNotifications&) = delete;
    DetachedNotifications& operator=(const DetachedNotifications&) = delete;

private:
    TQxRichEdit& edit_;
    Engine& engine_;
    TNotifyEvent handler_;
    std::uint32_t mask_ = 0;
};

TSearchTypes dialogOptions(const FindReplaceDialog& dialog) {
    TSearchTypes options = TSearchType::stSetSelection;
    if (!dialog.down()) options |= TSearchType::stBackward;
    if (dialog.matchCase()) options |= TSearchType::stMatchCase;
    if (dialog.wholeWord()) options |= TSearchType::stWholeWord;
    return options;
}

}  // namespace

// ---- the dialogs ----------------------------------------------------------------------------------

FindReplaceDialog* TQxRichEdit::CreateSearchDialog(FindReplaceDialog::Kind kind) {
    auto* dialog = new FindReplaceDialog(kind, this);
    // The copy of the other dialog's text happens only here, when the dialog is created.
    const FindReplaceDialog* other = kind == FindReplaceDialog::Kind::Find ? replaceDialog_.data() : findDialog_.data();
    if (other) dialog->setFindText(other->findText());
    return dialog;
}

void TQxRichEdit::AttachSearchDialog(FindReplaceDialog* dialog) {
    // Every opening attaches the buttons afresh; the previous connections go first.
    dialog->disconnect(this);
    connect(dialog, &FindReplaceDialog::findNextRequested, this,
            [this, dialog] { SearchFromDialog(dialog, TDialogMove::MoveOffMatch, TMissReport::Report); });
    connect(dialog, &FindReplaceDialog::closed, this, [this, dialog] {
        if (OnCloseFindDialog) OnCloseFindDialog(this, dialog);
    });
    if (dialog->kind() == FindReplaceDialog::Kind::Replace) {
        connect(dialog, &FindReplaceDialog::replaceRequested, this,
                [this, dialog] { ReplaceFromDialog(dialog, TReplaceScope::One); });
        connect(dialog, &FindReplaceDialog::replaceAllRequested, this,
                [this, dialog] { ReplaceFromDialog(dialog, TReplaceScope::All); });
    }
}

FindReplaceDialog* TQxRichEdit::OpenFindDialog(const QString& findText) {
    if (!findDialog_) findDialog_ = CreateSearchDialog(FindReplaceDialog::Kind::Find);
    if (!findText.isEmpty()) findDialog_->setFindText(findText);
    AttachSearchDialog(findDialog_);
    findDialog_->showOrRaise();
    return findDialog_;
}

FindReplaceDialog* TQxRichEdit::OpenReplaceDialog(const QString& findText, const QString& replaceText) {
    if (!replaceDialog_) replaceDialog_ = CreateSearchDialog(FindReplaceDialog::Kind::Replace);
    if (!findText.isEmpty()) replaceDialog_->setFindText(findText);
    if (!replaceText.isEmpty()) replaceDialog_->setReplaceText(replaceText);
    AttachSearchDialog(replaceDialog_);
    replaceDialog_->showOrRaise();
    return replaceDialog_;
}

// ---- searching --------------------------------------------------------------------------------------

int TQxRichEdit::SearchText(const QString& text, int start, int length, TSearchTypes options) {
    Engine& engine = HandleNeeded();
    std::uint32_t flags = 0;
    if (options & TSearchType::stWholeWord) flags |= FR_WHOLEWORD;
    if (options & TSearchType::stMatchCase) flags |= FR_MATCHCASE;
    FINDTEXTEX find;
    const bool backward = options & TSearchType::stBackward;
    if (backward) {
        // Backward from `start` to the beginning: the nearest match that ends at or before `start`.
        find.chrg = {start, 0};
    } else {
        flags |= FR_DOWN;
        find.chrg = {start, start + std::abs(length)};
    }
    const std::u16string needle = text.toStdU16String();
    find.lpstrText = needle.c_str();
    const int found = engine.findTextEx(flags, find);
    if (found >= 0 && (options & TSearchType::stSetSelection)) {
        engine.exSetSel(find.chrgText);
        engine.scrollCaret();
    }
    return found;
}

bool TQxRichEdit::SearchFromDialog(FindReplaceDialog* dialog, TDialogMove move, TMissReport report) {
    Engine& engine = HandleNeeded();
    const CHARRANGE selection = engine.exGetSel();
    const TSearchTypes options = dialogOptions(*dialog);
    int start = 0;
    int length = 0;
    if (options & TSearchType::stBackward) {
        start = selection.cpMin;
        length = start + 1;
    } else {
        start = selection.cpMax;
        length = engine.getTextLength(TextLengthMode::CrLf) - start + 1;
    }
    const QString text = dialog->findText();
    const bool found = SearchText(text, start, length, options) >= 0;
    if (found && move == TDialogMove::MoveOffMatch) MoveDialogOffMatch(dialog);
    if (!found && report == TMissReport::Report && OnTextNotFound) OnTextNotFound(this, text);
    return found;
}

void TQxRichEdit::MoveDialogOffMatch(FindReplaceDialog* dialog) {
    if (!dialog || !dialog->isVisible() || !engine_) return;
    const CHARRANGE selection = engine_->exGetSel();
    QWidget* view = engine_->viewport();
    const QPoint first = view->mapToGlobal(engine_->posFromChar(selection.cpMin));
    const QPoint last = view->mapToGlobal(engine_->posFromChar(selection.cpMax) + QPoint(0, 20));
    const QRect frame = dialog->frameGeometry();
    if (!frame.contains(first) && !frame.contains(last)) return;
    const int h = frame.height();
    const QScreen* screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 0;
    int top = frame.top();
    if (h + 20 < first.y()) top = first.y() - 20 - h;
    else if (first.y() + h < screenHeight) top = first.y() + 40;
    if (top != frame.top()) dialog->move(frame.left(), top);
}

// ---- replacing --------------------------------------------------------------------------------------

bool TQxRichEdit::SelectionMatches(const QString& selectedText, const QString& searchText, TSearchTypes options) {
    if (selectedText.isEmpty() || searchText.isEmpty()) return false;
    if (options & TSearchType::stMatchCase) return selectedText == searchText;
    const QLocale locale;
    return locale.toLower(selectedText) == locale.toLower(searchText);
}

void TQxRichEdit::ReplaceFromDialog(FindReplaceDialog* dialog, TReplaceScope scope) {
    Engine& engine = HandleNeeded();
    const QString replacement = dialog->replaceText();
    if (scope == TReplaceScope::One) {
        if (SelectionMatches(SelText(), dialog->findText(), dialogOptions(*dialog))) SetSelText(replacement);
        SearchFromDialog(dialog, TDialogMove::MoveOffMatch, TMissReport::Report);
        return;
    }

    int count = 0;
    {
        DetachedNotifications detached(*this, engine);
        const bool up = !dialog->down();
        while (SearchFromDialog(dialog, TDialogMove::Stay, TMissReport::Silent)) {
            const int matchStart = engine.exGetSel().cpMin;
            SetSelText(replacement);
            ++count;
            // Going up, the next search ends where this match began, so the replacement is never
            // searched again; going down it starts after the inserted text, where the caret is.
            if (up) engine.exSetSel({matchStart, matchStart});
        }
        if (count > 0) MoveDialogOffMatch(dialog);
        else if (OnTextNotFound) OnTextNotFound(this, dialog->findText());
    }
    if (count > 0) {
        if (OnChange) OnChange(this);
        if (OnSelectionChange) OnSelectionChange(this);
    }
}
