#include "app/editoraccess.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

#include <algorithm>
#include <vector>

int EditorAccess::textLength() const { return editor_->HandleNeeded().getTextLength(); }

int EditorAccess::copyText(int start, int count, char16_t* buffer, int capacity) const {
    if (!buffer || capacity <= 0 || count <= 0 || start < 0) return 0;
    const QString text = editor_->HandleNeeded().getTextRange(start, start + count);
    const int n = std::min<int>(int(text.size()), capacity);
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, buffer);
    return n;
}

void EditorAccess::select(int start, int length) {
    editor_->SetSelStart(start);
    editor_->SetSelLength(length);
}

void EditorAccess::replaceSelection(const char16_t* text, int length) {
    editor_->ReplaceSel(QString::fromUtf16(text, std::max(0, length)));
}

void EditorAccess::setSelectionColor(std::uint32_t colorRef) {
    editor_->SelAttributes().SetColor(platform::ColorValue(colorRef & 0x00FFFFFF));
}

void EditorAccess::setSelectionBold(bool bold) {
    TFontStyles styles = editor_->SelAttributes().Style();
    styles.setFlag(TFontStyle::Bold, bold);
    editor_->SelAttributes().SetStyle(styles);
}

void EditorAccess::colorRuns(const ColorRun* runs, int count) {
    if (!runs || count <= 0) return;
    std::vector<richedit::Engine::ColorRun> engineRuns;
    engineRuns.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) engineRuns.push_back({runs[i].start, runs[i].length, runs[i].colorRef});
    editor_->HandleNeeded().colorRuns(engineRuns.data(), count);
}

void EditorAccess::beginUpdate() {
    if (TQxLines* lines = editor_->Lines()) lines->SetUpdating(UpdateState::On);
}

void EditorAccess::endUpdate() {
    if (TQxLines* lines = editor_->Lines()) lines->SetUpdating(UpdateState::Off);
}
