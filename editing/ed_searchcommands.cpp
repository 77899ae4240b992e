// The main window's search, select-all, undo and redo commands. The searching itself is the
// editor's; these commands only open its dialogs, which keep what the user typed last.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/dialogs/findreplacedialog.h"
#include "platform/richedit/engine.h"

void TMainform::Najtvtextu1Click() {
    // Showing the returned dialog once more only brings it to the front.
    editor->OpenFindDialog(QString())->showOrRaise();
}

void TMainform::Najtvtextu2Click() { Najtvtextu1Click(); }

void TMainform::Nahradittext1Click() { editor->OpenReplaceDialog(QString(), QString())->showOrRaise(); }

void TMainform::Nahradittext2Click() { Nahradittext1Click(); }

void TMainform::Vybratve1Click() {
    editor->SetSelStart(0);
    // The whole text's length with two characters per line break; the engine stops at the end.
    editor->SetSelLength(editor->Text().size());
    editor->setFocus();
}

void TMainform::undoClick() { editor->Undo(); }
void TMainform::Zpt2Click() { editor->Undo(); }
void TMainform::redoClick() { editor->Redo(); }
void TMainform::Vped1Click() { editor->Redo(); }
