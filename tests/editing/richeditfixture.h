#pragma once
// A small editor control with text in its engine window, for the editing tests.

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

#include <memory>

namespace qxtest {

inline std::unique_ptr<TQxRichEdit> makeEditor(const QString& text = QString()) {
    auto edit = std::make_unique<TQxRichEdit>();
    edit->resize(400, 300);
    edit->HandleNeeded();
    if (!text.isEmpty()) {
        edit->SetSelText(text);
        edit->SetModified(false);
    }
    return edit;
}

inline void select(TQxRichEdit& edit, int from, int to) { edit.HandleNeeded().exSetSel({from, to}); }

inline richedit::CHARFORMAT2 charFormatAt(TQxRichEdit& edit, int from, int to) {
    select(edit, from, to);
    return edit.HandleNeeded().getCharFormat(richedit::SCF_SELECTION);
}

}  // namespace qxtest
